#pragma once

// The inbox's rules: the status filter, the search, the visible order, the
// next visitor to answer, and the texts above and in place of the list.

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

// The search over the loaded conversations: the visitor's name, the preview,
// the tags and the country, case and accents ignored. `foldedSearch` is the
// search text through foldForSearch; empty matches all.
bool matchesSearch(const Conversation& conversation, const QString& foldedSearch);
bool shown(const Conversation& conversation, Filter filter, const QString& foldedSearch);
// What the search looks in, folded, one field to a line: worth keeping
// while the conversation stays the same.
QString searchText(const Conversation& conversation);

// The conversation that has waited longest for a reply: of those waiting,
// the one whose last message is oldest (the service's order breaks ties).
std::optional<Conversation> longestWaiting(const QList<Conversation>& conversations);

// "12 total · 3 need reply", "2 of 12 matches 'Resolved'", or the empty-agent
// line; with a search, how many it matches ("3 of 12 match 'jose'", within
// the filter's when there is one). `shownCount`: how many rows the list
// shows, where the caller knows (the list keeps each row's folded text;
// counting here folds every row again).
QString subtitle(const QList<Conversation>& conversations, Filter filter,
                 const QString& search = QString(),
                 std::optional<qsizetype> shownCount = std::nullopt);

using kv::EmptyState;
// What stands in place of the rows when the filter leaves none; none while rows show.
// A list that failed to load says so (with the reason), rather than "no conversations".
// A search that matches nothing says so, and how to see the rest.
std::optional<EmptyState> emptyState(const QList<Conversation>& conversations, Filter filter,
                                     const QString& loadError = QString(),
                                     const QString& search = QString(),
                                     std::optional<qsizetype> shownCount = std::nullopt);

// The thread pane's state when no listed conversation is selected.
EmptyState noConversationPicked();

} // namespace kv::inbox
