#include "FreedesktopNotifier.h"

#include "DesktopIds.h"
#include "Timing.h"

#include <QCoroDBusPendingCall>
#include <QCoroDBusPendingReply>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QPointer>

namespace kv {

namespace {

constexpr char kDefaultAction[] = "default";
constexpr char kInlineReplyAction[] = "inline-reply";
constexpr char kReplyAction[] = "reply";

} // namespace

FreedesktopNotifier::FreedesktopNotifier(QDBusConnection bus, QString service, QObject* parent)
    : Notifier(parent), m_bus(std::move(bus)), m_service(std::move(service)),
      m_watcher(new QDBusServiceWatcher(m_service, m_bus, QDBusServiceWatcher::WatchForOwnerChange,
                                        this)) {
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &FreedesktopNotifier::forgetAll);
    const QString path = QString::fromLatin1(desktop::kNotificationsPath);
    const QString iface = QString::fromLatin1(desktop::kNotificationsInterface);
    // Sent just before ActionInvoked by servers that take part in activation.
    m_bus.connect(m_service, path, iface, QStringLiteral("ActivationToken"), this,
                  SLOT(onActivationToken(uint, QString)));
    m_bus.connect(m_service, path, iface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(m_service, path, iface, QStringLiteral("NotificationReplied"), this,
                  SLOT(onReplied(uint, QString)));
    m_bus.connect(m_service, path, iface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onClosed(uint, uint)));
}

QCoro::Task<NotificationPermission> FreedesktopNotifier::requestAuthorization() {
    // The freedesktop service asks nobody: a server that answers shows notifications.
    co_return co_await currentAuthorization();
}

QCoro::Task<NotificationPermission> FreedesktopNotifier::currentAuthorization() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_service, QString::fromLatin1(desktop::kNotificationsPath),
        QString::fromLatin1(desktop::kNotificationsInterface), QStringLiteral("GetCapabilities"));
    QDBusPendingReply<QStringList> reply =
        m_bus.asyncCall(call, int(Timing::current().notifierCallTimeout.count()));
    const QPointer<FreedesktopNotifier> alive(this);
    co_await reply;
    if (!alive) // closed while the server answered: there is nothing left to show on
        co_return NotificationPermission::noServer;
    if (reply.isError()) {
        m_capabilitiesKnown = false;
        co_return NotificationPermission::noServer;
    }
    m_capabilities = reply.value();
    m_capabilitiesKnown = true;
    co_return NotificationPermission::authorized;
}

bool FreedesktopNotifier::offersInlineReply() const {
    return m_capabilities.contains(QString::fromLatin1(kInlineReplyAction));
}

QCoro::Task<std::optional<QString>> FreedesktopNotifier::post(NotificationRequest request) {
    // The notifier may be closed while the server answers: nothing of it is
    // touched once it has gone.
    const QPointer<FreedesktopNotifier> alive(this);
    static const QString closed = QStringLiteral("the notifier was closed");
    if (!m_capabilitiesKnown) {
        const NotificationPermission permission = co_await currentAuthorization();
        if (!alive)
            co_return closed;
        if (permission == NotificationPermission::noServer)
            co_return QStringLiteral("no notification server on the session bus");
    }

    QStringList actions{QString::fromLatin1(kDefaultAction), QStringLiteral("Open")};
    if (request.conversationID) {
        if (m_capabilities.contains(QString::fromLatin1(kInlineReplyAction)))
            actions << QString::fromLatin1(kInlineReplyAction) << QStringLiteral("Reply");
        else if (m_capabilities.contains(QStringLiteral("actions")))
            actions << QString::fromLatin1(kReplyAction) << QStringLiteral("Reply");
    }
    QVariantMap hints{
        {QStringLiteral("desktop-entry"), QString::fromLatin1(desktop::kDesktopEntry)},
        // The installed application icon, by name (app_icon names it too).
        {QStringLiteral("image-path"), QString::fromLatin1(desktop::kAppId)},
        {QStringLiteral("category"), QStringLiteral("im.received")},
        // Critical for a visitor waiting for a human: the server keeps it up.
        {QStringLiteral("urgency"), QVariant::fromValue(uchar(request.urgent ? 2 : 1))},
        {QStringLiteral("x-kde-reply-placeholder-text"), QStringLiteral("Type your reply…")},
        {QStringLiteral("x-kde-reply-submit-button-text"), QStringLiteral("Send")},
    };
    if (request.sound)
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
    else
        hints.insert(QStringLiteral("suppress-sound"), true);

    // The body is a visitor's words: shown as written, never read as markup.
    const QString body = m_capabilities.contains(QStringLiteral("body-markup"))
                             ? escapeBodyMarkup(request.body)
                             : request.body;

    // A conversation keeps one notification on screen, replaced by its newest.
    if (request.conversationID) {
        while (m_posting.contains(*request.conversationID)) {
            auto answered = m_answered.wait();
            co_await answered;
            if (!alive)
                co_return closed;
        }
        m_posting.insert(*request.conversationID);
    }
    const uint replaces =
        request.conversationID ? m_byConversation.value(*request.conversationID, 0) : 0;

    QDBusMessage call = QDBusMessage::createMethodCall(
        m_service, QString::fromLatin1(desktop::kNotificationsPath),
        QString::fromLatin1(desktop::kNotificationsInterface), QStringLiteral("Notify"));
    call << QStringLiteral("Kestovar") << replaces << QString::fromLatin1(desktop::kAppId)
         << request.title << body << actions << hints << int(request.urgent ? 0 : -1);
    QDBusPendingReply<uint> reply =
        m_bus.asyncCall(call, int(Timing::current().notifierCallTimeout.count()));
    co_await reply;
    if (!alive)
        co_return closed;
    if (request.conversationID) {
        m_posting.remove(*request.conversationID);
        m_answered.releaseAll();
    }
    if (reply.isError())
        co_return reply.error().message();
    const uint id = reply.value();
    if (replaces != 0 && replaces != id)
        untrack(replaces);
    track(id, Shown{request.projectID, request.conversationID});
    co_return std::nullopt;
}

