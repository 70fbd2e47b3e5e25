#pragma once
// The language of a page's text, as its lang attributes give it: an element
// with lang (or xml:lang) sets the language of what it holds, up to its end
// tag. A page with none is Czech. The spelling check reads each word in the
// language it stands in.
//
// The elements are followed as far as that needs: the elements with a
// language of their own that are open, each with how many elements of its
// name are open inside it. A start tag of an element whose end tag may be
// left out (p, li, td and the like) ends an open one of the same name; the
// end tag of an element ends those open inside it.

#include <QList>
#include <QString>
#include <QStringView>

#include "text/htmlsyntax.h"

namespace zelvar {

inline constexpr QStringView kPageLanguage = u"cs";

struct LanguageScope {
    QString element;  // in lower case
    QString language; // in lower case; empty: a language declared unknown
    int depth = 1;    // the open elements of this name, itself included

    friend bool operator==(const LanguageScope&, const LanguageScope&) = default;
};

struct TextLanguages {
    QList<LanguageScope> open; // the innermost last
    // A start tag that goes on to the next line: its name, and the value of
    // its lang attribute once read.
    QString tag;
    bool endTag = false;
    bool tagHasLanguage = false;
    QString tagLanguage;

    // The language of the text here.
    QString language() const {
        return open.isEmpty() ? kPageLanguage.toString() : open.last().language;
    }

    friend bool operator==(const TextLanguages&, const TextLanguages&) = default;
};

// Where in a line the language changes, and to which.
struct LanguageChange {
    qsizetype column;
    QString language;

    friend bool operator==(const LanguageChange&, const LanguageChange&) = default;
};

// Whether the line can change the languages at all: a cheap look for "lang"
// and for the tags of the open elements' names, which most lines lack. A
// line that ends inside a tag (endsInTag: the state it ends in says so)
// can: the tag may take a lang on the next line.
bool mayChangeLanguages(QStringView line, const TextLanguages& languages, bool endsInTag);

// Moves the languages over a line, whose coloured parts are spans (from
// htmlLineSpans); appends to changes, when given, where the language of the
// text changes in the line.
void readLanguages(QStringView line, const QList<HtmlSpan>& spans, TextLanguages& languages,
                   QList<LanguageChange>* changes = nullptr);

// The Hunspell dictionaries that may serve a language ("en-GB" → en_GB,
// then the usual one of the language, or its code as the country),
// best first; the caller takes the first one installed. A language of
// letters other than ASCII's gives none.
QStringList dictionaryNames(QStringView language);

} // namespace zelvar
