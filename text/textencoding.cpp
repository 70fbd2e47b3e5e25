#include "text/textencoding.h"

#include <QStringDecoder>
#include <algorithm>

#include "text/charset.h"
#include "text/codepage.h"

namespace zelvar {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool startsWithBom(QByteArrayView bytes) {
    return bytes.startsWith(QByteArrayView(kBom, 3));
}

bool allAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char b) { return static_cast<unsigned char>(b) < 0x80; });
}

// U+2029, U+FDD0 and U+FDD1 in UTF-8: the text document's own block and
// frame separators.
bool holdsDocumentSeparators(QByteArrayView bytes) {
    return bytes.contains("\xE2\x80\xA9") || bytes.contains("\xEF\xB7\x90") ||
           bytes.contains("\xEF\xB7\x91");
}

bool readableAsUtf8(QByteArrayView bytes, EncodingRule rule) {
    return bytes.isValidUtf8() && (rule == EncodingRule::Basic || !holdsDocumentSeparators(bytes));
}

} // namespace

TextEncoding detectTextEncoding(QByteArrayView bytes, EncodingRule rule) {
    // A mark before bytes that are not UTF-8 is no promise: such a file is
    // read by the next rules, so that every byte of it survives a save.
    if (startsWithBom(bytes) && readableAsUtf8(bytes.sliced(3), rule)) {
        return TextEncoding::Utf8WithBom;
    }
    if (rule == EncodingRule::Page) {
        const std::optional<CharsetDeclaration> declared = findCharsetDeclaration(bytes);
        if (declared && declared->encoding) {
            if (*declared->encoding != TextEncoding::Utf8 || readableAsUtf8(bytes, rule)) {
                return *declared->encoding;
            }
        }
    }
    if (!allAscii(bytes) && readableAsUtf8(bytes, rule)) {
        return TextEncoding::Utf8;
    }
    return TextEncoding::Windows1250;
}

std::optional<DecodedText> decodeUtf8Text(QByteArrayView bytes) {
    const TextEncoding encoding = detectTextEncoding(bytes);
    if (codePageOf(encoding)) {
        return std::nullopt;
    }
    return decodeText(bytes);
}

DecodedText decodeText(QByteArrayView bytes, EncodingRule rule) {
    const TextEncoding encoding = detectTextEncoding(bytes, rule);
    return DecodedText{decodeAs(bytes, encoding), encoding};
}

QString decodeAs(QByteArrayView bytes, TextEncoding encoding) {
    if (const CodePage* page = codePageOf(encoding)) {
        return page->decode(bytes);
    }
    if (encoding == TextEncoding::Utf8WithBom && startsWithBom(bytes)) {
        // A second mark after the first is text, not a mark: keep it.
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless |
                                   QStringConverter::Flag::ConvertInitialBom);
        return decoder(bytes.sliced(3));
    }
    return QString::fromUtf8(bytes);
}

void appendEncoded(QByteArray& out, QStringView text, TextEncoding encoding) {
    if (const CodePage* page = codePageOf(encoding)) {
        page->append(out, text);
    } else {
        out.append(text.toUtf8());
    }
}

QByteArray encodeText(QStringView text, TextEncoding encoding) {
    QByteArray out = byteOrderMark(encoding).toByteArray();
    appendEncoded(out, text, encoding);
    return out;
}

QByteArrayView byteOrderMark(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8WithBom ? QByteArrayView(kBom, 3) : QByteArrayView();
}

QString encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Windows1250:
        return QStringLiteral("Windows-1250");
    case TextEncoding::Iso88592:
        return QStringLiteral("ISO-8859-2");
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        break;
    }
    return QStringLiteral("UTF-8");
}

const CodePage* codePageOf(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Windows1250:
        return &windows1250();
    case TextEncoding::Iso88592:
        return &iso88592();
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        break;
    }
    return nullptr;
}

bool sameEncoding(TextEncoding a, TextEncoding b) {
    return codePageOf(a) == codePageOf(b);
}

qsizetype firstUnencodable(QStringView text, TextEncoding encoding) {
    const CodePage* page = codePageOf(encoding);
    if (!page) {
        return -1;
    }
    const auto found = std::find_if(
        text.begin(), text.end(), [page](QChar ch) { return page->fromUnicode(ch.unicode()) < 0; });
    return found == text.end() ? -1 : found - text.begin();
}

} // namespace zelvar
