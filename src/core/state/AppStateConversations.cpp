// Conversations and messages: loading the list and a conversation's detail,
// replying, resolving and translating.

#include "AppState.h"

#include "Log.h"

#include <QLocale>
#include <QPointer>
#include <QSettings>

namespace kv {

QCoro::Task<> AppState::loadConversations(std::optional<QString> projectID) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    const auto selection = m_selectedProjectID;
    qCInfo(lcAppState).noquote() << QStringLiteral("loadConversations projectID=%1")
                                        .arg(projectID.value_or(QStringLiteral("<all>")));
    auto list = co_await m_repository->fetchConversations(projectID, std::nullopt,
                                                          kConversationLimit, cancel);
    // Signed out, or the operator picked another agent meanwhile: that load shows its list.
    if (!guard || cancel.isCancelled() || m_selectedProjectID != selection)
        co_return;
    if (!list) {
        if (list.error().kind == ApiError::Kind::unauthorized) {
            qCWarning(lcAppState).noquote() << "loadConversations: unauthorized";
            signOut();
            co_return;
        }
        const QString description = list.error().errorDescription();
        qCWarning(lcAppState).noquote()
            << QStringLiteral("loadConversations failed: %1").arg(description);
        setConversations({});
        // An empty inbox that failed to load is not "no conversations".
        setConversationsError(description);
        co_return;
    }
    qCInfo(lcAppState).noquote()
        << QStringLiteral("loadConversations: got %1 conversations").arg(list->size());
    setConversationsError(QString());
    setConversations(list.value());
    resetScope(projectID.value_or(QString::fromLatin1(kAllScope)));
    setMessageMaps({}, {});
    const bool keep =
        m_selectedConversationID &&
        std::any_of(conversations().begin(), conversations().end(),
                    [&](const Conversation& c) { return c.id == *m_selectedConversationID; });
    if (!keep)
        repairConversationSelection();
    co_await loadSnippets(projectID);
}

std::optional<QString> AppState::projectOfListed(const QString& conversationID) const {
    for (const Conversation& c : conversations()) {
        if (c.id == conversationID)
            return c.projectID;
    }
    return std::nullopt;
}

void AppState::resetScope(const QString& scope) {
    primedVisitorScopes.remove(scope);
    primedConversationScopes.remove(scope);
    knownVisitorIDs.remove(scope);
    convSnapshot.remove(scope);
}

void AppState::repairConversationSelection() {
    setSelectedConversationID(conversations().isEmpty()
                                  ? std::nullopt
                                  : std::optional<QString>(conversations().first().id));
}

QCoro::Task<> AppState::loadConversationDetail(QString conversationID) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    const auto projectID = projectOfListed(conversationID);
    if (!projectID)
        co_return;
    auto detail =
        co_await m_repository->fetchConversationDetail(*projectID, conversationID, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (!detail) {
        if (signedOutBy(detail.error()))
            co_return;
        // The messages shown stay; the thread says they could not be brought up to date.
        const QString description = detail.error().errorDescription();
        qCWarning(lcAppState).noquote() << QStringLiteral("loadConversationDetail %1 failed: %2")
                                               .arg(conversationID, description);
        setDetailError(conversationID, description);
        co_return;
    }
    setDetailError(conversationID, QString());
    replaceConversation(detail->conversation);
    auto api = m_apiMessages;
    api.insert(conversationID, detail->messages);
    setMessageMaps(api, m_localMessages);
    if (m_snippetsProjectID != detail->conversation.projectID)
        co_await loadSnippets(detail->conversation.projectID);
}

void AppState::setDetailError(const QString& conversationID, const QString& text) {
    if (m_detailErrors.value(conversationID) == text)
        return;
    if (text.isEmpty())
        m_detailErrors.remove(conversationID);
    else
        m_detailErrors.insert(conversationID, text);
    emit detailErrorsChanged();
}

QList<Message> AppState::messages(const QString& conversationID) const {
    return m_apiMessages.value(conversationID) + m_localMessages.value(conversationID);
}

void AppState::setMessageMaps(QHash<QString, QList<Message>> api,
                              QHash<QString, QList<Message>> local) {
    if (api == m_apiMessages && local == m_localMessages)
        return;
    m_apiMessages = std::move(api);
    m_localMessages = std::move(local);
    emit messagesChanged();
    refreshSelectedMessages();
}

void AppState::refreshSelectedMessages() {
    QList<Message> shown;
    if (m_selectedConversationID) {
        // The thread shows a sent reply once, also after the service's list holds it.
        const QList<Message> api = m_apiMessages.value(*m_selectedConversationID);
        QSet<QString> known;
        for (const Message& m : api)
            known.insert(m.id);
        shown = api;
        for (const Message& m : m_localMessages.value(*m_selectedConversationID)) {
            if (!known.contains(m.id))
                shown.append(m);
        }
    }
    m_selectedMessages->apply(shown);
}

void AppState::replaceConversation(const Conversation& updated) {
    QList<Conversation> list = conversations();
    for (Conversation& c : list) {
        if (c.id == updated.id) {
            c = updated;
            setConversations(list);
            return;
        }
    }
}

