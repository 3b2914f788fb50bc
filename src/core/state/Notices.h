#pragma once

// One line for what the operator fired and forgot that did not work (a
// resolve, a translation, a mute, a snippet deleted) or that found nothing
// to do: it says why and goes by itself after a while. A newer notice
// replaces the one showing.

#include <QObject>
#include <QTimer>

namespace kv {

class Notices : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text READ text NOTIFY changed)

public:
    explicit Notices(QObject* parent = nullptr);

    QString text() const { return m_text; }
    void post(const QString& text);
    Q_INVOKABLE void dismiss();

signals:
    void changed();

private:
    QString m_text;
    QTimer m_timer;
};

} // namespace kv
