import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// Who is signed in, how the console looks, the translation target, this
// computer, and starting at login.
ScrollView {
    id: tab
    objectName: "accountTab"
    contentWidth: availableWidth

    AccountSettings { id: account; objectName: "accountSettings" }
    onVisibleChanged: if (visible) account.refreshLaunchAtLogin()

    // A readable column, centred when the window is wide.
    ColumnLayout {
        width: Math.min(tab.availableWidth - 40, 680)
        x: (tab.availableWidth - width) / 2
        spacing: 18

        Item { implicitHeight: 2 }

        RowLayout {
            objectName: "profileHeader"
            visible: account.signedIn
            spacing: 12
            Rectangle {
                implicitWidth: 56
                implicitHeight: 56
                radius: 28
                gradient: Gradient {
                    GradientStop { position: 0; color: Theme.brandLight }
                    GradientStop { position: 1; color: Theme.brand }
                }
                Body {
                    textStyle: "title2"
                    anchors.centerIn: parent
                    text: account.initials
                    color: "white"
                    font.weight: Font.DemiBold
                }
            }
            ColumnLayout {
                spacing: 2
                RowLayout {
                    spacing: 8
                    Body {
                        objectName: "profileName"
                        textStyle: "title3"
                        text: account.name
                        font.weight: Font.DemiBold
                    }
                    Rectangle {
                        visible: account.isAdmin
                        implicitWidth: adminText.implicitWidth + 12
                        implicitHeight: adminText.implicitHeight + 4
                        radius: height / 2
                        color: Theme.brandAt(0.15)
                        Body {
                            id: adminText
                            textStyle: "caption"
                            anchors.centerIn: parent
                            text: "Admin"
                            color: Theme.brandAccent
                            font.weight: Font.DemiBold
                        }
                    }
                }
                Body {
                    textStyle: "callout"
                    text: account.email
                    color: Theme.secondaryText
                }
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            title: "Appearance"
            SegmentedControl {
                objectName: "appearancePicker"
                Layout.fillWidth: true
                name: "Appearance"
                segmentPrefix: "appearance"
                labels: account.appearanceLabels
                current: account.appearanceIndex
                onChosen: (index) => account.appearanceIndex = index
            }
            SettingsNote { text: UiTexts.appearanceNote }
        }

        SettingsSection {
            Layout.fillWidth: true
            title: "Text size"
            SegmentedControl {
                objectName: "textSizePicker"
                Layout.fillWidth: true
                name: "Text size"
                segmentPrefix: "textSize"
                labels: account.textSizeLabels
                current: account.textSizeIndex
                onChosen: (index) => account.textSizeIndex = index
            }
            SettingsNote { text: "Affects message bubbles, conversation lists, and stats throughout the app." }
            Rectangle {
                Layout.fillWidth: true
                implicitHeight: preview.implicitHeight + 20
                radius: 8
                color: Theme.window
                ColumnLayout {
                    id: preview
                    anchors.fill: parent
                    anchors.margins: 10
                    spacing: 4
                    Body {
                        textStyle: "caption"
                        text: "PREVIEW"
                        color: Theme.tertiaryText
                        font.weight: Font.DemiBold
                        font.letterSpacing: 0.6
                    }
                    Body {
                        objectName: "previewSample"
                        Layout.fillWidth: true
                        wrapMode: Text.Wrap
                        text: "The quick brown fox jumps over the lazy dog."
                    }
                    Body {
                        textStyle: "callout"
                        Layout.fillWidth: true
                        wrapMode: Text.Wrap
                        text: "Conversation & message text scales like this."
                        color: Theme.secondaryText
                    }
                }
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            title: "Translation"
            SettingsNote {
                text: "Target language for the Translate button on visitor and AI messages. Changing this affects future translations — already-translated messages keep their language until re-translated."
            }
            Picker {
                objectName: "translationPicker"
                Layout.fillWidth: true
                name: "Translation target language"
                model: account.translationLabels
                currentIndex: account.translationIndex
                onActivated: (index) => account.translationIndex = index
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            title: "Connected device"
            RowLayout {
                spacing: 10
                Icon { symbol: "desktopcomputer"; color: Theme.secondaryText; size: 22 }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 1
                    Body {
                        Layout.fillWidth: true
                        text: UiTexts.thisComputer
                        font.weight: Font.Medium
                    }
                    Body {
                        objectName: "hostName"
                        textStyle: "caption"
                        text: account.hostName
                        color: Theme.secondaryText
                    }
                    Body {
                        textStyle: "caption"
                        text: "Connected · last used just now"
                        color: Theme.tertiaryText
                    }
                }
                ActionButton {
                    objectName: "signOutButton"
                    text: "Sign out"
                    onClicked: AppState.signOut()
                }
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            Layout.bottomMargin: 20
            title: "Startup"
            SwitchRow {
                objectName: "launchAtLogin"
                Layout.fillWidth: true
                enabled: account.launchAtLoginOffered
                label: "Launch Kestovar at login"
                on: account.launchAtLogin
                onSwitched: (on) => account.setLaunchAtLogin(on)
            }
            SettingsNote { text: UiTexts.startupNote }
        }
    }
}
