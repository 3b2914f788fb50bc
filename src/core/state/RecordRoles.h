#pragma once

// The roles each record offers the screens: one per field, named as the field.

#include "RecordListModel.h"
#include "records/Records.h"

namespace kv {

QList<FieldRole<Project>> projectRoles();
QList<FieldRole<Client>> clientRoles();
QList<FieldRole<Conversation>> conversationRoles();
QList<FieldRole<Message>> messageRoles();
QList<FieldRole<Visitor>> visitorRoles();
QList<FieldRole<Snippet>> snippetRoles();
QList<FieldRole<NotificationPref>> notificationPrefRoles();

// Models keyed by each record's identity.
using ProjectListModel = RecordListModel<Project>;
using ClientListModel = RecordListModel<Client>;
using ConversationListModel = RecordListModel<Conversation>;
using MessageListModel = RecordListModel<Message>;
using VisitorListModel = RecordListModel<Visitor>;
using SnippetListModel = RecordListModel<Snippet>;
using NotificationPrefListModel = RecordListModel<NotificationPref>;

ProjectListModel* newProjectModel(QObject* parent);
ClientListModel* newClientModel(QObject* parent);
ConversationListModel* newConversationModel(QObject* parent);
MessageListModel* newMessageModel(QObject* parent);
VisitorListModel* newVisitorModel(QObject* parent);
SnippetListModel* newSnippetModel(QObject* parent);
NotificationPrefListModel* newNotificationPrefModel(QObject* parent);

} // namespace kv
