#include "EngineNetwork.h"

#include "LinkPolicy.h"
#include "Log.h"
#include "state/AppState.h"

#include <QMutexLocker>
#include <QNetworkReply>
#include <QQmlEngine>

namespace kv {

namespace {

// The answer to a request the policy refuses: an error, delivered as a
// network error would be, without anything leaving the machine.
class RefusedReply final : public QNetworkReply {
public:
    RefusedReply(const QNetworkRequest& request, QNetworkAccessManager::Operation op,
                 QObject* parent)
        : QNetworkReply(parent) {
        setRequest(request);
        setUrl(request.url());
        setOperation(op);
        setError(ContentAccessDenied, QStringLiteral("Only agent logos are loaded"));
        setFinished(true);
        open(QIODevice::ReadOnly);
        QMetaObject::invokeMethod(
            this,
            [this] {
                emit errorOccurred(ContentAccessDenied);
                emit finished();
            },
            Qt::QueuedConnection);
    }

    void abort() override {}

protected:
    qint64 readData(char*, qint64) override { return -1; }
};

class PolicedNetworkAccessManager final : public QNetworkAccessManager {
public:
    PolicedNetworkAccessManager(std::shared_ptr<EngineFetchPolicy> policy, QObject* parent)
        : QNetworkAccessManager(parent), m_policy(std::move(policy)) {}

protected:
    QNetworkReply* createRequest(Operation op, const QNetworkRequest& request,
                                 QIODevice* outgoingData) override {
        if (m_policy->allows(op, request.url())) {
            // A logo may move within its own site, not to another host.
            QNetworkRequest followed(request);
            followed.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                  QNetworkRequest::SameOriginRedirectPolicy);
            return QNetworkAccessManager::createRequest(op, followed, outgoingData);
        }
        if (m_policy->firstRefusal(request.url()))
            qCWarning(lcAppDelegate).noquote()
                << "screens: refused to fetch" << request.url().toString(QUrl::FullyEncoded)
                << "(not an agent logo)";
        return new RefusedReply(request, op, this);
    }

private:
    std::shared_ptr<EngineFetchPolicy> m_policy;
};

} // namespace

void EngineFetchPolicy::setAllowed(QSet<QUrl> urls) {
    const QMutexLocker lock(&m_mutex);
    m_allowed = std::move(urls);
}

bool EngineFetchPolicy::allows(QNetworkAccessManager::Operation op, const QUrl& url) const {
    if (op != QNetworkAccessManager::GetOperation)
        return false;
    // The symbols are drawn from data: addresses, which never leave the process.
    if (url.scheme() == u"data")
        return true;
    if (!links::isWebPage(url))
        return false;
    const QMutexLocker lock(&m_mutex);
    return m_allowed.contains(url);
}

bool EngineFetchPolicy::firstRefusal(const QUrl& url) {
    const QMutexLocker lock(&m_mutex);
    // Bounded: a flood of addresses is not remembered without end.
    if (m_refused.size() >= 1000)
        m_refused.clear();
    if (m_refused.contains(url))
        return false;
    m_refused.insert(url);
    return true;
}

EngineNetworkFactory::EngineNetworkFactory(std::shared_ptr<EngineFetchPolicy> policy)
    : m_policy(std::move(policy)) {}

QNetworkAccessManager* EngineNetworkFactory::create(QObject* parent) {
    return new PolicedNetworkAccessManager(m_policy, parent);
}

EngineNetwork::EngineNetwork(QQmlEngine& engine, const AppState& state)
    : m_state(state), m_policy(std::make_shared<EngineFetchPolicy>()), m_factory(m_policy) {
    updateAllowed();
    connect(&state, &AppState::projectsChanged, this, &EngineNetwork::updateAllowed);
    engine.setNetworkAccessManagerFactory(&m_factory);
}

EngineNetwork::~EngineNetwork() = default;

void EngineNetwork::updateAllowed() {
    QSet<QUrl> logos;
    for (const Project& project : m_state.projects()) {
        if (project.logoURL && links::isWebPage(*project.logoURL))
            logos.insert(*project.logoURL);
    }
    m_policy->setAllowed(std::move(logos));
}

} // namespace kv
