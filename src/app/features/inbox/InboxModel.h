#pragma once

// The inbox screen's view-model: the status filter, the conversations of
// the selected scope in visible order as a list that updates in place, the
// texts above and in place of the list, and the load whenever the screen
// appears or the agent changes.

#include "InboxRules.h"

#include <QObject>
#include <QSortFilterProxyModel>
#include <QStringMatcher>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

// The state's conversations, newest first (ties keep the service's order),
// narrowed to a filter and a search, with the texts a row shows. A new
// search narrows in place: the rows keep their order, the selection stays.
class InboxRows : public QSortFilterProxyModel {
    Q_OBJECT

public:
    enum Role {
        InitialsRole = Qt::UserRole + 1000,
        DisplayNameRole,
        RelativeTimeRole,
        StatusTextRole,
        ProjectLineRole,
        ConversationIDRole, // the identifier under a name QML can use ("id" is its own)
    };

    InboxRows(AppState* state, QObject* parent);
    void setFilter(inbox::Filter filter);
    inbox::Filter filter() const { return m_filter; }
    void setSearch(const QString& search);
    QString search() const { return m_search; }
    // How many conversations the filter and the search let through.
    qsizetype shownCount() const;
    // Relative times moved on: every row's time text may have changed.
    void refreshTimes();

    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    AppState* m_state;
    inbox::Filter m_filter = inbox::Filter::all;
    QString m_search;
    QString m_foldedSearch;
    QStringMatcher m_matcher; // the folded search, prepared once per keystroke
    // Each source row's search text, made on first use and dropped whenever
    // the source changes: a keystroke only compares.
    mutable QList<QString> m_searchText;
};

class InboxModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(QStringList filterLabels READ filterLabels CONSTANT)
    // "Search conversations": narrows the list together with the filter.
    Q_PROPERTY(QString search READ search WRITE setSearch NOTIFY searchChanged)
    Q_PROPERTY(QObject* rows READ rows CONSTANT)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY textsChanged)
    Q_PROPERTY(bool showsEmptyState READ showsEmptyState NOTIFY textsChanged)
    Q_PROPERTY(QString emptySymbol READ emptySymbol NOTIFY textsChanged)
    Q_PROPERTY(QString emptyTitle READ emptyTitle NOTIFY textsChanged)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY textsChanged)
    // Whether the list is being fetched, and why its last fetch failed
    // ("Couldn’t load conversations: <reason>"; empty when it did not). With
    // no rows the empty state says why instead.
    Q_PROPERTY(bool loading READ loading NOTIFY loadStatusChanged)
    Q_PROPERTY(QString error READ error NOTIFY loadStatusChanged)
    // The conversation the thread pane shows: the selected one while it is
    // listed (whatever the filter), else none.
    Q_PROPERTY(QString openConversationID READ openConversationID NOTIFY openConversationChanged)
    Q_PROPERTY(QString pickSymbol READ pickSymbol CONSTANT)
    Q_PROPERTY(QString pickTitle READ pickTitle CONSTANT)
    Q_PROPERTY(QString pickText READ pickText CONSTANT)

public:
    explicit InboxModel(QObject* parent = nullptr);
    InboxModel(AppState* state, QObject* parent);

    int filter() const { return int(m_rows->filter()); }
    void setFilter(int filter);
    QStringList filterLabels() const;
    QString search() const { return m_rows->search(); }
    void setSearch(const QString& search);
    QObject* rows() const { return m_rows; }
    QString subtitle() const;
    bool showsEmptyState() const { return m_empty.has_value(); }
    QString emptySymbol() const { return m_empty ? m_empty->symbol : QString(); }
    QString emptyTitle() const { return m_empty ? m_empty->title : QString(); }
    QString emptyText() const { return m_empty ? m_empty->text : QString(); }
    bool loading() const;
    QString error() const;
    QString openConversationID() const { return m_open; }
    QString pickSymbol() const { return inbox::noConversationPicked().symbol; }
    QString pickTitle() const { return inbox::noConversationPicked().title; }
    QString pickText() const { return inbox::noConversationPicked().text; }

    // Selects a conversation (a click on its row).
    Q_INVOKABLE void select(const QString& conversationID);
    // Moves the selection up or down the visible list (the arrow keys).
    Q_INVOKABLE void selectNext(int step);
    // Loads the selected scope's list (the screen appeared or the agent changed).
    Q_INVOKABLE void load();
    Q_INVOKABLE void retry() { load(); }

signals:
    void filterChanged();
    void searchChanged();
    void textsChanged();
    void openConversationChanged();
    void loadStatusChanged();

private:
    void update();

    AppState* m_state;
    InboxRows* m_rows;
    std::optional<inbox::EmptyState> m_empty;
    QString m_open;
    QTimer m_clock;
};

} // namespace kv
