#pragma once

// Reading the service's JSON under its rules: incoming snake-case keys are
// matched to camel-case member names, required members must be present,
// non-null and of the right JSON type, integers must be whole and fit in 64
// bits, times go through parseISO8601Permissive. Any violation throws
// WireError, so a response is read whole or not at all.

#include <QByteArray>
#include <QCborMap>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QVarLengthArray>

#include <exception>
#include <optional>

namespace kv {

class WireError : public std::exception {
public:
    explicit WireError(QString description) : m_description(std::move(description)) {}
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return "wire decoding failed"; }

private:
    QString m_description;
};

// "website_url" → "websiteUrl": every underscore inside the key is dropped
// and the character after it upper-cased; leading and trailing underscores stay.
QString camelFromSnake(const QString& key);

// Where a value sits in the response, built into text only when reporting an error.
struct WirePath {
    const WirePath* parent = nullptr;
    const char* member = nullptr;
    qsizetype index = -1;
    QString text() const;
};

// Thrown by a quick read that cannot decide alone; readObject() then reads exactly.
struct NeedExactRead {};

// One JSON object read member by member. A quick read looks members up by
// their two usual spellings ("website_url", "websiteUrl") without touching
// the other keys; an exact read converts every incoming key by the rule.
// Use readObject(), which takes the quick read only when it accounts for
// every key of the object, so both give the same result. Each member is
// read at most once.
class WireObject {
public:
    enum class Mode { quick, exact };

    // Throws unless `value` is a JSON object.
    WireObject(const QJsonValue& value, const WirePath& path, Mode mode = Mode::exact);

    // A quick read that found every key of the object under a member name.
    bool accountedForAllKeys() const { return m_matched == m_size; }

    const WirePath& path() const { return m_path; }

    QString string(const char* member) const;
    std::optional<QString> optString(const char* member) const;
    bool boolean(const char* member) const;
    std::optional<bool> optBoolean(const char* member) const;
    qint64 integer(const char* member) const;
    std::optional<qint64> optInteger(const char* member) const;
    double number(const char* member) const;
    std::optional<double> optNumber(const char* member) const;
    QDateTime time(const char* member) const;
    std::optional<QDateTime> optTime(const char* member) const;
    QJsonObject object(const char* member) const;
    std::optional<QJsonObject> optObject(const char* member) const;
    QJsonArray array(const char* member) const;
    std::optional<QJsonArray> optArray(const char* member) const;
    QJsonValue value(const char* member) const; // required, any type but null
    QStringList stringArray(const char* member) const;

    // Decodes each element of a required array member with `decode(value, path)`.
    template <typename Decode>
    auto list(const char* member, Decode decode) const {
        const QJsonArray items = array(member);
        return decodeItems(items, member, decode);
    }
    template <typename Decode>
    auto optList(const char* member, Decode decode) const
        -> std::optional<decltype(list(member, decode))> {
        const auto items = optArray(member);
        if (!items)
            return std::nullopt;
        return decodeItems(*items, member, decode);
    }

    [[noreturn]] void fail(const char* member, const QString& problem) const;

private:
    template <typename Decode>
    auto decodeItems(const QJsonArray& items, const char* member, Decode decode) const {
        using Item = decltype(decode(QJsonValue(), WirePath{}));
        QList<Item> out;
        out.reserve(items.size());
        const WirePath arrayPath{&m_path, member};
        for (qsizetype i = 0; i < items.size(); ++i)
            out.append(decode(items.at(i), WirePath{&arrayPath, nullptr, i}));
        return out;
    }

    // Present and non-null, or nothing. The value is read in place: no copy
    // of it, and no reference taken on the document, is made for a member
    // that ends up as a number or a text.
    std::optional<QJsonValueConstRef> find(const char* member) const;
    QJsonValueConstRef require(const char* member) const;
    // The member at `index` of the object, unless it is null.
    std::optional<QJsonValueConstRef> presentAt(qsizetype index) const;

    std::optional<QJsonValueConstRef> findQuick(const char* member) const;
    // The place of the member's key in the object by its two usual
    // spellings, snake case first; -1 when neither is there.
    qsizetype indexOf(const char* member) const;

    struct Entry {
        QString key;
        qsizetype index; // in m_object
    };
    QJsonObject m_object;
    // The same object seen as a CBOR map, sharing its data (quick reads
    // only): its keys can be compared in place, without a string made of each.
    QCborMap m_keys;
    qsizetype m_size = 0;
    QVarLengthArray<Entry, 24> m_entries; // exact reads only
    WirePath m_path;
    Mode m_mode;
    mutable qsizetype m_matched = 0;
};

// Reads `value` as an object with `read(const WireObject&)`: quickly when
// that accounts for every key, exactly otherwise.
template <typename Read>
auto readObject(const QJsonValue& value, const WirePath& path, Read read) {
    try {
        const WireObject quick(value, path, WireObject::Mode::quick);
        auto result = read(quick);
        if (quick.accountedForAllKeys())
            return result;
    } catch (const NeedExactRead&) {
    }
    const WireObject exact(value, path, WireObject::Mode::exact);
    return read(exact);
}

// Parses a response body that must be one JSON object; throws WireError otherwise.
QJsonObject parseBodyObject(const QByteArray& body);

} // namespace kv
