#include "LogCapture.h"

#include <QMutex>

namespace kv::test {

namespace {

QMutex mutex;
QList<LogLine> captured;
QtMessageHandler previous = nullptr;

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    {
        QMutexLocker lock(&mutex);
        captured.append(LogLine{type, QString::fromLatin1(context.category), message});
    }
    if (previous)
        previous(type, context, message);
}

} // namespace

LogCapture::LogCapture() {
    clear();
    previous = qInstallMessageHandler(handler);
}

LogCapture::~LogCapture() {
    qInstallMessageHandler(previous);
}

QList<LogLine> LogCapture::lines() const {
    QMutexLocker lock(&mutex);
    return captured;
}

QStringList LogCapture::messages(const QString& category) const {
    QStringList out;
    for (const auto& line : lines()) {
        if (line.category == category)
            out.append(line.message);
    }
    return out;
}

void LogCapture::clear() {
    QMutexLocker lock(&mutex);
    captured.clear();
}

} // namespace kv::test
