#pragma once

// Domain records as JSON objects for scripting: members named as the record
// fields, instants as UTC "YYYY-MM-DDTHH:MM:SS.mmmZ", absent optionals
// omitted, enumerations as their wire texts.

#include "records/Records.h"

#include <QJsonObject>

namespace kv::cli {

QJsonObject toJson(const User& v);
QJsonObject toJson(const Project& v);
QJsonObject toJson(const Client& v);
QJsonObject toJson(const Conversation& v);
QJsonObject toJson(const Message& v);
QJsonObject toJson(const Visitor& v);
QJsonObject toJson(const Snippet& v);
QJsonObject toJson(const NotificationPref& v);
QJsonObject toJson(const ProjectStats& v);
QJsonObject toJson(const SendMessageResult& v);
QJsonObject toJson(const TranslationResult& v);

} // namespace kv::cli
