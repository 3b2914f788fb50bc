import QtQuick
import Kestovar

// Sign-in until someone is signed in, then the console.
Item {
    Loader {
        anchors.fill: parent
        sourceComponent: AppState.authStatus === AuthStatus.SignedIn ? mainScreen : signIn
    }
    Component {
        id: signIn
        SignInView {}
    }
    Component {
        id: mainScreen
        MainSplitView {}
    }
}
