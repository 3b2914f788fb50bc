#pragma once

// The state's enumerations by name for QML. QML reaches only enum keys that
// begin with a capital letter, and the state's cases are lower camel case,
// so each case is offered here as a constant made from the C++ value. A
// test ties every case of every enumeration to its constant.

#include "Enums.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

class Kinds : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    // AuthStatus
    Q_PROPERTY(int signedOut READ signedOut CONSTANT)
    Q_PROPERTY(int signingIn READ signingIn CONSTANT)
    Q_PROPERTY(int signedIn READ signedIn CONSTANT)
    // AppSection
    Q_PROPERTY(int inbox READ inbox CONSTANT)
    Q_PROPERTY(int visitors READ visitors CONSTANT)
    Q_PROPERTY(int stats READ stats CONSTANT)
    Q_PROPERTY(int settings READ settings CONSTANT)
    // ConnectionState
    Q_PROPERTY(int connected READ connected CONSTANT)
    Q_PROPERTY(int reconnecting READ reconnecting CONSTANT)
    Q_PROPERTY(int disconnected READ disconnected CONSTANT)
    // LoadState
    Q_PROPERTY(int idle READ idle CONSTANT)
    Q_PROPERTY(int loading READ loading CONSTANT)
    Q_PROPERTY(int loaded READ loaded CONSTANT)
    Q_PROPERTY(int failed READ failed CONSTANT)
    // AppearancePreference ("system" is also a message role: named apart)
    Q_PROPERTY(int systemAppearance READ systemAppearance CONSTANT)
    Q_PROPERTY(int light READ light CONSTANT)
    Q_PROPERTY(int dark READ dark CONSTANT)
    // FontSizePreference
    Q_PROPERTY(int small READ small CONSTANT)
    Q_PROPERTY(int normal READ normal CONSTANT)
    Q_PROPERTY(int large READ large CONSTANT)
    Q_PROPERTY(int extraLarge READ extraLarge CONSTANT)
    // ConversationStatus
    Q_PROPERTY(int waiting READ waiting CONSTANT)
    Q_PROPERTY(int active READ active CONSTANT)
    Q_PROPERTY(int operatorActive READ operatorActive CONSTANT)
    Q_PROPERTY(int resolved READ resolved CONSTANT)
    // MessageRole
    Q_PROPERTY(int user READ user CONSTANT)
    Q_PROPERTY(int assistant READ assistant CONSTANT)
    Q_PROPERTY(int operatorRole READ operatorRole CONSTANT)
    Q_PROPERTY(int systemRole READ systemRole CONSTANT)
    // NotificationPermission
    Q_PROPERTY(int notDetermined READ notDetermined CONSTANT)
    Q_PROPERTY(int denied READ denied CONSTANT)
    Q_PROPERTY(int authorized READ authorized CONSTANT)
    Q_PROPERTY(int noServer READ noServer CONSTANT)

public:
    using QObject::QObject;

    static int signedOut() { return int(AuthStatus::signedOut); }
    static int signingIn() { return int(AuthStatus::signingIn); }
    static int signedIn() { return int(AuthStatus::signedIn); }
    static int inbox() { return int(AppSection::inbox); }
    static int visitors() { return int(AppSection::visitors); }
    static int stats() { return int(AppSection::stats); }
    static int settings() { return int(AppSection::settings); }
    static int connected() { return int(ConnectionState::connected); }
    static int reconnecting() { return int(ConnectionState::reconnecting); }
    static int disconnected() { return int(ConnectionState::disconnected); }
    static int idle() { return int(LoadState::idle); }
    static int loading() { return int(LoadState::loading); }
    static int loaded() { return int(LoadState::loaded); }
    static int failed() { return int(LoadState::failed); }
    static int systemAppearance() { return int(AppearancePreference::system); }
    static int light() { return int(AppearancePreference::light); }
    static int dark() { return int(AppearancePreference::dark); }
    static int small() { return int(FontSizePreference::small); }
    static int normal() { return int(FontSizePreference::normal); }
    static int large() { return int(FontSizePreference::large); }
    static int extraLarge() { return int(FontSizePreference::extraLarge); }
    static int waiting() { return int(ConversationStatus::waiting); }
    static int active() { return int(ConversationStatus::active); }
    static int operatorActive() { return int(ConversationStatus::operatorActive); }
    static int resolved() { return int(ConversationStatus::resolved); }
    static int user() { return int(MessageRole::user); }
    static int assistant() { return int(MessageRole::assistant); }
    static int operatorRole() { return int(MessageRole::operatorRole); }
    static int systemRole() { return int(MessageRole::system); }
    static int notDetermined() { return int(NotificationPermission::notDetermined); }
    static int denied() { return int(NotificationPermission::denied); }
    static int authorized() { return int(NotificationPermission::authorized); }
    static int noServer() { return int(NotificationPermission::noServer); }
};

} // namespace kv

// The enumerations' own types, declared to the QML module so that tools that
// read it (qmllint) know the type of each enum property of the state.
namespace KvEnumsForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(kv)
QML_NAMED_ELEMENT(KvEnums)
} // namespace KvEnumsForeign
