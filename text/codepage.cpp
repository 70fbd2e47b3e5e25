#include "text/codepage.h"

#include <algorithm>
#include <cstring>

namespace zelvar {

namespace {

// Windows-1250. The undefined bytes stand for the control character of the
// same value.
constexpr CodePage::UpperHalf kWindows1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, //
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, //
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, //
};

// ISO-8859-2. Bytes 0x80 to 0x9F are the C1 control characters.
constexpr CodePage::UpperHalf kIso88592 = {
    0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087, //
    0x0088, 0x0089, 0x008A, 0x008B, 0x008C, 0x008D, 0x008E, 0x008F, //
    0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097, //
    0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F, //
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, //
    0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B, //
    0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7, //
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C, //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, //
};

// Byte for every UTF-16 unit from U+0080 on; 0 means none (U+0000 is the
// only character that maps to byte 0 and is handled before the lookup).
constexpr CodePage::Reverse reverseOf(const CodePage::UpperHalf& upper) {
    CodePage::Reverse table{};
    for (int i = 0; i < 128; ++i) {
        table[upper[i]] = static_cast<unsigned char>(0x80 + i);
    }
    return table;
}

constexpr CodePage::Reverse kWindows1250Reverse = reverseOf(kWindows1250);
constexpr CodePage::Reverse kIso88592Reverse = reverseOf(kIso88592);

// Writes the decimal reference for codePoint at out; returns its length.
int formatReference(char* out, char32_t codePoint) {
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + codePoint % 10);
        codePoint /= 10;
    } while (codePoint != 0);
    int len = 0;
    out[len++] = '&';
    out[len++] = '#';
    while (n > 0) {
        out[len++] = digits[--n];
    }
    out[len++] = ';';
    return len;
}

} // namespace

const CodePage& windows1250() {
    static constexpr CodePage page(kWindows1250, kWindows1250Reverse);
    return page;
}

const CodePage& iso88592() {
    static constexpr CodePage page(kIso88592, kIso88592Reverse);
    return page;
}

QString CodePage::decode(QByteArrayView bytes) const {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char b = in[i];
        out[i] = b < 0x80 ? char16_t(b) : upper_[b - 0x80];
    }
    return text;
}

void appendCharacterReference(QByteArray& out, char32_t codePoint) {
    char buf[16];
    out.append(buf, formatReference(buf, codePoint));
}

void CodePage::append(QByteArray& out, QStringView text) const {
    const qsizetype n = text.size();
    const char16_t* in = text.utf16();
    qsizetype pos = out.size();
    // One byte per unit is enough unless a reference is needed; the buffer
    // grows only then.
    out.resize(pos + n);
    char* dst = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = in[i];
        if (ch < 0x80) {
            dst[pos++] = static_cast<char>(ch);
            continue;
        }
        const unsigned char b = reverse_[ch];
        if (b != 0) {
            dst[pos++] = static_cast<char>(b);
            continue;
        }
        char32_t codePoint = ch;
        if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            codePoint = QChar::surrogateToUcs4(ch, in[i + 1]);
            ++i;
        }
        char ref[16];
        const int len = formatReference(ref, codePoint);
        const qsizetype need = pos + len + (n - i - 1);
        if (need > out.size()) {
            out.resize(std::max(need, out.size() + out.size() / 2));
            dst = out.data();
        }
        std::memcpy(dst + pos, ref, size_t(len));
        pos += len;
    }
    out.resize(pos);
}

QByteArray CodePage::encode(QStringView text) const {
    QByteArray out;
    append(out, text);
    return out;
}

} // namespace zelvar
