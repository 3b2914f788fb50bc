#include "PeopleText.h"

#include <QStringList>
#include <QTextBoundaryFinder>

namespace kv::people {

namespace {

// The first grapheme cluster: an emoji with its modifiers, a letter with its accents.
QString firstCharacter(const QString& piece) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, piece);
    const qsizetype end = finder.toNextBoundary();
    return end > 0 ? piece.left(end) : piece.left(1);
}

} // namespace

QString initials(const QString& name) {
    const QStringList pieces = name.split(u' ', Qt::SkipEmptyParts);
    QString out;
    for (qsizetype i = 0; i < pieces.size() && i < 2; ++i)
        out += firstCharacter(pieces[i]);
    return out.toUpper();
}

QString visitorInitials(const std::optional<QString>& visitorName) {
    return visitorName ? initials(*visitorName) : QStringLiteral("?");
}

QString visitorName(const std::optional<QString>& name) {
    return name.value_or(QStringLiteral("Anonymous visitor"));
}

} // namespace kv::people
