// Every control of every screen answers assistive technology. A screen
// reader, switch access or voice control presses a control through its
// accessibility action, not with the mouse; Qt 6.4's own controls report such
// a press as done and do nothing. This walks each screen, panel, menu, dialog
// and window, invokes every interactive item's press (and toggle) action
// through QAccessible, and checks that it had a click's effect.

#include "Await.h"
#include "UiHarness.h"

#include <QAccessible>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <functional>
#include <memory>

Q_IMPORT_QML_PLUGIN(KestovarPlugin)

using namespace kv;
using kv::test::await;
using kv::test::UiHarness;

namespace {

constexpr int kWaitMs = 10'000;

// What a click of `item` would be seen doing: one of its own click-like
// signals, or (a drop-down) its list opening.
class Effect {
public:
    explicit Effect(QObject* item) : m_item(item) {
        const QMetaObject* meta = item->metaObject();
        for (int i = 0; i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            static const QList<QByteArray> clickLike{"clicked",   "toggled", "triggered",
                                                     "activated", "chosen",  "picked"};
            if (method.methodType() == QMetaMethod::Signal && clickLike.contains(method.name()))
                m_spies.push_back(std::make_unique<QSignalSpy>(item, method));
        }
        if (item->inherits("QQuickComboBox"))
            m_popup = item->property("popup").value<QObject*>();
        m_popupWasOpen = popupOpen();
    }

    bool happened() const {
        for (const auto& spy : m_spies) {
            if (!spy->isEmpty())
                return true;
        }
        return m_popup && popupOpen() != m_popupWasOpen;
    }

private:
    bool popupOpen() const { return m_popup && m_popup->property("visible").toBool(); }

