#include "text/tagfile.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <type_traits>

#include "text/cp1250.h"
#include "text/textencoding.h"

namespace zelvar {

namespace {

constexpr char kUtf16LEBom[] = "\xFF\xFE";
constexpr char kUtf16BEBom[] = "\xFE\xFF";

// Whether a text holds only what a text file holds; see decodeTagFile.
template <typename Char> bool looksLikeText(const Char* text, qsizetype n) {
    qsizetype zeros = 0;
    qsizetype oddZeros = 0;
    bool lastWasZero = false;
    for (qsizetype i = 0; i < n; ++i) {
        const auto c = static_cast<std::make_unsigned_t<Char>>(text[i]);
        if (c >= 0x20) {
            lastWasZero = false;
            continue;
        }
        if (c == 0) {
            if (lastWasZero) {
                return false;
            }
            lastWasZero = true;
            ++zeros;
            oddZeros += i % 2;
            continue;
        }
        lastWasZero = false;
        if (c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r' && c != 0x1A) {
            return false;
        }
    }
    // Zero bytes at every other place are UTF-16 without its mark, which
    // must not be read, nor rewritten, as single bytes; zeros that end
    // entries of different lengths are text.
    return zeros < 4 || qMax(zeros - oddZeros, oddZeros) * 5 < n * 2;
}

// The text split into entries at CR LF, a lone CR, a lone LF and a zero.
QStringList splitEntries(QStringView text) {
    QStringList entries;
    const qsizetype n = text.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' || c == u'\n' || c == 0) {
            entries.append(text.mid(from, i - from).toString());
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
                ++i;
            }
            from = i + 1;
        }
    }
    if (from < n) {
        entries.append(text.mid(from).toString());
    }
    return entries;
}

TagFileText decoded(QStringDecoder decoder, QByteArrayView bytes, TagEncoding encoding) {
    const QString text = decoder(bytes);
    if (decoder.hasError() || !looksLikeText(text.utf16(), text.size())) {
        return {{}, TagEncoding::NotText};
    }
    return {splitEntries(text), encoding};
}

} // namespace

// The byte-order mark is taken off before the text is decoded; a second
// mark after it is text and stays.
constexpr QStringConverter::Flags kAfterMark =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

TagFileText decodeTagFile(const QByteArray& bytes) {
    const QByteArrayView all(bytes);
    if (all.startsWith(kUtf16LEBom) || all.startsWith(kUtf16BEBom)) {
        if (bytes.size() % 2 != 0) {
            return {{}, TagEncoding::NotText};
        }
        const bool little = all.startsWith(kUtf16LEBom);
        return decoded(
            QStringDecoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                           kAfterMark),
            all.sliced(2), little ? TagEncoding::Utf16LE : TagEncoding::Utf16BE);
    }
    // Below 0x20 the single-byte code page and UTF-8 agree with Unicode, so
    // binary content is told before anything is decoded.
    if (!looksLikeText(bytes.constData(), bytes.size())) {
        return {{}, TagEncoding::NotText};
    }
    // UTF-8 by the rule every file of the program is read by.
    switch (detectTextEncoding(all)) {
    case TextEncoding::Utf8WithBom:
        return decoded(QStringDecoder(QStringConverter::Utf8, kAfterMark),
                       all.sliced(byteOrderMark(TextEncoding::Utf8WithBom).size()),
                       TagEncoding::Utf8Bom);
    case TextEncoding::Utf8:
        return {splitEntries(QString::fromUtf8(all)), TagEncoding::Utf8};
    case TextEncoding::Windows1250:
    case TextEncoding::Iso88592:
        break;
    }
    return {splitEntries(fromCp1250(bytes)), TagEncoding::Windows1250};
}

QByteArray encodeTagFile(const QStringList& entries, TagEncoding encoding) {
    QByteArray out;
    if (encoding == TagEncoding::Windows1250 || encoding == TagEncoding::NotText) {
        for (const QString& entry : entries) {
            appendCp1250(out, entry);
            out.append("\r\n", 2);
        }
        return out;
    }
    QString text;
    qsizetype size = 0;
    for (const QString& entry : entries) {
        size += entry.size() + 2;
    }
    text.reserve(size);
    for (const QString& entry : entries) {
        text += entry;
        text += QLatin1String("\r\n");
    }
    switch (encoding) {
    case TagEncoding::Utf8Bom:
        return encodeText(text, TextEncoding::Utf8WithBom);
    case TagEncoding::Utf8:
        return encodeText(text, TextEncoding::Utf8);
    case TagEncoding::Utf16LE:
        return QByteArray(kUtf16LEBom) + QStringEncoder(QStringConverter::Utf16LE)(text);
    default:
        return QByteArray(kUtf16BEBom) + QStringEncoder(QStringConverter::Utf16BE)(text);
    }
}

} // namespace zelvar
