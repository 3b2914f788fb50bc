#include "VisitorDetail.h"

#include "AppStateForeign.h"
#include "state/AppState.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kv {

VisitorDetail::VisitorDetail(QObject* parent)
    : VisitorDetail(AppStateForeign::instance(), parent) {}

VisitorDetail::VisitorDetail(AppState* state, QObject* parent)
    : VisitorFacts(state, visitors::Panel::detail, parent) {
    connect(m_state, &AppState::liveVisitorsChanged, this, &VisitorDetail::refresh);
    connect(m_state, &AppState::projectsChanged, this, &VisitorDetail::changed);
    connect(m_state, &AppState::selectedProjectIDChanged, this, &VisitorDetail::changed);
}

void VisitorDetail::setVisitorID(const QString& id) {
    if (m_visitorID == id)
        return;
    m_visitorID = id;
    emit visitorIDChanged();
    refresh();
}

void VisitorDetail::refresh() {
    const auto& all = m_state->liveVisitors();
    const auto found = std::find_if(all.begin(), all.end(), [this](const Visitor& v) {
        return !m_visitorID.isEmpty() && v.visitorID == m_visitorID;
    });
    const bool exists = found != all.end();
    const Visitor visitor = exists ? *found : Visitor{};
    if (exists == m_exists && visitor == m_visitor)
        return;
    m_exists = exists;
    m_visitor = visitor;
    emit changed();
}

QString VisitorDetail::projectLine() const {
    if (!m_exists || m_state->selectedProjectID())
        return QString();
    const auto project = m_state->project(m_visitor.projectID);
    return project ? project->emoji + u' ' + project->name : QString();
}

void VisitorDetail::copyLink() {
    if (!m_exists)
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_visitor.pageURL);
}

void VisitorDetail::openInInbox() {
    if (m_exists)
        m_state->navigate(m_visitor.projectID, std::nullopt);
}

} // namespace kv
