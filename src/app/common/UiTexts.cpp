#include "UiTexts.h"

#include "Enums.h"

namespace kv {

QString UiTexts::replyNotSent(const QString& reason) {
    return QStringLiteral("Reply not sent: ") + reason;
}

QString UiTexts::replyUnconfirmed() {
    return QStringLiteral("Not confirmed: the console closed before the service answered. "
                          "Check the conversation before you send it again.");
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

QString UiTexts::appearanceNote() {
    return QStringLiteral("Match system follows your desktop's appearance setting and updates "
                          "automatically when it changes.");
}

QString UiTexts::thisComputer() {
    return QStringLiteral("This computer");
}

QString UiTexts::startupNote() {
    return QStringLiteral(
        "Kestovar keeps running in the system tray after you close the window so it can still "
        "notify you about online visitors and messages to a human. Launching at login keeps that "
        "working after a restart.");
}

QString UiTexts::unreadLine(qint64 total) {
    return total > 0 ? QStringLiteral("%1 unread").arg(total)
                     : QStringLiteral("No unread conversations");
}

QString UiTexts::muteNote() {
    return QStringLiteral("Mute an agent everywhere — desktop, Slack, and email — without "
                          "disabling it.");
}

QString UiTexts::productName() {
    return QStringLiteral("Kestovar for Linux");
}

QString UiTexts::noNotificationService() {
    return QStringLiteral("Desktop notifications can't be shown: no notification service is "
                          "running in this session.");
}

QString UiTexts::testNotificationDelivered() {
    return QStringLiteral("Delivered");
}

QString UiTexts::testNotificationMissing() {
    return QStringLiteral("No notification service");
}

QString UiTexts::testNotificationReplies(bool inlineReply) {
    return inlineReply ? QStringLiteral("Replies are typed right in the notification.")
                       : QStringLiteral("Replies are typed in Kestovar's quick-reply window.");
}

QString UiTexts::versionLine(const QString& shortVersion, const QString& build) {
    return QStringLiteral("Version %1 · Build %2").arg(shortVersion, build);
}

QString UiTexts::snippetNotSaved(const QString& reason) {
    return QStringLiteral("Snippet not saved: ") + reason;
}

QString UiTexts::conversationsNotLoaded(const QString& reason) {
    return QStringLiteral("Couldn’t load conversations: ") + reason;
}

QString UiTexts::visitorsNotLoaded(const QString& reason) {
    return QStringLiteral("Couldn’t load visitors: ") + reason;
}

QString UiTexts::snippetsNotLoaded(const QString& reason) {
    return QStringLiteral("Couldn’t load snippets: ") + reason;
}

QString UiTexts::messagesNotLoaded(const QString& reason) {
    return QStringLiteral("Couldn’t load messages: ") + reason;
}

} // namespace kv
