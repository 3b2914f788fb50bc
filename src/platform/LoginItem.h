#pragma once

// Launch at login, as an XDG autostart entry: the entry's presence is the
// login item's state, the user's wish lives in the preferences.

#include <QString>

class QSettings;

namespace kv {

class LoginItem {
public:
    static constexpr char kWishKey[] = "KestovarMac.launchAtLogin";

    // `autostartDirectory` is normally $XDG_CONFIG_HOME/autostart.
    LoginItem(QSettings* settings, QString autostartDirectory, QString executable);
    static QString defaultAutostartDirectory();

    // Makes the entry agree with the stored wish (a first launch wishes it on).
    void reconcileAtLaunch();
    // Stores the wish, then applies it; false when the entry could not be written or removed.
    bool setEnabled(bool enabled);
    bool isEnabled() const;
    QString entryPath() const;

    // The desktop entry that starts the console hidden in the tray at login.
    static QString entryText(const QString& executable);

private:
    // Writes or removes the entry; the failure's description, if any.
    std::optional<QString> apply(bool enabled) const;

    QSettings* m_settings;
    QString m_directory;
    QString m_executable;
};

} // namespace kv
