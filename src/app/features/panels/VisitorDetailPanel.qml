import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// Who the selected live visitor is and where they are on the site, with
// their page to open or copy and the way to their agent's inbox.
Rectangle {
    id: panel
    objectName: "visitorDetailPanel"
    property alias visitorID: detail.visitorID
    readonly property bool exists: detail.exists
    color: Theme.window
    Accessible.role: Accessible.Pane
    Accessible.name: "Visitor details"

    VisitorDetail { id: detail; objectName: "visitorDetail" }

    Rectangle {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: 1
        color: Theme.separator
    }

    ScrollView {
        id: scroll
        anchors.fill: parent
        contentWidth: availableWidth
        ColumnLayout {
            width: scroll.availableWidth
            spacing: 8

            SectionCard {
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
                        color: detail.hasConversation ? Theme.brandAt(0.15) : Theme.controlBackground
                        Icon {
                            anchors.centerIn: parent
                            symbol: detail.hasConversation ? "bubble.left.fill" : "person.fill"
                            color: detail.hasConversation ? Theme.brandAccent : Theme.secondaryText
                            size: 16
                        }
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 2
                        Body {
                            objectName: "detailName"
                            textStyle: "headline"
                            text: "Anonymous"
                            font.weight: Font.DemiBold
                        }
                        Body {
                            objectName: "detailProject"
                            textStyle: "caption"
                            Layout.fillWidth: true
                            visible: detail.projectLine.length > 0
                            text: detail.projectLine
                            elide: Text.ElideRight
                            color: Theme.secondaryText
                        }
                        RowLayout {
                            Layout.fillWidth: true
                            spacing: 6
                            CountryFlag { code: detail.country || undefined }
                            ReturningIndicator {
                                Layout.fillWidth: true
                                symbol: detail.returningSymbol
                                text: detail.returningText
                            }
                        }
                    }
                }
                Rectangle { Layout.fillWidth: true; height: 1; color: Theme.separator }
                LabeledRow { objectName: "detailLocation"; Layout.fillWidth: true; icon: "globe"; label: detail.location }
                LabeledRow { objectName: "detailBrowser"; Layout.fillWidth: true; icon: "safari"; label: detail.browser }
                LabeledRow { objectName: "detailTimeOnSite"; Layout.fillWidth: true; icon: "clock"; label: detail.timeOnSite }
                LabeledRow { objectName: "detailPages"; Layout.fillWidth: true; icon: "doc.text"; label: detail.pages }
                LabeledRow {
                    objectName: "detailInConversation"
                    Layout.fillWidth: true
                    visible: detail.hasConversation
                    icon: "bubble.left.and.bubble.right"
                    label: "In conversation"
                }
                LabeledRow {
                    objectName: "detailReferrer"
                    Layout.fillWidth: true
                    visible: detail.referrerLine.length > 0
                    icon: "arrow.uturn.right"
                    label: detail.referrerLine
                }
            }
            SectionCard {
                Layout.fillWidth: true
                Layout.leftMargin: 14
                Layout.rightMargin: 14
                Layout.bottomMargin: 14
                title: "Currently on"
                Body {
                    objectName: "detailPageTitle"
                    textStyle: "callout"
                    Layout.fillWidth: true
                    text: detail.pageTitle
                    wrapMode: Text.Wrap
                    font.weight: Font.Medium
                }
                SelectableText {
                    objectName: "detailPageURL"
                    textStyle: "caption"
                    Layout.fillWidth: true
                    text: detail.pageURL
                    wrapMode: Text.WrapAnywhere
                    color: Theme.secondaryText
                }
                Rectangle { Layout.fillWidth: true; height: 1; color: Theme.separator }
                ActionButton {
                    objectName: "openInBrowserButton"
                    Layout.fillWidth: true
                    flat: true
                    enabled: detail.pageOpens
                    symbol: "arrow.up.right.square"
                    text: "Open in browser"
                    tone: Theme.brandAccent
                    onClicked: detail.openPage()
                }
                ActionButton {
                    objectName: "copyLinkButton"
                    Layout.fillWidth: true
                    flat: true
                    symbol: "doc.on.doc"
                    text: "Copy link"
                    tone: Theme.brandAccent
                    onClicked: detail.copyLink()
                }
                ActionButton {
                    objectName: "openInInboxButton"
                    Layout.fillWidth: true
                    flat: true
                    symbol: "tray"
                    text: "Open in Inbox"
                    tone: Theme.brandAccent
                    onClicked: detail.openInInbox()
                }
            }
        }
    }
}
