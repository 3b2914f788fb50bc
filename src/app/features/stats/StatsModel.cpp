#include "StatsModel.h"

#include "AppStateForeign.h"
#include "LinkPolicy.h"
#include "StatsRules.h"
#include "records/WireRecords.h"
#include "state/AppState.h"

namespace kv {

StatsModel::StatsModel(QObject* parent) : StatsModel(AppStateForeign::instance(), parent) {}

StatsModel::StatsModel(AppState* state, QObject* parent) : QObject(parent), m_state(state) {
    connect(m_state, &AppState::statsChanged, this, &StatsModel::refresh);
    connect(m_state, &AppState::selectedProjectIDChanged, this, &StatsModel::follow);
    connect(m_state, &AppState::statsDaysChanged, this, &StatsModel::follow);
    follow();
}

StatsModel::~StatsModel() {
    // The screen is gone: so is its load.
    if (m_task)
        m_task->cancel();
}

std::optional<QString> StatsModel::projectID() const {
    return m_state->selectedProjectID();
}

int StatsModel::days() const {
    return m_state->statsDays();
}

void StatsModel::setDays(int days) {
    m_state->setStatsDays(days);
}

void StatsModel::follow() {
    const QString key = AppState::statsKey(projectID(), days());
    refresh();
    if (key == m_taskKey)
        return;
    if (m_task)
        m_task->cancel();
    m_taskKey = key;
    m_task = Cancellation();
    m_state->loadStats(projectID(), days(), *m_task);
}

void StatsModel::retry() {
    m_state->retryStats(projectID(), days());
}

void StatsModel::refresh() {
    const auto cached = m_state->cachedStats(projectID(), days());
    m_cached = cached.has_value();
    if (cached) {
        m_stats = *cached;
        m_failure.reset();
    } else {
        m_stats = ProjectStats{};
        m_stats.projectID = projectID().value_or(QStringLiteral("all"));
        m_stats.days = days();
        m_failure = m_state->statsError(AppState::statsKey(projectID(), days()));
    }
    emit changed();
}

QString StatsModel::subtitle() const {
    return stats::headerSubtitle(failed(), loading(), m_stats.days);
}

QString StatsModel::conversationsDelta() const {
    return stats::deltaText(m_stats.conversations, m_stats.prevConversations).value_or(QString());
}

QString StatsModel::error() const {
    return m_failure ? stats::notLoaded(*m_failure) : QString();
}

QString StatsModel::figure(qint64 value) const {
    return m_cached ? QString::number(value) : stats::kNoFigure;
}

QString StatsModel::resolutionRate() const {
    return m_cached ? stats::resolutionRate(m_stats.resolutionRate) : stats::kNoFigure;
}

QString StatsModel::averageRating() const {
    return m_cached ? stats::averageText(m_stats.avgRating) : stats::kNoFigure;
}

int StatsModel::filledStars() const {
    return stats::filledStars(m_stats.avgRating);
}

QList<TopAgentRow> StatsModel::topAgents() const {
    QList<TopAgentRow> out;
    out.reserve(m_stats.topAgents.size());
    for (const TopAgent& project : m_stats.topAgents) {
        out.append({emojiForHeaderIcon(project.widgetHeaderIcon), project.name,
                    project.websiteURL ? links::withoutScheme(*project.websiteURL) : QString(),
                    QString::number(project.conversations)});
    }
    return out;
}

QList<AxisLabel> StatsModel::axisLabels() const {
    QList<AxisLabel> out;
    const int stride = stats::labelStride(m_stats.buckets.size());
    for (qsizetype i = 0; i < m_stats.buckets.size(); i += stride)
        out.append({stats::dayLabel(m_stats.buckets[i].day), int(i)});
    return out;
}

int StatsModel::chartTop() const {
    qint64 top = 0;
    for (const StatsBucket& bucket : m_stats.buckets)
        top = std::max({top, bucket.conversations, bucket.messages});
    return stats::axisTop(top);
}

QString StatsModel::dayTooltip(int index) const {
    if (index < 0 || index >= m_stats.buckets.size())
        return QString();
    const StatsBucket& bucket = m_stats.buckets[index];
    return QStringLiteral("%1: %2 conversations, %3 messages")
        .arg(stats::dayLabel(bucket.day), QString::number(bucket.conversations),
             QString::number(bucket.messages));
}

QList<QPointF> StatsModel::curve(int series, qreal width, qreal height) const {
    QList<double> values;
    values.reserve(m_stats.buckets.size());
    for (const StatsBucket& bucket : m_stats.buckets)
        values.append(double(series == 0 ? bucket.conversations : bucket.messages));
    return stats::smoothCurve(values, chartTop(), QSizeF(width, height));
}

QList<QPointF> StatsModel::conversationsArea(qreal width, qreal height) const {
    return stats::areaUnder(curve(0, width, height), QSizeF(width, height));
}

qreal StatsModel::conversationsAreaTop() const {
    qint64 peak = 0;
    for (const StatsBucket& bucket : m_stats.buckets)
        peak = std::max(peak, bucket.conversations);
    return 1.0 - double(peak) / std::max(1, chartTop());
}

namespace {
constexpr int kRanges[] = {7, 30, 90};
}

int StatsModel::rangeIndex() const {
    const auto found = std::find(std::begin(kRanges), std::end(kRanges), days());
    return found == std::end(kRanges) ? -1 : int(found - std::begin(kRanges));
}

void StatsModel::setRangeIndex(int index) {
    if (index >= 0 && index < int(std::size(kRanges)))
        setDays(kRanges[index]);
}

QStringList StatsModel::rangeLabels() {
    return {QStringLiteral("7d"), QStringLiteral("30d"), QStringLiteral("90d")};
}

} // namespace kv
