#include "text/htmlcheck.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <QByteArrayList>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <limits>

namespace zelvar {

namespace {

constexpr int kHtml5 = 500; // tidyDetectedHtmlVersion's number for HTML5

// Valid HTML5 that Tidy 5.6 does not know: the attributes per element ("" for
// the global ones) and the elements themselves. Tidy calls them proprietary.
struct Html5Names {
    const char* element;
    const char* attributes;
};
constexpr Html5Names kHtml5Attributes[] = {
    {"", "autocapitalize autofocus enterkeyhint exportparts inert inputmode nonce part popover "
         "slot"},
    {"a", "ping referrerpolicy"},
    {"area", "ping referrerpolicy"},
    {"audio", "muted"},
    {"button", "popovertarget popovertargetaction"},
    {"form", "rel"},
    {"iframe", "allow fetchpriority loading referrerpolicy"},
    {"img", "decoding fetchpriority loading referrerpolicy"},
    {"input", "dirname minlength popovertarget popovertargetaction"},
    {"link", "blocking fetchpriority imagesizes imagesrcset referrerpolicy"},
    {"script", "blocking fetchpriority nomodule referrerpolicy"},
    {"select", "autocomplete"},
    {"style", "blocking"},
    {"textarea", "autocomplete dirname minlength"},
    {"video", "muted playsinline"},
};
// Declared to Tidy as new elements, which it then calls proprietary.
constexpr const char* kHtml5InlineElements = "data slot";
constexpr const char* kHtml5BlockElements = "search";

bool isHtml5Attribute(const QString& element, const QString& attribute) {
    static const QSet<QString> known = [] {
        QSet<QString> set;
        for (const Html5Names& names : kHtml5Attributes) {
            for (const QByteArray& name : QByteArray(names.attributes).split(' ')) {
                set.insert(QString::fromLatin1(names.element) + u' ' + QString::fromLatin1(name));
            }
        }
        return set;
    }();
    const QString name = attribute.toLower();
    return known.contains(u' ' + name) || known.contains(element + u' ' + name);
}

bool isHtml5Element(const QString& element) {
    const QByteArrayList names =
        QByteArray(kHtml5InlineElements).split(' ') + QByteArray(kHtml5BlockElements).split(' ');
    return names.contains(element.toLatin1());
}

// "<img>" or "</img>" as Tidy names an element: "img".
QString elementName(const QString& described) {
    QString name = described;
    name.remove(u'<').remove(u'>').remove(u'/');
    return name.toLower();
}

QString argumentText(TidyMessage message, TidyMessageArgument* argument) {
    const QByteArray format = tidyGetArgFormat(message, argument);
    char text[64] = {};
    switch (tidyGetArgType(message, argument)) {
    case tidyFormatType_STRING: {
        const char* value = tidyGetArgValueString(message, argument);
        QString string = value ? QString::fromUtf8(value) : QString();
        if (string.size() > kMaxArgumentLength) {
            string = string.left(kMaxArgumentLength) + QChar(0x2026);
        }
        return string;
    }
    case tidyFormatType_INT:
        std::snprintf(text, sizeof text, "%d", tidyGetArgValueInt(message, argument));
        break;
    case tidyFormatType_UINT:
        // The format is Tidy's own ("%u", "%04X").
        std::snprintf(text, sizeof text, format.contains('X') ? "%04X" : "%u",
                      tidyGetArgValueUInt(message, argument));
        break;
    case tidyFormatType_DOUBLE:
        std::snprintf(text, sizeof text, "%g", tidyGetArgValueDouble(message, argument));
        break;
    case tidyFormatType_UNKNOWN:
        break;
    }
    return QString::fromLatin1(text);
}

std::optional<FindingKind> findingKind(TidyReportLevel level) {
    switch (level) {
    case TidyInfo:
        return FindingKind::Info;
    case TidyWarning:
    case TidyAccess:
        return FindingKind::Warning;
    case TidyError:
    case TidyBadDocument:
    case TidyFatal:
        return FindingKind::Error;
    default: // the configuration and Tidy's own summary and advice
        return std::nullopt;
    }
}

Bool TIDY_CALL collect(TidyMessage message) {
    TidyDoc doc = tidyGetMessageDoc(message);
    auto& result = *static_cast<HtmlCheckResult*>(tidyGetAppData(doc));
    const QString key = QString::fromLatin1(tidyGetMessageKey(message));
    QStringList arguments;
    for (TidyIterator it = tidyGetMessageArguments(message); it;) {
        TidyMessageArgument argument = tidyGetNextMessageArgument(message, &it);
        arguments << argumentText(message, &argument);
    }
    const std::optional<FindingKind> kind = findingKind(tidyGetMessageLevel(message));
    // The page-wide notes are about the tidied document Tidy would write; a
    // custom element is valid. (Tidy's own mute list is no help: it misses this
    // note, and 5.6 leaves the muted flag of a page's first message unset.)
    if (!kind || key.startsWith(u"STRING_") || key == u"CUSTOM_TAG_DETECTED") {
        return no;
    }
    if (tidyDetectedHtmlVersion(doc) == kHtml5 && !arguments.isEmpty()) {
        const QString element = elementName(arguments.first());
        if (key == u"PROPRIETARY_ATTRIBUTE" && arguments.size() > 1 &&
            isHtml5Attribute(element, arguments.at(1))) {
            return no;
        }
        if (key == u"PROPRIETARY_ELEMENT" && isHtml5Element(element)) {
            return no;
        }
    }
    ++result.counts[static_cast<int>(*kind)];
    if (result.findings.size() >= kMaxListedFindings) {
        return no;
    }
    HtmlFinding finding;
    finding.line = std::max(0, tidyGetMessageLine(message));
    finding.column = std::max(0, tidyGetMessageColumn(message));
    finding.kind = *kind;
    finding.key = key;
    finding.arguments = arguments;
    finding.english = QString::fromUtf8(tidyGetMessageDefault(message)).trimmed();
    result.findings << finding;
    return no; // Tidy prints nothing itself
}

void setOptions(TidyDoc doc) {
    tidyOptSetInt(doc, TidyShowErrors, std::numeric_limits<int>::max());
    tidyOptSetBool(doc, TidyShowWarnings, yes);
    tidyOptSetBool(doc, TidyShowInfo, yes);
    tidyOptSetBool(doc, TidyQuiet, yes);
    tidyOptSetBool(doc, TidyKeepTabs, yes);
    tidyOptSetBool(doc, TidyShowMarkup, no);
    tidyOptSetBool(doc, TidyGDocClean, no);
    // Only what the page says: nothing is moved or dropped in a document that
    // is never written, so no finding tells of it.
    tidyOptSetBool(doc, TidyDropEmptyElems, no);
    tidyOptSetBool(doc, TidyDropEmptyParas, no);
    tidyOptSetBool(doc, TidyStyleTags, no);
    // The declared doctype decides; a page without one is HTML5.
    tidyOptSetValue(doc, TidyDoctype, "auto");
    // Autonomous custom elements (<x-menu>) are valid HTML5.
    tidyOptSetValue(doc, TidyUseCustomTags, "inline");
    tidyOptSetValue(doc, TidyInlineTags, kHtml5InlineElements);
    tidyOptSetValue(doc, TidyBlockTags, kHtml5BlockElements);
    tidySetInCharEncoding(doc, "utf8");
}

bool lessByPlace(const HtmlFinding& a, const HtmlFinding& b) {
    return a.line != b.line ? a.line < b.line : a.column < b.column;
}

QByteArray escaped(const QString& field) {
    QByteArray out;
    for (char c : field.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescaped(QByteArrayView field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c == '\\' && i + 1 < field.size()) {
            c = field[++i];
            c = c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
        out += c;
    }
    return QString::fromUtf8(out);
}

constexpr char kKindLetters[] = {'E', 'W', 'I'}; // in the order of FindingKind

} // namespace

HtmlCheckResult checkHtml(QByteArrayView utf8) {
    HtmlCheckResult result;
    tidySetLanguage("en");
    TidyDoc doc = tidyCreate();
    tidySetAppData(doc, &result);
    tidySetMessageCallback(doc, collect);
    setOptions(doc);
    // Tidy reads a buffer by its length, so a zero byte does not end the page.
    QByteArray bytes = utf8.toByteArray();
    TidyBuffer input;
    tidyBufInit(&input);
    tidyBufAttach(&input, reinterpret_cast<byte*>(bytes.data()), static_cast<uint>(bytes.size()));
    if (tidyParseBuffer(doc, &input) >= 0 && tidyCleanAndRepair(doc) >= 0) {
        tidyRunDiagnostics(doc);
    }
    tidyBufDetach(&input);
    tidyRelease(doc);
    std::stable_sort(result.findings.begin(), result.findings.end(), lessByPlace);
    return result;
}

QByteArray checkInput(QStringView text) {
    QByteArray bytes = text.toUtf8();
    for (char& byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x20 && byte != '\t' && byte != '\n') {
            byte = ' ';
        }
    }
    return bytes;
}

namespace {

// Tidy tells of an end tag that closes no open element at the element it is
// in (the <i> of "<b><i>x</b></i>"): the finding goes to the end tag itself,
// the first one of that name from there on.
void moveToEndTag(HtmlFinding& finding, QStringView text, qsizetype from) {
    const QString needle = QStringLiteral("</") + elementName(finding.arguments.value(0));
    if (needle.size() <= 2) {
        return;
    }
    for (qsizetype at = text.indexOf(needle, from, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(needle, at + 1, Qt::CaseInsensitive)) {
        const qsizetype after = at + needle.size();
        if (after < text.size() && (text[after].isLetterOrNumber() || text[after] == u'-')) {
            continue; // </bdo> is not </b>
        }
        finding.line += int(text.sliced(from, at - from).count(u'\n'));
        const qsizetype lineStart = at > 0 ? text.lastIndexOf(u'\n', at - 1) + 1 : 0;
        finding.column = int(at - lineStart) + 1;
        return;
    }
}

} // namespace

void mapColumnsToEditor(HtmlCheckResult& result, QStringView text) {
    // One pass over the text and the findings in their order of place.
    std::stable_sort(result.findings.begin(), result.findings.end(), lessByPlace);
    qsizetype pos = 0; // where the walk is in the text
    int line = 1;      // the line pos is in
    qsizetype lineStart = 0;
    int codePoint = 1; // Tidy's column at pos
    for (HtmlFinding& finding : result.findings) {
        while (line < finding.line && pos <= text.size()) {
            pos = text.indexOf(u'\n', pos);
            if (pos < 0) {
                pos = text.size() + 1;
                break;
            }
            ++pos;
            ++line;
            lineStart = pos;
            codePoint = 1;
        }
        if (line != finding.line) {
            continue; // past the end of the text, or the page as a whole
        }
        while (codePoint < finding.column && pos < text.size() && text[pos] != u'\n') {
            pos += text[pos].isHighSurrogate() && pos + 1 < text.size() &&
                           text[pos + 1].isLowSurrogate()
                       ? 2
                       : 1;
            ++codePoint;
        }
        finding.column = static_cast<int>(pos - lineStart) + 1 + (finding.column - codePoint);
        if (finding.key == u"NON_MATCHING_ENDTAG") {
            moveToEndTag(finding, text, std::min(lineStart + finding.column - 1, text.size()));
        }
    }
    std::stable_sort(result.findings.begin(), result.findings.end(), lessByPlace);
}

QString checkSummary(const HtmlCheckResult& result) {
    const int* counts = result.counts;
    // 1 chyba, 2 až 4 chyby, 0 a 5 a více chyb.
    auto plural = [](int n, const char* one, const char* few, const char* many) {
        return QString::number(n) + u' ' +
               QString::fromUtf8(n == 1               ? one
                                 : (n >= 2 && n <= 4) ? few
                                                      : many);
    };
    const QString infos = plural(counts[2], "informace", "informace", "informací");
    if (counts[0] == 0 && counts[1] == 0) {
        const QString clean = QString::fromUtf8("Stránka je bez chyb.");
        return counts[2] == 0 ? clean : clean + QStringLiteral(" (") + infos + u')';
    }
    QStringList parts;
    if (counts[0] > 0) {
        parts << plural(counts[0], "chyba", "chyby", "chyb");
    }
    if (counts[1] > 0) {
        parts << plural(counts[1], "varování", "varování", "varování");
    }
    if (counts[2] > 0) {
        parts << infos;
    }
    QString summary = parts.join(u", ");
    if (result.findings.size() < counts[0] + counts[1] + counts[2]) {
        summary += QString::fromUtf8(" (vypsáno prvních %1)").arg(result.findings.size());
    }
    return summary;
}

QByteArray encodeCheckResult(const HtmlCheckResult& result) {
    QByteArray out = "C\t" + QByteArray::number(result.counts[0]) + '\t' +
                     QByteArray::number(result.counts[1]) + '\t' +
                     QByteArray::number(result.counts[2]) + '\n';
    for (const HtmlFinding& finding : result.findings) {
        out += "F\t" + QByteArray::number(finding.line) + '\t' +
               QByteArray::number(finding.column) + '\t' +
               kKindLetters[static_cast<int>(finding.kind)] + '\t' + escaped(finding.key) + '\t' +
               escaped(finding.english);
        for (const QString& argument : finding.arguments) {
            out += '\t' + escaped(argument);
        }
        out += '\n';
    }
    out += ".\n";
    return out;
}

std::optional<HtmlCheckResult> decodeCheckResult(QByteArrayView bytes) {
    // The end line is the last line, and a whole one.
    if (bytes != ".\n" && !bytes.endsWith("\n.\n")) {
        return std::nullopt;
    }
    HtmlCheckResult result;
    qsizetype start = 0;
    const qsizetype end = bytes.size() - 2;
    while (start < end) {
        qsizetype stop = bytes.indexOf('\n', start);
        const QByteArray line = bytes.sliced(start, stop - start).toByteArray();
        start = stop + 1;
        const QByteArrayList fields = line.split('\t');
        if (fields.at(0) == "C" && fields.size() == 4) {
            for (int i = 0; i < 3; ++i) {
                result.counts[i] = fields.at(i + 1).toInt();
            }
            continue;
        }
        const char* kind =
            fields.size() >= 6 && fields.at(3).size() == 1
                ? std::find(std::begin(kKindLetters), std::end(kKindLetters), fields.at(3).at(0))
                : std::end(kKindLetters);
        bool lineOk = false;
        bool columnOk = false;
        HtmlFinding finding;
        if (fields.at(0) == "F" && kind != std::end(kKindLetters)) {
            finding.line = fields.at(1).toInt(&lineOk);
            finding.column = fields.at(2).toInt(&columnOk);
        }
        if (!lineOk || !columnOk) {
            return std::nullopt;
        }
        finding.kind = static_cast<FindingKind>(kind - std::begin(kKindLetters));
        finding.key = unescaped(fields.at(4));
        finding.english = unescaped(fields.at(5));
        for (qsizetype i = 6; i < fields.size(); ++i) {
            finding.arguments << unescaped(fields.at(i));
        }
        result.findings << finding;
    }
    return result;
}

} // namespace zelvar
