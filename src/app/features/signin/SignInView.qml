import QtQuick
import QtQuick.Layouts
import Kestovar

// Signing in happens in the browser; this screen starts it and waits.
Rectangle {
    id: signIn
    objectName: "signInView"
    color: Theme.window
    readonly property bool waiting: AppState.authStatus === AuthStatus.SigningIn

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 14
        width: 420

        AppBadge {
            objectName: "signInBadge"
            Layout.alignment: Qt.AlignHCenter
            side: 88
        }
        Body {
            objectName: "signInTitle"
            textStyle: "largeTitle"
            Layout.alignment: Qt.AlignHCenter
            text: "Kestovar"
            font.weight: Font.Bold
        }
        Body {
            textStyle: "title3"
            Layout.alignment: Qt.AlignHCenter
            text: UiTexts.signInTagline
            color: Theme.secondaryText
        }
        PrimaryButton {
            objectName: "signInButton"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 10
            symbol: "safari"
            text: signIn.waiting ? "Waiting for browser…" : "Sign in via browser"
            enabled: !signIn.waiting
            onClicked: AppState.beginSignIn()
        }
        ActionButton {
            objectName: "cancelButton"
            Layout.alignment: Qt.AlignHCenter
            visible: signIn.waiting
            flat: true
            text: "Cancel"
            onClicked: AppState.cancelSignIn()
        }
        Body {
            textStyle: "footnote"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: 420
            text: "Opens Kestovar in your default browser, then signs you in here automatically."
            color: Theme.secondaryText
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
        }
        Body {
            objectName: "loadError"
            textStyle: "footnote"
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: 420
            visible: AppState.loadError.length > 0
            text: AppState.loadError
            color: Theme.danger
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
        }
        InlineButton {
            objectName: "signUpLink"
            Layout.alignment: Qt.AlignHCenter
            text: "Don't have an account?"
            Accessible.role: Accessible.Link
            onClicked: AppState.openWebPage("/signup")
        }
    }
}
