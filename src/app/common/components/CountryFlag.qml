import QtQuick
import Kestovar

// A country's flag from its two-letter code; the globe when there is none.
Body {
    property var code
    text: AppState.flag(code === undefined ? "" : code)
    Accessible.name: code ? "Country " + code : "Unknown country"
}
