#pragma once
// The HTML of a page read one line at a time, for colouring and for marking
// the tag that belongs to the one under the caret.
//
// A line is read from the state the previous line ended in: inside a
// comment, a tag (a quoted attribute value among them), a declaration, or
// the content of <script> or <style> (a /* */ comment or a template string
// of a script among them). The state is a small non-negative number, so it
// fits a text block's user state; the first line starts in
// kHtmlFirstLineState, and a number that is no state of this reader (a
// block's -1 among them) reads as that one.
//
// Markup is read as browsers read it: names in any case, the content of
// <script> and <style> ends only at their end tag, a comment at "-->".

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace zelvar {

enum class HtmlKind : unsigned char {
    Tag,            // "<", "</", the name, ">" and "/>"
    AttributeName,  // name
    AttributeValue, // "value", 'value' or value
    Comment,        // <!-- -->, and /* */ and // in scripts and styles
    Declaration,    // <!DOCTYPE ...>, <?xml ...?>
    Reference,      // &amp; &#353; &#x161;
    String          // a string of a script or a style
};

struct HtmlSpan {
    qsizetype start;
    qsizetype length;
    HtmlKind kind;

    friend bool operator==(const HtmlSpan&, const HtmlSpan&) = default;
};

constexpr int kHtmlFirstLineState = 0;

// The state the next line starts in. Reads the line without allocating; the
// parts where nothing can change the state are skipped by searches.
int htmlLineState(QStringView line, int state);

// The same, appending the line's coloured parts to spans in their order;
// text of no kind has none. Adjacent parts of one kind form one span.
int htmlLineSpans(QStringView line, int state, QList<HtmlSpan>& spans);

// Where a line that starts in the state starts: inside a tag (a quoted
// value among its parts), and whether what follows the tag's ">" (or, not
// in a tag, the line itself) is the content of a script or a style. A line
// that starts in a comment or a declaration starts in neither.
struct HtmlStart {
    bool inTag;
    bool inCode;
};
HtmlStart htmlStart(int state);

// Where the text a state ends stands: in the text of the markup, between
// the attributes of a tag, in an attribute's value, or elsewhere (a comment,
// a declaration, a script's or a style's content).
enum class HtmlPlace { Text, BetweenAttributes, Value, Other };
HtmlPlace htmlPlace(int state);

struct HtmlRange {
    qsizetype start;
    qsizetype length;

    friend bool operator==(const HtmlRange&, const HtmlRange&) = default;
};

struct HtmlTagPair {
    HtmlRange tag;     // the tag under the caret, "<" to ">"
    HtmlRange partner; // its end tag or start tag
};

// With the caret (an offset into the text, either end of a name included)
// in the name of a start or end tag, that tag and its partner of the same
// name, found by counting the nested tags of that name; nothing when the
// caret is elsewhere, the tag is a void element or closes itself ("<x/>"),
// or no partner lies in the text. Tags inside comments, declarations and
// the content of <script> and <style> are not tags. The text holds whole
// lines separated by "\n" or U+2029 and starts in the state given; the
// caller bounds its length, which bounds the time the search takes. A tag
// whose ">" lies beyond the text ends with its name.
std::optional<HtmlTagPair> matchHtmlTag(QStringView text, int state, qsizetype caret);

// The name of the innermost element still open where the text ends, as its
// start tag writes it; nothing when the text ends inside a comment, a
// declaration, a tag or the content of a script or a style, or when no
// element is open there. The text is read as matchHtmlTag reads it.
std::optional<QString> openElementAtEnd(QStringView text, int state);

} // namespace zelvar
