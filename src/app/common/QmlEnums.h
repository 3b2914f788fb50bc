#pragma once

// The state's enumerations as QML names them. QML reaches only enum keys
// that begin with a capital letter and the state's cases are lower camel
// case, so each enumeration has a twin here whose keys are the same words
// capitalised and whose values are the state's own, taken from it: a case
// cannot drift. A test checks that every case of the state has its twin key.
//
// In QML: `AppState.authStatus === AuthStatus.SignedIn`.

#include "Enums.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv::qmlenums {

namespace AuthStatus {
Q_NAMESPACE
QML_NAMED_ELEMENT(AuthStatus)
enum Value {
    SignedOut = int(::kv::AuthStatus::signedOut),
    SigningIn = int(::kv::AuthStatus::signingIn),
    SignedIn = int(::kv::AuthStatus::signedIn),
};
Q_ENUM_NS(Value)
} // namespace AuthStatus

namespace AppSection {
Q_NAMESPACE
QML_NAMED_ELEMENT(AppSection)
enum Value {
    Inbox = int(::kv::AppSection::inbox),
    Visitors = int(::kv::AppSection::visitors),
    Stats = int(::kv::AppSection::stats),
    Settings = int(::kv::AppSection::settings),
};
Q_ENUM_NS(Value)
} // namespace AppSection

namespace ConnectionState {
Q_NAMESPACE
QML_NAMED_ELEMENT(ConnectionState)
enum Value {
    Connected = int(::kv::ConnectionState::connected),
    Reconnecting = int(::kv::ConnectionState::reconnecting),
    Disconnected = int(::kv::ConnectionState::disconnected),
};
Q_ENUM_NS(Value)
} // namespace ConnectionState

namespace LoadState {
Q_NAMESPACE
QML_NAMED_ELEMENT(LoadState)
enum Value {
    Idle = int(::kv::LoadState::idle),
    Loading = int(::kv::LoadState::loading),
    Loaded = int(::kv::LoadState::loaded),
    Failed = int(::kv::LoadState::failed),
};
Q_ENUM_NS(Value)
} // namespace LoadState

namespace AppearancePreference {
Q_NAMESPACE
QML_NAMED_ELEMENT(AppearancePreference)
enum Value {
    System = int(::kv::AppearancePreference::system),
    Light = int(::kv::AppearancePreference::light),
    Dark = int(::kv::AppearancePreference::dark),
};
Q_ENUM_NS(Value)
} // namespace AppearancePreference

namespace FontSizePreference {
Q_NAMESPACE
QML_NAMED_ELEMENT(FontSizePreference)
enum Value {
    Small = int(::kv::FontSizePreference::small),
    Normal = int(::kv::FontSizePreference::normal),
    Large = int(::kv::FontSizePreference::large),
    ExtraLarge = int(::kv::FontSizePreference::extraLarge),
};
Q_ENUM_NS(Value)
} // namespace FontSizePreference

namespace ConversationStatus {
Q_NAMESPACE
QML_NAMED_ELEMENT(ConversationStatus)
enum Value {
    Waiting = int(::kv::ConversationStatus::waiting),
    Active = int(::kv::ConversationStatus::active),
    OperatorActive = int(::kv::ConversationStatus::operatorActive),
    Resolved = int(::kv::ConversationStatus::resolved),
};
Q_ENUM_NS(Value)
} // namespace ConversationStatus

namespace MessageRole {
Q_NAMESPACE
QML_NAMED_ELEMENT(MessageRole)
enum Value {
    User = int(::kv::MessageRole::user),
    Assistant = int(::kv::MessageRole::assistant),
    OperatorRole = int(::kv::MessageRole::operatorRole),
    System = int(::kv::MessageRole::system),
};
Q_ENUM_NS(Value)
} // namespace MessageRole

namespace NotificationPermission {
Q_NAMESPACE
QML_NAMED_ELEMENT(NotificationPermission)
enum Value {
    NotDetermined = int(::kv::NotificationPermission::notDetermined),
    Denied = int(::kv::NotificationPermission::denied),
    Authorized = int(::kv::NotificationPermission::authorized),
    NoServer = int(::kv::NotificationPermission::noServer),
};
Q_ENUM_NS(Value)
} // namespace NotificationPermission

} // namespace kv::qmlenums

// The enumerations' own types, declared to the QML module so that tools that
// read it (qmllint) know the type of each enum property of the state.
namespace KvEnumsForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(kv)
QML_NAMED_ELEMENT(KvEnums)
} // namespace KvEnumsForeign