    QPointer<QObject> m_item;
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
    QPointer<QObject> m_popup;
    bool m_popupWasOpen = false;
};

// The QML type's name without the engine's suffix.
QString typeName(const QObject* item) {
    static const QRegularExpression suffix(QStringLiteral("_QML(TYPE)?_\\d+$"));
    return QString::fromLatin1(item->metaObject()->className()).remove(suffix);
}

QString accessibleName(QObject* item) {
    return UiHarness::accessibleName(item);
}

// One key per kind of control: rows of a list are one kind, each named
// button or menu entry its own.
QString keyOf(QQuickItem* item) {
    const QString type = typeName(item);
    if (!item->objectName().isEmpty())
        return type + u'#' + item->objectName();
    static const QStringList shared{
        "ActionButton", "IconButton", "PrimaryButton", "InlineButton", "MenuEntry",
        "TabItem",      "NavRow",     "SwitchRow",     "QQuickSwitch", "QQuickItemDelegate"};
    if (shared.contains(type))
        return type + u'#' + accessibleName(item);
    return type;
}

bool actionable(QQuickItem* item) {
    return item->isVisible() && item->isEnabled() && UiHarness::isInteractive(item) &&
           !UiHarness::isTextInput(item) && item->width() > 0 && item->height() > 0;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

    std::unique_ptr<UiHarness> ui;
    QSet<QString> m_done;   // "key action" tried, across every scene
    QStringList m_failures; // what ignored its action, or offered none
    int m_tried = 0;
    QString m_last;

    QQuickItem* find(const char* name) const { return ui->find(QString::fromLatin1(name)); }
    QObject* object(const char* name) const { return ui->findObject(QString::fromLatin1(name)); }
    QQuickItem* shown(const QByteArray& name) const {
        const auto all = ui->visible(QString::fromUtf8(name));
        return all.isEmpty() ? nullptr : all.first();
    }
    static bool waitFor(const std::function<bool()>& ready) {
        return QTest::qWaitFor(ready, kWaitMs);
    }

    // Sets `scene` up afresh (it returns the window it shows, or none when it could not), then
    // presses one control not yet tried; again until every control of the scene has been.
    void sweep(const QString& scene, const std::function<QQuickWindow*()>& setUp) {
        for (int guard = 0; guard < 300; ++guard) {
            QQuickWindow* window = setUp();
            if (!window) {
                m_failures << scene + u": could not be set up after "_qs + m_last;
                return;
            }
            QQuickItem* next = nullptr;
            QString action;
            QString key;
            for (QQuickItem* item : UiHarness::itemsOf(window)) {
                checkDisabledState(scene, item);
                if (!actionable(item))
                    continue;
                const QStringList offered = UiHarness::actionNames(item);
                const QString base = keyOf(item);
                if (!offered.contains(QAccessibleActionInterface::pressAction()) &&
                    !offered.contains(QAccessibleActionInterface::toggleAction())) {
                    if (!m_done.contains(base)) {
                        m_done.insert(base);
                        m_failures << scene + u": "_qs + base + u" offers no press action"_qs;
                    }
                    continue;
                }
                for (const QString& a : {QAccessibleActionInterface::pressAction(),
                                         QAccessibleActionInterface::toggleAction()}) {
                    if (offered.contains(a) && !m_done.contains(base + u' ' + a)) {
                        next = item;
                        action = a;
                        key = base;
                        break;
                    }
                }
                if (next)
                    break;
            }
            if (!next)
                return;
            m_done.insert(key + u' ' + action);
            m_last = key + u' ' + action;
            ++m_tried;
            Effect effect(next);
            UiHarness::doAction(next, action);
            if (!effect.happened())
                m_failures << scene + u": "_qs + key + u" ignored "_qs + action;
        }
        m_failures << scene + u": more controls than a screen should have"_qs;
    }

    // A control that cannot be used says so to a screen reader.
    void checkDisabledState(const QString& scene, QQuickItem* item) {
        if (!item->isVisible() || item->isEnabled() || !UiHarness::isInteractive(item))
            return;
        const QString key = keyOf(item) + u" disabled"_qs;
        if (m_done.contains(key))
            return;
        m_done.insert(key);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(item);
        if (a && !a->state().disabled)
            m_failures << scene + u": "_qs + keyOf(item) + u" reads as usable while disabled"_qs;
    }

    // The main window, signed in, on `section`, with no menu or dialog left open.
    QQuickWindow* console(AppSection section) {
        if (ui->state().authStatus() != AuthStatus::signedIn && !ui->signIn())
            return nullptr;
        closePopups();
        ui->state().setSelectedSection(section);
        const char* root = section == AppSection::inbox      ? "inboxView"
                           : section == AppSection::visitors ? "liveVisitorsView"
                           : section == AppSection::stats    ? "statsView"
                                                             : "settingsView";
        return waitFor([&] { return find(root) && find(root)->isVisible(); }) ? ui->window()
                                                                              : nullptr;
    }

    void closePopups() {
        for (QQuickItem* item : ui->items()) {
            if (item->inherits("QQuickPopupItem") && item->isVisible())
                QMetaObject::invokeMethod(item->parent(), "close");
        }
        waitFor([&] {
            for (QQuickItem* item : ui->items()) {
                if (item->inherits("QQuickPopupItem") && item->isVisible())
                    return false;
            }
            return true;
        });
    }

    // One agent's conversation in `status`, open, with a draft so that it can be sent.
    QQuickWindow* conversation(const QString& status) {
        if (!console(AppSection::inbox))
            return nullptr;
        const QString projectID = u"p1"_qs;
        // The same conversation each time, put back into `status` at the service.
        const QString id = ui->sim().withData([&](sim::SimData& data) {
            for (sim::SimConversation& c : data.conversations) {
                if (c.projectId == projectID) {
                    c.status = status;
                    return c.id;
                }
            }
            return QString();
        });
        if (ui->state().selectedProjectID() != projectID)
            ui->state().setSelectedProjectID(projectID);
        await(ui->state().loadConversations(projectID));
        ui->state().setSelectedConversationID(id);
        if (!waitFor([&] {
                QQuickItem* thread = find("chatThread");
                return thread && thread->isVisible() &&
                       thread->property("conversationID").toString() == id &&
                       !ui->state().messages(id).isEmpty() &&
                       shown(QByteArray("bubble_" + ui->state().messages(id).first().id.toUtf8()));
            }))
            return nullptr;
        if (QObject* composer = object("composerModel"))
            composer->setProperty("draft", u"Hello"_qs);
        return ui->window();
    }

    // `window` (set up first) with the menu or list that the control named `opener` opens, open.
    QQuickWindow* opened(QQuickWindow* window, const char* openerName) {
        QQuickItem* opener = window ? shown(openerName) : nullptr;
        return opened(window, opener);
    }
    QQuickWindow* opened(QQuickWindow* window, QQuickItem* opener) {
        if (!window || !opener)
            return nullptr;
        if (!UiHarness::click(opener))
            return nullptr;
        return popupShown(window);
    }
    // The window once a popup on it has finished opening; none if none did.
    QQuickWindow* popupShown(QQuickWindow* window) {
        return waitFor([&] {
            for (QQuickItem* item : UiHarness::itemsOf(window)) {
                if (item->inherits("QQuickPopupItem") && item->isVisible() &&
                    item->property("opacity").toReal() == 1.0)
                    return true;
            }
            return false;
        })
                   ? window
                   : nullptr;
    }

    QQuickWindow* settingsTab(int index, const char* root) {
        if (!console(AppSection::settings))
            return nullptr;
        find("settingsTabs")->setProperty("currentIndex", index);
        return waitFor([&] { return find(root) && find(root)->isVisible(); }) ? ui->window()
                                                                              : nullptr;
    }

private slots:
    void initTestCase() {
        sim::SimConfig config;
        config.data.visitors = 12;
        ui = std::make_unique<UiHarness>(config);
        QVERIFY(ui->load());
    }

    void cleanupTestCase() { ui.reset(); }
    // Every binding held: no screen hid a script error behind a passing check.
    void cleanup() {
        const QStringList errors = ui->takeScriptErrors();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
    }

    void signInScreen() {
        sweep(u"sign-in"_qs, [&]() -> QQuickWindow* {
            if (ui->state().authStatus() == AuthStatus::signingIn)
                ui->state().cancelSignIn();
            return waitFor([&] { return find("signInView"); }) ? ui->window() : nullptr;
        });
        sweep(u"sign-in, waiting for the browser"_qs, [&]() -> QQuickWindow* {
            if (ui->state().authStatus() == AuthStatus::signedOut)
                ui->state().beginSignIn();
            return waitFor([&] { return shown("cancelButton"); }) ? ui->window() : nullptr;
        });
        ui->state().cancelSignIn();
        QVERIFY(ui->signIn());
    }

    void inboxAndThread() {
        sweep(u"inbox, waiting conversation"_qs, [&] { return conversation(u"waiting"_qs); });
        sweep(u"inbox, conversation the AI handles"_qs, [&] { return conversation(u"active"_qs); });
        sweep(u"inbox, resolved conversation"_qs, [&] { return conversation(u"resolved"_qs); });
        sweep(u"snippet menu"_qs,
              [&] { return opened(conversation(u"waiting"_qs), "snippetMenuButton"); });
        sweep(u"translation menu"_qs,
              [&] { return opened(conversation(u"waiting"_qs), "translateMenuButton"); });
        sweep(u"snippet picker"_qs, [&]() -> QQuickWindow* {
            if (!conversation(u"waiting"_qs))
                return nullptr;
            object("composerModel")->setProperty("draft", u"/"_qs);
            return waitFor([&] { return shown("snippetRow"); }) ? ui->window() : nullptr;
        });
    }

    void sidebarAndAccountMenu() {
        sweep(u"account menu"_qs,
              [&] { return opened(console(AppSection::inbox), "accountMenuButton"); });
        sweep(u"appearance menu"_qs, [&]() -> QQuickWindow* {
            QQuickWindow* window = opened(console(AppSection::inbox), "accountMenuButton");
            QQuickItem* appearance = nullptr;
            for (QQuickItem* item : ui->items()) {
                if (item->isVisible() && accessibleName(item) == u"Appearance"_qs &&
                    item->inherits("QQuickMenuItem"))
                    appearance = item;
            }
            return window ? opened(window, appearance) : nullptr;
        });
    }

    // The dialogs the keyboard opens: the quick switcher (its places and
    // actions, as it opens) and the shortcuts sheet.
    void keyboardDialogs() {
        const auto withKeys = [&](Qt::Key key) -> QQuickWindow* {
            QQuickWindow* window = console(AppSection::inbox);
            if (!window)
                return nullptr;
            QTest::keyClick(window, key, Qt::ControlModifier);
            return popupShown(window);
        };
        sweep(u"quick switcher"_qs, [&] { return withKeys(Qt::Key_K); });
        sweep(u"keyboard shortcuts"_qs, [&] { return withKeys(Qt::Key_Slash); });
    }

    void liveVisitors() {
        sweep(u"live visitors"_qs, [&]() -> QQuickWindow* {
            ui->state().setSelectedProjectID(std::nullopt); // every agent's block
            if (!console(AppSection::visitors) ||
                !waitFor([&] { return shown("visitorGroupHeader"); }))
                return nullptr;
            // Every block open ("Expand all" may first close those still open).
            QObject* model = object("visitorsModel");
            for (int i = 0; i < 2 && !model->property("allExpanded").toBool(); ++i)
                QMetaObject::invokeMethod(model, "toggleAll");
            if (!waitFor([&] { return shown("visitorRow"); }))
                return nullptr;
            QMetaObject::invokeMethod(shown("visitorRow"), "clicked");
            // The detail panel slides in.
            return waitFor([&] {
                QQuickItem* copy = shown("copyLinkButton");
                return copy && find("visitorDetailPanel")->property("opacity") == 1.0;
            })
                       ? ui->window()
                       : nullptr;
        });
    }

    void stats() {
        sweep(u"stats"_qs, [&]() -> QQuickWindow* {
            return console(AppSection::stats) && waitFor([&] { return shown("range7d"); })
                       ? ui->window()
                       : nullptr;
        });
    }

    void settings() {
        sweep(u"settings, account"_qs, [&] { return settingsTab(0, "accountTab"); });
        sweep(u"settings, translation list"_qs,
              [&] { return opened(settingsTab(0, "accountTab"), "translationPicker"); });
        sweep(u"settings, notifications"_qs, [&] { return settingsTab(1, "notificationsTab"); });
        sweep(u"settings, snippets"_qs, [&]() -> QQuickWindow* {
            QQuickWindow* window = settingsTab(2, "snippetsTab");
            return window && waitFor([&] { return shown("editSnippet"); }) ? window : nullptr;
        });
        sweep(u"settings, snippet editor"_qs, [&]() -> QQuickWindow* {
            QQuickWindow* window = settingsTab(2, "snippetsTab");
            if (!window || !waitFor([&] { return shown("newSnippetButton"); }))
                return nullptr;
            if (!UiHarness::click(shown("newSnippetButton")) ||
                !waitFor([&] { return shown("snippetSave"); }))
                return nullptr;
            // Filled in, so that it can be saved.
            QObject* form = object("snippetEditor")->property("form").value<QObject*>();
            form->setProperty("title", u"Hours"_qs);
            form->setProperty("shortcut", QStringLiteral("h%1").arg(m_tried));
            form->setProperty("body", u"We are open 9–17."_qs);
            return waitFor([&] { return shown("snippetSave")->isEnabled(); }) ? window : nullptr;
        });
        sweep(u"settings, about"_qs, [&] { return settingsTab(3, "aboutTab"); });
    }

    void otherWindows() {
        // The settings window, as the tray and Ctrl+, open it.
        QQmlComponent settingsComponent(&ui->engine(),
                                        QUrl("qrc:/Kestovar/features/settings/SettingsWindow.qml"));
        std::unique_ptr<QObject> settingsWindow(settingsComponent.create());
        QVERIFY2(settingsWindow, qPrintable(settingsComponent.errorString()));
        auto* settings = qobject_cast<QQuickWindow*>(settingsWindow.get());
        settings->show();
        for (int tab = 0; tab < 4; ++tab) {
            sweep(QStringLiteral("settings window, tab %1").arg(tab), [&]() -> QQuickWindow* {
                if (ui->state().authStatus() != AuthStatus::signedIn && !ui->signIn())
                    return nullptr;
                settings->show();
                QQuickItem* tabs = nullptr;
                for (QQuickItem* item : UiHarness::itemsOf(settings)) {
                    if (item->objectName() == u"settingsTabs")
                        tabs = item;
                }
                if (!tabs)
                    return nullptr;
                tabs->setProperty("currentIndex", tab);
                return waitFor([&] { return tabs->property("currentIndex").toInt() == tab; })
                           ? settings
                           : nullptr;
            });
        }

        // The quick-reply window a notification opens.
        await(ui->state().loadConversations(u"p1"_qs));
        QQmlComponent replyComponent(&ui->engine(),
                                     QUrl("qrc:/Kestovar/shell/QuickReplyWindow.qml"));
        std::unique_ptr<QObject> replyWindow(replyComponent.createWithInitialProperties(
            {{"projectID", "p1"},
             {"conversationID", ui->state().conversations().first().id},
             {"projectName", "Northwind Support"}}));
        QVERIFY(replyWindow);
        auto* reply = qobject_cast<QQuickWindow*>(replyWindow.get());
        sweep(u"quick reply"_qs, [&]() -> QQuickWindow* {
            reply->show();
            reply->findChild<QObject*>("quickReplyField")->setProperty("text", u"On my way"_qs);
            return reply;
        });
    }

    // "Create" reads as unavailable until the reply text holds more than white space.
    void snippetEditorCreateState() {
        QVERIFY(settingsTab(2, "snippetsTab"));
        QTRY_VERIFY(shown("newSnippetButton"));
        QVERIFY(UiHarness::click(shown("newSnippetButton")));
        QTRY_VERIFY(shown("snippetSave"));
        QQuickItem* create = shown("snippetSave");
        QCOMPARE(accessibleName(create), u"Create"_qs);
        const auto disabled = [&] {
            return QAccessible::queryAccessibleInterface(create)->state().disabled;
        };
        QObject* form = object("snippetEditor")->property("form").value<QObject*>();
        form->setProperty("title", u"Hours"_qs);
        QVERIFY(disabled());
        form->setProperty("body", u"  \n\t "_qs);
        QVERIFY(disabled());
        form->setProperty("body", u" We open at 9. "_qs);
        QTRY_VERIFY(!disabled());
        QVERIFY(UiHarness::click(shown("snippetCancel")));
    }

    // Last: each scene above must have found controls, and every one answered.
    void everyControlAnswered() {
        qInfo() << "controls pressed through their accessibility actions:" << m_tried;
        QVERIFY(m_tried >= 60);
        QVERIFY2(m_failures.isEmpty(), qPrintable(m_failures.join(u'\n')));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
