#include "CredentialStore.h"

#include <QStringDecoder>
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
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(*m_bytes);
    if (decoder.hasError())
        co_return std::nullopt;
    co_return text;
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
