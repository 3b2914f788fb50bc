#include "InboxRules.h"

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

QString subtitle(const QList<Conversation>& conversations, Filter filter) {
    if (conversations.isEmpty())
        return QStringLiteral("No conversations loaded for this agent");
    const qsizetype total = conversations.size();
    if (filter == Filter::all) {
        const auto waiting =
            std::count_if(conversations.begin(), conversations.end(), [](const Conversation& c) {
                return c.status == ConversationStatus::waiting;
            });
        return QStringLiteral("%1 total · %2 need reply")
            .arg(QString::number(total), QString::number(waiting));
    }
    const auto shown =
        std::count_if(conversations.begin(), conversations.end(),
                      [filter](const Conversation& c) { return matches(filter, c.status); });
    return QStringLiteral("%1 of %2 matches '%3'")
        .arg(QString::number(shown), QString::number(total), filterText(filter));
}

std::optional<EmptyState> emptyState(const QList<Conversation>& conversations, Filter filter,
                                     const QString& loadError) {
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
    const bool any =
        std::any_of(conversations.begin(), conversations.end(),
                    [filter](const Conversation& c) { return matches(filter, c.status); });
    if (any)
        return std::nullopt;
    const qsizetype total = conversations.size();
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
