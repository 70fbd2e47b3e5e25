#pragma once
// Style sheets and scripts of their own files, read one line at a time for
// colouring, as the HTML of a page is (htmlsyntax.h): each line from the
// state the line before ended in, a small non-negative number that fits a
// byte, the first line from state 0.
//
// The parts are told by the kinds of the HTML reading, so that the colours
// of a page and of a style sheet or script agree:
// - CSS: selectors as tags, properties as attribute names, values as
//   attribute values, numbers with their units and hex colours as
//   references, at-rules (and !important) as declarations, strings and
//   comments as themselves.
// - JavaScript: keywords as tags, numbers as references, regular-expression
//   literals as attribute values, strings (template strings among them) and
//   comments as themselves.

#include <QList>
#include <QString>
#include <QStringView>

#include "text/htmlsyntax.h"

namespace zelvar {

// What a page's file holds, by the file's name: a style sheet (.css), a
// script (.js, .mjs, .cjs), else HTML.
enum class PageLanguage { Html, Css, Script };
PageLanguage pageLanguage(QStringView fileName);

int cssLineState(QStringView line, int state);
int cssLineSpans(QStringView line, int state, QList<HtmlSpan>& spans);

int scriptLineState(QStringView line, int state);
int scriptLineSpans(QStringView line, int state, QList<HtmlSpan>& spans);

// The line reading of a language: the state alone, and the state with the
// coloured parts.
struct LineReader {
    int (*state)(QStringView line, int state);
    int (*spans)(QStringView line, int state, QList<HtmlSpan>& spans);
};
LineReader lineReader(PageLanguage language);

} // namespace zelvar
