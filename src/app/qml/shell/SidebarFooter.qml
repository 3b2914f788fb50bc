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
        Text {
            anchors.centerIn: parent
            text: footer.initials
            color: "white"
            font.pixelSize: Theme.size("caption")
            font.weight: Font.DemiBold
        }
    }
    Text {
        objectName: "userName"
        Layout.fillWidth: true
        text: footer.name
        elide: Text.ElideRight
        color: Theme.text
        font.pixelSize: Theme.size("callout")
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    ToolButton {
        id: more
        objectName: "accountMenuButton"
        contentItem: Icon { symbol: "ellipsis"; color: Theme.secondaryText; size: 14 }
        Accessible.name: "Account"
        ToolTip.visible: hovered
        ToolTip.text: "Account"
        onClicked: menu.open()
        Menu {
            id: menu
            objectName: "accountMenu"
            y: -implicitHeight
            MenuItem {
                text: "Open Dashboard"
                onTriggered: AppState.openWebPage("/dashboard")
            }
            Menu {
                title: "Appearance"
                Repeater {
                    model: [
                        { title: "Match system", value: Kinds.systemAppearance },
                        { title: "Light", value: Kinds.light },
                        { title: "Dark", value: Kinds.dark }
                    ]
                    MenuItem {
                        required property var modelData
                        text: modelData.title
                        checkable: true
                        checked: AppState.appearance === modelData.value
                        onTriggered: AppState.appearance = modelData.value
                    }
                }
            }
            MenuSeparator {}
            MenuItem {
                objectName: "signOutItem"
                text: "Sign out"
                onTriggered: AppState.signOut()
            }
        }
    }
}
