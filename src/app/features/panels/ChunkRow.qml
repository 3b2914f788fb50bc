import QtQuick
import QtQuick.Layouts
import Kestovar

// One knowledge chunk the AI retrieved, with its score.
Rectangle {
    id: row
    property retrievedChunkRow chunk
    readonly property color band: chunk.band === ChunkMatch.Good ? Theme.green
                                : chunk.band === ChunkMatch.Fair ? Theme.orange : Theme.red
    implicitHeight: column.implicitHeight + 12
    radius: 6
    color: Theme.tint(Theme.textBackground, 0.5)
    Accessible.role: Accessible.StaticText
    Accessible.name: chunk.title + ", score " + chunk.score + ". " + chunk.snippet

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 6
        spacing: 3
        RowLayout {
            Body {
                textStyle: "caption"
                Layout.fillWidth: true
                text: row.chunk.title
                elide: Text.ElideRight
                font.weight: Font.DemiBold
            }
            Rectangle {
                implicitWidth: score.implicitWidth + 10
                implicitHeight: score.implicitHeight + 2
                radius: height / 2
                color: Theme.tint(row.band, 0.15)
                Body {
                    id: score
                    textStyle: "caption2"
                    anchors.centerIn: parent
                    text: row.chunk.score
                    color: row.band
                    font.weight: Font.DemiBold
                }
            }
        }
        Body {
            textStyle: "caption"
            Layout.fillWidth: true
            text: row.chunk.snippet
            wrapMode: Text.Wrap
            color: Theme.secondaryText
        }
    }
}
