#include "fuzz/checks.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <array>

#include "text/cp1250.h"
#include "text/pagefile.h"
#include "text/rtf.h"
#include "text/textencoding.h"
#include "tools/taglibrary.h"

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
QByteArray referenceCp1250(const QString& text) {
    static const auto bytesOf = [] {
        std::array<int, 65536> table;
        table.fill(-1);
        for (int b = 255; b >= 0; --b) {
            table[cp1250ToUnicode(static_cast<unsigned char>(b))] = b;
        }
        return table;
    }();
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
    const QString decoded = fromCp1250(input);
    if (decoded.size() != input.size()) {
        return QStringLiteral("decoding changed the length");
    }
    const QByteArray encoded = toCp1250(decoded);
    if (encoded != input) {
        return differs("bytes after decode and encode", input, encoded);
    }
    for (qsizetype i = 0; i < input.size(); ++i) {
        const auto byte = static_cast<unsigned char>(input[i]);
        if (unicodeToCp1250(cp1250ToUnicode(byte)) != byte) {
            return QStringLiteral("byte %1 does not map back to itself").arg(byte);
        }
    }
    const QString units(reinterpret_cast<const QChar*>(input.constData()), input.size() / 2);
    const QByteArray expected = referenceCp1250(units);
    const QByteArray got = toCp1250(units);
    if (got != expected) {
        return differs("encoding of UTF-16 text", expected, got);
    }
    return {};
}

QString checkPageFile(const QByteArray& input) {
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
    const TextEncoding encoding = loadPageFile(doc, in, true);
    if (encoding != detectTextEncoding(input)) {
        return QStringLiteral("the page was not read in the encoding its bytes have");
    }
    savePageFile(doc, out, true, encoding);
    const QByteArray written = readWholeFile(out);
    // The byte-order mark stays in front; in UTF-8 the Unicode line and
    // paragraph separators are line breaks like any other.
    const QByteArrayView mark = byteOrderMark(encoding);
    QByteArray text = input.sliced(mark.size());
    if (encoding != TextEncoding::Windows1250) {
        text.replace("\xE2\x80\xA8", "\n").replace("\xE2\x80\xA9", "\n");
    }
    const QByteArray expected = mark.toByteArray() + withCrLfBreaks(text);
    if (written != expected) {
        return differs("plain page after load and save", expected, written);
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

std::span<const Target> targets() {
    static constexpr Target kTargets[] = {
        {"rtf", &checkRtf},
        {"cp1250", &checkCp1250},
        {"pagefile", &checkPageFile},
        {"tagfile", &checkTagFile},
    };
    return kTargets;
}

} // namespace zelvar::fuzz
