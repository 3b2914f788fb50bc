#pragma once

// The quick switcher's rules: what can be found, how a text matches what the
// operator typed, and in which order the results come.
//
// Case and accents do not count. A match ranks by where it starts: at the
// beginning of the text (a whole-word prefix), then at the start of a later
// word, then anywhere inside a word, then as letters in order with gaps.
// Among equals, more recent activity first, then the text.

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace kv::switcher {

// In the order the groups are listed.
enum class Kind { agent, conversation, visitor, place, action };

// "Agent", "Conversation", "Visitor", "Go to", "Action".
QString kindText(Kind kind);

enum class Rank { prefix, wordStart, substring, inOrder };

struct Match {
    Rank rank = Rank::inOrder;
    QList<int> positions; // the matched characters, as indexes into the original text
    bool operator==(const Match&) const = default;
};

// A text folded for matching, with the original index of each folded character.
struct FoldedText {
    QString folded;
    QList<int> origin;
};
FoldedText foldWithOrigin(const QString& text);

// How `text` (folded) matches `foldedQuery`; none when it does not.
std::optional<Match> match(const FoldedText& text, const QString& foldedQuery);

// One thing the switcher can go to.
struct Candidate {
    Kind kind = Kind::place;
    QString key;       // what opening it needs: an id or an action name
    QString projectID; // a conversation's or visitor's agent
    QString title;     // the line shown, matched and marked
    QString detail;    // a second line, matched and marked too
    QStringList extra; // matched, not shown (tags, a client's name)
    QDateTime activity;
    // Filled by prepare().
    FoldedText foldedTitle;
    FoldedText foldedDetail;
    QList<FoldedText> foldedExtra;
    qint64 activityMs = 0; // the activity as a number, cheap to compare
};
void prepare(Candidate& candidate);

struct Result {
    int candidate = -1; // index into the candidates
    Rank rank = Rank::inOrder;
    QList<int> titleMarks;
    QList<int> detailMarks;
};

// The results for a query, grouped by kind in group order, each group ranked
// and cut to `perKind` (only the kept rows are put in order and marked: a
// single letter matches nearly everything). An empty query lists the places and actions only.
// `within`: only these candidates are tried (those that matched a query
// this one extends: a longer query never matches more). `matched`: every
// candidate that matched, before the cut, for the next keystroke.
QList<Result> search(const QList<Candidate>& candidates, const QString& query, int perKind = 6,
                     const QList<int>* within = nullptr, QList<int>* matched = nullptr);

// A text cut into runs for showing the marks: (text, marked) pairs in order.
QList<std::pair<QString, bool>> segments(const QString& text, const QList<int>& marks);

} // namespace kv::switcher
