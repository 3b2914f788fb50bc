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
        visible: !library.hasProjects
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
        visible: library.hasProjects
        spacing: 10

        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Body {
                textStyle: "caption"
                text: "AGENT"
                color: Theme.tertiaryText
                font.weight: Font.DemiBold
                font.letterSpacing: 0.6
            }
            Picker {
                objectName: "snippetProjectPicker"
                Layout.fillWidth: true
                name: "Agent"
                model: library.projectLabels
                currentIndex: library.projectIndex
                onActivated: (index) => library.projectIndex = index
            }
            PrimaryButton {
                objectName: "newSnippetButton"
                symbol: "plus"
                text: "New"
                onClicked: library.startNew()
            }
        }
        LoadFailureBanner {
            objectName: "snippetsLoadError"
            Layout.fillWidth: true
            radius: 8
            status: library
        }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            BusyIndicator {
                anchors.centerIn: parent
                running: library.loading && snippetList.count === 0
                visible: running
                Accessible.name: "Loading snippets"
            }
            EmptyStateView {
                objectName: "snippetsEmpty"
                anchors.centerIn: parent
                width: parent.width - 40
                visible: !library.loading && library.error === "" && snippetList.count === 0
                symbol: "text.bubble"
                title: "No snippets yet"
                message: "Canned replies you can drop into the chat composer with “/”."
            }
            ListView {
                id: snippetList
                objectName: "snippetList"
                anchors.fill: parent
                visible: count > 0
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
                        // Whatever the service holds, the row keeps its shape: an emoji's
                        // place, a title and shortcut that shorten, the actions on the right.
                        Body {
                            textStyle: "title3"
                            Layout.alignment: Qt.AlignTop
                            Layout.preferredWidth: 26 * Theme.fontScale
                            text: snippetRow.emoji
                            elide: Text.ElideRight
                        }
                        ColumnLayout {
                            Layout.fillWidth: true
                            Layout.minimumWidth: 0
                            spacing: 2
                            RowLayout {
                                Layout.fillWidth: true
                                spacing: 8
                                Body {
                                    objectName: "snippetTitle"
                                    Layout.maximumWidth: implicitWidth
                                    Layout.fillWidth: true
                                    Layout.minimumWidth: 0
                                    text: library.listTitle(snippetRow.title)
                                    elide: Text.ElideRight
                                    font.weight: Font.Medium
                                }
                                Body {
                                    textStyle: "caption"
                                    Layout.maximumWidth: implicitWidth
                                    Layout.fillWidth: true
                                    Layout.minimumWidth: 0
                                    text: "/" + snippetRow.shortcut
                                    elide: Text.ElideRight
                                    color: Theme.brandAccent
                                    font.family: "monospace"
                                }
                                Item { Layout.fillWidth: true }
                            }
                            Body {
                                textStyle: "callout"
                                Layout.fillWidth: true
                                text: snippetRow.body
                                wrapMode: Text.Wrap
                                maximumLineCount: 3
                                elide: Text.ElideRight
                                color: Theme.secondaryText
                            }
                        }
                        IconButton {
                            objectName: "editSnippet"
                            symbol: "pencil"
                            symbolSize: 14
                            tip: "Edit"
                            Accessible.name: "Edit " + library.listTitle(snippetRow.title)
                            onClicked: library.startEditing(snippetRow.id)
                        }
                        IconButton {
                            objectName: "deleteSnippet"
                            symbol: "trash"
                            symbolSize: 14
                            tone: Theme.danger
                            tip: "Delete"
                            Accessible.name: "Delete " + library.listTitle(snippetRow.title)
                            onClicked: library.remove(snippetRow.id)
                        }
                    }
                }
            }
        }
    }

    SnippetEditor { form: library.editor }
}
