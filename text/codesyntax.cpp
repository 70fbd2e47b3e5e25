#include "text/codesyntax.h"

#include "text/lineparts.h"

#include <algorithm>
#include <array>

namespace zelvar {

namespace {

bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode() | 0x20;
    return u >= u'a' && u <= u'z';
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\f';
}

// Whether the line ends in a backslash that escapes its line break.
bool endsEscaped(QStringView s) {
    qsizetype slashes = 0;
    while (slashes < s.size() && s[s.size() - 1 - slashes] == u'\\') {
        ++slashes;
    }
    return slashes % 2 == 1;
}

// What a reading reports besides the state; the cheap reading reports
// nothing and the compiler drops it.
struct NoSpans {
    void span(qsizetype, qsizetype, HtmlKind) {}
};

struct Spans {
    QList<HtmlSpan>& spans;
    void span(qsizetype start, qsizetype length, HtmlKind kind) {
        appendSpan(spans, start, length, kind);
    }
};

// Reads the /* */ comment that starts at i, its end searched from search
// on: true with i after it when it ends on the line, false when it goes on.
template <class Out> bool readComment(QStringView s, qsizetype& i, qsizetype search, Out& out) {
    const qsizetype e = s.indexOf(u"*/", search);
    const qsizetype end = e < 0 ? s.size() : e + 2;
    out.span(i, end - i, HtmlKind::Comment);
    i = end;
    return e >= 0;
}

// The same for a quoted string and its closing quote.
template <class Out>
bool readString(QStringView s, qsizetype& i, qsizetype search, QChar quote, Out& out) {
    const qsizetype q = closingQuote(s, search, quote);
    const qsizetype end = q < 0 ? s.size() : q + 1;
    out.span(i, end - i, HtmlKind::String);
    i = end;
    return q >= 0;
}

// --- CSS -----------------------------------------------------------------------

// The state: bits 0-1 where the line starts (code, a comment, a string in
// double or in single quotes continued by a backslash), bits 2-5 how deep
// in braces, bit 6 in a value (after a property's colon or an at-rule's
// name, up to its ";", "{" or "}").
enum CssMode { CssCode, CssComment, CssDouble, CssSingle };
constexpr int kCssDeepest = 15;

int packCss(int mode, int depth, bool value) {
    return mode | (depth << 2) | (int(value) << 6);
}

bool isCssNameChar(QChar c) {
    return isAsciiLetter(c) || isAsciiDigit(c) || c == u'-' || c == u'_' || c.unicode() >= 0x80 ||
           c == u'\\';
}

bool isCssNameStart(QChar c) {
    return isAsciiLetter(c) || c == u'-' || c == u'_' || c.unicode() >= 0x80 || c == u'\\';
}

qsizetype cssNameEnd(QStringView s, qsizetype i) {
    while (i < s.size() && isCssNameChar(s[i])) {
        i += s[i] == u'\\' && i + 1 < s.size() ? 2 : 1;
    }
    return std::min(i, s.size());
}

// The end of a number and its unit at s[i] (a digit, or a dot or sign
// before one), or i when none starts there.
qsizetype cssNumberEnd(QStringView s, qsizetype i) {
    const qsizetype n = s.size();
    qsizetype j = i;
    if (j < n && (s[j] == u'+' || s[j] == u'-')) {
        ++j;
    }
    const qsizetype digits = j;
    while (j < n && isAsciiDigit(s[j])) {
        ++j;
    }
    if (j + 1 < n && s[j] == u'.' && isAsciiDigit(s[j + 1])) {
        for (++j; j < n && isAsciiDigit(s[j]);) {
            ++j;
        }
    }
    if (j == digits) {
        return i;
    }
    if (j < n && s[j] == u'%') {
        return j + 1;
    }
    return cssNameEnd(s, j); // the unit
}

template <class Out> int readCss(QStringView s, int state, Out& out) {
    int mode = state & 3;
    int depth = (state >> 2) & kCssDeepest;
    bool value = (state >> 6) & 1;
    const qsizetype n = s.size();
    qsizetype i = 0;
    if (mode == CssComment && !readComment(s, i, 0, out)) {
        return state;
    }
    if ((mode == CssDouble || mode == CssSingle) &&
        !readString(s, i, 0, mode == CssDouble ? u'"' : u'\'', out)) {
        return endsEscaped(s) ? state : packCss(CssCode, depth, value);
    }
    while (i < n) {
        const QChar c = s[i];
        if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            if (!readComment(s, i, i + 2, out)) {
                return packCss(CssComment, depth, value);
            }
        } else if (c == u'"' || c == u'\'') {
            if (!readString(s, i, i + 1, c, out)) {
                return packCss(endsEscaped(s) ? (c == u'"' ? CssDouble : CssSingle) : CssCode,
                               depth, value);
            }
        } else if (c == u'{' || c == u'}' || c == u';') {
            depth = c == u'{'   ? std::min(depth + 1, kCssDeepest)
                    : c == u'}' ? std::max(depth - 1, 0)
                                : depth;
            value = false;
            ++i;
        } else if (c == u'@' || (value && c == u'!')) {
            const qsizetype e = cssNameEnd(s, i + 1);
            out.span(i, e - i, HtmlKind::Declaration);
            value = value || c == u'@'; // the at-rule's prelude reads as a value
            i = e;
        } else if (value) {
            qsizetype e = cssNumberEnd(s, i);
            const bool afterName = i > 0 && isCssNameChar(s[i - 1]);
            if (e > i && !afterName) {
                out.span(i, e - i, HtmlKind::Reference);
            } else if (c == u'#' && i + 1 < n && isCssNameChar(s[i + 1])) {
                e = cssNameEnd(s, i + 1);
                out.span(i, e - i, HtmlKind::Reference);
            } else if (isCssNameStart(c)) {
                e = cssNameEnd(s, i);
                // url(...) unquoted is one value.
                if (e - i == 3 && s.sliced(i, 3).compare(u"url", Qt::CaseInsensitive) == 0 &&
                    e < n && s[e] == u'(' && e + 1 < n && s[e + 1] != u'"' && s[e + 1] != u'\'') {
                    const qsizetype close = s.indexOf(u')', e);
                    e = close < 0 ? n : close + 1;
                }
                out.span(i, e - i, HtmlKind::AttributeValue);
            } else {
                e = i + 1;
            }
            i = e;
        } else if (isBlank(c) || c == u',' || c == u'>' || c == u'+' || c == u'~' || c == u'(' ||
                   c == u')') {
            ++i;
        } else {
            // Inside braces a name and a colon start a declaration, unless a
            // "{" comes before the next ";" or "}" (a nested rule's selector
            // such as "a:hover {").
            if (depth > 0 && isCssNameStart(c)) {
                const qsizetype e = cssNameEnd(s, i);
                qsizetype k = e;
                while (k < n && isBlank(s[k])) {
                    ++k;
                }
                if (k < n && s[k] == u':') {
                    qsizetype next = k + 1;
                    while (next < n && s[next] != u';' && s[next] != u'{' && s[next] != u'}') {
                        ++next;
                    }
                    if (next == n || s[next] != u'{') {
                        out.span(i, e - i, HtmlKind::AttributeName);
                        value = true;
                        i = k + 1;
                        continue;
                    }
                }
            }
            // A selector: up to a blank, a combinator, a comma or a brace.
            qsizetype e = i + 1;
            while (e < n && !isBlank(s[e]) && s[e] != u'{' && s[e] != u'}' && s[e] != u',' &&
                   s[e] != u';' && s[e] != u'>' && s[e] != u'+' && s[e] != u'~' && s[e] != u'"' &&
                   s[e] != u'\'' && !(s[e] == u'/' && e + 1 < n && s[e + 1] == u'*')) {
                if (s[e] == u'[') { // an attribute selector, quotes and all
                    const qsizetype close = s.indexOf(u']', e);
                    e = close < 0 ? n : close + 1;
                } else {
                    ++e;
                }
            }
            out.span(i, e - i, HtmlKind::Tag);
            i = e;
        }
    }
    return packCss(CssCode, depth, value);
}

