#pragma once

#include <QString>

#include <optional>
#include <variant>

namespace kv {

// The one error of the REST client. `errorDescription` is what the user sees.
struct ApiError {
    enum class Kind {
        http,
        transport,
        decoding,
        missingCredential,
        unauthorized,
        forbidden,
        notFound,
        invalidCallback,
        invalidResponse,
        // An identifier that cannot be placed in a path safely; nothing was sent.
        invalidIdentifier,
        // An API key that cannot be put into a header (it holds a control character).
        invalidCredential,
    };

    Kind kind = Kind::invalidResponse;
    int status = 0;     // http
    QString body;       // http
    QString underlying; // transport, decoding: the underlying error's description
    QString identifier; // invalidIdentifier

    static ApiError http(int status, QString body);
    static ApiError transport(QString description);
    static ApiError decoding(QString description);
    static ApiError of(Kind kind);
    static ApiError badIdentifier(QString identifier);

    QString errorDescription() const;
    bool operator==(const ApiError&) const = default;
};

// The outcome of one service operation: a value or an ApiError.
template <typename T>
class ApiResult {
public:
    // Empty-handed until assigned (awaiting helpers need a default); reads as invalidResponse.
    ApiResult() : m_state(ApiError{}) {}
    ApiResult(T value) : m_state(std::move(value)) {}
    ApiResult(ApiError error) : m_state(std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(m_state); }
    T& value() & { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    const ApiError& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, ApiError> m_state;
};

template <>
class ApiResult<void> {
public:
    ApiResult() = default;
    ApiResult(ApiError error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }
    const ApiError& error() const { return *m_error; }

private:
    std::optional<ApiError> m_error;
};

} // namespace kv
