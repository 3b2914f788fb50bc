// The composer's view-model: sending empties it at once, a refused reply comes
// back with the reason, and the "/" picker finds snippets.

#include "Await.h"
#include "Composer.h"
#include "DraftStore.h"
#include "ThreadController.h"
#include "UiTexts.h"
#include "ViewModelWorld.h"

#include <QDir>
#include <QFile>
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
        DraftStore drafts(nullptr, {});
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

    // The account's drafts on disk: owner-only, back after a restart, a reply
    // on its way kept until confirmed, gone with resolving and signing out.
    void draftsOnDiskFollowTheAccount() {
        await(state->bootstrap());
        await(state->loadConversations(u"p1"_qs));
        const QString folder = dir.filePath("drafts");
        auto drafts = std::make_unique<DraftStore>(state.get(), folder);
        const QString file = drafts->filePath();
        QVERIFY(!file.isEmpty());
        const QString id = state->conversations().at(0).id;
        const QString other = state->conversations().at(1).id;
        drafts->setText(id, "half a reply");
        drafts->setText(other, "for later");
        QTRY_VERIFY(QFile::exists(file));
        QCOMPARE(QFile::permissions(file) & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QFile::permissions(folder) & 0x0077, QFileDevice::Permissions());

        // A reply the service has not confirmed when the console stops comes
        // back, marked; once confirmed it is gone from the file.
        sim::Fault slow;
        slow.kind = sim::Fault::Kind::delay;
        slow.method = "POST";
        slow.path = "*/send";
        slow.delayMs = 400;
        sim->addFault(slow);
        Composer composer(state.get(), nullptr);
        composer.setDrafts(drafts.get());
        state->setSelectedConversationID(id);
        composer.send(false);
        QCOMPARE(composer.draft(), QString());
        {
            const DraftStore crashed(state.get(), folder);
            QCOMPARE(crashed.entry(id).text, u"half a reply"_qs);
            QCOMPARE(crashed.entry(id).failure, UiTexts::replyUnconfirmed());
            QCOMPARE(crashed.entry(other).text, u"for later"_qs);
        }
        QTRY_VERIFY(drafts->entry(id).sending.isEmpty());
        QCOMPARE(DraftStore(state.get(), folder).entry(id), DraftStore::Entry());

        // Resolved: that draft goes, the others stay.
        await(state->resolve(other));
        QCOMPARE(drafts->entry(other).text, QString());
        drafts->flush();
        QVERIFY(!QFile::exists(file)); // nothing left to keep

        // An expired session keeps the file for the next sign-in; signing out deletes it.
        drafts->setText(id, "kept");
        drafts->flush();
        sim->acceptKey(sim->apiKey(), false);
        await(state->loadConversations(u"p2"_qs));
        QCOMPARE(state->authStatus(), AuthStatus::signedOut);
        QCOMPARE(drafts->entry(id).text, QString());
        QVERIFY(QFile::exists(file));
        sim->acceptKey(sim->apiKey(), true);
        state->api().setApiKey(sim->apiKey());
        await(state->bootstrap());
        QCOMPARE(drafts->entry(id).text, u"kept"_qs);
        state->signOut();
        QVERIFY(!QFile::exists(file));

        // A damaged file restores nothing and breaks nothing.
        QVERIFY(QDir().mkpath(folder));
        QFile damaged(file);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(R"({"c1": [1, {"text": 5}], "c2": {"text": 5, "sending": [null, 3, {}]}})");
        damaged.close();
        state->api().setApiKey(sim->apiKey());
        await(state->bootstrap());
        QCOMPARE(drafts->entry(u"c1"_qs), DraftStore::Entry());
        QCOMPARE(drafts->entry(u"c2"_qs), DraftStore::Entry());
    }
};

QTEST_MAIN(TestComposer)
#include "tst_composer.moc"
