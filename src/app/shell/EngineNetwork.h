#pragma once

// The screens' network access: the QML engine fetches the agents' logos the
// service named, with a GET over http or https, and nothing else (the
// symbols' data: addresses stay inside the process). Text from
// outside that reached the screen as markup (an <img> in a visitor's name)
// or a logo address pointing elsewhere can then neither tell anyone that an
// operator looked nor make the operator's machine call a device on its
// network. Every other request is refused, and logged once per address.

#include <QMutex>
#include <QNetworkAccessManager>
#include <QQmlNetworkAccessManagerFactory>
#include <QSet>
#include <QUrl>

#include <memory>

class QQmlEngine;

namespace kv {

class AppState;

// What the engine may fetch. Read from the engine's loader threads, hence the lock.
class EngineFetchPolicy {
public:
    void setAllowed(QSet<QUrl> urls);
    bool allows(QNetworkAccessManager::Operation op, const QUrl& url) const;
    // True the first time an address is refused: it is logged once.
    bool firstRefusal(const QUrl& url);

private:
    mutable QMutex m_mutex;
    QSet<QUrl> m_allowed;
    QSet<QUrl> m_refused;
};

class EngineNetworkFactory final : public QQmlNetworkAccessManagerFactory {
public:
    explicit EngineNetworkFactory(std::shared_ptr<EngineFetchPolicy> policy);
    QNetworkAccessManager* create(QObject* parent) override;

private:
    std::shared_ptr<EngineFetchPolicy> m_policy;
};

// Gives `engine` that network access, allowing the logos of `state`'s agents
// as they change. Must outlive the engine (the engine does not own it).
class EngineNetwork : public QObject {
    Q_OBJECT

public:
    EngineNetwork(QQmlEngine& engine, const AppState& state);
    ~EngineNetwork() override;

    const EngineFetchPolicy& policy() const { return *m_policy; }

private:
    void updateAllowed();

    const AppState& m_state;
    std::shared_ptr<EngineFetchPolicy> m_policy;
    EngineNetworkFactory m_factory;
};

} // namespace kv
