#pragma once

// What the screen benchmarks measure against: the bare one-text list (the
// floor), and same-content references: a ListView in a window
// of the console's size whose rows show the same texts and shapes as the
// console's rows (an avatar circle, the same strings, a pill), built the
// cheapest way Qt Quick allows: plain Text and Rectangle on anchors, no
// Controls, no layouts, no bindings to a theme. The rows read a snapshot of
// the console's own model in a QStandardItemModel, so the strings are the
// same and none of the console's model code runs while the reference is
// measured.

#include <QAbstractItemModel>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStandardItemModel>

#include <memory>

namespace kv::bench {

// Every role of every row of `from`, copied under the same role names.
inline std::unique_ptr<QStandardItemModel> snapshot(const QAbstractItemModel* from) {
    auto copy = std::make_unique<QStandardItemModel>();
    const QHash<int, QByteArray> names = from->roleNames();
    copy->setItemRoleNames(names);
    for (int row = 0; row < from->rowCount(); ++row) {
        auto* item = new QStandardItem;
        const QModelIndex index = from->index(row, 0);
        for (auto it = names.constBegin(); it != names.constEnd(); ++it)
            item->setData(index.data(it.key()), it.key());
        copy->appendRow(item);
    }
    return copy;
}

// The floor: one wrapped text a row, nothing else.
inline constexpr char kBareList[] = R"(
import QtQuick
Window {
    width: 1280; height: 820
    property alias list: view
    ListView {
        id: view
        anchors.fill: parent
        delegate: Text {
            required property var modelData
            width: ListView.view.width
            wrapMode: Text.Wrap
            padding: 10
            text: String(modelData)
        }
    }
}
)";

// The inbox's rows: avatar with initials, name and time, the last message,
// the agent, a status pill and the message count.
inline constexpr char kInboxReference[] = R"(
import QtQuick
Window {
    width: 1280; height: 820
    property alias list: view
    ListView {
        id: view
        anchors.fill: parent
        reuseItems: true
        delegate: Item {
            id: row
            required property string initials
            required property string displayName
            required property string relativeTime
            required property string lastMessagePreview
            required property string projectLine
            required property string statusText
            required property int messageCount
            width: ListView.view.width
            height: project.y + project.height + 10
            Rectangle {
                id: avatar
                x: 12; y: 10; width: 36; height: 36; radius: 18
                color: "#ececf0"
                Text { anchors.centerIn: parent; text: row.initials; font.pixelSize: 11; color: "#6e6e78" }
            }
            Text {
                id: name
                x: 58; y: 10
                anchors.right: time.left; anchors.rightMargin: 6
                text: row.displayName; elide: Text.ElideRight; font.pixelSize: 13
            }
            Text {
                id: time
                anchors.right: parent.right; anchors.rightMargin: 12; anchors.baseline: name.baseline
                text: row.relativeTime; font.pixelSize: 11; color: "#6e6e78"
            }
            Text {
                id: preview
                x: 58; anchors.top: name.bottom; anchors.topMargin: 3
                anchors.right: parent.right; anchors.rightMargin: 12
                text: row.lastMessagePreview; elide: Text.ElideRight; maximumLineCount: 1
                font.pixelSize: 11; color: "#6e6e78"
            }
            Text {
                id: project
                x: 58; anchors.top: preview.bottom; anchors.topMargin: 3
                width: Math.min(implicitWidth, row.width - 200)
                text: row.projectLine; elide: Text.ElideRight; font.pixelSize: 11; color: "#9a9aa4"
            }
            Rectangle {
                id: pill
                anchors.left: project.right; anchors.leftMargin: 6; anchors.verticalCenter: project.verticalCenter
                width: pillText.implicitWidth + 12; height: pillText.implicitHeight + 4; radius: height / 2
                color: "#e6f4ec"
                Text { id: pillText; anchors.centerIn: parent; text: row.statusText; font.pixelSize: 10; color: "#2f8a57" }
            }
            Text {
                anchors.left: pill.right; anchors.leftMargin: 6; anchors.verticalCenter: project.verticalCenter
                text: row.messageCount; font.pixelSize: 11; color: "#9a9aa4"
            }
        }
    }
}
)";

