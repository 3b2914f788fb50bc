#include "LiveVisitorsModel.h"

#include "AppStateForeign.h"
#include "TimeText.h"
#include "Timing.h"
#include "UiTexts.h"

namespace kv {

namespace {

QString rowKey(const VisitorListRow& row) {
    return row.key;
}

#define KV_ROW_ROLE(field)                                                                         \
    FieldRole<VisitorListRow> {                                                                    \
#field, [](const VisitorListRow& r) { return QVariant(r.field); }                          \
    }

QList<FieldRole<VisitorListRow>> rowRoles() {
    return {KV_ROW_ROLE(key),         KV_ROW_ROLE(section),      KV_ROW_ROLE(standIn),
            KV_ROW_ROLE(visitorID),   KV_ROW_ROLE(title),        KV_ROW_ROLE(pageURL),
            KV_ROW_ROLE(journey),     KV_ROW_ROLE(lastSeen),     KV_ROW_ROLE(hasConversation),
            KV_ROW_ROLE(projectName), KV_ROW_ROLE(projectEmoji), KV_ROW_ROLE(projectLogo),
            KV_ROW_ROLE(projectColor)};
}

#undef KV_ROW_ROLE

VisitorListRow visitorRow(const QString& section, const Visitor& v,
                          const std::optional<Project>& project, const QDateTime& now) {
    VisitorListRow row;
    row.key = section + u'/' + v.visitorID;
    row.section = section;
    row.visitorID = v.visitorID;
    row.title = visitors::rowTitle(v);
    row.pageURL = v.pageURL;
    row.journey = visitors::journeyLine(v);
    row.lastSeen = times::relativeShort(v.lastSeen, now);
    row.hasConversation = v.hasConversation;
    if (project) {
        row.projectName = project->name;
        row.projectEmoji = project->emoji;
        row.projectLogo = project->logoURL ? project->logoURL->toString() : QString();
        row.projectColor = project->widgetColor.value_or(QString());
    }
    return row;
}

} // namespace

LiveVisitorsModel::LiveVisitorsModel(QObject* parent)
    : LiveVisitorsModel(AppStateForeign::instance(), parent) {}

LiveVisitorsModel::LiveVisitorsModel(AppState* state, QObject* parent)
    : QObject(parent), m_state(state),
      m_rows(new RecordListModel<VisitorListRow>(rowKey, rowRoles(), this)) {
    connect(m_state, &AppState::liveVisitorsChanged, this, &LiveVisitorsModel::rebuild);
    connect(m_state, &AppState::projectsChanged, this, &LiveVisitorsModel::rebuild);
    connect(&m_state->visitorStore(), &VisitorStore::statusChanged, this, [this] {
        emit loadStatusChanged();
        emit changed(); // the empty state may say why now
    });
    // Another agent: another list, loaded afresh with nothing selected.
    connect(m_state, &AppState::selectedProjectIDChanged, this, [this] {
        rebuild();
        appear();
    });
    m_clock.setInterval(Timing::current().relativeTimeRefresh);
    connect(&m_clock, &QTimer::timeout, this, &LiveVisitorsModel::rebuild);
    m_clock.start();
    rebuild();
}

LiveVisitorsModel::~LiveVisitorsModel() {
    if (m_load)
        m_load->cancel();
}

QList<Visitor> LiveVisitorsModel::listed() const {
    const auto project = m_state->selectedProjectID();
    if (!project)
        return m_state->liveVisitors();
    // Until the agent's own list arrives, the one before may still hold others' visitors.
    QList<Visitor> out;
    for (const Visitor& v : m_state->liveVisitors()) {
        if (v.projectID == *project)
            out.append(v);
    }
    return out;
}

QString LiveVisitorsModel::subtitle() const {
    return visitors::subtitle(listed());
}

bool LiveVisitorsModel::isEmpty() const {
    return listed().isEmpty();
}

EmptyState LiveVisitorsModel::emptyState() const {
    return visitors::emptyState(listed(), m_state->visitorStore().error()).value_or(EmptyState{});
}

QString LiveVisitorsModel::error() const {
    const QString reason = m_state->visitorStore().error();
    return reason.isEmpty() ? QString() : UiTexts::visitorsNotLoaded(reason);
}

void LiveVisitorsModel::appear() {
    m_state->setSelectedVisitorID(std::nullopt);
    reload();
}

void LiveVisitorsModel::reload() {
    // The previous agent's load is of no use any more.
    if (m_load)
        m_load->cancel();
    m_load = Cancellation();
    m_state->loadLiveVisitors(m_state->selectedProjectID(), *m_load);
}

void LiveVisitorsModel::select(const QString& visitorID) {
    m_state->setSelectedVisitorID(visitorID);
}

void LiveVisitorsModel::rebuild() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<VisitorListRow> rows;
    QStringList ids;
    QHash<QString, Group> groups;
    if (m_state->selectedProjectID()) {
        const auto project = m_state->project(*m_state->selectedProjectID());
        const QList<Visitor> shown = listed();
        rows.reserve(shown.size());
        for (const Visitor& v : shown)
            rows.append(visitorRow(QString(), v, project, now));
    } else {
        const auto visible = m_state->visibleVisitorGroups();
        rows.reserve(m_state->liveVisitors().size() + visible.size());
        for (const AppState::VisitorGroup& g : visible) {
            const QString section = sectionKey(g.id);
            ids.append(g.id);
            groups.insert(section, Group{g.id, g.project, g.visitors.size()});
            if (!m_expansion.isExpanded(g.id)) {
                VisitorListRow standIn;
                standIn.key = section;
                standIn.section = section;
                standIn.standIn = true;
                rows.append(standIn);
                continue;
            }
            for (const Visitor& v : g.visitors)
                rows.append(visitorRow(section, v, g.project, now));
        }
    }
    m_rows->apply(rows);
    const bool groupsMoved =
        ids != m_groupIDs || groups.size() != m_groups.size() ||
        std::any_of(groups.keyValueBegin(), groups.keyValueEnd(), [this](const auto& entry) {
            const auto was = m_groups.constFind(entry.first);
            return was == m_groups.constEnd() || was->project != entry.second.project ||
                   was->count != entry.second.count;
        });
    m_groupIDs = ids;
    m_groups = groups;
    if (groupsMoved)
        ++m_groupsRevision;
    emit changed();
}

VisitorGroupInfo LiveVisitorsModel::group(const QString& section) const {
    const auto found = m_groups.constFind(section);
    if (found == m_groups.constEnd())
        return {};
    const std::optional<Project>& project = found->project;
    const bool expanded = m_expansion.isExpanded(found->id);
    VisitorGroupInfo info;
    info.name = visitors::groupName(project);
    info.accessibleName = visitors::groupHeaderName(project, found->count, expanded);
    info.host = visitors::hostText(project);
    info.count = QString::number(found->count);
    info.expanded = expanded;
    info.hasProject = project.has_value();
    info.emoji = project ? project->emoji : QStringLiteral("\U0001F310");
    info.logoURL = project && project->logoURL ? project->logoURL->toString() : QString();
    info.colorHex = project ? project->widgetColor.value_or(QString()) : QString();
    return info;
}

void LiveVisitorsModel::toggle(const QString& section) {
    const auto found = m_groups.constFind(section);
    if (found == m_groups.constEnd())
        return;
    m_expansion.toggle(found->id);
    ++m_groupsRevision;
    rebuild();
}

void LiveVisitorsModel::toggleAll() {
    m_expansion.toggleAll(m_groupIDs);
    ++m_groupsRevision;
    rebuild();
}

} // namespace kv
