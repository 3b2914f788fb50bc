import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// Who is signed in, with the dashboard, the appearance and signing out.
RowLayout {
    id: footer
    property string initials
    property string name
    spacing: 8

    Rectangle {
        implicitWidth: 28
        implicitHeight: 28
        radius: 14
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.brandLight }
            GradientStop { position: 1; color: Theme.brand }
        }
        Accessible.role: Accessible.Graphic
        Accessible.name: "Avatar " + footer.initials
        Body {
            textStyle: "caption"
            anchors.centerIn: parent
            text: footer.initials
            color: "white"
            font.weight: Font.DemiBold
        }
    }
    Body {
        objectName: "userName"
        textStyle: "callout"
        Layout.fillWidth: true
        text: footer.name
        elide: Text.ElideRight
    }
    IconButton {
        id: menuButton
        objectName: "accountMenuButton"
        symbol: "ellipsis"
        symbolSize: 14
        tip: "Account"
        onClicked: accountMenu.active = true
        // Made each time it opens, gone when it closes.
        Loader {
            id: accountMenu
            active: false
            sourceComponent: Menu {
                objectName: "accountMenu"
                parent: menuButton
                y: -implicitHeight
                visible: true
                onClosed: accountMenu.active = false
                // The entry that opens "Appearance" is one of ours too.
                delegate: MenuEntry {}
                MenuEntry {
                    text: "Open Dashboard"
                    onTriggered: AppState.openWebPage("/dashboard")
                }
                Menu {
                    title: "Appearance"
                    Repeater {
                        model: [
                            { title: "Match system", value: AppearancePreference.System },
                            { title: "Light", value: AppearancePreference.Light },
                            { title: "Dark", value: AppearancePreference.Dark }
                        ]
                        MenuEntry {
                            required property var modelData
                            text: modelData.title
                            checkable: true
                            chosen: AppState.appearance === modelData.value
                            onTriggered: AppState.appearance = modelData.value
                        }
                    }
                }
                MenuSeparator {}
                MenuEntry {
                    objectName: "signOutItem"
                    text: "Sign out"
                    onTriggered: AppState.signOut()
                }
                MenuEntry {
                    objectName: "shortcutsItem"
                    text: "Keyboard shortcuts"
                    onTriggered: Shortcuts.activate("shortcuts")
                }
                MenuEntry {
                    // The way out on desktops without a tray, where closing only minimises.
                    objectName: "quitItem"
                    text: "Quit Kestovar"
                    onTriggered: Desktop.quit()
                }
            }
        }
    }
}
