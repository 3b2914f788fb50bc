// The snippet rules: what a "/" command matches, how a snippet goes in, and
// what the editor saves.

#include "SnippetRules.h"
#include "TestLocale.h"
#include "UiTexts.h"

#include <QTest>

using namespace kv;

namespace {

Snippet snippet(const char* shortcut, const char* title, const char* body) {
    return Snippet{QString::fromUtf8(shortcut), QString::fromUtf8(shortcut),
                   QString::fromUtf8(title), QString::fromUtf8(body), QStringLiteral("💬")};
}

} // namespace

class TestSnippetRules : public QObject {
    Q_OBJECT

private slots:
    // Run again under a desktop locale that writes "0,76" (the _de run): the
    // numbers the screens show keep their ".".
    void initTestCase() {
        QVERIFY2(kv::test::requestedLocaleApplies(),
                 "the de_DE.UTF-8 locale is not installed (scripts/install-deps generates it)");
    }

    void snippetPicker() {
        const QList<Snippet> all{snippet("hello", "Greeting", "Hi there!"),
                                 snippet("ship", "Shipping times", "We ship in 2 days."),
                                 snippet("refund", "Refunds and HELLO", "Refunds take 5 days.")};
        QCOMPARE(snippets::matching("/", all).size(), 3);
        QCOMPARE(snippets::matching("  /HE", all).size(), 2); // shortcut, then title, in order
        QCOMPARE(snippets::matching("/he", all)[1].shortcut, u"refund"_qs);
        QCOMPARE(snippets::matching("/ship later", all).size(), 1);
        QVERIFY(snippets::matching("hi /hello", all).isEmpty());
        QVERIFY(snippets::matching("\n/hello", all).isEmpty()); // a line break is not trimmed
        QCOMPARE(snippets::matchCount(1), u"1 match"_qs);
        QCOMPARE(snippets::matchCount(3), u"3 matches"_qs);

        QCOMPARE(snippets::insert("  /he world", all[0]), u"Hi there! world"_qs);
        QCOMPARE(snippets::insert("/he", all[0]), u"Hi there!"_qs);
        QCOMPARE(snippets::insert("Thanks ", all[1]), u"Thanks \n\nWe ship in 2 days."_qs);
        QCOMPARE(snippets::insert("", all[1]), u"We ship in 2 days."_qs);
        QCOMPARE(snippets::menuEntry(all[0]), u"💬 Greeting  /hello"_qs);

        QCOMPARE(snippets::sendable("  \n hi \n"), u"hi"_qs);
        QVERIFY(snippets::sendable(" \n\t ").isEmpty());
        QCOMPARE(snippets::withoutCommand("/he world"), u"world"_qs);
        QCOMPARE(snippets::withoutCommand("/he"), QString());
        QCOMPARE(snippets::withoutCommand("plain"), u"plain"_qs);
    }

    void snippetEditorRules() {
        const auto saved = snippets::forSave({" \n booking\t", "  ", "\n Hello there \n", ""});
        QCOMPARE(saved.shortcut, u"booking"_qs);
        QCOMPARE(saved.title, QString()); // an empty title is allowed
        QCOMPARE(saved.body, u"Hello there"_qs);
        QCOMPARE(saved.emoji, u"💬"_qs);
        QCOMPARE(snippets::forSave({"a", "b", "c", " 👋 "}).emoji, u" 👋 "_qs); // not trimmed
        QVERIFY(!snippets::canSave(" \n\t "));
        QVERIFY(snippets::canSave(" x "));
        QCOMPARE(snippets::listTitle(""), u"(untitled)"_qs);
        QCOMPARE(snippets::listTitle("Hours"), u"Hours"_qs);
        QCOMPARE(UiTexts::snippetNotSaved("forbidden"), u"Snippet not saved: forbidden"_qs);
        QCOMPARE(UiTexts::versionLine("1.4.2", "87"), u"Version 1.4.2 · Build 87"_qs);
    }
};

QTEST_GUILESS_MAIN(TestSnippetRules)
#include "tst_snippetrules.moc"
