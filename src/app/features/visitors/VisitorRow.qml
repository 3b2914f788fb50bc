import QtQuick
import Kestovar

// One live visitor: their agent's logo with the presence dot, the page they
// are on, how they got here, and when they were last seen. Placed with
// anchors (no layouts): the list makes and reuses many of these.
Rectangle {
    id: row
    required property string visitorID
    required property string title
    required property string pageURL
    required property string journey
    required property string lastSeen
    required property bool hasConversation
    required property string projectName
    required property string projectEmoji
    required property string projectLogo
    required property string projectColor
    property bool selected: false
    signal clicked()

    implicitHeight: lines.y + lines.height + 10
    color: selected ? Theme.rowSelection : "transparent"
    Accessible.role: Accessible.ListItem
    Accessible.name: title + (hasConversation ? ", in conversation" : "") + ", " + pageURL + ", "
                     + journey + ", " + lastSeen
    Accessible.selected: selected
    Accessible.onPressAction: row.clicked()

    AgentLogoIcon {
        id: logo
        x: 20
        y: 12
        side: 28
        logoURL: row.projectLogo
        emoji: row.projectEmoji || "🌐"
        projectName: row.projectName
        colorHex: row.projectColor || undefined
        Rectangle {
            width: 11 + 4
            height: width
            radius: width / 2
            x: parent.width - width / 2 - 2
            y: parent.height - width / 2 - 2
            color: Theme.textBackground
            Rectangle {
                anchors.centerIn: parent
                width: 11
                height: 11
                radius: 5.5
                color: Theme.onlineDot
            }
        }
    }
    Column {
        id: lines
        anchors.left: logo.right
        anchors.leftMargin: 14
        anchors.right: time.left
        anchors.rightMargin: 14
        y: 10
        spacing: 2
        Row {
            width: parent.width
            spacing: 6
            Body {
                id: titleText
                textStyle: "callout"
                width: Math.min(implicitWidth, parent.width - (pill.visible ? pill.width + 6 : 0))
                text: row.title
                elide: Text.ElideRight
                font.weight: Font.Medium
            }
            Rectangle {
                id: pill
                visible: row.hasConversation
                anchors.verticalCenter: titleText.verticalCenter
                width: pillText.implicitWidth + 12
                height: pillText.implicitHeight + 4
                radius: height / 2
                color: Qt.rgba(Theme.brandAccent.r, Theme.brandAccent.g, Theme.brandAccent.b, 0.12)
                Body {
                    id: pillText
                    textStyle: "caption"
                    anchors.centerIn: parent
                    text: "In conversation"
                    color: Theme.brandAccent
                    font.weight: Font.Medium
                }
            }
        }
        Body {
            textStyle: "caption"
            width: parent.width
            text: row.pageURL
            elide: Text.ElideMiddle
            color: Theme.secondaryText
        }
        Body {
            textStyle: "caption"
            width: parent.width
            text: row.journey
            elide: Text.ElideRight
            color: Theme.tertiaryText
        }
    }
    Body {
        id: time
        textStyle: "caption"
        anchors.right: parent.right
        anchors.rightMargin: 20
        anchors.verticalCenter: parent.verticalCenter
        text: row.lastSeen
        color: Theme.tertiaryText
    }
    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 20
        height: 1
        color: Theme.separator
    }
    MouseArea {
        anchors.fill: parent
        onClicked: row.clicked()
    }
}
