#pragma once

// The composer's view-model: the open conversation's draft, the "/" snippet
// picker and the snippet menu, and sending — the composer empties at once,
// and a reply the service refuses comes back with the reason.

#include "DraftStore.h"
#include <QCoroTask>

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

struct Snippet;

// One snippet as the "/" picker lists it.
struct PickerRow {
    Q_GADGET
    QML_VALUE_TYPE(pickerRow)
    Q_PROPERTY(QString emoji MEMBER emoji)
    Q_PROPERTY(QString shortcut MEMBER shortcut)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString body MEMBER body)

public:
    QString emoji;
    QString shortcut;
    QString title;
    QString body;
    bool operator==(const PickerRow&) const = default;
};

class Composer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The open conversation's (the state's OpenConversation).
    Q_PROPERTY(QString conversationID READ conversationID NOTIFY conversationIDChanged)
    Q_PROPERTY(kv::DraftStore* drafts READ drafts WRITE setDrafts NOTIFY draftsChanged)
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    Q_PROPERTY(bool canSend READ canSend NOTIFY draftChanged)
    Q_PROPERTY(bool pickerVisible READ pickerVisible NOTIFY matchesChanged)
    Q_PROPERTY(QString matchCount READ matchCount NOTIFY matchesChanged)
    // The first matches, the top one first.
    Q_PROPERTY(QList<kv::PickerRow> pickerRows READ pickerRows NOTIFY matchesChanged)
    // Every snippet as the menu lists it.
    Q_PROPERTY(QStringList menuEntries READ menuEntries NOTIFY snippetsChanged)
    Q_PROPERTY(QString failure READ failure NOTIFY draftChanged)

public:
    explicit Composer(QObject* parent = nullptr);
    Composer(AppState* state, QObject* parent);

    QString conversationID() const { return m_conversationID; }
    DraftStore* drafts() const { return m_drafts; }
    void setDrafts(DraftStore* drafts);
    QString draft() const;
    void setDraft(const QString& text);
    bool canSend() const;
    bool pickerVisible() const;
    QString matchCount() const;
    QList<PickerRow> pickerRows() const;
    QStringList menuEntries() const;
    QString failure() const;

    // Sends the draft (and resolves the conversation when asked).
    Q_INVOKABLE void send(bool resolveAfter);
    // Sends a refused reply again, the way it was first sent.
    Q_INVOKABLE void sendAgain();
    // A row of the picker (0: the top match).
    Q_INVOKABLE void pick(int row);
    // An entry of the snippet menu.
    Q_INVOKABLE void insertFromMenu(int index);
    // Escape: the "/" command goes, what followed it stays.
    Q_INVOKABLE void clearCommand();

signals:
    void conversationIDChanged();
    void draftsChanged();
    void draftChanged();
    void matchesChanged();
    void snippetsChanged();

private:
    void followOpenConversation();
    QList<Snippet> matches() const;
    void insert(const Snippet& snippet);
    QCoro::Task<> sendTask(QString conversationID, QString text, bool resolveAfter);

    AppState* m_state;
    QPointer<DraftStore> m_drafts;
    QString m_conversationID;
};

} // namespace kv
