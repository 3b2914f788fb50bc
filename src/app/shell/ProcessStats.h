#pragma once

// What start-up measurements read about this process from /proc.

#include <QByteArray>
#include <QFile>

#include <ctime>
#include <unistd.h>

namespace kv::process {

// A "Key:   value kB" field of a /proc file, as text.
inline QByteArray field(const char* path, const char* key) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed();
    }
    return {};
}

// Milliseconds since the kernel started this process (before any library loaded).
inline qint64 msSinceStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    const double startTicks = fields[19].toDouble(); // field 22 of the whole line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    return qint64(nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK)));
}

} // namespace kv::process
