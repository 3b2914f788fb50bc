#include "DraftStore.h"

#include "AppStateForeign.h"
#include "Timing.h"
#include "UiTexts.h"
#include "state/AppState.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJSEngine>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace kv {

namespace {

QPointer<DraftStore> current;

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool worthKeeping(const DraftStore::Entry& e) {
    return !e.text.isEmpty() || !e.failure.isEmpty() || !e.sending.isEmpty();
}

QJsonObject toJson(const DraftStore::Entry& e) {
    QJsonObject o;
    o.insert(u"text", e.text);
    if (e.appliedSuggestion)
        o.insert(u"appliedSuggestion", true);
    if (!e.failure.isEmpty()) {
        o.insert(u"failure", e.failure);
        o.insert(u"failedResolve", e.failedResolve);
    }
    if (!e.sending.isEmpty())
        o.insert(u"sending", QJsonArray::fromStringList(e.sending));
    return o;
}

// What was left in the file: a reply that was on its way when the console
// stopped comes back into the draft, marked, since nobody knows whether it arrived.
DraftStore::Entry fromJson(const QJsonObject& o) {
    DraftStore::Entry e;
    e.text = o.value(u"text").toString();
    e.appliedSuggestion = o.value(u"appliedSuggestion").toBool();
    e.failure = o.value(u"failure").toString();
    e.failedResolve = o.value(u"failedResolve").toBool();
    for (const QJsonValue& sent : o.value(u"sending").toArray()) {
        const QString text = sent.toString();
        if (text.isEmpty())
            continue;
        e.text = e.text.trimmed().isEmpty() ? text : e.text + u'\n' + text;
        e.failure = UiTexts::replyUnconfirmed();
    }
    return e;
}

} // namespace

DraftStore::DraftStore(AppState* state, QString directory, QObject* parent)
    : QObject(parent), m_state(state), m_directory(std::move(directory)) {
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(Timing::current().draftSave);
    connect(&m_saveTimer, &QTimer::timeout, this, &DraftStore::flush);
    if (!m_state)
        return;
    connect(m_state, &AppState::authStatusChanged, this, &DraftStore::followAccount);
    connect(m_state, &AppState::signingOut, this, [this] { forgetAccount(true); });
    connect(m_state, &AppState::conversationsChanged, this, &DraftStore::dropResolved);
    followAccount();
}

DraftStore::~DraftStore() {
    if (m_saveTimer.isActive())
        flush();
}

void DraftStore::setInstance(DraftStore* drafts) {
    current = drafts;
}

DraftStore* DraftStore::create(QQmlEngine*, QJSEngine*) {
    if (!current) // screens loaded without a shell: the drafts of this run only
        current =
            new DraftStore(AppStateForeign::instance(), QString(), AppStateForeign::instance());
    QJSEngine::setObjectOwnership(current, QJSEngine::CppOwnership);
    return current;
}

QString DraftStore::filePath() const {
    if (m_account.isEmpty() || m_directory.isEmpty())
        return {};
    // The service's id never becomes a path of its own.
    const QByteArray name =
        QCryptographicHash::hash(m_account.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return m_directory + u'/' + QString::fromLatin1(name) + QStringLiteral(".json");
}

void DraftStore::followAccount() {
    const bool signedIn = m_state->authStatus() == AuthStatus::signedIn && m_state->user();
    const QString account = signedIn ? m_state->user()->id : QString();
    if (account == m_account)
        return;
    if (!m_account.isEmpty())
        forgetAccount(false);
    m_account = account;
    if (!m_account.isEmpty())
        load();
}

void DraftStore::forgetAccount(bool deleteFile) {
    if (deleteFile) {
        m_saveTimer.stop();
        if (const QString path = filePath(); !path.isEmpty())
            QFile::remove(path);
    } else if (m_saveTimer.isActive()) {
        flush();
    }
    m_account.clear();
    const QList<QString> ids = m_entries.keys();
    m_entries.clear();
    for (const QString& id : ids)
        emit changed(id);
}

void DraftStore::load() {
    QFile file(filePath());
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    const QJsonObject drafts = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = drafts.begin(); it != drafts.end(); ++it) {
        Entry& e = at(it.key());
        if (worthKeeping(e)) // typed here already: that wins
            continue;
        e = fromJson(it.value().toObject());
        emit changed(it.key());
    }
}

void DraftStore::flush() {
    m_saveTimer.stop();
    const QString path = filePath();
    if (path.isEmpty())
        return;
    QJsonObject drafts;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        if (worthKeeping(it.value()))
            drafts.insert(it.key(), toJson(it.value()));
    if (drafts.isEmpty()) {
        QFile::remove(path);
        return;
    }
    // Only the operator may read what they typed to visitors.
    if (!QDir().mkpath(m_directory))
        return;
    QFile::setPermissions(m_directory, kOwnerOnly | QFileDevice::ExeOwner);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(kOwnerOnly);
    file.write(QJsonDocument(drafts).toJson(QJsonDocument::Compact));
    if (file.commit())
        QFile::setPermissions(path, kOwnerOnly);
}

void DraftStore::touch(const QString& conversationID, bool saveNow) {
    emit changed(conversationID);
    if (m_account.isEmpty() || m_directory.isEmpty())
        return;
    if (saveNow)
        flush();
    else
        m_saveTimer.start();
}

void DraftStore::dropResolved() {
    QStringList gone;
    for (const Conversation& c : m_state->conversations()) {
        const auto it = m_entries.constFind(c.id);
        // A reply on its way settles first: its answer decides what stays.
        if (c.status == ConversationStatus::resolved && it != m_entries.cend() &&
            it->sending.isEmpty())
            gone.append(c.id);
    }
    for (const QString& id : gone) {
        m_entries.remove(id);
        touch(id);
    }
}

void DraftStore::setText(const QString& conversationID, const QString& text) {
    Entry& e = at(conversationID);
    if (e.text == text)
        return;
    e.text = text;
    touch(conversationID);
}

void DraftStore::setAppliedSuggestion(const QString& conversationID) {
    Entry& e = at(conversationID);
    if (e.appliedSuggestion)
        return;
    e.appliedSuggestion = true;
    touch(conversationID);
}

void DraftStore::clearFailure(const QString& conversationID) {
    Entry& e = at(conversationID);
    if (e.failure.isEmpty())
        return;
    e.failure.clear();
    touch(conversationID);
}

void DraftStore::beginSend(const QString& conversationID, const QString& text) {
    Entry& e = at(conversationID);
    e.text.clear();
    e.appliedSuggestion = true;
    e.failure.clear();
    e.sending.append(text);
    touch(conversationID, true);
}

void DraftStore::confirmSent(const QString& conversationID, const QString& text) {
    Entry& e = at(conversationID);
    if (!e.sending.removeOne(text))
        return;
    touch(conversationID, true);
}

void DraftStore::giveBack(const QString& conversationID, const QString& text,
                          const QString& failure, bool resolve) {
    Entry& e = at(conversationID);
    e.sending.removeOne(text);
    e.text = e.text.trimmed().isEmpty() ? text : e.text + u'\n' + text;
    e.failure = failure;
    e.failedResolve = resolve;
    touch(conversationID, true);
}

} // namespace kv
