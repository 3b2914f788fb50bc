import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// The figures of the selected agent (or all agents) over 7, 30 or 90 days:
// four key figures, conversations and messages per day, ratings, and the
// busiest agents.
ColumnLayout {
    id: screen
    objectName: "statsView"
    spacing: 0

    StatsModel { id: stats; objectName: "statsModel" }

    ContentHeader {
        Layout.fillWidth: true
        title: "Insights"
        subtitle: stats.subtitle
        SegmentedControl {
            Layout.fillWidth: false
            Layout.preferredWidth: 180
            Layout.maximumWidth: 180
            name: "Range"
            segmentPrefix: "range"
            labels: stats.rangeLabels
            current: stats.rangeIndex
            onChosen: (index) => stats.rangeIndex = index
        }
    }

    LoadFailureBanner {
        objectName: "statsLoadError"
        retryName: "statsRetry"
        Layout.fillWidth: true
        status: stats
    }

    ScrollView {
        id: scroll
        Layout.fillWidth: true
        Layout.fillHeight: true
        contentWidth: availableWidth
        ColumnLayout {
            x: 24
            y: 24
            width: scroll.availableWidth - 48
            spacing: 16

            RowLayout {
                Layout.fillWidth: true
                spacing: 12
                KPICard {
                    objectName: "kpiConversations"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredWidth: 1
                    title: "Conversations"
                    value: stats.conversations
                    delta: stats.conversationsDelta
                    deltaRises: stats.deltaRises
                }
                KPICard {
                    objectName: "kpiMessages"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredWidth: 1
                    title: "Messages"
                    value: stats.messages
                }
                KPICard {
                    objectName: "kpiVisitors"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredWidth: 1
                    title: "Unique visitors"
                    value: stats.uniqueVisitors
                }
                KPICard {
                    objectName: "kpiResolution"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredWidth: 1
                    title: "Resolution rate"
                    value: stats.resolutionRate
                }
            }

            StatsCard {
                objectName: "chartCard"
                Layout.fillWidth: true
                title: "Conversations over time"
                trailing: [
                    LegendEntry { tone: Theme.brandAccent; text: "Conversations" },
                    LegendEntry { tone: Theme.orange; text: "Messages" }
                ]
                Loader {
                    id: chartLoader
                    objectName: "chartLoader"
                    Layout.fillWidth: true
                    Layout.preferredHeight: 200
                    asynchronous: true
                    Component.onCompleted: setSource("StatsChart.qml", { stats: stats })
                }
            }

            RowLayout {
                Layout.fillWidth: true
                Layout.bottomMargin: 24
                spacing: 12
                RatingsCard {
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    Layout.alignment: Qt.AlignTop
                    average: stats.averageRating
                    filled: stats.filledStars
                    rated: stats.ratedText
                }
                TopAgentsCard {
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    Layout.alignment: Qt.AlignTop
                    visible: stats.topAgents.length > 0
                    projects: stats.topAgents
                }
            }
        }
    }
}
