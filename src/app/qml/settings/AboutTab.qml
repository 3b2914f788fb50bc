import QtQuick
import QtQuick.Controls
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
        Text {
            objectName: "productName"
            Layout.alignment: Qt.AlignHCenter
            text: UiTexts.productName
            color: Theme.text
            font.pixelSize: Theme.size("title2")
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            objectName: "versionLine"
            Layout.alignment: Qt.AlignHCenter
            text: UiTexts.versionLine(Updater.shortVersion, Updater.buildVersion)
            color: Theme.secondaryText
            font.pixelSize: Theme.size("callout")
            Accessible.role: Accessible.StaticText
            Accessible.name: text
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
