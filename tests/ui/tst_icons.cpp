// The symbols of the icon map, as the screens draw them: the same pixels as
// an SVG image of the drawing rendered at twice the size and scaled down,
// at the sizes the screens use and at a text scale that makes them fractional;
// a new symbol or colour redrawn; a name the map lacks drawn as nothing.

#include "IconMap.h"
#include "UiHarness.h"

#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;

namespace {

// Each symbol beside an Image of the same drawing, sized as the icons were
// before they were drawn by an item of their own.
const char* kPairs = R"(
import QtQuick
import Kestovar
Window {
    id: window
    width: 400; height: 200; visible: true
    color: "white"
    required property var urls      // [url for each pair]
    required property var symbols
    required property var tones
    required property var sizes
    property alias icons: icons
    Row {
        id: icons
        Repeater {
            model: window.symbols.length
            Item {
                required property int index
                width: 36; height: 36
                Icon { symbol: window.symbols[index]; color: window.tones[index]; size: window.sizes[index] }
            }
        }
    }
    Row {
        y: 40
        Repeater {
            model: window.symbols.length
            Item {
                required property int index
                width: 36; height: 36
                Item {
                    readonly property real s: window.sizes[index] * Theme.fontScale
                    width: s; height: s
                    Image {
                        anchors.fill: parent
                        sourceSize.width: parent.s * 2
                        sourceSize.height: parent.s * 2
                        source: window.urls[index]
                        fillMode: Image.PreserveAspectFit
                        smooth: true
                    }
                }
            }
        }
    }
}
)";

QString dataUrl(const QString& symbol, const QColor& color) {
    return u"data:image/svg+xml;utf8,"_qs + QString::fromLatin1(QUrl::toPercentEncoding(
                                                QString::fromUtf8(icons::svg(symbol, color))));
}

bool drawsSomething(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

} // namespace

class TestIcons : public QObject {
    Q_OBJECT

    std::unique_ptr<test::UiHarness> ui;

private slots:
    void initTestCase() {
        ui = std::make_unique<test::UiHarness>();
        QVERIFY(ui->load());
    }
    void cleanupTestCase() { ui.reset(); }

    void theMapWritesEachDrawingInTheColourAsked() {
        QVERIFY(icons::has(u"translate"));
        QVERIFY(!icons::has(u"no.such.symbol"));
        QVERIFY(icons::svg(u"no.such.symbol", Qt::red).isEmpty());
        const QByteArray opaque = icons::svg(u"checkmark", QColor(0x12, 0x34, 0x56));
        QVERIFY(opaque.startsWith("<svg "));
        QVERIFY(opaque.contains("stroke=\"#123456\""));
        QVERIFY(!opaque.contains("currentColor"));
        // The SVG reader draws nothing in a colour with alpha: the drawing is
        // opaque, and made translucent as a whole.
        QVERIFY(icons::svg(u"checkmark", QColor(0x12, 0x34, 0x56, 0x80)).contains("\"#123456\""));
        const QImage solid = icons::rendered(u"star.fill"_qs, Qt::black, 24);
        const QImage faint = icons::rendered(u"star.fill"_qs, QColor(0, 0, 0, 102), 24);
        QCOMPARE(qAlpha(solid.pixel(12, 12)), 255);
        QVERIFY(qAbs(qAlpha(faint.pixel(12, 12)) - 102) <= 1);
        // Rendered once and shared.
        const QImage a = icons::rendered(u"checkmark"_qs, Qt::red, 22);
        QCOMPARE(a.size(), QSize(22, 22));
        QCOMPARE(icons::rendered(u"checkmark"_qs, Qt::red, 22).cacheKey(), a.cacheKey());
        QVERIFY(icons::rendered(u"checkmark"_qs, Qt::blue, 22).cacheKey() != a.cacheKey());
        QVERIFY(icons::rendered(u"no.such.symbol"_qs, Qt::red, 22).isNull());
        QVERIFY(icons::rendered(u"checkmark"_qs, Qt::red, 0).isNull());
    }

