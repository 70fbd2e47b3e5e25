#pragma once
// Finding a text in a page: the matches of a word or a regular expression,
// with or without regard to case, as whole words or anywhere, and the text
// that replaces each of them.
//
// The text searched is the page as one string with '\n' between its lines,
// so that a position in it is a position in the page. A regular expression
// sees the whole text (`^` and `$` at every line, `\n` a line break); every
// attempt at one start position is bounded, so that a pattern that
// backtracks without end gives up instead of running for ever.

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>
#include <utility>

namespace zelvar {

struct SearchOptions {
    bool caseSensitive = false;
    bool wholeWords = false; // a match starts and ends at a word's edge
    bool regularExpression = false;
};

struct TextMatch {
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    friend bool operator==(const TextMatch&, const TextMatch&) = default;
};

// More matches than these are counted as "more than" and not kept.
inline constexpr int kMaxKeptMatches = 1000000;

struct SearchResult {
    QList<TextMatch> matches; // in the order of the text, at most kMaxKeptMatches
    QStringList replacements; // one for each match, when asked for
    bool more = false;        // there were more matches than kept
    bool stopped = false;     // the search was stopped before its end
};

class TextSearch {
public:
    TextSearch() = default;
    TextSearch(const QString& pattern, SearchOptions options);

    bool isEmpty() const { return empty_; }
    // A regular expression that does not compile: Qt's own words for it.
    bool isValid() const { return expression_.isValid(); }
    QString errorString() const { return expression_.errorString(); }

    // The matches in [from, to) of the text; with a replacement, what each
    // of them is replaced with. `stop` is asked between matches.
    SearchResult findAll(const QString& text, int from, int to, const QString* replacement,
                         const std::function<bool()>& stop = {}) const;

    // The match that starts at `start`, with what replaces it (nothing when
    // there is no match there).
    std::optional<std::pair<TextMatch, QString>> replaceAt(const QString& text, int start,
                                                           const QString& replacement) const;

private:
    QString replacementFor(const QRegularExpressionMatch& match, const QString& replacement) const;

    QRegularExpression expression_;
    bool regular_ = false;
    bool empty_ = true;
};

// The replacement of a regular expression's match: \1 to \99 the groups, \0
// the whole match, \n a line break, \t a tab, \\ a backslash.
QString expandReplacement(const QRegularExpressionMatch& match, QStringView replacement);

// The page's raw text as the search reads it: lines joined by '\n' and a
// lone surrogate as U+FFFD, position for position.
QString searchableText(QString raw);

// "1 výskyt", "3 výskyty", "12 výskytů"; "více než 1 000 000 výskytů".
QString matchCount(qsizetype count, bool more = false);

} // namespace zelvar