// --- JavaScript ----------------------------------------------------------------

// The state: bits 0-2 where the line starts (code, a comment, a template
// string, a string in double or single quotes continued by a backslash),
// bit 3 inside a template string's ${ }, bits 4-6 the braces open in it,
// bit 7 whether a "/" there starts a regular expression.
enum ScriptMode { JsCode, JsComment, JsTemplate, JsDouble, JsSingle };
constexpr int kJsDeepest = 7;

int packScript(int mode, bool inExpression, int braces, bool regexOk) {
    return mode | (int(inExpression) << 3) | (braces << 4) | (int(regexOk) << 7);
}

bool isScriptNameStart(QChar c) {
    return isAsciiLetter(c) || c == u'_' || c == u'$' || (c.unicode() >= 0x80 && c.isLetter());
}

bool isScriptNameChar(QChar c) {
    return isScriptNameStart(c) || isAsciiDigit(c) || (c.unicode() >= 0x80 && c.isMark());
}

// The reserved words and literals, sorted for the search.
const auto kKeywords = std::to_array<QStringView>({
    u"Infinity", u"NaN",   u"async",    u"await",     u"break",      u"case",    u"catch",
    u"class",    u"const", u"continue", u"debugger",  u"default",    u"delete",  u"do",
    u"else",     u"enum",  u"export",   u"extends",   u"false",      u"finally", u"for",
    u"function", u"if",    u"import",   u"in",        u"instanceof", u"let",     u"new",
    u"null",     u"of",    u"return",   u"super",     u"switch",     u"this",    u"throw",
    u"true",     u"try",   u"typeof",   u"undefined", u"var",        u"void",    u"while",
    u"with",     u"yield",
});

