#include "text/htmlsyntax.h"

#include "text/lineparts.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace zelvar {

namespace {

// Where in the markup a line starts. The tag modes also carry what follows
// the tag's ">" (the content of a script or a style, or text).
enum Mode : int {
    Text,
    Comment,
    Declaration,
    BeforeAttribute,
    AfterAttributeName,
    BeforeValue,
    SingleQuoted,
    DoubleQuoted,
    ScriptCode,
    ScriptComment,
    ScriptTemplate,
    StyleCode,
    StyleComment,
    ModeCount
};

enum Content : int { Markup, ScriptContent, StyleContent };

constexpr int kModeBits = 4;
static_assert(ModeCount <= (1 << kModeBits));

int packState(Mode mode, Content content = Markup) {
    return mode | (content << kModeBits);
}

bool isSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f';
}

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode() | 0x20;
    return u >= u'a' && u <= u'z';
}

bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode() | 0x20;
    return isAsciiDigit(c) || (u >= u'a' && u <= u'f');
}

bool sameName(QStringView a, QStringView b) {
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// The length of the character reference at s[at] == '&', 0 when there is
// none: &name; &#digits; &#xhex;
qsizetype referenceLength(QStringView s, qsizetype at) {
    constexpr qsizetype kLongestName = 32;
    const qsizetype n = s.size();
    qsizetype i = at + 1;
    bool (*accepts)(QChar) = [](QChar c) { return isAsciiLetter(c) || isAsciiDigit(c); };
    if (i < n && s[i] == u'#') {
        ++i;
        accepts = isAsciiDigit;
        if (i < n && (s[i] == u'x' || s[i] == u'X')) {
            ++i;
            accepts = isHexDigit;
        }
    }
    const qsizetype first = i;
    while (i < n && i - first <= kLongestName && accepts(s[i])) {
        ++i;
    }
    if (i == first || i >= n || s[i] != u';') {
        return 0;
    }
    return i + 1 - at;
}

// The position of the "</" that ends the content of a script or a style,
// or the line's length.
qsizetype findEndTag(QStringView s, qsizetype from, QStringView name) {
    const qsizetype n = s.size();
    for (qsizetype p = s.indexOf(u"</", from); p >= 0; p = s.indexOf(u"</", p + 2)) {
        const qsizetype after = p + 2 + name.size();
        if (after <= n && sameName(s.sliced(p + 2, name.size()), name) &&
            (after == n || isSpace(s[after]) || s[after] == u'/' || s[after] == u'>')) {
            return p;
        }
    }
    return n;
}

// What a reading reports besides the state. The cheap reading reports
// nothing, and the compiler drops every report from it.
struct NoReports {
    static constexpr bool kSpans = false;
    void span(qsizetype, qsizetype, HtmlKind) {}
    void tagOpened(qsizetype, qsizetype, qsizetype, bool) {}
    void tagClosed(qsizetype, bool) {}
};

struct SpanReports : NoReports {
    static constexpr bool kSpans = true;
    QList<HtmlSpan>& spans;

    explicit SpanReports(QList<HtmlSpan>& out) : spans(out) {}
    void span(qsizetype start, qsizetype length, HtmlKind kind) {
        appendSpan(spans, start, length, kind);
    }
};

struct TagEntry {
    qsizetype start;     // the "<"
    qsizetype nameStart; // the name
    qsizetype nameLength;
    qsizetype end = -1; // after the ">", -1 while the tag is open
    bool endTag;
    bool selfClosing = false;
};

struct TagReports : NoReports {
    std::vector<TagEntry>& tags;
    qsizetype offset = 0; // of the line in the text

    explicit TagReports(std::vector<TagEntry>& out) : tags(out) {}
    void tagOpened(qsizetype start, qsizetype nameStart, qsizetype nameLength, bool endTag) {
        tags.push_back({offset + start, offset + nameStart, nameLength, -1, endTag});
    }
    void tagClosed(qsizetype end, bool selfClosing) {
        if (!tags.empty() && tags.back().end < 0) {
            tags.back().end = offset + end;
            tags.back().selfClosing = selfClosing;
        }
    }
};

// Reads s[i, end) of a script's or a style's content from the mode given
// and returns the mode at end. end is the line's end or the "</" of the
// content's end tag.
template <class Reports>
Mode readCode(QStringView s, qsizetype i, qsizetype end, Mode mode, Reports& out) {
    const bool script = mode == ScriptCode || mode == ScriptComment || mode == ScriptTemplate;
    const Mode code = script ? ScriptCode : StyleCode;
    const Mode comment = script ? ScriptComment : StyleComment;
    const QStringView part = s.first(end);
    // A comment or a template string carried from the line before.
    if (mode == comment) {
        const qsizetype e = part.indexOf(u"*/", i);
        if (e < 0) {
            out.span(i, end - i, HtmlKind::Comment);
            return comment;
        }
        out.span(i, e + 2 - i, HtmlKind::Comment);
        i = e + 2;
    } else if (mode == ScriptTemplate) {
        const qsizetype q = closingQuote(part, i, u'`');
        if (q < 0) {
            out.span(i, end - i, HtmlKind::String);
            return ScriptTemplate;
        }
        out.span(i, q + 1 - i, HtmlKind::String);
        i = q + 1;
    }
    for (; i < end; ++i) {
        const QChar c = s[i];
        if (c == u'/' && i + 1 < end && s[i + 1] == u'*') {
            const qsizetype e = part.indexOf(u"*/", i + 2);
            if (e < 0) {
                out.span(i, end - i, HtmlKind::Comment);
                return comment;
            }
            out.span(i, e + 2 - i, HtmlKind::Comment);
            i = e + 1;
        } else if (script && c == u'/' && i + 1 < end && s[i + 1] == u'/') {
            out.span(i, end - i, HtmlKind::Comment);
            return code;
        } else if (c == u'"' || c == u'\'' || (script && c == u'`')) {
            const qsizetype q = closingQuote(part, i + 1, c);
            if (q < 0) {
                // Only a template string goes on to the next line.
                out.span(i, end - i, HtmlKind::String);
                return c == u'`' ? ScriptTemplate : code;
            }
            out.span(i, q + 1 - i, HtmlKind::String);
            i = q;
        }
    }
    return code;
}

template <class Reports> int readLine(QStringView s, int state, Reports& out) {
    const qsizetype n = s.size();
    Mode mode = static_cast<Mode>(state & ((1 << kModeBits) - 1));
    Content content = static_cast<Content>(state >> kModeBits);
    if (state < 0 || mode >= ModeCount || content > StyleContent) {
        mode = Text;
        content = Markup;
    }
    qsizetype i = 0;
    qsizetype amp = -1; // the next '&' at or after i when amp >= i; n when none

    const auto skipSpaces = [&] {
        while (i < n && isSpace(s[i])) {
            ++i;
        }
        return i < n;
    };
    // After a tag's ">", the content the tag opens.
    const auto contentMode = [&] {
        return content == ScriptContent ? ScriptCode : content == StyleContent ? StyleCode : Text;
    };
    const auto finishComment = [&](qsizetype start, qsizetype from) {
        const qsizetype e = s.indexOf(u"-->", from);
        if (e < 0) {
            out.span(start, n - start, HtmlKind::Comment);
            return false;
        }
        out.span(start, e + 3 - start, HtmlKind::Comment);
        i = e + 3;
        return true;
    };

    for (;;) {
        switch (mode) {
        case Text: {
            const qsizetype lt = s.indexOf(u'<', i);
            if constexpr (Reports::kSpans) {
                const qsizetype limit = lt < 0 ? n : lt;
                for (;;) {
                    if (amp < i) {
                        amp = s.indexOf(u'&', i);
                        amp = amp < 0 ? n : amp;
                    }
                    if (amp >= limit) {
                        break;
                    }
                    const qsizetype length = referenceLength(s, amp);
                    out.span(amp, length, HtmlKind::Reference);
                    i = amp + std::max<qsizetype>(length, 1);
                }
            }
            if (lt < 0 || lt + 1 >= n) {
                return packState(Text);
            }
            i = lt;
            const QChar next = s[i + 1];
            if (isAsciiLetter(next) || (next == u'/' && i + 2 < n && isAsciiLetter(s[i + 2]))) {
                const bool endTag = next == u'/';
                const qsizetype nameStart = i + (endTag ? 2 : 1);
                qsizetype j = nameStart;
                while (j < n && !isSpace(s[j]) && s[j] != u'/' && s[j] != u'>') {
                    ++j;
                }
                const QStringView name = s.sliced(nameStart, j - nameStart);
                content = endTag                      ? Markup
                          : sameName(name, u"script") ? ScriptContent
                          : sameName(name, u"style")  ? StyleContent
                                                      : Markup;
                out.span(i, j - i, HtmlKind::Tag);
                out.tagOpened(i, nameStart, j - nameStart, endTag);
                i = j;
                mode = BeforeAttribute;
            } else if (next == u'!' && s.sliced(i + 2).startsWith(u"--")) {
                // "<!-->" and "<!--->" are whole comments.
                const QStringView rest = s.sliced(i + 4);
                const qsizetype shortEnd = rest.startsWith(u'>')    ? i + 5
                                           : rest.startsWith(u"->") ? i + 6
                                                                    : -1;
                if (shortEnd >= 0) {
                    out.span(i, shortEnd - i, HtmlKind::Comment);
                    i = shortEnd;
                } else if (!finishComment(i, i + 4)) {
                    return packState(Comment);
                }
            } else if (next == u'!' || next == u'?') {
                const qsizetype e = s.indexOf(u'>', i + 2);
                if (e < 0) {
                    out.span(i, n - i, HtmlKind::Declaration);
                    return packState(Declaration);
                }
                out.span(i, e + 1 - i, HtmlKind::Declaration);
                i = e + 1;
            } else {
                ++i;
            }
            break;
        }
        case Comment:
            if (!finishComment(i, i)) {
                return packState(Comment);
            }
            mode = Text;
            break;
        case Declaration: {
            const qsizetype e = s.indexOf(u'>', i);
            if (e < 0) {
                out.span(i, n - i, HtmlKind::Declaration);
                return packState(Declaration);
            }
            out.span(i, e + 1 - i, HtmlKind::Declaration);
            i = e + 1;
            mode = Text;
            break;
        }
        case BeforeAttribute:
            if (!skipSpaces()) {
                return packState(mode, content);
            }
            if (s[i] == u'>') {
                out.span(i, 1, HtmlKind::Tag);
                out.tagClosed(i + 1, false);
                ++i;
                mode = contentMode();
            } else if (s[i] == u'/') {
                // "/>" closes a start tag of a foreign or void element; a
                // script or a style opens all the same, as in browsers.
                if (i + 1 < n && s[i + 1] == u'>') {
                    out.span(i, 2, HtmlKind::Tag);
                    out.tagClosed(i + 2, true);
                    ++i;
                    mode = contentMode();
                }
                ++i;
            } else {
                qsizetype j = i + 1; // a first "=" belongs to the name
                while (j < n && !isSpace(s[j]) && s[j] != u'/' && s[j] != u'>' && s[j] != u'=') {
                    ++j;
                }
                out.span(i, j - i, HtmlKind::AttributeName);
                i = j;
                mode = AfterAttributeName;
            }
            break;
        case AfterAttributeName:
            if (!skipSpaces()) {
                return packState(mode, content);
            }
            if (s[i] == u'=') {
                ++i;
                mode = BeforeValue;
            } else {
                mode = BeforeAttribute;
            }
            break;
        case BeforeValue:
            if (!skipSpaces()) {
                return packState(mode, content);
            }
            if (s[i] == u'"' || s[i] == u'\'') {
                mode = s[i] == u'"' ? DoubleQuoted : SingleQuoted;
                const qsizetype q = s.indexOf(s[i], i + 1);
                if (q < 0) {
                    out.span(i, n - i, HtmlKind::AttributeValue);
                    return packState(mode, content);
                }
                out.span(i, q + 1 - i, HtmlKind::AttributeValue);
                i = q + 1;
            } else if (s[i] != u'>') {
                qsizetype j = i;
                while (j < n && !isSpace(s[j]) && s[j] != u'>') {
                    ++j;
                }
                out.span(i, j - i, HtmlKind::AttributeValue);
                i = j;
            }
            mode = BeforeAttribute;
            break;
        case SingleQuoted:
        case DoubleQuoted: {
            const qsizetype q = s.indexOf(mode == DoubleQuoted ? u'"' : u'\'', i);
            if (q < 0) {
                out.span(i, n - i, HtmlKind::AttributeValue);
                return packState(mode, content);
            }
            out.span(i, q + 1 - i, HtmlKind::AttributeValue);
            i = q + 1;
            mode = BeforeAttribute;
            break;
        }
        case ScriptCode:
        case ScriptComment:
        case ScriptTemplate:
        case StyleCode:
        case StyleComment: {
            const bool script =
                mode == ScriptCode || mode == ScriptComment || mode == ScriptTemplate;
            const QStringView name = script ? QStringView(u"script") : QStringView(u"style");
            const qsizetype end = findEndTag(s, i, name);
            const Mode after = readCode(s, i, end, mode, out);
            if (end == n) {
                return packState(after);
            }
            // The end tag: the content's last state no longer matters.
            const qsizetype nameEnd = end + 2 + name.size();
            out.span(end, nameEnd - end, HtmlKind::Tag);
            out.tagOpened(end, end + 2, name.size(), true);
            i = nameEnd;
            content = Markup;
            mode = BeforeAttribute;
            break;
        }
        case ModeCount:
            return packState(Text);
        }
    }
}

bool isVoidElement(QStringView name) {
    static constexpr std::array<QStringView, 14> kVoid = {
        u"area",  u"base", u"br",   u"col",   u"embed",  u"hr",    u"img",
        u"input", u"link", u"meta", u"param", u"source", u"track", u"wbr"};
    return std::any_of(kVoid.begin(), kVoid.end(),
                       [&](QStringView v) { return sameName(name, v); });
}

} // namespace

