#include "SimData.h"

#include <QCryptographicHash>
#include <QJsonArray>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

// The statistics the simulated service answers: figures drawn from a stream
// that depends only on the seed, the agent and the range, so that they are
// the same on every request.

namespace kv::sim {

namespace {

// A stable pseudo-random stream per (seed, agent, range).
std::mt19937_64 statsRandom(quint64 seed, const QString& projectId, int days) {
    const QByteArray digest = QCryptographicHash::hash(
        QStringLiteral("%1/%2/%3").arg(seed).arg(projectId).arg(days).toUtf8(),
        QCryptographicHash::Sha1);
    quint64 value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | quint8(digest[i]);
    return std::mt19937_64(value);
}

} // namespace

QJsonObject SimData::stats(const QString& projectId, int days) const {
    struct Totals {
        QList<qint64> conversations, messages;
        qint64 visitors = 0, prev = 0, ratingCount = 0;
        double ratingSum = 0, resolved = 0;
    };
    auto agentTotals = [&](const QString& id) {
        auto random = statsRandom(m_seed, id, days);
        Totals t;
        for (int d = 0; d < days; ++d) {
            const qint64 c = between(random, 0, 14);
            t.conversations.append(c);
            t.messages.append(c * between(random, 3, 7));
        }
        const qint64 total = std::accumulate(t.conversations.begin(), t.conversations.end(), 0LL);
        t.visitors = total * between(random, 2, 5) + between(random, 0, 9);
        t.prev = std::max<qint64>(0, total + between(random, -total / 3 - 1, total / 3 + 1));
        t.ratingCount = total / 4;
        t.ratingSum = t.ratingCount * (3.6 + 0.1 * between(random, 0, 12));
        t.resolved = total * (0.45 + 0.01 * between(random, 0, 45));
        return t;
    };

    QStringList ids;
    if (projectId.isEmpty()) {
        for (const auto& p : projects)
            ids.append(p.id);
    } else {
        ids.append(projectId);
    }
    Totals sum;
    sum.conversations.fill(0, days);
    sum.messages.fill(0, days);
    QList<QPair<qint64, QString>> perAgent;
    for (const QString& id : ids) {
        const Totals t = agentTotals(id);
        qint64 agentTotal = 0;
        for (int d = 0; d < days; ++d) {
            sum.conversations[d] += t.conversations[d];
            sum.messages[d] += t.messages[d];
            agentTotal += t.conversations[d];
        }
        sum.visitors += t.visitors;
        sum.prev += t.prev;
        sum.ratingCount += t.ratingCount;
        sum.ratingSum += t.ratingSum;
        sum.resolved += t.resolved;
        perAgent.append({agentTotal, id});
    }

    QJsonArray buckets;
    qint64 conversations = 0, messages = 0;
    for (int d = 0; d < days; ++d) {
        const QDate day = m_now.date().addDays(d - days + 1);
        buckets.append(QJsonObject{{"day", day.toString(Qt::ISODate)},
                                   {"conversations", sum.conversations[d]},
                                   {"messages", sum.messages[d]}});
        conversations += sum.conversations[d];
        messages += sum.messages[d];
    }
    QJsonObject out{{"project_id", projectId.isEmpty() ? QStringLiteral("all") : projectId},
                    {"days", days},
                    {"conversations", conversations},
                    {"messages", messages},
                    {"unique_visitors", sum.visitors},
                    {"resolution_rate",
                     conversations ? std::min(1.0, sum.resolved / double(conversations)) : 0.0},
                    {"prev_conversations", sum.prev},
                    {"rating_count", sum.ratingCount},
                    {"buckets", buckets}};
    if (sum.ratingCount > 0)
        out.insert("avg_rating", std::round(sum.ratingSum / sum.ratingCount * 10) / 10);
    if (projectId.isEmpty()) {
        std::sort(perAgent.begin(), perAgent.end(),
                  [](const auto& a, const auto& b) { return a.first > b.first; });
        QJsonArray top;
        for (qsizetype i = 0; i < std::min<qsizetype>(5, perAgent.size()); ++i) {
            const SimProject* p = project(perAgent[i].second);
            QJsonObject row{
                {"project_id", p->id}, {"name", p->name}, {"conversations", perAgent[i].first}};
            if (p->websiteUrl)
                row.insert("website_url", *p->websiteUrl);
            if (p->widgetHeaderIcon)
                row.insert("widget_header_icon", *p->widgetHeaderIcon);
            top.append(row);
        }
        out.insert("top_agents", top);
    }
    return out;
}

} // namespace kv::sim
