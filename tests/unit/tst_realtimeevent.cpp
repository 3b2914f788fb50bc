// Reading one frame's JSON into an event, with the titles and bodies the
// notifications show.

#include "records/RealtimeEvent.h"

#include <QTest>

using kv::RealtimeEvent;
using Kind = kv::RealtimeEvent::Kind;

class TestRealtimeEvent : public QObject {
    Q_OBJECT

private slots:
    void titlesAndBodies_data() {
        QTest::addColumn<QString>("json");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("notify");

        QTest::newRow("escalation with preview")
            << R"({"id":"1","type":"conversation.escalated","project_id":"p1","conversation_id":"c1",
                  "data":{"project_name":"Northwind","visitor_name":"Mette","preview":"  Help!\n","notify":true}})"
            << int(Kind::escalated) << "Northwind"
            << "Mette: Help!" << true;
        QTest::newRow("escalation, blank preview, no names")
            << R"({"id":"1","type":"conversation.escalated","data":{"preview":" \n\t "}})"
            << int(Kind::escalated) << "Escalation"
            << "A visitor asked to talk to a human." << false;
        QTest::newRow("message untrimmed")
            << R"({"id":"2","type":"message.received","data":{"preview":" hi ","project_name":"P"}})"
            << int(Kind::messageReceived) << "P"
            << " hi " << false;
        QTest::newRow("message without data") << R"({"id":"2","type":"message.received"})"
                                              << int(Kind::messageReceived) << "New message"
                                              << "New message" << false;
        QTest::newRow("message with empty preview")
            << R"({"id":"2","type":"message.received","data":{"preview":""}})"
            << int(Kind::messageReceived) << "New message"
            << "" << false;
        QTest::newRow("visitor online")
            << R"({"id":"3","type":"visitor.online","data":{"notify":true,"visitor_id":"v"}})"
            << int(Kind::visitorOnline) << "Visitor online"
            << "A visitor is browsing your site." << true;
        QTest::newRow("unknown type")
            << R"({"id":"4","type":"widget.updated","data":{"project_name":"P"}})"
            << int(Kind::unknown) << "widget.updated"
            << "" << false;
        QTest::newRow("null optionals")
            << R"({"id":"5","type":"message.received","project_id":null,"data":{"preview":null,"notify":null}})"
            << int(Kind::messageReceived) << "New message"
            << "New message" << false;
    }

    void titlesAndBodies() {
        QFETCH(QString, json);
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(bool, notify);
        const auto event = RealtimeEvent::fromFrameData(json);
        QVERIFY(event);
        QCOMPARE(int(event->kind), kind);
        QCOMPARE(event->title, title);
        QCOMPARE(event->body, body);
        QCOMPARE(event->notify, notify);
    }

    void identifiers() {
        const auto event = RealtimeEvent::fromFrameData(
            R"({"id":"1","type":"message.received","project_id":"p1","conversation_id":"c9"})");
        QCOMPARE(event->projectID, u"p1"_qs);
        QCOMPARE(event->conversationID, std::optional<QString>(u"c9"_qs));
        QCOMPARE(event->type, u"message.received"_qs);
        const auto bare = RealtimeEvent::fromFrameData(R"({"id":"1","type":"visitor.online"})");
        QCOMPARE(bare->projectID, QString());
        QVERIFY(!bare->conversationID);
        QCOMPARE(RealtimeEvent::kindText(Kind::messageReceived), u"messageReceived"_qs);
    }

    void undecodable_data() {
        QTest::addColumn<QString>("json");
        QTest::newRow("no id") << R"({"type":"message.received"})";
        QTest::newRow("no type") << R"({"id":"1"})";
        QTest::newRow("numeric id") << R"({"id":1,"type":"message.received"})";
        QTest::newRow("mistyped project") << R"({"id":"1","type":"x","project_id":5})";
        QTest::newRow("data not an object") << R"({"id":"1","type":"x","data":"hi"})";
        QTest::newRow("notify as text") << R"({"id":"1","type":"x","data":{"notify":"yes"}})";
        QTest::newRow("unused member mistyped") << R"({"id":"1","type":"x","data":{"role":3}})";
        QTest::newRow("not JSON") << "{\"id\":";
        QTest::newRow("array") << "[]";
    }

    void undecodable() {
        QFETCH(QString, json);
        QVERIFY(!RealtimeEvent::fromFrameData(json));
    }
};

QTEST_GUILESS_MAIN(TestRealtimeEvent)
#include "tst_realtimeevent.moc"
