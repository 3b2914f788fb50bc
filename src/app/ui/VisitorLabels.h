#pragma once

// The lines that describe a visitor in the context and detail panels.

#include "records/Records.h"

#include <QString>

namespace kv::visitor {

enum class Panel { context, detail };

// "City, Country", else the country, else "Unknown" ("Unknown location" in the detail panel).
QString location(const Visitor& v, Panel panel);
// "Browser · OS", else the browser, else "Unknown browser".
QString browser(const Visitor& v);
// "45s on site", "1m 1s on site", "1m on site", "1h 2m on site".
QString timeOnSite(qint64 seconds);
// The live visitors list's shorter form: "45s", "3m" (seconds past a minute dropped), "1h 2m".
QString timeOnSiteShort(qint64 seconds);
QString pagesThisSession(const Visitor& v);
// 1st, 2nd, 3rd, 4th, 11th, 12th, 13th, 21st, 101st, 111th.
QString ordinal(qint64 n);
// "First-time visitor", or "Returning · 3rd visit".
QString returning(const Visitor& v);
// The symbol beside it.
QString returningSymbol(const Visitor& v);
// "From <referrer>", or empty when no line is shown. The context panel shows an
// empty referrer; the detail panel leaves it out.
QString referrerLine(const Visitor& v, Panel panel);

// Knowledge-chunk score bands: green from 0.8, orange from 0.6, red below.
enum class ScoreBand { good, fair, weak };
ScoreBand scoreBand(double score);
QString scoreText(double score);

} // namespace kv::visitor
