// The notification settings' view-model: switches stored where the manager
// reads them, per-agent mutes that reach the service, and a test notification
// that says when nothing answers.

#include "Await.h"
#include "DesktopServices.h"
#include "FreedesktopNotifier.h"
#include "LoginItem.h"
#include "NotificationSettings.h"
#include "ViewModelWorld.h"
#include "notifications/NotificationManager.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestNotificationSettings : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

    void switchesMutesAndTheTest() {
        await(state->bootstrap());
        LoginItem login(settings.get(), dir.filePath("autostart"), "/usr/bin/kestovar");
        // No notification server under this name: the settings say nothing answers.
        FreedesktopNotifier absent(QDBusConnection::sessionBus(), "com.kestovar.NoSuchService");
        NotificationManager manager(&absent, settings.get());
        DesktopServices desktop({settings.get(), &login, &manager});

        // Every switch starts on; off is stored as a Bool the manager honours.
        NotificationSettings notif(state.get(), &desktop, nullptr);
        QVERIFY(notif.escalation() && notif.newMessage() && notif.visitorOnline() &&
                notif.playSound());
        QVERIFY(!notif.repeatEscalationSound()); // the one switch that starts off
        notif.setRepeatEscalationSound(true);
        QCOMPARE(settings->value(NotificationManager::kRepeatEscalationSoundKey), QVariant(true));
        notif.setNewMessage(false);
        QCOMPARE(settings->value(NotificationManager::kNewMessageKey), QVariant(false));
        QVERIFY(!manager.globallyEnabled(RealtimeEvent::Kind::messageReceived));

        // Muting an agent reaches the service; the switch shows it.
        notif.setMuted(u"p3"_qs, true);
        QTRY_COMPARE(bodiesOf("PUT", "/api/v2/notification-prefs").size(), 1);
        QCOMPARE(bodiesOf("PUT", "/api/v2/notification-prefs")[0]["project_id"].toString(),
                 u"p3"_qs);
        QCOMPARE(bodiesOf("PUT", "/api/v2/notification-prefs")[0]["muted"].toBool(), true);
        const auto projects = notif.projects();
        const auto p3 = std::find_if(projects.begin(), projects.end(),
                                     [](const ProjectMuteRow& a) { return a.id == u"p3"_qs; });
        QVERIFY(p3 != projects.end() && p3->muted);

        // Nothing answers for notifications here: the banner, and a test that says so.
        notif.appear();
        QTRY_VERIFY(notif.serviceMissing());
        notif.sendTestNotification();
        QTRY_VERIFY(!notif.testing());
        QCOMPARE(notif.testResult(), u"No notification service"_qs);
        QVERIFY(!notif.testDelivered());
    }
};

QTEST_MAIN(TestNotificationSettings)
#include "tst_notificationsettings.moc"
