#include "DraftStore.h"

namespace kv {

void DraftStore::setText(const QString& conversationID, const QString& text) {
    Entry& e = m_entries[conversationID];
    if (e.text == text)
        return;
    e.text = text;
    emit changed(conversationID);
}

void DraftStore::setAppliedSuggestion(const QString& conversationID) {
    Entry& e = m_entries[conversationID];
    if (e.appliedSuggestion)
        return;
    e.appliedSuggestion = true;
    emit changed(conversationID);
}

void DraftStore::clearFailure(const QString& conversationID) {
    Entry& e = m_entries[conversationID];
    if (e.failure.isEmpty())
        return;
    e.failure.clear();
    emit changed(conversationID);
}

void DraftStore::giveBack(const QString& conversationID, const QString& text,
                          const QString& failure, bool resolve) {
    Entry& e = m_entries[conversationID];
    e.text = e.text.trimmed().isEmpty() ? text : e.text + u'\n' + text;
    e.failure = failure;
    e.failedResolve = resolve;
    emit changed(conversationID);
}

} // namespace kv
