#include "Preferences.h"

#include "records/Records.h"

#include <QLocale>
#include <QMetaEnum>
#include <QSettings>

namespace kv {

namespace {

template <typename E>
QString enumText(E value) {
    return QString::fromLatin1(QMetaEnum::fromType<E>().valueToKey(int(value)));
}

template <typename E>
E enumFromText(const QVariant& stored, E fallback) {
    if (stored.typeId() != QMetaType::QString)
        return fallback;
    bool ok = false;
    const int value =
        QMetaEnum::fromType<E>().keyToValue(stored.toString().toLatin1().constData(), &ok);
    return ok ? E(value) : fallback;
}

} // namespace

Preferences::Preferences(QSettings* settings, QObject* parent)
    : QObject(parent), m_settings(settings),
      m_appearance(enumFromText(settings->value(kAppearanceKey), AppearancePreference::system)),
      m_fontSize(enumFromText(settings->value(kFontSizeKey), FontSizePreference::normal)) {}

void Preferences::setAppearance(AppearancePreference value) {
    // Written on every assignment, also of the same value.
    m_settings->setValue(kAppearanceKey, enumText(value));
    if (m_appearance == value)
        return;
    m_appearance = value;
    emit appearanceChanged();
}

void Preferences::setFontSize(FontSizePreference value) {
    m_settings->setValue(kFontSizeKey, enumText(value));
    if (m_fontSize == value)
        return;
    m_fontSize = value;
    emit fontSizeChanged();
}

void Preferences::setContextPanelVisible(bool visible) {
    if (m_contextPanelVisible == visible)
        return;
    m_contextPanelVisible = visible;
    emit contextPanelVisibleChanged();
}

QString Preferences::translationPreference() const {
    return m_settings->value(kTranslationKey).toString();
}

void Preferences::setTranslationPreference(const QString& raw) {
    if (translationPreference() == raw && m_settings->contains(kTranslationKey))
        return;
    m_settings->setValue(kTranslationKey, raw);
    emit translationPreferenceChanged();
}

QString Preferences::translationTargetCode() const {
    const auto language =
        translationLanguageFromRaw(translationPreference()).value_or(TranslationLanguage::system);
    if (const auto code = argosCode(language))
        return *code;
    const QString system = QLocale::system().name().section(u'_', 0, 0);
    return system.isEmpty() || system == u"C" ? QStringLiteral("en") : system;
}

} // namespace kv
