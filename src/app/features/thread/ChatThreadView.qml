import QtQuick
import QtQuick.Layouts
import Kestovar

// One conversation: who and where, the AI's suggestion, the messages, and the
// composer, the take-over bar or the resolved banner as its status asks.
Rectangle {
    id: view
    objectName: "chatThread"
    // The open conversation it shows (the state's one OpenConversation).
    readonly property alias conversationID: controller.conversationID
    property alias drafts: controller.drafts
    // Where the messages begin: a panel laid over the thread leaves the header clear.
    readonly property real headerHeight: header.height
    color: Theme.window

    ThreadController { id: controller; objectName: "threadController" }
    // The same, for the parts made later: inside them their own `controller`
    // would hide the id.
    readonly property ThreadController threadController: controller
    Connections {
        target: Shortcuts
        function onActivated(action) {
            if (!controller.exists)
                return
            if (action === "takeOver")
                controller.takeOver()
            else if (action === "resolve")
                controller.resolve()
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        ThreadHeader {
            id: header
            Layout.fillWidth: true
            controller: controller
        }
        // The suggestion and the take-over bar are made when first shown:
        // most conversations open with neither.
        KeptLoader {
            Layout.fillWidth: true
            Layout.margins: 12
            wanted: controller.suggestionVisible
            sourceComponent: SuggestionCard { controller: view.threadController }
        }
        LoadFailureBanner {
            // The messages shown stay as they were; this says they may be out of date.
            objectName: "threadLoadError"
            retryName: "threadRetry"
            Layout.fillWidth: true
            status: controller
        }
        MessageList {
            Layout.fillWidth: true
            Layout.fillHeight: true
            controller: controller
        }
        Rectangle {
            Layout.fillWidth: true
            height: 1
            color: Theme.separator
        }
        ComposerView {
            Layout.fillWidth: true
            visible: controller.bottomRegion === ThreadController.ComposerRegion
            drafts: controller.drafts
        }
        KeptLoader {
            Layout.fillWidth: true
            wanted: controller.bottomRegion === ThreadController.TakeOverRegion
            sourceComponent: TakeOverBar { onTakeOver: view.threadController.takeOver() }
        }
        Banner {
            objectName: "resolvedBanner"
            Layout.fillWidth: true
            visible: controller.bottomRegion === ThreadController.ResolvedRegion
            symbol: "checkmark.circle.fill"
            tone: Theme.green
            text: "This chat is resolved. If the visitor writes again it reopens automatically and reappears here."
        }
    }
}
