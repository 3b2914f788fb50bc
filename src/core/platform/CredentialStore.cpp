#include "CredentialStore.h"

#include "records/Utf8.h"

#include <QStringEncoder>

namespace kv {

std::optional<QByteArray> CredentialStore::utf8Of(const QString& key) {
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(key);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QCoro::Task<std::optional<QString>> MemoryCredentialStore::read() {
    if (!m_bytes)
        co_return std::nullopt;
    co_return strictUtf8(*m_bytes);
}

QCoro::Task<std::optional<KeychainError>> MemoryCredentialStore::save(QString key) {
    auto bytes = utf8Of(key);
    if (!bytes)
        co_return KeychainError{KeychainError::Kind::dataConversion, 0, {}};
    m_bytes = std::move(*bytes);
    co_return std::nullopt;
}

QCoro::Task<> MemoryCredentialStore::clear() {
    m_bytes.reset();
    co_return;
}

} // namespace kv
