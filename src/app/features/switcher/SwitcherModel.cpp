#include "SwitcherModel.h"

#include "AppStateForeign.h"
#include "DesktopServices.h"
#include "PeopleText.h"
#include "TextMatch.h"
#include "UiTexts.h"
#include "VisitorRules.h"
#include "notifications/NotificationManager.h"
#include "state/AppState.h"

#include <QPointer>
#include <QVariantMap>

namespace kv {

using switcher::Candidate;
using switcher::Kind;

namespace {

// The places: the four sections, then the settings tabs by the index
// SettingsView gives them.
struct Place {
    const char* title;
    const char* symbol;
    AppSection section;
    int settingsTab; // -1: the section itself
};
constexpr Place kPlaces[] = {
    {"Inbox", "tray.fill", AppSection::inbox, -1},
    {"Live visitors", "person.2.wave.2.fill", AppSection::visitors, -1},
    {"Stats", "chart.line.uptrend.xyaxis", AppSection::stats, -1},
    {"Settings", "gearshape.fill", AppSection::settings, -1},
    {"Account settings", "person.circle", AppSection::settings, 0},
    {"Notification settings", "bell.badge", AppSection::settings, 1},
    {"Snippets", "text.bubble", AppSection::settings, 2},
    {"About Kestovar", "info.circle", AppSection::settings, 3},
};

QString symbolFor(const Candidate& c) {
    switch (c.kind) {
    case Kind::agent:
        return QStringLiteral("sparkles");
    case Kind::conversation:
        return QStringLiteral("bubble.left.and.bubble.right");
    case Kind::visitor:
        return QStringLiteral("person.2.wave.2.fill");
    case Kind::place:
        for (const Place& p : kPlaces) {
            if (c.key == QLatin1StringView(p.title))
                return QString::fromLatin1(p.symbol);
        }
        break;
    case Kind::action:
        return QStringLiteral("command");
    }
    return QStringLiteral("chevron.right");
}

QVariantList segmentList(const QString& text, const QList<int>& marks) {
    QVariantList out;
    for (const auto& [piece, marked] : switcher::segments(text, marks))
        out.append(
            QVariantMap{{QStringLiteral("text"), piece}, {QStringLiteral("marked"), marked}});
    return out;
}

} // namespace

SwitcherModel::SwitcherModel(QObject* parent)
    : SwitcherModel(AppStateForeign::instance(), parent) {}

SwitcherModel::SwitcherModel(AppState* state, QObject* parent)
    : QAbstractListModel(parent), m_state(state) {
    // A list that changes while the switcher is open is gathered again at
    // the next keystroke.
    for (auto signal : {&AppState::projectsChanged, &AppState::conversationsChanged,
                        &AppState::liveVisitorsChanged, &AppState::selectedConversationIDChanged})
        connect(m_state, signal, this, [this] { m_stale = true; });
}

void SwitcherModel::reset() {
    m_stale = true;
    m_query.clear();
    emit queryChanged();
    run();
}

void SwitcherModel::setQuery(const QString& query) {
    if (query == m_query)
        return;
    m_query = query;
    emit queryChanged();
    run();
}

void SwitcherModel::gather() {
    m_candidates.clear();
    const auto clientName = [this](const std::optional<QString>& id) {
        if (!id)
            return QString();
        for (const Client& c : m_state->clients()) {
            if (c.id == *id)
                return c.name;
        }
        return QString();
    };
    for (const Project& p : m_state->projects()) {
        Candidate c;
        c.kind = Kind::agent;
        c.key = p.id;
        c.title = p.name;
        c.detail = clientName(p.clientID);
        m_candidates.append(c);
    }
    for (const Conversation& conv : m_state->conversations()) {
        Candidate c;
        c.kind = Kind::conversation;
        c.key = conv.id;
        c.projectID = conv.projectID;
        c.title = people::visitorName(conv.visitorName);
        c.detail = conv.lastMessagePreview;
        c.extra = conv.tags;
        c.activity = conv.lastMessageAt;
        m_candidates.append(c);
    }
    for (const Visitor& v : m_state->liveVisitors()) {
        Candidate c;
        c.kind = Kind::visitor;
        c.key = v.visitorID;
        c.projectID = v.projectID;
        c.title = visitors::rowTitle(v);
        c.detail = v.pageURL;
        if (v.pageTitle && *v.pageTitle != c.title)
            c.extra.append(*v.pageTitle);
        c.activity = v.lastSeen;
        m_candidates.append(c);
    }
    for (const Place& p : kPlaces) {
        Candidate c;
        c.kind = Kind::place;
        c.key = QString::fromLatin1(p.title);
        c.title = c.key;
        m_candidates.append(c);
    }
    const auto action = [this](const QString& key, const QString& title) {
        Candidate c;
        c.kind = Kind::action;
        c.key = key;
        c.title = title;
        m_candidates.append(c);
    };
    // What can be done to the open conversation, while it can be.
    if (const auto open = m_state->selectedConversationID()) {
        const auto found =
            std::find_if(m_state->conversations().cbegin(), m_state->conversations().cend(),
                         [&](const Conversation& c) { return c.id == *open; });
        if (found != m_state->conversations().cend() &&
            found->status != ConversationStatus::resolved &&
            m_state->selectedSection() == AppSection::inbox) {
            action(QStringLiteral("takeOver"), QStringLiteral("Take over"));
            action(QStringLiteral("resolve"), QStringLiteral("Resolve"));
            action(QStringLiteral("sendAndResolve"), QStringLiteral("Send & resolve"));
        }
    }
    action(QStringLiteral("testNotification"), QStringLiteral("Send test notification"));
    action(QStringLiteral("signOut"), QStringLiteral("Sign out"));
    for (Candidate& c : m_candidates)
        switcher::prepare(c);
    m_stale = false;
}

void SwitcherModel::run() {
    if (m_stale) {
        gather();
        m_narrowing.clear();
    }
    const QString folded = foldForSearch(m_query.simplified());
    while (!m_narrowing.isEmpty() && !folded.startsWith(m_narrowing.last().first))
        m_narrowing.removeLast();
    const QList<int>* within = m_narrowing.isEmpty() ? nullptr : &m_narrowing.last().second;
    QList<int> matched;
    QList<switcher::Result> results =
        switcher::search(m_candidates, m_query, 6, within, folded.isEmpty() ? nullptr : &matched);
    if (!folded.isEmpty() && (m_narrowing.isEmpty() || m_narrowing.last().first != folded))
        m_narrowing.append({folded, std::move(matched)});
    beginResetModel();
    m_results = std::move(results);
    endResetModel();
    emit countChanged();
    m_current = m_results.isEmpty() ? -1 : 0;
    emit currentIndexChanged();
}

void SwitcherModel::setCurrentIndex(int index) {
    if (index < -1 || index >= m_results.size() || index == m_current)
        return;
    m_current = index;
    emit currentIndexChanged();
}

void SwitcherModel::moveCurrent(int step) {
    if (m_results.isEmpty())
        return;
    setCurrentIndex(std::clamp(m_current + step, 0, int(m_results.size()) - 1));
}

QString SwitcherModel::emptyText() const {
    if (!m_results.isEmpty() || m_query.trimmed().isEmpty())
        return QString();
    return QStringLiteral("No results for '%1'").arg(m_query.trimmed());
}

int SwitcherModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_results.size());
}

