// The shortcut table: every key parses, no two actions share a key, and none
// takes a key that text fields or the desktop use.

#include "KeyboardShortcuts.h"

#include <QKeySequence>
#include <QTest>

using namespace kv;

namespace {

QString normalized(const QString& keys) {
    return QKeySequence(keys).toString(QKeySequence::PortableText);
}

} // namespace

class TestShortcuts : public QObject {
    Q_OBJECT

private slots:
    void everyKeyIsOneAndOnlyOnes() {
        QHash<QString, QString> owner; // normalized key → action
        QSet<QString> actions;
        for (const ShortcutEntry& e : shortcutTable()) {
            QVERIFY2(!actions.contains(e.action), qPrintable(e.action));
            actions.insert(e.action);
            QVERIFY2(!e.keys.isEmpty() && !e.description.isEmpty(), qPrintable(e.action));
            for (const QString& k : e.keys) {
                const QKeySequence sequence(k);
                QVERIFY2(sequence.count() == 1, qPrintable(k)); // one chord, no sequences
                QCOMPARE(normalized(k), k);                     // written as Qt writes it
                const QString key = normalized(k);
                QVERIFY2(!owner.contains(key),
                         qPrintable(k + " is both " + owner.value(key) + " and " + e.action));
                owner.insert(key, e.action);
            }
        }
        for (const QString& reserved : reservedKeys()) {
            QVERIFY2(!QKeySequence(reserved).isEmpty(), qPrintable(reserved));
            QVERIFY2(!owner.contains(normalized(reserved)),
                     qPrintable(reserved + " is taken by " + owner.value(normalized(reserved))));
        }
        // The window and the desktop's own modifiers stay free: no Meta (the
        // desktop's), no Ctrl+Alt (workspaces and the session).
        for (auto it = owner.cbegin(); it != owner.cend(); ++it) {
            const QKeyCombination chord = QKeySequence(it.key())[0];
            QVERIFY2(!(chord.keyboardModifiers() & Qt::MetaModifier), qPrintable(it.key()));
            QVERIFY2((chord.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier)) !=
                         (Qt::ControlModifier | Qt::AltModifier),
                     qPrintable(it.key()));
        }
    }

    // The sheet's rows are the table's, in its order, with the keys as shown.
    void sheetEntriesAreTheTable() {
        KeyboardShortcuts shortcuts(nullptr, nullptr);
        const QVariantList entries = shortcuts.entries();
        QCOMPARE(entries.size(), shortcutTable().size());
        for (int i = 0; i < entries.size(); ++i) {
            const QVariantMap row = entries[i].toMap();
            QCOMPARE(row.value("action").toString(), shortcutTable()[i].action);
            QCOMPARE(row.value("keys").toStringList(), shortcutTable()[i].keys);
            QVERIFY(!row.value("shown").toString().isEmpty());
        }
    }
};

QTEST_MAIN(TestShortcuts)
#include "tst_shortcuts.moc"
