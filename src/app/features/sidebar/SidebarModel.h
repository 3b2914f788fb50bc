#pragma once

// The sidebar's view state (the search text and the open client groups) and
// everything it shows, kept current with the state: the agent rows, the
// section badges and the signed-in user.

#include "SidebarRules.h"
#include "state/RecordListModel.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

class SidebarModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    Q_PROPERTY(QObject* rows READ rows CONSTANT)
    // Badge counts are QML ints (QML has no 64-bit integer), held at the largest int.
    Q_PROPERTY(int totalUnread READ totalUnread NOTIFY badgesChanged)
    Q_PROPERTY(int inboxBadge READ inboxBadge NOTIFY badgesChanged)
    Q_PROPERTY(int liveVisitorsBadge READ liveVisitorsBadge NOTIFY badgesChanged)
    Q_PROPERTY(QString userInitials READ userInitials NOTIFY userChanged)
    Q_PROPERTY(QString userName READ userName NOTIFY userChanged)

public:
    // Row kinds as QML sees them.
    enum RowKind { AllProjects, GroupHeader, ClientHeader, ProjectEntry };
    Q_ENUM(RowKind)

    explicit SidebarModel(QObject* parent = nullptr);
    // For tests: a model over a state of their own.
    SidebarModel(AppState* state, QObject* parent);

    QString search() const { return m_search; }
    void setSearch(const QString& search);
    QObject* rows() const { return m_rows; }
    int totalUnread() const;
    int inboxBadge() const;
    int liveVisitorsBadge() const;
    QString userInitials() const;
    QString userName() const;

    // Opens a closed client group, closes an open one.
    Q_INVOKABLE void toggleClient(const QString& clientID);
    // An agent, or all agents for the empty identifier.
    Q_INVOKABLE void selectProject(const QString& projectID);

    const QList<sidebar::Row>& rowList() const { return m_rows->items(); }

signals:
    void searchChanged();
    void badgesChanged();
    void userChanged();

private:
    void rebuild();

    AppState* m_state;
    QString m_search;
    QSet<QString> m_expandedClients;
    RecordListModel<sidebar::Row>* m_rows;
};

} // namespace kv