    // The look is unchanged: symbols at the screens' sizes (8, 11, 16, …) and
    // the fractional ones of a larger text, in the screens' tones.
    void aSymbolLooksAsItsImageDid() {
        const QStringList symbols = {u"translate"_qs,    u"chevron.down"_qs, u"person.circle"_qs,
                                     u"checkmark"_qs,    u"star.fill"_qs,    u"globe"_qs,
                                     u"sun.max.fill"_qs, u"xmark"_qs,        u"bell.badge"_qs,
                                     u"person.2.fill"_qs};
        const QVariantList sizes = {11, 8, 11 * 1.15, 16, 13, 8 * 1.3, 16 * 1.15, 20, 12.5, 26};
        const QList<QColor> tones = {QColor("#5b6bff"), QColor("#8e8e93"), QColor("#ff3b30"),
                                     QColor("#1d1d22"), QColor("#ff9500"), QColor("#8a93ff"),
                                     QColor("#34c759"), QColor("#6b6b73"), QColor("#0a84ff"),
                                     QColor("#af52de")};
        QVariantList urls, toneValues;
        for (qsizetype i = 0; i < symbols.size(); ++i) {
            urls.append(dataUrl(symbols[i], tones[i]));
            toneValues.append(tones[i]);
        }
        QQmlComponent component(&ui->engine());
        component.setData(kPairs, QUrl(u"qrc:/tst_icons/Pairs.qml"_qs));
        std::unique_ptr<QObject> root(component.createWithInitialProperties(
            {{"urls", urls}, {"symbols", symbols}, {"tones", toneValues}, {"sizes", sizes}}));
        QVERIFY2(root, qPrintable(component.errorString()));
        auto* window = qobject_cast<QQuickWindow*>(root.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Every image has loaded (they load apart from the window's frames).
        const auto imagesReady = [&] {
            const QList<QQuickItem*> items = test::UiHarness::itemsOf(window);
            return std::count_if(items.begin(), items.end(), [](QQuickItem* item) {
                       return item->inherits("QQuickImage") &&
                              item->property("status").toInt() == 1; // Image.Ready
                   }) == symbols.size();
        };
        QTRY_VERIFY(imagesReady());
        const QImage shot = window->grabWindow();
        for (qsizetype i = 0; i < symbols.size(); ++i) {
            const QImage glyph = shot.copy(36 * i, 0, 36, 36);
            QVERIFY2(drawsSomething(glyph), qPrintable(symbols[i]));
            QVERIFY2(glyph == shot.copy(36 * i, 40, 36, 36), qPrintable(symbols[i]));
        }
    }

    void aNewSymbolOrColourIsDrawnAndAnUnknownOneIsNot() {
        QQmlComponent component(&ui->engine());
        component.setData(R"(
            import QtQuick
            import Kestovar
            Window {
                width: 40; height: 40; visible: true; color: "white"
                property alias icon: icon
                Icon { id: icon; x: 4; y: 4; symbol: "checkmark"; color: "black"; size: 24 }
            })",
                          QUrl(u"qrc:/tst_icons/One.qml"_qs));
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto* window = qobject_cast<QQuickWindow*>(root.get());
        auto* icon = root->property("icon").value<QQuickItem*>();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Sized by the text scale.
        QCOMPARE(icon->implicitWidth(), icon->property("s").toReal());
        QVERIFY(icon->implicitWidth() >= 24);
        const QImage check = window->grabWindow();
        QVERIFY(drawsSomething(check));

        icon->setProperty("color", QColor("red"));
        const QImage red = window->grabWindow();
        QVERIFY(red != check);
        QVERIFY(red.pixelColor(4 + 12, 4 + 12).red() >= red.pixelColor(4 + 12, 4 + 12).green());

        icon->setProperty("symbol", u"xmark"_qs);
        const QImage cross = window->grabWindow();
        QVERIFY(cross != red);

        icon->setProperty("symbol", u"no.such.symbol"_qs);
        QVERIFY(!drawsSomething(window->grabWindow()));
        icon->setProperty("symbol", u"xmark"_qs);
        QCOMPARE(window->grabWindow(), cross);
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