void AppState::decrementUnread(const QString& projectID) {
    QList<Project> list = projects();
    for (Project& p : list) {
        if (p.id == projectID) {
            p.unreadCount = std::max<qint64>(0, p.unreadCount - 1);
            setProjects(list);
            return;
        }
    }
}

QCoro::Task<ApiResult<void>> AppState::sendOperatorReply(QString text, QString conversationID,
                                                         bool resolveAfter) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    const auto projectID = projectOfListed(conversationID);
    if (!projectID)
        co_return ApiError::of(ApiError::Kind::notFound); // nothing was sent
    auto sent =
        co_await m_repository->sendMessage(*projectID, conversationID, text, resolveAfter, cancel);
    if (!sent) {
        if (guard && !cancel.isCancelled() && !signedOutBy(sent.error()))
            setLoadState(LoadState::failed, sent.error().errorDescription());
        co_return sent.error();
    }
    if (!guard || cancel.isCancelled())
        co_return ApiResult<void>();
    QList<Conversation> list = conversations();
    for (Conversation& c : list) {
        if (c.id != conversationID)
            continue;
        const QString status = sent->conversationStatus;
        const bool known = status == u"waiting" || status == u"active" ||
                           status == u"operator_active" || status == u"resolved";
        c.status = known ? conversationStatusFromWire(status) : ConversationStatus::operatorActive;
        c.lastMessagePreview = text;
        c.lastMessageAt = sent->conversationLastMessageAt;
        c.messageCount += 1;
        c.hasUnread = false;
        setConversations(list);
        decrementUnread(c.projectID);
        break;
    }
    auto local = m_localMessages;
    local[conversationID].append(sent->message);
    setMessageMaps(m_apiMessages, local);
    co_return ApiResult<void>();
}

QCoro::Task<ApiResult<void>>
AppState::sendOperatorReplyDirect(QString projectID, QString conversationID, QString text) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    auto sent = co_await m_repository->sendMessage(projectID, conversationID, text, false, cancel);
    if (!sent) {
        if (guard && !cancel.isCancelled())
            reportFailure("sendOperatorReplyDirect", sent.error());
        co_return sent.error();
    }
    if (guard && !cancel.isCancelled())
        co_await realtimeRefresh(cancel);
    co_return ApiResult<void>();
}

QCoro::Task<> AppState::resolve(QString conversationID) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    const auto projectID = projectOfListed(conversationID);
    if (!projectID)
        co_return;
    auto resolved = co_await m_repository->resolveConversation(*projectID, conversationID, cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (!resolved) {
        if (!signedOutBy(resolved.error()))
            setLoadState(LoadState::failed, resolved.error().errorDescription());
        co_return;
    }
    QList<Conversation> list = conversations();
    for (Conversation& c : list) {
        if (c.id != conversationID)
            continue;
        c.status = ConversationStatus::resolved;
        c.hasUnread = false;
        setConversations(list);
        decrementUnread(c.projectID);
        break;
    }
}

QString AppState::translationPreference() const {
    return m_deps.settings->value(kTranslationKey).toString();
}

void AppState::setTranslationPreference(const QString& raw) {
    if (translationPreference() == raw && m_deps.settings->contains(kTranslationKey))
        return;
    m_deps.settings->setValue(kTranslationKey, raw);
    emit translationPreferenceChanged();
}

QString AppState::translationTargetCode() const {
    const auto language =
        translationLanguageFromRaw(m_deps.settings->value(kTranslationKey).toString())
            .value_or(TranslationLanguage::system);
    if (const auto code = argosCode(language))
        return *code;
    const QString system = QLocale::system().name().section(u'_', 0, 0);
    return system.isEmpty() || system == u"C" ? QStringLiteral("en") : system;
}

QCoro::Task<> AppState::translateMessage(QString conversationID, QString messageID,
                                         std::optional<QString> overrideTarget) {
    QPointer guard(this);
    const Cancellation cancel = m_session;
    const QString target = overrideTarget.value_or(translationTargetCode());
    const QList<Message> all = messages(conversationID);
    const auto found =
        std::find_if(all.begin(), all.end(), [&](const Message& m) { return m.id == messageID; });
    if (found == all.end())
        co_return;
    if (!overrideTarget && found->translation)
        co_return;
    if (found->content.trimmed().isEmpty())
        co_return;
    auto translated =
        co_await m_repository->translate(found->content, target, QStringLiteral("auto"), cancel);
    if (!guard || cancel.isCancelled())
        co_return;
    if (!translated) {
        reportFailure("translateMessage", translated.error());
        co_return;
    }
    applyTranslation(conversationID, messageID, translated->translation,
                     translated->detectedSource);
}

void AppState::applyTranslation(const QString& conversationID, const QString& messageID,
                                const QString& translation, const QString& detectedLanguage) {
    auto apply = [&](QHash<QString, QList<Message>>& map) {
        auto list = map.find(conversationID);
        if (list == map.end())
            return;
        for (Message& m : *list) {
            if (m.id == messageID) {
                m.translation = translation;
                if (!detectedLanguage.isEmpty())
                    m.detectedLanguage = detectedLanguage;
                return;
            }
        }
    };
    auto api = m_apiMessages;
    auto local = m_localMessages;
    apply(api);
    apply(local);
    setMessageMaps(api, local);
}

} // namespace kv
