#pragma once

// Faults the simulated service can be told to answer with: error statuses and
// every kind of broken body a client must survive.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace httplib {
struct Response;
}

namespace kv::sim {

// A fault answers matching requests instead of (or, for `mistyped` and `delay`, on top of) the
// handler.
struct Fault {
    enum class Kind {
        status,    // `status` with `body`
        malformed, // 200 whose body is not JSON
        mistyped,  // the real answer with every identifier turned into a number
        empty,     // `status` (204 unless given) with no body
        redirect,  // 302 to `location`
        truncated, // 200 promising more body than it sends, then the connection drops
        delay,     // the real answer, `delay_ms` late
        oversized, // 200 with a well-formed list of `bytes` bytes, sent in chunks without a length
        endless,   // 200 whose body opens, then trickles whitespace until the client leaves
    };
    Kind kind = Kind::status;
    QString method;                     // empty: any method
    QString path = QStringLiteral("*"); // exact path, "prefix*", or "*" for every path
    int status = 500;
    QByteArray body;
    QString location;
    int delayMs = 0;
    qint64 bytes = 50'000'000;
    int times = -1; // how many requests it answers; -1: until cleared

    static std::optional<Fault> fromJson(const QJsonObject& o, QString* error);
    // Answers in place of the handler; false for the kinds that let the handler run.
    bool answer(httplib::Response& res) const;
};

// The same object with each identifier-like string turned into a number:
// a body of the right shape but wrong types.
QJsonObject mistyped(const QJsonObject& body);

} // namespace kv::sim
