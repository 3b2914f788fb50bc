import QtQuick
import QtQuick.Controls
import Kestovar

// A window of the console: its colours follow the theme, controls included.
ApplicationWindow {
    color: Theme.window
    palette.window: Theme.window
    palette.windowText: Theme.text
    palette.base: Theme.surface
    palette.text: Theme.text
    palette.button: Theme.surface
    palette.buttonText: Theme.text
    palette.highlight: Theme.brandAccent
    palette.placeholderText: Theme.tertiaryText
}
