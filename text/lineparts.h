#pragma once
// What the line readers of pages, style sheets and scripts share: the end
// of a quoted string, the coloured parts appended in order, and a look into
// a sorted word list.

#include <QList>
#include <QStringView>
#include <algorithm>
#include <array>

#include "text/htmlsyntax.h"

namespace zelvar {

// The position of the quote that closes a string, one not escaped by an odd
// number of backslashes, or -1.
inline qsizetype closingQuote(QStringView s, qsizetype from, QChar quote) {
    for (qsizetype q = s.indexOf(quote, from); q >= 0; q = s.indexOf(quote, q + 1)) {
        qsizetype slashes = 0;
        while (q - slashes > from && s[q - slashes - 1] == u'\\') {
            ++slashes;
        }
        if (slashes % 2 == 0) {
            return q;
        }
    }
    return -1;
}

// Appends a part; one that goes on from the last part of its kind joins it.
inline void appendSpan(QList<HtmlSpan>& spans, qsizetype start, qsizetype length, HtmlKind kind) {
    if (length <= 0) {
        return;
    }
    if (!spans.isEmpty() && spans.last().kind == kind &&
        spans.last().start + spans.last().length == start) {
        spans.last().length += length;
    } else {
        spans.append({start, length, kind});
    }
}

template <std::size_t N> bool listed(const std::array<QStringView, N>& sorted, QStringView word) {
    return std::binary_search(sorted.begin(), sorted.end(), word);
}

} // namespace zelvar
