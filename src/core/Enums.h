#pragma once

// The enumerations the screens see, in one meta-object namespace so that QML
// can name them (Kv.Inbox, …) once the shell registers it.

#include <QObject>

namespace kv {
Q_NAMESPACE

enum class ConversationStatus { waiting, active, operatorActive, resolved };
Q_ENUM_NS(ConversationStatus)

enum class MessageRole { user, assistant, operatorRole, system };
Q_ENUM_NS(MessageRole)

// The screen shown in the content area.
enum class AppSection { inbox, visitors, stats, settings };
Q_ENUM_NS(AppSection)

// How the realtime stream stands, as the screens show it.
enum class ConnectionState { connected, reconnecting, disconnected };
Q_ENUM_NS(ConnectionState)

// Progress of the initial load; `failed` carries a message beside it.
enum class LoadState { idle, loading, loaded, failed };
Q_ENUM_NS(LoadState)

// Sign-in status; `signedIn` carries the user beside it.
enum class AuthStatus { signedOut, signingIn, signedIn };
Q_ENUM_NS(AuthStatus)

enum class AppearancePreference { system, light, dark };
Q_ENUM_NS(AppearancePreference)

enum class FontSizePreference { small, normal, large, extraLarge };
Q_ENUM_NS(FontSizePreference)

// Whether the desktop shows this application's notifications.
enum class NotificationPermission {
    notDetermined,
    denied,
    authorized,
    noServer, // nothing on this desktop shows notifications
};
Q_ENUM_NS(NotificationPermission)

} // namespace kv
