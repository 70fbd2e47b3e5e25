#pragma once
// The tag library's file, tagy.txt, as bytes and as entries: the encodings
// it may come in and the rules of its lines.

#include <QByteArray>
#include <QStringList>

namespace zelvar {

// How tagy.txt is encoded. A file is written back in the encoding it was
// read in, with its byte-order mark.
enum class TagEncoding {
    Windows1250, // the program's own: no byte-order mark
    Utf8,        // valid UTF-8 with at least one multi-byte sequence
    Utf8Bom,     // starts with the UTF-8 byte-order mark
    Utf16LE,     // starts with FF FE
    Utf16BE,     // starts with FE FF
    NotText,     // none of these: binary content, refused
};

struct TagFileText {
    QStringList entries;
    TagEncoding encoding = TagEncoding::Windows1250;
};

// The file's bytes as entries, and the encoding they were found in. The text
// is split at CR LF, a lone CR, a lone LF and a zero character; an empty line
// is an empty entry, a line break at the very end adds none, and a last line
// without one still counts.
//
// A file is not text (NotText, no entries) when its text holds a control
// character other than tab, line feed, vertical tab, form feed, carriage
// return, the end-of-file mark 0x1A and the zero character; when two zero
// characters follow each other; or when, with four or more of them, zero
// characters make up a quarter of the text or more (UTF-16 without its
// byte-order mark looks like that). A UTF-16 file of an odd length is not
// text either.
TagFileText decodeTagFile(const QByteArray& bytes);

// Every entry followed by CR LF, the last one too, in the given encoding
// (with its byte-order mark). Windows-1250 writes what the code page cannot
// hold as numeric character references.
QByteArray encodeTagFile(const QStringList& entries, TagEncoding encoding);

} // namespace zelvar
