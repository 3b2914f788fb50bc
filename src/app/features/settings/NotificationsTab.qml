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
                Body {
                    textStyle: "callout"
                    Layout.fillWidth: true
                    text: UiTexts.noNotificationService
                    wrapMode: Text.Wrap
                }
                ActionButton {
                    objectName: "bannerTestButton"
                    text: "Send test notification"
                    enabled: !notif.testing
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
            SwitchRow {
                objectName: "notifyRepeatSound"
                Layout.fillWidth: true
                label: "Repeat the sound until someone answers"
                on: notif.repeatEscalationSound
                onSwitched: (on) => notif.repeatEscalationSound = on
            }
            Rectangle { Layout.fillWidth: true; height: 1; color: Theme.separator }
            RowLayout {
                Layout.fillWidth: true
                spacing: 10
                ActionButton {
                    objectName: "testNotificationButton"
                    text: "Send test notification"
                    enabled: !notif.testing
                    onClicked: notif.sendTestNotification()
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 1
                    Body {
                        objectName: "testResult"
                        textStyle: "callout"
                        Layout.fillWidth: true
                        visible: text.length > 0
                        text: notif.testing ? "Sending…" : notif.testResult
                        color: notif.testDelivered && !notif.testing ? Theme.green : Theme.text
                        font.weight: Font.Medium
                    }
                    Body {
                        objectName: "testReplyNote"
                        textStyle: "caption"
                        Layout.fillWidth: true
                        visible: text.length > 0 && !notif.testing
                        text: notif.testReplyNote
                        wrapMode: Text.Wrap
                        color: Theme.secondaryText
                    }
                }
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            Layout.bottomMargin: 20
            title: "Per-agent mute"
            SettingsNote { text: UiTexts.muteNote }
            Body {
                visible: notif.projects.length === 0
                text: "No agents yet."
                color: Theme.secondaryText
            }
            Repeater {
                model: notif.projects
                ColumnLayout {
                    required property projectMuteRow modelData
                    required property int index
                    Layout.fillWidth: true
                    spacing: 6
                    Rectangle { Layout.fillWidth: true; height: 1; color: Theme.separator; visible: index > 0 }
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        Body {
                            Layout.fillWidth: true
                            text: modelData.emoji + " " + modelData.name
                            elide: Text.ElideRight
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
