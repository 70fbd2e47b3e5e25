#pragma once
// Which of the two text encodings a file's bytes are read in, and the
// decoding and encoding of text in them.
//
// Windows-1250 is the program's own form. A file is read as UTF-8 when it
// starts with the UTF-8 byte-order mark, or when its bytes are valid UTF-8
// and hold at least one multi-byte sequence; every other file (pure ASCII
// among them, which reads the same either way) is Windows-1250. A file that
// starts with the byte-order mark but is not UTF-8 after it is Windows-1250
// too, so that no byte of it is lost.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace zelvar {

enum class TextEncoding {
    Windows1250,
    Utf8,       // UTF-8 without a byte-order mark
    Utf8WithBom // UTF-8 that starts with the byte-order mark
};

struct DecodedText {
    QString text; // line breaks as they were in the bytes; no byte-order mark
    TextEncoding encoding;
};

TextEncoding detectTextEncoding(QByteArrayView bytes);

// The text when the bytes are read as UTF-8 (the byte-order mark removed),
// nothing when they are Windows-1250, which a caller with a faster
// Windows-1250 path of its own then decodes itself.
std::optional<DecodedText> decodeUtf8Text(QByteArrayView bytes);

// The bytes as text in the encoding they are read in.
DecodedText decodeText(QByteArrayView bytes);

// The text in the encoding, the byte-order mark first for Utf8WithBom.
// Windows-1250 writes what it cannot hold as numeric character references.
QByteArray encodeText(QStringView text, TextEncoding encoding);

// Appends the text in the encoding, never a byte-order mark, to out.
void appendEncoded(QByteArray& out, QStringView text, TextEncoding encoding);

// The bytes that start a file in the encoding (the byte-order mark or none).
QByteArrayView byteOrderMark(TextEncoding encoding);

// The encoding's name as the user sees it: "Windows-1250" or "UTF-8".
QString encodingName(TextEncoding encoding);

} // namespace zelvar
