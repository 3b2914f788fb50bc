#pragma once

// Statistics as the stats screen asks for them, kept by key ("all:30",
// "p1:7") for as long as the session lasts.
//
// Ordering rule: one answer per key. A load of a key already held sends
// nothing; a failed load records why under its key; a load the screen
// cancels (it moved on) records no failure. At sign-out everything is
// cleared and every load still on its way is dropped: one account's figures
// never reach the next.

#include "StoreContext.h"
#include "records/Records.h"

#include <QHash>
#include <QObject>

namespace kv {

class StatsCache : public QObject {
    Q_OBJECT

public:
    explicit StatsCache(StoreContext context, QObject* parent = nullptr);

    static QString key(const std::optional<QString>& projectID, qint64 days);

    // `screen` ends the request when the screen moves on; signing out does too.
    QCoro::Task<> load(std::optional<QString> projectID, qint64 days, Cancellation screen = {});
    // Forgets the key's failure and loads it again.
    QCoro::Task<> retry(std::optional<QString> projectID, qint64 days);
    std::optional<ProjectStats> cached(const std::optional<QString>& projectID, qint64 days) const;
    std::optional<QString> error(const QString& key) const;
    bool isLoading(const QString& key) const { return m_loading.contains(key); }
    void clear();

signals:
    void changed();

private:
    StoreContext m_context;
    QHash<QString, ProjectStats> m_cache;
    QHash<QString, QString> m_errors;
    QSet<QString> m_loading;
    quint64 m_generation = 0; // bumped by clear(): answers of an earlier one are dropped
};

} // namespace kv
