#include "text/search.h"

#include <optional>

namespace zelvar {

namespace {

// The steps one attempt may take before the expression gives up there
// (PCRE2 counts them per start position).
constexpr const char* kAttemptLimit = "(*LIMIT_MATCH=10000000)";

// A match that starts with a letter, digit or underscore has none before
// it, and one that ends with one has none after it.
constexpr const char* kWordEdge = "(?:(?<!\\w)|(?!\\w))";

} // namespace

TextSearch::TextSearch(const QString& pattern, SearchOptions options)
    : regular_(options.regularExpression), empty_(pattern.isEmpty()) {
    QString expression = regular_ ? pattern : QRegularExpression::escape(pattern);
    if (options.wholeWords) {
        const QString edge = QString::fromLatin1(kWordEdge);
        expression = edge + QStringLiteral("(?:") + expression + QStringLiteral(")") + edge;
    }
    QRegularExpression::PatternOptions flags =
        QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption;
    if (!options.caseSensitive) {
        flags |= QRegularExpression::CaseInsensitiveOption;
    }
    expression_.setPattern(QString::fromLatin1(kAttemptLimit) + expression);
    expression_.setPatternOptions(flags);
    if (expression_.isValid()) {
        expression_.optimize();
    }
}

SearchResult TextSearch::findAll(const QString& text, int from, int to, const QString* replacement,
                                 const std::function<bool()>& stop) const {
    SearchResult result;
    if (empty_ || !expression_.isValid()) {
        return result;
    }
    QRegularExpressionMatchIterator it = expression_.globalMatch(text, from);
    while (it.hasNext()) {
        if (stop && stop()) {
            result.stopped = true;
            break;
        }
        const QRegularExpressionMatch match = it.next();
        const TextMatch found{int(match.capturedStart()), int(match.capturedLength())};
        if (found.start >= to || found.end() > to) {
            break;
        }
        if (result.matches.size() == kMaxKeptMatches) {
            result.more = true;
            break;
        }
        result.matches.append(found);
        if (replacement) {
            result.replacements.append(replacementFor(match, *replacement));
        }
    }
    return result;
}

std::optional<std::pair<TextMatch, QString>>
TextSearch::replaceAt(const QString& text, int start, const QString& replacement) const {
    if (empty_ || !expression_.isValid()) {
        return std::nullopt;
    }
    const QRegularExpressionMatch match =
        expression_.match(text, start, QRegularExpression::NormalMatch,
                          QRegularExpression::AnchorAtOffsetMatchOption);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return std::pair{TextMatch{int(match.capturedStart()), int(match.capturedLength())},
                     replacementFor(match, replacement)};
}

QString TextSearch::replacementFor(const QRegularExpressionMatch& match,
                                   const QString& replacement) const {
    return regular_ ? expandReplacement(match, replacement) : replacement;
}

QString expandReplacement(const QRegularExpressionMatch& match, QStringView replacement) {
    QString out;
    out.reserve(replacement.size());
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement[i];
        if (c != u'\\' || i + 1 == replacement.size()) {
            out.append(c);
            continue;
        }
        const QChar next = replacement[++i];
        if (next.isDigit() && next.unicode() < 0x80) {
            int group = next.digitValue();
            // A second digit joins the first while such a group exists.
            if (i + 1 < replacement.size() && replacement[i + 1].unicode() >= u'0' &&
                replacement[i + 1].unicode() <= u'9') {
                const int two = group * 10 + replacement[i + 1].digitValue();
                if (two <= match.lastCapturedIndex()) {
                    group = two;
                    ++i;
                }
            }
            out.append(match.capturedView(group));
        } else if (next == u'n') {
            out.append(u'\n');
        } else if (next == u't') {
            out.append(u'\t');
        } else if (next == u'\\') {
            out.append(u'\\');
        } else {
            out.append(c);
            out.append(next);
        }
    }
    return out;
}

QString searchableText(QString raw) {
    QChar* c = raw.data();
    const qsizetype n = raw.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = c[i].unicode();
        if (u == QChar::ParagraphSeparator) {
            c[i] = u'\n';
        } else if (QChar::isHighSurrogate(u) && i + 1 < n &&
                   QChar::isLowSurrogate(c[i + 1].unicode())) {
            ++i;
        } else if (QChar::isSurrogate(u)) {
            c[i] = QChar::ReplacementCharacter;
        }
    }
    return raw;
}

QString matchCount(qsizetype count, bool more) {
    QString digits = QString::number(count);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) {
        digits.insert(at, QChar(0x00A0)); // thousands apart, never broken
    }
    if (more) {
        return QStringLiteral("více než %1 výskytů").arg(digits);
    }
    const char* word = count == 1 ? "výskyt" : count >= 2 && count <= 4 ? "výskyty" : "výskytů";
    return digits + u' ' + QString::fromUtf8(word);
}

} // namespace zelvar
