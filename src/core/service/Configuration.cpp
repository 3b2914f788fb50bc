#include "Configuration.h"

#ifndef KESTOVAR_VERSION
#define KESTOVAR_VERSION ""
#endif
#ifndef KESTOVAR_BUILD
#define KESTOVAR_BUILD ""
#endif

namespace kv::Configuration {

QUrl baseURL() {
    const QString text = qEnvironmentVariable(kApiUrlVariable);
    if (!text.isEmpty()) {
        QUrl url(text, QUrl::StrictMode);
        if (url.isValid() && !url.isRelative() && !url.host().isEmpty())
            return url;
    }
    return QUrl(QString::fromLatin1(kDefaultOrigin));
}

QUrl signInURL(const QString& state) {
    QUrl url = baseURL();
    QString path = url.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    url.setPath(path + QStringLiteral("/oauth/device"));
    // Built by hand so that every reserved character of the state is escaped.
    url.setQuery(QStringLiteral("app=mac&state=") +
                     QString::fromLatin1(QUrl::toPercentEncoding(state)),
                 QUrl::StrictMode);
    return url;
}

QString version() {
    return QStringLiteral(KESTOVAR_VERSION);
}

QString buildNumber() {
    return QStringLiteral(KESTOVAR_BUILD);
}

QString userAgent() {
    static const QString agent =
        QStringLiteral("KestovarMac/%1 (build %2)")
            .arg(version().isEmpty() ? QStringLiteral("0.0.0") : version(),
                 buildNumber().isEmpty() ? QStringLiteral("0") : buildNumber());
    return agent;
}

} // namespace kv::Configuration
