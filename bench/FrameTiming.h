#pragma once

// Frame timing for the screen benchmarks: a change and the frame that shows
// it, flicking a list, and the longest the window went without a frame.
// Offscreen software rendering with QT_QPA_UPDATE_IDLE_TIME=0, so a requested
// frame is drawn at once.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace kv::bench {

// Before the application object: offscreen software rendering, a frame drawn
// as soon as it is asked for.
inline void renderOffscreenAtOnce() {
    qputenv("QT_QUICK_BACKEND", "software");
    qputenv("QSG_RENDER_LOOP", "basic");
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline double msSince(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

inline double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// Milliseconds of CPU this thread has used: the GUI thread's own cost of
// something, without the waits for the network or the server.
inline double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

inline QQuickItem* findItem(QQuickItem* item, const QString& name) {
    if (item->objectName() == name)
        return item;
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* found = findItem(child, name))
            return found;
    }
    return nullptr;
}

// Does `change`, then waits for the window to draw its next frame (polish,
// synchronisation and rendering included); the milliseconds it all took.
template <typename Change>
double frameAfter(QQuickWindow* window, Change change) {
    bool drawn = false;
    const auto connection =
        QObject::connect(window, &QQuickWindow::frameSwapped, [&drawn] { drawn = true; });
    QElapsedTimer clock;
    clock.start();
    change();
    window->update();
    QElapsedTimer limit;
    limit.start();
    while (!drawn && limit.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!drawn)
        std::fprintf(stderr, "no frame drawn\n");
    QObject::disconnect(connection);
    return msSince(clock);
}

inline void settle(QQuickWindow* window) {
    for (int i = 0; i < 3; ++i)
        frameAfter(window, [] {});
}

// Scrolls a list from top to bottom in steps, drawing a frame at each; the median frame time.
inline double flick(QQuickWindow* window, QQuickItem* list, int steps = 120) {
    QList<double> frames;
    list->setProperty("contentY", list->property("originY"));
    settle(window);
    for (int step = 0; step < steps; ++step) {
        frames.append(frameAfter(window, [list] {
            list->setProperty("contentY", list->property("contentY").toReal() + 90);
        }));
    }
    return median(frames);
}

// Does `change`, then keeps asking for frames for `forMs`; the longest the
// window went without one (how long it was blocked).
template <typename Change>
double longestStall(QQuickWindow* window, Change change, int forMs = 1500) {
    QElapsedTimer clock;
    double last = 0;
    double longest = 0;
    const auto connection = QObject::connect(window, &QQuickWindow::frameSwapped, [&] {
        const double now = msSince(clock);
        longest = std::max(longest, now - last);
        last = now;
        window->update();
    });
    clock.start();
    change();
    window->update();
    while (clock.elapsed() < forMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    longest = std::max(longest, msSince(clock) - last);
    QObject::disconnect(connection);
    return longest;
}

// Runs this benchmark again as `--peak <which>` and reads the peak RSS it
// prints (kB); `environment` is added to the child's.
inline qint64 peakOf(const QString& which, const QList<QPair<QString, QString>>& environment = {}) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
        env.insert(name, value);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--peak", which});
    child.waitForFinished(180'000);
    const QByteArray out = child.readAllStandardOutput();
    const qsizetype at = out.indexOf("peak-rss=");
    return at < 0 ? -1 : out.mid(at + 9).split(' ').first().trimmed().toLongLong();
}

} // namespace kv::bench
