#include "RecordRoles.h"

namespace kv {

namespace {

template <typename V>
QVariant opt(const std::optional<V>& value) {
    return value ? QVariant::fromValue(*value) : QVariant();
}

} // namespace

QList<FieldRole<Project>> projectRoles() {
    return {
        {"id", [](const Project& v) { return QVariant(v.id); }},
        {"name", [](const Project& v) { return QVariant(v.name); }},
        {"websiteURL", [](const Project& v) { return QVariant(v.websiteURL); }},
        {"emoji", [](const Project& v) { return QVariant(v.emoji); }},
        {"logoURL", [](const Project& v) { return opt(v.logoURL); }},
        {"widgetColor", [](const Project& v) { return opt(v.widgetColor); }},
        {"clientID", [](const Project& v) { return opt(v.clientID); }},
        {"unreadCount", [](const Project& v) { return QVariant(v.unreadCount); }},
        {"liveVisitorCount", [](const Project& v) { return QVariant(v.liveVisitorCount); }},
    };
}

QList<FieldRole<Client>> clientRoles() {
    return {
        {"id", [](const Client& v) { return QVariant(v.id); }},
        {"name", [](const Client& v) { return QVariant(v.name); }},
        {"emoji", [](const Client& v) { return opt(v.emoji); }},
    };
}

QList<FieldRole<Conversation>> conversationRoles() {
    return {
        {"id", [](const Conversation& v) { return QVariant(v.id); }},
        {"projectID", [](const Conversation& v) { return QVariant(v.projectID); }},
        {"visitorName", [](const Conversation& v) { return opt(v.visitorName); }},
        {"visitorCountry", [](const Conversation& v) { return opt(v.visitorCountry); }},
        {"status", [](const Conversation& v) { return QVariant::fromValue(v.status); }},
        {"lastMessagePreview",
         [](const Conversation& v) { return QVariant(v.lastMessagePreview); }},
        {"lastMessageAt", [](const Conversation& v) { return QVariant(v.lastMessageAt); }},
        {"messageCount", [](const Conversation& v) { return QVariant(v.messageCount); }},
        {"hasUnread", [](const Conversation& v) { return QVariant(v.hasUnread); }},
        {"rating", [](const Conversation& v) { return opt(v.rating); }},
        {"tags", [](const Conversation& v) { return QVariant(v.tags); }},
        {"startedAt", [](const Conversation& v) { return QVariant(v.startedAt); }},
        {"aiEscalationReason", [](const Conversation& v) { return opt(v.aiEscalationReason); }},
        {"aiSuggestedReply", [](const Conversation& v) { return opt(v.aiSuggestedReply); }},
        {"aiRetrievedChunkCount",
         [](const Conversation& v) { return QVariant(v.aiRetrievedChunks.size()); }},
    };
}

QList<FieldRole<Message>> messageRoles() {
    return {
        {"id", [](const Message& v) { return QVariant(v.id); }},
        {"conversationID", [](const Message& v) { return QVariant(v.conversationID); }},
        {"role", [](const Message& v) { return QVariant::fromValue(v.role); }},
        {"content", [](const Message& v) { return QVariant(v.content); }},
        {"createdAt", [](const Message& v) { return QVariant(v.createdAt); }},
        {"detectedLanguage", [](const Message& v) { return opt(v.detectedLanguage); }},
        {"translation", [](const Message& v) { return opt(v.translation); }},
    };
}

QList<FieldRole<Visitor>> visitorRoles() {
    return {
        {"visitorID", [](const Visitor& v) { return QVariant(v.visitorID); }},
        {"projectID", [](const Visitor& v) { return QVariant(v.projectID); }},
        {"pageURL", [](const Visitor& v) { return QVariant(v.pageURL); }},
        {"pageTitle", [](const Visitor& v) { return opt(v.pageTitle); }},
        {"country", [](const Visitor& v) { return opt(v.country); }},
        {"city", [](const Visitor& v) { return opt(v.city); }},
        {"browser", [](const Visitor& v) { return opt(v.browser); }},
        {"os", [](const Visitor& v) { return opt(v.os); }},
        {"lastSeen", [](const Visitor& v) { return QVariant(v.lastSeen); }},
        {"firstSeen", [](const Visitor& v) { return QVariant(v.firstSeen); }},
        {"hasConversation", [](const Visitor& v) { return QVariant(v.hasConversation); }},
        {"pagesThisSession", [](const Visitor& v) { return QVariant(v.pagesThisSession); }},
        {"timeOnSiteSeconds", [](const Visitor& v) { return QVariant(v.timeOnSiteSeconds); }},
        {"isReturning", [](const Visitor& v) { return QVariant(v.isReturning); }},
        {"previousConversations",
         [](const Visitor& v) { return QVariant(v.previousConversations); }},
        {"referrer", [](const Visitor& v) { return opt(v.referrer); }},
    };
}

QList<FieldRole<Snippet>> snippetRoles() {
    return {
        {"id", [](const Snippet& v) { return QVariant(v.id); }},
        {"shortcut", [](const Snippet& v) { return QVariant(v.shortcut); }},
        {"title", [](const Snippet& v) { return QVariant(v.title); }},
        {"body", [](const Snippet& v) { return QVariant(v.body); }},
        {"emoji", [](const Snippet& v) { return QVariant(v.emoji); }},
    };
}

QList<FieldRole<NotificationPref>> notificationPrefRoles() {
    return {
        {"projectID", [](const NotificationPref& v) { return QVariant(v.projectID); }},
        {"muted", [](const NotificationPref& v) { return QVariant(v.muted); }},
        {"muteEscalation", [](const NotificationPref& v) { return QVariant(v.muteEscalation); }},
        {"muteNewMessage", [](const NotificationPref& v) { return QVariant(v.muteNewMessage); }},
        {"muteVisitorOnline",
         [](const NotificationPref& v) { return QVariant(v.muteVisitorOnline); }},
    };
}

ProjectListModel* newProjectModel(QObject* parent) {
    return new ProjectListModel([](const Project& v) { return v.id; }, projectRoles(), parent);
}

ClientListModel* newClientModel(QObject* parent) {
    return new ClientListModel([](const Client& v) { return v.id; }, clientRoles(), parent);
}

ConversationListModel* newConversationModel(QObject* parent) {
    return new ConversationListModel([](const Conversation& v) { return v.id; },
                                     conversationRoles(), parent);
}

MessageListModel* newMessageModel(QObject* parent) {
    return new MessageListModel([](const Message& v) { return v.id; }, messageRoles(), parent);
}

VisitorListModel* newVisitorModel(QObject* parent) {
    return new VisitorListModel([](const Visitor& v) { return v.visitorID; }, visitorRoles(),
                                parent);
}

SnippetListModel* newSnippetModel(QObject* parent) {
    return new SnippetListModel([](const Snippet& v) { return v.id; }, snippetRoles(), parent);
}

NotificationPrefListModel* newNotificationPrefModel(QObject* parent) {
    return new NotificationPrefListModel([](const NotificationPref& v) { return v.projectID; },
                                         notificationPrefRoles(), parent);
}

} // namespace kv
