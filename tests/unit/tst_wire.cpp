// Reading the service's JSON: key rule, presence and type rules, and the
// conversions into domain records.

#include "records/IsoTime.h"
#include "records/WireRecords.h"
#include "service/PathSegment.h"

#include <QJsonDocument>
#include <QTest>

#include <thread>

using namespace kv;

namespace {

QJsonObject json(const char* text) {
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

QJsonObject conversationJson() {
    return json(R"({"id":"c1","project_id":"p1","status":"waiting","last_message_preview":"hi",
        "last_message_at":"2024-05-01T10:20:30.123Z","message_count":3,"has_unread":true,
        "tags":["vip"],"ai_retrieved_chunks":[{"id":"k1","title":"T","snippet":"S","score":0.5,
        "source_url":"https://x.example/a"}],"extra_key_from_a_newer_service":{"a":1}})");
}

// The description of the WireError thrown by `f`, or empty when nothing was thrown.
template <typename F>
QString failureOf(F f) {
    try {
        f();
    } catch (const WireError& e) {
        return e.description();
    }
    return QString();
}

} // namespace

class TestWire : public QObject {
    Q_OBJECT

private slots:
    void keyRule() {
        QCOMPARE(camelFromSnake("website_url"), u"websiteUrl"_qs);
        QCOMPARE(camelFromSnake("ai_retrieved_chunks"), u"aiRetrievedChunks"_qs);
        QCOMPARE(camelFromSnake("_private_key_"), u"_privateKey_"_qs);
        QCOMPARE(camelFromSnake("__a__b"), u"__aB"_qs);
        QCOMPARE(camelFromSnake("projectId"), u"projectId"_qs);
        QCOMPARE(camelFromSnake("___"), u"___"_qs);
    }

    void conversationReadsAndMaps() {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const Conversation c = decodeRecord<ConversationDTO>(conversationJson(), {}).toModel(now);
        QCOMPARE(c.id, u"c1"_qs);
        QCOMPARE(c.projectID, u"p1"_qs);
        QCOMPARE(c.status, ConversationStatus::waiting);
        QCOMPARE(formatInstant(c.lastMessageAt), u"2024-05-01T10:20:30.123Z"_qs);
        QCOMPARE(c.startedAt, now); // absent start: now
        QCOMPARE(c.tags, QStringList{u"vip"_qs});
        QCOMPARE(c.aiRetrievedChunks.size(), 1);
        QCOMPARE(c.aiRetrievedChunks[0].sourceURL, u"https://x.example/a"_qs);
        QVERIFY(!c.visitorName && !c.rating && !c.aiSuggestedReply);
    }

    void conversationDefaults() {
        QJsonObject o = conversationJson();
        o.remove("last_message_at");
        o["status"] = "closed";
        o["visitor_name"] = QJsonValue::Null; // optional null = absent
        const Conversation c =
            decodeRecord<ConversationDTO>(o, {}).toModel(QDateTime::currentDateTimeUtc());
        QCOMPARE(c.status, ConversationStatus::active);
        QCOMPARE(c.lastMessageAt.toMSecsSinceEpoch(), 0); // sorts as the oldest
        QVERIFY(!c.visitorName);
    }

