import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kestovar

// Which notifications are posted, per-agent mute, and a test that tells
// whether notifications can be seen at all on this desktop.
ScrollView {
    id: tab
    objectName: "notificationsTab"
    contentWidth: availableWidth

    NotificationSettings { id: notif; objectName: "notificationSettings" }
    onVisibleChanged: if (visible) notif.appear()
    Component.onCompleted: if (visible) notif.appear()

    // A readable column, centred when the window is wide.
    ColumnLayout {
        width: Math.min(tab.availableWidth - 40, 680)
        x: (tab.availableWidth - width) / 2
        spacing: 18

        Item { implicitHeight: 2 }

        Rectangle {
            objectName: "noServiceBanner"
            Layout.fillWidth: true
            visible: notif.serviceMissing
            implicitHeight: bannerRow.implicitHeight + 20
            radius: 10
            color: Qt.rgba(Theme.warning.r, Theme.warning.g, Theme.warning.b, 0.12)
            border.color: Qt.rgba(Theme.warning.r, Theme.warning.g, Theme.warning.b, 0.4)
            Accessible.role: Accessible.AlertMessage
            Accessible.name: UiTexts.noNotificationService
            RowLayout {
                id: bannerRow
                anchors.fill: parent
                anchors.margins: 10
                spacing: 10
                Icon {
                    Layout.alignment: Qt.AlignTop
                    symbol: "exclamationmark.triangle.fill"
                    color: Theme.warning
                    size: 18
                }
                Text {
                    Layout.fillWidth: true
                    text: UiTexts.noNotificationService
                    wrapMode: Text.Wrap
                    color: Theme.text
                    font.pixelSize: Theme.size("callout")
                }
                Button {
                    objectName: "bannerTestButton"
                    text: "Send test notification"
                    enabled: !notif.testing
                    Accessible.name: text
                    onClicked: notif.sendTestNotification()
                }
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            title: "Notify me about"
            SwitchRow {
                objectName: "notifyEscalation"
                Layout.fillWidth: true
                label: "Escalations to a human"
                on: notif.escalation
                onSwitched: (on) => notif.escalation = on
            }
            SwitchRow {
                objectName: "notifyNewMessage"
                Layout.fillWidth: true
                label: "New visitor messages"
                on: notif.newMessage
                onSwitched: (on) => notif.newMessage = on
            }
            SwitchRow {
                objectName: "notifyVisitorOnline"
                Layout.fillWidth: true
                label: "Visitors going online"
                on: notif.visitorOnline
                onSwitched: (on) => notif.visitorOnline = on
            }
            SwitchRow {
                objectName: "notifyPlaySound"
                Layout.fillWidth: true
                label: "Play sound"
                on: notif.playSound
                onSwitched: (on) => notif.playSound = on
            }
            Rectangle { Layout.fillWidth: true; height: 1; color: Theme.separator }
            RowLayout {
                Layout.fillWidth: true
                spacing: 10
                Button {
                    objectName: "testNotificationButton"
                    text: "Send test notification"
                    enabled: !notif.testing
                    Accessible.name: text
                    onClicked: notif.sendTestNotification()
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 1
                    Text {
                        objectName: "testResult"
                        Layout.fillWidth: true
                        visible: text.length > 0
                        text: notif.testing ? "Sending…" : notif.testResult
                        color: notif.testDelivered && !notif.testing ? Theme.green : Theme.text
                        font.pixelSize: Theme.size("callout")
                        font.weight: Font.Medium
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                    Text {
                        objectName: "testReplyNote"
                        Layout.fillWidth: true
                        visible: text.length > 0 && !notif.testing
                        text: notif.testReplyNote
                        wrapMode: Text.Wrap
                        color: Theme.secondaryText
                        font.pixelSize: Theme.size("caption")
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                }
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            Layout.bottomMargin: 20
            title: "Per-agent mute"
            SettingsNote { text: UiTexts.muteNote }
            Text {
                visible: notif.agents.length === 0
                text: "No agents yet."
                color: Theme.secondaryText
                font.pixelSize: Theme.size("body")
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Repeater {
                model: notif.agents
                ColumnLayout {
                    required property var modelData
                    required property int index
                    Layout.fillWidth: true
                    spacing: 6
                    Rectangle { Layout.fillWidth: true; height: 1; color: Theme.separator; visible: index > 0 }
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        Text {
                            Layout.fillWidth: true
                            text: modelData.emoji + " " + modelData.name
                            elide: Text.ElideRight
                            color: Theme.text
                            font.pixelSize: Theme.size("body")
                        }
                        SwitchRow {
                            objectName: "mute_" + modelData.id
                            compact: true
                            label: "Mute " + modelData.name
                            on: modelData.muted
                            onSwitched: (on) => notif.setMuted(modelData.id, on)
                        }
                    }
                }
            }
        }
    }
}
