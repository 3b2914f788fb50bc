import QtQuick
import Kestovar

// A country's flag from its two-letter code; the globe when there is none.
Text {
    property var code
    text: AppState.flag(code === undefined ? "" : code)
    font.pixelSize: Theme.size("body")
    Accessible.role: Accessible.StaticText
    Accessible.name: code ? "Country " + code : "Unknown country"
}
