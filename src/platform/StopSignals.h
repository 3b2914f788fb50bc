#pragma once

// SIGINT and SIGTERM as a Qt signal on the main thread, so a process can
// close its connections and files instead of dying mid-way. (A signal
// handler may only write to a pipe; the event loop reads the other end.)

#include <QObject>

class QSocketNotifier;

namespace kv {

class StopSignals : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

signals:
    void stopRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace kv
