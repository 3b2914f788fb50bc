#include "ApiError.h"

namespace kv {

ApiError ApiError::http(int status, QString body) {
    ApiError e;
    e.kind = Kind::http;
    e.status = status;
    e.body = std::move(body);
    return e;
}

ApiError ApiError::transport(QString description) {
    ApiError e;
    e.kind = Kind::transport;
    e.underlying = std::move(description);
    return e;
}

ApiError ApiError::decoding(QString description) {
    ApiError e;
    e.kind = Kind::decoding;
    e.underlying = std::move(description);
    return e;
}

ApiError ApiError::of(Kind kind) {
    ApiError e;
    e.kind = kind;
    return e;
}

ApiError ApiError::badIdentifier(QString identifier) {
    ApiError e;
    e.kind = Kind::invalidIdentifier;
    e.identifier = std::move(identifier);
    return e;
}

QString ApiError::errorDescription() const {
    switch (kind) {
    case Kind::http:
        return QStringLiteral("HTTP %1: %2").arg(QString::number(status), body);
    case Kind::transport:
        return QStringLiteral("Network error: ") + underlying;
    case Kind::decoding:
        return QStringLiteral("Couldn't read server response: ") + underlying;
    case Kind::missingCredential:
        return QStringLiteral("Not signed in.");
    case Kind::unauthorized:
        return QStringLiteral("Your session expired — please sign in again.");
    case Kind::forbidden:
        return QStringLiteral("You don't have access to that.");
    case Kind::notFound:
        return QStringLiteral("Not found.");
    case Kind::invalidCallback:
        return QStringLiteral("Invalid sign-in response from the browser.");
    case Kind::invalidResponse:
        return QStringLiteral("Unexpected response shape.");
    case Kind::invalidIdentifier:
        return QStringLiteral("Invalid identifier \"%1\": nothing was sent.").arg(identifier);
    case Kind::invalidCredential:
        return QStringLiteral("The API key holds a control character and was not used.");
    }
    return QString();
}

} // namespace kv
