import QtQuick
import Kestovar

// A quieter line under or beside something: plain text in the caption style.
Body {
    textStyle: "caption"
    color: Theme.secondaryText
}
