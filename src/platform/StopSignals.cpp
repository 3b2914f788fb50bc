#include "StopSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>

namespace kv {

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(stopPipe[1], &byte, 1);
}

} // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    if (stopPipe[0] < 0 && ::pipe(stopPipe) != 0)
        return;
    m_notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const auto read = ::read(stopPipe[0], &byte, 1);
        emit stopRequested();
    });
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

StopSignals::~StopSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace kv
