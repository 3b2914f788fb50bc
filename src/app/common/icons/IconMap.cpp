#include "IconMap.h"

#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <iterator>

namespace kv::icons {

namespace {

struct Drawing {
    const char* name;
    const char* body; // the SVG's inside, in a 24 × 24 box; "currentColor" is the colour asked for
};

// Sorted by name, for the lookup.
constexpr Drawing
    kDrawings
        [] =
            {
                {"arrow.clockwise",
                 R"svg(<path d="M19 12a7 7 0 1 1-2.1-5" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round"/><path d="M17.5 3v4.5H13" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"arrow.down",
                 R"svg(<path d="M12 4v15M6 13l6 6 6-6" fill="none" stroke="currentColor" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"arrow.down.to.line",
                 R"svg(<path d="M12 3v12M7 10.5l5 5 5-5M5 20h14" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"arrow.triangle.2.circlepath",
                 R"svg(<path d="M19 9a7.5 7.5 0 0 0-13.4-2M5 15a7.5 7.5 0 0 0 13.4 2" fill="none" stroke="currentColor" stroke-width="1.9" stroke-linecap="round"/><path d="M4 3.5v4h4M20 20.5v-4h-4" fill="none" stroke="currentColor" stroke-width="1.9" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"arrow.up.right.square",
                 R"svg(<rect x="3" y="3" width="18" height="18" rx="4" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M9 15l6.5-6.5M10 8.5h5.5V14" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"arrow.uturn.backward",
                 R"svg(<path d="M9 14 4 9l5-5" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/><path d="M4 9h10a6 6 0 0 1 0 12h-3" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round"/>)svg"},
                {"arrow.uturn.right",
                 R"svg(<path d="M15 4l5 5-5 5" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/><path d="M20 9H10a6 6 0 0 0 0 12h3" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round"/>)svg"},
                {"bell.badge",
                 R"svg(<path d="M12 3.5a5.5 5.5 0 0 0-5.5 5.5v4.2L4.8 16.5h14.4l-1.7-3.3V9A5.5 5.5 0 0 0 12 3.5z" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linejoin="round"/><path d="M10 19a2 2 0 0 0 4 0" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/><circle cx="18.5" cy="5.5" r="3" fill="#FF3B30"/>)svg"},
                {"bubble.left.and.bubble.right", R"svg(<path d="M3 4h11a2 2 0 0 1 2 2v6a2 2 0 0 1-2 2H8l-4 3v-3H3a2 2 0 0 1-2-2V6a2 2 0 0 1 2-2z" fill="none" stroke="currentColor" stroke-width="1.6" stroke-linejoin="round"/><path d="M18.5 8H21a2 2 0 0 1 2 2v6a2 2 0 0 1-2 2h-1v3l-4-3h-5a2 2 0 0 1-2-2" fill="none" stroke="currentColor" stroke-width="1.6" stroke-linejoin="round"/>)svg"},
                {"bubble.left.and.bubble.right.fill",
                 R"svg(<path d="M3 4h11a2 2 0 0 1 2 2v6a2 2 0 0 1-2 2H8l-4 3v-3H3a2 2 0 0 1-2-2V6a2 2 0 0 1 2-2z" fill="currentColor"/><path d="M18 8h3a2 2 0 0 1 2 2v6a2 2 0 0 1-2 2h-1v3l-4-3h-5a2 2 0 0 1-2-2v-1h6a3 3 0 0 0 3-3z" fill="currentColor" opacity="0.75"/>)svg"},
                {"bubble.left.fill",
                 R"svg(<path d="M4 3h16a2 2 0 0 1 2 2v10a2 2 0 0 1-2 2H10l-5 4v-4H4a2 2 0 0 1-2-2V5a2 2 0 0 1 2-2z" fill="currentColor"/>)svg"},
                {"chart.line.uptrend.xyaxis",
                 R"svg(<path d="M3 3v18h18" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round"/><path d="m6 16 4-5 3 3 6-7" fill="none" stroke="currentColor" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"checkmark",
                 R"svg(<path d="M4.5 12.5 9.5 17.5 19.5 6.5" fill="none" stroke="currentColor" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"checkmark.circle",
                 R"svg(<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M7.5 12.5l3 3 6-6.5" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"checkmark.circle.fill",
                 R"svg(<circle cx="12" cy="12" r="10" fill="currentColor"/><path d="M7.5 12.5l3 3 6-6.5" fill="none" stroke="#FFFFFF" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"chevron.down",
                 R"svg(<path d="M5 9l7 7 7-7" fill="none" stroke="currentColor" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"chevron.right",
                 R"svg(<path d="M9 5l7 7-7 7" fill="none" stroke="currentColor" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"chevron.up",
                 R"svg(<path d="M5 15l7-7 7 7" fill="none" stroke="currentColor" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"clock",
                 R"svg(<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M12 6.5V12l3.5 2.5" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/>)svg"},
                {"clock.arrow.circlepath",
                 R"svg(<path d="M3.5 12A8.5 8.5 0 1 0 6 6" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/><path d="M2.5 3.5V8h4.5" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round"/><path d="M12 7.5V12l3 2" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/>)svg"},
                {"command",
                 R"svg(<path d="M9 9V6.5A2.5 2.5 0 1 0 6.5 9H17.5A2.5 2.5 0 1 0 15 6.5V17.5A2.5 2.5 0 1 0 17.5 15H6.5A2.5 2.5 0 1 0 9 17.5z" fill="none" stroke="currentColor" stroke-width="1.7"/>)svg"},
                {"desktopcomputer",
                 R"svg(<rect x="2.5" y="4" width="19" height="12.5" rx="2" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M9 20.5h6M12 16.5v4" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/>)svg"},
                {"doc.on.doc",
                 R"svg(<rect x="8" y="8" width="12" height="14" rx="2" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M16 5V4a2 2 0 0 0-2-2H6a2 2 0 0 0-2 2v11a2 2 0 0 0 2 2h1" fill="none" stroke="currentColor" stroke-width="1.8"/>)svg"},
                {"doc.text",
                 R"svg(<path d="M6 2.5h8l5 5V21a.5.5 0 0 1-.5.5h-12A.5.5 0 0 1 6 21z" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linejoin="round"/><path d="M9 12h7M9 15.5h7M9 8.5h3" stroke="currentColor" stroke-width="1.6" stroke-linecap="round"/>)svg"},
                {"ellipsis",
                 R"svg(<circle cx="5" cy="12" r="2" fill="currentColor"/><circle cx="12" cy="12" r="2" fill="currentColor"/><circle cx="19" cy="12" r="2" fill="currentColor"/>)svg"},
                {"exclamationmark.bubble",
                 R"svg(<path d="M4 3h16a2 2 0 0 1 2 2v10a2 2 0 0 1-2 2h-9l-5 4v-4H4a2 2 0 0 1-2-2V5a2 2 0 0 1 2-2z" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linejoin="round"/><path d="M12 6.5v5" stroke="currentColor" stroke-width="2" stroke-linecap="round"/><circle cx="12" cy="14" r="1.2" fill="currentColor"/>)svg"},
                {"exclamationmark.triangle.fill",
                 R"svg(<path d="M12 3 22 20H2z" fill="currentColor" stroke="currentColor" stroke-width="1.5" stroke-linejoin="round"/><path d="M12 9v5.5" stroke="#FFFFFF" stroke-width="2" stroke-linecap="round"/><circle cx="12" cy="17.2" r="1.2" fill="#FFFFFF"/>)svg"},
                {"gearshape.fill",
                 R"svg(<path d="M10.3 2h3.4l.5 2.6 1.7.8 2.2-1.5 2.4 2.4-1.5 2.2.8 1.7 2.6.5v3.4l-2.6.5-.8 1.7 1.5 2.2-2.4 2.4-2.2-1.5-1.7.8-.5 2.6h-3.4l-.5-2.6-1.7-.8-2.2 1.5-2.4-2.4 1.5-2.2-.8-1.7L2 13.7v-3.4l2.6-.5.8-1.7-1.5-2.2 2.4-2.4 2.2 1.5 1.7-.8zM12 8.5a3.5 3.5 0 1 0 0 7 3.5 3.5 0 0 0 0-7z" fill="currentColor" fill-rule="evenodd"/>)svg"},
                {"globe",
                 R"svg(<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M2.5 12h19M12 2.5c3 3 3 16 0 19M12 2.5c-3 3-3 16 0 19" fill="none" stroke="currentColor" stroke-width="1.5"/>)svg"},
                {"info.circle", R"svg(<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M12 11v6" stroke="currentColor" stroke-width="2" stroke-linecap="round"/><circle cx="12" cy="7.5" r="1.3" fill="currentColor"/>)svg"},
                {"line.3.horizontal.decrease.circle",
                 R"svg(<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M7 9h10M9 12.5h6M11 16h2" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/>)svg"},
                {"magnifyingglass",
                 R"svg(<circle cx="10.5" cy="10.5" r="6.5" fill="none" stroke="currentColor" stroke-width="2"/><path d="M15.5 15.5 21 21" stroke="currentColor" stroke-width="2.4" stroke-linecap="round"/>)svg"},
                {"moon.fill",
                 R"svg(<path d="M20 14.5A8.5 8.5 0 1 1 9.5 4a7 7 0 0 0 10.5 10.5z" fill="currentColor"/>)svg"},
                {"paperplane.fill",
                 R"svg(<path d="M2.5 11.2 21 3.5l-7.7 18.5-2.6-7.6z" fill="currentColor"/><path d="M10.7 14.4 21 3.5" stroke="#FFFFFF" stroke-opacity="0.5" stroke-width="1.2"/>)svg"},
                {"pencil",
                 R"svg(<path d="M4 20l1-4.5L15.5 5a2.1 2.1 0 0 1 3 3L8 18.5z" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linejoin="round"/><path d="M13.5 7l3 3" stroke="currentColor" stroke-width="1.8"/>)svg"},
                {"person.2.fill",
                 R"svg(<circle cx="9" cy="8" r="3.6" fill="currentColor"/><path d="M2 19.5c0-3.6 3.1-5.8 7-5.8s7 2.2 7 5.8z" fill="currentColor"/><circle cx="16.5" cy="7.5" r="3" fill="currentColor" opacity="0.7"/><path d="M17 13.2c3 .3 5 2.2 5 5.3h-4.6c0-2-.8-3.8-2.2-5z" fill="currentColor" opacity="0.7"/>)svg"},
                {"person.2.slash",
                 R"svg(<circle cx="9" cy="8" r="3.5" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M2.5 20c0-3.6 2.9-6 6.5-6s6.5 2.4 6.5 6" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/><circle cx="17" cy="8.5" r="2.8" fill="none" stroke="currentColor" stroke-width="1.6"/><path d="M17.5 14c2.4.3 4 2.2 4 5" fill="none" stroke="currentColor" stroke-width="1.6" stroke-linecap="round"/><path d="M3 3l18 18" stroke="currentColor" stroke-width="2" stroke-linecap="round"/>)svg"},
                {"person.2.wave.2.fill",
                 R"svg(<circle cx="9" cy="8" r="3.5" fill="currentColor"/><path d="M2.5 19a6.5 6.5 0 0 1 13 0z" fill="currentColor"/><path d="M17 5.5a4 4 0 0 1 0 6M19.5 3.5a7 7 0 0 1 0 10" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/>)svg"},
                {"person.circle",
                 R"svg(<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="1.8"/><circle cx="12" cy="10" r="3.2" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M6.3 18.5c1.3-2.3 3.3-3.5 5.7-3.5s4.4 1.2 5.7 3.5" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/>)svg"},
                {"person.fill",
                 R"svg(<circle cx="12" cy="8" r="4" fill="currentColor"/><path d="M4 20.5c0-4 3.6-6.5 8-6.5s8 2.5 8 6.5z" fill="currentColor"/>)svg"},
                {"person.fill.badge.plus",
                 R"svg(<circle cx="10" cy="8" r="4" fill="currentColor"/><path d="M2 20.5c0-4 3.6-6.5 8-6.5 1.7 0 3.2.4 4.5 1L13 20.5z" fill="currentColor"/><path d="M18.5 13.5v7M15 17h7" stroke="currentColor" stroke-width="2" stroke-linecap="round"/>)svg"},
                {"person.fill.checkmark",
                 R"svg(<circle cx="10" cy="8" r="4" fill="currentColor"/><path d="M2 20.5c0-4 3.6-6.5 8-6.5 1.7 0 3.2.4 4.5 1L13 20.5z" fill="currentColor"/><path d="M15 17.5l2.3 2.3 4.7-5" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"plus",
                 R"svg(<path d="M12 5v14M5 12h14" stroke="currentColor" stroke-width="2.2" stroke-linecap="round"/>)svg"},
                {"plus.circle.fill",
                 R"svg(<circle cx="12" cy="12" r="10" fill="currentColor"/><path d="M12 7v10M7 12h10" stroke="#FFFFFF" stroke-width="2.2" stroke-linecap="round"/>)svg"},
                {"safari",
                 R"svg(<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="2"/><path d="M15.5 8.5 13 13l-4.5 2.5L11 11z" fill="currentColor"/>)svg"},
                {"sidebar.leading",
                 R"svg(<rect x="2.5" y="4" width="19" height="16" rx="3" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M9 4v16" stroke="currentColor" stroke-width="1.8"/><path d="M4.5 8H7M4.5 11H7" stroke="currentColor" stroke-width="1.5" stroke-linecap="round"/>)svg"},
                {"sidebar.right",
                 R"svg(<rect x="2.5" y="4" width="19" height="16" rx="3" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M15 4v16" stroke="currentColor" stroke-width="1.8"/><path d="M17 8h2.5M17 11h2.5" stroke="currentColor" stroke-width="1.5" stroke-linecap="round"/>)svg"},
                {"sparkles",
                 R"svg(<path d="M10 2l1.8 5.2L17 9l-5.2 1.8L10 16l-1.8-5.2L3 9l5.2-1.8zM18 14l.9 2.1L21 17l-2.1.9L18 20l-.9-2.1L15 17l2.1-.9z" fill="currentColor"/>)svg"},
                {"star",
                 R"svg(<path d="M12 3.2l2.6 5.6 6.1.7-4.5 4.2 1.2 6.1L12 16.8l-5.4 3 1.2-6.1-4.5-4.2 6.1-.7z" fill="none" stroke="currentColor" stroke-width="1.6" stroke-linejoin="round"/>)svg"},
                {"star.fill",
                 R"svg(<path d="M12 3.2l2.6 5.6 6.1.7-4.5 4.2 1.2 6.1L12 16.8l-5.4 3 1.2-6.1-4.5-4.2 6.1-.7z" fill="currentColor" stroke="currentColor" stroke-width="1.6" stroke-linejoin="round"/>)svg"},
                {"sun.max.fill",
                 R"svg(<circle cx="12" cy="12" r="4.5" fill="currentColor"/><g stroke="currentColor" stroke-width="2" stroke-linecap="round"><path d="M12 2v2.5M12 19.5V22M2 12h2.5M19.5 12H22M4.9 4.9l1.8 1.8M17.3 17.3l1.8 1.8M4.9 19.1l1.8-1.8M17.3 6.7l1.8-1.8"/></g>)svg"},
                {"tag",
                 R"svg(<path d="M3 3h8l10 10-8 8L3 11z" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linejoin="round"/><circle cx="7.5" cy="7.5" r="1.6" fill="currentColor"/>)svg"},
                {"text.app",
                 R"svg(<rect x="3" y="3" width="18" height="18" rx="4.5" fill="none" stroke="currentColor" stroke-width="1.8"/><path d="M8 8.5h8M12 8.5V17" stroke="currentColor" stroke-width="2" stroke-linecap="round"/>)svg"},
                {"text.bubble",
                 R"svg(<path d="M4 4h16a2 2 0 0 1 2 2v9a2 2 0 0 1-2 2h-8l-5 4v-4H4a2 2 0 0 1-2-2V6a2 2 0 0 1 2-2z" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linejoin="round"/><path d="M7 9h10M7 12.5h6" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/>)svg"},
                {"translate",
                 R"svg(<path d="M3 5h9M7.5 3v2M5 5c.6 3 2.6 5.5 5.5 7M10 5c-.6 3-2.6 5.5-5.5 7" fill="none" stroke="currentColor" stroke-width="1.7" stroke-linecap="round"/><path d="M12 21l4-10 4 10M13.5 17.5h5" fill="none" stroke="currentColor" stroke-width="1.7" stroke-linecap="round" stroke-linejoin="round"/>)svg"},
                {"trash",
                 R"svg(<path d="M4 6.5h16M9.5 6.5V4.5h5v2M6 6.5l1 13a1 1 0 0 0 1 1h8a1 1 0 0 0 1-1l1-13" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round"/><path d="M10 10.5v6M14 10.5v6" stroke="currentColor" stroke-width="1.6" stroke-linecap="round"/>)svg"},
                {"tray",
                 R"svg(<path d="M4 4h16l2 9v6a1 1 0 0 1-1 1H3a1 1 0 0 1-1-1v-6zm0.1 9H8l1 2h6l1-2h3.9" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linejoin="round"/>)svg"},
                {"tray.fill",
                 R"svg(<path d="M4 4h16l2 9v6a1 1 0 0 1-1 1H3a1 1 0 0 1-1-1v-6zm1.6 2-1.5 7H8l1 2h6l1-2h3.9l-1.5-7z" fill="currentColor" fill-rule="evenodd"/>)svg"},
                {"xmark",
                 R"svg(<path d="M6 6l12 12M18 6 6 18" stroke="currentColor" stroke-width="2.2" stroke-linecap="round"/>)svg"},
};

const Drawing* find(QStringView name) {
    const auto at = std::lower_bound(
        std::begin(kDrawings), std::end(kDrawings), name,
        [](const Drawing& d, QStringView n) { return QLatin1StringView(d.name) < n; });
    return at != std::end(kDrawings) && QLatin1StringView(at->name) == name ? at : nullptr;
}

struct RenderedKey {
    QString name;
    QRgb color;
    int pixels;
    bool operator==(const RenderedKey&) const = default;
};

size_t qHash(const RenderedKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.name, key.color, key.pixels);
}

} // namespace

bool has(QStringView name) {
    return find(name) != nullptr;
}

QByteArray svg(QStringView name, const QColor& color) {
    const Drawing* drawing = find(name);
    if (!drawing)
        return {};
    // Opaque: the SVG reader takes no alpha in a colour (a translucent one
    // would draw nothing), so rendered() applies it to the whole drawing.
    const QByteArray ink = color.name(QColor::HexRgb).toLatin1();
    return QByteArrayLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">)") +
           QByteArray(drawing->body).replace("currentColor", ink) + QByteArrayLiteral("</svg>");
}

QImage rendered(const QString& name, const QColor& color, int pixels) {
    if (pixels <= 0 || pixels > 1024)
        return {};
    // Shared by every window's render thread. A few dozen symbols at a few
    // sizes and tones: small, so nothing is ever evicted.
    static QMutex lock;
    static QHash<RenderedKey, QImage> cache;
    const RenderedKey key{name, color.rgba(), pixels};
    {
        QMutexLocker locked(&lock);
        if (const auto hit = cache.constFind(key); hit != cache.constEnd())
            return *hit;
    }
    const QByteArray document = svg(name, color);
    if (document.isEmpty())
        return {};
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(document);
    QPainter painter(&image);
    if (color.alpha() != 255)
        painter.setOpacity(color.alphaF());
    renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    painter.end();
    // An image once painted on keeps its paint engine, some kilobytes, for as
    // long as it lives; the copy kept for good has none.
    image = image.copy();
    QMutexLocker locked(&lock);
    cache.insert(key, image);
    return image;
}

} // namespace kv::icons
