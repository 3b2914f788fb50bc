#pragma once

// The Account tab's view-model: who is signed in, the translation target,
// this computer, and launching at login as the desktop really has it.

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;
class DesktopServices;

class AccountSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool signedIn READ signedIn NOTIFY userChanged)
    Q_PROPERTY(QString initials READ initials NOTIFY userChanged)
    Q_PROPERTY(QString name READ name NOTIFY userChanged)
    Q_PROPERTY(QString email READ email NOTIFY userChanged)
    Q_PROPERTY(bool isAdmin READ isAdmin NOTIFY userChanged)
    Q_PROPERTY(QStringList appearanceLabels READ appearanceLabels CONSTANT)
    Q_PROPERTY(QStringList textSizeLabels READ textSizeLabels CONSTANT)
    // [{value, label}] for every target language, "system" first.
    Q_PROPERTY(QVariantList translationOptions READ translationOptions CONSTANT)
    Q_PROPERTY(int translationIndex READ translationIndex WRITE setTranslationIndex NOTIFY
                   translationChanged)
    Q_PROPERTY(QString hostName READ hostName CONSTANT)
    Q_PROPERTY(bool launchAtLoginOffered READ launchAtLoginOffered CONSTANT)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin NOTIFY launchAtLoginChanged)

public:
    explicit AccountSettings(QObject* parent = nullptr);
    AccountSettings(AppState* state, DesktopServices* desktop, QObject* parent);

    bool signedIn() const;
    QString initials() const;
    QString name() const;
    QString email() const;
    bool isAdmin() const;
    static QStringList appearanceLabels();
    static QStringList textSizeLabels();
    static QVariantList translationOptions();
    int translationIndex() const;
    void setTranslationIndex(int index);
    static QString hostName();
    bool launchAtLoginOffered() const;
    bool launchAtLogin() const { return m_launchAtLogin; }

    // Reads the autostart entry again (each time the tab is shown).
    Q_INVOKABLE void refreshLaunchAtLogin();
    // Asks for it; when the desktop refuses, the switch shows the real state again.
    Q_INVOKABLE void setLaunchAtLogin(bool enabled);

signals:
    void userChanged();
    void translationChanged();
    void launchAtLoginChanged();

private:
    AppState* m_state;
    DesktopServices* m_desktop;
    bool m_launchAtLogin = false;
};

} // namespace kv