    void camelCaseKeysAccepted() {
        QJsonObject o = conversationJson();
        o.remove("project_id");
        o["projectId"] = "p9";
        QCOMPARE(decodeRecord<ConversationDTO>(o, {}).projectId, u"p9"_qs);
        const NotificationPref p = decodeRecord<NotificationPref>(
            json(R"({"projectId":"p1","muted":true,"muteEscalation":false,
                     "mute_new_message":true,"mute_visitor_online":false})"),
            {});
        QCOMPARE(p, (NotificationPref{"p1", true, false, true, false}));
    }

    void unusualSpellingsFollowTheKeyRule() {
        // Keys the service would not write but the rule still maps onto members.
        const VisitorDTO v = decodeRecord<VisitorDTO>(
            json(R"({"visitor__id":"v1","projectId":"p1","page_Url":"/","has_conversation":false,
                     "pages_thisSession":2,"time_on_site_seconds":30,"is_returning":true,
                     "previous_conversations":1,"referrer":"r","_private":1,"unknown_key":2})"),
            {});
        QCOMPARE(v.visitorId, u"v1"_qs);
        QCOMPARE(v.projectId, u"p1"_qs);
        QCOMPARE(v.pageUrl, u"/"_qs);
        QCOMPARE(v.pagesThisSession, 2);
        QCOMPARE(v.referrer, std::optional<QString>(u"r"_qs));
        // Both spellings of one member: the reader's objects order their keys, and the last
        // occurrence in that order wins — the service's own snake-case spelling — wherever
        // either stood in the text.
        for (const char* text : {R"({"project_id":"snake","projectId":"camel"})",
                                 R"({"projectId":"camel","project_id":"snake"})"}) {
            QJsonObject o = conversationJson();
            o.remove("project_id");
            const QJsonObject both = json(text);
            for (auto it = both.begin(); it != both.end(); ++it)
                o.insert(it.key(), it.value());
            QCOMPARE(decodeRecord<ConversationDTO>(o, {}).projectId, u"snake"_qs);
        }
    }

    void requiredKeysAndTypes_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value"); // undefined: remove the key
        QTest::addColumn<QString>("problem");
        QTest::newRow("missing") << "status" << QJsonValue(QJsonValue::Undefined)
                                 << "Required key \"status\" is missing or null (at status).";
        QTest::newRow("null") << "has_unread" << QJsonValue(QJsonValue::Null)
                              << "Required key \"hasUnread\" is missing or null (at hasUnread).";
        QTest::newRow("string for int") << "message_count" << QJsonValue("3")
                                        << "Key \"messageCount\" is not a whole number within 64 "
                                           "bits (at messageCount).";
        QTest::newRow("fraction for int") << "message_count" << QJsonValue(2.5)
                                          << "Key \"messageCount\" is not a whole number within "
                                             "64 bits (at messageCount).";
        QTest::newRow("beyond 64 bits") << "message_count" << QJsonValue(1e19)
                                        << "Key \"messageCount\" is not a whole number within 64 "
                                           "bits (at messageCount).";
        QTest::newRow("int for bool") << "has_unread" << QJsonValue(1)
                                      << "Key \"hasUnread\" is not a boolean (at hasUnread).";
        QTest::newRow("mistyped optional") << "rating" << QJsonValue("five")
                                           << "Key \"rating\" is not a whole number within 64 "
                                              "bits (at rating).";
        QTest::newRow("bad time") << "started_at" << QJsonValue("2024-05-01")
                                  << "Bad date: 2024-05-01 (at startedAt).";
        QTest::newRow("number in tags")
            << "tags" << QJsonValue(QJsonArray{"a", 1}) << "Expected text (at tags[1]).";
    }

    void requiredKeysAndTypes() {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, problem);
        QJsonObject o = conversationJson();
        if (value.isUndefined())
            o.remove(key);
        else
            o[key] = value;
        QCOMPARE(failureOf([&] { decodeRecord<ConversationDTO>(o, {}); }), problem);
    }

    void wholeNumbersAccepted() {
        QJsonObject o = conversationJson();
        o["message_count"] = 3.0;
        QCOMPARE(decodeRecord<ConversationDTO>(o, {}).messageCount, 3);
        o["message_count"] = -9007199254740993.0;
        QVERIFY(failureOf([&] { decodeRecord<ConversationDTO>(o, {}); }).isEmpty());
    }

    void nestedFailureNamesItsPlace() {
        QJsonObject o = conversationJson();
        QJsonArray chunks = o["ai_retrieved_chunks"].toArray();
        QJsonObject chunk = chunks[0].toObject();
        chunk.remove("score");
        chunks[0] = chunk;
        o["ai_retrieved_chunks"] = chunks;
        const WirePath top{nullptr, "conversations"};
        const WirePath item{&top, nullptr, 3};
        const QString expected =
            QStringLiteral("Required key \"score\" is missing or null "
                           "(at conversations[3].aiRetrievedChunks[0].score).");
        QCOMPARE(failureOf([&] { decodeRecord<ConversationDTO>(o, item); }), expected);
    }

    void bodyMustBeOneObject() {
        QVERIFY(failureOf([] { parseBodyObject(""); }).startsWith("The data isn't valid JSON"));
        QCOMPARE(failureOf([] { parseBodyObject("[1]"); }),
                 u"Expected a JSON object at the top level."_qs);
        QVERIFY(failureOf([] { parseBodyObject("{\"ok\":true}"); }).isEmpty());
    }

    void projectMapping() {
        const QUrl base("http://127.0.0.1:8080");
        auto project = [&](const char* key = nullptr, const char* value = nullptr) {
            QJsonObject o{
                {"id", "p1"}, {"name", "N"}, {"unread_count", 2}, {"live_visitor_count", 0}};
            if (key)
                o.insert(QLatin1StringView(key), QString::fromUtf8(value));
            return decodeRecord<ProjectDTO>(o, {}).toModel(base);
        };
        const Project plain = project();
        QCOMPARE(plain.websiteURL, QString(""));
        QCOMPARE(plain.emoji, u"\U0001F916"_qs);
        QVERIFY(!plain.logoURL);
        QCOMPARE(project("widget_header_icon", "headset").emoji, u"\U0001F3A7"_qs);
        QCOMPARE(project("widget_header_icon", "person").emoji, u"\U0001F464"_qs);
        QCOMPARE(project("widget_header_icon", "sparkles").emoji, u"\u2728"_qs);
        QCOMPARE(project("widget_header_icon", "Robot").emoji, u"\U0001F916"_qs);
        QVERIFY(!project("widget_logo_url", "").logoURL);
        QCOMPARE(*project("widget_logo_url", "/logos/a.png").logoURL,
                 QUrl("http://127.0.0.1:8080/logos/a.png"));
        QCOMPARE(*project("widget_logo_url", "https://cdn.example/a.png").logoURL,
                 QUrl("https://cdn.example/a.png"));
        QVERIFY(!project("widget_logo_url", "http://[bad").logoURL);
        QCOMPARE(*project("client_id", "c1").clientID, u"c1"_qs);
    }

    void messageAndVisitorMapping() {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const Message m =
            decodeRecord<MessageDTO>(
                json(R"({"id":"m1","conversation_id":"c1","role":"bot","content":"x"})"), {})
                .toModel(now);
        QCOMPARE(m.role, MessageRole::system);
        QCOMPARE(m.createdAt, now);
        QCOMPARE(messageRoleFromWire("operator"), MessageRole::operatorRole);
        QCOMPARE(wireText(MessageRole::operatorRole), u"operator"_qs);
        QCOMPARE(wireText(ConversationStatus::operatorActive), u"operator_active"_qs);

        const Visitor v =
            decodeRecord<VisitorDTO>(
                json(
                    R"({"visitor_id":"v1","project_id":"p1","page_url":"/","has_conversation":false,
                     "pages_this_session":2,"time_on_site_seconds":30,"is_returning":true,
                     "previous_conversations":1,"first_seen":"2024-05-01T10:00:00Z"})"),
                {})
                .toModel(now);
        QCOMPARE(v.lastSeen, now);
        QCOMPARE(formatInstant(v.firstSeen), u"2024-05-01T10:00:00.000Z"_qs);
    }

    void recordsOfOneListReadAsEachAlone() {
        // The records of one list differ in layout: optional keys present in one and absent in
        // the next, a key spelled the other way, both spellings, a key the console does not
        // know. Read in either order, and again, each must come out as it does when read alone
        // on a thread that has read nothing before.
        const char* full = R"({"visitor_id":"v1","project_id":"p1","page_url":"/a",
            "has_conversation":false,"pages_this_session":1,"time_on_site_seconds":10,
            "is_returning":false,"previous_conversations":0,"browser":"B1","city":"C1",
            "country":"D1","os":"O1","page_title":"T1","referrer":"R1",
            "first_seen":"2024-05-01T10:00:00Z","last_seen":"2024-05-01T10:05:00Z"})";
        const char* sparse = R"({"visitor_id":"v2","project_id":"p2","page_url":"/b",
            "has_conversation":true,"pages_this_session":2,"time_on_site_seconds":20,
            "is_returning":true,"previous_conversations":1,"os":"O2"})";
        const char* camel = R"({"visitorId":"v3","project_id":"p3","pageUrl":"/c",
            "has_conversation":false,"pages_this_session":3,"time_on_site_seconds":30,
            "is_returning":false,"previous_conversations":2,"browser":"B3","a_new_key":1})";
        const char* both = R"({"visitorId":"camel","visitor_id":"v4","project_id":"p4",
            "page_url":"/d","has_conversation":true,"pages_this_session":4,
            "time_on_site_seconds":40,"is_returning":true,"previous_conversations":3,
            "city":"C4","referrer":"R4"})";
        const QList<const char*> texts{full, sparse, camel, both, sparse, full};
        const QDateTime now = QDateTime::currentDateTimeUtc();

        QList<Visitor> alone;
        std::thread([&] {
            for (const char* text : texts)
                alone.append(decodeRecord<VisitorDTO>(json(text), {}).toModel(now));
        }).join();
        QCOMPARE(alone[3].visitorID, u"v4"_qs); // the service's own spelling wins
        QCOMPARE(alone[2].pageURL, u"/c"_qs);

        for (const bool reversed : {false, true, false}) {
            QJsonArray items;
            for (const char* text : texts)
                reversed ? items.prepend(json(text)) : items.append(json(text));
            const WireObject top(QJsonObject{{"visitors", items}}, {});
            const QList<Visitor> read =
                top.list("visitors", [&](const QJsonValue& v, const WirePath& path) {
                    return decodeRecord<VisitorDTO>(v, path).toModel(now);
                });
            QCOMPARE(read.size(), alone.size());
            for (qsizetype i = 0; i < read.size(); ++i)
                QCOMPARE(read[i], alone[reversed ? alone.size() - 1 - i : i]);
        }

        // A record whose value at the usual place is of the wrong type still fails, and says where.
        QJsonArray items{json(full), json(full)};
        QJsonObject bad = json(full);
        bad["pages_this_session"] = "two";
        items.append(bad);
        const WireObject top(QJsonObject{{"visitors", items}}, {});
        QCOMPARE(failureOf([&] { top.list("visitors", &decodeRecord<VisitorDTO>); }),
                 u"Key \"pagesThisSession\" is not a whole number within 64 bits "
                 "(at visitors[2].pagesThisSession)."_qs);
    }

    void statsMapping() {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const ProjectStats s =
            decodeRecord<ProjectStatsDTO>(
                json(R"({"project_id":"p1","days":7,"conversations":3,"messages":9,
                     "unique_visitors":4,"resolution_rate":0.42,"prev_conversations":1,
                     "rating_count":0,"buckets":[{"day":"2024-02-29","conversations":1,
                     "messages":2},{"day":"2024-02-30","conversations":2,"messages":7}]})"),
                {})
                .toModel(now);
        QVERIFY(s.topAgents.isEmpty());
        QVERIFY(!s.avgRating);
        QCOMPARE(s.buckets.size(), 2);
        QCOMPARE(formatInstant(s.buckets[0].day), u"2024-02-29T00:00:00.000Z"_qs);
        QCOMPARE(s.buckets[1].day, now); // not a date: dated now
    }

    void snippetEmoji() {
        const SnippetDTO d = decodeRecord<SnippetDTO>(
            json(R"({"id":"s1","shortcut":"hi","title":"Hi","body":"Hello","emoji":""})"), {});
        QCOMPARE(d.toListedModel().emoji, u"\U0001F4AC"_qs);
        QCOMPARE(d.toModel().emoji, QString(""));
    }

    void languages() {
        QCOMPARE(Snippet::languageName("no"), u"Norwegian"_qs);
        QCOMPARE(Snippet::languageName("xx"), u"XX"_qs);
        QCOMPARE(Snippet::languageName("nb"), u"NB"_qs);
        QCOMPARE(Snippet::languageName("EN"), u"EN"_qs); // case-sensitive
        QCOMPARE(allTranslationLanguages().size(), 12);
        QCOMPARE(allTranslationLanguages().first(), TranslationLanguage::system);
        QCOMPARE(*argosCode(TranslationLanguage::no), u"nb"_qs);
        QVERIFY(!argosCode(TranslationLanguage::system));
        QCOMPARE(displayName(TranslationLanguage::system), u"Match system language"_qs);
        QCOMPARE(displayName(TranslationLanguage::pt), u"Portuguese"_qs);
        QCOMPARE(translationLanguageFromRaw("fi"), TranslationLanguage::fi);
        QVERIFY(!translationLanguageFromRaw("nb"));
    }

    void recordsCompareAndHashOverAllFields() {
        const Conversation a = decodeRecord<ConversationDTO>(conversationJson(), {})
                                   .toModel(QDateTime::fromMSecsSinceEpoch(0, Qt::UTC));
        Conversation b = a;
        QCOMPARE(a, b);
        QCOMPARE(qHash(a), qHash(b));
        b.aiRetrievedChunks[0].score = 0.6;
        QVERIFY(a != b);
        QVERIFY(qHash(a) != qHash(b));
        b = a;
        b.visitorName = QString();
        QVERIFY(a != b); // present-but-empty differs from absent
        QVERIFY(qHash(a) != qHash(b));
    }

    void pathSegments_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("segment"); // empty: refused
        QTest::newRow("plain") << "conv_1001"
                               << "conv_1001";
        QTest::newRow("space and slash") << "a b/c"
                                         << "a%20b%2Fc";
        QTest::newRow("query and fragment") << "x?y#z"
                                            << "x%3Fy%23z";
        QTest::newRow("unicode") << "ü"
                                 << "%C3%BC";
        QTest::newRow("percent kept literal") << "50%"
                                              << "50%25";
        QTest::newRow("dots inside") << "a..b"
                                     << "a..b";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("dot") << "."
                             << "";
        QTest::newRow("dot dot") << ".."
                                 << "";
        QTest::newRow("encoded dot dot") << "%2e%2E"
                                         << "";
        QTest::newRow("half encoded") << ".%2e"
                                      << "";
        QTest::newRow("double encoded") << "%252e%252e"
                                        << "";
        // However many times a server decodes it.
        QTest::newRow("encoded twelve times") << QString("%25252525252525252525252e") << "";
        QTest::newRow("encoded empty is not a dot") << "%2e%2e%2e"
                                                    << "%252e%252e%252e";
    }

    void pathSegments() {
        QFETCH(QString, id);
        QFETCH(QString, segment);
        const auto encoded = pathSegment(id);
        if (segment.isEmpty())
            QVERIFY2(!encoded, qPrintable(id));
        else
            QCOMPARE(encoded.value_or(QString("<refused>")), segment);
    }
};

QTEST_GUILESS_MAIN(TestWire)
#include "tst_wire.moc"
