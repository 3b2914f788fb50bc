// The operator's preferences: stored under their documented keys when
// assigned, noticed only when they change, and the translation target read
// as the engine's code.

#include "state/Preferences.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;

class TestPreferences : public QObject {
    Q_OBJECT

private slots:
    void storedUnderTheirKeysAndNoticedOnChange() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("prefs.ini"), QSettings::IniFormat);
        settings.setValue(Preferences::kFontSizeKey, "extraLarge");
        settings.setValue(Preferences::kAppearanceKey, 7); // not text: the default
        Preferences prefs(&settings);
        QCOMPARE(prefs.fontSize(), FontSizePreference::extraLarge);
        QCOMPARE(prefs.appearance(), AppearancePreference::system);

        QSignalSpy appearance(&prefs, &Preferences::appearanceChanged);
        settings.remove(Preferences::kAppearanceKey);
        prefs.setAppearance(AppearancePreference::system); // the same value: stored, not noticed
        QCOMPARE(settings.value(Preferences::kAppearanceKey).toString(), u"system"_qs);
        QCOMPARE(appearance.size(), 0);
        prefs.setAppearance(AppearancePreference::dark);
        QCOMPARE(appearance.size(), 1);

        QSignalSpy translation(&prefs, &Preferences::translationPreferenceChanged);
        prefs.setTranslationPreference("no");
        prefs.setTranslationPreference("no");
        QCOMPARE(translation.size(), 1);
        QCOMPARE(prefs.translationTargetCode(), u"nb"_qs);

        QSignalSpy panel(&prefs, &Preferences::contextPanelVisibleChanged);
        prefs.setContextPanelVisible(true);
        prefs.setContextPanelVisible(false);
        QCOMPARE(panel.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
