#pragma once

// Collects the log lines written while it lives, for assertions on their exact text.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace kv::test {

struct LogLine {
    QtMsgType type;
    QString category;
    QString message;
};

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QList<LogLine> lines() const;
    // Messages of one category, in order.
    QStringList messages(const QString& category) const;
    void clear();
};

} // namespace kv::test