// The keywords after which a "/" starts a regular expression, not a division.
const auto kBeforeExpression = std::to_array<QStringView>({
    u"await",
    u"case",
    u"delete",
    u"do",
    u"else",
    u"in",
    u"instanceof",
    u"new",
    u"of",
    u"return",
    u"throw",
    u"typeof",
    u"void",
    u"yield",
});

// The end of the regular-expression literal at s[i] == '/' (its flags
// included), or -1 when the line ends first.
qsizetype regexEnd(QStringView s, qsizetype i) {
    const qsizetype n = s.size();
    bool inClass = false;
    for (qsizetype j = i + 1; j < n; ++j) {
        const QChar c = s[j];
        if (c == u'\\') {
            ++j;
        } else if (c == u'[') {
            inClass = true;
        } else if (c == u']') {
            inClass = false;
        } else if (c == u'/' && !inClass) {
            if (j == i + 1) {
                return -1; // "//" is a comment
            }
            for (++j; j < n && isAsciiLetter(s[j]);) {
                ++j;
            }
            return j;
        }
    }
    return -1;
}

qsizetype scriptNumberEnd(QStringView s, qsizetype i) {
    const qsizetype n = s.size();
    qsizetype j = i;
    if (s[j] == u'0' && j + 1 < n && QStringView(u"xXoObB").contains(s[j + 1])) {
        j += 2;
        while (j < n && (isAsciiDigit(s[j]) || isAsciiLetter(s[j]) || s[j] == u'_')) {
            ++j;
        }
        return j;
    }
    while (j < n && (isAsciiDigit(s[j]) || s[j] == u'_' || s[j] == u'.')) {
        ++j;
    }
    if (j < n && (s[j] == u'e' || s[j] == u'E')) {
        qsizetype k = j + 1;
        if (k < n && (s[k] == u'+' || s[k] == u'-')) {
            ++k;
        }
        if (k < n && isAsciiDigit(s[k])) {
            for (j = k; j < n && isAsciiDigit(s[j]);) {
                ++j;
            }
        }
    }
    if (j < n && s[j] == u'n') {
        ++j; // a big integer
    }
    return j;
}

