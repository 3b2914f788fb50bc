#pragma once

// Which addresses the console opens in the browser. Links in messages and
// visitors' page addresses come from outside: only web pages (and, in a
// message, mail) are opened.

#include <QString>
#include <QUrl>

namespace kv::links {

// http and https.
bool isWebPage(const QUrl& url);
// A web page or a mailto: address.
bool isSafeMessageLink(const QUrl& url);
// A website as text without its scheme: every "https://", then every "http://", removed.
QString withoutScheme(const QString& website);

} // namespace kv::links
