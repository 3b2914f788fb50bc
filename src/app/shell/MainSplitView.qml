import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The sidebar beside the screen of the selected section, under a toolbar.
Page {
    objectName: "mainSplitView"
    // Screen readers name the page by its title (it is not drawn: the toolbar is our own).
    title: "Kestovar"
    background: Rectangle { color: Theme.window }

    header: ToolBar {
        background: Rectangle { color: Theme.surface }
        RowLayout {
            anchors.fill: parent
            anchors.leftMargin: 12
            anchors.rightMargin: 8
            Item { Layout.fillWidth: true }
            AppearanceToggle {}
        }
    }

    SplitView {
        anchors.fill: parent
        Sidebar {
            SplitView.minimumWidth: 240
            SplitView.preferredWidth: 280
            SplitView.maximumWidth: 360
        }
        ContentArea {
            SplitView.fillWidth: true
        }
    }

    NoticeBanner {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16
        width: Math.min(560, parent.width - 48)
        z: 10
    }
}
