#pragma once
// Windows-1250 (Central European) text, the single-byte code page of every
// file the program reads and writes.
//
// Every byte value survives a decode followed by an encode unchanged: the five
// bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) decode
// to the control characters U+0081, U+0083, U+0088, U+0090, U+0098 and encode
// back to themselves, and byte 0 is U+0000.
//
// A character the code page cannot hold is never replaced by a question mark:
// the encoder writes it as an HTML numeric character reference "&#N;" with the
// decimal code point (a surrogate pair gives one reference for the whole
// character), which a browser shows as that character.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace zelvar {

QString fromCp1250(const QByteArray& bytes);
QByteArray toCp1250(const QString& text);

// The character that one byte stands for.
char16_t cp1250ToUnicode(unsigned char byte);

// The byte for one UTF-16 unit, or -1 when the code page has none.
int unicodeToCp1250(char16_t ch);

// Appends the encoding of text (with numeric character references for what
// the code page cannot hold) to out.
void appendCp1250(QByteArray& out, QStringView text);

// Appends "&#N;" for the code point to out.
void appendCharacterReference(QByteArray& out, char32_t codePoint);

} // namespace zelvar
