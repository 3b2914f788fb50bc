#pragma once

// Each record's fields as the service writes them, described once: the key,
// the member it fills, and (by the member's type) whether it must be there.
// One encoder writes a request's body from its description, one decoder
// reads a response by the description of what it holds:
//   T                      required: present, non-null, of T's JSON type
//   std::optional<T>       optional: absent or null is none
//   QStringList            a required array of strings
//   QList<R>, optional<…>  an array of records R, each read by its own description
//   a record               an object read by its own description
// Keys are the camel-case member names; incoming snake-case keys match them
// by WireReader's rule, and its errors say where a value was wrong.

#include "WireReader.h"

#include <QJsonObject>

#include <tuple>
#include <type_traits>

namespace kv {

template <typename Record, typename Member>
struct WireField {
    const char* key;
    Member Record::*member;
};

template <typename Record, typename Member>
constexpr WireField<Record, Member> wireField(const char* key, Member Record::*member) {
    return {key, member};
}

// Specialised for each record with `static constexpr auto fields = std::tuple{…}`,
// in reading order: required members first, so that once every key of an
// object is matched, absent optionals cost nothing.
template <typename Record>
struct WireFields;

template <typename Record>
Record decodeRecord(const QJsonValue& value, const WirePath& path);

namespace wire_detail {

template <typename T>
struct ListOf : std::false_type {};
template <typename T>
struct ListOf<QList<T>> : std::true_type {
    using Item = T;
};

template <typename T>
struct OptionalListOf : std::false_type {};
template <typename T>
struct OptionalListOf<std::optional<QList<T>>> : std::true_type {
    using Item = T;
};

template <typename T>
T readMember(const WireObject& o, const char* key) {
    if constexpr (std::is_same_v<T, QString>)
        return o.string(key);
    else if constexpr (std::is_same_v<T, std::optional<QString>>)
        return o.optString(key);
    else if constexpr (std::is_same_v<T, bool>)
        return o.boolean(key);
    else if constexpr (std::is_same_v<T, std::optional<bool>>)
        return o.optBoolean(key);
    else if constexpr (std::is_same_v<T, qint64>)
        return o.integer(key);
    else if constexpr (std::is_same_v<T, std::optional<qint64>>)
        return o.optInteger(key);
    else if constexpr (std::is_same_v<T, double>)
        return o.number(key);
    else if constexpr (std::is_same_v<T, std::optional<double>>)
        return o.optNumber(key);
    else if constexpr (std::is_same_v<T, QDateTime>)
        return o.time(key);
    else if constexpr (std::is_same_v<T, std::optional<QDateTime>>)
        return o.optTime(key);
    else if constexpr (std::is_same_v<T, QStringList>)
        return o.stringArray(key);
    else if constexpr (ListOf<T>::value)
        return o.list(key, &decodeRecord<typename ListOf<T>::Item>);
    else if constexpr (OptionalListOf<T>::value)
        return o.optList(key, &decodeRecord<typename OptionalListOf<T>::Item>);
    else
        return decodeRecord<T>(o.value(key), WirePath{&o.path(), key});
}

} // namespace wire_detail

// A request's body: each field under its key exactly as written in the
// description (the service reads snake case: "resolve_after").
template <typename Record>
QJsonObject encodeRecord(const Record& record) {
    QJsonObject out;
    std::apply(
        [&](const auto&... field) {
            (out.insert(QLatin1StringView(field.key), QJsonValue(record.*(field.member))), ...);
        },
        WireFields<Record>::fields);
    return out;
}

template <typename Record>
Record decodeRecord(const QJsonValue& value, const WirePath& path) {
    return readObject(value, path, [](const WireObject& o) {
        Record record{};
        std::apply(
            [&](const auto&... field) {
                ((record.*(field.member) = wire_detail::readMember<
                      std::remove_cvref_t<decltype(record.*(field.member))>>(o, field.key)),
                 ...);
            },
            WireFields<Record>::fields);
        return record;
    });
}

} // namespace kv
