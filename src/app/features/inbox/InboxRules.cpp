#include "InboxRules.h"

#include "TextMatch.h"

#include <algorithm>

namespace kv::inbox {

QString filterText(Filter filter) {
    switch (filter) {
    case Filter::waiting:
        return QStringLiteral("Needs reply");
    case Filter::active:
        return QStringLiteral("Active");
    case Filter::all:
        break;
    case Filter::resolved:
        return QStringLiteral("Resolved");
    }
    return QStringLiteral("All");
}

std::optional<Filter> filterFromText(const QString& text) {
    for (const Filter f : {Filter::waiting, Filter::active, Filter::all, Filter::resolved}) {
        if (filterText(f) == text)
            return f;
    }
    return std::nullopt;
}

bool matches(Filter filter, ConversationStatus status) {
    switch (filter) {
    case Filter::waiting:
        return status == ConversationStatus::waiting;
    case Filter::active:
        return status == ConversationStatus::active || status == ConversationStatus::operatorActive;
    case Filter::all:
        return true;
    case Filter::resolved:
        return status == ConversationStatus::resolved;
    }
    return true;
}

QList<Conversation> visibleOrder(QList<Conversation> conversations) {
    std::stable_sort(conversations.begin(), conversations.end(),
                     [](const Conversation& a, const Conversation& b) {
                         return a.lastMessageAt > b.lastMessageAt;
                     });
    return conversations;
}

QList<Conversation> filtered(const QList<Conversation>& conversations, Filter filter) {
    QList<Conversation> out;
    for (const Conversation& c : visibleOrder(conversations)) {
        if (matches(filter, c.status))
            out.append(c);
    }
    return out;
}

QString searchText(const Conversation& c) {
    QStringList fields{c.visitorName.value_or(QString()), c.lastMessagePreview,
                       c.visitorCountry.value_or(QString())};
    fields += c.tags;
    return foldForSearch(fields.join(u'\n'));
}

bool matchesSearch(const Conversation& c, const QString& foldedSearch) {
    return foldedSearch.isEmpty() || searchText(c).contains(foldedSearch);
}

bool shown(const Conversation& c, Filter filter, const QString& foldedSearch) {
    return matches(filter, c.status) && matchesSearch(c, foldedSearch);
}

std::optional<Conversation> longestWaiting(const QList<Conversation>& conversations) {
    const Conversation* found = nullptr;
    for (const Conversation& c : conversations) {
        if (c.status == ConversationStatus::waiting &&
            (!found || c.lastMessageAt < found->lastMessageAt))
            found = &c;
    }
    return found ? std::optional(*found) : std::nullopt;
}

namespace {

qsizetype countShown(const QList<Conversation>& conversations, Filter filter,
                     const QString& foldedSearch, std::optional<qsizetype> known) {
    if (known)
        return *known;
    return std::count_if(conversations.begin(), conversations.end(),
                         [&](const Conversation& c) { return shown(c, filter, foldedSearch); });
}

} // namespace

QString subtitle(const QList<Conversation>& conversations, Filter filter, const QString& search,
                 std::optional<qsizetype> shownCount) {
    if (conversations.isEmpty())
        return QStringLiteral("No conversations loaded for this agent");
    const qsizetype total = conversations.size();
    const QString trimmed = search.trimmed();
    if (!trimmed.isEmpty()) {
        const qsizetype count =
            countShown(conversations, filter, foldForSearch(trimmed), shownCount);
        QString line =
            QStringLiteral("%1 of %2 %3 '%4'")
                .arg(QString::number(count), QString::number(total),
                     count == 1 ? QStringLiteral("matches") : QStringLiteral("match"), trimmed);
        if (filter != Filter::all)
            line += QStringLiteral(" in '%1'").arg(filterText(filter));
        return line;
    }
    if (filter == Filter::all) {
        const auto waiting =
            std::count_if(conversations.begin(), conversations.end(), [](const Conversation& c) {
                return c.status == ConversationStatus::waiting;
            });
        return QStringLiteral("%1 total · %2 need reply")
            .arg(QString::number(total), QString::number(waiting));
    }
    return QStringLiteral("%1 of %2 matches '%3'")
        .arg(QString::number(countShown(conversations, filter, QString(), shownCount)),
             QString::number(total), filterText(filter));
}

std::optional<EmptyState> emptyState(const QList<Conversation>& conversations, Filter filter,
                                     const QString& loadError, const QString& search,
                                     std::optional<qsizetype> shownCount) {
    if (conversations.isEmpty() && !loadError.isEmpty()) {
        return EmptyState{QStringLiteral("exclamationmark.triangle.fill"),
                          QStringLiteral("Couldn’t load conversations"), loadError};
    }
    if (conversations.isEmpty()) {
        return EmptyState{
            QStringLiteral("tray"), QStringLiteral("No conversations yet"),
            QStringLiteral("This agent hasn't received any messages. Once visitors start "
                           "chatting, they'll appear here.")};
    }
    const QString trimmed = search.trimmed();
    if (countShown(conversations, filter, foldForSearch(trimmed), shownCount) > 0)
        return std::nullopt;
    const qsizetype total = conversations.size();
    if (!trimmed.isEmpty()) {
        return EmptyState{
            QStringLiteral("magnifyingglass"),
            QStringLiteral("No conversations match '%1'").arg(trimmed),
            QStringLiteral("Clear the search to see all %1 conversation%2 here.")
                .arg(QString::number(total), total == 1 ? QString() : QStringLiteral("s"))};
    }
    return EmptyState{QStringLiteral("line.3.horizontal.decrease.circle"),
                      QStringLiteral("No conversations match '%1'").arg(filterText(filter)),
                      QStringLiteral("Switch to '%1' to see all %2 conversation%3 for this agent.")
                          .arg(filterText(Filter::all), QString::number(total),
                               total == 1 ? QString() : QStringLiteral("s"))};
}

EmptyState noConversationPicked() {
    return EmptyState{
        QStringLiteral("bubble.left.and.bubble.right"), QStringLiteral("Pick a conversation"),
        QStringLiteral("Select a chat from the list to see the full thread and reply.")};
}

} // namespace kv::inbox
