// Launch at login as an XDG autostart entry, and the desktop entry that makes
// kestovar: links open the console.

#include "LogCapture.h"
#include "LoginItem.h"

#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using kv::LoginItem;

class TestLoginItem : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    QString autostart;

private slots:
    void init() {
        settings = std::make_unique<QSettings>(dir.filePath("prefs.ini"), QSettings::IniFormat);
        settings->clear();
        autostart = dir.filePath("autostart");
        QDir(autostart).removeRecursively();
    }

    void firstLaunchTurnsItOn() {
        LoginItem item(settings.get(), autostart, "/opt/kestovar/bin/kestovar");
        item.reconcileAtLaunch();
        QVERIFY(item.isEnabled());
        QCOMPARE(settings->value(LoginItem::kWishKey).toBool(), true);
        QFile entry(item.entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("Exec=/opt/kestovar/bin/kestovar\n"));
        QVERIFY(item.entryPath().endsWith("/autostart/com.kestovar.Kestovar.desktop"));
        if (!QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
            QCOMPARE(QProcess::execute("desktop-file-validate", {item.entryPath()}), 0);
    }

    void storedWishWins() {
        LoginItem item(settings.get(), autostart, "/usr/bin/kestovar");
        QVERIFY(item.setEnabled(true));
        settings->setValue(LoginItem::kWishKey, false);
        item.reconcileAtLaunch(); // a stored "off" removes an entry that is there
        QVERIFY(!item.isEnabled());

        settings->setValue(LoginItem::kWishKey, "sometimes"); // not a Bool: on, and kept
        item.reconcileAtLaunch();
        QVERIFY(item.isEnabled());
        QCOMPARE(settings->value(LoginItem::kWishKey).toString(), u"sometimes"_qs);
    }

    void toggling() {
        kv::test::LogCapture log;
        LoginItem item(settings.get(), autostart, "/usr/bin/kestovar");
        QVERIFY(item.setEnabled(true));
        QVERIFY(item.setEnabled(true)); // already on: no rewrite, still logged
        QCOMPARE(log.messages("LoginItem"),
                 (QStringList{"login item enabled=1", "login item enabled=1"}));
        QVERIFY(item.setEnabled(false));
        QVERIFY(!QFile::exists(item.entryPath()));
        QCOMPARE(settings->value(LoginItem::kWishKey).toBool(), false);
    }

    void failureIsReportedAndTheWishKept() {
        kv::test::LogCapture log;
        QFile blocker(dir.filePath("file-not-dir"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        LoginItem item(settings.get(), blocker.fileName() + "/autostart", "/usr/bin/kestovar");
        QVERIFY(!item.setEnabled(true));
        QCOMPARE(settings->value(LoginItem::kWishKey).toBool(), true);
        QVERIFY(log.messages("LoginItem").first().startsWith("login item toggle failed: "));
    }

    void urlHandlerEntryIsValid() {
        if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
            QSKIP("desktop-file-validate is not installed");
        QFile in(
            QStringLiteral(KESTOVAR_SOURCE_DIR "/data/desktop/com.kestovar.Kestovar.desktop.in"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QByteArray text = in.readAll();
        QVERIFY(text.contains("MimeType=x-scheme-handler/kestovar;"));
        text.replace("@KESTOVAR_EXEC@", "/usr/bin/kestovar");
        QFile out(dir.filePath("com.kestovar.Kestovar.desktop"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(text);
        out.close();
        QCOMPARE(QProcess::execute("desktop-file-validate", {out.fileName()}), 0);
    }
};

QTEST_GUILESS_MAIN(TestLoginItem)
#include "tst_loginitem.moc"
