#include "AccountSettings.h"

#include "AppStateForeign.h"
#include "DesktopServices.h"
#include "LoginItem.h"
#include "PeopleText.h"
#include "state/AppState.h"

#include <QSysInfo>

#include <array>

namespace kv {

namespace {

// The segments' cases, in the order of their labels.
constexpr std::array kAppearances{AppearancePreference::system, AppearancePreference::light,
                                  AppearancePreference::dark};
constexpr std::array kTextSizes{FontSizePreference::small, FontSizePreference::normal,
                                FontSizePreference::large, FontSizePreference::extraLarge};

template <typename Choice, std::size_t N>
int indexIn(const std::array<Choice, N>& choices, Choice chosen) {
    const auto found = std::find(choices.begin(), choices.end(), chosen);
    return found == choices.end() ? -1 : int(found - choices.begin());
}

} // namespace

AccountSettings::AccountSettings(QObject* parent)
    : AccountSettings(AppStateForeign::instance(), DesktopServices::instance(), parent) {}

AccountSettings::AccountSettings(AppState* state, DesktopServices* desktop, QObject* parent)
    : QObject(parent), m_state(state), m_desktop(desktop) {
    connect(m_state, &AppState::authStatusChanged, this, &AccountSettings::userChanged);
    // The settings window and the Settings section show the same choice.
    connect(m_state, &AppState::translationPreferenceChanged, this,
            &AccountSettings::translationChanged);
    connect(m_state, &AppState::appearanceChanged, this, &AccountSettings::appearanceChanged);
    connect(m_state, &AppState::fontSizeChanged, this, &AccountSettings::textSizeChanged);
    refreshLaunchAtLogin();
}

bool AccountSettings::signedIn() const {
    return m_state->authStatus() == AuthStatus::signedIn && m_state->user().has_value();
}

QString AccountSettings::initials() const {
    return people::initials(name());
}

QString AccountSettings::name() const {
    return m_state->userName();
}

QString AccountSettings::email() const {
    return m_state->userEmail();
}

bool AccountSettings::isAdmin() const {
    return m_state->user() && m_state->user()->isAdmin;
}

QStringList AccountSettings::appearanceLabels() {
    return {QStringLiteral("Match system"), QStringLiteral("Light"), QStringLiteral("Dark")};
}

int AccountSettings::appearanceIndex() const {
    return indexIn(kAppearances, m_state->appearance());
}

void AccountSettings::setAppearanceIndex(int index) {
    if (index >= 0 && std::size_t(index) < kAppearances.size())
        m_state->setAppearance(kAppearances[std::size_t(index)]);
}

QStringList AccountSettings::textSizeLabels() {
    return {QStringLiteral("Small"), QStringLiteral("Default"), QStringLiteral("Large"),
            QStringLiteral("Extra large")};
}

int AccountSettings::textSizeIndex() const {
    return indexIn(kTextSizes, m_state->fontSize());
}

void AccountSettings::setTextSizeIndex(int index) {
    if (index >= 0 && std::size_t(index) < kTextSizes.size())
        m_state->setFontSize(kTextSizes[std::size_t(index)]);
}

QStringList AccountSettings::translationLabels() {
    QStringList out;
    for (TranslationLanguage language : allTranslationLanguages())
        out.append(displayName(language));
    return out;
}

int AccountSettings::translationIndex() const {
    // Nothing stored (or something unknown) reads as "Match system language".
    const auto language = translationLanguageFromRaw(m_state->translationPreference())
                              .value_or(TranslationLanguage::system);
    return int(allTranslationLanguages().indexOf(language));
}

void AccountSettings::setTranslationIndex(int index) {
    const auto all = allTranslationLanguages();
    if (index < 0 || index >= all.size() || index == translationIndex())
        return;
    m_state->setTranslationPreference(rawText(all[index]));
}

QString AccountSettings::hostName() {
    return QSysInfo::machineHostName();
}

bool AccountSettings::launchAtLoginOffered() const {
    return m_desktop && m_desktop->loginItem();
}

void AccountSettings::refreshLaunchAtLogin() {
    const bool enabled = launchAtLoginOffered() && m_desktop->loginItem()->isEnabled();
    if (enabled != m_launchAtLogin) {
        m_launchAtLogin = enabled;
        emit launchAtLoginChanged();
    }
}

void AccountSettings::setLaunchAtLogin(bool enabled) {
    if (launchAtLoginOffered())
        m_desktop->loginItem()->setEnabled(enabled);
    // The switch follows what the desktop now has, which a refusal leaves as it was.
    refreshLaunchAtLogin();
    // The switch itself may show the wished state while this one did not change.
    emit launchAtLoginChanged();
}

} // namespace kv
