#pragma once

// Where the per-device API key is kept between launches. The desktop store
// lives in the platform layer; MemoryCredentialStore serves tests and demos.

#include <QCoroTask>
#include <QString>

#include <optional>

namespace kv {

struct KeychainError {
    enum class Kind { osStatus, dataConversion };
    Kind kind = Kind::osStatus;
    qint32 status = 0; // the store's own status code, for osStatus
    QString message;   // the store's explanation, when it gives one
    bool operator==(const KeychainError&) const = default;
};

class CredentialStore {
public:
    static constexpr char kService[] = "com.kestovar.Kestovar";
    static constexpr char kAccount[] = "api_key";

    virtual ~CredentialStore() = default;

    // The stored key; none when there is no item or it cannot be read.
    virtual QCoro::Task<std::optional<QString>> read() = 0;
    // Replaces any stored key. On failure the old key may already be gone.
    virtual QCoro::Task<std::optional<KeychainError>> save(QString key) = 0;
    // Removes the key; never fails.
    virtual QCoro::Task<> clear() = 0;

    // The key as stored bytes, refusing text that has no exact UTF-8 form
    // (unpaired surrogates would be replaced, changing the key).
    static std::optional<QByteArray> utf8Of(const QString& key);
};

class MemoryCredentialStore final : public CredentialStore {
public:
    QCoro::Task<std::optional<QString>> read() override;
    QCoro::Task<std::optional<KeychainError>> save(QString key) override;
    QCoro::Task<> clear() override;

private:
    std::optional<QByteArray> m_bytes;
};

} // namespace kv
