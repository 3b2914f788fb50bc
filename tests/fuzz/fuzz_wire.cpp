// Every record and envelope the service sends, read from arbitrary JSON: a
// record or a WireError, never a crash. And the reader's two key spellings
// are one: the same document with every key already in member spelling
// (colliding keys resolved as the reader resolves them, the last one in key
// order winning) decodes to the same record, or fails the same way.

#include "FuzzCheck.h"
#include "records/RealtimeEvent.h"
#include "records/WireRecords.h"

#include <QJsonDocument>

#include <cstdint>

namespace {

const QDateTime kNow(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC);
const QUrl kBase(QStringLiteral("http://127.0.0.1:8080"));

bool keysStable = true; // camelFromSnake left every converted key as it was

QJsonValue inMemberSpelling(const QJsonValue& value) {
    if (value.isArray()) {
        QJsonArray out;
        for (const QJsonValue& item : value.toArray())
            out.append(inMemberSpelling(item));
        return out;
    }
    if (!value.isObject())
        return value;
    QJsonObject out;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = kv::camelFromSnake(it.key());
        keysStable = keysStable && kv::camelFromSnake(key) == key;
        out.insert(key, inMemberSpelling(it.value())); // a later key replaces an earlier one
    }
    return out;
}

template <typename Decode>
auto attempt(Decode decode, const QJsonValue& value) -> std::optional<decltype(decode(value))> {
    try {
        return decode(value);
    } catch (const kv::WireError& error) {
        KV_FUZZ_CHECK(!error.description().isEmpty(), "a wire error says what is wrong");
        return std::nullopt;
    }
}

// The record alone and in its list envelope, from both spellings.
template <typename Decode>
void check(const QJsonValue& original, const QJsonValue& renamed, const char* listMember,
           Decode decode) {
    const auto a = attempt(decode, original);
    const auto b = attempt(decode, renamed);
    if (keysStable) {
        KV_FUZZ_CHECK(a.has_value() == b.has_value(), "both spellings decode or both fail");
        KV_FUZZ_CHECK(!a || *a == *b, "both spellings give the same record");
    }
    auto list = [&](const QJsonValue& top) {
        const kv::WireObject o(top, kv::WirePath{});
        return o.list(listMember,
                      [&](const QJsonValue& v, const kv::WirePath&) { return decode(v); });
    };
    (void)attempt(list, original);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)kv::RealtimeEvent::fromFrameData(QString::fromUtf8(bytes));

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return 0;
    const QJsonValue original =
        document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());
    keysStable = true;
    const QJsonValue renamed = inMemberSpelling(original);

    using namespace kv;
    const WirePath root{};
    check(original, renamed, "projects",
          [&](const QJsonValue& v) { return decodeRecord<ProjectDTO>(v, root).toModel(kBase); });
    check(original, renamed, "conversations", [&](const QJsonValue& v) {
        return decodeRecord<ConversationDTO>(v, root).toModel(kNow);
    });
    check(original, renamed, "messages",
          [&](const QJsonValue& v) { return decodeRecord<MessageDTO>(v, root).toModel(kNow); });
    check(original, renamed, "visitors",
          [&](const QJsonValue& v) { return decodeRecord<VisitorDTO>(v, root).toModel(kNow); });
    check(original, renamed, "stats", [&](const QJsonValue& v) {
        return decodeRecord<ProjectStatsDTO>(v, root).toModel(kNow);
    });
    check(original, renamed, "snippets",
          [&](const QJsonValue& v) { return decodeRecord<SnippetDTO>(v, root).toListedModel(); });
    check(original, renamed, "sent", [&](const QJsonValue& v) {
        return decodeRecord<SendMessageResponseDTO>(v, root).toModel(kNow);
    });
    check(original, renamed, "users",
          [&](const QJsonValue& v) { return decodeRecord<User>(v, root); });
    check(original, renamed, "clients",
          [&](const QJsonValue& v) { return decodeRecord<Client>(v, root); });
    check(original, renamed, "notifications",
          [&](const QJsonValue& v) { return decodeRecord<NotificationPref>(v, root); });
    check(original, renamed, "translations",
          [&](const QJsonValue& v) { return decodeRecord<TranslationResult>(v, root); });
    check(original, renamed, "chunks",
          [&](const QJsonValue& v) { return decodeRecord<RetrievedChunk>(v, root); });
    check(original, renamed, "top_agents",
          [&](const QJsonValue& v) { return decodeRecord<TopAgent>(v, root); });
    check(original, renamed, "ok", [&](const QJsonValue& v) {
        decodeOkResponse(v, root);
        decodeResolveResponse(v, root);
        return true;
    });
    return 0;
}
