#pragma once

// A read-only, selectable text that has the focus answers the window's
// shortcut check with "mine" for every key, so once the operator clicks
// into a message every shortcut of the window goes dead. Set on such a text,
// this keeps for the text what it uses (copying, selecting all) and lets
// every other key reach the window's shortcuts.
//
//     ReadOnlyTextKeys { target: messageText }

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

class QKeyEvent;

namespace kv {

class ReadOnlyTextKeys : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QObject* target READ target WRITE setTarget NOTIFY targetChanged)

public:
    explicit ReadOnlyTextKeys(QObject* parent = nullptr);

    QObject* target() const { return m_target; }
    void setTarget(QObject* target);

    // The keys a read-only text keeps for itself.
    static bool keepsKey(const QKeyEvent& event);

signals:
    void targetChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> m_target;
};

} // namespace kv
