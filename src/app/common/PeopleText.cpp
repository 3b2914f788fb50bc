#include "PeopleText.h"

#include <QStringList>
#include <QTextBoundaryFinder>

namespace kv::people {

QString leadingCharacters(const QString& text, int count) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < count && end < text.size(); ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next <= end)
            break;
        end = next;
    }
    return text.left(end);
}

QString initials(const QString& name) {
    const QStringList pieces = name.split(u' ', Qt::SkipEmptyParts);
    QString out;
    for (qsizetype i = 0; i < pieces.size() && i < 2; ++i)
        out += leadingCharacters(pieces[i], 1);
    return out.toUpper();
}

QString visitorInitials(const std::optional<QString>& visitorName) {
    return visitorName ? initials(*visitorName) : QStringLiteral("?");
}

QString visitorName(const std::optional<QString>& name) {
    return name.value_or(QStringLiteral("Anonymous visitor"));
}

} // namespace kv::people
