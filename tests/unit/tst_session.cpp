// The session: top-level loads answered in the wrong order, the order sign-out
// ends things in, and the unread count that never goes below zero.

#include "Await.h"
#include "ScriptedRepository.h"
#include "state/Session.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace kv;
using kv::test::await;
using kv::test::project;
using kv::test::ScriptedRepository;

class TestSession : public QObject {
    Q_OBJECT

private slots:
    void theLastTopLevelLoadStartedWins() {
        ScriptedRepository repo;
        Session session;
        QAbstractItemModelTester tester(session.projectsModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        session.setStatus(AuthStatus::signedIn, repo.me);
        repo.hold = {"fetchProjects"};
        auto older = session.refreshTopLevel(repo, session.token());
        auto newer = session.refreshTopLevel(repo, session.token());
        const auto calls = repo.waiting("fetchProjects");
        QCOMPARE(calls.size(), 2);
        repo.release(calls[1],
                     ApiResult<QList<Project>>({project("p1", "One"), project("p2", "Two")}));
        QVERIFY(await(std::move(newer)));
        repo.release(calls[0], ApiResult<QList<Project>>({project("p1", "Old")}));
        QVERIFY(await(std::move(older)));
        QCOMPARE(session.projects().size(), 2);
        QCOMPARE(session.project("p1")->name, u"One"_qs);
    }

    // Ending: the token first (work in flight aborts), then the status (the screens
    // stop asking), then what the account loaded.
    void endingRunsInOrder() {
        ScriptedRepository repo;
        repo.projects = {project("p1", "One", 2)};
        Session session;
        session.setStatus(AuthStatus::signedIn, repo.me);
        QVERIFY(await(session.refreshTopLevel(repo, session.token())));
        const Cancellation token = session.token();
        QStringList order;
        connect(&session, &Session::statusChanged, this, [&] {
            order << "status";
            QVERIFY(token.isCancelled());
        });
        connect(&session, &Session::projectsChanged, this, [&] { order << "projects"; });
        session.end();
        QCOMPARE(order, (QStringList{"status", "projects"}));
        QVERIFY(!session.signedIn());
        QVERIFY(!session.token().isCancelled()); // a fresh one for the next session
        QCOMPARE(session.loadState(), LoadState::idle);
    }

    void unreadNeverGoesBelowZero() {
        ScriptedRepository repo;
        repo.projects = {project("p1", "One", 1), project("p2", "Two", 3)};
        Session session;
        session.setStatus(AuthStatus::signedIn, repo.me);
        QVERIFY(await(session.refreshTopLevel(repo, session.token())));
        QCOMPARE(session.unreadTotal(), 4);
        session.markOneRead("p1");
        session.markOneRead("p1");
        session.markOneRead("nope");
        QCOMPARE(session.project("p1")->unreadCount, 0);
        QCOMPARE(session.unreadTotal(), 3);
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
