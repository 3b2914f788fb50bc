import QtQuick
import QtQuick.Layouts
import Kestovar

// The average rating as a figure and as five stars, and how many rated.
StatsCard {
    id: card
    objectName: "ratingsCard"
    property string average
    property int filled: 0
    property string rated
    title: "Satisfaction"

    RowLayout {
        spacing: 10
        Accessible.role: Accessible.StaticText
        Accessible.name: card.average + " out of 5, " + card.rated
        Body {
            objectName: "ratingAverage"
            text: card.average
            font.pointSize: Theme.size(28)
            font.weight: Font.DemiBold
        }
        Row {
            spacing: 2
            Repeater {
                model: 5
                Icon {
                    required property int index
                    symbol: index < card.filled ? "star.fill" : "star"
                    color: "#FFCC00"
                    size: 16
                }
            }
        }
    }
    Body {
        textStyle: "callout"
        text: card.rated
        color: Theme.secondaryText
    }
}
