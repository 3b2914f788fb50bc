import QtQuick
import QtQuick.Layouts
import Kestovar

// The strip at the top of a screen: title and subtitle, the agent in view,
// the screen's own controls, and how the live connection stands.
Rectangle {
    id: header
    property string title
    property string subtitle
    property bool showAgentContext: true
    default property alias trailing: trailingRow.data

    implicitHeight: column.implicitHeight + 20
    color: Theme.surface

    ProjectInView { id: project }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 12
        spacing: 10
        ColumnLayout {
            id: column
            Layout.fillWidth: true
            Layout.minimumWidth: 0
            spacing: 2
            Heading {
                objectName: "contentTitle"
                textStyle: "title2"
                text: header.title
            }
            Body {
                objectName: "contentSubtitle"
                textStyle: "callout"
                Layout.fillWidth: true
                visible: header.subtitle.length > 0
                text: header.subtitle
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
                color: Theme.secondaryText
            }
            // Bound to the header's width: a long name or address is elided, never
            // drawn over the next pane.
            RowLayout {
                Layout.fillWidth: true
                Layout.minimumWidth: 0
                visible: header.showAgentContext
                spacing: 6
                Accessible.role: Accessible.StaticText
                Accessible.name: project.name + (project.website ? " " + project.website : "")
                Body {
                    objectName: "projectInView"
                    textStyle: "caption"
                    Layout.maximumWidth: implicitWidth
                    Layout.fillWidth: true
                    Layout.minimumWidth: 0
                    text: project.name
                    elide: Text.ElideRight
                    color: Theme.secondaryText
                    font.weight: Font.Medium
                }
                Body {
                    textStyle: "caption"
                    Layout.fillWidth: true
                    Layout.minimumWidth: 0
                    text: project.website
                    elide: Text.ElideRight
                    color: Theme.tertiaryText
                }
            }
        }
        RowLayout { id: trailingRow; spacing: 8 }
        ConnectionStateIndicator {}
    }
    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: Theme.separator
    }
}
