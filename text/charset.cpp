#include "text/charset.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cstring>

namespace zelvar {

namespace {

struct Label {
    const char* name;
    TextEncoding encoding;
};

// The labels of the program's three encodings in the Encoding standard.
constexpr std::array<Label, 18> kLabels{{
    {"unicode-1-1-utf-8", TextEncoding::Utf8},
    {"unicode11utf8", TextEncoding::Utf8},
    {"unicode20utf8", TextEncoding::Utf8},
    {"utf-8", TextEncoding::Utf8},
    {"utf8", TextEncoding::Utf8},
    {"x-unicode20utf8", TextEncoding::Utf8},
    {"cp1250", TextEncoding::Windows1250},
    {"windows-1250", TextEncoding::Windows1250},
    {"x-cp1250", TextEncoding::Windows1250},
    {"csisolatin2", TextEncoding::Iso88592},
    {"iso-8859-2", TextEncoding::Iso88592},
    {"iso-ir-101", TextEncoding::Iso88592},
    {"iso8859-2", TextEncoding::Iso88592},
    {"iso88592", TextEncoding::Iso88592},
    {"iso_8859-2", TextEncoding::Iso88592},
    {"iso_8859-2:1987", TextEncoding::Iso88592},
    {"l2", TextEncoding::Iso88592},
    {"latin2", TextEncoding::Iso88592},
}};

// The labels of UTF-16 in the Encoding standard.
constexpr std::array<const char*, 9> kUtf16Labels{{"csunicode", "iso-10646-ucs-2", "ucs-2",
                                                   "unicode", "unicodefeff", "unicodefffe",
                                                   "utf-16", "utf-16be", "utf-16le"}};

bool isSpace(char16_t c) {
    return c == 0x09 || c == 0x0A || c == 0x0C || c == 0x0D || c == 0x20;
}

char16_t lower(char16_t c) {
    return c >= 'A' && c <= 'Z' ? char16_t(c + ('a' - 'A')) : c;
}

// A run of units in the scanned view.
struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
};

// The prescan over a view of bytes (char) or characters (char16_t); only
// ASCII matters to it, every other unit is just some unit.
template <typename Unit> class Prescan {
public:
    Prescan(const Unit* data, qsizetype size)
        : data_(data), size_(std::min(size, kPrescanLength)) {}

    // The first <meta> that declares one of the program's encodings, else
    // the XML declaration, else the first <meta> with a label of another
    // encoding (whose label a caller may still want to replace).
    std::optional<CharsetDeclaration> run() {
        std::optional<CharsetDeclaration> fallback = xmlDeclaration();
        std::optional<CharsetDeclaration> unknown;
        for (pos_ = 0; pos_ < size_; ++pos_) {
            if (startsWith(pos_, "<!--")) {
                // After the first '>' that ends "--" behind the '<'.
                qsizetype end = pos_ + 2;
                while (end < size_ &&
                       !(at(end) == '>' && at(end - 1) == '-' && at(end - 2) == '-')) {
                    ++end;
                }
                pos_ = end;
            } else if (startsWith(pos_, "<meta") && pos_ + 5 < size_ &&
                       (isSpace(at(pos_ + 5)) || at(pos_ + 5) == '/')) {
                pos_ += 6;
                if (std::optional<CharsetDeclaration> found = meta()) {
                    // A browser goes on to the next <meta> after a label it
                    // does not know.
                    if (found->encoding) {
                        return found;
                    }
                    if (!unknown) {
                        unknown = found;
                    }
                }
            } else if (at(pos_) == '<' && pos_ + 1 < size_ &&
                       (isLetter(at(pos_ + 1)) ||
                        (at(pos_ + 1) == '/' && pos_ + 2 < size_ && isLetter(at(pos_ + 2))))) {
                // A tag: its attributes are read and dropped, so that a quoted
                // '>' or "<meta" inside them is not taken for anything.
                while (pos_ < size_ && !isSpace(at(pos_)) && at(pos_) != '>') {
                    ++pos_;
                }
                while (attribute()) {
                }
            } else if (startsWith(pos_, "<!") || startsWith(pos_, "</") || startsWith(pos_, "<?")) {
                while (pos_ < size_ && at(pos_) != '>') {
                    ++pos_;
                }
            }
        }
        return fallback && fallback->encoding ? fallback : unknown ? unknown : fallback;
    }

private:
    char16_t at(qsizetype i) const { return char16_t(std::make_unsigned_t<Unit>(data_[i])); }

    static bool isLetter(char16_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    // Whether the units at i match the lower-case ASCII word in any case.
    bool startsWith(qsizetype i, const char* word) const {
        for (; *word; ++word, ++i) {
            if (i >= size_ || lower(at(i)) != char16_t(*word)) {
                return false;
            }
        }
        return true;
    }

    bool equals(Span s, const char* word) const {
        return qsizetype(std::strlen(word)) == s.length && startsWith(s.start, word);
    }

    std::optional<CharsetDeclaration> declaration(Span label) const {
        // Spaces around the label do not belong to it.
        while (label.length > 0 && isSpace(at(label.start))) {
            ++label.start;
            --label.length;
        }
        while (label.length > 0 && isSpace(at(label.start + label.length - 1))) {
            --label.length;
        }
        if (label.length == 0) {
            return std::nullopt;
        }
        CharsetDeclaration found;
        found.labelStart = label.start;
        found.labelLength = label.length;
        for (const Label& l : kLabels) {
            if (equals(label, l.name)) {
                found.encoding = l.encoding;
            }
        }
        return found;
    }

    // One attribute of a tag from pos_ on, as a browser reads it; false when
    // the tag ends (or the scanned bytes do) before another one.
    bool attribute() {
        name_ = value_ = Span{};
        while (pos_ < size_ && (isSpace(at(pos_)) || at(pos_) == '/')) {
            ++pos_;
        }
        if (pos_ >= size_ || at(pos_) == '>') {
            return false;
        }
        name_.start = pos_;
        for (;; ++pos_) {
            if (pos_ >= size_) {
                return false;
            }
            const char16_t c = at(pos_);
            if (c == '=' && name_.length > 0) {
                ++pos_;
                return value();
            }
            if (isSpace(c)) {
                break;
            }
            if (c == '/' || c == '>') {
                return true;
            }
            ++name_.length;
        }
        while (pos_ < size_ && isSpace(at(pos_))) {
            ++pos_;
        }
        if (pos_ >= size_) {
            return false;
        }
        if (at(pos_) != '=') {
            return true;
        }
        ++pos_;
        return value();
    }

    bool value() {
        while (pos_ < size_ && isSpace(at(pos_))) {
            ++pos_;
        }
        if (pos_ >= size_) {
            return false;
        }
        const char16_t first = at(pos_);
        if (first == '"' || first == '\'') {
            value_.start = ++pos_;
            while (pos_ < size_ && at(pos_) != first) {
                ++pos_;
            }
            if (pos_ >= size_) {
                return false;
            }
            value_.length = pos_++ - value_.start;
            return true;
        }
        if (first == '>') {
            return true;
        }
        value_.start = pos_;
        while (pos_ < size_ && !isSpace(at(pos_)) && at(pos_) != '>') {
            ++pos_;
        }
        if (pos_ >= size_) {
            return false;
        }
        value_.length = pos_ - value_.start;
        return true;
    }

    // The attributes of a <meta> tag; the declaration when they make one.
    std::optional<CharsetDeclaration> meta() {
        QVarLengthArray<Span, 8> seen; // the names met so far; a repeated one is skipped
        bool gotPragma = false;
        enum class Need { Unknown, Pragma, NoPragma } need = Need::Unknown;
        std::optional<CharsetDeclaration> charset;
        while (attribute()) {
            const bool repeated = std::any_of(seen.begin(), seen.end(), [&](Span s) {
                return s.length == name_.length && sameName(s, name_);
            });
            if (repeated) {
                continue;
            }
            seen.append(name_);
            if (equals(name_, "http-equiv")) {
                gotPragma = gotPragma || equals(value_, "content-type");
            } else if (equals(name_, "content")) {
                // Only a label a browser knows counts here.
                if (!charset) {
                    if (std::optional<Span> label = charsetInContent(value_)) {
                        std::optional<CharsetDeclaration> found = declaration(*label);
                        if (found && found->encoding) {
                            charset = found;
                            need = Need::Pragma;
                        }
                    }
                }
            } else if (equals(name_, "charset")) {
                // The first charset a <meta> gives stands: a content charset
                // before it is not overridden.
                if (!charset) {
                    charset = declaration(value_);
                    need = Need::NoPragma;
                }
            }
        }
        if (pos_ >= size_ || need == Need::Unknown || (need == Need::Pragma && !gotPragma)) {
            return std::nullopt;
        }
        // A page read as bytes cannot be UTF-16: a browser takes such a
        // label for UTF-8.
        if (charset && !charset->encoding && isUtf16Label(*charset)) {
            charset->encoding = TextEncoding::Utf8;
        }
        return charset;
    }

    bool isUtf16Label(const CharsetDeclaration& d) const {
        const Span label{d.labelStart, d.labelLength};
        return std::any_of(kUtf16Labels.begin(), kUtf16Labels.end(),
                           [&](const char* name) { return equals(label, name); });
    }

    bool sameName(Span a, Span b) const {
        for (qsizetype i = 0; i < a.length; ++i) {
            if (lower(at(a.start + i)) != lower(at(b.start + i))) {
                return false;
            }
        }
        return true;
    }

    // The label after "charset=" in a content attribute's value.
    std::optional<Span> charsetInContent(Span v) const {
        const qsizetype end = v.start + v.length;
        qsizetype i = v.start;
        for (;;) {
            while (i + 7 <= end && !startsWith(i, "charset")) {
                ++i;
            }
            if (i + 7 > end) {
                return std::nullopt;
            }
            i += 7;
            while (i < end && isSpace(at(i))) {
                ++i;
            }
            if (i < end && at(i) == '=') {
                break;
            }
        }
        ++i;
        while (i < end && isSpace(at(i))) {
            ++i;
        }
        if (i >= end) {
            return std::nullopt;
        }
        const char16_t quote = at(i);
        if (quote == '"' || quote == '\'') {
            qsizetype close = i + 1;
            while (close < end && at(close) != quote) {
                ++close;
            }
            if (close >= end) {
                return std::nullopt;
            }
            return Span{i + 1, close - i - 1};
        }
        qsizetype stop = i;
        while (stop < end && !isSpace(at(stop)) && at(stop) != ';') {
            ++stop;
        }
        return Span{i, stop - i};
    }

    // encoding="..." of an XML declaration at the start.
    std::optional<CharsetDeclaration> xmlDeclaration() const {
        if (!startsWith(0, "<?xml")) {
            return std::nullopt;
        }
        qsizetype end = 5;
        while (end < size_ && at(end) != '>') {
            ++end;
        }
        qsizetype i = 5;
        while (i + 8 <= end && !startsWith(i, "encoding")) {
            ++i;
        }
        if (i + 8 > end) {
            return std::nullopt;
        }
        i += 8;
        while (i < end && at(i) <= 0x20) {
            ++i;
        }
        if (i >= end || at(i) != '=') {
            return std::nullopt;
        }
        ++i;
        while (i < end && at(i) <= 0x20) {
            ++i;
        }
        if (i >= end || (at(i) != '"' && at(i) != '\'')) {
            return std::nullopt;
        }
        const char16_t quote = at(i++);
        qsizetype close = i;
        while (close < end && at(close) != quote) {
            if (at(close) <= 0x20) {
                return std::nullopt;
            }
            ++close;
        }
        if (close >= end) {
            return std::nullopt;
        }
        return declaration(Span{i, close - i});
    }

    const Unit* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    Span name_;
    Span value_;
};

} // namespace

std::optional<CharsetDeclaration> findCharsetDeclaration(QByteArrayView bytes) {
    return Prescan<char>(bytes.data(), bytes.size()).run();
}

std::optional<CharsetDeclaration> findCharsetDeclaration(QStringView text) {
    return Prescan<char16_t>(text.utf16(), text.size()).run();
}

} // namespace zelvar
