// A half-written reply survives the console being killed: the real window
// in a process of its own types into the composer, is killed with SIGKILL,
// and a second run of it finds the text when the conversation is opened.
// Both runs sign in to the same simulated account (the simulator builds the
// same account every time) and keep their drafts in the test's folder.

#include "UiHarness.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace kv;

namespace {

const char* const kStepVariable = "KV_DRAFTCRASH_STEP";
const char* const kDirVariable = "KV_DRAFTCRASH_DIR";
const QString kTyped = QStringLiteral("Half-written: let me check the invoice for you");

// One run of the console: types the reply (and waits to be killed), or reads it back.
int runConsole(const QByteArray& step, const QString& directory) {
    test::UiHarness ui({}, {}, directory);
    if (!ui.load() || !ui.signIn())
        return 2;
    QString id;
    for (const Conversation& c : ui.state().conversations())
        if (c.status == ConversationStatus::waiting) {
            id = c.id;
            break;
        }
    ui.state().setSelectedConversationID(id);
    QQuickItem* editor = nullptr;
    if (!QTest::qWaitFor([&] {
            editor = ui.find(QStringLiteral("composerEditor"));
            return editor && editor->isVisible();
        }))
        return 3;
    if (step == "check") {
        std::printf("draft: %s\n", qPrintable(test::UiHarness::text(editor)));
        return 0;
    }
    editor->forceActiveFocus();
    for (const QChar c : kTyped) // real key presses, as the operator types
        QTest::keyClick(ui.window(), c.toLatin1());
    // Away and back: the draft is the console's, not the screen's.
    ui.state().setSelectedSection(AppSection::visitors);
    (void)QTest::qWaitFor([&] { return !ui.find(QStringLiteral("composerEditor")); });
    ui.state().setSelectedSection(AppSection::inbox);
    if (!QTest::qWaitFor([&] {
            editor = ui.find(QStringLiteral("composerEditor"));
            return editor && test::UiHarness::text(editor) == kTyped;
        }))
        return 4;
    const QString file = ui.drafts().filePath();
    if (!QTest::qWaitFor([&] { return QFile::exists(file); }))
        return 5;
    std::printf("typed\n");
    std::fflush(stdout);
    QTest::qWait(600'000); // until killed
    return 6;
}

} // namespace

class TestDraftCrash : public QObject {
    Q_OBJECT

private slots:
    void draftSurvivesSigkill() {
        QTemporaryDir dir;
        const auto start = [&](QProcess& console, const char* step) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(kStepVariable, step);
            env.insert(kDirVariable, dir.path());
            console.setProcessEnvironment(env);
            console.start(QCoreApplication::applicationFilePath());
            QVERIFY(console.waitForStarted());
        };
        const auto waitForLine = [](QProcess& console, const QByteArray& prefix) {
            QByteArray seen;
            (void)QTest::qWaitFor(
                [&] {
                    seen += console.readAllStandardOutput();
                    return seen.contains(prefix) || console.state() == QProcess::NotRunning;
                },
                60'000);
            return seen + console.readAllStandardOutput();
        };

        QProcess first;
        start(first, "type");
        QVERIFY(waitForLine(first, "typed\n").contains("typed\n"));
        first.kill(); // SIGKILL: nothing of the console gets to run
        QVERIFY(first.waitForFinished(10'000));
        QCOMPARE(first.exitStatus(), QProcess::CrashExit);
        const QStringList files = QDir(dir.path()).entryList({"*.json"}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QCOMPARE(QFile::permissions(dir.filePath(files.first())) & 0x0077,
                 QFileDevice::Permissions());

        QProcess second;
        start(second, "check");
        const QByteArray out = waitForLine(second, "draft: ");
        QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(30'000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(out.contains("draft: " + kTyped.toUtf8() + "\n"), out.constData());
    }
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (const QByteArray step = qgetenv(kStepVariable); !step.isEmpty())
        return runConsole(step, qEnvironmentVariable(kDirVariable));
    TestDraftCrash test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_draftcrash.moc"
