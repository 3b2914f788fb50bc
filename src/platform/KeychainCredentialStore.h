#pragma once

#include "platform/CredentialStore.h"

namespace kv {

// The API key in the desktop's secret store (Secret Service here, the
// Keychain on macOS), as one item keyed by the application id and "api_key".
// The insecure plaintext fallback is never used.
class KeychainCredentialStore final : public CredentialStore {
public:
    QCoro::Task<std::optional<QString>> read() override;
    QCoro::Task<std::optional<KeychainError>> save(QString key) override;
    QCoro::Task<> clear() override;
};

} // namespace kv
