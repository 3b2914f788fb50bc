#include "ThreadController.h"

#include "AppStateForeign.h"
#include "DraftStore.h"
#include "LinkPolicy.h"
#include "MessageRows.h"
#include "PeopleText.h"
#include "ReversedRows.h"
#include "TranslationMenu.h"
#include "UiTexts.h"
#include "service/PathSegment.h"
#include "state/AppState.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>

namespace kv {

ThreadController::ThreadController(QObject* parent)
    : ThreadController(AppStateForeign::instance(), parent) {}

ThreadController::ThreadController(AppState* state, QObject* parent)
    : QObject(parent), m_state(state), m_messages(new MessageRows(state, this)),
      m_newestFirst(new ReversedRows(this)) {
    m_newestFirst->setSourceModel(m_messages);
    OpenConversation* open = m_state->openConversation();
    connect(open, &OpenConversation::idChanged, this, &ThreadController::followOpenConversation);
    connect(open, &OpenConversation::conversationChanged, this, &ThreadController::refresh);
    connect(open, &OpenConversation::statusChanged, this, &ThreadController::loadStatusChanged);
    connect(m_state, &AppState::projectsChanged, this, &ThreadController::conversationChanged);
    connect(m_state, &AppState::contextPanelVisibleChanged, this,
            &ThreadController::contextPanelVisibleChanged);
    // "Default (…)" names the target chosen in the settings, wherever it was chosen.
    connect(m_state, &AppState::translationPreferenceChanged, this,
            &ThreadController::translationEntriesChanged);
    followOpenConversation();
}

void ThreadController::followOpenConversation() {
    const QString id = m_state->openConversation()->idText();
    if (m_conversationID == id)
        return;
    m_conversationID = id;
    m_didTakeOver = false; // a new conversation starts with the AI, unless taken over again
    m_messages->reset();
    emit conversationIDChanged();
    emit loadStatusChanged();
    refresh();
    emit suggestionChanged();
}

void ThreadController::retry() {
    m_state->openConversation()->retry();
}

bool ThreadController::loading() const {
    return m_state->openConversation()->loading();
}

QString ThreadController::error() const {
    const QString reason = m_state->openConversation()->error();
    return reason.isEmpty() ? QString() : UiTexts::messagesNotLoaded(reason);
}

void ThreadController::setDrafts(DraftStore* drafts) {
    if (m_drafts == drafts)
        return;
    if (m_drafts)
        disconnect(m_drafts, nullptr, this, nullptr);
    m_drafts = drafts;
    if (m_drafts) {
        connect(m_drafts, &DraftStore::changed, this, [this](const QString& id) {
            if (id == m_conversationID)
                emit suggestionChanged();
        });
    }
    emit draftsChanged();
    emit suggestionChanged();
}

void ThreadController::refresh() {
    const std::optional<Conversation>& found = m_state->openConversation()->conversation();
    if (found == m_conversation)
        return;
    const Region regionBefore = bottomRegion();
    m_conversation = found;
    emit conversationChanged();
    emit suggestionChanged();
    if (bottomRegion() != regionBefore)
        emit bottomRegionChanged();
}

QString ThreadController::visitorName() const {
    return m_conversation ? people::visitorName(m_conversation->visitorName) : QString();
}

QString ThreadController::initials() const {
    return m_conversation ? people::visitorInitials(m_conversation->visitorName) : QString();
}

QString ThreadController::country() const {
    return m_conversation ? m_conversation->visitorCountry.value_or(QString()) : QString();
}

ConversationStatus ThreadController::status() const {
    return m_conversation ? m_conversation->status : ConversationStatus::active;
}

QString ThreadController::statusText() const {
    return UiTexts::statusText(int(status()));
}

bool ThreadController::resolved() const {
    return m_conversation && m_conversation->status == ConversationStatus::resolved;
}

QString ThreadController::subtitle() const {
    if (!m_conversation)
        return QString();
    const auto project = m_state->project(m_conversation->projectID);
    if (!project)
        return QStringLiteral("Web visitor");
    return project->name + QStringLiteral(" · ") +
           QString(project->websiteURL).remove(QStringLiteral("https://"));
}

bool ThreadController::suggestionVisible() const {
    if (!m_conversation || !m_conversation->aiSuggestedReply ||
        m_conversation->status != ConversationStatus::waiting)
        return false;
    return !(m_drafts && m_drafts->entry(m_conversationID).appliedSuggestion);
}

QString ThreadController::suggestion() const {
    return m_conversation ? m_conversation->aiSuggestedReply.value_or(QString()) : QString();
}

ThreadController::Region ThreadController::bottomRegion() const {
    if (!m_conversation)
        return ComposerRegion;
    switch (m_conversation->status) {
    case ConversationStatus::waiting:
    case ConversationStatus::operatorActive:
        return ComposerRegion;
    case ConversationStatus::active:
        return m_didTakeOver ? ComposerRegion : TakeOverRegion;
    case ConversationStatus::resolved:
        break;
    }
    return ResolvedRegion;
}

bool ThreadController::contextPanelVisible() const {
    return m_state->contextPanelVisible();
}

QObject* ThreadController::messages() const {
    return m_newestFirst;
}

QStringList ThreadController::translationEntries() const {
    const QString stored = m_state->translationPreference();
    QStringList labels;
    for (const auto& entry : translation::menuEntries(stored))
        labels.append(entry.label);
    return labels;
}

void ThreadController::resolve() {
    if (m_conversation && !resolved())
        m_state->resolve(m_conversationID);
}

void ThreadController::openInBrowser() {
    if (!m_conversation)
        return;
    const auto project = pathSegment(m_conversation->projectID);
    const auto chat = pathSegment(m_conversation->id);
    if (project && chat)
        m_state->openWebPage(QStringLiteral("/projects/") + *project + QStringLiteral("/chat/") +
                             *chat);
}

void ThreadController::takeOver() {
    if (m_didTakeOver)
        return;
    const Region before = bottomRegion();
    m_didTakeOver = true;
    if (bottomRegion() != before)
        emit bottomRegionChanged();
}

void ThreadController::useSuggestion() {
    if (!m_drafts || !m_conversation || !m_conversation->aiSuggestedReply)
        return;
    m_drafts->setText(m_conversationID, *m_conversation->aiSuggestedReply);
    m_drafts->setAppliedSuggestion(m_conversationID);
}

void ThreadController::dismissSuggestion() {
    if (m_drafts)
        m_drafts->setAppliedSuggestion(m_conversationID);
}

void ThreadController::toggleContextPanel() {
    m_state->setContextPanelVisible(!m_state->contextPanelVisible());
}

bool ThreadController::openLink(const QString& link) {
    const QUrl url(link);
    if (!links::isSafeMessageLink(url))
        return false;
    m_state->openInBrowser(url);
    return true;
}

void ThreadController::copyMessage(const QString& messageID) {
    const QString text = m_messages->wholeText(messageID);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void ThreadController::toggleTranslation(const QString& messageID) {
    m_messages->toggleTranslation(messageID);
}

void ThreadController::translate(const QString& messageID, int entry) {
    const QString stored = m_state->translationPreference();
    const auto entries = translation::menuEntries(stored);
    if (entry < 0 || entry >= entries.size())
        return;
    translateTask(m_conversationID, messageID, entries[entry].code);
}

void ThreadController::translateFromKeyboard(const QString& messageID) {
    const int row = m_messages->rowOf(messageID);
    if (row < 0)
        return;
    const QModelIndex at = m_messages->index(row, 0);
    if (at.data(MessageRows::TranslatingRole).toBool())
        return;
    if (at.data(MessageRows::HasTranslationRole).toBool())
        toggleTranslation(messageID);
    else if (at.data(MessageRows::TranslatableRole).toBool())
        translate(messageID, 0);
}

QCoro::Task<> ThreadController::translateTask(QString conversationID, QString messageID,
                                              std::optional<QString> target) {
    QPointer self(this);
    m_messages->setTranslating(messageID, true);
    co_await m_state->translateMessage(conversationID, messageID, target);
    if (!self)
        co_return;
    m_messages->setTranslating(messageID, false);
    if (conversationID == m_conversationID)
        m_messages->showTranslation(messageID);
}

} // namespace kv
