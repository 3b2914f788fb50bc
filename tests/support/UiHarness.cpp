#include "UiHarness.h"

#include "AccessibleState.h"
#include "Await.h"
#include "QmlRegistration.h"
#include "TypedPreferences.h"
#include "service/Configuration.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QQmlError>
#include <QTest>
#include <QUrlQuery>

namespace kv::test {

UiHarness::UiHarness(sim::SimConfig config, const QString& notificationService,
                     const QString& dataDirectory)
    : m_sim(std::make_unique<sim::SimServer>(config)) {
    m_sim->start();
    qputenv(Configuration::kApiUrlVariable, m_sim->baseUrl().toUtf8());
    m_settings = openPreferences(m_dir.filePath("prefs.json"));
    AppState::Dependencies deps;
    deps.network = &m_network;
    deps.credentials = &m_store;
    deps.settings = m_settings.get();
    deps.browser = &m_browser;
    m_state = std::make_unique<AppState>(deps);
    m_drafts = std::make_unique<DraftStore>(
        m_state.get(), dataDirectory.isEmpty() ? m_dir.filePath("drafts") : dataDirectory);
    DraftStore::setInstance(m_drafts.get());
    // The settings reach the desktop; the state itself notifies nothing (tests of
    // notifications drive the manager directly).
    m_notifier = notificationService.isEmpty()
                     ? std::make_unique<FreedesktopNotifier>()
                     : std::make_unique<FreedesktopNotifier>(QDBusConnection::sessionBus(),
                                                             notificationService);
    m_notifications = std::make_unique<NotificationManager>(m_notifier.get(), m_settings.get());
    m_loginItem = std::make_unique<LoginItem>(m_settings.get(), m_dir.filePath("autostart"),
                                              QStringLiteral("/usr/bin/kestovar"));
    m_desktop = std::make_unique<DesktopServices>(
        DesktopServices::Parts{m_settings.get(), m_loginItem.get(), m_notifications.get()});
    DesktopServices::setInstance(m_desktop.get());
    registerQmlTypes(m_state.get());
}

UiHarness::~UiHarness() {
    m_engine.reset();
    DesktopServices::setInstance(nullptr);
    DraftStore::setInstance(nullptr);
    m_drafts.reset();
    m_state.reset();
    qunsetenv(Configuration::kApiUrlVariable);
}

QStringList UiHarness::takeScriptErrors() {
    return std::exchange(m_scriptErrors, {});
}

bool UiHarness::load() {
    installAccessibleState();
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engineNetwork = std::make_unique<EngineNetwork>(*m_engine, *m_state);
    QObject::connect(m_engine.get(), &QQmlEngine::warnings, m_engine.get(),
                     [this](const QList<QQmlError>& warnings) {
                         for (const QQmlError& warning : warnings) {
                             const QString text = warning.toString();
                             if (text.contains(QLatin1StringView("Error:")) ||
                                 text.contains(QLatin1StringView("assign")))
                                 m_scriptErrors.append(text);
                         }
                     });
    m_engine->addImportPath("qrc:/");
    m_engine->load(QUrl("qrc:/Kestovar/shell/Main.qml"));
    if (!window())
        return false;
    window()->show(); // views create their delegates as the window is drawn
    await(m_state->bootstrap());
    return true;
}

bool UiHarness::signIn() {
    m_state->beginSignIn();
    const QString token = QUrlQuery(m_browser.opened.last()).queryItemValue("state");
    await(m_state->handleIncomingURL(
        QUrl("kestovar://callback?code=" + m_sim->approve(token) + "&state=" + token)));
    if (m_state->authStatus() != AuthStatus::signedIn)
        return false;
    return QTest::qWaitFor([this] { return find("mainSplitView") != nullptr; });
}

QQuickWindow* UiHarness::window() const {
    return m_engine ? qobject_cast<QQuickWindow*>(m_engine->rootObjects().value(0)) : nullptr;
}

namespace {

// Every item of the scene, by the visual tree: delegates of views and
// repeaters have no object parent, so a search of object children misses them.
void collect(QQuickItem* item, QList<QQuickItem*>& out) {
    out.append(item);
    for (QQuickItem* child : item->childItems())
        collect(child, out);
}

} // namespace

QList<QQuickItem*> UiHarness::items() const {
    return window() ? itemsOf(window()) : QList<QQuickItem*>();
}

QList<QQuickItem*> UiHarness::itemsOf(QQuickWindow* window) {
    QList<QQuickItem*> out;
    // A screen the Loader replaced lingers until its deferred deletion: never find it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // From the root: popups and dialogs live in the overlay beside the content.
    QQuickItem* root = window->contentItem();
    while (root->parentItem())
        root = root->parentItem();
    collect(root, out);
    return out;
}

// Items a user can act on: controls, editable text, and anything with a click area of its own.
bool UiHarness::isInteractive(QQuickItem* item) {
    for (const char* kind : {"QQuickAbstractButton", "QQuickTextInput", "QQuickComboBox",
                             "QQuickSlider", "QQuickSpinBox"}) {
        if (item->inherits(kind))
            return true;
    }
    if (isTextInput(item))
        return true;
    for (QQuickItem* child : item->childItems()) {
        if (child->inherits("QQuickMouseArea") && child->isEnabled() &&
            child->property("acceptedButtons").toInt() != 0 &&
            !child->inherits("QQuickAbstractButton"))
            return !item->inherits("QQuickAbstractButton") && !item->inherits("QQuickControl");
    }
    return false;
}

bool UiHarness::isTextInput(QQuickItem* item) {
    return item->inherits("QQuickTextInput") ||
           (item->inherits("QQuickTextEdit") && !item->property("readOnly").toBool());
}

QStringList UiHarness::unnamedControls() const {
    QStringList unnamed;
    for (QQuickItem* item : items()) {
        if (!item->isVisible() || !isInteractive(item))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(item);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty()) {
            // Named by where it sits, so a failure says which control it is.
            QString where = QString::fromLatin1(item->metaObject()->className());
            for (QQuickItem* up = item; up; up = up->parentItem()) {
                if (!up->objectName().isEmpty()) {
                    where += QStringLiteral(" in ") + up->objectName();
                    break;
                }
            }
            unnamed.append(where);
        }
    }
    return unnamed;
}

