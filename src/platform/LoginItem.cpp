#include "LoginItem.h"

#include "DesktopIds.h"
#include "Log.h"

#include <QDir>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace kv {

LoginItem::LoginItem(QSettings* settings, QString autostartDirectory, QString executable)
    : m_settings(settings), m_directory(std::move(autostartDirectory)),
      m_executable(std::move(executable)) {}

QString LoginItem::defaultAutostartDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
           QStringLiteral("/autostart");
}

QString LoginItem::entryPath() const {
    return m_directory + u'/' + QString::fromLatin1(desktop::kDesktopEntry) +
           QStringLiteral(".desktop");
}

bool LoginItem::isEnabled() const {
    return QFile::exists(entryPath());
}

QString LoginItem::entryText(const QString& executable) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Kestovar\n"
                          "Comment=Website chat operator console\n"
                          "Exec=%1\n"
                          "Icon=com.kestovar.Kestovar\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(executable);
}

std::optional<QString> LoginItem::apply(bool enabled) const {
    if (!enabled) {
        QFile entry(entryPath());
        if (entry.exists() && !entry.remove())
            return entry.errorString();
        return std::nullopt;
    }
    if (!QDir().mkpath(m_directory))
        return QStringLiteral("cannot create %1").arg(m_directory);
    QSaveFile entry(entryPath());
    if (!entry.open(QIODevice::WriteOnly) || entry.write(entryText(m_executable).toUtf8()) < 0 ||
        !entry.commit())
        return entry.errorString();
    return std::nullopt;
}

void LoginItem::reconcileAtLaunch() {
    const QVariant stored = m_settings->value(QLatin1StringView(kWishKey));
    // A stored value that is not a Bool counts as on, and is left as it is.
    const bool wish = stored.typeId() == QMetaType::Bool ? stored.toBool() : true;
    if (!stored.isValid())
        m_settings->setValue(QLatin1StringView(kWishKey), true);
    if (wish == isEnabled())
        return;
    if (const auto error = apply(wish))
        qCWarning(lcLoginItem).noquote()
            << QStringLiteral("login item reconcile failed: %1").arg(*error);
}

bool LoginItem::setEnabled(bool enabled) {
    m_settings->setValue(QLatin1StringView(kWishKey), enabled);
    if (enabled != isEnabled()) {
        if (const auto error = apply(enabled)) {
            qCWarning(lcLoginItem).noquote()
                << QStringLiteral("login item toggle failed: %1").arg(*error);
            return false;
        }
    }
    qCInfo(lcLoginItem).noquote() << QStringLiteral("login item enabled=%1").arg(enabled ? 1 : 0);
    return true;
}

} // namespace kv
