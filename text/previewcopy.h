#pragma once
// The live preview shows a copy of the page: its text as UTF-8, every start
// tag carrying its source offset in an attribute (so that a click in the
// preview finds its tag in the page), and a base address for the page's
// folder. Beside the copy, where each element starts and ends in the source,
// for the element that holds the caret. The page itself never gets any of
// it.

#include <QByteArray>
#include <QList>
#include <QStringView>

namespace zelvar {

// An element of the page: its start tag's "<" and the end of its end tag
// (of whatever closes it: an enclosing element's end tag, the page's end).
struct PreviewElement {
    qsizetype start;
    qsizetype end;
    friend bool operator==(const PreviewElement&, const PreviewElement&) = default;
};

struct PreviewCopy {
    QByteArray html;
    QList<PreviewElement> elements; // in the order of their start tags
};

// The copy of a page's text (lines separated by "\n" or U+2029), with a byte
// order mark that makes a browser read it as UTF-8 whatever charset the page
// declares, the attribute `attribute="offset"` after the name of each start
// tag, and `<base href="baseAddress">` unless the page has a base element.
// Tags inside comments, declarations and the content of <script>, <style>,
// <textarea> and their like are not tags.
PreviewCopy makePreviewCopy(QStringView text, const char* attribute, const QByteArray& baseAddress);

// The innermost element that holds the offset, as an index into elements;
// -1 for none.
qsizetype elementAt(const QList<PreviewElement>& elements, qsizetype offset);

} // namespace zelvar
