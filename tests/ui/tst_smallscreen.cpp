// The console on a small laptop screen (1366 × 768): the window opens no
// larger than the screen, and in every section each control is on screen —
// the composer and the sidebar's footer included — not cut off below.

#include "UiHarness.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace kv;

namespace {

// Controls inside a list or a scrolled page may be scrolled out of sight; everything else must
// show.
bool scrolls(const QQuickItem* item) {
    for (const QQuickItem* p = item->parentItem(); p; p = p->parentItem())
        if (p->inherits("QQuickFlickable"))
            return true;
    return false;
}

} // namespace

class TestSmallScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<test::UiHarness> ui;

    // Where an item shows on the screen, and what of the screen can be seen.
    QRectF onScreen(const QQuickItem* item) const {
        return test::UiHarness::sceneRect(item).translated(ui->window()->position());
    }
    static QRectF screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    void expectAllOnScreen(const char* section) {
        QStringList cut;
        for (QQuickItem* item : ui->items()) {
            if (!item->isVisible() || !test::UiHarness::isInteractive(item) || scrolls(item) ||
                item->width() <= 0 || item->height() <= 0)
                continue;
            if (!screen().contains(onScreen(item).adjusted(0.5, 0.5, -0.5, -0.5)))
                cut.append(test::UiHarness::accessibleName(item) + " " + item->objectName());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(QString::fromLatin1(section) + ": " + cut.join(", ")));
    }

    void expectOnScreen(const char* name) {
        QQuickItem* item = ui->find(QString::fromLatin1(name));
        QVERIFY2(item && item->isVisible(), name);
        QVERIFY2(screen().contains(onScreen(item)), name);
    }

private slots:
    void initTestCase() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(available.size(), QSize(1366, 768));
        ui = std::make_unique<test::UiHarness>();
        QVERIFY(ui->load());
        QVERIFY(ui->signIn());
    }
    void cleanupTestCase() { ui.reset(); }

    void windowFitsTheScreen() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const QMargins frame = ui->window()->frameMargins();
        QVERIFY(ui->window()->height() + frame.top() + frame.bottom() <= available.height());
        QVERIFY(ui->window()->width() + frame.left() + frame.right() <= available.width());
    }

    void everySectionIsUsable() {
        // The inbox with a conversation open, where the composer must show.
        QString waiting;
        for (const Conversation& c : ui->state().conversations())
            if (c.status == ConversationStatus::waiting)
                waiting = c.id;
        ui->state().setSelectedConversationID(waiting);
        QTRY_VERIFY(ui->find("composerEditor") && ui->find("composerEditor")->isVisible());
        expectOnScreen("composerEditor");
        expectOnScreen("sendButton");
        expectOnScreen("accountMenuButton");
        expectAllOnScreen("inbox");

        for (AppSection section : {AppSection::visitors, AppSection::stats, AppSection::settings}) {
            ui->state().setSelectedSection(section);
            QTRY_VERIFY(!ui->find("inboxView"));
            QVERIFY(ui->drawn()); // the section's layouts have placed it
            expectOnScreen("accountMenuButton");
            expectAllOnScreen(QMetaEnum::fromType<AppSection>().valueToKey(int(section)));
            ui->state().setSelectedSection(AppSection::inbox);
            QTRY_VERIFY(ui->find("inboxView"));
        }
    }
};

int main(int argc, char** argv) {
    // An offscreen screen the size of the laptop's, frames included.
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(R"({"windowFrameMargins": true, "screens": [{"name": "laptop", "x": 0, "y": 0,
                   "width": 1366, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96,
                   "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    QGuiApplication app(argc, argv);
    TestSmallScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_smallscreen.moc"
