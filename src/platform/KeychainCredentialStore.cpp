#include "KeychainCredentialStore.h"

#include "records/Utf8.h"

#include <QCoroSignal>
#include <qt6keychain/keychain.h>

namespace kv {

namespace {

template <typename Job>
Job* newJob() {
    auto* job = new Job(QString::fromLatin1(CredentialStore::kService));
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(QString::fromLatin1(CredentialStore::kAccount));
    return job;
}

// Starts the job and waits for it; the job deletes itself after `finished`.
template <typename Job>
QCoro::Task<std::pair<QKeychain::Error, QString>> run(Job* job) {
    QKeychain::Error error = QKeychain::NoError;
    QString message;
    QObject::connect(job, &QKeychain::Job::finished, job, [&, job](QKeychain::Job*) {
        error = job->error();
        message = job->errorString();
    });
    job->start();
    co_await qCoro(job, &QKeychain::Job::finished);
    co_return std::pair{error, message};
}

} // namespace

QCoro::Task<std::optional<QString>> KeychainCredentialStore::read() {
    auto* job = newJob<QKeychain::ReadPasswordJob>();
    QByteArray bytes;
    QObject::connect(job, &QKeychain::Job::finished, job,
                     [&bytes, job](QKeychain::Job*) { bytes = job->binaryData(); });
    const auto [error, message] = co_await run(job);
    if (error != QKeychain::NoError)
        co_return std::nullopt;
    co_return strictUtf8(bytes);
}

QCoro::Task<std::optional<KeychainError>> KeychainCredentialStore::save(QString key) {
    const auto bytes = utf8Of(key);
    if (!bytes)
        co_return KeychainError{KeychainError::Kind::dataConversion, 0, {}};
    // Delete first so exactly one item remains; a missing item is fine.
    co_await clear();
    auto* job = newJob<QKeychain::WritePasswordJob>();
    // Stored as text so the secret holds the raw UTF-8 key, not an encoding of it.
    job->setTextData(key);
    const auto [error, message] = co_await run(job);
    if (error != QKeychain::NoError)
        co_return KeychainError{KeychainError::Kind::osStatus, qint32(error), message};
    co_return std::nullopt;
}

QCoro::Task<> KeychainCredentialStore::clear() {
    co_await run(newJob<QKeychain::DeletePasswordJob>());
}

} // namespace kv