template <class Out> int readScript(QStringView s, int state, Out& out) {
    int mode = state & 7;
    bool inExpression = (state >> 3) & 1;
    int braces = (state >> 4) & kJsDeepest;
    bool regexOk = (state >> 7) & 1;
    if (mode > JsSingle) {
        mode = JsCode;
    }
    const qsizetype n = s.size();
    qsizetype i = 0;
    // Reads a template string's text from i: true when it ends on the line
    // (the closing "`" or a "${"), false when it goes on to the next.
    const auto templateText = [&] {
        for (qsizetype j = i; j < n; ++j) {
            if (s[j] == u'\\') {
                ++j;
            } else if (s[j] == u'`') {
                out.span(i, j + 1 - i, HtmlKind::String);
                i = j + 1;
                inExpression = false;
                regexOk = false;
                return true;
            } else if (s[j] == u'$' && j + 1 < n && s[j + 1] == u'{') {
                out.span(i, j - i, HtmlKind::String);
                i = j + 2;
                inExpression = true;
                braces = 0;
                regexOk = true;
                return true;
            }
        }
        out.span(i, n - i, HtmlKind::String);
        i = n;
        return false;
    };
    if (mode == JsComment && !readComment(s, i, 0, out)) {
        return state;
    }
    if (mode == JsTemplate && !templateText()) {
        return state;
    }
    if (mode == JsDouble || mode == JsSingle) {
        if (!readString(s, i, 0, mode == JsDouble ? u'"' : u'\'', out)) {
            return endsEscaped(s) ? state : packScript(JsCode, inExpression, braces, false);
        }
        regexOk = false;
    }
    while (i < n) {
        const QChar c = s[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'/') {
            out.span(i, n - i, HtmlKind::Comment);
            i = n;
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            if (!readComment(s, i, i + 2, out)) {
                return packScript(JsComment, inExpression, braces, regexOk);
            }
        } else if (c == u'"' || c == u'\'') {
            if (!readString(s, i, i + 1, c, out)) {
                return packScript(endsEscaped(s) ? (c == u'"' ? JsDouble : JsSingle) : JsCode,
                                  inExpression, braces, false);
            }
            regexOk = false;
        } else if (c == u'`') {
            // A template inside a template's ${ } is read on its line only:
            // its end goes back to the expression around it.
            const bool outer = inExpression;
            const int outerBraces = braces;
            out.span(i, 1, HtmlKind::String);
            ++i;
            if (!templateText()) {
                return packScript(JsTemplate, false, 0, false);
            }
            if (!inExpression) {
                inExpression = outer;
                braces = outerBraces;
            }
        } else if (c == u'{' || c == u'}') {
            if (c == u'}' && inExpression && braces == 0) {
                ++i;
                if (!templateText()) {
                    return packScript(JsTemplate, false, 0, false);
                }
                continue;
            }
            if (inExpression) {
                braces = c == u'{' ? std::min(braces + 1, kJsDeepest) : std::max(braces - 1, 0);
            }
            regexOk = true;
            ++i;
        } else if (c == u'/' && regexOk && regexEnd(s, i) > 0) {
            const qsizetype e = regexEnd(s, i);
            out.span(i, e - i, HtmlKind::AttributeValue);
            i = e;
            regexOk = false;
        } else if (isAsciiDigit(c) || (c == u'.' && i + 1 < n && isAsciiDigit(s[i + 1]))) {
            const qsizetype e = scriptNumberEnd(s, i);
            out.span(i, e - i, HtmlKind::Reference);
            i = e;
            regexOk = false;
        } else if (isScriptNameStart(c)) {
            qsizetype e = i + 1;
            while (e < n && isScriptNameChar(s[e])) {
                ++e;
            }
            const QStringView word = s.sliced(i, e - i);
            // obj.default is a property, not a keyword.
            const bool property = i > 0 && s[i - 1] == u'.' && !(i > 1 && s[i - 2] == u'.');
            if (!property && listed(kKeywords, word)) {
                out.span(i, e - i, HtmlKind::Tag);
                regexOk = listed(kBeforeExpression, word);
            } else {
                regexOk = false;
            }
            i = e;
        } else {
            regexOk = !(c == u')' || c == u']');
            ++i;
        }
    }
    return packScript(JsCode, inExpression, braces, regexOk);
}

} // namespace

PageLanguage pageLanguage(QStringView fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const qsizetype slash = fileName.lastIndexOf(u'/');
    if (dot < 0 || dot < slash) {
        return PageLanguage::Html;
    }
    const QStringView suffix = fileName.sliced(dot + 1);
    const auto is = [&](QStringView s) { return suffix.compare(s, Qt::CaseInsensitive) == 0; };
    if (is(u"css")) {
        return PageLanguage::Css;
    }
    if (is(u"js") || is(u"mjs") || is(u"cjs")) {
        return PageLanguage::Script;
    }
    return PageLanguage::Html;
}

int cssLineState(QStringView line, int state) {
    NoSpans none;
    return readCss(line, state, none);
}

int cssLineSpans(QStringView line, int state, QList<HtmlSpan>& spans) {
    Spans out{spans};
    return readCss(line, state, out);
}

int scriptLineState(QStringView line, int state) {
    NoSpans none;
    return readScript(line, state, none);
}

int scriptLineSpans(QStringView line, int state, QList<HtmlSpan>& spans) {
    Spans out{spans};
    return readScript(line, state, out);
}

LineReader lineReader(PageLanguage language) {
    switch (language) {
    case PageLanguage::Css:
        return {cssLineState, cssLineSpans};
    case PageLanguage::Script:
        return {scriptLineState, scriptLineSpans};
    case PageLanguage::Html:
        break;
    }
    return {htmlLineState, htmlLineSpans};
}

} // namespace zelvar
