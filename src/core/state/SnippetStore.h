#pragma once

// Canned replies by agent, as the composer's picker and the settings'
// snippets tab show them: one cache, so a change made in the settings is
// fetched once and reaches both.
//
// Ordering rule: per agent, one fetch at a time; a load asked for while one
// runs waits for it (its answer serves both). A change (create, edit,
// delete) reloads its agent's list, once, when the service has confirmed it
// and the list is held. At sign-out
// everything is cleared and every load on its way is dropped.

#include "StoreContext.h"
#include "records/Records.h"
#include "service/WaitList.h"

#include <QHash>
#include <QObject>

namespace kv {

class SnippetStore : public QObject {
    Q_OBJECT

public:
    explicit SnippetStore(StoreContext context, QObject* parent = nullptr);

    // Fetches an agent's snippets (again), or waits for the fetch under way;
    // `newerThanUnderWay`: that fetch is too old, fetch once it is over.
    QCoro::Task<> load(QString projectID, bool newerThanUnderWay = false);
    // Fetches them unless they are held or on their way.
    QCoro::Task<> ensure(QString projectID);

    QList<Snippet> snippets(const QString& projectID) const { return m_lists.value(projectID); }
    bool holds(const QString& projectID) const { return m_lists.contains(projectID); }
    bool isLoading(const QString& projectID) const { return m_loading.contains(projectID); }
    // Why an agent's snippets could not be fetched; empty once they were.
    QString error(const QString& projectID) const { return m_errors.value(projectID); }

    // Each says whether the service made the change, and why not.
    QCoro::Task<ApiResult<void>> create(QString projectID, QString shortcut, QString title,
                                        QString body, QString emoji);
    QCoro::Task<ApiResult<void>> edit(QString projectID, QString snippetID, QString shortcut,
                                      QString title, QString body, QString emoji);
    QCoro::Task<ApiResult<void>> remove(QString projectID, QString snippetID);

    void clear();

signals:
    // An agent's list, loading state or error changed.
    void changed(const QString& projectID);

private:
    QCoro::Task<ApiResult<void>> afterChange(QString projectID, ApiResult<void> outcome,
                                             const char* operation);

    StoreContext m_context;
    QHash<QString, QList<Snippet>> m_lists;
    QHash<QString, QString> m_errors;
    QHash<QString, LoadSequence> m_sequences;
    QSet<QString> m_loading;
    WaitList m_loadFinished; // requests waiting for a fetch under way
};

} // namespace kv
