import QtQuick
import QtQuick.Layouts
import Kestovar

// The visitor of the open conversation, its agent, and what can be done with it.
Rectangle {
    id: header
    property ThreadController controller
    implicitHeight: Math.max(row.implicitHeight, actions.implicitHeight) + 20
    color: Theme.surface

    // Who and where on the left, shortened as needed; the actions always show on the right.
    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: actions.left
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: 16
        anchors.rightMargin: 10
        spacing: 10
        clip: true

        Rectangle {
            implicitWidth: 40
            implicitHeight: 40
            radius: 20
            color: Theme.brandAt(0.15)
            Accessible.role: Accessible.Graphic
            Accessible.name: "Avatar " + header.controller.initials
            Body {
                textStyle: "callout"
                anchors.centerIn: parent
                text: header.controller.initials
                color: Theme.brandAccent
                font.weight: Font.DemiBold
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            RowLayout {
                Layout.fillWidth: true
                spacing: 6
                Heading {
                    objectName: "threadVisitor"
                    Layout.fillWidth: true
                    Layout.maximumWidth: implicitWidth
                    Layout.minimumWidth: Math.min(implicitWidth, 60)
                    text: header.controller.visitorName
                    elide: Text.ElideRight
                }
                CountryFlag { code: header.controller.country || undefined }
                StatusPill {
                    objectName: "threadStatus"
                    Layout.minimumWidth: implicitWidth
                    status: header.controller.status
                }
                Item { Layout.fillWidth: true }
            }
            Body {
                objectName: "threadSubtitle"
                textStyle: "caption"
                Layout.fillWidth: true
                text: header.controller.subtitle
                elide: Text.ElideRight
                color: Theme.secondaryText
            }
        }
    }
    RowLayout {
        id: actions
        anchors.right: parent.right
        anchors.rightMargin: 12
        anchors.verticalCenter: parent.verticalCenter
        spacing: 6
        ActionButton {
            objectName: "resolveButton"
            visible: !header.controller.resolved
            text: "Resolve"
            symbol: "checkmark.circle"
            implicitWidth: contentItem.implicitWidth + leftPadding + rightPadding
            // Only the symbol where the pane is narrow.
            showsText: header.width >= 440
            onClicked: header.controller.resolve()
        }
        Icon {
            objectName: "resolvedMark"
            visible: header.controller.resolved
            symbol: "checkmark.circle.fill"
            color: Theme.green
            size: 18
            Accessible.ignored: false
            Accessible.role: Accessible.Graphic
            Accessible.name: "This conversation is resolved"
            HoverHandler { id: resolvedHover }
            HoverTip { shown: resolvedHover.hovered; text: "This conversation is resolved" }
        }
        IconButton {
            objectName: "openInBrowserButton"
            symbol: "arrow.up.right.square"
            tip: "Open in browser"
            onClicked: header.controller.openInBrowser()
        }
        IconButton {
            objectName: "contextPanelToggle"
            symbol: header.controller.contextPanelVisible ? "sidebar.right" : "sidebar.leading"
            tip: header.controller.contextPanelVisible ? "Hide context panel" : "Show context panel"
            onClicked: header.controller.toggleContextPanel()
        }
    }
    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: Theme.separator
    }
}
