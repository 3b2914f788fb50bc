// The account settings' view-model: launch at login as the desktop really has
// it (a refusal springs the switch back), the appearance and text size, and
// the translation target shown alike in every window.

#include "AccountSettings.h"
#include "Await.h"
#include "DesktopServices.h"
#include "FreedesktopNotifier.h"
#include "LoginItem.h"
#include "ThreadController.h"
#include "ViewModelWorld.h"
#include "notifications/NotificationManager.h"

#include <QDBusConnection>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace kv;
using kv::test::await;

class TestAccountSettings : public QObject, public test::ViewModelWorld {
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { stop(); }

    void settingsReachTheDesktopAndTheState() {
        await(state->bootstrap());
        // An autostart folder that cannot be made: a file stands where it would go.
        QFile blocker(dir.filePath("blocked"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        LoginItem refusing(settings.get(), dir.filePath("blocked/autostart"), "/usr/bin/kestovar");
        LoginItem working(settings.get(), dir.filePath("autostart"), "/usr/bin/kestovar");
        FreedesktopNotifier absent(QDBusConnection::sessionBus(), "com.kestovar.NoSuchService");
        NotificationManager manager(&absent, settings.get());
        DesktopServices desktop({settings.get(), &refusing, &manager});

        AccountSettings account(state.get(), &desktop, nullptr);
        QVERIFY(!account.launchAtLogin());
        account.setLaunchAtLogin(true); // refused: the switch springs back
        QVERIFY(!account.launchAtLogin());
        DesktopServices desktop2({settings.get(), &working, &manager});
        AccountSettings account2(state.get(), &desktop2, nullptr);
        account2.setLaunchAtLogin(true);
        QVERIFY(account2.launchAtLogin());
        QVERIFY(QFile::exists(working.entryPath()));
        account2.setLaunchAtLogin(false);
        QVERIFY(!QFile::exists(working.entryPath()));

        // A fresh installation: "Match system language"; a choice is stored as its raw text.
        QCOMPARE(account.translationLabels().value(account.translationIndex()),
                 u"Match system language"_qs);
        ThreadController thread(state.get(), nullptr);
        QCOMPARE(thread.translationEntries().first(), u"Default (Match system language)"_qs);
        QSignalSpy entries(&thread, &ThreadController::translationEntriesChanged);
        QSignalSpy otherWindow(&account2, &AccountSettings::translationChanged);
        account.setTranslationIndex(
            int(allTranslationLanguages().indexOf(TranslationLanguage::da)));
        QCOMPARE(settings->value(AppState::kTranslationKey).toString(), u"da"_qs);
        // An open thread's menu, and the settings shown elsewhere, follow at once.
        QCOMPARE(entries.size(), 1);
        QCOMPARE(thread.translationEntries().first(), u"Default (Danish)"_qs);
        QCOMPARE(otherWindow.size(), 1);
        QCOMPARE(account2.translationIndex(), account.translationIndex());

        // The segments: each index stands for its case, whatever order the enumeration has.
        QSignalSpy appearance(&account2, &AccountSettings::appearanceChanged);
        account.setAppearanceIndex(int(AccountSettings::appearanceLabels().indexOf(u"Dark"_qs)));
        QCOMPARE(state->appearance(), AppearancePreference::dark);
        QCOMPARE(appearance.size(), 1);
        QCOMPARE(account2.appearanceIndex(), account.appearanceIndex());
        account.setAppearanceIndex(-1);
        account.setAppearanceIndex(99);
        QCOMPARE(state->appearance(), AppearancePreference::dark); // out of range: nothing
        account.setTextSizeIndex(int(AccountSettings::textSizeLabels().indexOf(u"Extra large"_qs)));
        QCOMPARE(state->fontSize(), FontSizePreference::extraLarge);
        state->setFontSize(FontSizePreference::small);
        QCOMPARE(AccountSettings::textSizeLabels().value(account.textSizeIndex()), u"Small"_qs);
    }
};

QTEST_MAIN(TestAccountSettings)
#include "tst_accountsettings.moc"
