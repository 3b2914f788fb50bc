#include "MessageRows.h"

#include "BubbleText.h"
#include "MarkdownText.h"
#include "TimeText.h"
#include "TranslationMenu.h"
#include "state/AppState.h"

namespace kv {

namespace {

struct RoleLook {
    const char* label;
    const char* symbol;
    bool outgoing;
    MessageRows::BubbleStyle style;
    bool markdown;
};

RoleLook lookOf(MessageRole role) {
    switch (role) {
    case MessageRole::user:
        return {"Visitor", "person.fill", false, MessageRows::VisitorBubble, false};
    case MessageRole::assistant:
        return {"AI Agent", "sparkles", true, MessageRows::AssistantBubble, true};
    case MessageRole::operatorRole:
        return {"You", "person.fill", true, MessageRows::OperatorBubble, true};
    case MessageRole::system:
        break;
    }
    return {"System", "sparkles", true, MessageRows::AssistantBubble, false};
}

} // namespace

MessageRows::MessageRows(AppState* state, QObject* parent)
    : QIdentityProxyModel(parent), m_state(state) {
    setSourceModel(state->selectedMessagesModel());
}

const Message* MessageRows::messageAt(const QModelIndex& index) const {
    const auto& all = m_state->selectedMessagesModel()->items();
    const int row = index.row();
    return row >= 0 && row < all.size() ? &all[row] : nullptr;
}

int MessageRows::rowOf(const QString& messageID) const {
    const auto& all = m_state->selectedMessagesModel()->items();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i].id == messageID)
            return int(i);
    }
    return -1;
}

QString MessageRows::wholeText(const QString& messageID) const {
    const Message* m = messageAt(index(rowOf(messageID), 0));
    if (!m)
        return {};
    const bool showing = m_showing.contains(m->id) && m->translation.has_value();
    return showing ? *m->translation : m->content;
}

QVariant MessageRows::data(const QModelIndex& index, int role) const {
    if (role < LabelRole)
        return QIdentityProxyModel::data(index, role);
    const Message* m = messageAt(index);
    if (!m)
        return {};
    const RoleLook look = lookOf(m->role);
    const bool showing = m_showing.contains(m->id) && m->translation.has_value();
    switch (role) {
    case LabelRole:
        return QString::fromLatin1(look.label);
    case TimeTextRole:
        return times::timeAndDay(m->createdAt, QDateTime::currentDateTimeUtc());
    case OutgoingRole:
        return look.outgoing;
    case StyleRole:
        return int(look.style);
    case AvatarSymbolRole:
        return QString::fromLatin1(look.symbol);
    case RichRole:
        return look.markdown;
    case ShownTextRole: {
        const QString text = bubble::shownPart(showing ? *m->translation : m->content);
        if (!look.markdown)
            return text;
        // On the operator's brand-coloured bubble links are white, elsewhere a blue that
        // reads on both light and dark bubbles.
        const bool onBrand = look.style == MessageRows::OperatorBubble;
        const QString key = (onBrand ? u'o' : u'a') + text;
        auto cached = m_rendered.constFind(key);
        if (cached == m_rendered.constEnd()) {
            cached = m_rendered.insert(
                key,
                markdown::toRichText(text, onBrand ? QColor(Qt::white) : QColor(0x5B, 0x6B, 0xFF)));
        }
        return *cached;
    }
    case TranslatableRole:
        return translation::translatable(*m);
    case HasTranslationRole:
        return m->translation.has_value();
    case MenuTitleRole:
        return translation::menuTitle(*m);
    case ToggleLabelRole:
        return translation::toggleLabel(*m, showing);
    case ShowingTranslationRole:
        return showing;
    case TranslatingRole:
        return m_translating.contains(m->id);
    case MessageIDRole:
        return m->id;
    case ShortenedNoteRole:
        return bubble::shortenedNote(showing ? *m->translation : m->content);
    case AccessibleTextRole:
        return QStringLiteral("%1, %2: %3")
            .arg(QString::fromLatin1(look.label),
                 times::timeAndDay(m->createdAt, QDateTime::currentDateTimeUtc()),
                 bubble::shownPart(showing ? *m->translation : m->content));
    default:
        return {};
    }
}

QHash<int, QByteArray> MessageRows::roleNames() const {
    QHash<int, QByteArray> names = QIdentityProxyModel::roleNames();
    names.insert(LabelRole, "label");
    names.insert(TimeTextRole, "timeText");
    names.insert(OutgoingRole, "outgoing");
    names.insert(StyleRole, "bubbleStyle");
    names.insert(AvatarSymbolRole, "avatarSymbol");
    names.insert(RichRole, "rich");
    names.insert(ShownTextRole, "shownText");
    names.insert(TranslatableRole, "translatable");
    names.insert(HasTranslationRole, "hasTranslation");
    names.insert(MenuTitleRole, "menuTitle");
    names.insert(ToggleLabelRole, "toggleLabel");
    names.insert(ShowingTranslationRole, "showingTranslation");
    names.insert(TranslatingRole, "translating");
    names.insert(AccessibleTextRole, "accessibleText");
    names.insert(MessageIDRole, "messageID");
    names.insert(ShortenedNoteRole, "shortenedNote");
    return names;
}

void MessageRows::touch(const QString& messageID, const QList<int>& roles) {
    const int row = rowOf(messageID);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, 0), roles);
}

void MessageRows::toggleTranslation(const QString& messageID) {
    if (!m_showing.remove(messageID))
        m_showing.insert(messageID);
    touch(messageID, {ShownTextRole, ShortenedNoteRole, ToggleLabelRole, ShowingTranslationRole,
                      AccessibleTextRole});
}

void MessageRows::showTranslation(const QString& messageID) {
    m_showing.insert(messageID);
    touch(messageID, {ShownTextRole, ShortenedNoteRole, ToggleLabelRole, ShowingTranslationRole,
                      AccessibleTextRole});
}

void MessageRows::setTranslating(const QString& messageID, bool translating) {
    if (translating)
        m_translating.insert(messageID);
    else
        m_translating.remove(messageID);
    touch(messageID, {TranslatingRole});
}

void MessageRows::reset() {
    m_showing.clear();
    m_translating.clear();
    // Kept across conversations, so going back to one converts nothing again,
    // until it holds about as many as a few dozen threads show.
    if (m_rendered.size() > kRenderedKept)
        m_rendered.clear();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

} // namespace kv
