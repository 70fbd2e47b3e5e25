#pragma once
// Which of the program's text encodings a file's bytes are read in, and the
// decoding and encoding of text in them.
//
// Windows-1250 is the program's own form. By the basic rule a file is read
// as UTF-8 when it starts with the UTF-8 byte-order mark, or when its bytes
// are valid UTF-8 and hold at least one multi-byte sequence; every other
// file (pure ASCII among them, which reads the same either way) is
// Windows-1250. A file that starts with the byte-order mark but is not UTF-8
// after it is Windows-1250 too, so that no byte of it is lost.
//
// What goes into an editor is read as UTF-8 only when it holds none of the
// characters the text document keeps for itself (U+2029, U+FDD0, U+FDD1,
// which it would turn into line breaks); such a file is read by the code
// page, so that every byte of it survives. A web page is read, after the
// byte-order mark, in the charset it declares (text/charset.h) when that is
// one of the three and its bytes are valid in it; every byte is valid in the
// two code pages, and bytes that are not valid UTF-8 under a UTF-8
// declaration go on to the basic rule.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace zelvar {

class CodePage;

enum class TextEncoding {
    Windows1250,
    Utf8,        // UTF-8 without a byte-order mark
    Utf8WithBom, // UTF-8 that starts with the byte-order mark
    Iso88592
};

enum class EncodingRule {
    Basic,  // the byte-order mark, else UTF-8 when it is, else Windows-1250
    Editor, // the basic rule, UTF-8 only without the text document's own characters
    Page    // the editor's rule, with the charset the page declares after the mark
};

struct DecodedText {
    QString text; // line breaks as they were in the bytes; no byte-order mark
    TextEncoding encoding;
};

TextEncoding detectTextEncoding(QByteArrayView bytes, EncodingRule rule = EncodingRule::Basic);

// The text when the bytes are read as UTF-8 by the basic rule (the
// byte-order mark removed), nothing when they are Windows-1250, which a
// caller with a faster Windows-1250 path of its own then decodes itself.
std::optional<DecodedText> decodeUtf8Text(QByteArrayView bytes);

// The bytes as text in the encoding they are read in.
DecodedText decodeText(QByteArrayView bytes, EncodingRule rule = EncodingRule::Basic);

// The bytes as text in the given encoding, the byte-order mark removed.
QString decodeAs(QByteArrayView bytes, TextEncoding encoding);

// The text in the encoding, the byte-order mark first for Utf8WithBom.
// The code pages write what they cannot hold as numeric character
// references.
QByteArray encodeText(QStringView text, TextEncoding encoding);

// Appends the text in the encoding, never a byte-order mark, to out.
void appendEncoded(QByteArray& out, QStringView text, TextEncoding encoding);

// The bytes that start a file in the encoding (the byte-order mark or none).
QByteArrayView byteOrderMark(TextEncoding encoding);

// The encoding's name as the user sees it: "Windows-1250", "UTF-8" or
// "ISO-8859-2".
QString encodingName(TextEncoding encoding);

// The code page of a single-byte encoding; nothing for UTF-8.
const CodePage* codePageOf(TextEncoding encoding);

// Whether the two are the same encoding but for the byte-order mark.
bool sameEncoding(TextEncoding a, TextEncoding b);

// Where the first character of the text stands that the encoding cannot
// hold (and writes as a numeric character reference), or -1.
qsizetype firstUnencodable(QStringView text, TextEncoding encoding);

} // namespace zelvar
