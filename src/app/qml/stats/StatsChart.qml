import QtQuick
import QtQuick.Controls
import QtCharts
import Kestovar

// Conversations and messages per day. Loaded only when the stats screen
// first shows, so the chart library costs nothing to operators who never
// open it.
ChartView {
    id: chart
    objectName: "statsChart"
    required property StatsModel stats
    readonly property color conversationsColor: Theme.brandAccent
    readonly property color messagesColor: Theme.orange
    readonly property color faint: Qt.rgba(Theme.text.r, Theme.text.g, Theme.text.b, 0.1)

    antialiasing: true
    legend.visible: false
    backgroundColor: "transparent"
    plotAreaColor: "transparent"
    margins.left: 0
    margins.right: 0
    margins.top: 4
    margins.bottom: 0
    Accessible.role: Accessible.Chart
    Accessible.name: "Conversations and messages per day"

    ValueAxis {
        id: yAxis
        min: 0
        max: chart.stats.chartTop
        tickCount: 5
        labelFormat: "%d"
        labelsColor: Theme.tertiaryText
        labelsFont.pointSize: Theme.size("caption2")
        gridLineColor: chart.faint
        lineVisible: false
    }
    CategoryAxis {
        id: xAxis
        min: 0
        max: Math.max(1, chart.stats.points.length - 1)
        labelsPosition: CategoryAxis.AxisLabelsPositionOnValue
        labelsColor: Theme.tertiaryText
        labelsFont.pointSize: Theme.size("caption2")
        gridLineColor: chart.faint
        lineVisible: false
    }
    // The area under the conversations line, then both lines over it.
    AreaSeries {
        axisX: xAxis
        axisY: yAxis
        color: Qt.rgba(chart.conversationsColor.r, chart.conversationsColor.g,
                       chart.conversationsColor.b, 0.12)
        borderWidth: 0
        upperSeries: LineSeries { id: area }
    }
    SplineSeries {
        id: conversations
        name: "Conversations"
        axisX: xAxis
        axisY: yAxis
        color: chart.conversationsColor
        width: 2
    }
    SplineSeries {
        id: messages
        name: "Messages"
        axisX: xAxis
        axisY: yAxis
        color: chart.messagesColor
        width: 2
    }

    function fill() {
        area.clear()
        conversations.clear()
        messages.clear()
        const old = xAxis.categoriesLabels
        for (let i = old.length - 1; i >= 0; --i)
            xAxis.remove(old[i])
        const points = stats.points
        for (let i = 0; i < points.length; ++i) {
            area.append(i, points[i].conversations)
            conversations.append(i, points[i].conversations)
            messages.append(i, points[i].messages)
        }
        for (const mark of stats.axisLabels)
            xAxis.append(mark.label, mark.at)
    }
    Component.onCompleted: fill()
    Connections {
        target: chart.stats
        function onChanged() { chart.fill() }
    }

    // Pointing at a day tells its two counts.
    MouseArea {
        id: pointer
        x: chart.plotArea.x
        y: chart.plotArea.y
        width: chart.plotArea.width
        height: chart.plotArea.height
        hoverEnabled: true
        acceptedButtons: Qt.NoButton
        property int day: -1
        onPositionChanged: (mouse) => {
            const at = chart.mapToValue(Qt.point(mouse.x + x, mouse.y + y), conversations)
            day = Math.round(at.x)
        }
        onExited: day = -1
        HoverTip { shown: pointer.containsMouse && pointer.day >= 0; text: chart.stats.dayTooltip(pointer.day) }
    }
}
