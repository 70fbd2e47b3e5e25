#include "fuzz/checks.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "text/codepage.h"
#include "text/codesyntax.h"
#include "text/htmlsyntax.h"
#include "text/pagefile.h"
#include "text/previewcopy.h"
#include "text/rtf.h"
#include "text/tagfile.h"
#include "text/textencoding.h"
#include "text/textlanguages.h"

namespace zelvar::fuzz {

namespace {

// A short printable excerpt of a text for a failure description.
QString excerpt(const QString& text) {
    QString shown = text.left(60);
    shown.replace(QChar::ParagraphSeparator, QStringLiteral("\\P"));
    shown.replace(QChar::LineSeparator, QStringLiteral("\\L"));
    shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + shown + (text.size() > 60 ? QStringLiteral("...\"") : "\"");
}

QString differs(const char* what, const QString& expected, const QString& got) {
    return QStringLiteral("%1: expected %2, got %3")
        .arg(QLatin1String(what), excerpt(expected), excerpt(got));
}

QString differs(const char* what, const QByteArray& expected, const QByteArray& got) {
    return differs(what, QString::fromLatin1(expected.toPercentEncoding()),
                   QString::fromLatin1(got.toPercentEncoding()));
}

// Every line break as CR LF, and one after a last line that has none.
QByteArray withCrLfBreaks(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() + 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out.append("\r\n");
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            out.append(c);
        }
    }
    if (!out.isEmpty() && !out.endsWith("\r\n")) {
        out.append("\r\n");
    }
    return out;
}

// The reference encoder: one code point after the other, the code page's
// byte where the decoder maps a byte to it, a numeric character reference
// otherwise.
QByteArray referenceEncoding(const CodePage& page, const QString& text) {
    std::vector<int> bytesOf(65536, -1);
    for (int b = 255; b >= 0; --b) {
        bytesOf[page.toUnicode(static_cast<unsigned char>(b))] = b;
    }
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (bytesOf[ch] >= 0) {
            out.append(static_cast<char>(bytesOf[ch]));
            continue;
        }
        char32_t codePoint = ch;
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(ch, text[i + 1].unicode());
            ++i;
        }
        out.append("&#" + QByteArray::number(quint32(codePoint)) + ';');
    }
    return out;
}

QString checkCodePage(const CodePage& page, const QByteArray& input) {
    const QString decoded = page.decode(input);
    if (decoded.size() != input.size()) {
        return QStringLiteral("decoding changed the length");
    }
    const QByteArray encoded = page.encode(decoded);
    if (encoded != input) {
        return differs("bytes after decode and encode", input, encoded);
    }
    for (qsizetype i = 0; i < input.size(); ++i) {
        const auto byte = static_cast<unsigned char>(input[i]);
        if (page.fromUnicode(page.toUnicode(byte)) != byte) {
            return QStringLiteral("byte %1 does not map back to itself").arg(byte);
        }
    }
    const QString units(reinterpret_cast<const QChar*>(input.constData()), input.size() / 2);
    const QByteArray expected = referenceEncoding(page, units);
    const QByteArray got = page.encode(units);
    if (got != expected) {
        return differs("encoding of UTF-16 text", expected, got);
    }
    return {};
}

} // namespace

QString checkRtf(const QByteArray& input) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    if (!readRtf(input, cursor)) {
        return doc.isEmpty() ? QString() : QStringLiteral("rejected RTF inserted text");
    }
    const QString text = doc.toRawText();
    const QByteArray written = writeRtf(doc);
    QTextDocument again;
    QTextCursor againCursor(&again);
    if (!readRtf(written, againCursor)) {
        return QStringLiteral("the reader rejects what the writer wrote");
    }
    if (again.toRawText() != text) {
        return differs("text after write and read", text, again.toRawText());
    }
    return {};
}

QString checkCp1250(const QByteArray& input) {
    for (const CodePage* page : {&windows1250(), &iso88592()}) {
        const QString failure = checkCodePage(*page, input);
        if (!failure.isEmpty()) {
            return (page == &windows1250() ? QStringLiteral("Windows-1250: ")
                                           : QStringLiteral("ISO-8859-2: ")) +
                   failure;
        }
    }
    return {};
}

QString checkPageFile(const QByteArray& input) {
    // Open a page and save it with no edit: every byte comes back.
    static QTemporaryDir folder;
    const QString in = folder.filePath(QStringLiteral("in.txt"));
    const QString out = folder.filePath(QStringLiteral("out.txt"));
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(input) != input.size()) {
        return QStringLiteral("cannot write the input file %1").arg(in);
    }
    file.close();
    QTextDocument doc;
    PlainForm form = loadPageFile(doc, in, true);
    const TextEncoding read = form.encoding;
    form.encoding = pageWriteEncoding(doc, form);
    savePageFile(doc, out, true, form);
    const QByteArray got = readWholeFile(out);
    if (got != input) {
        return differs("page after open and save", input, got);
    }
    // And the page reads back as it was read.
    QTextDocument again;
    if (loadPageFile(again, out, true).encoding != read) {
        return QStringLiteral("the saved page reads back in another encoding");
    }
    return {};
}

