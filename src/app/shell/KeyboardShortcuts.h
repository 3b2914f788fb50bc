#pragma once

// Every keyboard shortcut of the console, from one table: the window binds
// each entry's keys to its action, and the "Keyboard shortcuts" sheet lists
// the same entries, so the two cannot disagree. None takes a key that text
// fields or the desktop already use (reservedKeys), and no two share keys.
//
// The actions that belong to the whole console (sections, settings, the next
// waiting visitor, the context panel, the sheet, quitting) are carried out
// here; those of a screen (take over, resolve, send, the conversation
// search, translating the focused message) are announced through `activated` for the screen that
// shows them.

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

struct ShortcutEntry {
    QString action;   // what the window and the screens call it
    QStringList keys; // portable key sequences; the first is the one shown
    QString description;
};

const QList<ShortcutEntry>& shortcutTable();

// Keys that text fields (editing, moving, selecting) and desktops (window and
// session keys) take for themselves.
const QStringList& reservedKeys();

class KeyboardShortcuts : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Shortcuts)
    QML_SINGLETON
    // One map per entry: action, keys (list), shown (the keys as this
    // desktop writes them), description.
    Q_PROPERTY(QVariantList entries READ entries CONSTANT)
    Q_PROPERTY(bool sheetOpen READ sheetOpen WRITE setSheetOpen NOTIFY sheetOpenChanged)
    // The quick switcher ("Go to", Ctrl+K) is showing.
    Q_PROPERTY(bool switcherOpen READ switcherOpen WRITE setSwitcherOpen NOTIFY switcherOpenChanged)

public:
    explicit KeyboardShortcuts(QObject* parent = nullptr);
    KeyboardShortcuts(AppState* state, QObject* parent);

    QVariantList entries() const;
    bool sheetOpen() const { return m_sheetOpen; }
    void setSheetOpen(bool open);
    bool switcherOpen() const { return m_switcherOpen; }
    void setSwitcherOpen(bool open);

    Q_INVOKABLE void activate(const QString& action);
    // Ctrl+J: the conversation that has waited longest for a reply in the
    // current scope, opened in the inbox; "Nobody is waiting" when none.
    Q_INVOKABLE void openLongestWaiting();

signals:
    void activated(const QString& action);
    void sheetOpenChanged();
    void switcherOpenChanged();

private:
    AppState* m_state;
    bool m_sheetOpen = false;
    bool m_switcherOpen = false;
};

} // namespace kv
