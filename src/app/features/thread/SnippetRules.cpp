#include "SnippetRules.h"

namespace kv::snippets {

namespace {

// Spaces and tabs only: a line break is part of the message.
QStringView trimBlanks(QStringView text) {
    while (!text.isEmpty() && (text.front() == u' ' || text.front() == u'\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
    return text;
}

} // namespace

QList<Snippet> matching(const QString& draft, const QList<Snippet>& snippets) {
    const QStringView text = trimBlanks(draft);
    if (!text.startsWith(u'/'))
        return {};
    const qsizetype space = text.indexOf(u' ');
    const QString query = (space < 0 ? text : text.first(space)).sliced(1).toString().toLower();
    if (query.isEmpty())
        return snippets;
    QList<Snippet> out;
    for (const Snippet& s : snippets) {
        if (s.shortcut.toLower().startsWith(query) || s.title.toLower().contains(query))
            out.append(s);
    }
    return out;
}

QString insert(const QString& draft, const Snippet& snippet) {
    const QStringView text = trimBlanks(draft);
    if (text.startsWith(u'/')) {
        const qsizetype space = text.indexOf(u' ');
        const QStringView rest = space < 0 ? QStringView() : text.sliced(space + 1);
        return rest.isEmpty() ? snippet.body : snippet.body + u' ' + rest.toString();
    }
    if (!draft.isEmpty())
        return draft + QStringLiteral("\n\n") + snippet.body;
    return snippet.body;
}

QString matchCount(qsizetype count) {
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" match") : QStringLiteral(" matches"));
}

QString sendable(const QString& draft) {
    return draft.trimmed();
}

QString withoutCommand(const QString& draft) {
    const QStringView text = trimBlanks(draft);
    if (!text.startsWith(u'/'))
        return draft;
    const qsizetype space = text.indexOf(u' ');
    return space < 0 ? QString() : text.sliced(space + 1).toString();
}

QString menuEntry(const Snippet& snippet) {
    return snippet.emoji + u' ' + snippet.title + QStringLiteral("  /") + snippet.shortcut;
}

Fields forSave(const Fields& typed) {
    return {typed.shortcut.trimmed(), typed.title.trimmed(), typed.body.trimmed(),
            typed.emoji.isEmpty() ? kDefaultEmoji : typed.emoji};
}

bool canSave(const QString& body) {
    return !body.trimmed().isEmpty();
}

QString listTitle(const QString& title) {
    return title.isEmpty() ? QStringLiteral("(untitled)") : title;
}

} // namespace kv::snippets
