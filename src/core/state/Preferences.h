#pragma once

// The operator's own settings on this machine: the appearance, the text size
// and the translation target under their documented keys, and, for this run,
// whether the context panel shows.
//
// Ordering rule: a setting is stored when it is assigned (the appearance and
// the text size even when unchanged) and notifies only when it changed.

#include "Enums.h"

#include <QObject>

class QSettings;

namespace kv {

class Preferences : public QObject {
    Q_OBJECT

public:
    static constexpr char kAppearanceKey[] = "KestovarMac.appearance";
    static constexpr char kFontSizeKey[] = "KestovarMac.fontSize";
    static constexpr char kTranslationKey[] = "translation.targetLanguage";

    explicit Preferences(QSettings* settings, QObject* parent = nullptr);

    AppearancePreference appearance() const { return m_appearance; }
    void setAppearance(AppearancePreference value);
    FontSizePreference fontSize() const { return m_fontSize; }
    void setFontSize(FontSizePreference value);
    bool contextPanelVisible() const { return m_contextPanelVisible; }
    void setContextPanelVisible(bool visible);

    // The stored target language as its raw text ("system", "da", …), empty when none.
    QString translationPreference() const;
    void setTranslationPreference(const QString& raw);
    // The engine code for the stored target language, read now.
    QString translationTargetCode() const;

signals:
    void appearanceChanged();
    void fontSizeChanged();
    void contextPanelVisibleChanged();
    void translationPreferenceChanged();

private:
    QSettings* m_settings;
    AppearancePreference m_appearance = AppearancePreference::system;
    FontSizePreference m_fontSize = FontSizePreference::normal;
    bool m_contextPanelVisible = true;
};

} // namespace kv
