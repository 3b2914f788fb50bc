#include "SnippetLibrary.h"

#include "AppStateForeign.h"
#include "UiTexts.h"
#include "state/AppState.h"

#include <QPointer>

namespace kv {

// ---- the editor ------------------------------------------------------------------

QString SnippetForm::heading() const {
    return editing() ? QStringLiteral("Edit snippet") : QStringLiteral("New snippet");
}

QString SnippetForm::saveLabel() const {
    return editing() ? QStringLiteral("Save") : QStringLiteral("Create");
}

void SnippetForm::start(const std::optional<Snippet>& snippet) {
    m_snippetID = snippet ? std::optional(snippet->id) : std::nullopt;
    m_shortcut = snippet ? snippet->shortcut : QString();
    m_title = snippet ? snippet->title : QString();
    m_body = snippet ? snippet->body : QString();
    m_emoji = snippet ? snippet->emoji : snippets::kDefaultEmoji;
    m_error.clear();
    m_saving = false;
    m_open = true;
    emit fieldsChanged();
    emit stateChanged();
    emit openChanged();
}

void SnippetForm::cancel() {
    close();
}

void SnippetForm::close() {
    if (!m_open)
        return;
    m_open = false;
    emit openChanged();
}

void SnippetForm::setSaving(bool saving) {
    m_saving = saving;
    if (saving)
        m_error.clear();
    emit stateChanged();
    emit fieldsChanged(); // canSave
}

void SnippetForm::fail(const QString& reason) {
    m_error = UiTexts::snippetNotSaved(reason);
    emit stateChanged();
}

// ---- the library ---------------------------------------------------------------

SnippetLibrary::SnippetLibrary(QObject* parent)
    : SnippetLibrary(AppStateForeign::instance(), parent) {}

SnippetLibrary::SnippetLibrary(AppState* state, QObject* parent)
    : QObject(parent), m_state(state), m_items(newSnippetModel(this)),
      m_editor(new SnippetForm(this)) {
    connect(m_state, &AppState::projectsChanged, this, &SnippetLibrary::projectsChanged);
    connect(&m_state->snippetStore(), &SnippetStore::changed, this,
            [this](const QString& projectID) {
                if (projectID == m_projectID)
                    show();
            });
    connect(m_state, &AppState::authStatusChanged, this, [this] {
        // Another account's snippets are not edited (the store has let go of the list).
        if (m_state->authStatus() != AuthStatus::signedIn)
            m_editor->close();
    });
    connect(m_editor, &SnippetForm::saveRequested, this, &SnippetLibrary::save);
}

SnippetLibrary::~SnippetLibrary() = default;

QStringList SnippetLibrary::projectLabels() const {
    QStringList out;
    for (const Project& p : m_state->projects())
        out.append(p.emoji + u' ' + p.name);
    return out;
}

bool SnippetLibrary::hasProjects() const {
    return !m_state->projects().isEmpty();
}

int SnippetLibrary::projectIndex() const {
    const auto& all = m_state->projects();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i].id == m_projectID)
            return int(i);
    }
    return -1;
}

bool SnippetLibrary::loading() const {
    return !m_projectID.isEmpty() && m_state->snippetStore().isLoading(m_projectID);
}

QString SnippetLibrary::error() const {
    const QString reason =
        m_projectID.isEmpty() ? QString() : m_state->snippetStore().error(m_projectID);
    return reason.isEmpty() ? QString() : UiTexts::snippetsNotLoaded(reason);
}

void SnippetLibrary::setProjectIndex(int index) {
    const auto& all = m_state->projects();
    if (index >= 0 && index < all.size())
        setProjectID(all[index].id);
}

void SnippetLibrary::setProjectID(const QString& id) {
    if (m_projectID == id)
        return;
    m_projectID = id;
    emit projectIDChanged();
    show();
    reload();
}

void SnippetLibrary::appear() {
    if (!m_projectID.isEmpty()) {
        reload();
        return;
    }
    if (const auto selected = m_state->selectedProjectID())
        setProjectID(*selected);
    else if (!m_state->projects().isEmpty())
        setProjectID(m_state->projects().first().id);
}

void SnippetLibrary::reload() {
    if (m_projectID.isEmpty())
        return;
    // Fresh from the service: a fetch already under way may predate a change made elsewhere.
    m_state->snippetStore().load(m_projectID, true);
}

void SnippetLibrary::show() {
    // What the store holds of the agent; a list that failed to load stays as it was.
    const SnippetStore& store = m_state->snippetStore();
    if (m_projectID.isEmpty() || store.holds(m_projectID) || store.error(m_projectID).isEmpty())
        m_items->apply(m_projectID.isEmpty() ? QList<Snippet>() : store.snippets(m_projectID));
    emit loadStatusChanged();
}

void SnippetLibrary::remove(const QString& snippetID) {
    // A refusal is the app's notice; the store fetches the list again once the service agreed.
    m_state->removeSnippet(m_projectID, snippetID);
}

void SnippetLibrary::startNew() {
    m_editor->start(std::nullopt);
}

void SnippetLibrary::startEditing(const QString& snippetID) {
    for (const Snippet& s : m_items->items()) {
        if (s.id == snippetID) {
            m_editor->start(s);
            return;
        }
    }
}

void SnippetLibrary::save() {
    if (!m_editor->canSave() || m_projectID.isEmpty())
        return;
    const snippets::Fields fields = snippets::forSave(m_editor->typed());
    m_editor->setSaving(true);
    [](QPointer<SnippetLibrary> self, QString projectID, std::optional<QString> snippetID,
       snippets::Fields fields) -> QCoro::Task<> {
        ApiResult<void> saved;
        if (snippetID)
            saved = co_await self->m_state->editSnippet(projectID, *snippetID, fields.shortcut,
                                                        fields.title, fields.body, fields.emoji);
        else
            saved = co_await self->m_state->addSnippet(projectID, fields.shortcut, fields.title,
                                                       fields.body, fields.emoji);
        if (!self)
            co_return;
        self->m_editor->setSaving(false);
        // Kept open with what was typed, and why, when the service did not take it.
        if (saved)
            self->m_editor->close();
        else
            self->m_editor->fail(saved.error().errorDescription());
    }(this, m_projectID, m_editor->snippetID(), fields);
}

} // namespace kv
