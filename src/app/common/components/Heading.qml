import QtQuick
import Kestovar

// The title of a screen, card or group: plain text, announced as a heading.
Body {
    textStyle: "headline"
    font.weight: Font.DemiBold
    Accessible.role: Accessible.Heading
}
