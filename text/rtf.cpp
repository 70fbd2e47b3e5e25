#include "text/rtf.h"

#include "text/cp1250.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <iconv.h>

namespace zelvar {

namespace {

// ---------------------------------------------------------------------------
// Code pages for \'hh and 8-bit text
// ---------------------------------------------------------------------------

using ByteTable = std::array<char16_t, 256>;

const ByteTable& cp1250Table() {
    static const ByteTable table = [] {
        ByteTable t{};
        for (int b = 0; b < 256; ++b) {
            t[b] = cp1250ToUnicode(static_cast<unsigned char>(b));
        }
        return t;
    }();
    return table;
}

QByteArray iconvName(int codePage) {
    switch (codePage) {
    case 10000:
        return "MACINTOSH";
    default:
        return "CP" + QByteArray::number(codePage);
    }
}

// Byte table of a single-byte code page other than 1250, built once through
// iconv. A byte the code page does not define stands for the character of the
// same value; an unknown code page reads as Windows-1250.
const ByteTable& codePageTable(int codePage) {
    if (codePage == 1250 || codePage <= 0) {
        return cp1250Table();
    }
    static std::mutex mutex;
    static std::map<int, ByteTable> tables;
    const std::lock_guard<std::mutex> lock(mutex);
    if (auto it = tables.find(codePage); it != tables.end()) {
        return it->second;
    }
    iconv_t cd = iconv_open("UTF-16LE", iconvName(codePage).constData());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return cp1250Table();
    }
    ByteTable t{};
    for (int b = 0; b < 256; ++b) {
        t[b] = char16_t(b);
        if (b < 0x80) {
            continue;
        }
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r != size_t(-1) && inLeft == 0 && outLeft == sizeof out - 2) {
            t[b] = char16_t(out[0] | (out[1] << 8));
        }
    }
    iconv_close(cd);
    return tables.emplace(codePage, t).first->second;
}

