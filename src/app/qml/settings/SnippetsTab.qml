import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// An agent's canned replies: listed, created, edited and deleted.
Item {
    id: tab
    objectName: "snippetsTab"

    SnippetLibrary { id: library; objectName: "snippetLibrary" }
    onVisibleChanged: if (visible) library.appear()
    Component.onCompleted: if (visible) library.appear()

    EmptyStateView {
        objectName: "snippetsNoAgents"
        anchors.centerIn: parent
        width: parent.width - 40
        visible: !library.hasAgents
        symbol: "text.bubble"
        title: "No agents yet."
        message: "Create an agent first."
    }

    ColumnLayout {
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.margins: 20
        width: Math.min(parent.width - 40, 680)
        x: (parent.width - width) / 2
        visible: library.hasAgents
        spacing: 10

        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Text {
                text: "AGENT"
                color: Theme.tertiaryText
                font.pixelSize: Theme.size("caption")
                font.weight: Font.DemiBold
                font.letterSpacing: 0.6
            }
            Picker {
                objectName: "snippetAgentPicker"
                Layout.fillWidth: true
                name: "Agent"
                model: library.agents
                valueRole: "id"
                currentIndex: library.agentIndex
                onActivated: library.projectID = currentValue
            }
            PrimaryButton {
                objectName: "newSnippetButton"
                symbol: "plus"
                text: "New"
                onClicked: library.startNew()
            }
        }
        Text {
            objectName: "snippetDeleteError"
            Layout.fillWidth: true
            visible: text.length > 0
            text: library.deleteError
            wrapMode: Text.Wrap
            color: Theme.danger
            font.pixelSize: Theme.size("callout")
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            BusyIndicator {
                anchors.centerIn: parent
                running: library.loading
                visible: running
                Accessible.name: "Loading snippets"
            }
            EmptyStateView {
                objectName: "snippetsEmpty"
                anchors.centerIn: parent
                width: parent.width - 40
                visible: !library.loading && snippetList.count === 0
                symbol: "text.bubble"
                title: "No snippets yet"
                message: "Canned replies you can drop into the chat composer with “/”."
            }
            ListView {
                id: snippetList
                objectName: "snippetList"
                anchors.fill: parent
                visible: !library.loading && count > 0
                clip: true
                model: library.items
                spacing: 6
                ScrollBar.vertical: ScrollBar {}
                Accessible.role: Accessible.List
                Accessible.name: "Snippets"
                delegate: Rectangle {
                    id: snippetRow
                    required property string id
                    required property string emoji
                    required property string title
                    required property string shortcut
                    required property string body
                    objectName: "snippetRow"
                    width: ListView.view.width
                    implicitHeight: rowLayout.implicitHeight + 16
                    radius: 8
                    color: Theme.surface
                    border.color: Theme.separator
                    Accessible.role: Accessible.ListItem
                    Accessible.name: library.listTitle(title) + ", /" + shortcut + ", " + body
                    RowLayout {
                        id: rowLayout
                        anchors.fill: parent
                        anchors.margins: 8
                        spacing: 10
                        Text {
                            Layout.alignment: Qt.AlignTop
                            text: snippetRow.emoji
                            font.pixelSize: Theme.size("title3")
                        }
                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 2
                            RowLayout {
                                spacing: 8
                                Text {
                                    objectName: "snippetTitle"
                                    text: library.listTitle(snippetRow.title)
                                    color: Theme.text
                                    font.pixelSize: Theme.size("body")
                                    font.weight: Font.Medium
                                }
                                Text {
                                    text: "/" + snippetRow.shortcut
                                    color: Theme.brandAccent
                                    font.pixelSize: Theme.size("caption")
                                    font.family: "monospace"
                                }
                            }
                            Text {
                                Layout.fillWidth: true
                                text: snippetRow.body
                                wrapMode: Text.Wrap
                                maximumLineCount: 3
                                elide: Text.ElideRight
                                color: Theme.secondaryText
                                font.pixelSize: Theme.size("callout")
                            }
                        }
                        ToolButton {
                            objectName: "editSnippet"
                            contentItem: Icon { symbol: "pencil"; color: Theme.secondaryText; size: 14 }
                            Accessible.name: "Edit " + library.listTitle(snippetRow.title)
                            ToolTip.visible: hovered
                            ToolTip.text: "Edit"
                            onClicked: library.startEditing(snippetRow.id)
                        }
                        ToolButton {
                            objectName: "deleteSnippet"
                            contentItem: Icon { symbol: "trash"; color: Theme.danger; size: 14 }
                            Accessible.name: "Delete " + library.listTitle(snippetRow.title)
                            ToolTip.visible: hovered
                            ToolTip.text: "Delete"
                            onClicked: library.remove(snippetRow.id)
                        }
                    }
                }
            }
        }
    }

    SnippetEditor { form: library.editor }
}
