import QtQuick
import Kestovar

// One conversation in the list: the visitor, when, the last message, where it
// stands. Placed with anchors and positioners (no layouts): the list makes
// and reuses many of these while it scrolls.
Rectangle {
    id: row
    required property string conversationID
    required property string initials
    required property string displayName
    required property string relativeTime
    required property string lastMessagePreview
    required property string projectLine
    required property int status
    required property string statusText
    required property bool hasUnread
    required property int messageCount
    property bool selected: false
    signal clicked()

    implicitHeight: lines.y + lines.height + 10
    color: selected ? Theme.rowSelection : "transparent"
    Accessible.role: Accessible.ListItem
    Accessible.name: displayName + ", " + relativeTime + ", " + lastMessagePreview + ", " + statusText
    Accessible.selected: selected
    Accessible.onPressAction: row.clicked()

    Rectangle {
        id: avatar
        x: 12
        y: 10
        width: 36
        height: 36
        radius: 18
        color: Theme.controlBackground
        Body {
            textStyle: "caption"
            anchors.centerIn: parent
            text: row.initials
            color: Theme.secondaryText
            font.weight: Font.DemiBold
        }
        Rectangle {
            visible: row.status === ConversationStatus.Waiting
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
    Column {
        id: lines
        anchors.left: avatar.right
        anchors.leftMargin: 10
        anchors.right: parent.right
        anchors.rightMargin: 12
        y: 10
        spacing: 3
        Item {
            width: parent.width
            height: name.implicitHeight
            Body {
                id: name
                anchors.left: parent.left
                anchors.right: time.left
                anchors.rightMargin: 6
                text: row.displayName
                elide: Text.ElideRight
                font.weight: row.hasUnread ? Font.DemiBold : Font.Normal
            }
            Body {
                id: time
                textStyle: "caption"
                anchors.right: parent.right
                anchors.baseline: name.baseline
                text: row.relativeTime
                color: Theme.secondaryText
            }
        }
        Body {
            textStyle: "caption"
            width: parent.width
            text: row.lastMessagePreview
            elide: Text.ElideRight
            maximumLineCount: 1
            color: Theme.secondaryText
        }
        Row {
            width: parent.width
            spacing: 6
            Body {
                id: project
                textStyle: "caption"
                anchors.verticalCenter: parent.verticalCenter
                visible: row.projectLine.length > 0
                width: Math.min(implicitWidth, parent.width - pill.width - count.width - 12)
                text: row.projectLine
                elide: Text.ElideRight
                color: Theme.tertiaryText
            }
            StatusPill { id: pill; status: row.status; text: row.statusText }
            Body {
                id: count
                textStyle: "caption"
                anchors.verticalCenter: parent.verticalCenter
                text: row.messageCount
                color: Theme.tertiaryText
            }
        }
    }
    MouseArea {
        anchors.fill: parent
        onClicked: row.clicked()
    }
}
