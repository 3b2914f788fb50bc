#include "InboxModel.h"

#include "AppStateForeign.h"
#include "PeopleText.h"
#include "TextMatch.h"
#include "TimeText.h"
#include "Timing.h"
#include "UiTexts.h"
#include "state/AppState.h"

namespace kv {

namespace {

// Role numbers of the state's conversation model, by name.
int sourceRole(const QAbstractItemModel* model, const QByteArray& name) {
    return model->roleNames().key(name, -1);
}

} // namespace

// ---- rows ----------------------------------------------------------------------

InboxRows::InboxRows(AppState* state, QObject* parent)
    : QSortFilterProxyModel(parent), m_state(state) {
    // Connected before the proxy's own: a changed row is read afresh when
    // the proxy filters it again.
    const auto forget = [this] { m_searchText.clear(); };
    QAbstractItemModel* source = state->conversationsModel();
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, forget);
    connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, forget);
    connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, forget);
    connect(source, &QAbstractItemModel::rowsAboutToBeMoved, this, forget);
    connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, forget);
    connect(source, &QAbstractItemModel::dataChanged, this, forget);
    setSourceModel(source);
    setDynamicSortFilter(true);
    sort(0, Qt::DescendingOrder);
}

void InboxRows::setFilter(inbox::Filter filter) {
    if (m_filter == filter)
        return;
    m_filter = filter;
    invalidateRowsFilter();
}

void InboxRows::setSearch(const QString& search) {
    if (m_search == search)
        return;
    m_search = search;
    const QString folded = foldForSearch(search.trimmed());
    if (folded == m_foldedSearch)
        return;
    m_foldedSearch = folded;
    m_matcher.setPattern(folded);
    invalidateRowsFilter();
}

void InboxRows::refreshTimes() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {RelativeTimeRole});
}

qsizetype InboxRows::shownCount() const {
    // From the source, not the rows: it holds whichever of the list's
    // changes has reached it first.
    qsizetype count = 0;
    const auto total = int(m_state->conversations().size());
    for (int row = 0; row < total; ++row)
        count += filterAcceptsRow(row, QModelIndex()) ? 1 : 0;
    return count;
}

bool InboxRows::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const auto& all = m_state->conversations();
    if (sourceRow >= all.size() || !inbox::matches(m_filter, all[sourceRow].status))
        return false;
    if (m_foldedSearch.isEmpty())
        return true;
    if (m_searchText.size() != all.size())
        m_searchText = QList<QString>(all.size());
    QString& text = m_searchText[sourceRow];
    if (text.isNull())
        text = inbox::searchText(all[sourceRow]);
    return m_matcher.indexIn(text) >= 0;
}

bool InboxRows::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto& all = m_state->conversations();
    const QDateTime& a = all[left.row()].lastMessageAt;
    const QDateTime& b = all[right.row()].lastMessageAt;
    if (a != b)
        return a < b;
    // Shown newest first: of two at the same time, the one the service listed first leads.
    return left.row() > right.row();
}

QVariant InboxRows::data(const QModelIndex& index, int role) const {
    if (role < InitialsRole)
        return QSortFilterProxyModel::data(index, role);
    const auto& all = m_state->conversations();
    const int row = mapToSource(index).row();
    if (row < 0 || row >= all.size())
        return {};
    const Conversation& c = all[row];
    switch (role) {
    case ConversationIDRole:
        return c.id;
    case InitialsRole:
        return people::visitorInitials(c.visitorName);
    case DisplayNameRole:
        return people::visitorName(c.visitorName);
    case RelativeTimeRole:
        return times::relativeShort(c.lastMessageAt, QDateTime::currentDateTimeUtc());
    case StatusTextRole:
        return UiTexts::statusText(int(c.status));
    case ProjectLineRole: {
        // Only where several agents are listed together.
        if (m_state->selectedProjectID())
            return QString();
        const auto project = m_state->project(c.projectID);
        return project ? project->emoji + u' ' + project->name : QString();
    }
    default:
        return {};
    }
}

QHash<int, QByteArray> InboxRows::roleNames() const {
    QHash<int, QByteArray> names = QSortFilterProxyModel::roleNames();
    names.insert(InitialsRole, "initials");
    names.insert(DisplayNameRole, "displayName");
    names.insert(RelativeTimeRole, "relativeTime");
    names.insert(StatusTextRole, "statusText");
    names.insert(ProjectLineRole, "projectLine");
    names.insert(ConversationIDRole, "conversationID");
    return names;
}

