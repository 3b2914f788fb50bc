// The thread's text rules: the translation menu, bubble text cut between
// characters, and Markdown and links that are never obeyed.

#include "BubbleText.h"
#include "LinkPolicy.h"
#include "MarkdownText.h"
#include "TestLocale.h"
#include "TranslationMenu.h"
#include "UiTexts.h"

#include <QTest>

using namespace kv;

class TestThreadRules : public QObject {
    Q_OBJECT

private slots:
    // Run again under a desktop locale that writes "0,76" (the _de run): the
    // numbers the screens show keep their ".".
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void translationMenu() {
        const auto entries = translation::menuEntries("da");
        QCOMPARE(entries.first().label, u"Default (Danish)"_qs);
        QCOMPARE(entries.first().code, std::nullopt);
        QCOMPARE(entries[1].label, u"Match system language"_qs);
        QCOMPARE(entries[1].code, std::nullopt);
        QCOMPARE(entries.size(), 1 + allTranslationLanguages().size());
        const auto norwegian = std::find_if(entries.begin(), entries.end(),
                                            [](const auto& e) { return e.label == u"Norwegian"; });
        QCOMPARE(norwegian->code, std::optional<QString>(u"nb"_qs));
        QCOMPARE(translation::defaultLabel(""), u"Match system language"_qs);
        QCOMPARE(translation::defaultLabel("klingon"), u"Match system language"_qs);

        Message m;
        m.role = MessageRole::system;
        m.content = "Chat started";
        QVERIFY(!translation::translatable(m));
        m.role = MessageRole::user;
        m.content = " \n ";
        QVERIFY(!translation::translatable(m));
        m.content = "Hej";
        QVERIFY(translation::translatable(m));
        QCOMPARE(translation::menuTitle(m), u"Translate"_qs);
        m.translation = "Hi";
        QCOMPARE(translation::menuTitle(m), u"Translate to…"_qs);
        QCOMPARE(translation::toggleLabel(m, false), u"Show translation"_qs);
        m.detectedLanguage = "nb";
        QCOMPARE(translation::toggleLabel(m, false), u"Translated from NB"_qs);
        m.detectedLanguage = "da";
        QCOMPARE(translation::toggleLabel(m, false), u"Translated from Danish"_qs);
        QCOMPARE(translation::toggleLabel(m, true), u"Show original"_qs);
    }

    // A bubble lays out at most its limit, never half a character, and says when it cut.
    void bubbleTextIsCutBetweenCharacters() {
        const QString fits(bubble::kShownCharacters, u'a');
        QCOMPARE(bubble::shownPart(fits), fits);
        QCOMPARE(bubble::shortenedNote(fits), QString());

        const QString longer = fits + u'b';
        QCOMPARE(bubble::shownPart(longer), fits + u'…');
        QCOMPARE(bubble::shortenedNote(longer), u"Shortened — 20,001 characters in all"_qs);

        // An emoji (two UTF-16 units) across the limit is left out whole.
        const QString straddling = QString(bubble::kShownCharacters - 1, u'a') + u"😀 and more"_qs;
        const QString shown = bubble::shownPart(straddling);
        QCOMPARE(shown, QString(bubble::kShownCharacters - 1, u'a') + u'…');
        QVERIFY(!shown.at(shown.size() - 2).isHighSurrogate());
    }

    void markdownIsSafe() {
        const QString html = markdown::toRichText(
            "**bold** and [site](https://example.com) ![tracker](https://evil.example/p.png) "
            "<img src=\"https://evil.example/x.png\"> <b>raw</b>",
            QColor("#123456"));
        QVERIFY(html.contains("<a href=\"https://example.com\">"));
        QVERIFY(!html.contains("<img"));
        QVERIFY(html.contains("<a href=\"https://evil.example/p.png\">")); // the image, as a link
        QVERIFY(!html.contains("<b>raw</b>"));
        QVERIFY(!html.contains("font-size"));
        QVERIFY(html.contains("#123456")); // links in the colour asked for

        QVERIFY(links::isSafeMessageLink(QUrl("https://example.com/a")));
        QVERIFY(links::isSafeMessageLink(QUrl("mailto:help@example.com")));
        QVERIFY(!links::isSafeMessageLink(QUrl("file:///etc/passwd")));
        QVERIFY(!links::isSafeMessageLink(QUrl("javascript:alert(1)")));
        QVERIFY(!links::isSafeMessageLink(QUrl("kestovar://project/p1")));
        QVERIFY(links::isWebPage(QUrl("HTTP://Example.com")));
        QVERIFY(!links::isWebPage(QUrl("mailto:help@example.com")));
        QVERIFY(!links::isWebPage(QUrl("—")));
    }
};

QTEST_GUILESS_MAIN(TestThreadRules)
#include "tst_threadrules.moc"
