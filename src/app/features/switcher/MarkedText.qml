import QtQuick
import Kestovar

// A line of plain text in runs, the matched runs in bold and the accent
// colour. Every run is plain text: nothing typed or received is markup.
Row {
    id: marked
    property var segments: []
    property string textStyle: "body"
    property color tone: Theme.text
    clip: true
    Repeater {
        model: marked.segments
        Body {
            id: piece
            required property var modelData
            textStyle: marked.textStyle
            text: piece.modelData.text
            color: piece.modelData.marked ? Theme.brandAccent : marked.tone
            font.weight: piece.modelData.marked ? Font.DemiBold : Font.Normal
        }
    }
}
