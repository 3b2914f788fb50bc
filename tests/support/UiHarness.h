#pragma once

// The real main window, offscreen, over a state fed by the simulated
// service: what the UI tests drive and look at.

#include "DesktopServices.h"
#include "DraftStore.h"
#include "EngineNetwork.h"
#include "FreedesktopNotifier.h"
#include "LoginItem.h"
#include "RecordingBrowser.h"
#include "SimServer.h"
#include "notifications/NotificationManager.h"
#include "platform/CredentialStore.h"
#include "state/AppState.h"

#include <QNetworkAccessManager>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace kv::test {

class UiHarness {
public:
    // `notificationService`: the desktop's notification service, when not the session's own.
    // `dataDirectory`: where the console keeps the account's drafts, when not a folder of its own.
    explicit UiHarness(sim::SimConfig config = {}, const QString& notificationService = {},
                       const QString& dataDirectory = {});
    ~UiHarness();

    // Loads the main window (the sign-in screen until someone signs in).
    bool load();
    // Signs in through the browser path and waits for the console.
    bool signIn();

    QQuickWindow* window() const;
    // Waits until the window has drawn `frames` more frames: by then its
    // positioners and layouts have placed what changed before the call.
    [[nodiscard]] bool drawn(int frames = 2) const;
    // The first item (or object) with this object name, anywhere in the window.
    QQuickItem* find(const QString& name) const;
    QObject* findObject(const QString& name) const;
    QList<QQuickItem*> findAll(const QString& name) const;
    // Only those shown now (list delegates are kept around while hidden).
    QList<QQuickItem*> visible(const QString& name) const;
    // Every item of the window, in tree order.
    QList<QQuickItem*> items() const;
    // Every item of any window (the settings window, the quick-reply window), popups included.
    static QList<QQuickItem*> itemsOf(QQuickWindow* window);
    // Controls, fields and anything with a click area of its own.
    static bool isInteractive(QQuickItem* item);
    // Text a user types into.
    static bool isTextInput(QQuickItem* item);

    // Visible controls (buttons, fields, anything clickable) a screen reader could not name.
    QStringList unnamedControls() const;

    // Presses a control as assistive technology does (a screen reader, switch
    // access, voice control): through its accessibility press action. False
    // when it offers none. Every control must answer it as a click.
    [[nodiscard]] static bool click(QObject* control);
    // Flips a switch through its accessibility toggle action; false when it offers none.
    [[nodiscard]] static bool flip(QObject* toggle);
    // A real left click of the mouse in the middle of a visible item.
    static void mouseClick(QQuickItem* item);
    // What a screen reader calls an item.
    static QString accessibleName(QObject* item);
    // The names of the accessibility actions an item offers.
    static QStringList actionNames(QObject* item);
    static bool doAction(QObject* item, const QString& action);
    // The text of a text item.
    static QString text(QObject* item);
    // Where an item lies in its window.
    static QRectF sceneRect(const QQuickItem* item);
    // The item itself or its nearest enclosing item of `type`: a C++ class, or
    // a QML type named by the start of its class name ("FlowTags").
    static QQuickItem* enclosing(QQuickItem* item, const char* type);

    // Requests the service answered whose target starts with `prefix`.
    QList<QJsonObject> requestsTo(const QString& prefix, const QString& method = "GET") const;

    // The screens' script errors since the last call ("TypeError", "ReferenceError",
    // a value that could not be assigned): a binding that broke and left a
    // control showing nothing, or its last value, without failing any check.
    QStringList takeScriptErrors();

    sim::SimServer& sim() { return *m_sim; }
    AppState& state() { return *m_state; }
    DraftStore& drafts() { return *m_drafts; }
    RecordingBrowser& browser() { return m_browser; }
    QQmlApplicationEngine& engine() { return *m_engine; }
    QSettings& settings() { return *m_settings; }
    // The session's notification server, the launch-at-login entry in a folder of the test's own.
    NotificationManager& notifications() { return *m_notifications; }
    LoginItem& loginItem() { return *m_loginItem; }

private:
    std::unique_ptr<sim::SimServer> m_sim;
    QNetworkAccessManager m_network;
    MemoryCredentialStore m_store;
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;
    RecordingBrowser m_browser;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<DraftStore> m_drafts;
    std::unique_ptr<FreedesktopNotifier> m_notifier;
    std::unique_ptr<NotificationManager> m_notifications;
    std::unique_ptr<LoginItem> m_loginItem;
    std::unique_ptr<DesktopServices> m_desktop;
    std::unique_ptr<EngineNetwork> m_engineNetwork; // outlives the engine
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QStringList m_scriptErrors;
};

} // namespace kv::test
