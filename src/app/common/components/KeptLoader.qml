import QtQuick

// A part made the first time it is wanted, then kept: hidden, not destroyed,
// when it is no longer wanted. Nothing is built for a part that never shows,
// and moving away and back (another conversation, another tab) only hides
// and shows it again.
Loader {
    property bool wanted: false
    visible: wanted
    active: false
    onWantedChanged: if (wanted) active = true
    Component.onCompleted: if (wanted) active = true
}
