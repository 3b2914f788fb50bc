import QtQuick
import Kestovar

// Text shown exactly as it is. Whatever it holds (a visitor's name, a page
// title, the AI's words) is never read as markup: Qt's automatic format would
// render a first line with a known tag as styled text and load its images
// from the network. Named to screen readers by its text.
Text {
    // One of the text styles (body, caption, headline, …), scaled with the text-size preference.
    property string textStyle: "body"
    textFormat: Text.PlainText
    color: Theme.text
    font.pointSize: Theme.size(textStyle)
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
