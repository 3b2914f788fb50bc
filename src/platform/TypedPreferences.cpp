#include "TypedPreferences.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace kv {

namespace {

bool readJson(QIODevice& device, QSettings::SettingsMap& map) {
    const QByteArray bytes = device.readAll();
    if (bytes.trimmed().isEmpty())
        return true; // a new, empty file
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject object = doc.object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        map.insert(it.key(), it.value().toVariant());
    return true;
}

QJsonValue jsonOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toDouble(); // whole numbers up to 2^53 stay exact (milliseconds since 1970 do)
    case QMetaType::QStringList:
        return QJsonValue::fromVariant(value);
    default:
        return value.toString();
    }
}

bool writeJson(QIODevice& device, const QSettings::SettingsMap& map) {
    QJsonObject object;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        object.insert(it.key(), jsonOf(it.value()));
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    return device.write(bytes) == bytes.size();
}

} // namespace

QSettings::Format typedPreferencesFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("json"), readJson, writeJson);
    return format;
}

std::unique_ptr<QSettings> openPreferences() {
    return std::make_unique<QSettings>(typedPreferencesFormat(), QSettings::UserScope,
                                       QCoreApplication::organizationName(),
                                       QCoreApplication::applicationName());
}

std::unique_ptr<QSettings> openPreferences(const QString& path) {
    return std::make_unique<QSettings>(path, typedPreferencesFormat());
}

} // namespace kv