// ---- the screen -------------------------------------------------------------------

InboxModel::InboxModel(QObject* parent) : InboxModel(AppStateForeign::instance(), parent) {}

InboxModel::InboxModel(AppState* state, QObject* parent)
    : QObject(parent), m_state(state), m_rows(new InboxRows(state, this)) {
    connect(m_state, &AppState::conversationsChanged, this, &InboxModel::update);
    connect(m_state, &AppState::selectedConversationIDChanged, this, &InboxModel::update);
    connect(m_state, &AppState::conversationsErrorChanged, this, &InboxModel::update);
    connect(m_state, &AppState::selectedProjectIDChanged, this, &InboxModel::load);
    connect(&m_state->conversationStore(), &ConversationStore::statusChanged, this,
            &InboxModel::loadStatusChanged);
    // The agent line depends on whether one agent or all are shown, and on the agents' names.
    for (auto signal : {&AppState::selectedProjectIDChanged, &AppState::projectsChanged}) {
        connect(m_state, signal, this, [this] {
            if (m_rows->rowCount() > 0)
                emit m_rows->dataChanged(m_rows->index(0, 0),
                                         m_rows->index(m_rows->rowCount() - 1, 0),
                                         {InboxRows::ProjectLineRole});
        });
    }
    m_clock.setInterval(Timing::current().relativeTimeRefresh);
    connect(&m_clock, &QTimer::timeout, m_rows, &InboxRows::refreshTimes);
    m_clock.start();
    update();
    load();
}

void InboxModel::setFilter(int filter) {
    if (filter < int(inbox::Filter::waiting) || filter > int(inbox::Filter::resolved) ||
        filter == this->filter())
        return;
    m_rows->setFilter(inbox::Filter(filter));
    emit filterChanged();
    update();
}

QStringList InboxModel::filterLabels() const {
    QStringList labels;
    for (const auto f : {inbox::Filter::waiting, inbox::Filter::active, inbox::Filter::all,
                         inbox::Filter::resolved})
        labels.append(inbox::filterText(f));
    return labels;
}

void InboxModel::setSearch(const QString& search) {
    if (search == m_rows->search())
        return;
    m_rows->setSearch(search);
    emit searchChanged();
    update();
}

QString InboxModel::subtitle() const {
    return inbox::subtitle(m_state->conversations(), m_rows->filter(), m_rows->search(),
                           m_rows->shownCount());
}

void InboxModel::update() {
    m_empty =
        inbox::emptyState(m_state->conversations(), m_rows->filter(), m_state->conversationsError(),
                          m_rows->search(), m_rows->shownCount());
    emit textsChanged();
    QString open;
    if (const auto selected = m_state->selectedConversationID()) {
        for (const Conversation& c : m_state->conversations()) {
            if (c.id == *selected) {
                open = c.id;
                break;
            }
        }
    }
    if (open != m_open) {
        m_open = open;
        emit openConversationChanged();
    }
}

void InboxModel::select(const QString& conversationID) {
    m_state->setSelectedConversationID(
        conversationID.isEmpty() ? std::nullopt : std::optional<QString>(conversationID));
}

void InboxModel::selectNext(int step) {
    const int rows = m_rows->rowCount();
    if (rows == 0)
        return;
    int current = -1;
    const QString selected = m_state->selectedConversationID().value_or(QString());
    const int idRole = sourceRole(m_state->conversationsModel(), "id");
    for (int i = 0; i < rows; ++i) {
        if (m_rows->index(i, 0).data(idRole).toString() == selected) {
            current = i;
            break;
        }
    }
    const int next = current < 0 ? 0 : std::clamp(current + step, 0, rows - 1);
    select(m_rows->index(next, 0).data(idRole).toString());
}

bool InboxModel::loading() const {
    return m_state->conversationStore().loading();
}

QString InboxModel::error() const {
    const QString reason = m_state->conversationsError();
    return reason.isEmpty() ? QString() : UiTexts::conversationsNotLoaded(reason);
}

void InboxModel::load() {
    m_state->loadConversations(m_state->selectedProjectID());
}

} // namespace kv
