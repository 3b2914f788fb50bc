#include "ProjectInView.h"

#include "AppStateForeign.h"
#include "state/AppState.h"

namespace kv {

ProjectInView::ProjectInView(QObject* parent)
    : ProjectInView(AppStateForeign::instance(), parent) {}

ProjectInView::ProjectInView(AppState* state, QObject* parent) : QObject(parent), m_state(state) {
    connect(m_state, &AppState::selectedProjectIDChanged, this, &ProjectInView::changed);
    connect(m_state, &AppState::projectsChanged, this, &ProjectInView::changed);
}

QString ProjectInView::name() const {
    const auto id = m_state->selectedProjectID();
    const auto project = id ? m_state->project(*id) : std::nullopt;
    return project ? project->name : QStringLiteral("All AI Agents");
}

QString ProjectInView::website() const {
    const auto id = m_state->selectedProjectID();
    const auto project = id ? m_state->project(*id) : std::nullopt;
    if (!project)
        return QString();
    QString site = project->websiteURL;
    if (site.startsWith(QStringLiteral("https://")))
        site.remove(0, 8);
    return site;
}

} // namespace kv
