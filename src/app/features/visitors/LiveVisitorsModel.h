#pragma once

// The live visitors screen's view-model: its rows (flat for one agent,
// grouped per agent with a header each for all of them), which groups are
// open, the subtitle, and the load whenever the screen appears or the agent
// changes. The rows update in place, so a refresh that changes nothing
// makes no new row and keeps the scroll position.

#include "VisitorRules.h"
#include "service/Cancellation.h"
#include "state/AppState.h"
#include "state/RecordListModel.h"

#include <QObject>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

namespace kv {

// One row of the list. A closed group keeps one empty stand-in row, so
// that the list still shows its header.
struct VisitorListRow {
    QString key;     // the group and the visitor
    QString section; // the group's key; empty in the flat list
    bool standIn = false;
    QString visitorID;
    QString title;
    QString pageURL;
    QString journey;
    QString lastSeen; // "3m": moves on with the clock
    bool hasConversation = false;
    // The agent's logo.
    QString projectName;
    QString projectEmoji;
    QString projectLogo;
    QString projectColor;
    bool operator==(const VisitorListRow&) const = default;
};

// The header over one agent's block of visitors.
struct VisitorGroupInfo {
    Q_GADGET
    QML_VALUE_TYPE(visitorGroupInfo)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(QString accessibleName MEMBER accessibleName) // with the count and open/closed
    Q_PROPERTY(QString host MEMBER host)
    Q_PROPERTY(QString count MEMBER count)
    Q_PROPERTY(bool expanded MEMBER expanded)
    Q_PROPERTY(bool hasProject MEMBER hasProject) // false for visitors of no listed agent
    Q_PROPERTY(QString emoji MEMBER emoji)
    Q_PROPERTY(QString logoURL MEMBER logoURL)
    Q_PROPERTY(QString colorHex MEMBER colorHex)

public:
    QString name;
    QString accessibleName;
    QString host;
    QString count;
    bool expanded = false;
    bool hasProject = false;
    QString emoji;
    QString logoURL;
    QString colorHex;
    bool operator==(const VisitorGroupInfo&) const = default;
};

class LiveVisitorsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QObject* rows READ rows CONSTANT)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY changed)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY changed)
    Q_PROPERTY(QString emptySymbol READ emptySymbol NOTIFY changed)
    Q_PROPERTY(QString emptyTitle READ emptyTitle NOTIFY changed)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY changed)
    // Whether the visitors are being fetched, and "Couldn’t load visitors:
    // <reason>" while the last fetch failed (the visitors shown stay).
    Q_PROPERTY(bool loading READ loading NOTIFY loadStatusChanged)
    Q_PROPERTY(QString error READ error NOTIFY loadStatusChanged)
    Q_PROPERTY(bool grouped READ grouped NOTIFY changed)
    Q_PROPERTY(bool showsToggleAll READ showsToggleAll NOTIFY changed)
    Q_PROPERTY(bool allExpanded READ allExpanded NOTIFY changed)
    Q_PROPERTY(QString toggleAllLabel READ toggleAllLabel NOTIFY changed)
    Q_PROPERTY(QString toggleAllSymbol READ toggleAllSymbol NOTIFY changed)
    Q_PROPERTY(QString toggleAllTooltip READ toggleAllTooltip NOTIFY changed)
    // Bumped whenever a group's header may read differently.
    Q_PROPERTY(int groupsRevision READ groupsRevision NOTIFY changed)

public:
    explicit LiveVisitorsModel(QObject* parent = nullptr);
    LiveVisitorsModel(AppState* state, QObject* parent);
    ~LiveVisitorsModel() override;

    QObject* rows() const { return m_rows; }
    const QList<VisitorListRow>& rowList() const { return m_rows->items(); }
    QString subtitle() const;
    bool isEmpty() const;
    QString emptySymbol() const { return emptyState().symbol; }
    QString emptyTitle() const { return emptyState().title; }
    QString emptyText() const { return emptyState().text; }
    bool loading() const { return m_state->visitorStore().loading(); }
    QString error() const;
    bool grouped() const { return !m_state->selectedProjectID().has_value(); }
    bool showsToggleAll() const { return grouped() && !m_groupIDs.isEmpty(); }
    bool allExpanded() const { return m_expansion.allExpanded(m_groupIDs); }
    QString toggleAllLabel() const { return visitors::toggleAllButton(allExpanded()).label; }
    QString toggleAllSymbol() const { return visitors::toggleAllButton(allExpanded()).symbol; }
    QString toggleAllTooltip() const { return visitors::toggleAllButton(allExpanded()).tooltip; }
    int groupsRevision() const { return m_groupsRevision; }

    // A group header by its section key; all empty for a key not listed.
    Q_INVOKABLE kv::VisitorGroupInfo group(const QString& section) const;
    Q_INVOKABLE void toggle(const QString& section);
    Q_INVOKABLE void toggleAll();
    // The screen appeared: no visitor selected, and the list loads again.
    Q_INVOKABLE void appear();
    Q_INVOKABLE void select(const QString& visitorID);
    Q_INVOKABLE void retry() { reload(); }

signals:
    void changed();
    void loadStatusChanged();

private:
    struct Group {
        QString id;
        std::optional<Project> project;
        qsizetype count = 0;
    };
    static QString sectionKey(const QString& groupID) { return QStringLiteral("g:") + groupID; }
    // The visitors the list shows: the selected agent's, or everyone's.
    QList<Visitor> listed() const;
    EmptyState emptyState() const;
    void rebuild();
    void reload();

    AppState* m_state;
    RecordListModel<VisitorListRow>* m_rows;
    visitors::GroupExpansion m_expansion;
    QStringList m_groupIDs;
    QHash<QString, Group> m_groups; // by section key
    int m_groupsRevision = 0;
    std::optional<Cancellation> m_load;
    QTimer m_clock; // "3m ago" moves on
};

} // namespace kv
