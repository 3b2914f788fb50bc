// `kestovar --demo` as a user starts it: the embedded service, a sign-in
// through the real callback path, and the signed-in main window.

#include <QProcess>
#include <QTest>

class TestDemo : public QObject {
    Q_OBJECT

private slots:
    void demoReachesTheSignedInWindow() {
        QProcess demo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains("QT_QPA_PLATFORM")) // the session's screen, where there is one
            env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QT_QUICK_BACKEND", "software");
        demo.setProcessEnvironment(env);
        demo.setProcessChannelMode(QProcess::MergedChannels);
        demo.start(QStringLiteral(KESTOVAR_APP), {"--demo"});
        QVERIFY(demo.waitForStarted());
        // Both lines, whichever order the process writes them in.
        QString output;
        const auto shown = [&](const char* line) {
            output += QString::fromUtf8(demo.readAll());
            return output.contains(QLatin1StringView(line));
        };
        QTRY_VERIFY_WITH_TIMEOUT(shown("demo: signed in as alex@kestovar.example"), 30'000);
        QTRY_VERIFY_WITH_TIMEOUT(shown("handleDeepLink: signed in and top-level loaded"), 30'000);
        demo.terminate(); // SIGTERM: a clean quit
        QVERIFY(demo.waitForFinished(10'000));
        QCOMPARE(demo.exitStatus(), QProcess::NormalExit);
        QCOMPARE(demo.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo.moc"
