#include "Composer.h"

#include "AppStateForeign.h"
#include "DraftStore.h"
#include "SnippetRules.h"
#include "UiTexts.h"
#include "state/AppState.h"

namespace kv {

Composer::Composer(QObject* parent) : Composer(AppStateForeign::instance(), parent) {}

Composer::Composer(AppState* state, QObject* parent) : QObject(parent), m_state(state) {
    connect(m_state, &AppState::snippetsChanged, this, &Composer::snippetsChanged);
    connect(m_state, &AppState::snippetsChanged, this, &Composer::matchesChanged);
    connect(m_state->openConversation(), &OpenConversation::idChanged, this,
            &Composer::followOpenConversation);
    followOpenConversation();
}

void Composer::followOpenConversation() {
    const QString id = m_state->openConversation()->idText();
    if (m_conversationID == id)
        return;
    m_conversationID = id;
    emit conversationIDChanged();
    emit draftChanged();
    emit matchesChanged();
}

void Composer::setDrafts(DraftStore* drafts) {
    if (m_drafts == drafts)
        return;
    if (m_drafts)
        disconnect(m_drafts, nullptr, this, nullptr);
    m_drafts = drafts;
    if (m_drafts) {
        connect(m_drafts, &DraftStore::changed, this, [this](const QString& id) {
            if (id != m_conversationID)
                return;
            emit draftChanged();
            emit matchesChanged();
        });
    }
    emit draftsChanged();
    emit draftChanged();
    emit matchesChanged();
}

QString Composer::draft() const {
    return m_drafts ? m_drafts->entry(m_conversationID).text : QString();
}

void Composer::setDraft(const QString& text) {
    if (m_drafts && !m_conversationID.isEmpty())
        m_drafts->setText(m_conversationID, text);
}

bool Composer::canSend() const {
    return !snippets::sendable(draft()).isEmpty();
}

QList<Snippet> Composer::matches() const {
    return snippets::matching(draft(), m_state->snippets());
}

bool Composer::pickerVisible() const {
    return !matches().isEmpty();
}

QString Composer::matchCount() const {
    return snippets::matchCount(matches().size());
}

QList<PickerRow> Composer::pickerRows() const {
    QList<PickerRow> rows;
    const QList<Snippet> found = matches();
    for (qsizetype i = 0; i < found.size() && i < snippets::kPickerRows; ++i)
        rows.append({found[i].emoji, found[i].shortcut, found[i].title, found[i].body});
    return rows;
}

QStringList Composer::menuEntries() const {
    QStringList entries;
    for (const Snippet& s : m_state->snippets())
        entries.append(snippets::menuEntry(s));
    return entries;
}

QString Composer::failure() const {
    return m_drafts ? m_drafts->entry(m_conversationID).failure : QString();
}

void Composer::insert(const Snippet& snippet) {
    setDraft(snippets::insert(draft(), snippet));
}

void Composer::pick(int row) {
    const QList<Snippet> found = matches();
    if (row >= 0 && row < found.size() && row < snippets::kPickerRows)
        insert(found[row]);
}

void Composer::insertFromMenu(int index) {
    const auto& all = m_state->snippets();
    if (index >= 0 && index < all.size())
        insert(all[index]);
}

void Composer::clearCommand() {
    if (pickerVisible())
        setDraft(snippets::withoutCommand(draft()));
}

void Composer::send(bool resolveAfter) {
    const QString text = snippets::sendable(draft());
    if (text.isEmpty() || !m_drafts || m_conversationID.isEmpty())
        return;
    // Empty at once; the text comes back if the service refuses it.
    m_drafts->beginSend(m_conversationID, text);
    sendTask(m_conversationID, text, resolveAfter);
}

void Composer::sendAgain() {
    if (m_drafts)
        send(m_drafts->entry(m_conversationID).failedResolve);
}

QCoro::Task<> Composer::sendTask(QString conversationID, QString text, bool resolveAfter) {
    QPointer<DraftStore> drafts = m_drafts;
    const ApiResult<void> outcome =
        co_await m_state->sendOperatorReply(text, conversationID, resolveAfter);
    // The drafts outlive this composer (another conversation may be open by now).
    if (!drafts)
        co_return;
    if (outcome.ok())
        drafts->confirmSent(conversationID, text);
    else
        drafts->giveBack(conversationID, text,
                         UiTexts::replyNotSent(outcome.error().errorDescription()), resolveAfter);
}

} // namespace kv
