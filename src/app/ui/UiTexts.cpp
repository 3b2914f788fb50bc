#include "UiTexts.h"

#include "Enums.h"

namespace kv {

QString UiTexts::replyNotSent(const QString& reason) {
    return QStringLiteral("Reply not sent: ") + reason;
}

QString UiTexts::statusText(int conversationStatus) {
    switch (ConversationStatus(conversationStatus)) {
    case ConversationStatus::waiting:
        return QStringLiteral("Needs reply");
    case ConversationStatus::active:
        break;
    case ConversationStatus::operatorActive:
        return QStringLiteral("You're chatting");
    case ConversationStatus::resolved:
        return QStringLiteral("Resolved");
    }
    return QStringLiteral("Active");
}

QString UiTexts::composerPlaceholder() {
    return QStringLiteral("Type a reply… type / for snippets, Ctrl+↩ to send");
}

QString UiTexts::composerHint() {
    return QStringLiteral("Ctrl+↩ send  ·  Ctrl+Shift+↩ send & resolve");
}

QString UiTexts::signInTagline() {
    return QStringLiteral("Live visitors and replies, on your desktop.");
}

QString UiTexts::notYetAvailable() {
    return QStringLiteral("Not available yet: this action comes in a later version.");
}

} // namespace kv
