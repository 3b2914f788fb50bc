import QtQuick
import QtQuick.Layouts
import Kestovar

// One conversation in the list: the visitor, when, the last message, where it stands.
Rectangle {
    id: row
    required property string conversationID
    required property string initials
    required property string displayName
    required property string relativeTime
    required property string lastMessagePreview
    required property string agentLine
    required property int status
    required property string statusText
    required property bool hasUnread
    required property int messageCount
    property bool selected: false
    signal clicked()

    implicitHeight: content.implicitHeight + 20
    color: selected ? Theme.brandAt(0.08) : "transparent"
    Accessible.role: Accessible.ListItem
    Accessible.name: displayName + ", " + relativeTime + ", " + lastMessagePreview + ", " + statusText
    Accessible.selected: selected
    Accessible.onPressAction: row.clicked()

    RowLayout {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 10
        anchors.bottomMargin: 10
        spacing: 10

        Rectangle {
            Layout.alignment: Qt.AlignTop
            implicitWidth: 36
            implicitHeight: 36
            radius: 18
            color: Theme.controlBackground
            Text {
                anchors.centerIn: parent
                text: row.initials
                color: Theme.secondaryText
                font.pixelSize: Theme.size("caption")
                font.weight: Font.DemiBold
            }
            Rectangle {
                visible: row.status === Kinds.waiting
                width: 13
                height: 13
                radius: 6.5
                anchors.right: parent.right
                anchors.top: parent.top
                color: Theme.textBackground
                Rectangle {
                    anchors.centerIn: parent
                    width: 9
                    height: 9
                    radius: 4.5
                    color: Theme.warning
                }
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 3
            RowLayout {
                Layout.fillWidth: true
                Text {
                    Layout.fillWidth: true
                    text: row.displayName
                    elide: Text.ElideRight
                    color: Theme.text
                    font.pixelSize: Theme.size("body")
                    font.weight: row.hasUnread ? Font.DemiBold : Font.Normal
                }
                Text {
                    text: row.relativeTime
                    color: Theme.secondaryText
                    font.pixelSize: Theme.size("caption")
                }
            }
            Text {
                Layout.fillWidth: true
                text: row.lastMessagePreview
                elide: Text.ElideRight
                maximumLineCount: 1
                color: Theme.secondaryText
                font.pixelSize: Theme.size("caption")
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 6
                Text {
                    visible: row.agentLine.length > 0
                    Layout.fillWidth: true
                    Layout.maximumWidth: implicitWidth
                    text: row.agentLine
                    elide: Text.ElideRight
                    color: Theme.tertiaryText
                    font.pixelSize: Theme.size("caption")
                }
                StatusPill { status: row.status }
                Text {
                    text: row.messageCount
                    color: Theme.tertiaryText
                    font.pixelSize: Theme.size("caption")
                }
                Item { Layout.fillWidth: true }
            }
        }
    }
    MouseArea {
        anchors.fill: parent
        onClicked: row.clicked()
    }
}
