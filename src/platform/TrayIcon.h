#pragma once

// The console's item in the desktop's tray and its menu, through the
// platform's own tray: a StatusNotifierItem with a D-Bus menu where the
// session has a tray host (a StatusNotifierWatcher). Where it has none there
// is no item, and create() says so. No widgets are involved: the console
// runs as a QGuiApplication.

#include <QIcon>
#include <QKeySequence>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QPlatformMenu;
class QPlatformMenuItem;
class QPlatformSystemTrayIcon;

namespace kv {

class TrayIcon final : public QObject {
    Q_OBJECT

public:
    // Null when this desktop has no tray host.
    static std::unique_ptr<TrayIcon> create();
    ~TrayIcon() override;

    void setIcon(const QIcon& icon);
    void setToolTip(const QString& toolTip);

    // A line of the menu, below those added before; returns its number.
    // `triggered` runs when it is chosen (none: a line that only informs).
    int addEntry(const QString& text, std::function<void()> triggered = {},
                 const QKeySequence& shortcut = {});
    void addSeparator();
    void setText(int entry, const QString& text);
    void setEnabled(int entry, bool enabled);
    void setVisible(int entry, bool visible);

signals:
    // The item itself was clicked (not its menu).
    void activated();

private:
    explicit TrayIcon(std::unique_ptr<QPlatformSystemTrayIcon> platform);
    QPlatformMenuItem* append();
    template <typename Change>
    void change(int entry, Change&& apply);

    std::unique_ptr<QPlatformSystemTrayIcon> m_platform;
    std::vector<std::unique_ptr<QPlatformMenuItem>> m_entries; // separators included
    std::unique_ptr<QPlatformMenu> m_menu;                     // refers to the entries
};

} // namespace kv
