// The preferences file keeps the types of what is stored: a switched-off
// toggle is still a Bool `false` when the console starts again.

#include "TypedPreferences.h"
#include "notifications/NotificationManager.h"
#include "platform/Notifier.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;

namespace {

class SilentNotifier final : public Notifier {
public:
    QCoro::Task<NotificationPermission> requestAuthorization() override {
        co_return NotificationPermission::authorized;
    }
    QCoro::Task<NotificationPermission> currentAuthorization() override {
        co_return NotificationPermission::authorized;
    }
    QCoro::Task<std::optional<QString>> post(NotificationRequest) override {
        co_return std::nullopt;
    }
};

} // namespace

class TestTypedPreferences : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void valuesKeepTheirTypesInTheFile() {
        const QString path = dir.filePath("written.json");
        {
            auto settings = openPreferences(path);
            settings->setValue(NotificationManager::kNewMessageKey, false);
            settings->setValue("KestovarMac.appearance", "dark");
            settings->setValue("KestovarMac.signIn.startedAt", qint64(1'733'500'000'123));
            settings->setValue("text", QStringLiteral("false"));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject stored = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(stored["KestovarMac.notif.newMessage"], QJsonValue(false));
        QCOMPARE(stored["KestovarMac.appearance"], QJsonValue("dark"));
        QCOMPARE(stored["KestovarMac.signIn.startedAt"].toInteger(), 1'733'500'000'123);
        QCOMPARE(stored["text"], QJsonValue("false"));
    }

    void aRestartReadsBoolsAsBools() {
        // As a later run finds it (a file this process never wrote, so nothing is cached).
        const QString path = dir.filePath("found.json");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"KestovarMac.notif.newMessage": false,
                       "KestovarMac.notif.escalation": "false",
                       "KestovarMac.signIn.startedAt": 1733500000123})");
        file.close();
        auto settings = openPreferences(path);
        QCOMPARE(settings->value(NotificationManager::kNewMessageKey).typeId(), QMetaType::Bool);
        bool ok = false;
        QCOMPARE(settings->value("KestovarMac.signIn.startedAt").toLongLong(&ok),
                 1'733'500'000'123);
        QVERIFY(ok);
        SilentNotifier notifier;
        NotificationManager manager(&notifier, settings.get());
        QVERIFY(!manager.globallyEnabled(RealtimeEvent::Kind::messageReceived));
        QVERIFY(manager.globallyEnabled(RealtimeEvent::Kind::escalated)); // text: on

        // A file that is not ours is not overwritten silently: it reads as no settings.
        QFile broken(dir.filePath("broken.json"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not json");
        broken.close();
        auto unreadable = openPreferences(broken.fileName());
        QCOMPARE(unreadable->status(), QSettings::FormatError);
        QVERIFY(unreadable->allKeys().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTypedPreferences)
#include "tst_typedpreferences.moc"