void FreedesktopNotifier::withdraw(const QString& conversationID) {
    const uint id = m_byConversation.value(conversationID, 0);
    if (id == 0)
        return;
    untrack(id);
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_service, QString::fromLatin1(desktop::kNotificationsPath),
        QString::fromLatin1(desktop::kNotificationsInterface), QStringLiteral("CloseNotification"));
    call << id;
    m_bus.asyncCall(call, int(Timing::current().notifierCallTimeout.count()));
}

void FreedesktopNotifier::track(uint id, Shown shown) {
    untrack(id);
    if (shown.conversationID)
        m_byConversation.insert(*shown.conversationID, id);
    m_shown.insert(id, std::move(shown));
    m_order.append(id);
    while (m_order.size() > kMaxTracked)
        untrack(m_order.first());
}

void FreedesktopNotifier::untrack(uint id) {
    const auto shown = m_shown.constFind(id);
    if (shown == m_shown.constEnd())
        return;
    if (shown->conversationID && m_byConversation.value(*shown->conversationID) == id)
        m_byConversation.remove(*shown->conversationID);
    m_shown.erase(shown);
    m_order.removeOne(id);
}

void FreedesktopNotifier::forgetAll() {
    m_shown.clear();
    m_byConversation.clear();
    m_order.clear();
    // A new server may offer other things; ask again before the next post.
    m_capabilities.clear();
    m_capabilitiesKnown = false;
}

QString FreedesktopNotifier::escapeBodyMarkup(const QString& body) {
    QString out;
    out.reserve(body.size());
    for (const QChar c : body) {
        if (c == u'&')
            out += QStringLiteral("&amp;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else
            out += c;
    }
    return out;
}

void FreedesktopNotifier::onActivationToken(uint id, const QString& token) {
    if (!m_shown.contains(id) || token.isEmpty())
        return;
    qputenv(kActivationTokenVariable, token.toUtf8());
}

void FreedesktopNotifier::onActionInvoked(uint id, const QString& action) {
    const auto shown = m_shown.constFind(id);
    if (shown == m_shown.constEnd())
        return; // another application's, or one we no longer track
    if (action == QLatin1StringView(kReplyAction) && shown->conversationID)
        emit replyWindowRequested(shown->projectID, *shown->conversationID);
    else if (action != QLatin1StringView(kInlineReplyAction))
        emit activated(shown->projectID, shown->conversationID);
}

void FreedesktopNotifier::onReplied(uint id, const QString& text) {
    const auto shown = m_shown.constFind(id);
    if (shown == m_shown.constEnd())
        return;
    emit replied(shown->projectID, shown->conversationID, text);
}

void FreedesktopNotifier::onClosed(uint id, uint) {
    untrack(id);
}

} // namespace kv
