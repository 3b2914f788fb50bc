#pragma once

// Keeps the rows of a list view in their items' order from top to bottom.
// That order is the one Tab moves through and a screen reader reads in, but
// a view adds each row it makes after the ones it has: a list laid out from
// the bottom up makes its rows bottom first, and any list scrolled back
// makes the rows above after those below.
//
//     ListView { id: list; verticalLayoutDirection: ListView.BottomToTop }
//     ReadingOrder { view: list }

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace kv {

class ReadingOrder : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickItem* view READ view WRITE setView NOTIFY viewChanged)

public:
    explicit ReadingOrder(QObject* parent = nullptr);

    QQuickItem* view() const;
    void setView(QQuickItem* view);

    // Restacks `content`'s children from the topmost to the lowest; children
    // already in order stay where they are.
    static void arrange(QQuickItem* content);

signals:
    void viewChanged();

private:
    void schedule();

    QPointer<QQuickItem> m_view;
    QPointer<QQuickItem> m_content;
    bool m_scheduled = false;
};

} // namespace kv
