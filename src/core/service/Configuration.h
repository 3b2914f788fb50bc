#pragma once

#include <QString>
#include <QUrl>

namespace kv {

// Where the service is and how the console introduces itself to it.
namespace Configuration {

inline constexpr char kDefaultOrigin[] = "https://app.kestovar.com";
inline constexpr char kApiUrlVariable[] = "KESTOVAR_API_URL";

// Read anew on every call: KESTOVAR_API_URL when it holds a URL, else the default origin.
QUrl baseURL();
// The browser sign-in page: <base>/oauth/device?app=mac&state=<state>.
QUrl signInURL(const QString& state);
// "KestovarMac/<version> (build <build>)", computed once per process.
QString userAgent();
// This build's version ("0.1.0") and build number, both from the project's
// one version in CMake; empty when the build did not say.
QString version();
QString buildNumber();

} // namespace Configuration

} // namespace kv