int htmlLineState(QStringView line, int state) {
    NoReports none;
    return readLine(line, state, none);
}

int htmlLineSpans(QStringView line, int state, QList<HtmlSpan>& spans) {
    SpanReports reports(spans);
    return readLine(line, state, reports);
}

HtmlStart htmlStart(int state) {
    const int mode = state & ((1 << kModeBits) - 1);
    const int content = state >> kModeBits;
    if (state < 0 || mode >= ModeCount || content > StyleContent) {
        return {false, false};
    }
    const bool inTag = mode >= BeforeAttribute && mode <= DoubleQuoted;
    return {inTag, mode >= ScriptCode || (inTag && content != Markup)};
}

namespace {

// The tags of the text, line by line from the state given; returns the
// state the text ends in.
int readTags(QStringView text, int state, std::vector<TagEntry>& tags) {
    TagReports reports(tags);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != QChar::ParagraphSeparator) {
            ++end;
        }
        reports.offset = start;
        state = readLine(text.sliced(start, end - start), state, reports);
        start = end + 1;
    }
    return state;
}

} // namespace

HtmlPlace htmlPlace(int state) {
    const int mode = state & ((1 << kModeBits) - 1);
    if (state == packState(Text)) {
        return HtmlPlace::Text;
    }
    if (mode == BeforeAttribute || mode == AfterAttributeName) {
        return HtmlPlace::BetweenAttributes;
    }
    if (mode == SingleQuoted || mode == DoubleQuoted) {
        return HtmlPlace::Value;
    }
    return HtmlPlace::Other;
}

