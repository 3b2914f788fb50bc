#pragma once

// The line under a screen's title that names the agent in view: the
// selected agent with its website, or "All AI Agents".

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace kv {

class AppState;

class ProjectInView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString name READ name NOTIFY changed)
    Q_PROPERTY(QString website READ website NOTIFY changed)

public:
    explicit ProjectInView(QObject* parent = nullptr);
    ProjectInView(AppState* state, QObject* parent);

    QString name() const;
    // The website without its "https://", empty for all agents.
    QString website() const;

signals:
    void changed();

private:
    AppState* m_state;
};

} // namespace kv
