#include "TranslationMenu.h"

namespace kv::translation {

QString defaultLabel(const QString& storedPreference) {
    const auto language =
        translationLanguageFromRaw(storedPreference).value_or(TranslationLanguage::system);
    return displayName(language);
}

QList<Entry> menuEntries(const QString& storedPreference) {
    QList<Entry> entries{
        {QStringLiteral("Default (") + defaultLabel(storedPreference) + u')', std::nullopt}};
    for (const TranslationLanguage language : allTranslationLanguages())
        entries.append(Entry{displayName(language), argosCode(language)});
    return entries;
}

bool translatable(const Message& message) {
    return message.role != MessageRole::system && !message.content.trimmed().isEmpty();
}

QString menuTitle(const Message& message) {
    return message.translation ? QStringLiteral("Translate to…") : QStringLiteral("Translate");
}

QString toggleLabel(const Message& message, bool showingTranslation) {
    if (showingTranslation)
        return QStringLiteral("Show original");
    if (message.detectedLanguage)
        return QStringLiteral("Translated from ") +
               Snippet::languageName(*message.detectedLanguage);
    return QStringLiteral("Show translation");
}

} // namespace kv::translation
