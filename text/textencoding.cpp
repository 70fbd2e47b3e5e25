#include "text/textencoding.h"

#include <QStringDecoder>
#include <algorithm>

#include "text/cp1250.h"

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

} // namespace

TextEncoding detectTextEncoding(QByteArrayView bytes) {
    // A mark before bytes that are not UTF-8 is no promise: such a file is
    // read by the code page, so that every byte of it survives a save.
    if (startsWithBom(bytes)) {
        return bytes.sliced(3).isValidUtf8() ? TextEncoding::Utf8WithBom
                                             : TextEncoding::Windows1250;
    }
    if (!allAscii(bytes) && bytes.isValidUtf8()) {
        return TextEncoding::Utf8;
    }
    return TextEncoding::Windows1250;
}

std::optional<DecodedText> decodeUtf8Text(QByteArrayView bytes) {
    switch (detectTextEncoding(bytes)) {
    case TextEncoding::Utf8WithBom: {
        // A second mark after the first is text, not a mark: keep it.
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless |
                                   QStringConverter::Flag::ConvertInitialBom);
        return DecodedText{decoder(bytes.sliced(3)), TextEncoding::Utf8WithBom};
    }
    case TextEncoding::Utf8:
        return DecodedText{QString::fromUtf8(bytes), TextEncoding::Utf8};
    case TextEncoding::Windows1250:
        break;
    }
    return std::nullopt;
}

DecodedText decodeText(QByteArrayView bytes) {
    if (std::optional<DecodedText> utf8 = decodeUtf8Text(bytes)) {
        return std::move(*utf8);
    }
    return DecodedText{fromCp1250(bytes.toByteArray()), TextEncoding::Windows1250};
}

void appendEncoded(QByteArray& out, QStringView text, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1250) {
        appendCp1250(out, text);
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
    return encoding == TextEncoding::Windows1250 ? QStringLiteral("Windows-1250")
                                                 : QStringLiteral("UTF-8");
}

} // namespace zelvar
