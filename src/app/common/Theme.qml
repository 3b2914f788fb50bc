pragma Singleton
import QtQuick
import Kestovar

// The shared palette and text sizes; follows the appearance and text-size preferences.
QtObject {
    // The desktop's own scheme (freedesktop appearance setting, else the palette).
    readonly property bool systemDark: SystemAppearance.dark
    readonly property bool dark: AppState.appearance === AppearancePreference.Dark
                                 || (AppState.appearance === AppearancePreference.System && systemDark)

    readonly property color brand: "#000CBB"
    readonly property color brandLight: "#3340E5"
    readonly property color brandAccent: dark ? "#8A93FF" : brand
    readonly property color onlineDot: "#34C759"
    readonly property color warning: "#FF9500"
    readonly property color danger: "#FF3B30"

    readonly property color window: dark ? "#1E1E22" : "#F5F5F7"
    readonly property color surface: dark ? "#2A2A30" : "#FFFFFF"
    readonly property color sidebar: dark ? "#24242A" : "#ECECF1"
    readonly property color text: dark ? "#F2F2F7" : "#1C1C1E"
    readonly property color secondaryText: dark ? "#A1A1AA" : "#6B6B73"
    readonly property color separator: dark ? "#3A3A42" : "#D8D8DE"
    readonly property color selection: dark ? "#34366B" : "#DCDFFF"
    readonly property color tertiaryText: dark ? "#7C7C86" : "#8E8E96"
    readonly property color controlBackground: dark ? "#3A3A42" : "#E9E9EE"
    readonly property color textBackground: dark ? "#1B1B1F" : "#FFFFFF"
    readonly property color blue: "#0A84FF"
    readonly property color green: "#30D158"
    readonly property color orange: warning
    readonly property color red: danger

    // The brand colour at an opacity, for selections and tints.
    function brandAt(opacity) { return Qt.rgba(0, 12 / 255, 187 / 255, opacity) }
    function tint(c, opacity) { return Qt.rgba(c.r, c.g, c.b, opacity) }

    readonly property real fontScale: TextScale.factor(AppState.fontSize)
    // Sizes are the design's points (one per logical pixel, as the screens were
    // drawn), set as fractional font points so that nothing is rounded.
    readonly property real pointScale: fontScale * TextScale.pointsPerPixel

    readonly property color rowSelection: brandAt(0.08)
    // The hue of a conversation status: its pill's tint.
    function statusColor(status) {
        switch (status) {
        case ConversationStatus.Waiting: return warning
        case ConversationStatus.OperatorActive: return brandAccent
        case ConversationStatus.Resolved: return green
        }
        return blue
    }
    // The status's text on that tint: a shade of the hue that small text reads
    // in (at least 4.5:1). The bright hues themselves fade into their own tint
    // on a light window, and the brand's dark blue into a dark one.
    function statusInk(status) {
        switch (status) {
        case ConversationStatus.Waiting: return dark ? warning : "#8A4500"
        case ConversationStatus.OperatorActive: return dark ? "#9AA2FF" : brand
        case ConversationStatus.Resolved: return dark ? green : "#0F662A"
        }
        return dark ? "#5AA9FF" : "#0055AA"
    }

    // The font size of a text style ("body", "caption", …), or of a size in
    // points, scaled with the text-size preference.
    function size(style) {
        if (typeof style === "number")
            return style * pointScale
        const base = { largeTitle: 26, title: 22, title2: 17, title3: 15, headline: 13,
                       body: 13, callout: 12, subheadline: 11, footnote: 10, caption: 10,
                       caption2: 10 }
        return (base[style] !== undefined ? base[style] : 13) * pointScale
    }
}
