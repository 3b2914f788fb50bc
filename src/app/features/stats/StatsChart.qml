import QtQuick
import QtQuick.Shapes
import Kestovar

// Conversations and messages per day as smooth lines over a light grid; the
// area under the conversations follows its line and fades towards the axis.
// Pointing at a day tells its two counts.
Item {
    id: chart
    objectName: "statsChart"
    required property StatsModel stats
    readonly property color conversationsColor: Theme.brandAccent
    readonly property color messagesColor: Theme.orange
    readonly property color faint: Qt.rgba(Theme.text.r, Theme.text.g, Theme.text.b, 0.1)
    readonly property int gridLines: 4
    readonly property int days: stats.pointCount
    // What the chart draws: the area and the two lines.
    readonly property int count: 3
    Accessible.role: Accessible.Chart
    Accessible.name: "Conversations and messages per day"

    TextMetrics {
        id: widest
        font.pointSize: Theme.size("caption2")
        text: String(chart.stats.chartTop)
    }

    Item {
        id: plot
        x: widest.width + 8
        y: 6
        width: chart.width - x - 6
        height: chart.height - y - widest.height - 10

        // The grid and its values, top to bottom.
        Repeater {
            model: chart.gridLines + 1
            Item {
                required property int index
                y: index * plot.height / chart.gridLines
                width: plot.width
                Rectangle {
                    width: parent.width
                    height: 1
                    color: chart.faint
                }
                Body {
                    textStyle: "caption2"
                    anchors.right: parent.left
                    anchors.rightMargin: 6
                    anchors.verticalCenter: parent.top
                    text: Math.round(chart.stats.chartTop * (chart.gridLines - parent.index) / chart.gridLines)
                    color: Theme.tertiaryText
                    Accessible.ignored: true
                }
            }
        }
        Repeater {
            model: chart.stats.axisLabels
            Body {
                required property axisLabel modelData
                objectName: "axisLabel"
                textStyle: "caption2"
                x: (chart.days > 1 ? modelData.at / (chart.days - 1) * plot.width : plot.width / 2)
                   - width / 2
                y: plot.height + 4
                text: modelData.label
                color: Theme.tertiaryText
                Accessible.ignored: true
            }
        }

        Shape {
            anchors.fill: parent
            ShapePath {
                strokeColor: "transparent"
                strokeWidth: 0
                // From the line's highest day down to the axis.
                fillGradient: LinearGradient {
                    x1: 0
                    y1: { chart.stats.pointCount; return chart.stats.conversationsAreaTop() * plot.height }
                    x2: 0
                    y2: plot.height
                    GradientStop { position: 0; color: Theme.tint(chart.conversationsColor, 0.32) }
                    GradientStop { position: 1; color: Theme.tint(chart.conversationsColor, 0.02) }
                }
                PathPolyline {
                    path: { chart.stats.pointCount; return chart.stats.conversationsArea(plot.width, plot.height) }
                }
            }
            ShapePath {
                strokeColor: chart.conversationsColor
                strokeWidth: 2
                fillColor: "transparent"
                joinStyle: ShapePath.RoundJoin
                capStyle: ShapePath.RoundCap
                PathPolyline {
                    path: { chart.stats.pointCount; return chart.stats.curve(0, plot.width, plot.height) }
                }
            }
            ShapePath {
                strokeColor: chart.messagesColor
                strokeWidth: 2
                fillColor: "transparent"
                joinStyle: ShapePath.RoundJoin
                capStyle: ShapePath.RoundCap
                PathPolyline {
                    path: { chart.stats.pointCount; return chart.stats.curve(1, plot.width, plot.height) }
                }
            }
        }

        // The day pointed at, marked on the plot, its counts in a tip.
        MouseArea {
            id: pointer
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.NoButton
            readonly property int day: containsMouse && chart.days > 0
                                       ? Math.round(mouseX / Math.max(1, width) * (chart.days - 1)) : -1
            Rectangle {
                visible: pointer.day >= 0
                x: chart.days > 1 ? pointer.day / (chart.days - 1) * plot.width : plot.width / 2
                width: 1
                height: plot.height
                color: Theme.tint(Theme.text, 0.25)
            }
            HoverTip {
                shown: pointer.day >= 0
                text: chart.stats.dayTooltip(pointer.day)
            }
        }
    }
}
