// The composer's view-model: sending empties it at once, a refused reply comes
// back with the reason, and the "/" picker finds snippets.

#include "Await.h"
#include "Composer.h"
#include "DraftStore.h"
#include "ThreadController.h"
#include "ViewModelWorld.h"

#include <QTest>

using namespace kv;
using kv::test::await;

class TestComposer : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

    void composerSendsAndGivesBack() {
        await(state->bootstrap());
        await(state->loadConversations(u"p1"_qs));
        DraftStore drafts;
        Composer composer(state.get(), nullptr);
        composer.setDrafts(&drafts);
        const QString id = state->conversations().first().id;
        state->setSelectedConversationID(id);
        QCOMPARE(composer.menuEntries().size(), state->snippets().size());

        composer.setDraft("/");
        QVERIFY(composer.pickerVisible());
        QCOMPARE(composer.matchCount(), u"3 matches"_qs);
        composer.pick(0);
        QCOMPARE(composer.draft(), state->snippets().first().body);

        // Refused: the text returns with the reason, under what was typed since.
        sim::Fault refuse;
        refuse.method = "POST";
        refuse.path = "/api/v2/projects/p1/conversations/" + id + "/send";
        refuse.status = 500;
        refuse.body = "down";
        refuse.times = 1;
        sim->addFault(refuse);
        composer.setDraft("  On my way  ");
        composer.send(true);
        QCOMPARE(composer.draft(), QString());
        composer.setDraft("New line");
        QTRY_COMPARE(composer.failure(), u"Reply not sent: HTTP 500: down"_qs);
        QCOMPARE(composer.draft(), u"New line\nOn my way"_qs);

        // Again, the way it was first sent: with resolving.
        const auto sends = [&] {
            QList<QJsonObject> out;
            for (const QJsonValue& r : sim->requests()) {
                if (r.toObject()["target"].toString() == refuse.path)
                    out.append(r.toObject());
            }
            return out;
        };
        QCOMPARE(sends().size(), 1); // the refused one
        composer.sendAgain();
        QTRY_COMPARE(sends().size(), 2);
        const QJsonObject body =
            QJsonDocument::fromJson(sends().last()["body"].toString().toUtf8()).object();
        QCOMPARE(body["text"].toString(), u"New line\nOn my way"_qs);
        QVERIFY(body["resolve_after"].toBool());
        QTRY_COMPARE(composer.failure(), QString());

        // Drafts belong to their conversation.
        const QString other = state->conversations().at(1).id;
        composer.setDraft("for the first");
        state->setSelectedConversationID(other);
        QCOMPARE(composer.draft(), QString());
        state->setSelectedConversationID(id);
        QCOMPARE(composer.draft(), u"for the first"_qs);
    }
};

QTEST_MAIN(TestComposer)
#include "tst_composer.moc"
