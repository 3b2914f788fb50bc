#pragma once

// What the operator has typed, per conversation, for as long as the main
// window's console lives: text for one visitor never goes to another, and
// switching back finds the half-written reply. A reply the service refused
// comes back here with the reason.

#include <QHash>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

class DraftStore : public QObject {
    Q_OBJECT
    QML_ELEMENT

public:
    struct Entry {
        QString text;
        bool appliedSuggestion =
            false;                  // the AI's suggestion was used or dismissed, or a reply sent
        QString failure;            // "Reply not sent: …" until the next send
        bool failedResolve = false; // the refused send was to resolve too
    };

    using QObject::QObject;

    Entry entry(const QString& conversationID) const { return m_entries.value(conversationID); }
    void setText(const QString& conversationID, const QString& text);
    void setAppliedSuggestion(const QString& conversationID);
    void clearFailure(const QString& conversationID);
    // The refused text returns: into an empty draft, or below what was typed meanwhile.
    void giveBack(const QString& conversationID, const QString& text, const QString& failure,
                  bool resolve);

signals:
    void changed(const QString& conversationID);

private:
    QHash<QString, Entry> m_entries;
};

} // namespace kv
