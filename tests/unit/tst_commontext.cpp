// Texts every screen shares: initials and the version line, and the
// enumeration names QML sees.

#include "PeopleText.h"
#include "QmlEnums.h"
#include "TestLocale.h"
#include "UiTexts.h"

#include <QMetaEnum>
#include <QTest>

using namespace kv;

class TestCommonText : public QObject {
    Q_OBJECT

private slots:
    // Run again under a desktop locale that writes "0,76" (the _de run): the
    // numbers the screens show keep their ".".
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void initials() {
        QCOMPARE(people::initials("mette hansen"), u"MH"_qs);
        QCOMPARE(people::initials("anna  maria  lund"), u"AM"_qs); // empty pieces dropped
        QCOMPARE(people::initials("Zoë"), u"Z"_qs);
        QCOMPARE(people::initials("   "), QString());
        QCOMPARE(people::initials("👩‍💻 dev"),
                 u"👩‍💻D"_qs); // one perceived character
        QCOMPARE(people::visitorInitials(std::nullopt), u"?"_qs);
        QCOMPARE(people::visitorName(std::nullopt), u"Anonymous visitor"_qs);
    }

    // Each enumeration QML sees has exactly the state's cases, capitalised, at the same values.
    void qmlEnumerationsNameEveryCase() {
        namespace q = qmlenums;
        const QList<std::pair<QMetaEnum, QMetaEnum>> twins{
            {QMetaEnum::fromType<AuthStatus>(), QMetaEnum::fromType<q::AuthStatus::Value>()},
            {QMetaEnum::fromType<AppSection>(), QMetaEnum::fromType<q::AppSection::Value>()},
            {QMetaEnum::fromType<ConnectionState>(),
             QMetaEnum::fromType<q::ConnectionState::Value>()},
            {QMetaEnum::fromType<LoadState>(), QMetaEnum::fromType<q::LoadState::Value>()},
            {QMetaEnum::fromType<AppearancePreference>(),
             QMetaEnum::fromType<q::AppearancePreference::Value>()},
            {QMetaEnum::fromType<FontSizePreference>(),
             QMetaEnum::fromType<q::FontSizePreference::Value>()},
            {QMetaEnum::fromType<ConversationStatus>(),
             QMetaEnum::fromType<q::ConversationStatus::Value>()},
            {QMetaEnum::fromType<MessageRole>(), QMetaEnum::fromType<q::MessageRole::Value>()},
            {QMetaEnum::fromType<NotificationPermission>(),
             QMetaEnum::fromType<q::NotificationPermission::Value>()},
        };
        for (const auto& [state, qml] : twins) {
            QCOMPARE(qml.keyCount(), state.keyCount());
            for (int i = 0; i < state.keyCount(); ++i) {
                QByteArray key(state.key(i));
                key[0] = char(std::toupper(static_cast<unsigned char>(key[0])));
                bool found = false;
                QCOMPARE(qml.keyToValue(key.constData(), &found), state.value(i));
                QVERIFY2(found, qPrintable(QString::fromLatin1(state.name()) + u'.' + key));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCommonText)
#include "tst_commontext.moc"
