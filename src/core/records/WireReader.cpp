#include "WireReader.h"

#include "IsoTime.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <array>
#include <cmath>

namespace kv {

QString camelFromSnake(const QString& key) {
    if (!key.contains(u'_'))
        return key;
    qsizetype first = 0;
    while (first < key.size() && key[first] == u'_')
        ++first;
    qsizetype last = key.size();
    while (last > first && key[last - 1] == u'_')
        --last;
    QString out;
    out.reserve(key.size());
    out.append(QStringView(key).first(first));
    bool upperNext = false;
    for (qsizetype i = first; i < last; ++i) {
        const QChar c = key[i];
        if (c == u'_') {
            upperNext = true;
            continue;
        }
        out.append(upperNext ? c.toUpper() : c);
        upperNext = false;
    }
    out.append(QStringView(key).sliced(last));
    return out;
}

QString WirePath::text() const {
    QString own;
    if (member)
        own = QString::fromLatin1(member);
    else if (index >= 0)
        own = QStringLiteral("[%1]").arg(index);
    if (!parent)
        return own;
    const QString above = parent->text();
    if (above.isEmpty())
        return own;
    return member ? above + u'.' + own : above + own;
}

WireObject::WireObject(const QJsonValue& value, const WirePath& path, Mode mode)
    : m_path(path), m_mode(mode) {
    if (!value.isObject()) {
        const QString where = path.text();
        throw WireError(QStringLiteral("Expected a JSON object%1.")
                            .arg(where.isEmpty() ? QString() : QStringLiteral(" at ") + where));
    }
    m_object = value.toObject();
    m_size = m_object.size();
    if (mode == Mode::quick)
        m_keys = QCborMap::fromJsonObject(m_object);
    if (mode == Mode::exact) {
        qsizetype index = 0;
        for (auto it = m_object.constBegin(); it != m_object.constEnd(); ++it)
            m_entries.append(Entry{camelFromSnake(it.key()), index++});
    }
}

void WireObject::fail(const char* member, const QString& problem) const {
    const QString where = WirePath{&m_path, member}.text();
    throw WireError(QStringLiteral("%1 (at %2).").arg(problem, where));
}

namespace {

// The service's snake-case spelling of a member: "websiteUrl" → "website_url".
struct SnakeKey {
    char text[96];
    qsizetype length = 0;
    bool differs = false; // the member has capitals, so its own spelling is another key
    QLatin1StringView view() const { return QLatin1StringView(text, length); }
};

SnakeKey snakeKey(const char* member) {
    SnakeKey key;
    for (const char* c = member; *c && key.length < qsizetype(sizeof key.text) - 2; ++c) {
        if (*c >= 'A' && *c <= 'Z') {
            key.text[key.length++] = '_';
            key.text[key.length++] = char(*c - 'A' + 'a');
            key.differs = true;
        } else {
            key.text[key.length++] = *c;
        }
    }
    return key;
}

// Where a member's snake-case key sat in the last object this thread found
// it in. The records of one response share their layout, so the next object
// has the key at the same place, or a place or two away where an optional
// key one record has and the other lacks sorts before it. Checking those
// places reads keys in place, without making a string of each, and costs a
// fraction of a search. Members share slots by their address: a slot taken
// over by another member, or a guess that no longer holds, costs only the
// search that would have been made anyway.
struct KeyHint {
    const char* member = nullptr;
    qsizetype index = -1;
    QCborValue key;
};

KeyHint& hintFor(const char* member) {
    thread_local std::array<KeyHint, 256> hints;
    return hints[(quintptr(member) * 0x9E3779B97F4A7C15ULL) >> 56];
}

} // namespace

qsizetype WireObject::indexOf(const char* member) const {
    KeyHint& hint = hintFor(member);
    if (hint.member == member) {
        for (const qsizetype step : {0, -1, 1, -2, 2}) {
            const qsizetype at = hint.index + step;
            if (at >= 0 && at < m_size && (m_keys.constBegin() + at).key() == hint.key) {
                hint.index = at;
                return at;
            }
        }
    }
    const SnakeKey snake = snakeKey(member);
    auto hit = m_keys.constFind(snake.view());
    if (hit != m_keys.constEnd()) {
        const qsizetype at = hit - m_keys.constBegin();
        hint = KeyHint{member, at, QCborValue(snake.view())};
        return at;
    }
    if (snake.differs) {
        hit = m_keys.constFind(QLatin1StringView(member));
        if (hit != m_keys.constEnd())
            return hit - m_keys.constBegin();
    }
    return -1;
}

std::optional<QJsonValueConstRef> WireObject::presentAt(qsizetype index) const {
    // Both views keep the entries in the same order.
    const QJsonValueConstRef value = *(m_object.constBegin() + index);
    if (value.isNull() || value.isUndefined())
        return std::nullopt;
    return value;
}

std::optional<QJsonValueConstRef> WireObject::findQuick(const char* member) const {
    // Once every key is accounted for, whatever is left to read is absent.
    if (m_matched == m_size)
        return std::nullopt;
    const qsizetype index = indexOf(member);
    if (index < 0)
        return std::nullopt;
    // A second spelling of the same member stays unaccounted, so the exact
    // read takes over and decides between them.
    ++m_matched;
    return presentAt(index);
}

std::optional<QJsonValueConstRef> WireObject::find(const char* member) const {
    if (m_mode == Mode::quick)
        return findQuick(member);
    const QLatin1StringView name(member);
    // The last occurrence wins when a key arrives in both spellings.
    for (qsizetype i = m_entries.size() - 1; i >= 0; --i) {
        if (m_entries[i].key == name)
            return presentAt(m_entries[i].index);
    }
    return std::nullopt;
}

QJsonValueConstRef WireObject::require(const char* member) const {
    auto v = find(member);
    if (!v && m_mode == Mode::quick)
        throw NeedExactRead{}; // perhaps spelled another way; the exact read decides
    if (!v)
        fail(member, QStringLiteral("Required key \"%1\" is missing or null")
                         .arg(QLatin1StringView(member)));
    return *v;
}

namespace {

QString typeMismatch(const char* member, const char* expected) {
    return QStringLiteral("Key \"%1\" is not %2")
        .arg(QLatin1StringView(member), QLatin1StringView(expected));
}

} // namespace

QString WireObject::string(const char* member) const {
    const QJsonValueConstRef v = require(member);
    if (!v.isString())
        fail(member, typeMismatch(member, "text"));
    return v.toString();
}

std::optional<QString> WireObject::optString(const char* member) const {
    const auto v = find(member);
    if (!v)
        return std::nullopt;
    if (!v->isString())
        fail(member, typeMismatch(member, "text"));
    return v->toString();
}

bool WireObject::boolean(const char* member) const {
    const QJsonValueConstRef v = require(member);
    if (!v.isBool())
        fail(member, typeMismatch(member, "a boolean"));
    return v.toBool();
}

std::optional<bool> WireObject::optBoolean(const char* member) const {
    const auto v = find(member);
    if (!v)
        return std::nullopt;
    if (!v->isBool())
        fail(member, typeMismatch(member, "a boolean"));
    return v->toBool();
}

namespace {

// Whole numbers that fit a signed 64-bit integer; anything else is refused.
std::optional<qint64> wholeNumber(const QJsonValueConstRef& v) {
    if (!v.isDouble())
        return std::nullopt;
    const qint64 a = v.toInteger(0);
    if (a == 0 && v.toInteger(1) != 0)
        return std::nullopt;
    return a;
}

} // namespace

qint64 WireObject::integer(const char* member) const {
    const auto n = wholeNumber(require(member));
    if (!n)
        fail(member, typeMismatch(member, "a whole number within 64 bits"));
    return *n;
}

std::optional<qint64> WireObject::optInteger(const char* member) const {
    const auto v = find(member);
    if (!v)
        return std::nullopt;
    const auto n = wholeNumber(*v);
    if (!n)
        fail(member, typeMismatch(member, "a whole number within 64 bits"));
    return n;
}

double WireObject::number(const char* member) const {
    const QJsonValueConstRef v = require(member);
    if (!v.isDouble())
        fail(member, typeMismatch(member, "a number"));
    return v.toDouble();
}

std::optional<double> WireObject::optNumber(const char* member) const {
    const auto v = find(member);
    if (!v)
        return std::nullopt;
    if (!v->isDouble())
        fail(member, typeMismatch(member, "a number"));
    return v->toDouble();
}

namespace {

QDateTime readTime(const WireObject& o, const char* member, const QJsonValueConstRef& v) {
    if (!v.isString())
        o.fail(member, QStringLiteral("Key \"%1\" is not text").arg(QLatin1StringView(member)));
    const QString text = v.toString();
    auto instant = parseISO8601Permissive(text);
    if (!instant)
        o.fail(member, QStringLiteral("Bad date: ") + text);
    return *instant;
}

} // namespace

QDateTime WireObject::time(const char* member) const {
    return readTime(*this, member, require(member));
}

std::optional<QDateTime> WireObject::optTime(const char* member) const {
    const auto v = find(member);
    if (!v)
        return std::nullopt;
    return readTime(*this, member, *v);
}

QJsonObject WireObject::object(const char* member) const {
    const QJsonValueConstRef v = require(member);
    if (!v.isObject())
        fail(member, typeMismatch(member, "an object"));
    return v.toObject();
}

std::optional<QJsonObject> WireObject::optObject(const char* member) const {
    const auto v = find(member);
    if (!v)
        return std::nullopt;
    if (!v->isObject())
        fail(member, typeMismatch(member, "an object"));
    return v->toObject();
}

QJsonArray WireObject::array(const char* member) const {
    const QJsonValueConstRef v = require(member);
    if (!v.isArray())
        fail(member, typeMismatch(member, "an array"));
    return v.toArray();
}

std::optional<QJsonArray> WireObject::optArray(const char* member) const {
    const auto v = find(member);
    if (!v)
        return std::nullopt;
    if (!v->isArray())
        fail(member, typeMismatch(member, "an array"));
    return v->toArray();
}

QJsonValue WireObject::value(const char* member) const {
    return QJsonValue(require(member));
}

QStringList WireObject::stringArray(const char* member) const {
    const QJsonArray items = array(member);
    QStringList out;
    out.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QJsonValue item = items.at(i);
        if (!item.isString()) {
            const WirePath arrayPath{&m_path, member};
            throw WireError(QStringLiteral("Expected text (at %1).")
                                .arg(WirePath{&arrayPath, nullptr, i}.text()));
        }
        out.append(item.toString());
    }
    return out;
}

QJsonObject parseBodyObject(const QByteArray& body) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        throw WireError(QStringLiteral("The data isn't valid JSON: %1 at offset %2.")
                            .arg(error.errorString(), QString::number(error.offset)));
    }
    if (!doc.isObject())
        throw WireError(QStringLiteral("Expected a JSON object at the top level."));
    return doc.object();
}

} // namespace kv