std::optional<HtmlTagPair> matchHtmlTag(QStringView text, int state, qsizetype caret) {
    std::vector<TagEntry> tags;
    readTags(text, state, tags);
    qsizetype underCaret = -1;
    for (std::size_t k = 0; k < tags.size() && underCaret < 0; ++k) {
        const TagEntry& t = tags[k];
        if (caret >= t.nameStart && caret <= t.nameStart + t.nameLength) {
            underCaret = static_cast<qsizetype>(k);
        }
    }
    if (underCaret < 0) {
        return std::nullopt;
    }
    const auto nameOf = [&](const TagEntry& t) { return text.sliced(t.nameStart, t.nameLength); };
    const auto rangeOf = [&](const TagEntry& t) {
        const qsizetype end = t.end >= 0 ? t.end : t.nameStart + t.nameLength;
        return HtmlRange{t.start, end - t.start};
    };
    const TagEntry& tag = tags[underCaret];
    const QStringView name = nameOf(tag);
    if (tag.selfClosing || isVoidElement(name)) {
        return std::nullopt;
    }
    // Tags of the same name nest; a tag that closes itself opens nothing.
    const qsizetype step = tag.endTag ? -1 : 1;
    int depth = 1;
    for (qsizetype k = underCaret + step; k >= 0 && k < qsizetype(tags.size()); k += step) {
        const TagEntry& t = tags[k];
        if (t.selfClosing || !sameName(nameOf(t), name)) {
            continue;
        }
        depth += t.endTag == tag.endTag ? 1 : -1;
        if (depth == 0) {
            return HtmlTagPair{rangeOf(tag), rangeOf(t)};
        }
    }
    return std::nullopt;
}

std::optional<QString> openElementAtEnd(QStringView text, int state) {
    std::vector<TagEntry> tags;
    if (readTags(text, state, tags) != packState(Text)) {
        return std::nullopt; // in a comment, a tag, a script or a style
    }
    // An end tag closes its element and whatever is still open inside it.
    std::vector<QStringView> open;
    for (const TagEntry& t : tags) {
        const QStringView name = text.sliced(t.nameStart, t.nameLength);
        if (t.endTag) {
            const auto it = std::find_if(open.rbegin(), open.rend(),
                                         [&](QStringView o) { return sameName(o, name); });
            if (it != open.rend()) {
                open.erase(std::next(it).base(), open.end());
            }
        } else if (!t.selfClosing && !name.isEmpty() && !isVoidElement(name)) {
            open.push_back(name);
        }
    }
    if (open.empty()) {
        return std::nullopt;
    }
    return open.back().toString();
}

} // namespace zelvar
