#include "VisitorFacts.h"

#include "LinkPolicy.h"
#include "state/AppState.h"

namespace kv {

VisitorFacts::VisitorFacts(AppState* state, visitors::Panel panel, QObject* parent)
    : QObject(parent), m_state(state), m_panel(panel) {}

bool VisitorFacts::pageOpens() const {
    return links::isWebPage(QUrl(m_visitor.pageURL));
}

void VisitorFacts::openPage() {
    const QUrl url(m_visitor.pageURL);
    if (links::isWebPage(url))
        m_state->openInBrowser(url);
}

} // namespace kv
