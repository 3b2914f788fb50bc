#pragma once

// The Account tab's view-model: who is signed in, the translation target,
// this computer, and launching at login as the desktop really has it.

#include <QObject>
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
    // Each choice's segment: its label at the index the property reads.
    Q_PROPERTY(QStringList appearanceLabels READ appearanceLabels CONSTANT)
    Q_PROPERTY(
        int appearanceIndex READ appearanceIndex WRITE setAppearanceIndex NOTIFY appearanceChanged)
    Q_PROPERTY(QStringList textSizeLabels READ textSizeLabels CONSTANT)
    Q_PROPERTY(int textSizeIndex READ textSizeIndex WRITE setTextSizeIndex NOTIFY textSizeChanged)
    // Every target language's name, "Match system language" first.
    Q_PROPERTY(QStringList translationLabels READ translationLabels CONSTANT)
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
    int appearanceIndex() const;
    void setAppearanceIndex(int index);
    static QStringList textSizeLabels();
    int textSizeIndex() const;
    void setTextSizeIndex(int index);
    static QStringList translationLabels();
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
    void appearanceChanged();
    void textSizeChanged();
    void launchAtLoginChanged();

private:
    AppState* m_state;
    DesktopServices* m_desktop;
    bool m_launchAtLogin = false;
};

} // namespace kv
