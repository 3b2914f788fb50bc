#include "TextMatch.h"

#include <algorithm>

namespace kv {

QString foldForSearch(const QString& text) {
    // Most names and previews are plain ASCII: lower case is all it takes.
    const bool ascii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return text.toLower();
    // Decomposed, the accents are marks of their own that can be left out.
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const auto category = c.category();
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing ||
            category == QChar::Mark_SpacingCombining)
            continue;
        out.append(c);
    }
    return out.toCaseFolded();
}

} // namespace kv
