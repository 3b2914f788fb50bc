#pragma once

#include <QUrl>

namespace kv {

// Opens addresses in the user's default web browser.
class Browser {
public:
    virtual ~Browser() = default;
    // False when the desktop could not open it.
    virtual bool openUrl(const QUrl& url) = 0;
};

} // namespace kv
