import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// Signing in happens in the browser; this screen starts it and waits.
Rectangle {
    id: signIn
    objectName: "signInView"
    color: Theme.window
    readonly property bool waiting: AppState.authStatus === Kinds.signingIn

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 14
        width: 420

        AppBadge {
            objectName: "signInBadge"
            Layout.alignment: Qt.AlignHCenter
            side: 88
        }
        Text {
            objectName: "signInTitle"
            Layout.alignment: Qt.AlignHCenter
            text: "Kestovar"
            color: Theme.text
            font.pixelSize: Theme.size("largeTitle")
            font.weight: Font.Bold
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: UiTexts.signInTagline
            color: Theme.secondaryText
            font.pixelSize: Theme.size("title3")
        }
        Button {
            id: signInButton
            objectName: "signInButton"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 10
            text: signIn.waiting ? "Waiting for browser…" : "Sign in via browser"
            enabled: !signIn.waiting
            highlighted: true
            font.pixelSize: Theme.size("body")
            icon.source: Icons.url("safari", "white")
            icon.color: "transparent"
            Accessible.name: text
            onClicked: AppState.beginSignIn()
        }
        Button {
            objectName: "cancelButton"
            Layout.alignment: Qt.AlignHCenter
            visible: signIn.waiting
            flat: true
            text: "Cancel"
            font.pixelSize: Theme.size("caption")
            Accessible.name: text
            onClicked: AppState.cancelSignIn()
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: 420
            text: "Opens Kestovar in your default browser, then signs you in here automatically."
            color: Theme.secondaryText
            font.pixelSize: Theme.size("footnote")
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
        }
        Text {
            objectName: "loadError"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: 420
            visible: AppState.loadError.length > 0
            text: AppState.loadError
            color: Theme.danger
            font.pixelSize: Theme.size("footnote")
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
        }
        Text {
            objectName: "signUpLink"
            Layout.alignment: Qt.AlignHCenter
            text: "<a href=\"signup\">Don't have an account?</a>"
            textFormat: Text.StyledText
            linkColor: Theme.brandAccent
            font.pixelSize: Theme.size("footnote")
            Accessible.role: Accessible.Link
            Accessible.name: "Don't have an account?"
            onLinkActivated: AppState.openWebPage("/signup")
        }
    }
}
