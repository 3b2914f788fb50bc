import QtQuick
import QtQuick.Layouts
import Kestovar

// An explanation under a setting.
Body {
    textStyle: "caption"
    Layout.fillWidth: true
    wrapMode: Text.Wrap
    color: Theme.secondaryText
}