QString checkTagFile(const QByteArray& input) {
    const TagFileText read = decodeTagFile(input);
    if (read.encoding == TagEncoding::NotText) {
        return read.entries.isEmpty() ? QString() : QStringLiteral("refused file gave entries");
    }
    const QByteArray written = encodeTagFile(read.entries, read.encoding);
    const TagFileText again = decodeTagFile(written);
    if (again.encoding != read.encoding) {
        return QStringLiteral("the file written back is read in another encoding");
    }
    if (again.entries != read.entries) {
        return differs("entries after write and read", read.entries.join(QLatin1Char('\n')),
                       again.entries.join(QLatin1Char('\n')));
    }
    // A file of the code page without zero characters comes back byte for
    // byte, but for its line breaks.
    if (read.encoding == TagEncoding::Windows1250 && !input.contains('\0') &&
        written != withCrLfBreaks(input)) {
        return differs("tag file written back", withCrLfBreaks(input), written);
    }
    return {};
}

namespace {

// The live preview's patch for an edit in the middle of the text: put in
// place of what it replaces, with its offset attributes taken out, it
// gives the text after the edit; each offset it carries is where an element
// of the copy after the edit starts.
QString checkPreviewPatch(const QString& text) {
    static const char kMark[] = "data-fuzz-q7";
    const PreviewCopy before = makePreviewCopy(text, kMark, {});
    const qsizetype middle = text.size() / 2;
    for (int edit = 0; edit < 3; ++edit) {
        QString after = text;
        if (edit == 0 && middle < text.size()) {
            after.remove(middle, 1);
        } else {
            after.insert(middle, edit == 1 ? QStringLiteral("x") : QStringLiteral("<i>y</i>"));
        }
        const PreviewCopy copy = makePreviewCopy(after, kMark, {});
        const auto patch = previewPatch(text, before.elements, after, copy.elements, kMark);
        if (!patch) {
            continue;
        }
        static const QRegularExpression mark(QStringLiteral(" data-fuzz-q7=\"([0-9]+)\""));
        for (auto found = mark.globalMatch(patch->html); found.hasNext();) {
            const qsizetype at = found.next().captured(1).toLongLong();
            if (std::none_of(copy.elements.begin(), copy.elements.end(),
                             [&](const PreviewElement& e) { return e.start == at; })) {
                return QStringLiteral("edit %1: the patch's offset %2 is no element's")
                    .arg(edit)
                    .arg(at);
            }
        }
        const QString shown = QString(patch->html).remove(mark);
        const qsizetype start = patch->end + patch->shift - shown.size();
        const QString made = QString(after).replace(QChar::ParagraphSeparator, u'\n');
        if (patch->shift != after.size() - text.size() || start < 0 || start > text.size() ||
            QString(text.left(start) + shown + text.mid(patch->end))
                    .replace(QChar::ParagraphSeparator, u'\n') != made) {
            return QStringLiteral("edit %1: the patch does not make the text after it").arg(edit);
        }
    }
    return {};
}

} // namespace

QString checkHtmlSyntax(const QByteArray& input) {
    const QString text = QString::fromUtf8(input);
    // The HTML reader, with the languages of the text, and the readers of
    // style sheets and scripts over the same lines.
    for (const PageLanguage language :
         {PageLanguage::Html, PageLanguage::Css, PageLanguage::Script}) {
        const LineReader reader = lineReader(language);
        const int mostStates = language == PageLanguage::Html ? 64 : 256;
        int state = 0;
        TextLanguages languages;
        QList<HtmlSpan> spans;
        qsizetype lineStart = 0;
        for (const QStringView line : QStringView(text).split(u'\n')) {
            spans.clear();
            const int next = reader.spans(line, state, spans);
            if (reader.state(line, state) != next) {
                return QStringLiteral("the two passes end line %1 apart").arg(lineStart);
            }
            if (next < 0 || next >= mostStates) {
                return QStringLiteral("state %1 after the line at %2").arg(next).arg(lineStart);
            }
            qsizetype end = 0;
            for (const HtmlSpan& span : spans) {
                if (span.start < end || span.length <= 0 ||
                    span.start + span.length > line.size()) {
                    return QStringLiteral("a span out of place in the line at %1").arg(lineStart);
                }
                end = span.start + span.length;
            }
            if (language == PageLanguage::Html) {
                const TextLanguages before = languages;
                readLanguages(line, spans, languages);
                if (!mayChangeLanguages(line, before, htmlStart(next).inTag) &&
                    !(languages == before)) {
                    return QStringLiteral("the languages change unseen in the line at %1")
                        .arg(lineStart);
                }
            }
            state = next;
            lineStart += line.size() + 1;
        }
    }
    // Every place right after a "<" (a few hundred at most) as the caret.
    qsizetype tried = 0;
    for (qsizetype caret = text.indexOf(u'<'); caret >= 0 && tried < 300;
         caret = text.indexOf(u'<', caret + 1), ++tried) {
        const auto pair = matchHtmlTag(text, kHtmlFirstLineState, caret + 1);
        if (!pair) {
            continue;
        }
        const HtmlRange& tag = pair->tag;
        const HtmlRange& partner = pair->partner;
        if (caret + 1 < tag.start || caret + 1 > tag.start + tag.length || partner.start < 0 ||
            partner.start + partner.length > text.size() ||
            (partner.start < tag.start + tag.length &&
             tag.start < partner.start + partner.length)) {
            return QStringLiteral("the tags matched for the caret at %1 are out of place")
                .arg(caret + 1);
        }
    }
    return checkPreviewPatch(text);
}

std::span<const Target> targets() {
    static constexpr Target kTargets[] = {
        {"rtf", &checkRtf},         {"cp1250", &checkCp1250},         {"pagefile", &checkPageFile},
        {"tagfile", &checkTagFile}, {"htmlsyntax", &checkHtmlSyntax},
    };
    return kTargets;
}

} // namespace zelvar::fuzz