bool UiHarness::drawn(int frames) const {
    int swapped = 0;
    // Counted on this thread, whichever thread draws.
    const auto counting = QObject::connect(window(), &QQuickWindow::frameSwapped, window(),
                                           [&swapped] { ++swapped; });
    bool ok = true;
    for (int wanted = 1; ok && wanted <= frames; ++wanted) {
        window()->update();
        ok = QTest::qWaitFor([&] { return swapped >= wanted; });
    }
    QObject::disconnect(counting);
    return ok;
}

QRectF UiHarness::sceneRect(const QQuickItem* item) {
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}

QQuickItem* UiHarness::enclosing(QQuickItem* item, const char* type) {
    for (; item; item = item->parentItem()) {
        if (item->inherits(type) || QByteArray(item->metaObject()->className()).startsWith(type))
            return item;
    }
    return nullptr;
}

QQuickItem* UiHarness::find(const QString& name) const {
    const auto all = findAll(name);
    return all.isEmpty() ? nullptr : all.first();
}

QObject* UiHarness::findObject(const QString& name) const {
    for (QQuickItem* item : items()) {
        if (item->objectName() == name)
            return item;
        for (QObject* child : item->children()) {
            if (child->objectName() == name)
                return child;
        }
    }
    return nullptr;
}

QList<QQuickItem*> UiHarness::findAll(const QString& name) const {
    QList<QQuickItem*> out;
    for (QQuickItem* item : items()) {
        if (item->objectName() == name)
            out.append(item);
    }
    return out;
}

QList<QQuickItem*> UiHarness::visible(const QString& name) const {
    QList<QQuickItem*> out;
    for (QQuickItem* item : findAll(name)) {
        if (item->isVisible())
            out.append(item);
    }
    return out;
}

QString UiHarness::accessibleName(QObject* item) {
    QAccessibleInterface* a = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    return a ? a->text(QAccessible::Name) : QString();
}

QStringList UiHarness::actionNames(QObject* item) {
    QAccessibleInterface* a = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    QAccessibleActionInterface* actions = a ? a->actionInterface() : nullptr;
    return actions ? actions->actionNames() : QStringList();
}

bool UiHarness::doAction(QObject* item, const QString& action) {
    if (!actionNames(item).contains(action))
        return false;
    QAccessible::queryAccessibleInterface(item)->actionInterface()->doAction(action);
    return true;
}

bool UiHarness::click(QObject* control) {
    return doAction(control, QAccessibleActionInterface::pressAction());
}

bool UiHarness::flip(QObject* toggle) {
    return doAction(toggle, QAccessibleActionInterface::toggleAction());
}

void UiHarness::mouseClick(QQuickItem* item) {
    QVERIFY(item && item->isVisible() && item->window());
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(item->window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

QString UiHarness::text(QObject* item) {
    return item ? item->property("text").toString() : QString();
}

QList<QJsonObject> UiHarness::requestsTo(const QString& prefix, const QString& method) const {
    QList<QJsonObject> out;
    for (const QJsonValue& r : m_sim->requests()) {
        const QJsonObject o = r.toObject();
        if (o["target"].toString().startsWith(prefix) && o["method"].toString() == method)
            out.append(o);
    }
    return out;
}

} // namespace kv::test
