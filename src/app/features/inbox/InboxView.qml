import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The selected agent's conversations (or all agents'), filtered by status,
// beside the open conversation's thread and its context panel.
SplitView {
    id: inbox
    objectName: "inboxView"
    orientation: Qt.Horizontal

    InboxModel { id: inboxModel; objectName: "inboxModel" }
    Connections {
        target: Shortcuts
        function onActivated(action) {
            if (action === "searchConversations")
                searchField.focusField()
        }
    }
    // The context panel shows whenever its toggle says so: beside the thread
    // while list, thread and panel fit, laid over the thread's edge otherwise.
    readonly property bool panelWanted: AppState.contextPanelVisible
                                        && inboxModel.openConversationID !== ""
    readonly property bool roomForPanel: inbox.width >= 300 + 360 + 220
    ColumnLayout {
        SplitView.minimumWidth: 300
        SplitView.preferredWidth: 340
        SplitView.maximumWidth: 460
        spacing: 0

        ContentHeader {
            Layout.fillWidth: true
            title: "Inbox"
            subtitle: inboxModel.subtitle
        }
        SearchField {
            id: searchField
            objectName: "conversationSearch"
            Layout.fillWidth: true
            Layout.leftMargin: 8
            Layout.rightMargin: 8
            Layout.topMargin: 8
            placeholder: "Search conversations"
            text: inboxModel.search
            onTextEdited: (text) => inboxModel.search = text
        }
        SegmentedControl {
            Layout.fillWidth: true
            Layout.margins: 8
            labels: inboxModel.filterLabels
            current: inboxModel.filter
            onChosen: (index) => inboxModel.filter = index
        }
        LoadFailureBanner {
            // Over the rows still shown; with none, the empty state says why.
            objectName: "inboxLoadError"
            Layout.fillWidth: true
            status: inboxModel
            visible: inboxModel.error !== "" && !inboxModel.showsEmptyState
        }
        ListView {
            id: list
            objectName: "conversationList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: inboxModel.rows
            focus: true
            keyNavigationEnabled: false
            reuseItems: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}
            Accessible.role: Accessible.List
            Accessible.name: "Conversations"
            Keys.onUpPressed: inboxModel.selectNext(-1)
            Keys.onDownPressed: inboxModel.selectNext(1)
            delegate: ConversationRow {
                width: ListView.view.width
                selected: conversationID === AppState.selectedConversationID
                onClicked: {
                    list.forceActiveFocus()
                    inboxModel.select(conversationID)
                }
            }
            Column {
                anchors.centerIn: parent
                width: parent.width - 40
                spacing: 12
                visible: inboxModel.showsEmptyState
                EmptyStateView {
                    objectName: "inboxEmpty"
                    width: parent.width
                    symbol: inboxModel.emptySymbol
                    title: inboxModel.emptyTitle
                    message: inboxModel.emptyText
                }
                ActionButton {
                    objectName: "inboxRetry"
                    anchors.horizontalCenter: parent.horizontalCenter
                    visible: inboxModel.error !== ""
                    enabled: !inboxModel.loading
                    text: "Retry"
                    onClicked: inboxModel.retry()
                }
            }
        }
    }

    Item {
        SplitView.fillWidth: true
        SplitView.minimumWidth: 360
        clip: true

        ChatThreadView {
            id: thread
            anchors.fill: parent
            visible: inboxModel.openConversationID !== ""
            drafts: Drafts
        }
        Loader {
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.topMargin: thread.headerHeight
            width: Math.min(260, parent.width * 0.6)
            active: inbox.panelWanted && !inbox.roomForPanel
            sourceComponent: Rectangle {
                color: Theme.separator
                Loader {
                    anchors.fill: parent
                    anchors.leftMargin: 1
                    source: "../panels/VisitorContextPanel.qml"
                }
            }
        }
        EmptyStateView {
            objectName: "pickConversation"
            anchors.centerIn: parent
            visible: inboxModel.openConversationID === ""
            symbol: inboxModel.pickSymbol
            title: inboxModel.pickTitle
            message: inboxModel.pickText
        }
    }

    // Built only while it shows: hidden, it would be a hundred items made at
    // start and kept for nothing. Named by address, as the overlay's is, so
    // its types are loaded when it is first shown, not with the window.
    Loader {
        SplitView.minimumWidth: 220
        SplitView.preferredWidth: 260
        SplitView.maximumWidth: 380
        visible: inbox.panelWanted && inbox.roomForPanel
        active: visible
        source: "../panels/VisitorContextPanel.qml"
    }
}
