pragma Singleton
import QtQml

// The state's enumerations by name. (QML reaches only capitalised enum keys,
// and the state's cases are lower camel case, so their values are named here.)
QtObject {
    // AuthStatus
    readonly property int signedOut: 0
    readonly property int signingIn: 1
    readonly property int signedIn: 2
    // AppSection
    readonly property int inbox: 0
    readonly property int visitors: 1
    readonly property int stats: 2
    readonly property int settings: 3
    // ConnectionState
    readonly property int connected: 0
    readonly property int reconnecting: 1
    readonly property int disconnected: 2
    // AppearancePreference
    readonly property int systemAppearance: 0
    readonly property int light: 1
    readonly property int dark: 2
    // ConversationStatus
    readonly property int waiting: 0
    readonly property int active: 1
    readonly property int operatorActive: 2
    readonly property int resolved: 3
}
