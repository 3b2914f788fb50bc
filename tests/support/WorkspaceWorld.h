#pragma once

// The real window signed in to a simulated account of seven agents with six
// conversations each, back in the inbox of all agents before every test: the
// world the inbox and thread tests drive. A test fails on any script error
// the screens raised.

#include "Await.h"
#include "UiHarness.h"
#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace kv::test {

class WorkspaceWorld : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<UiHarness> ui;

    QQuickItem* find(const char* name) const { return ui->find(QString::fromLatin1(name)); }
    QList<QQuickItem*> shown(const char* name) const {
        return ui->visible(QString::fromLatin1(name));
    }

    // The conversation of `status` at the top of the list of agent `projectID`.
    QString conversationWith(const QString& status, const QString& projectID = QString()) {
        return ui->sim().withData([&](sim::SimData& d) {
            for (const auto& c : d.conversations) {
                if (c.status == status && (projectID.isEmpty() || c.projectId == projectID))
                    return c.id;
            }
            return QString();
        });
    }

    // Opens a conversation the way a click on its row does, and waits for its thread.
    void open(const QString& conversationID) {
        QVERIFY(!conversationID.isEmpty());
        ui->state().setSelectedConversationID(conversationID);
        QTRY_COMPARE(find("chatThread")->property("conversationID").toString(), conversationID);
        QTRY_VERIFY(!ui->state().messages(conversationID).isEmpty()); // its detail is in
    }

    // Picks an agent and waits for its own list (the list of all agents holds
    // its conversations too), so that no answer still in flight lands later.
    void selectProject(const QString& projectID) {
        ui->state().setSelectedProjectID(projectID);
        QTRY_VERIFY(!ui->state().conversations().isEmpty() &&
                    std::all_of(ui->state().conversations().begin(),
                                ui->state().conversations().end(),
                                [&](const Conversation& c) { return c.projectID == projectID; }));
    }

    QQuickItem* editor() const { return find("composerEditor"); }

    void type(const QString& text) {
        editor()->setProperty("text", text);
        QTRY_COMPARE(UiHarness::text(editor()), text);
    }

private slots:
    void initTestCase() {
        sim::SimConfig config;
        config.data.conversationsPerAgent = 6;
        ui = std::make_unique<UiHarness>(config);
        QVERIFY(ui->load());
        QVERIFY(ui->signIn());
        QTRY_VERIFY(find("inboxView"));
    }

    void cleanupTestCase() { ui.reset(); }
    // Every binding held: no screen hid a script error behind a passing check.
    void cleanup() {
        const QStringList errors = ui->takeScriptErrors();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    }

    void init() {
        ui->sim().clearFaults(); // also those of a test that failed half-way
        ui->state().setSelectedProjectID(std::nullopt);
        ui->state().setSelectedSection(AppSection::inbox);
        QTRY_COMPARE(ui->state().conversations().size(), 7 * 6);
    }
};

} // namespace kv::test
