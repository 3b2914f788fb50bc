#include "AgentInView.h"

#include "AppStateForeign.h"
#include "state/AppState.h"

namespace kv {

AgentInView::AgentInView(QObject* parent) : AgentInView(AppStateForeign::instance(), parent) {}

AgentInView::AgentInView(AppState* state, QObject* parent) : QObject(parent), m_state(state) {
    connect(m_state, &AppState::selectedProjectIDChanged, this, &AgentInView::changed);
    connect(m_state, &AppState::projectsChanged, this, &AgentInView::changed);
}

QString AgentInView::name() const {
    const auto id = m_state->selectedProjectID();
    const auto agent = id ? m_state->project(*id) : std::nullopt;
    return agent ? agent->name : QStringLiteral("All AI Agents");
}

QString AgentInView::website() const {
    const auto id = m_state->selectedProjectID();
    const auto agent = id ? m_state->project(*id) : std::nullopt;
    if (!agent)
        return QString();
    QString site = agent->websiteURL;
    if (site.startsWith(QStringLiteral("https://")))
        site.remove(0, 8);
    return site;
}

} // namespace kv
