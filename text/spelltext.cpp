#include "text/spelltext.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <string_view>

namespace zelvar {

namespace {

struct NamedReference {
    std::u16string_view name;
    char16_t character;
};

// Sorted by name (case matters), for a binary search.
constexpr std::array<NamedReference, 70> kNamed = {{
    {u"AElig", 0xC6},   {u"Aacute", 0xC1},   {u"Acirc", 0xC2},   {u"Auml", 0xC4},
    {u"Ccaron", 0x10C}, {u"Dcaron", 0x10E},  {u"Eacute", 0xC9},  {u"Ecaron", 0x11A},
    {u"Euml", 0xCB},    {u"Iacute", 0xCD},   {u"Lacute", 0x139}, {u"Lcaron", 0x13D},
    {u"Ncaron", 0x147}, {u"Oacute", 0xD3},   {u"Ocirc", 0xD4},   {u"Ouml", 0xD6},
    {u"Racute", 0x154}, {u"Rcaron", 0x158},  {u"Scaron", 0x160}, {u"Tcaron", 0x164},
    {u"Uacute", 0xDA},  {u"Uring", 0x16E},   {u"Uuml", 0xDC},    {u"Yacute", 0xDD},
    {u"Zcaron", 0x17D}, {u"aacute", 0xE1},   {u"acirc", 0xE2},   {u"aelig", 0xE6},
    {u"amp", 0x26},     {u"apos", 0x27},     {u"auml", 0xE4},    {u"bdquo", 0x201E},
    {u"ccaron", 0x10D}, {u"copy", 0xA9},     {u"dcaron", 0x10F}, {u"deg", 0xB0},
    {u"eacute", 0xE9},  {u"ecaron", 0x11B},  {u"euml", 0xEB},    {u"euro", 0x20AC},
    {u"gt", 0x3E},      {u"hellip", 0x2026}, {u"iacute", 0xED},  {u"lacute", 0x13A},
    {u"laquo", 0xAB},   {u"lcaron", 0x13E},  {u"ldquo", 0x201C}, {u"lsquo", 0x2018},
    {u"lt", 0x3C},      {u"mdash", 0x2014},  {u"nbsp", 0xA0},    {u"ncaron", 0x148},
    {u"ndash", 0x2013}, {u"oacute", 0xF3},   {u"ocirc", 0xF4},   {u"ouml", 0xF6},
    {u"quot", 0x22},    {u"racute", 0x155},  {u"raquo", 0xBB},   {u"rcaron", 0x159},
    {u"rdquo", 0x201D}, {u"rsquo", 0x2019},  {u"scaron", 0x161}, {u"sect", 0xA7},
    {u"shy", 0xAD},     {u"szlig", 0xDF},    {u"tcaron", 0x165}, {u"uacute", 0xFA},
    {u"uring", 0x16F},  {u"zcaron", 0x17E},
}};

static_assert(std::is_sorted(kNamed.begin(), kNamed.end(),
                             [](const auto& a, const auto& b) { return a.name < b.name; }));

bool isAsciiAlnum(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || ((u | 0x20) >= u'a' && (u | 0x20) <= u'z');
}

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    const char16_t lower = u | 0x20;
    return base == 16 && lower >= u'a' && lower <= u'f' ? lower - u'a' + 10 : -1;
}

// A character as read: one written directly (a surrogate pair as one) or a
// reference, with the length it takes in the line.
struct ReadChar {
    char32_t character; // 0: a reference the reader does not know
    qsizetype length;
    bool reference;
};

ReadChar readChar(QStringView line, qsizetype at) {
    if (line[at] == u'&') {
        const DecodedReference ref = decodeReference(line, at);
        if (ref.length > 0) {
            return {ref.character, ref.length, true};
        }
    }
    if (line[at].isHighSurrogate() && at + 1 < line.size() && line[at + 1].isLowSurrogate()) {
        return {QChar::surrogateToUcs4(line[at], line[at + 1]), 2, false};
    }
    return {line[at].unicode(), 1, false};
}

bool isWordChar(char32_t c) {
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

bool isBlank(char32_t c) {
    return QChar::isSpace(c);
}

struct Run {
    qsizetype start;
    qsizetype end;
};

// The parts of the line read as text: the runs between markup (their
// references with them), and with values, the values of alt and title
// without their quotes.
void textRuns(QStringView line, int state, const QList<HtmlSpan>& spans, bool withValues,
              QList<Run>& runs) {
    enum class Place { Text, Tag, Code };
    const HtmlStart start = htmlStart(state);
    Place place = start.inTag ? Place::Tag : start.inCode ? Place::Code : Place::Text;
    bool codeFollows = start.inTag && start.inCode;
    // The attribute the next value belongs to; a value carried over from the
    // line before belongs to none that this line knows.
    QStringView attribute;

    const auto addText = [&](qsizetype from, qsizetype to) {
        if (to <= from) {
            return;
        }
        if (!runs.isEmpty() && runs.last().end == from) {
            runs.last().end = to;
        } else {
            runs.append({from, to});
        }
    };
    qsizetype pos = 0;
    for (const HtmlSpan& span : spans) {
        const qsizetype end = span.start + span.length;
        if (place == Place::Text) {
            addText(pos, span.start);
        }
        switch (span.kind) {
        case HtmlKind::Reference:
            addText(span.start, end);
            break;
        case HtmlKind::Tag:
            // One span may hold several tags ("<i></i>"): each "<" opens
            // one, each ">" closes it.
            for (qsizetype i = span.start; i < end; ++i) {
                if (line[i] == u'<') {
                    place = Place::Tag;
                    attribute = {};
                    const bool endTag = i + 1 < end && line[i + 1] == u'/';
                    qsizetype nameEnd = i + (endTag ? 2 : 1);
                    const qsizetype nameStart = nameEnd;
                    while (nameEnd < end && line[nameEnd] != u'>' && line[nameEnd] != u'/' &&
                           line[nameEnd] != u'<' && !line[nameEnd].isSpace()) {
                        ++nameEnd;
                    }
                    const QStringView name = line.sliced(nameStart, nameEnd - nameStart);
                    codeFollows = !endTag && (name.compare(u"script", Qt::CaseInsensitive) == 0 ||
                                              name.compare(u"style", Qt::CaseInsensitive) == 0);
                } else if (line[i] == u'>' && place == Place::Tag) {
                    place = codeFollows ? Place::Code : Place::Text;
                }
            }
            break;
        case HtmlKind::AttributeName:
            attribute = line.sliced(span.start, span.length);
            break;
        case HtmlKind::AttributeValue:
            if (withValues && place == Place::Tag &&
                (attribute.compare(u"alt", Qt::CaseInsensitive) == 0 ||
                 attribute.compare(u"title", Qt::CaseInsensitive) == 0)) {
                qsizetype from = span.start;
                qsizetype to = end;
                const QChar quote = line[from];
                if (quote == u'"' || quote == u'\'') {
                    ++from;
                    if (to > from && line[to - 1] == quote) {
                        --to;
                    }
                }
                if (to > from) {
                    runs.append({from, to});
                }
            }
            attribute = {};
            break;
        default:
            break;
        }
        pos = end;
    }
    if (place == Place::Text) {
        addText(pos, line.size());
    }
}

// An address: a part between blanks that holds "@", "://", or a dot between
// two letters ("www.zelvar.cz", "index.html").
bool isAddress(QStringView part) {
    if (part.contains(u'@') || part.contains(u"://")) {
        return true;
    }
    for (qsizetype i = 1; i + 1 < part.size(); ++i) {
        if (part[i] == u'.' && part[i - 1].isLetterOrNumber() && part[i + 1].isLetterOrNumber()) {
            return true;
        }
    }
    return false;
}

void wordsOfRun(QStringView line, Run run, QList<SpellWord>& words) {
    qsizetype i = run.start;
    while (i < run.end) {
        // One part between blanks at a time.
        ReadChar c = readChar(line, i);
        if (isBlank(c.character)) {
            i += c.length;
            continue;
        }
        qsizetype partEnd = i;
        while (partEnd < run.end) {
            const ReadChar p = readChar(line, partEnd);
            if (isBlank(p.character)) {
                break;
            }
            partEnd += std::min(p.length, run.end - partEnd);
        }
        if (isAddress(line.sliced(i, partEnd - i))) {
            i = partEnd;
            continue;
        }
        while (i < partEnd) {
            c = readChar(line, i);
            if (!isWordChar(c.character) && c.character != 0) {
                i += c.length;
                continue;
            }
            SpellWord word{i, 0, QString()};
            bool skip = false;
            while (i < partEnd) {
                c = readChar(line, i);
                if (c.character == 0) {
                    skip = true; // a reference of unknown meaning
                } else if (c.character == 0xAD && !word.word.isEmpty()) {
                    // A soft hyphen only marks where the word may break.
                } else if (!isWordChar(c.character)) {
                    break;
                } else {
                    skip = skip || QChar::isDigit(c.character);
                    word.word += QChar::fromUcs4(c.character);
                }
                i += c.length;
            }
            word.length = i - word.start;
            if (!skip) {
                words.append(std::move(word));
            }
        }
    }
}

bool isOneLetterWord(char32_t c) {
    switch (c) {
    case U'k':
    case U's':
    case U'v':
    case U'z':
    case U'o':
    case U'u':
    case U'a':
    case U'i':
    case U'K':
    case U'S':
    case U'V':
    case U'Z':
    case U'O':
    case U'U':
    case U'A':
    case U'I':
        return true;
    default:
        return false;
    }
}

// Where a text is not the page's prose though it reads as text: the content
// of <textarea> (what a form sends back), processing instructions and the
// server's code (<?php ... ?>, <% ... %>), whose ">" inside may end no tag.
// In their order; an unclosed one runs to the end.
QList<HtmlRange> codeRanges(QStringView text) {
    QList<HtmlRange> ranges;
    const auto add = [&](qsizetype start, qsizetype end) {
        end = end < 0 ? text.size() : end;
        ranges.append({start, end - start});
        return end;
    };
    for (qsizetype i = text.indexOf(u'<'); i >= 0 && i < text.size(); i = text.indexOf(u'<', i)) {
        const QStringView rest = text.sliced(i);
        if (rest.startsWith(u"<?") || rest.startsWith(u"<%")) {
            const qsizetype close = text.indexOf(rest[1] == u'?' ? u"?>" : u"%>", i + 2);
            i = add(i, close < 0 ? -1 : close + 2);
        } else if (rest.startsWith(u"<textarea", Qt::CaseInsensitive) &&
                   (rest.size() == 9 || rest[9] == u'>' || rest[9] == u'/' || rest[9].isSpace())) {
            const qsizetype close = text.indexOf(u"</textarea", i + 9, Qt::CaseInsensitive);
            i = add(i, close);
        } else {
            ++i;
        }
    }
    return ranges;
}

} // namespace

DecodedReference decodeReference(QStringView line, qsizetype at) {
    constexpr qsizetype kLongest = 10; // of a name or a number
    const qsizetype n = line.size();
    if (at >= n || line[at] != u'&') {
        return {0, 0};
    }
    qsizetype i = at + 1;
    if (i < n && line[i] == u'#') {
        int base = 10;
        ++i;
        if (i < n && (line[i] == u'x' || line[i] == u'X')) {
            base = 16;
            ++i;
        }
        const qsizetype first = i;
        char32_t value = 0;
        while (i < n && i - first < kLongest && digitValue(line[i], base) >= 0) {
            value = value * char32_t(base) + char32_t(digitValue(line[i], base));
            ++i;
        }
        if (i == first || i >= n || line[i] != u';') {
            return {0, 0};
        }
        // A number that is no character reads as U+FFFD, as in browsers.
        const bool valid = value > 0 && value <= 0x10FFFF && !(value >= 0xD800 && value < 0xE000);
        return {valid ? value : char32_t(0xFFFD), i + 1 - at};
    }
    const qsizetype first = i;
    while (i < n && i - first < kLongest && isAsciiAlnum(line[i])) {
        ++i;
    }
    if (i == first || i >= n || line[i] != u';') {
        return {0, 0};
    }
    const std::u16string_view name(line.utf16() + first, std::size_t(i - first));
    const auto found = std::lower_bound(
        kNamed.begin(), kNamed.end(), name,
        [](const NamedReference& r, std::u16string_view key) { return r.name < key; });
    const bool known = found != kNamed.end() && found->name == name;
    return {known ? char32_t(found->character) : char32_t(0), i + 1 - at};
}

void spellWords(QStringView line, int state, const QList<HtmlSpan>& spans,
                QList<SpellWord>& words) {
    QList<Run> runs;
    textRuns(line, state, spans, true, runs);
    for (const Run& run : runs) {
        wordsOfRun(line, run, words);
    }
}

QList<SpellWord> spellWords(QStringView line, int state) {
    QList<HtmlSpan> spans;
    htmlLineSpans(line, state, spans);
    QList<SpellWord> words;
    spellWords(line, state, spans, words);
    return words;
}

NonBreakingSpaces insertNonBreakingSpaces(QStringView text, int state, qsizetype from,
                                          qsizetype to) {
    if (to < 0) {
        to = text.size();
    }
    NonBreakingSpaces out;
    const QList<HtmlRange> code = codeRanges(text);
    auto nextCode = code.begin(); // the first range that does not end before the space
    const auto inCode = [&](qsizetype at) {
        while (nextCode != code.end() && nextCode->start + nextCode->length <= at) {
            ++nextCode;
        }
        return nextCode != code.end() && nextCode->start <= at;
    };
    QList<HtmlSpan> spans;
    QList<Run> runs;
    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < text.size() && text[lineEnd] != u'\n' &&
               text[lineEnd] != QChar::ParagraphSeparator) {
            ++lineEnd;
        }
        const QStringView line = text.sliced(lineStart, lineEnd - lineStart);
        if (lineStart >= to) {
            break;
        }
        if (lineEnd < from) {
            // Only its state matters.
            state = htmlLineState(line, state);
            lineStart = lineEnd + 1;
            continue;
        }
        spans.clear();
        runs.clear();
        const int next = htmlLineSpans(line, state, spans);
        textRuns(line, state, spans, false, runs);
        for (const Run& run : runs) {
            // The character before the one read; a run starts a word.
            char32_t before = U' ';
            for (qsizetype i = run.start; i < run.end;) {
                const ReadChar c = readChar(line, i);
                const qsizetype space = i + c.length;
                const qsizetype at = lineStart + space;
                if (!c.reference && isOneLetterWord(c.character) && !isWordChar(before) &&
                    space + 1 < line.size() && line[space] == u' ' && space < run.end &&
                    !line[space + 1].isSpace() && at >= from && at < to && !inCode(at)) {
                    out.spaces.append(at);
                }
                before = c.character;
                i = space;
            }
        }
        state = next;
        lineStart = lineEnd + 1;
    }
    out.text.reserve(text.size() + out.spaces.size() * (kNonBreakingSpace.size() - 1));
    qsizetype copied = 0;
    for (const qsizetype at : out.spaces) {
        out.text += text.sliced(copied, at - copied);
        out.text += kNonBreakingSpace;
        copied = at + 1;
    }
    out.text += text.sliced(copied);
    return out;
}

} // namespace zelvar
