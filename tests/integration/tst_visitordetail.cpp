// The visitor detail's view-model: what it copies and what it opens.

#include "Await.h"
#include "ViewModelWorld.h"
#include "VisitorDetail.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestVisitorDetail : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

    void visitorDetailCopiesAndOpens() {
        await(state->bootstrap());
        await(state->loadLiveVisitors(std::nullopt));
        QVERIFY(!state->liveVisitors().isEmpty());
        const Visitor v = state->liveVisitors().first();
        VisitorDetail detail(state.get(), nullptr);
        detail.setVisitorID(v.visitorID);
        QVERIFY(detail.exists());
        QCOMPARE(detail.location(), visitors::location(v, visitors::Panel::detail));
        QVERIFY(!detail.projectLine().isEmpty()); // all agents listed together: whose visitor
        detail.openPage();
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(v.pageURL)});

        // Addresses from a visitor's browser: copied exactly, opened only as web pages.
        for (const QString& odd : {u"javascript:alert(document.cookie)"_qs,
                                   u"file:///etc/passwd"_qs, u"not a url at all ::"_qs}) {
            sim->withData([&](sim::SimData& d) {
                d.visitors.first().pageUrl = odd;
                return 0;
            });
            await(state->loadLiveVisitors(std::nullopt));
            QCOMPARE(detail.pageURL(), odd);
            QVERIFY(!detail.pageOpens());
            detail.openPage();
            QCOMPARE(browser.opened.size(), 1);
            detail.copyLink();
            QCOMPARE(QGuiApplication::clipboard()->text(), odd);
        }

        // "Open in Inbox": the visitor's agent, in the inbox.
        state->setSelectedSection(AppSection::visitors);
        detail.openInInbox();
        QTRY_COMPARE(state->selectedSection(), AppSection::inbox);
        QCOMPARE(state->selectedProjectID(), v.projectID);
        QVERIFY(detail.projectLine().isEmpty()); // one agent in view

        // The visitor leaves: the panel closes, the selection stays.
        sim->withData([&](sim::SimData& d) {
            d.visitors.removeFirst();
            return 0;
        });
        await(state->loadLiveVisitors(std::nullopt));
        QVERIFY(!detail.exists());
        QCOMPARE(detail.visitorID(), v.visitorID);
    }
};

QTEST_MAIN(TestVisitorDetail)
#include "tst_visitordetail.moc"
