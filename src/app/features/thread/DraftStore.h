#pragma once

// What the operator has typed, per conversation, for the whole console (one
// instance, `Drafts` in QML): text for one visitor never goes to another, and
// switching back — to another section, or after a restart or a crash — finds
// the half-written reply. A reply the service refused comes back here with
// the reason.
//
// With an account signed in and a folder to keep them in, the account's
// drafts are written to one file of their own (mode 0600, replaced
// atomically) shortly after the last change. A reply handed to the service
// stays in that file until the service confirms it, so a crash in between
// brings it back as a draft marked unconfirmed. An entry goes when the
// conversation is seen resolved; the whole file goes when the operator signs
// out. When the session merely expires the file stays for the next sign-in.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

namespace kv {

class AppState;

class DraftStore : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Drafts)
    QML_SINGLETON

public:
    struct Entry {
        QString text;
        bool appliedSuggestion =
            false;                  // the AI's suggestion was used or dismissed, or a reply sent
        QString failure;            // "Reply not sent: …" until the next send
        bool failedResolve = false; // the refused send was to resolve too
        QStringList sending;        // handed to the service, not confirmed yet
        bool operator==(const Entry&) const = default;
    };

    // Follows the state's account, and keeps its drafts in `directory`; in
    // memory only without a state or a folder. (No default constructor: QML
    // would build its own instead of asking `create`.)
    DraftStore(AppState* state, QString directory, QObject* parent = nullptr);
    ~DraftStore() override;

    // The console's one store: the shell's, or a memory-only one for the
    // state in screens loaded without a shell.
    static void setInstance(DraftStore* drafts);
    static DraftStore* create(QQmlEngine* engine, QJSEngine* js);

    Entry entry(const QString& conversationID) const { return m_entries.value(conversationID); }
    void setText(const QString& conversationID, const QString& text);
    void setAppliedSuggestion(const QString& conversationID);
    void clearFailure(const QString& conversationID);
    // The composer hands `text` to the service: the draft empties, the text is kept
    // (on disk at once) until `confirmSent` or `giveBack`.
    void beginSend(const QString& conversationID, const QString& text);
    void confirmSent(const QString& conversationID, const QString& text);
    // The refused text returns: into an empty draft, or below what was typed meanwhile.
    void giveBack(const QString& conversationID, const QString& text, const QString& failure,
                  bool resolve);

    // The account's file, empty while nobody is signed in or without a folder.
    QString filePath() const;
    // Writes what is pending now (on quit; tests).
    void flush();

signals:
    void changed(const QString& conversationID);

private:
    void followAccount();
    void forgetAccount(bool deleteFile);
    void dropResolved();
    void load();
    void touch(const QString& conversationID, bool saveNow = false);
    Entry& at(const QString& conversationID) { return m_entries[conversationID]; }

    QPointer<AppState> m_state;
    QString m_directory;
    QString m_account; // the signed-in user's id; empty: nothing is kept on disk
    QHash<QString, Entry> m_entries;
    QTimer m_saveTimer;
};

} // namespace kv
