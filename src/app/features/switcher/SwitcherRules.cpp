#include "SwitcherRules.h"

#include "TextMatch.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace kv::switcher {

QString kindText(Kind kind) {
    switch (kind) {
    case Kind::agent:
        return QStringLiteral("Agent");
    case Kind::conversation:
        return QStringLiteral("Conversation");
    case Kind::visitor:
        return QStringLiteral("Visitor");
    case Kind::place:
        break;
    case Kind::action:
        return QStringLiteral("Action");
    }
    return QStringLiteral("Go to");
}

FoldedText foldWithOrigin(const QString& text) {
    FoldedText out;
    out.folded.reserve(text.size());
    out.origin.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            out.folded.append(c.toLower());
            out.origin.append(int(i));
            continue;
        }
        // One character at a time, a surrogate pair together, so that every
        // folded letter knows where it came from.
        const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString folded = foldForSearch(text.mid(i, length));
        out.folded.append(folded);
        for (qsizetype k = 0; k < folded.size(); ++k)
            out.origin.append(int(i));
        i += length - 1;
    }
    return out;
}

namespace {

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber();
}

QList<int> originOf(const FoldedText& text, qsizetype from, qsizetype length) {
    QList<int> out;
    for (qsizetype k = from; k < from + length; ++k) {
        const int o = text.origin.at(k);
        if (out.isEmpty() || out.last() != o)
            out.append(o);
    }
    return out;
}

// The rank alone, and where a contiguous match starts: no allocation, as it
// runs for every candidate on every keystroke.
struct Found {
    Rank rank;
    qsizetype at; // -1 for letters in order
};

std::optional<Found> find(const QString& t, const QString& query) {
    if (query.isEmpty() || t.isEmpty())
        return std::nullopt;
    if (t.startsWith(query))
        return Found{Rank::prefix, 0};
    qsizetype firstInside = -1;
    for (qsizetype at = t.indexOf(query, 1); at >= 0; at = t.indexOf(query, at + 1)) {
        if (!isWordCharacter(t.at(at - 1)))
            return Found{Rank::wordStart, at};
        if (firstInside < 0)
            firstInside = at;
    }
    if (firstInside >= 0)
        return Found{Rank::substring, firstInside};
    // Letters in order, gaps allowed; the query's spaces only separate.
    qsizetype at = 0;
    bool any = false;
    for (const QChar q : query) {
        if (q.isSpace())
            continue;
        at = t.indexOf(q, at);
        if (at < 0)
            return std::nullopt;
        any = true;
        ++at;
    }
    return any ? std::optional(Found{Rank::inOrder, -1}) : std::nullopt;
}

QList<int> marksOf(const FoldedText& text, const QString& query, const Found& found) {
    if (found.at >= 0)
        return originOf(text, found.at, query.size());
    QList<int> positions;
    qsizetype at = 0;
    for (const QChar q : query) {
        if (q.isSpace())
            continue;
        at = text.folded.indexOf(q, at);
        const int o = text.origin.at(at);
        if (positions.isEmpty() || positions.last() != o)
            positions.append(o);
        ++at;
    }
    return positions;
}

} // namespace

std::optional<Match> match(const FoldedText& text, const QString& query) {
    const auto found = find(text.folded, query);
    if (!found)
        return std::nullopt;
    return Match{found->rank, marksOf(text, query, *found)};
}

namespace {

// The best of a candidate's texts: 0 the title, 1 the detail, 2 a hidden
// one. The title wins a tie, then the detail.
struct Best {
    Found found{Rank::inOrder, -1};
    int field = -1;
    int extra = -1;
};

std::optional<Best> best(const Candidate& c, const QString& q) {
    std::optional<Best> out;
    const auto consider = [&](const QString& text, int field, int extra) {
        if (out && out->found.rank == Rank::prefix)
            return;
        const auto f = find(text, q);
        if (f && (!out || f->rank < out->found.rank))
            out = Best{*f, field, extra};
    };
    consider(c.foldedTitle.folded, 0, -1);
    consider(c.foldedDetail.folded, 1, -1);
    for (int e = 0; e < c.foldedExtra.size(); ++e)
        consider(c.foldedExtra[e].folded, 2, e);
    return out;
}

} // namespace

void prepare(Candidate& c) {
    c.foldedTitle = foldWithOrigin(c.title);
    c.foldedDetail = foldWithOrigin(c.detail);
    c.foldedExtra.clear();
    for (const QString& e : c.extra)
        c.foldedExtra.append(foldWithOrigin(e));
    c.activityMs =
        c.activity.isValid() ? c.activity.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

QList<Result> search(const QList<Candidate>& candidates, const QString& query, int perKind,
                     const QList<int>* within, QList<int>* matched) {
    const QString q = foldForSearch(query.simplified());
    struct Hit {
        int candidate;
        Best how;
    };
    std::array<std::vector<Hit>, std::size_t(Kind::action) + 1> byKind;
    if (matched)
        matched->clear();
    const qsizetype total = within ? within->size() : candidates.size();
    for (qsizetype k = 0; k < total; ++k) {
        const int i = within ? within->at(k) : int(k);
        const Candidate& c = candidates.at(i);
        if (q.isEmpty()) {
            if (c.kind == Kind::place || c.kind == Kind::action)
                byKind[std::size_t(c.kind)].push_back(Hit{i, Best{{Rank::prefix, 0}, -1, -1}});
            continue;
        }
        if (const auto b = best(c, q)) {
            byKind[std::size_t(c.kind)].push_back(Hit{i, *b});
            if (matched)
                matched->append(i);
        }
    }
    // Rank, then recent activity, then the text; the candidates' order last,
    // so that the order is total and a partial sort gives the same rows.
    const auto before = [&](const Hit& a, const Hit& b) {
        if (a.how.found.rank != b.how.found.rank)
            return a.how.found.rank < b.how.found.rank;
        const Candidate& x = candidates.at(a.candidate);
        const Candidate& y = candidates.at(b.candidate);
        if (x.activityMs != y.activityMs)
            return x.activityMs > y.activityMs;
        if (const int byTitle = x.title.compare(y.title, Qt::CaseInsensitive))
            return byTitle < 0;
        return a.candidate < b.candidate;
    };
    QList<Result> out;
    for (std::vector<Hit>& hits : byKind) {
        const auto keep = q.isEmpty() ? hits.size() : std::min(hits.size(), std::size_t(perKind));
        std::partial_sort(hits.begin(), hits.begin() + qsizetype(keep), hits.end(), before);
        for (std::size_t h = 0; h < keep; ++h) {
            const Hit& hit = hits[h];
            Result r{hit.candidate, hit.how.found.rank, {}, {}};
            const Candidate& c = candidates.at(hit.candidate);
            if (hit.how.field == 0)
                r.titleMarks = marksOf(c.foldedTitle, q, hit.how.found);
            else if (hit.how.field == 1)
                r.detailMarks = marksOf(c.foldedDetail, q, hit.how.found);
            out.append(r);
        }
    }
    return out;
}

QList<std::pair<QString, bool>> segments(const QString& text, const QList<int>& marks) {
    QList<std::pair<QString, bool>> out;
    qsizetype m = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        while (m < marks.size() && marks[m] < i)
            ++m;
        const bool marked = m < marks.size() && marks[m] == i;
        // A surrogate pair stays whole, marked as its first half.
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(i, length);
        if (!out.isEmpty() && out.last().second == marked)
            out.last().first += piece;
        else
            out.append({piece, marked});
        i += length - 1;
    }
    return out;
}

} // namespace kv::switcher
