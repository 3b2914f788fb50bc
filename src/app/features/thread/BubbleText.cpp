#include "BubbleText.h"

#include <QLocale>

namespace kv::bubble {

QString shownPart(const QString& text) {
    if (text.size() <= kShownCharacters)
        return text;
    qsizetype cut = kShownCharacters;
    if (text.at(cut - 1).isHighSurrogate())
        --cut; // never half a character
    return text.left(cut) + u'…';
}

QString shortenedNote(const QString& text) {
    if (text.size() <= kShownCharacters)
        return {};
    return QStringLiteral("Shortened — %1 characters in all")
        .arg(QLocale(QLocale::English).toString(text.size()));
}

} // namespace kv::bubble
