#pragma once

// The simulated service's state: an account with clients, agents,
// conversations, live visitors, snippets, notification preferences and
// statistics, generated from a seed so every run with the same seed sees
// the same data (times are relative to when the data was made).

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <random>

namespace kv::sim {

struct SimUser {
    QString id, email, name;
    bool isAdmin = false, isAgency = true;
};

struct SimClient {
    QString id, name;
};

struct SimProject {
    QString id, name;
    std::optional<QString> websiteUrl, widgetColor, widgetHeaderIcon, widgetLogoUrl, clientId;
};

struct SimChunk {
    QString id, title, snippet, sourceUrl;
    double score = 0;
};

struct SimMessage {
    QString id, conversationId, role, content;
    QDateTime createdAt;
    std::optional<QString> detectedLanguage, translation;
};

struct SimConversation {
    QString id, projectId;
    std::optional<QString> visitorName, visitorCountry, visitorId;
    QString status;
    QStringList tags;
    std::optional<qint64> rating;
    QDateTime startedAt;
    bool hasUnread = false;
    std::optional<QString> aiEscalationReason, aiSuggestedReply;
    QList<SimChunk> chunks;
    QList<SimMessage> messages;

    QDateTime lastMessageAt() const;
    QString lastMessagePreview() const;
};

struct SimVisitor {
    QString visitorId, projectId, pageUrl;
    std::optional<QString> pageTitle, country, city, browser, os, referrer;
    QDateTime firstSeen, lastSeen;
    bool hasConversation = false, isReturning = false;
    qint64 pagesThisSession = 1, timeOnSiteSeconds = 0, previousConversations = 0;
};

struct SimSnippet {
    QString id, shortcut, title, body, emoji;
};

struct SimPref {
    QString projectId;
    bool muted = false, muteEscalation = false, muteNewMessage = false, muteVisitorOnline = false;
};

struct SimOptions {
    quint64 seed = 1;
    int agents = 7;
    int conversationsPerAgent = 0; // 0: three to six each
    int visitors = 0;              // over all agents; 0: none to four each
};

class SimData {
public:
    explicit SimData(const SimOptions& options, QDateTime now = QDateTime::currentDateTimeUtc());

    SimUser user;
    QList<SimClient> clients;
    QList<SimProject> projects;
    QList<SimConversation> conversations;
    QList<SimVisitor> visitors;
    QHash<QString, QList<SimSnippet>> snippets; // by project
    QList<SimPref> prefs;
    // English renderings of seeded messages, for the translator.
    QHash<QString, QPair<QString, QString>> translations; // text → (language, English)

    const SimProject* project(const QString& id) const;
    SimConversation* conversation(const QString& projectId, const QString& id);
    SimPref* pref(const QString& projectId);
    QString nextId(const QString& prefix);

    // Deterministic statistics for one agent, or all (projectId empty), over `days`.
    QJsonObject stats(const QString& projectId, int days) const;
    // Replaces the live visitors: `total` spread over every agent (0: none to four each).
    void seedVisitors(int total);

private:
    void seedProjects(int agents);
    void seedConversations(int perAgent);
    void seedSnippets();

    std::mt19937_64 m_random;
    QDateTime m_now;
    quint64 m_seed;
    int m_counter = 1000;
};

// A uniform integer in [low, high]: the one way the generated data draws numbers.
int between(std::mt19937_64& random, int low, int high);

// JSON forms exactly as the service writes them (snake-case keys, absent optionals omitted).
QJsonObject toJson(const SimUser& u);
QJsonObject toJson(const SimClient& c);
QJsonObject toJson(const SimProject& p, const SimData& data);
QJsonObject toJson(const SimConversation& c);
QJsonObject toJson(const SimMessage& m);
QJsonObject toJson(const SimVisitor& v);
QJsonObject toJson(const SimSnippet& s);
QJsonObject toJson(const SimPref& p);
QString wireTime(const QDateTime& t);

} // namespace kv::sim
