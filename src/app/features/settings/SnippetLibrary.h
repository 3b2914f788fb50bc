#pragma once

// The Snippets tab's view-model: the agent whose snippets are listed, the
// list as the state's snippet store holds it (the same cache the composer's
// picker reads, fetched afresh each time the tab appears), deleting, and the
// editor for a new or an existing snippet. A failed load says why over the
// list (or in its place) with a way to try again; a failed save keeps the
// editor open with what was typed and says why; a failed delete is one of
// the app's notices.

#include "SnippetRules.h"
#include "state/RecordRoles.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

// The editor: its fields, whether it may save, and what the last save said.
class SnippetForm : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(bool open READ isOpen NOTIFY openChanged)
    Q_PROPERTY(bool editing READ editing NOTIFY openChanged)
    Q_PROPERTY(QString heading READ heading NOTIFY openChanged)
    Q_PROPERTY(QString saveLabel READ saveLabel NOTIFY openChanged)
    Q_PROPERTY(QString shortcut MEMBER m_shortcut NOTIFY fieldsChanged)
    Q_PROPERTY(QString title MEMBER m_title NOTIFY fieldsChanged)
    Q_PROPERTY(QString body MEMBER m_body NOTIFY fieldsChanged)
    Q_PROPERTY(QString emoji MEMBER m_emoji NOTIFY fieldsChanged)
    Q_PROPERTY(bool canSave READ canSave NOTIFY fieldsChanged)
    Q_PROPERTY(bool saving READ saving NOTIFY stateChanged)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged)

public:
    using QObject::QObject;

    bool isOpen() const { return m_open; }
    bool editing() const { return m_snippetID.has_value(); }
    QString heading() const;
    QString saveLabel() const;
    bool canSave() const { return !m_saving && snippets::canSave(m_body); }
    bool saving() const { return m_saving; }
    QString error() const { return m_error; }
    std::optional<QString> snippetID() const { return m_snippetID; }
    snippets::Fields typed() const { return {m_shortcut, m_title, m_body, m_emoji}; }

    // Opens empty for a new snippet, or with `snippet`'s fields.
    void start(const std::optional<Snippet>& snippet);
    Q_INVOKABLE void cancel();
    Q_INVOKABLE void save() { emit saveRequested(); }
    // Set by the library around a save.
    void setSaving(bool saving);
    void fail(const QString& reason);
    void close();

signals:
    void openChanged();
    void fieldsChanged();
    void stateChanged();
    void saveRequested();

private:
    bool m_open = false;
    std::optional<QString> m_snippetID;
    QString m_shortcut;
    QString m_title;
    QString m_body;
    QString m_emoji = snippets::kDefaultEmoji;
    bool m_saving = false;
    QString m_error;
};

class SnippetLibrary : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // Every agent as the picker names it, "🤖 Name", in the agents' order;
    // `agentIndex` is the chosen one's place among them.
    Q_PROPERTY(QStringList projectLabels READ projectLabels NOTIFY projectsChanged)
    Q_PROPERTY(bool hasProjects READ hasProjects NOTIFY projectsChanged)
    Q_PROPERTY(QString projectID READ projectID WRITE setProjectID NOTIFY projectIDChanged)
    Q_PROPERTY(int projectIndex READ projectIndex WRITE setProjectIndex NOTIFY projectIDChanged)
    Q_PROPERTY(QObject* items READ items CONSTANT)
    Q_PROPERTY(bool loading READ loading NOTIFY loadStatusChanged)
    // "Couldn’t load snippets: <reason>" while the last load of this agent's failed.
    Q_PROPERTY(QString error READ error NOTIFY loadStatusChanged)
    Q_PROPERTY(QObject* editor READ editor CONSTANT)

public:
    explicit SnippetLibrary(QObject* parent = nullptr);
    SnippetLibrary(AppState* state, QObject* parent);
    ~SnippetLibrary() override;

    QStringList projectLabels() const;
    bool hasProjects() const;
    QString projectID() const { return m_projectID; }
    void setProjectID(const QString& id);
    int projectIndex() const;
    void setProjectIndex(int index);
    SnippetListModel* items() const { return m_items; }
    bool loading() const;
    QString error() const;
    SnippetForm* editor() const { return m_editor; }

    // Each time the tab is shown: an agent chosen (the one in the sidebar, else the first).
    Q_INVOKABLE void appear();
    Q_INVOKABLE void retry() { reload(); }
    void reload();
    Q_INVOKABLE void remove(const QString& snippetID);
    Q_INVOKABLE void startNew();
    Q_INVOKABLE void startEditing(const QString& snippetID);
    // "(untitled)" for an empty title.
    Q_INVOKABLE static QString listTitle(const QString& title) {
        return snippets::listTitle(title);
    }

signals:
    void projectsChanged();
    void projectIDChanged();
    void loadStatusChanged();

private:
    void save();
    void show();

    AppState* m_state;
    QString m_projectID;
    SnippetListModel* m_items;
    SnippetForm* m_editor;
};

} // namespace kv
