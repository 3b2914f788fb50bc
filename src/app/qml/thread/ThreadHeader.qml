import QtQuick
import QtQuick.Controls
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
            Text {
                anchors.centerIn: parent
                text: header.controller.initials
                color: Theme.brandAccent
                font.pixelSize: Theme.size("callout")
                font.weight: Font.DemiBold
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            RowLayout {
                Layout.fillWidth: true
                spacing: 6
                Text {
                    objectName: "threadVisitor"
                    Layout.fillWidth: true
                    Layout.maximumWidth: implicitWidth
                    Layout.minimumWidth: Math.min(implicitWidth, 60)
                    text: header.controller.visitorName
                    elide: Text.ElideRight
                    color: Theme.text
                    font.pixelSize: Theme.size("headline")
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                CountryFlag { code: header.controller.country || undefined }
                StatusPill { objectName: "threadStatus"; status: header.controller.status }
                Item { Layout.fillWidth: true }
            }
            Text {
                objectName: "threadSubtitle"
                Layout.fillWidth: true
                text: header.controller.subtitle
                elide: Text.ElideRight
                color: Theme.secondaryText
                font.pixelSize: Theme.size("caption")
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
    RowLayout {
        id: actions
        anchors.right: parent.right
        anchors.rightMargin: 12
        anchors.verticalCenter: parent.verticalCenter
        spacing: 6
        Button {
            objectName: "resolveButton"
            visible: !header.controller.resolved
            text: "Resolve"
            icon.source: ""
            implicitWidth: contentItem.implicitWidth + leftPadding + rightPadding
            // Only the symbol where the pane is narrow.
            contentItem: IconLabel {
                symbol: "checkmark.circle"
                text: header.width < 440 ? "" : "Resolve"
            }
            Accessible.name: "Resolve"
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
            ToolTip.visible: resolvedHover.hovered
            ToolTip.text: "This conversation is resolved"
        }
        ToolButton {
            objectName: "openInBrowserButton"
            contentItem: Icon { symbol: "arrow.up.right.square"; color: Theme.secondaryText; size: 16 }
            Accessible.name: "Open in browser"
            ToolTip.visible: hovered
            ToolTip.text: "Open in browser"
            onClicked: header.controller.openInBrowser()
        }
        ToolButton {
            objectName: "contextPanelToggle"
            readonly property string label: header.controller.contextPanelVisible
                                             ? "Hide context panel" : "Show context panel"
            contentItem: Icon {
                symbol: header.controller.contextPanelVisible ? "sidebar.right" : "sidebar.leading"
                color: Theme.secondaryText
                size: 16
            }
            Accessible.name: label
            ToolTip.visible: hovered
            ToolTip.text: label
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
