// One console per session: a later launch hands its URL to the first one.

#include "SingleInstance.h"

#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <atomic>
#include <thread>

using kv::SingleInstance;

namespace {

QString uniqueName() {
    return "com.kestovar.Kestovar.test-" + QUuid::createUuid().toString(QUuid::Id128);
}

// A later launch runs in its own thread here, as it would in its own process.
bool forwardFromElsewhere(const QString& name, const QString& message) {
    std::atomic<bool> finished = false;
    bool delivered = false;
    std::thread launch([&] {
        SingleInstance later(name);
        delivered = !later.tryBecomePrimary() && later.forward(message);
        finished = true;
    });
    // The primary answers from this thread's event loop meanwhile.
    (void)QTest::qWaitFor([&] { return finished.load(); }, 10000);
    launch.join();
    return delivered;
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void laterLaunchesHandOver() {
        const QString name = uniqueName();
        SingleInstance primary(name);
        QVERIFY(primary.tryBecomePrimary());
        QVERIFY(primary.listen());
        QSignalSpy urls(&primary, &SingleInstance::urlReceived);
        QSignalSpy activations(&primary, &SingleInstance::activationRequested);

        const QString callback = "kestovar://callback?code=a%26b&state=x%20y&extra=1";
        QVERIFY(forwardFromElsewhere(name, callback));
        QTRY_COMPARE(urls.size(), 1);
        QCOMPARE(urls[0][0].toUrl(), QUrl(callback));
        QCOMPARE(QUrl(callback).query(QUrl::FullyDecoded), u"code=a&b&state=x y&extra=1"_qs);

        QVERIFY(forwardFromElsewhere(name, SingleInstance::kActivate));
        QTRY_COMPARE(activations.size(), 1);
    }

    void staleLockIsTakenOver() {
        const QString name = uniqueName();
        const QString lockPath = SingleInstance::runtimeDirectory() + "/" + name + ".lock";
        // What a killed console leaves behind: a lock naming a process that is gone.
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999\nkestovar\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        SingleInstance next(name);
        QVERIFY(next.tryBecomePrimary());
    }

    void onlyOneKestovarArgumentIsAUrl() {
        QCOMPARE(SingleInstance::urlArgument({"kestovar://project/p1"}),
                 QUrl("kestovar://project/p1"));
        QCOMPARE(SingleInstance::urlArgument({"KESTOVAR://callback?code=1"}),
                 QUrl("KESTOVAR://callback?code=1"));
        QVERIFY(!SingleInstance::urlArgument({"https://example.com"}));
        QVERIFY(!SingleInstance::urlArgument({"--demo"}));
        QVERIFY(!SingleInstance::urlArgument({"kestovar://project/p1", "kestovar://project/p2"}));
        QVERIFY(!SingleInstance::urlArgument({}));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
