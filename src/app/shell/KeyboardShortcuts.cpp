#include "KeyboardShortcuts.h"

#include "AppStateForeign.h"
#include "DesktopServices.h"
#include "InboxRules.h"
#include "state/AppState.h"

#include <QKeySequence>
#include <QVariantMap>

namespace kv {

const QList<ShortcutEntry>& shortcutTable() {
    static const QList<ShortcutEntry> table = {
        {QStringLiteral("inbox"), {QStringLiteral("Ctrl+1")}, QStringLiteral("Show the inbox")},
        {QStringLiteral("visitors"),
         {QStringLiteral("Ctrl+2")},
         QStringLiteral("Show the live visitors")},
        {QStringLiteral("stats"),
         {QStringLiteral("Ctrl+3")},
         QStringLiteral("Show the statistics")},
        {QStringLiteral("settingsSection"),
         {QStringLiteral("Ctrl+4")},
         QStringLiteral("Show the settings in the window")},
        {QStringLiteral("settings"),
         {QStringLiteral("Ctrl+,")},
         QStringLiteral("Open the settings window")},
        {QStringLiteral("switcher"),
         {QStringLiteral("Ctrl+K")},
         QStringLiteral("Go to an agent, a conversation, a visitor, a place or an action")},
        {QStringLiteral("nextWaiting"),
         {QStringLiteral("Ctrl+J")},
         QStringLiteral("Open the conversation that has waited longest for a reply")},
        {QStringLiteral("searchConversations"),
         {QStringLiteral("Ctrl+F")},
         QStringLiteral("Search conversations")},
        {QStringLiteral("takeOver"),
         {QStringLiteral("Ctrl+Shift+T")},
         QStringLiteral("Take over the open conversation")},
        {QStringLiteral("resolve"),
         {QStringLiteral("Ctrl+Shift+R")},
         QStringLiteral("Resolve the open conversation")},
        {QStringLiteral("send"),
         {QStringLiteral("Ctrl+Return"), QStringLiteral("Ctrl+Enter")},
         QStringLiteral("Send the reply")},
        {QStringLiteral("sendAndResolve"),
         {QStringLiteral("Ctrl+Shift+Return"), QStringLiteral("Ctrl+Shift+Enter")},
         QStringLiteral("Send the reply and resolve")},
        {QStringLiteral("translateMessage"),
         {QStringLiteral("Ctrl+Shift+L")},
         QStringLiteral("Translate the message that has the focus, or show its original again")},
        {QStringLiteral("contextPanel"),
         {QStringLiteral("Ctrl+Shift+I")},
         QStringLiteral("Hide or show the context panel")},
        {QStringLiteral("shortcuts"),
         {QStringLiteral("Ctrl+/")},
         QStringLiteral("Show the keyboard shortcuts")},
        {QStringLiteral("quit"), {QStringLiteral("Ctrl+Q")}, QStringLiteral("Quit Kestovar")},
    };
    return table;
}

const QStringList& reservedKeys() {
    static const QStringList keys = {
        // Text fields: editing, undo, selecting, moving by word and line.
        QStringLiteral("Ctrl+A"),
        QStringLiteral("Ctrl+C"),
        QStringLiteral("Ctrl+V"),
        QStringLiteral("Ctrl+X"),
        QStringLiteral("Ctrl+Z"),
        QStringLiteral("Ctrl+Y"),
        QStringLiteral("Ctrl+Shift+Z"),
        QStringLiteral("Ctrl+Shift+V"),
        QStringLiteral("Ctrl+Left"),
        QStringLiteral("Ctrl+Right"),
        QStringLiteral("Ctrl+Up"),
        QStringLiteral("Ctrl+Down"),
        QStringLiteral("Ctrl+Home"),
        QStringLiteral("Ctrl+End"),
        QStringLiteral("Ctrl+Shift+Left"),
        QStringLiteral("Ctrl+Shift+Right"),
        QStringLiteral("Ctrl+Shift+Home"),
        QStringLiteral("Ctrl+Shift+End"),
        QStringLiteral("Ctrl+Backspace"),
        QStringLiteral("Ctrl+Del"),
        QStringLiteral("Ctrl+Ins"),
        QStringLiteral("Shift+Ins"),
        QStringLiteral("Shift+Del"),
        QStringLiteral("Return"),
        QStringLiteral("Enter"),
        QStringLiteral("Shift+Return"),
        QStringLiteral("Tab"),
        QStringLiteral("Shift+Tab"),
        QStringLiteral("Esc"),
        QStringLiteral("Home"),
        QStringLiteral("End"),
        // Input methods: the Unicode entry, the emoji picker, switching.
        QStringLiteral("Ctrl+Shift+U"),
        QStringLiteral("Ctrl+Space"),
        QStringLiteral("Ctrl+Shift+Space"),
        QStringLiteral("Ctrl+."),
        QStringLiteral("Ctrl+;"),
        // Desktops: windows, menus, the session.
        QStringLiteral("Alt+Tab"),
        QStringLiteral("Alt+Shift+Tab"),
        QStringLiteral("Alt+F1"),
        QStringLiteral("Alt+F2"),
        QStringLiteral("Alt+F4"),
        QStringLiteral("Alt+F7"),
        QStringLiteral("Alt+F8"),
        QStringLiteral("Alt+F10"),
        QStringLiteral("Alt+Space"),
        QStringLiteral("F10"),
        QStringLiteral("Print"),
        QStringLiteral("Ctrl+Alt+T"),
        QStringLiteral("Ctrl+Alt+L"),
        QStringLiteral("Ctrl+Alt+D"),
        QStringLiteral("Ctrl+Alt+Del"),
    };
    return keys;
}

KeyboardShortcuts::KeyboardShortcuts(QObject* parent)
    : KeyboardShortcuts(AppStateForeign::instance(), parent) {}

KeyboardShortcuts::KeyboardShortcuts(AppState* state, QObject* parent)
    : QObject(parent), m_state(state) {}

QVariantList KeyboardShortcuts::entries() const {
    QVariantList out;
    for (const ShortcutEntry& e : shortcutTable()) {
        out.append(QVariantMap{
            {QStringLiteral("action"), e.action},
            {QStringLiteral("keys"), e.keys},
            {QStringLiteral("shown"),
             QKeySequence(e.keys.first()).toString(QKeySequence::NativeText)},
            {QStringLiteral("description"), e.description},
        });
    }
    return out;
}

void KeyboardShortcuts::setSheetOpen(bool open) {
    if (m_sheetOpen == open)
        return;
    m_sheetOpen = open;
    emit sheetOpenChanged();
}

void KeyboardShortcuts::setSwitcherOpen(bool open) {
    if (m_switcherOpen == open)
        return;
    m_switcherOpen = open;
    emit switcherOpenChanged();
}

void KeyboardShortcuts::activate(const QString& action) {
    if (action == u"inbox")
        m_state->setSelectedSection(AppSection::inbox);
    else if (action == u"visitors")
        m_state->setSelectedSection(AppSection::visitors);
    else if (action == u"stats")
        m_state->setSelectedSection(AppSection::stats);
    else if (action == u"settingsSection")
        m_state->setSelectedSection(AppSection::settings);
    else if (action == u"settings" && DesktopServices::instance())
        DesktopServices::instance()->openSettings();
    else if (action == u"quit" && DesktopServices::instance())
        DesktopServices::instance()->quit();
    else if (action == u"nextWaiting")
        openLongestWaiting();
    else if (action == u"contextPanel")
        m_state->setContextPanelVisible(!m_state->contextPanelVisible());
    else if (action == u"shortcuts")
        setSheetOpen(true);
    else if (action == u"switcher")
        setSwitcherOpen(true);
    else if (action == u"searchConversations")
        m_state->setSelectedSection(AppSection::inbox); // the inbox then takes the focus
    emit activated(action);
}

void KeyboardShortcuts::openLongestWaiting() {
    if (m_state->authStatus() != AuthStatus::signedIn)
        return;
    const auto next = inbox::longestWaiting(m_state->conversations());
    if (!next) {
        m_state->notices()->post(QStringLiteral("Nobody is waiting"));
        return;
    }
    m_state->setSelectedSection(AppSection::inbox);
    m_state->setSelectedConversationID(next->id);
}

} // namespace kv