// \fcharsetN to a code page; 0 when the font follows the document's.
int codePageForCharset(int charset) {
    switch (charset) {
    case 0:
    case 2:
        return 1252;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Reader
// ---------------------------------------------------------------------------

// Groups nested deeper than this are not accepted as RTF.
constexpr std::size_t kMaxDepth = 10000;

// clang-format off
enum class Kw {
    Unknown, SkipDest, Fonttbl, Colortbl, Upr, Ud, Ansi, Ansicpg, Mac, Pc, Pca, Deff, F, Fcharset,
    Cpg, Red, Green, Blue, Par, Line, Cell, Row, Tab, Plain, B, I, Ul, Ulnone, Strike, V, Fs, Cf,
    U, Uc, Bin, Symbol,
};
// clang-format on

// Destinations whose content is not document text.
constexpr std::string_view kSkippedDestinations =
    "stylesheet info pict object objdata header headerl headerr headerf footer footerl footerr "
    "footerf footnote fldinst themedata colorschememapping latentstyles datastore xmlnstbl "
    "listtable listoverridetable rsidtbl generator revtbl pgdsctbl filetbl falt panose "
    "bkmkstart bkmkend annotation atnid atnauthor atndate atnref nonshppict shp shpinst sp sn "
    "sv txe xe tc tcn template userprops docvar mmathPr ftnsep ftnsepc ftncn aftnsep aftnsepc "
    "aftncn private pn pntxta pntxtb do blipuid wgrffmtfilter fchars lchars author operator "
    "title subject keywords comment doccomm company buptim creatim revtim printim";

// Underline styles; the reader shows them all as a plain underline.
constexpr std::string_view kUnderlines =
    "ul uld uldash uldashd uldashdd uldb ulhwave ulldash ulth ulthd ulthdash ulthdashd "
    "ulthdashdd ulthldash ululdbwave ulw ulwave";

// Control words that stand for one character.
constexpr std::pair<std::string_view, char16_t> kSymbols[] = {
    {"emdash", u'\u2014'},    {"endash", u'\u2013'},  {"emspace", u'\u2003'},
    {"enspace", u'\u2002'},   {"qmspace", u'\u2005'}, {"bullet", u'\u2022'},
    {"lquote", u'\u2018'},    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
    {"rdblquote", u'\u201D'},
};

char16_t symbolOf(std::string_view word) {
    for (const auto& [name, ch] : kSymbols) {
        if (name == word) {
            return ch;
        }
    }
    return 0;
}

void addWords(std::unordered_map<std::string_view, Kw>& table, std::string_view words, Kw kw) {
    while (!words.empty()) {
        const std::size_t space = words.find(' ');
        table.emplace(words.substr(0, space), kw);
        words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
    }
}

Kw lookup(std::string_view word) {
    static const std::unordered_map<std::string_view, Kw> table = [] {
        std::unordered_map<std::string_view, Kw> t{
            {"fonttbl", Kw::Fonttbl},
            {"colortbl", Kw::Colortbl},
            {"upr", Kw::Upr},
            {"ud", Kw::Ud},
            {"ansi", Kw::Ansi},
            {"ansicpg", Kw::Ansicpg},
            {"mac", Kw::Mac},
            {"pc", Kw::Pc},
            {"pca", Kw::Pca},
            {"deff", Kw::Deff},
            {"f", Kw::F},
            {"fcharset", Kw::Fcharset},
            {"cpg", Kw::Cpg},
            {"red", Kw::Red},
            {"green", Kw::Green},
            {"blue", Kw::Blue},
            {"par", Kw::Par},
            {"sect", Kw::Par},
            {"line", Kw::Line},
            {"cell", Kw::Cell},
            {"nestcell", Kw::Cell},
            {"row", Kw::Row},
            {"nestrow", Kw::Row},
            {"tab", Kw::Tab},
            {"plain", Kw::Plain},
            {"b", Kw::B},
            {"i", Kw::I},
            {"ulnone", Kw::Ulnone},
            {"strike", Kw::Strike},
            {"striked", Kw::Strike},
            {"v", Kw::V},
            {"fs", Kw::Fs},
            {"cf", Kw::Cf},
            {"u", Kw::U},
            {"uc", Kw::Uc},
            {"bin", Kw::Bin},
        };
        addWords(t, kUnderlines, Kw::Ul);
        for (const auto& [name, ch] : kSymbols) {
            t.emplace(name, Kw::Symbol);
        }
        addWords(t, kSkippedDestinations, Kw::SkipDest);
        return t;
    }();
    const auto it = table.find(word);
    return it == table.end() ? Kw::Unknown : it->second;
}

struct CharProps {
    int font = -1;      // \fN; -1: the document's default font
    int halfPoints = 0; // \fsN; 0: not given
    int color = -1;     // \cfN; -1: not given
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool operator==(const CharProps&) const = default;
};

enum class Dest : std::uint8_t { Text, Skip, FontTable, ColorTable, Upr };

struct Group {
    CharProps props;
    Dest dest = Dest::Text;
    int uc = 1;
};

struct Run {
    CharProps props;
    QString text;
};

struct FontEntry {
    QString name;
    int codePage = 0; // 0: the document's
};

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

class Reader {
public:
    explicit Reader(const QByteArray& data)
        : p_(reinterpret_cast<const unsigned char*>(data.constData())), end_(p_ + data.size()) {}

    bool parse();
    const std::vector<Run>& runs() const { return runs_; }
    void shareFontSizes();
    QTextCharFormat format(const CharProps& props) const;

private:
    Group& cur() { return stack_.back(); }
    bool controlWord();
    bool word(std::string_view name, bool hasParam, int param);
    void textWord(Kw kw, bool hasParam, int param);
    bool symbol(unsigned char c);
    bool skipBinary(int count);
    void rawByte(unsigned char c);
    void escapedByte(unsigned char b);
    void character(char16_t ch);
    void lineBreak(bool paragraph);
    void closeGroup();
    void commitFont();
    void commitColor();
    bool trailerIsBlank();
    const ByteTable& textTable();

    const unsigned char* p_;
    const unsigned char* end_;
    std::vector<Group> stack_;
    std::vector<Run> runs_;

    int docCodePage_ = 1250;
    int defaultFont_ = -1;
    std::map<int, FontEntry> fonts_;
    std::vector<QColor> colors_;

    bool fontPending_ = false;
    int fontNumber_ = 0;
    int fontCodePage_ = 0;
    QString fontName_;

    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colorGiven_ = false;

    int skip_ = 0;               // fallback characters still to skip after \uN
    bool ignorableNext_ = false; // after \*
    bool endsWithPar_ = false;   // nothing visible since the last \par

    const ByteTable* cachedTable_ = nullptr;
    int cachedFont_ = 0;
};

bool Reader::parse() {
    while (p_ < end_) {
        const unsigned char c = *p_++;
        switch (c) {
        case '{':
            skip_ = 0;
            ignorableNext_ = false;
            if (stack_.size() >= kMaxDepth) {
                return false;
            }
            if (stack_.empty()) {
                stack_.emplace_back();
            } else {
                stack_.push_back(stack_.back());
            }
            break;
        case '}':
            skip_ = 0;
            ignorableNext_ = false;
            closeGroup();
            if (stack_.empty()) {
                if (!trailerIsBlank()) {
                    return false;
                }
                // The last \par marks the end of the last paragraph.
                if (endsWithPar_ && !runs_.empty()) {
                    runs_.back().text.chop(1);
                }
                return true;
            }
            break;
        case '\\':
            if (!controlWord()) {
                return false;
            }
            break;
        case '\r':
        case '\n':
            break;
        default:
            ignorableNext_ = false;
            if (skip_ > 0) {
                --skip_;
                break;
            }
            rawByte(c);
            break;
        }
    }
    return false; // the outermost group never closed
}

bool Reader::trailerIsBlank() {
    for (; p_ < end_; ++p_) {
        const unsigned char c = *p_;
        if (c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != 0) {
            return false;
        }
    }
    return true;
}

bool Reader::controlWord() {
    if (p_ >= end_) {
        return false;
    }
    if (!isLetter(*p_)) {
        return symbol(*p_++);
    }
    const unsigned char* start = p_;
    while (p_ < end_ && isLetter(*p_)) {
        ++p_;
    }
    const std::string_view name(reinterpret_cast<const char*>(start), std::size_t(p_ - start));
    bool negative = false;
    if (p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1])) {
        negative = true;
        ++p_;
    }
    bool hasParam = false;
    long long value = 0;
    while (p_ < end_ && isDigit(*p_)) {
        hasParam = true;
        if (value < 100000000000LL) {
            value = value * 10 + (*p_ - '0');
        }
        ++p_;
    }
    if (negative) {
        value = -value;
    }
    if (p_ < end_ && *p_ == ' ') {
        ++p_;
    }
    const int param = int(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
    return word(name, hasParam, param);
}

bool Reader::word(std::string_view name, bool hasParam, int param) {
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;
    const Kw kw = lookup(name);
    if (kw == Kw::Symbol) {
        hasParam = true;
        param = symbolOf(name); // the character the word stands for
    }
    if (kw == Kw::Bin) {
        if (skip_ > 0) {
            --skip_;
        }
        return skipBinary(hasParam ? param : 0);
    }
    if (skip_ > 0) {
        --skip_;
        return true;
    }
    Group& g = cur();
    switch (g.dest) {
    case Dest::Skip:
        return true;
    case Dest::Upr:
        // Only the Unicode half of {\upr{...}{\*\ud{...}}} is read.
        if (kw == Kw::Ud) {
            g.dest = Dest::Text;
        }
        return true;
    case Dest::FontTable:
        switch (kw) {
        case Kw::F:
            commitFont();
            fontPending_ = true;
            fontNumber_ = param;
            fontCodePage_ = 0;
            fontName_.clear();
            break;
        case Kw::Fcharset:
            fontCodePage_ = codePageForCharset(param);
            break;
        case Kw::Cpg:
            fontCodePage_ = param;
            break;
        case Kw::U:
            if (param >= -32768 && param <= 65535) {
                character(char16_t(param < 0 ? param + 65536 : param));
            }
            skip_ = g.uc;
            break;
        case Kw::SkipDest:
            g.dest = Dest::Skip;
            break;
        default:
            if (ignorable) {
                g.dest = Dest::Skip;
            }
            break;
        }
        return true;
    case Dest::ColorTable:
        switch (kw) {
        case Kw::Red:
            red_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
            break;
        case Kw::Green:
            green_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
            break;
        case Kw::Blue:
            blue_ = std::clamp(param, 0, 255);
            colorGiven_ = true;
            break;
        default:
            if (ignorable || kw == Kw::SkipDest) {
                g.dest = Dest::Skip;
            }
            break;
        }
        return true;
    case Dest::Text:
        if (ignorable && kw != Kw::Ud) {
            g.dest = Dest::Skip;
            return true;
        }
        textWord(kw, hasParam, param);
        return true;
    }
    return true;
}

void Reader::textWord(Kw kw, bool hasParam, int param) {
    Group& g = cur();
    CharProps& pr = g.props;
    const bool on = !hasParam || param != 0;
    switch (kw) {
    case Kw::Unknown:
    case Kw::Ud:
    case Kw::Ansi:
    case Kw::Fcharset:
    case Kw::Cpg:
    case Kw::Red:
    case Kw::Green:
    case Kw::Blue:
    case Kw::Bin:
        break;
    case Kw::SkipDest:
        g.dest = Dest::Skip;
        break;
    case Kw::Fonttbl:
        commitFont();
        g.dest = Dest::FontTable;
        break;
    case Kw::Colortbl:
        colors_.clear();
        red_ = green_ = blue_ = 0;
        colorGiven_ = false;
        g.dest = Dest::ColorTable;
        break;
    case Kw::Upr:
        g.dest = Dest::Upr;
        break;
    case Kw::Ansicpg:
        if (param > 0) {
            docCodePage_ = param;
            cachedTable_ = nullptr;
        }
        break;
    case Kw::Mac:
        docCodePage_ = 10000;
        cachedTable_ = nullptr;
        break;
    case Kw::Pc:
        docCodePage_ = 437;
        cachedTable_ = nullptr;
        break;
    case Kw::Pca:
        docCodePage_ = 850;
        cachedTable_ = nullptr;
        break;
    case Kw::Deff:
        defaultFont_ = param;
        cachedTable_ = nullptr;
        break;
    case Kw::F:
        pr.font = param >= 0 ? param : -1;
        break;
    case Kw::Par:
    case Kw::Row:
        lineBreak(true);
        break;
    case Kw::Line:
        lineBreak(false);
        break;
    case Kw::Cell:
    case Kw::Tab:
        character(u'\t');
        break;
    case Kw::Plain:
        pr = CharProps{};
        break;
    case Kw::B:
        pr.bold = on;
        break;
    case Kw::I:
        pr.italic = on;
        break;
    case Kw::Ul:
        pr.underline = on;
        break;
    case Kw::Ulnone:
        pr.underline = false;
        break;
    case Kw::Strike:
        pr.strike = on;
        break;
    case Kw::V:
        pr.hidden = on;
        break;
    case Kw::Fs:
        if (!hasParam) {
            pr.halfPoints = 24;
        } else if (param > 0) {
            pr.halfPoints = std::min(param, 3276);
        }
        break;
    case Kw::Cf:
        pr.color = param >= 0 ? param : -1;
        break;
    case Kw::U:
        if (param >= -32768 && param <= 65535) {
            character(char16_t(param < 0 ? param + 65536 : param));
        }
        skip_ = g.uc;
        break;
    case Kw::Uc:
        g.uc = std::clamp(param, 0, 255);
        break;
    case Kw::Symbol:
        character(char16_t(param));
        break;
    }
}

bool Reader::symbol(unsigned char c) {
    if (c == '*') {
        ignorableNext_ = true;
        return true;
    }
    ignorableNext_ = false;
    if (c == '\'') {
        int value = -1;
        if (p_ < end_ && hexValue(*p_) >= 0) {
            value = hexValue(*p_++);
            if (p_ < end_ && hexValue(*p_) >= 0) {
                value = value * 16 + hexValue(*p_++);
            }
        }
        if (skip_ > 0) {
            --skip_;
        } else if (value >= 0) {
            escapedByte(static_cast<unsigned char>(value));
        }
        return true;
    }
    if (skip_ > 0) {
        --skip_;
        return true;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        character(char16_t(c));
        break;
    case '~':
        character(u'\u00A0');
        break;
    case '-':
        character(u'\u00AD');
        break;
    case '_':
        character(u'\u2011');
        break;
    case '\t':
        character(u'\t');
        break;
    case '\r':
    case '\n':
        if (cur().dest == Dest::Text) {
            lineBreak(true);
        }
        break;
    default:
        break;
    }
    return true;
}

bool Reader::skipBinary(int count) {
    if (count < 0) {
        count = 0;
    }
    if (end_ - p_ < count) {
        return false;
    }
    p_ += count;
    return true;
}

const ByteTable& Reader::textTable() {
    const int font = cur().props.font < 0 ? defaultFont_ : cur().props.font;
    if (cachedTable_ == nullptr || cachedFont_ != font) {
        int codePage = docCodePage_;
        if (const auto it = fonts_.find(font); it != fonts_.end() && it->second.codePage > 0) {
            codePage = it->second.codePage;
        }
        cachedTable_ = &codePageTable(codePage);
        cachedFont_ = font;
    }
    return *cachedTable_;
}

void Reader::rawByte(unsigned char c) {
    switch (cur().dest) {
    case Dest::Text:
        if (c == '\t') {
            character(u'\t');
        } else if (c >= 0x20) {
            character(c < 0x80 ? char16_t(c) : textTable()[c]);
        }
        break;
    case Dest::FontTable:
        if (c == ';') {
            commitFont();
        } else if (c >= 0x20 && fontPending_) {
            const int cp = fontCodePage_ > 0 ? fontCodePage_ : docCodePage_;
            fontName_.append(QChar(codePageTable(cp)[c]));
        }
        break;
    case Dest::ColorTable:
        if (c == ';') {
            commitColor();
        }
        break;
    case Dest::Skip:
    case Dest::Upr:
        break;
    }
}

void Reader::escapedByte(unsigned char b) {
    switch (cur().dest) {
    case Dest::Text:
        character(textTable()[b]);
        break;
    case Dest::FontTable:
        if (fontPending_) {
            const int cp = fontCodePage_ > 0 ? fontCodePage_ : docCodePage_;
            fontName_.append(QChar(codePageTable(cp)[b]));
        }
        break;
    default:
        break;
    }
}

void Reader::character(char16_t ch) {
    Group& g = cur();
    if (g.dest == Dest::FontTable) {
        if (fontPending_) {
            fontName_.append(QChar(ch));
        }
        return;
    }
    if (g.dest != Dest::Text || g.props.hidden) {
        return;
    }
    // A line separator (\u8232) would stand inside one line of the editor
    // and show as two: it is a line break like \line.
    if (ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator) {
        lineBreak(false);
        return;
    }
    if (runs_.empty() || !(runs_.back().props == g.props)) {
        runs_.push_back(Run{g.props, QString()});
    }
    runs_.back().text.append(QChar(ch));
    endsWithPar_ = false;
}

void Reader::lineBreak(bool paragraph) {
    const Group& g = cur();
    if (g.dest != Dest::Text || g.props.hidden) {
        return;
    }
    if (runs_.empty()) {
        runs_.push_back(Run{g.props, QString()});
    }
    runs_.back().text.append(u'\n');
    endsWithPar_ = paragraph;
}

void Reader::closeGroup() {
    if (cur().dest == Dest::FontTable) {
        commitFont();
    }
    stack_.pop_back();
}

void Reader::commitFont() {
    if (!fontPending_) {
        return;
    }
    fonts_[fontNumber_] = FontEntry{fontName_.trimmed(), fontCodePage_};
    fontPending_ = false;
    fontName_.clear();
    cachedTable_ = nullptr;
}

void Reader::commitColor() {
    colors_.push_back(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
    red_ = green_ = blue_ = 0;
    colorGiven_ = false;
}

// A text that uses more font sizes than this has its larger sizes shared.
constexpr std::size_t kMaxFontSizes = 64;

// Every size of a text with very many of them would be a font of its own, and
// thousands of fonts freeze the editor's layout. Sizes up to 24 points stay as
// they are; larger ones go to the nearest of a scale whose steps are 3 %
// apart, too close to tell apart on screen. A text with few sizes keeps every
// one exactly.
void Reader::shareFontSizes() {
    std::vector<int> sizes;
    for (const Run& run : runs_) {
        sizes.push_back(run.props.halfPoints);
    }
    std::sort(sizes.begin(), sizes.end());
    if (std::size_t(std::unique(sizes.begin(), sizes.end()) - sizes.begin()) <= kMaxFontSizes) {
        return;
    }
    const double step = std::log(1.03);
    for (Run& run : runs_) {
        int& halfPoints = run.props.halfPoints;
        if (halfPoints > 48) {
            halfPoints = int(std::lround(std::exp(std::round(std::log(halfPoints) / step) * step)));
        }
    }
}

QTextCharFormat Reader::format(const CharProps& props) const {
    QTextCharFormat f;
    const int font = props.font < 0 ? defaultFont_ : props.font;
    if (const auto it = fonts_.find(font); it != fonts_.end() && !it->second.name.isEmpty()) {
        f.setFontFamilies(QStringList{it->second.name});
    }
    if (props.halfPoints > 0) {
        f.setFontPointSize(props.halfPoints / 2.0);
    }
    f.setFontWeight(props.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(props.italic);
    f.setFontUnderline(props.underline);
    f.setFontStrikeOut(props.strike);
    if (props.color >= 0 && std::size_t(props.color) < colors_.size() &&
        colors_[std::size_t(props.color)].isValid()) {
        f.setForeground(colors_[std::size_t(props.color)]);
    }
    return f;
}

// ---------------------------------------------------------------------------
// Writer
// ---------------------------------------------------------------------------

struct RunFormat {
    int font = 0;
    int halfPoints = 24;
    int color = 0; // 0: automatic
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool operator==(const RunFormat&) const = default;
};

// Text as RTF: ASCII as is (with \ { } escaped), the rest of Windows-1250 as
// \'hh, everything else as \uN? (signed UTF-16 units, one fallback '?').
void appendRtfText(QByteArray& out, QStringView text, bool inFontTable) {
    // The output is gathered in a small buffer and appended in runs: one
    // append per character costs more than the whole conversion.
    static const char digits[] = "0123456789abcdef";
    char run[512];
    int used = 0;
    auto put = [&](const char* bytes, int n) {
        if (used + n > int(sizeof run)) {
            out.append(run, used);
            used = 0;
        }
        std::memcpy(run + used, bytes, size_t(n));
        used += n;
    };
    auto putHex = [&](unsigned char b) {
        const char esc[4] = {'\\', '\'', digits[b >> 4], digits[b & 15]};
        put(esc, 4);
    };
    for (const QChar qc : text) {
        const char16_t ch = qc.unicode();
        if (ch >= 0x20 && ch < 0x7F && ch != '\\' && ch != '{' && ch != '}' &&
            !(ch == ';' && inFontTable)) {
            const char c = char(ch);
            put(&c, 1);
        } else if (ch < 0x80) {
            if (ch == '\\' || ch == '{' || ch == '}') {
                const char esc[2] = {'\\', char(ch)};
                put(esc, 2);
            } else if (ch == '\t' && !inFontTable) {
                put("\\tab ", 5);
            } else {
                putHex(static_cast<unsigned char>(ch));
            }
        } else if (ch == 0x2028 && !inFontTable) {
            put("\\line ", 6);
        } else if (ch == QChar::ParagraphSeparator && !inFontTable) {
            put("\\par\r\n", 6); // between the blocks of a document's raw text
        } else if (const int b = unicodeToCp1250(ch); b >= 0) {
            putHex(static_cast<unsigned char>(b));
        } else {
            const QByteArray escape =
                "\\u" + QByteArray::number(int(static_cast<std::int16_t>(ch))) + '?';
            put(escape.constData(), int(escape.size()));
        }
    }
    out.append(run, used);
}

QString familyOf(const QFont& font) {
    const QStringList families = font.families();
    return families.isEmpty() ? font.family() : families.first();
}

class Writer {
public:
    explicit Writer(const QTextDocument& doc) : base_(doc.defaultFont()) {
        fontNumber(familyOf(base_));
    }

    RunFormat formatOf(const QTextCharFormat& fmt);
    QByteArray header() const;
    static void appendFormat(QByteArray& out, const RunFormat& f);

private:
    int fontNumber(const QString& family);
    int colorNumber(QRgb rgb);

    QFont base_;
    QStringList fonts_;
    QHash<QString, int> fontIndex_;
    std::vector<QRgb> colors_;
    QHash<QRgb, int> colorIndex_;
};

int Writer::fontNumber(const QString& family) {
    const auto it = fontIndex_.constFind(family);
    if (it != fontIndex_.constEnd()) {
        return it.value();
    }
    const int n = int(fonts_.size());
    fonts_.append(family);
    fontIndex_.insert(family, n);
    return n;
}

int Writer::colorNumber(QRgb rgb) {
    const auto it = colorIndex_.constFind(rgb);
    if (it != colorIndex_.constEnd()) {
        return it.value();
    }
    colors_.push_back(rgb);
    const int n = int(colors_.size()); // entry 0 is the automatic colour
    colorIndex_.insert(rgb, n);
    return n;
}

RunFormat Writer::formatOf(const QTextCharFormat& fmt) {
    const QFont font = fmt.font().resolve(base_);
    RunFormat f;
    f.font = fontNumber(familyOf(font));
    qreal size = font.pointSizeF();
    if (size <= 0) {
        size = base_.pointSizeF() > 0 ? base_.pointSizeF() : 12.0;
    }
    f.halfPoints = std::clamp(qRound(size * 2), 1, 3276);
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strike = font.strikeOut();
    if (fmt.hasProperty(QTextFormat::ForegroundBrush)) {
        const QBrush brush = fmt.foreground();
        if (brush.style() != Qt::NoBrush) {
            f.color = colorNumber(brush.color().rgb());
        }
    }
    return f;
}

void Writer::appendFormat(QByteArray& out, const RunFormat& f) {
    out.append("\\plain\\f");
    out.append(QByteArray::number(f.font));
    out.append("\\fs");
    out.append(QByteArray::number(f.halfPoints));
    if (f.bold) {
        out.append("\\b");
    }
    if (f.italic) {
        out.append("\\i");
    }
    if (f.underline) {
        out.append("\\ul");
    }
    if (f.strike) {
        out.append("\\strike");
    }
    if (f.color > 0) {
        out.append("\\cf");
        out.append(QByteArray::number(f.color));
    }
    out.append(' ');
}

QByteArray Writer::header() const {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1\r\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
        out.append("{\\f");
        out.append(QByteArray::number(i));
        out.append("\\fnil\\fcharset238 ");
        appendRtfText(out, fonts_.at(i), true);
        out.append(";}");
    }
    out.append("}\r\n{\\colortbl ;");
    for (const QRgb rgb : colors_) {
        out.append("\\red");
        out.append(QByteArray::number(qRed(rgb)));
        out.append("\\green");
        out.append(QByteArray::number(qGreen(rgb)));
        out.append("\\blue");
        out.append(QByteArray::number(qBlue(rgb)));
        out.append(';');
    }
    out.append("}\r\n\\pard");
    return out;
}

} // namespace

namespace {

// The editor's display format for long lines: it only asks for lighter
// shaping, and no character carries it.
bool displayOnly(const QTextFormat& f) {
    return f.propertyCount() == 1 && f.hasProperty(QTextFormat::FontStyleStrategy);
}

// Whether every character of the document can only carry one format: the
// document has never held a second character format.
bool usesOneCharFormat(const QTextDocument& doc) {
    int charFormats = 0;
    for (const QTextFormat& f : doc.allFormats()) {
        if (f.isCharFormat() && !displayOnly(f) && ++charFormats > 1) {
            return false;
        }
    }
    return true;
}

} // namespace

QByteArray writeRtf(const QTextDocument& doc) {
    Writer writer(doc);
    QByteArray body;
    body.reserve(qsizetype(doc.characterCount()) + qsizetype(doc.blockCount()) * 8 + 64);
    if (usesOneCharFormat(doc)) {
        // One run: the raw text in one pass, its block separators as \par.
        Writer::appendFormat(body, writer.formatOf(doc.begin().charFormat()));
        appendRtfText(body, doc.toRawText(), false);
        body.append("\\par\r\n");
    } else {
        QHash<int, RunFormat> formats; // by the document's format index
        RunFormat last = writer.formatOf(QTextCharFormat());
        Writer::appendFormat(body, last);
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.isValid()) {
                    continue;
                }
                auto known = formats.constFind(fragment.charFormatIndex());
                if (known == formats.constEnd()) {
                    known = formats.insert(fragment.charFormatIndex(),
                                           writer.formatOf(fragment.charFormat()));
                }
                const RunFormat f = known.value();
                if (!(f == last)) {
                    Writer::appendFormat(body, f);
                    last = f;
                }
                appendRtfText(body, fragment.text(), false);
            }
            body.append("\\par\r\n");
        }
    }
    QByteArray out = writer.header();
    out.reserve(out.size() + body.size() + 2);
    out.append(body);
    out.append("}");
    return out;
}

bool readRtf(const QByteArray& rtf, QTextCursor& cursor) {
    if (!rtf.startsWith("{\\rtf") ||
        (rtf.size() > 5 && isLetter(static_cast<unsigned char>(rtf[5])))) {
        return false;
    }
    Reader reader(rtf);
    if (!reader.parse()) {
        return false;
    }
    reader.shareFontSizes();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (const Run& run : reader.runs()) {
        if (!run.text.isEmpty()) {
            cursor.insertText(run.text, reader.format(run.props));
        }
    }
    cursor.endEditBlock();
    return true;
}

} // namespace zelvar
