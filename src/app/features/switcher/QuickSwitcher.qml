import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// "Go to" (Ctrl+K): type part of a name, a page or a place; Up and Down
// move, Return opens, Escape closes. The results and their order come from
// the switcher's model.
Popup {
    id: dialog
    objectName: "quickSwitcher"
    parent: Overlay.overlay
    x: Math.round((parent ? parent.width - width : 0) / 2)
    y: Math.round((parent ? parent.height : 0) * 0.12)
    width: Math.min(560, parent ? parent.width - 40 : 560)
    height: Math.min(440, parent ? parent.height * 0.76 : 440)
    modal: true
    focus: true
    visible: Shortcuts.switcherOpen
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    padding: 10
    onOpened: {
        switcher.reset()
        field.forceActiveFocus()
    }
    onClosed: Shortcuts.switcherOpen = false
    background: Rectangle {
        radius: 12
        color: Theme.surface
        border.color: Theme.separator
    }
    Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.35) }

    SwitcherModel { id: switcher; objectName: "switcherModel" }

    function open(row) {
        const action = switcher.activate(row)
        dialog.close()
        if (action !== "")
            Shortcuts.activate(action)
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 8
        Accessible.role: Accessible.Dialog
        Accessible.name: "Go to"
        TextField {
            id: field
            objectName: "switcherField"
            Layout.fillWidth: true
            placeholderText: "Go to an agent, a conversation, a visitor, a place or an action"
            font.pointSize: Theme.size("title3")
            color: Theme.text
            text: switcher.query
            Accessible.name: "Go to"
            onTextEdited: switcher.query = text
            Keys.onUpPressed: switcher.moveCurrent(-1)
            Keys.onDownPressed: switcher.moveCurrent(1)
            Keys.onReturnPressed: if (switcher.currentIndex >= 0) dialog.open(switcher.currentIndex)
            Keys.onEnterPressed: if (switcher.currentIndex >= 0) dialog.open(switcher.currentIndex)
        }
        ListView {
            id: results
            objectName: "switcherResults"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: switcher
            currentIndex: switcher.currentIndex
            highlightMoveDuration: 0
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}
            Accessible.role: Accessible.List
            Accessible.name: "Results"
            section.property: "kindText"
            section.delegate: Caption {
                required property string section
                width: ListView.view.width
                topPadding: 6
                bottomPadding: 2
                leftPadding: 6
                text: section
                color: Theme.tertiaryText
            }
            delegate: SwitcherRow {
                width: ListView.view.width
                current: ListView.isCurrentItem
                onChosen: (row) => dialog.open(row)
            }
            Body {
                objectName: "switcherEmpty"
                anchors.centerIn: parent
                visible: switcher.emptyText !== ""
                text: switcher.emptyText
                color: Theme.secondaryText
            }
        }
    }
}
