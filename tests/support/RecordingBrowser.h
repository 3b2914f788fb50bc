#pragma once

// A browser that opens nothing and remembers what it was asked to open.

#include "platform/Browser.h"

#include <QList>

namespace kv::test {

struct RecordingBrowser final : Browser {
    QList<QUrl> opened;
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return true;
    }
};

} // namespace kv::test
