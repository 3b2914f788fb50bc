import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// Who the visitor of the open conversation is, where they are, the
// conversation so far, and what the AI did.
Rectangle {
    id: panel
    objectName: "contextPanel"
    color: Theme.window

    VisitorContext { id: context }

    ScrollView {
        id: scroll
        anchors.fill: parent
        contentWidth: availableWidth
        ColumnLayout {
            width: scroll.availableWidth
            spacing: 8

            SectionCard {
                objectName: "visitorCard"
                Layout.fillWidth: true
                Layout.topMargin: 14
                Layout.leftMargin: 14
                Layout.rightMargin: 14
                title: "Visitor"
                RowLayout {
                    spacing: 10
                    Rectangle {
                        implicitWidth: 38
                        implicitHeight: 38
                        radius: 19
                        color: Theme.brandAt(0.15)
                        Body {
                            textStyle: "callout"
                            anchors.centerIn: parent
                            text: context.initials
                            color: Theme.brandAccent
                            font.weight: Font.DemiBold
                        }
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 2
                        Body {
                            objectName: "contextName"
                            textStyle: "headline"
                            Layout.fillWidth: true
                            elide: Text.ElideRight
                            text: context.name
                            font.weight: Font.DemiBold
                        }
                        RowLayout {
                            Layout.fillWidth: true
                            spacing: 6
                            CountryFlag { code: context.country || undefined }
                            ReturningIndicator {
                                Layout.fillWidth: true
                                symbol: context.returningSymbol
                                text: context.returningText
                            }
                        }
                    }
                }
                Rectangle { Layout.fillWidth: true; height: 1; color: Theme.separator }
                LabeledRow { objectName: "contextLocation"; Layout.fillWidth: true; icon: "globe"; label: context.location }
                LabeledRow { objectName: "contextBrowser"; Layout.fillWidth: true; icon: "safari"; label: context.browser }
                LabeledRow { objectName: "contextTimeOnSite"; Layout.fillWidth: true; icon: "clock"; label: context.timeOnSite }
                LabeledRow { objectName: "contextPages"; Layout.fillWidth: true; icon: "doc.text"; label: context.pages }
                LabeledRow {
                    Layout.fillWidth: true
                    visible: context.referrerLine.length > 0
                    icon: "arrow.uturn.right"
                    label: context.referrerLine
                }
            }
            SectionCard {
                objectName: "pageCard"
                Layout.fillWidth: true
                Layout.leftMargin: 14
                Layout.rightMargin: 14
                title: "Currently on"
                RowLayout {
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 2
                        Body {
                            objectName: "contextPageTitle"
                            textStyle: "callout"
                            Layout.fillWidth: true
                            text: context.pageTitle
                            elide: Text.ElideRight
                            font.weight: Font.Medium
                        }
                        Body {
                            textStyle: "caption"
                            Layout.fillWidth: true
                            text: context.pageURL
                            elide: Text.ElideMiddle
                            color: Theme.secondaryText
                        }
                    }
                    IconButton {
                        objectName: "openPageButton"
                        enabled: context.pageOpens
                        symbol: "arrow.up.right.square"
                        symbolSize: 14
                        tip: "Open page in browser"
                        onClicked: context.openPage()
                    }
                }
            }
            SectionCard {
                objectName: "conversationCard"
                Layout.fillWidth: true
                Layout.leftMargin: 14
                Layout.rightMargin: 14
                title: "Conversation"
                LabeledRow { Layout.fillWidth: true; icon: "clock.arrow.circlepath"; label: context.started }
                LabeledRow { objectName: "contextMessages"; Layout.fillWidth: true; icon: "bubble.left.and.bubble.right"; label: context.messages }
                FlowTags {
                    Layout.fillWidth: true
                    visible: context.tags.length > 0
                    tags: context.tags
                    chipRows: context.tagRows
                }
            }
            SectionCard {
                objectName: "aiContextCard"
                Layout.fillWidth: true
                Layout.leftMargin: 14
                Layout.rightMargin: 14
                Layout.bottomMargin: 14
                title: "AI context"
                accent: Theme.orange
                RowLayout {
                    Layout.fillWidth: true
                    visible: context.hasEscalationReason
                    spacing: 6
                    Icon { Layout.alignment: Qt.AlignTop; symbol: "exclamationmark.bubble"; color: Theme.orange; size: 13 }
                    Body {
                        objectName: "escalationReason"
                        textStyle: "callout"
                        Layout.fillWidth: true
                        text: context.escalationReason
                        wrapMode: Text.Wrap
                        color: Theme.secondaryText
                    }
                }
                Body {
                    textStyle: "caption"
                    Layout.fillWidth: true
                    wrapMode: Text.Wrap
                    text: "Top knowledge chunks retrieved"
                    color: Theme.secondaryText
                    font.weight: Font.Medium
                }
                Body {
                    textStyle: "caption"
                    visible: context.chunkCount === 0
                    text: "No knowledge chunks matched this question."
                    wrapMode: Text.Wrap
                    Layout.fillWidth: true
                    color: Theme.tertiaryText
                }
                // Rows once made are kept, hidden while a conversation has
                // fewer chunks: moving between conversations changes the rows'
                // texts in place and seldom makes one.
                Repeater {
                    model: context.chunkRows.length
                    ChunkRow {
                        required property int index
                        Layout.fillWidth: true
                        visible: index < context.chunkCount
                        chunk: context.chunkRows[index]
                    }
                }
                ActionButton {
                    objectName: "saveQaButton"
                    Layout.fillWidth: true
                    enabled: false
                    symbol: "plus.circle.fill"
                    text: "Save reply as Q&A pair"
                    tone: Theme.tertiaryText
                    tip: UiTexts.notYetAvailable
                    Accessible.description: UiTexts.notYetAvailable
                }
                Body {
                    textStyle: "caption"
                    Layout.fillWidth: true
                    text: "Teaches the AI to handle this on its own next time."
                    wrapMode: Text.Wrap
                    color: Theme.tertiaryText
                }
            }
        }
    }
}
