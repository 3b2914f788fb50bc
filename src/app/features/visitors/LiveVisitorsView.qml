import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The people on the websites right now: in one block per agent (each opens
// and closes, its header pinned while it scrolls) or, for one agent, a flat
// list; the selected visitor's details slide in beside it.
Item {
    id: screen
    objectName: "liveVisitorsView"

    LiveVisitorsModel { id: visitorsModel; objectName: "visitorsModel" }
    Component.onCompleted: visitorsModel.appear()

    readonly property real panelWidth: Math.min(320, Math.max(260, width * 0.34))

    ColumnLayout {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: panel.x
        spacing: 0

        ContentHeader {
            Layout.fillWidth: true
            title: "Live visitors"
            subtitle: visitorsModel.subtitle
            ActionButton {
                objectName: "toggleAllButton"
                visible: visitorsModel.showsToggleAll
                flat: true
                symbol: visitorsModel.toggleAllSymbol
                text: visitorsModel.toggleAllLabel
                tone: Theme.secondaryText
                tip: visitorsModel.toggleAllTooltip
                Accessible.description: visitorsModel.toggleAllTooltip
                onClicked: visitorsModel.toggleAll()
            }
        }
        LoadFailureBanner {
            // Over the visitors still shown; with none, the empty state says why.
            objectName: "visitorsLoadError"
            Layout.fillWidth: true
            status: visitorsModel
            visible: visitorsModel.error !== "" && !visitorsModel.isEmpty
        }
        ListView {
            id: list
            objectName: "visitorList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            visible: !visitorsModel.isEmpty
            model: visitorsModel.rows
            reuseItems: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}
            Accessible.role: Accessible.List
            Accessible.name: "Live visitors"
            section.property: "section"
            section.criteria: ViewSection.FullString
            section.labelPositioning: ViewSection.InlineLabels | ViewSection.CurrentLabelAtStart
            section.delegate: VisitorGroupHeader {
                required property string section
                objectName: "visitorGroupHeader"
                width: ListView.view.width
                info: { visitorsModel.groupsRevision; return visitorsModel.group(section) }
                onToggled: visitorsModel.toggle(section)
            }
            delegate: VisitorRow {
                required property bool standIn
                objectName: standIn ? "" : "visitorRow"
                width: ListView.view.width
                height: standIn ? 0 : implicitHeight
                visible: !standIn
                selected: visitorID === AppState.selectedVisitorID
                onClicked: visitorsModel.select(visitorID)
            }
        }
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true
            visible: visitorsModel.isEmpty
            Column {
                anchors.centerIn: parent
                width: parent.width - 40
                spacing: 12
                EmptyStateView {
                    objectName: "visitorsEmpty"
                    width: parent.width
                    symbol: visitorsModel.emptySymbol
                    title: visitorsModel.emptyTitle
                    message: visitorsModel.emptyText
                }
                ActionButton {
                    objectName: "visitorsRetry"
                    anchors.horizontalCenter: parent.horizontalCenter
                    visible: visitorsModel.error !== ""
                    enabled: !visitorsModel.loading
                    text: "Retry"
                    onClicked: visitorsModel.retry()
                }
            }
        }
    }

    VisitorDetailPanel {
        id: panel
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: screen.panelWidth
        visitorID: AppState.selectedVisitorID
        // Slides in from the trailing edge while fading in, and out the same way.
        x: exists ? screen.width - width : screen.width
        opacity: exists ? 1 : 0
        visible: opacity > 0
        Behavior on x { NumberAnimation { duration: 150; easing.type: Easing.InOutQuad } }
        Behavior on opacity { NumberAnimation { duration: 150; easing.type: Easing.InOutQuad } }
    }
}
