#pragma once

// The stats screen's view-model: the figures of the selected agent (or all
// agents) over the chosen range, from the state's cache, and the one load
// that belongs to the screen: started when the screen is shown and again
// whenever the agent or the range changes, replacing the one before.

#include "records/Records.h"
#include "service/Cancellation.h"

#include <QObject>
#include <QPointF>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

// One agent of the "Top agents" card, as shown.
struct TopAgentRow {
    Q_GADGET
    QML_VALUE_TYPE(topAgentRow)
    Q_PROPERTY(QString icon MEMBER icon)
    Q_PROPERTY(QString name MEMBER name)
    Q_PROPERTY(QString website MEMBER website) // without its scheme
    Q_PROPERTY(QString conversations MEMBER conversations)

public:
    QString icon;
    QString name;
    QString website;
    QString conversations;
    bool operator==(const TopAgentRow&) const = default;
};

// A day named under the chart's x-axis, `at` its index among the days.
struct AxisLabel {
    Q_GADGET
    QML_VALUE_TYPE(axisLabel)
    Q_PROPERTY(QString label MEMBER label)
    Q_PROPERTY(int at MEMBER at)

public:
    QString label;
    int at = 0;
    bool operator==(const AxisLabel&) const = default;
};

class StatsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int days READ days WRITE setDays NOTIFY changed)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY changed)
    // Whether the figures are being fetched, and "Couldn’t load stats:
    // <reason>" while the last fetch failed. Until figures arrive, each
    // reads "—", never a zero that looks like a quiet week.
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QString conversations READ conversations NOTIFY changed)
    Q_PROPERTY(QString conversationsDelta READ conversationsDelta NOTIFY changed)
    Q_PROPERTY(bool deltaRises READ deltaRises NOTIFY changed)
    Q_PROPERTY(QString messages READ messages NOTIFY changed)
    Q_PROPERTY(QString uniqueVisitors READ uniqueVisitors NOTIFY changed)
    Q_PROPERTY(QString resolutionRate READ resolutionRate NOTIFY changed)
    Q_PROPERTY(QString averageRating READ averageRating NOTIFY changed)
    Q_PROPERTY(int filledStars READ filledStars NOTIFY changed)
    Q_PROPERTY(QString ratedText READ ratedText NOTIFY changed)
    // In service order.
    Q_PROPERTY(QList<kv::TopAgentRow> topAgents READ topAgents NOTIFY changed)
    // How many days the chart plots, one point each.
    Q_PROPERTY(int pointCount READ pointCount NOTIFY changed)
    // Every labelStride days.
    Q_PROPERTY(QList<kv::AxisLabel> axisLabels READ axisLabels NOTIFY changed)
    // A round number above every count, for the y-axis.
    Q_PROPERTY(int chartTop READ chartTop NOTIFY changed)
    Q_PROPERTY(QStringList rangeLabels READ rangeLabels CONSTANT)
    // Which of "7d", "30d", "90d" is chosen.
    Q_PROPERTY(int rangeIndex READ rangeIndex WRITE setRangeIndex NOTIFY changed)

public:
    explicit StatsModel(QObject* parent = nullptr);
    StatsModel(AppState* state, QObject* parent);
    ~StatsModel() override;

    int days() const;
    void setDays(int days);
    QString subtitle() const;
    bool loading() const { return !m_cached && !m_failure; }
    bool failed() const { return m_failure.has_value(); }
    QString error() const;
    QString conversations() const { return figure(m_stats.conversations); }
    QString conversationsDelta() const;
    bool deltaRises() const { return conversationsDelta().startsWith(u'↑'); }
    QString messages() const { return figure(m_stats.messages); }
    QString uniqueVisitors() const { return figure(m_stats.uniqueVisitors); }
    QString resolutionRate() const;
    QString averageRating() const;
    int filledStars() const;
    QString ratedText() const { return figure(m_stats.ratingCount) + QStringLiteral(" rated"); }
    QList<TopAgentRow> topAgents() const;
    int pointCount() const { return int(m_stats.buckets.size()); }
    QList<AxisLabel> axisLabels() const;
    int chartTop() const;
    static QStringList rangeLabels();
    int rangeIndex() const;
    void setRangeIndex(int index);

    // "Dec 3: 12 conversations, 40 messages", for the day under the pointer.
    Q_INVOKABLE QString dayTooltip(int index) const;
    // The chart's lines in a plot of `width` × `height`: series 0 is the
    // conversations, 1 the messages; and the area under the conversations.
    Q_INVOKABLE QList<QPointF> curve(int series, qreal width, qreal height) const;
    Q_INVOKABLE QList<QPointF> conversationsArea(qreal width, qreal height) const;
    // Where the conversations' area begins, as a share of the plot's height from the top.
    Q_INVOKABLE qreal conversationsAreaTop() const;
    Q_INVOKABLE void retry();

signals:
    void changed();

private:
    void refresh();
    // Starts the load of the current key unless it is the one running.
    void follow();
    std::optional<QString> projectID() const;
    QString figure(qint64 value) const;

    AppState* m_state;
    ProjectStats m_stats;
    bool m_cached = false;
    std::optional<QString> m_failure;
    QString m_taskKey;
    std::optional<Cancellation> m_task;
};

} // namespace kv
