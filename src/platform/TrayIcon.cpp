#include "TrayIcon.h"

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformmenu.h>
#include <QtGui/qpa/qplatformsystemtrayicon.h>
#include <QtGui/qpa/qplatformtheme.h>

namespace kv {

std::unique_ptr<TrayIcon> TrayIcon::create() {
    QPlatformTheme* theme = QGuiApplicationPrivate::platformTheme();
    if (!theme)
        return nullptr;
    std::unique_ptr<QPlatformSystemTrayIcon> platform(theme->createPlatformSystemTrayIcon());
    if (!platform || !platform->isSystemTrayAvailable())
        return nullptr;
    std::unique_ptr<TrayIcon> tray(new TrayIcon(std::move(platform)));
    if (!tray->m_menu)
        return nullptr; // a tray without a menu would offer no way to quit
    return tray;
}

TrayIcon::TrayIcon(std::unique_ptr<QPlatformSystemTrayIcon> platform)
    : m_platform(std::move(platform)) {
    // The order the platform expects: registered, then given its menu.
    m_platform->init();
    m_menu.reset(m_platform->createMenu());
    if (m_menu)
        m_platform->updateMenu(m_menu.get());
    connect(m_platform.get(), &QPlatformSystemTrayIcon::activated, this,
            [this](QPlatformSystemTrayIcon::ActivationReason reason) {
                if (reason == QPlatformSystemTrayIcon::Trigger)
                    emit activated();
            });
}

TrayIcon::~TrayIcon() {
    // Gone from the tray first; the menu lets go of its entries before they go.
    m_platform->cleanup();
    if (m_menu) {
        for (const auto& entry : m_entries)
            m_menu->removeMenuItem(entry.get());
    }
    m_menu.reset();
    m_entries.clear();
}

void TrayIcon::setIcon(const QIcon& icon) {
    m_platform->updateIcon(icon);
}

void TrayIcon::setToolTip(const QString& toolTip) {
    m_platform->updateToolTip(toolTip);
}

QPlatformMenuItem* TrayIcon::append() {
    QPlatformMenuItem* item = m_menu->createMenuItem();
    m_entries.emplace_back(item);
    return item;
}

int TrayIcon::addEntry(const QString& text, std::function<void()> triggered,
                       const QKeySequence& shortcut) {
    QPlatformMenuItem* item = append();
    item->setText(text);
    item->setShortcut(shortcut);
    item->setEnabled(true);
    item->setVisible(true);
    if (triggered)
        connect(item, &QPlatformMenuItem::activated, this, std::move(triggered));
    m_menu->insertMenuItem(item, nullptr);
    return int(m_entries.size()) - 1;
}

void TrayIcon::addSeparator() {
    QPlatformMenuItem* item = append();
    item->setIsSeparator(true);
    item->setVisible(true);
    m_menu->insertMenuItem(item, nullptr);
}

template <typename Change>
void TrayIcon::change(int entry, Change&& apply) {
    if (entry < 0 || entry >= int(m_entries.size()))
        return;
    QPlatformMenuItem* item = m_entries[size_t(entry)].get();
    apply(item);
    m_menu->syncMenuItem(item); // the host hears of it
}

void TrayIcon::setText(int entry, const QString& text) {
    change(entry, [&](QPlatformMenuItem* item) { item->setText(text); });
}

void TrayIcon::setEnabled(int entry, bool enabled) {
    change(entry, [&](QPlatformMenuItem* item) { item->setEnabled(enabled); });
}

void TrayIcon::setVisible(int entry, bool visible) {
    change(entry, [&](QPlatformMenuItem* item) { item->setVisible(visible); });
}

} // namespace kv
