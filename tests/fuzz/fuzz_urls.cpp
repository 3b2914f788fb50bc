// URLs from the browser and from other programs, and the identifiers they
// carry into request paths.
// - An identifier that becomes a path segment stays one segment: the request
//   URL parses to exactly the segments we meant, and no segment decodes,
//   once or repeatedly, to "", "." or "..". (Not checked with Qt's own
//   NormalizePathSegments: Qt 6.4's drops any segment that starts with a dot.)
// - A "kestovar://project/…" link routes to identifiers that obey the above.
// - A sign-in callback as logged never shows its code or state.

#include "FuzzCheck.h"
#include "PathSegment.h"
#include "state/ProjectLink.h"
#include "state/SignInFlow.h"

#include <QUrlQuery>

#include <cstdint>

namespace {

bool isDotOrEmpty(const QString& text) {
    return text.isEmpty() || text == u"." || text == u"..";
}

void checkSegment(const QString& segment) {
    KV_FUZZ_CHECK(!segment.contains(u'/') && !segment.contains(u'?') && !segment.contains(u'#'),
                  "a segment holds no separator");
    QString decoded = segment;
    for (;;) {
        KV_FUZZ_CHECK(!isDotOrEmpty(decoded), "no decoding of a segment is empty or a dot");
        const QString next = QUrl::fromPercentEncoding(decoded.toUtf8());
        if (next == decoded)
            break;
        decoded = next;
    }
}

// The request for `identifiers` as the REST client builds it.
void checkRequestPath(const QString& projectID, const std::optional<QString>& conversationID) {
    const auto built =
        conversationID ? kv::projectPath({projectID, *conversationID}, {"conversations", "send"})
                       : kv::projectPath({projectID}, {"snippets"});
    const QString* path = std::get_if<QString>(&built);
    if (!path)
        return;
    const QUrl url(QStringLiteral("http://127.0.0.1:8080") + *path, QUrl::StrictMode);
    KV_FUZZ_CHECK(url.isValid(), "a request URL is valid");
    KV_FUZZ_CHECK(!url.hasQuery() && !url.hasFragment(), "an identifier adds no query or fragment");
    const QStringList segments = url.path(QUrl::FullyEncoded).split(u'/');
    const qsizetype expected = conversationID ? 8 : 6; // "", api, v2, projects, p, …
    KV_FUZZ_CHECK(segments.size() == expected, "each identifier stays one segment");
    checkSegment(segments[4]);
    KV_FUZZ_CHECK(QUrl::fromPercentEncoding(segments[4].toUtf8()) == projectID,
                  "the segment is the identifier");
    if (conversationID) {
        checkSegment(segments[6]);
        KV_FUZZ_CHECK(QUrl::fromPercentEncoding(segments[6].toUtf8()) == *conversationID,
                      "the segment is the identifier");
    }
}

void checkRedacted(const QUrl& url) {
    const QUrlQuery query(url);
    const QUrlQuery shown(QUrl(kv::SignInFlow::redacted(url)));
    for (const QString& key : {QStringLiteral("code"), QStringLiteral("state")}) {
        const QString secret = query.queryItemValue(key, QUrl::FullyDecoded);
        if (secret.isEmpty() || secret == u"…")
            continue;
        const QStringList values = shown.allQueryItemValues(key, QUrl::FullyDecoded);
        KV_FUZZ_CHECK(!values.contains(secret), "the logged callback hides its code and state");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    // The text as an identifier from the service.
    if (const auto segment = kv::pathSegment(text))
        checkSegment(*segment);
    checkRequestPath(text, std::nullopt);

    // The text as a URL handed to the console.
    const QUrl url(text);
    if (const auto link = kv::projectLinkFrom(url))
        checkRequestPath(link->projectID, link->conversationID);
    checkRedacted(url);
    return 0;
}
