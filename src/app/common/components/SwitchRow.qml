import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// A setting that is on or off: its label, and a switch that shows what is
// stored (so a change the system refuses springs back).
RowLayout {
    id: row
    property string label
    property bool on: false
    property bool compact: false
    signal switched(bool on)
    spacing: 8

    Body {
        Layout.fillWidth: true
        Layout.alignment: Qt.AlignVCenter
        visible: !row.compact
        text: row.label
        wrapMode: Text.Wrap
        color: row.enabled ? Theme.text : Theme.tertiaryText
    }
    Switch {
        id: control
        objectName: row.objectName.length > 0 ? row.objectName + "Switch" : ""
        checked: row.on
        padding: 0
        // Sized by the drawn track (the style's own size belongs to its own indicator).
        implicitWidth: indicator.implicitWidth
        implicitHeight: indicator.implicitHeight
        Accessible.role: Accessible.CheckBox
        Accessible.name: row.label
        Accessible.checkable: true
        Accessible.checked: checked
        // Assistive technology flips it as a click does (Qt 6.4's Switch ignores both actions).
        Accessible.onToggleAction: control.flip()
        Accessible.onPressAction: control.flip()
        indicator: Rectangle {
            readonly property real w: (row.compact ? 30 : 38) * Theme.fontScale
            implicitWidth: w
            implicitHeight: w * 0.58
            radius: height / 2
            opacity: control.enabled ? 1 : 0.5
            color: control.checked ? Theme.brandAccent : Theme.controlBackground
            border.color: control.checked ? "transparent" : Theme.separator
            Rectangle {
                width: parent.height - 4
                height: width
                radius: width / 2
                y: 2
                x: control.checked ? parent.width - width - 2 : 2
                color: "white"
                border.color: Qt.rgba(0, 0, 0, 0.12)
                Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.InOutQuad } }
            }
        }
        contentItem: Item {}
        onToggled: {
            row.switched(checked)
            checked = Qt.binding(() => row.on)
        }

        function flip() {
            if (!enabled)
                return
            toggle()
            toggled()
        }
    }
}
