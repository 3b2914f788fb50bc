// The snippet library's view-model: lists an agent's snippets, and adds, edits
// and deletes them through the service, each change fetched once.

#include "Await.h"
#include "SnippetLibrary.h"
#include "ViewModelWorld.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestSnippetLibrary : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

    void snippetLibraryEditsThroughTheService() {
        await(state->bootstrap());
        state->setSelectedProjectID(u"p2"_qs);
        SnippetLibrary library(state.get(), nullptr);
        QAbstractItemModelTester tester(library.items(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        library.appear(); // the sidebar's agent, preselected
        QCOMPARE(library.projectID(), u"p2"_qs);
        QTRY_COMPARE(library.items()->rowCount(), 3);
        QVERIFY(!library.loading());

        // Create: trimmed, with the default emoji; the editor closes and the list has it.
        SnippetForm* form = library.editor();
        library.startNew();
        QVERIFY(form->isOpen() && !form->editing());
        QCOMPARE(form->saveLabel(), u"Create"_qs);
        form->setProperty("body", " \n ");
        QVERIFY(!form->canSave());
        form->setProperty("shortcut", "  hours ");
        form->setProperty("body", "\n We open at nine. \n");
        form->setProperty("emoji", "");
        QVERIFY(form->canSave());
        const auto listLoads = [&] {
            return received().count(u"GET /api/v2/projects/p2/snippets"_qs);
        };
        const qsizetype loadsBefore = listLoads();
        form->save();
        QTRY_VERIFY(!form->isOpen());
        QTRY_COMPARE(library.items()->rowCount(), 4);
        QCOMPARE(listLoads(), loadsBefore + 1); // one cache: the list is fetched once
        const auto created = bodiesOf("POST", "/api/v2/projects/p2/snippets");
        QCOMPARE(created.size(), 1);
        QCOMPARE(created[0]["shortcut"].toString(), u"hours"_qs);
        QCOMPARE(created[0]["body"].toString(), u"We open at nine."_qs);
        QCOMPARE(created[0]["emoji"].toString(), u"💬"_qs);

        // Edit: the editor starts with the snippet's fields.
        const Snippet target = library.items()->items().last();
        library.startEditing(target.id);
        QCOMPARE(form->heading(), u"Edit snippet"_qs);
        QCOMPARE(form->property("body").toString(), target.body);
        form->setProperty("title", "Opening hours");
        form->save();
        QTRY_VERIFY(!form->isOpen());
        QCOMPARE(bodiesOf("PUT", "/api/v2/projects/p2/snippets/" + target.id).size(), 1);
        QTRY_COMPARE(library.items()->items().last().title, u"Opening hours"_qs);

        // A refused save keeps the editor open with what was typed, and says why.
        addFault(R"({"method":"POST","path":"/api/v2/projects/p2/snippets","status":422,
                     "body":"shortcut taken","times":1})");
        library.startNew();
        form->setProperty("shortcut", "hours");
        form->setProperty("body", "Typed with care");
        form->save();
        QTRY_VERIFY(!form->error().isEmpty());
        QVERIFY(form->isOpen());
        QVERIFY(form->error().startsWith("Snippet not saved: "));
        QCOMPARE(form->property("body").toString(), u"Typed with care"_qs);
        QVERIFY(!library.loading());
        QCOMPARE(library.items()->rowCount(), 4);
        form->save(); // and saving again works
        QTRY_VERIFY(!form->isOpen());
        QTRY_COMPARE(library.items()->rowCount(), 5);

        // Delete, then a delete the service refuses is the app's notice.
        library.remove(target.id);
        QTRY_COMPARE(library.items()->rowCount(), 4);
        QVERIFY(received().contains("DELETE /api/v2/projects/p2/snippets/" + target.id));
        addFault(
            R"({"method":"DELETE","path":"/api/v2/projects/p2/snippets*","status":500,"times":1})");
        library.remove(library.items()->items().first().id);
        QTRY_VERIFY(state->notices()->text().startsWith("Snippet not deleted: HTTP 500"));
        QCOMPARE(library.items()->rowCount(), 4);

        // Another agent whose list fails to load: said so, never an empty list; Retry loads it.
        addFault(R"({"method":"GET","path":"/api/v2/projects/p3/snippets","status":503,
                     "body":"busy","times":1})");
        library.setProjectID(u"p3"_qs);
        QTRY_COMPARE(library.error(), u"Couldn’t load snippets: HTTP 503: busy"_qs);
        QVERIFY(!library.loading());
        library.retry();
        QTRY_VERIFY(library.items()->rowCount() > 0);
        QCOMPARE(library.error(), QString());
        QVERIFY(library.items()->items().first().id.size() > 0);

        // Back to p2 after its list failed to refresh: what was listed stays, with the reason.
        addFault(R"({"method":"GET","path":"/api/v2/projects/p2/snippets","status":503,
                     "body":"busy","times":1})");
        library.setProjectID(u"p2"_qs);
        QCOMPARE(library.items()->rowCount(), 4); // the cache, at once
        QTRY_VERIFY(!library.error().isEmpty());
        QCOMPARE(library.items()->rowCount(), 4);
    }
};

QTEST_MAIN(TestSnippetLibrary)
#include "tst_snippetlibrary.moc"
