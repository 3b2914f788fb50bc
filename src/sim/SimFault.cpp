#include "SimFault.h"

#include <httplib.h>

#include <QHash>
#include <QJsonArray>

#include <algorithm>
#include <chrono>
#include <thread>

namespace kv::sim {

namespace {

constexpr char kJsonType[] = "application/json; charset=utf-8";

// Each identifier-like string becomes a number: a body of the right shape but wrong types.
QJsonValue mistypeValue(const QJsonValue& value, const QString& key = {}) {
    if (value.isObject()) {
        QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            it.value() = mistypeValue(it.value(), it.key());
        return o;
    }
    if (value.isArray()) {
        QJsonArray a = value.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            a[i] = mistypeValue(a[i], key);
        return a;
    }
    if (value.isString() && (key == u"id" || key.endsWith(u"_id")))
        return 7;
    return value;
}

} // namespace

std::optional<Fault> Fault::fromJson(const QJsonObject& o, QString* error) {
    Fault f;
    const QString kind = o.value("kind").toString(QStringLiteral("status"));
    static const QHash<QString, Kind> kinds{
        {"status", Kind::status}, {"malformed", Kind::malformed}, {"mistyped", Kind::mistyped},
        {"empty", Kind::empty},   {"redirect", Kind::redirect},   {"truncated", Kind::truncated},
        {"delay", Kind::delay},   {"oversized", Kind::oversized}, {"endless", Kind::endless}};
    if (!kinds.contains(kind)) {
        *error = QStringLiteral("unknown fault kind: ") + kind;
        return std::nullopt;
    }
    f.kind = kinds.value(kind);
    f.method = o.value("method").toString().toUpper();
    f.path = o.value("path").toString(QStringLiteral("*"));
    f.status = o.value("status").toInt(f.kind == Kind::empty ? 204 : 500);
    f.body = o.value("body").toString().toUtf8();
    f.location = o.value("location").toString();
    f.delayMs = o.value("delay_ms").toInt(0);
    f.bytes = o.value("bytes").toInteger(f.bytes);
    f.times = o.value("times").toInt(-1);
    return f;
}

bool Fault::answer(httplib::Response& res) const {
    switch (kind) {
    case Kind::status:
        res.status = status;
        res.set_content(body.toStdString(), kJsonType);
        return true;
    case Kind::malformed:
        res.status = 200;
        res.set_content(R"({"projects": [{"id": "p1", "name": )", kJsonType);
        return true;
    case Kind::empty:
        res.status = status;
        return true;
    case Kind::redirect:
        res.status = 302;
        res.set_header("Location", location.toStdString());
        return true;
    case Kind::truncated:
        res.status = 200;
        res.set_content_provider(1000, kJsonType, [](size_t, size_t, httplib::DataSink& sink) {
            sink.write(R"({"id":"u_1","email":)", 19);
            return false; // drop the connection with the body unfinished
        });
        return true;
    case Kind::oversized: {
        // Produced as it is sent: the simulator never holds the whole body.
        static constexpr char open[] = R"({"conversations":[)";
        static constexpr char close[] = "]}";
        const qint64 total = std::max<qint64>(bytes, sizeof open + sizeof close);
        res.status = 200;
        res.set_chunked_content_provider(
            kJsonType, [total](size_t offset, httplib::DataSink& sink) {
                if (offset == 0)
                    return sink.write(open, sizeof open - 1);
                const qint64 left = total - qint64(offset) - qint64(sizeof close - 1);
                if (left <= 0) {
                    sink.write(close, sizeof close - 1);
                    sink.done();
                    return true;
                }
                static const std::string blanks(64 * 1024, ' ');
                return sink.write(blanks.data(), size_t(std::min<qint64>(left, blanks.size())));
            });
        return true;
    }
    case Kind::endless:
        res.status = 200;
        res.set_chunked_content_provider(kJsonType, [](size_t offset, httplib::DataSink& sink) {
            if (offset == 0)
                return sink.write(R"({"conversations":[)", 18);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return sink.is_writable() && sink.write(" ", 1);
        });
        return true;
    case Kind::mistyped:
    case Kind::delay:
        return false;
    }
    return false;
}

QJsonObject mistyped(const QJsonObject& body) {
    return mistypeValue(body).toObject();
}

} // namespace kv::sim
