import QtQuick
import QtQuick.Layouts
import Kestovar

// The product, its version, updates, and the legal pages.
Item {
    id: tab
    objectName: "aboutTab"
    property bool checksAllowed: false

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(parent.width - 40, 420)
        spacing: 10

        AppBadge {
            objectName: "aboutBadge"
            Layout.alignment: Qt.AlignHCenter
            side: 72
        }
        Heading {
            objectName: "productName"
            textStyle: "title2"
            Layout.alignment: Qt.AlignHCenter
            text: UiTexts.productName
        }
        Body {
            objectName: "versionLine"
            textStyle: "callout"
            Layout.alignment: Qt.AlignHCenter
            text: UiTexts.versionLine(Updater.shortVersion, Updater.buildVersion)
            color: Theme.secondaryText
        }
        AboutUpdatesButton {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 6
            checksAllowed: tab.checksAllowed
        }
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 6
            spacing: 16
            InlineButton {
                objectName: "privacyLink"
                text: "Privacy"
                onClicked: AppState.openWebPage("/legal/privacy")
            }
            InlineButton {
                objectName: "termsLink"
                text: "Terms"
                onClicked: AppState.openWebPage("/legal/terms")
            }
        }
    }
}
