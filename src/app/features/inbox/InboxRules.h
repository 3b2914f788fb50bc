#pragma once

// The inbox's rules: the status filter, the visible order, and the texts
// above and in place of the list.

#include "EmptyState.h"
#include "records/Records.h"

#include <QString>

#include <optional>

namespace kv::inbox {

// In the order the filter control shows them.
enum class Filter { waiting, active, all, resolved };

QString filterText(Filter filter);
std::optional<Filter> filterFromText(const QString& text);
bool matches(Filter filter, ConversationStatus status);

// Newest first; equal times keep the service's order.
QList<Conversation> visibleOrder(QList<Conversation> conversations);
QList<Conversation> filtered(const QList<Conversation>& conversations, Filter filter);

// "12 total · 3 need reply", "2 of 12 matches 'Resolved'", or the empty-agent line.
QString subtitle(const QList<Conversation>& conversations, Filter filter);

using kv::EmptyState;
// What stands in place of the rows when the filter leaves none; none while rows show.
// A list that failed to load says so (with the reason), rather than "no conversations".
std::optional<EmptyState> emptyState(const QList<Conversation>& conversations, Filter filter,
                                     const QString& loadError = QString());

// The thread pane's state when no listed conversation is selected.
EmptyState noConversationPicked();

} // namespace kv::inbox