// The live visitors' rows under their agents' pinned headers: a logo circle
// with the presence dot, the page title with the "In conversation" pill, the
// address, the journey and when last seen.
inline constexpr char kVisitorsReference[] = R"(
import QtQuick
Window {
    width: 1280; height: 820
    property alias list: view
    ListView {
        id: view
        anchors.fill: parent
        reuseItems: true
        section.property: "section"
        section.criteria: ViewSection.FullString
        section.labelPositioning: ViewSection.InlineLabels | ViewSection.CurrentLabelAtStart
        section.delegate: Rectangle {
            required property string section
            width: ListView.view.width; height: 40
            color: "#f6f6f8"
            Rectangle { id: logo; x: 40; anchors.verticalCenter: parent.verticalCenter; width: 22; height: 22; radius: 11; color: "#8a7fd0" }
            Text {
                anchors.left: logo.right; anchors.leftMargin: 10; anchors.verticalCenter: parent.verticalCenter
                text: section; font.pixelSize: 13; font.bold: true
            }
        }
        delegate: Item {
            id: row
            required property string title
            required property string pageURL
            required property string journey
            required property string lastSeen
            required property bool hasConversation
            required property bool standIn
            width: ListView.view.width
            height: standIn ? 0 : journeyText.y + journeyText.height + 10
            visible: !standIn
            Rectangle {
                id: logo
                x: 20; y: 12; width: 28; height: 28; radius: 14; color: "#8a7fd0"
                Rectangle { x: 19; y: 19; width: 11; height: 11; radius: 5.5; color: "#34c759"; border.color: "white"; border.width: 2 }
            }
            Text {
                id: titleText
                x: 62; y: 10
                width: Math.min(implicitWidth, row.width - 260)
                text: row.title; elide: Text.ElideRight; font.pixelSize: 13
            }
            Rectangle {
                visible: row.hasConversation
                anchors.left: titleText.right; anchors.leftMargin: 6; anchors.verticalCenter: titleText.verticalCenter
                width: pillText.implicitWidth + 12; height: pillText.implicitHeight + 4; radius: height / 2
                color: "#e9ebff"
                Text { id: pillText; anchors.centerIn: parent; text: "In conversation"; font.pixelSize: 10; color: "#5b6bff" }
            }
            Text {
                id: address
                x: 62; anchors.top: titleText.bottom; anchors.topMargin: 2
                anchors.right: time.left; anchors.rightMargin: 14
                text: row.pageURL; elide: Text.ElideMiddle; font.pixelSize: 11; color: "#6e6e78"
            }
            Text {
                id: journeyText
                x: 62; anchors.top: address.bottom; anchors.topMargin: 2
                anchors.right: time.left; anchors.rightMargin: 14
                text: row.journey; elide: Text.ElideRight; font.pixelSize: 11; color: "#9a9aa4"
            }
            Text {
                id: time
                anchors.right: parent.right; anchors.rightMargin: 20; anchors.verticalCenter: parent.verticalCenter
                text: row.lastSeen; font.pixelSize: 11; color: "#9a9aa4"
            }
            Rectangle { x: 20; width: row.width - 20; anchors.bottom: parent.bottom; height: 1; color: "#e4e4e8" }
        }
    }
}
)";

// A thread's messages: a bubble on the visitor's or the agent's side holding
// the message's text, wrapped, with the sender and time under it and an
// avatar circle beside it.
inline constexpr char kThreadReference[] = R"(
import QtQuick
Window {
    width: 1280; height: 820
    property alias list: view
    ListView {
        id: view
        anchors.fill: parent
        spacing: 12
        delegate: Item {
            id: row
            required property string text
            required property bool outgoing
            required property string label
            width: ListView.view.width
            height: bubble.height + caption.height + 4
            Rectangle {
                id: avatar
                x: row.outgoing ? row.width - 48 : 16; width: 28; height: 28; radius: 14
                color: row.outgoing ? "#5b6bff" : "#ececf0"
            }
            Rectangle {
                id: bubble
                x: row.outgoing ? row.width - 56 - width : 52
                width: Math.min(body.implicitWidth, row.width * 0.7 - 24) + 24
                height: body.height + 16
                radius: 14
                color: row.outgoing ? "#5b6bff" : "#f1f1f4"
                Text {
                    id: body
                    x: 12; y: 8
                    width: Math.min(implicitWidth, row.width * 0.7 - 24)
                    text: row.text; wrapMode: Text.Wrap; textFormat: Text.PlainText; font.pixelSize: 13
                    color: row.outgoing ? "white" : "#1d1d22"
                }
            }
            Text {
                id: caption
                anchors.top: bubble.bottom; anchors.topMargin: 4
                x: bubble.x + 4
                text: row.label; font.pixelSize: 10; color: "#9a9aa4"
            }
        }
    }
}
)";

// A window with one reference list, shown at once.
class ReferenceList {
public:
    ReferenceList(QQmlEngine* engine, const char* source) : m_component(engine) {
        m_component.setData(source, QUrl());
        m_root.reset(m_component.create());
        if (!m_root)
            qFatal("%s", qPrintable(m_component.errorString()));
        window()->show();
    }
    QQuickWindow* window() const { return qobject_cast<QQuickWindow*>(m_root.get()); }
    QQuickItem* list() const { return m_root->property("list").value<QQuickItem*>(); }
    void show(QAbstractItemModel* model) {
        list()->setProperty("model", QVariant::fromValue(static_cast<QObject*>(model)));
    }
    void show(const QStringList& texts) { list()->setProperty("model", texts); }
    void clear() { list()->setProperty("model", QVariant()); }

private:
    QQmlComponent m_component;
    std::unique_ptr<QObject> m_root;
};

// The thread's messages as the reference shows them: the same texts, the
// sides and captions the console gives them.
inline std::unique_ptr<QStandardItemModel> threadModel(const QStringList& texts) {
    constexpr int kText = Qt::UserRole + 1, kOutgoing = Qt::UserRole + 2, kLabel = Qt::UserRole + 3;
    auto model = std::make_unique<QStandardItemModel>();
    model->setItemRoleNames({{kText, "text"}, {kOutgoing, "outgoing"}, {kLabel, "label"}});
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto* item = new QStandardItem;
        item->setData(texts[i], kText);
        item->setData(i % 2 == 1, kOutgoing);
        item->setData(i % 2 ? QStringLiteral("AI · 09:%1").arg(i % 60, 2, 10, QChar(u'0'))
                            : QStringLiteral("Visitor · 09:%1").arg(i % 60, 2, 10, QChar(u'0')),
                      kLabel);
        model->appendRow(item);
    }
    return model;
}

} // namespace kv::bench
