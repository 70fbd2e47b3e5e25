#pragma once
// The single-byte code pages the program reads and writes: Windows-1250 and
// ISO-8859-2, both Central European. The lower half of each is ASCII; the
// upper half is the code page's own table.
//
// Every byte value survives a decode followed by an encode unchanged. A byte
// a code page leaves undefined (Windows-1250's 0x81, 0x83, 0x88, 0x90, 0x98)
// decodes to the control character of the same value and encodes back to
// itself, as ISO-8859-2's 0x80 to 0x9F do by definition; byte 0 is U+0000.
//
// A character a code page cannot hold is never replaced by a question mark:
// the encoder writes it as an HTML numeric character reference "&#N;" with
// the decimal code point (a surrogate pair gives one reference for the whole
// character), which a browser shows as that character.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <array>

namespace zelvar {

class CodePage {
public:
    using UpperHalf = std::array<char16_t, 128>;      // the characters of bytes 0x80 to 0xFF
    using Reverse = std::array<unsigned char, 65536>; // byte per UTF-16 unit, 0 for none

    constexpr CodePage(const UpperHalf& upper, const Reverse& reverse)
        : upper_(upper), reverse_(reverse) {}

    // The character that one byte stands for.
    char16_t toUnicode(unsigned char byte) const {
        return byte < 0x80 ? char16_t(byte) : upper_[byte - 0x80];
    }
    // The byte for one UTF-16 unit, or -1 when the code page has none.
    int fromUnicode(char16_t ch) const {
        if (ch < 0x80) {
            return ch;
        }
        const unsigned char b = reverse_[ch];
        return b != 0 ? int(b) : -1;
    }

    QString decode(QByteArrayView bytes) const;
    QByteArray encode(QStringView text) const;
    // Appends the encoding of text (with numeric character references for
    // what the code page cannot hold) to out.
    void append(QByteArray& out, QStringView text) const;

private:
    const UpperHalf& upper_;
    const Reverse& reverse_;
};

const CodePage& windows1250();
const CodePage& iso88592();

// Appends "&#N;" for the code point to out.
void appendCharacterReference(QByteArray& out, char32_t codePoint);

} // namespace zelvar
