#pragma once

// The open conversation's messages as the thread shows them: who wrote each,
// on which side, when, the text (Markdown made safe for the AI's and the
// operator's messages), and each message's translation state, which outlives
// its bubble scrolling out of view.

#include <QHash>
#include <QIdentityProxyModel>
#include <QSet>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;
struct Message;

class MessageRows : public QIdentityProxyModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The thread's messages come from its ThreadController.")

public:
    // How a bubble is drawn: the visitor's plain, the AI's (and the system's)
    // lightly tinted, the operator's in the brand colour.
    enum BubbleStyle { VisitorBubble, AssistantBubble, OperatorBubble };
    Q_ENUM(BubbleStyle)

    enum Role {
        LabelRole = Qt::UserRole + 1000,
        TimeTextRole,
        OutgoingRole, // drawn on the trailing side
        StyleRole,    // a BubbleStyle
        AvatarSymbolRole,
        RichRole,      // the text is rich text (rendered Markdown)
        ShownTextRole, // the text shown now: the translation or the original
        TranslatableRole,
        HasTranslationRole,
        MenuTitleRole,
        ToggleLabelRole,
        ShowingTranslationRole,
        TranslatingRole,
        AccessibleTextRole,
        MessageIDRole,     // the identifier under a name QML can use ("id" is its own)
        ShortenedNoteRole, // why the bubble shows only the beginning, else empty
    };

    MessageRows(AppState* state, QObject* parent);

    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void toggleTranslation(const QString& messageID);
    // The whole text the bubble shows the beginning of: the translation or the original.
    QString wholeText(const QString& messageID) const;
    void setTranslating(const QString& messageID, bool translating);
    void showTranslation(const QString& messageID);
    // A new conversation: its messages start untranslated on screen.
    void reset();
    int rowOf(const QString& messageID) const;

private:
    const Message* messageAt(const QModelIndex& index) const;
    void touch(const QString& messageID, const QList<int>& roles);

    AppState* m_state;
    QSet<QString> m_showing;
    QSet<QString> m_translating;
    static constexpr qsizetype kRenderedKept = 500;
    mutable QHash<QString, QString> m_rendered; // Markdown rendered, by text
};

} // namespace kv
