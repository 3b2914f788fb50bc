#pragma once

// The quick switcher (Ctrl+K, "Go to"): one field and one list of results
// grouped by kind — agents, conversations in the loaded lists, live visitors,
// the sections and settings tabs, and actions. The candidates are gathered
// and folded when the switcher opens (and again when the state's lists
// change while it is open); each keystroke only matches them. The results
// replace the rows at once: a newer query always wins.

#include "SwitcherRules.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

class SwitcherModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
    // "No results for 'x'" when a query finds nothing; empty otherwise.
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY countChanged)

public:
    enum Role {
        KindRole = Qt::UserRole + 1,
        KindTextRole,
        TitleRole,
        DetailRole,
        TitleSegmentsRole,  // [{text, marked}]
        DetailSegmentsRole, // [{text, marked}]
        AccessibleNameRole, // "Conversation: José Álvarez, Where is my order?"
        SymbolRole,
    };

    explicit SwitcherModel(QObject* parent = nullptr);
    SwitcherModel(AppState* state, QObject* parent);

    QString query() const { return m_query; }
    void setQuery(const QString& query);
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    QString emptyText() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The switcher opened: gather afresh, empty query.
    Q_INVOKABLE void reset();
    Q_INVOKABLE void moveCurrent(int step);
    // Opens or does what the row stands for. Returns the name of a shortcut
    // action the window carries out (take over, resolve, …), else empty.
    Q_INVOKABLE QString activate(int row);

    const QList<switcher::Candidate>& candidates() const { return m_candidates; }

signals:
    void queryChanged();
    void currentIndexChanged();
    void countChanged();

private:
    void gather();
    void run();

    AppState* m_state;
    QString m_query;
    QList<switcher::Candidate> m_candidates;
    QList<switcher::Result> m_results;
    // Each query typed since the candidates were gathered, with the
    // candidates it matched: the next letter only tries those.
    QList<std::pair<QString, QList<int>>> m_narrowing;
    int m_current = -1;
    bool m_stale = true;
};

} // namespace kv