QVariant SwitcherModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_results.size())
        return {};
    const switcher::Result& r = m_results.at(index.row());
    const Candidate& c = m_candidates.at(r.candidate);
    switch (role) {
    case KindRole:
        return int(c.kind);
    case KindTextRole:
        return switcher::kindText(c.kind);
    case Qt::DisplayRole:
    case TitleRole:
        return c.title;
    case DetailRole:
        return c.detail;
    case TitleSegmentsRole:
        return segmentList(c.title, r.titleMarks);
    case DetailSegmentsRole:
        return segmentList(c.detail, r.detailMarks);
    case AccessibleNameRole:
        return switcher::kindText(c.kind) + QStringLiteral(": ") + c.title +
               (c.detail.isEmpty() ? QString() : QStringLiteral(", ") + c.detail);
    case SymbolRole:
        return symbolFor(c);
    default:
        return {};
    }
}

QHash<int, QByteArray> SwitcherModel::roleNames() const {
    return {{KindRole, "kind"},
            {KindTextRole, "kindText"},
            {TitleRole, "title"},
            {DetailRole, "detail"},
            {TitleSegmentsRole, "titleSegments"},
            {DetailSegmentsRole, "detailSegments"},
            {AccessibleNameRole, "accessibleName"},
            {SymbolRole, "symbol"}};
}

QString SwitcherModel::activate(int row) {
    if (row < 0 || row >= m_results.size())
        return QString();
    const Candidate c = m_candidates.at(m_results.at(row).candidate);
    switch (c.kind) {
    case Kind::agent:
        m_state->setSelectedSection(AppSection::inbox);
        m_state->setSelectedProjectID(c.key);
        break;
    case Kind::conversation:
        m_state->setSelectedSection(AppSection::inbox);
        m_state->navigate(c.projectID, c.key);
        break;
    case Kind::visitor:
        // The screen clears its selection as it appears: pick after it.
        m_state->setSelectedSection(AppSection::visitors);
        m_state->setSelectedVisitorID(c.key);
        break;
    case Kind::place:
        for (const Place& p : kPlaces) {
            if (c.key != QLatin1StringView(p.title))
                continue;
            m_state->setSelectedSection(p.section);
            if (p.settingsTab >= 0 && DesktopServices::instance())
                DesktopServices::instance()->showSettingsTab(p.settingsTab);
        }
        break;
    case Kind::action:
        if (c.key == u"signOut") {
            m_state->signOut();
        } else if (c.key == u"testNotification") {
            const auto* desktop = DesktopServices::instance();
            QPointer<NotificationManager> manager = desktop ? desktop->notifications() : nullptr;
            QPointer<AppState> state = m_state;
            [](QPointer<NotificationManager> manager, QPointer<AppState> state) -> QCoro::Task<> {
                NotificationManager::TestOutcome outcome{QStringLiteral("no notifier"), false};
                if (manager)
                    outcome = co_await manager->sendTest();
                if (state)
                    state->notices()->post(outcome.error ? UiTexts::testNotificationMissing()
                                                         : UiTexts::testNotificationDelivered());
            }(manager, state);
        } else {
            return c.key; // the open conversation's: the window's shortcut action
        }
        break;
    }
    return QString();
}

} // namespace kv
