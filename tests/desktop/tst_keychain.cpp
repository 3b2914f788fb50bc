// The desktop credential store against the real secret service of the test
// session (an unlocked gnome-keyring), checked from outside with secret-tool.

#include "Await.h"
#include "KeychainCredentialStore.h"

#include <QCoroTask>
#include <QProcess>
#include <QTest>

using kv::CredentialStore;
using kv::KeychainCredentialStore;
using kv::KeychainError;

using kv::test::await;

namespace {

// secret-tool's view of the store: the secrets under our service and account.
QStringList storedSecrets() {
    QProcess tool;
    tool.start("secret-tool", {"search", "--all", "--unlock", "server", CredentialStore::kService,
                               "user", CredentialStore::kAccount});
    tool.waitForFinished(10'000);
    QStringList secrets;
    const QString out =
        QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    for (const QString& line : out.split('\n')) {
        if (line.startsWith("secret = "))
            secrets.append(line.mid(9));
    }
    return secrets;
}

QString lookup() {
    QProcess tool;
    tool.start("secret-tool",
               {"lookup", "server", CredentialStore::kService, "user", CredentialStore::kAccount});
    tool.waitForFinished(10'000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

class TestKeychain : public QObject {
    Q_OBJECT

    KeychainCredentialStore store;
    kv::MemoryCredentialStore memory;

private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("needs the headless desktop session (scripts/test)");
    }

    void init() {
        await(store.clear());
        await(memory.clear());
    }

    void emptyStore() {
        QCOMPARE(await(store.read()), std::nullopt);
        await(store.clear()); // nothing to clear is fine
        QCOMPARE(await(store.read()), std::nullopt);
    }

    void saveReplacesAndLeavesOneItem() {
        QCOMPARE(await(store.save("first-key")), std::nullopt);
        QCOMPARE(await(store.save(u"kv_second-ключ"_qs)), std::nullopt);
        QCOMPARE(await(store.read()), std::optional<QString>(u"kv_second-ключ"_qs));
        QCOMPARE(storedSecrets(), QStringList{u"kv_second-ключ"_qs});
        QCOMPARE(lookup(), u"kv_second-ключ"_qs); // raw UTF-8, no framing
    }

    void leadingByteOrderMarkIsPartOfTheKey() {
        for (kv::CredentialStore* each :
             std::initializer_list<kv::CredentialStore*>{&store, &memory}) {
            QCOMPARE(await(each->save(u"\uFEFFkv_key"_qs)), std::nullopt);
            QCOMPARE(await(each->read()), std::optional<QString>(u"\uFEFFkv_key"_qs));
        }
    }

    void clearRemoves() {
        QCOMPARE(await(store.save("key")), std::nullopt);
        await(store.clear());
        QCOMPARE(await(store.read()), std::nullopt);
        QVERIFY(storedSecrets().isEmpty());
    }

    void keyWithoutExactUtf8IsRefused() {
        QCOMPARE(await(store.save("keep-me")), std::nullopt);
        const QString broken = QString("abc") + QChar(0xD800); // lone surrogate
        const auto error = await(store.save(broken));
        QVERIFY(error);
        QCOMPARE(error->kind, KeychainError::Kind::dataConversion);
        QCOMPARE(await(store.read()), std::optional<QString>(u"keep-me"_qs)); // untouched
    }

    void memoryStoreBehavesAlike() {
        QCOMPARE(await(memory.read()), std::nullopt);
        QCOMPARE(await(memory.save("a")), std::nullopt);
        QCOMPARE(await(memory.save("b")), std::nullopt);
        QCOMPARE(await(memory.read()), std::optional<QString>(u"b"_qs));
        await(memory.clear());
        QCOMPARE(await(memory.read()), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestKeychain)
#include "tst_keychain.moc"
