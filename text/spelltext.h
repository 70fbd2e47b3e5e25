#pragma once
// The Czech text of an HTML page, as the spelling check and the typography
// read it: the words of the text between the markup, and the values of the
// `alt` and `title` attributes, which browsers show to readers too. Tag and
// attribute names, other values, comments, declarations and the content of
// <script> and <style> are markup and never read.
//
// Character references inside the text are read as their characters:
// "&#268;esko", "&Ccaron;esko" and "&#x10C;esko" are all the word "Česko".

#include <QList>
#include <QString>
#include <QStringView>

#include "text/htmlsyntax.h"

namespace zelvar {

struct SpellWord {
    qsizetype start;  // in the line, as written (references included)
    qsizetype length; // as written
    QString word;     // with its references read as characters

    friend bool operator==(const SpellWord&, const SpellWord&) = default;
};

// The words of a line that the spelling check reads, in their order. The
// line starts in the state given and spans are its coloured parts from
// htmlLineSpans. Words with digits or with a reference the reader does not
// know are left out, and so are web and e-mail addresses (a part between
// blanks that holds "@", "://", or a dot between two letters).
void spellWords(QStringView line, int state, const QList<HtmlSpan>& spans, QList<SpellWord>& words);
QList<SpellWord> spellWords(QStringView line, int state);

// The character a reference stands for ("&scaron;", "&#353;", "&#x161;")
// at line[at] == '&', with the reference's length; a length of 0 when no
// reference starts there, a character of 0 for a named reference outside
// the reader's table (the named references of Czech and Slovak letters, of
// the markup characters and of the common typographic marks).
struct DecodedReference {
    char32_t character;
    qsizetype length;
};
DecodedReference decodeReference(QStringView line, qsizetype at);

// Czech typography's non-breaking spaces: each ordinary space that follows
// a one-letter preposition or conjunction (k s v z o u a i, in either case)
// standing as a word of the text becomes "&nbsp;". Only spaces in the text
// count, never in markup; a space at the end of a line or before another
// blank stays, so the line break after such a word is left alone. The text
// holds whole lines separated by "\n" or U+2029 and starts in the state
// given; only spaces at positions in [from, to) change (to < 0: the end).
// The content of <textarea>, processing instructions and server code
// (<?php ... ?>, <% ... %>) stay as they are.
struct NonBreakingSpaces {
    QString text;
    QList<qsizetype> spaces; // the positions of the replaced spaces in the input
};
NonBreakingSpaces insertNonBreakingSpaces(QStringView text, int state = kHtmlFirstLineState,
                                          qsizetype from = 0, qsizetype to = -1);

inline constexpr QStringView kNonBreakingSpace = u"&nbsp;";

} // namespace zelvar
