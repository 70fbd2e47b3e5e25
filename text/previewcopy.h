#pragma once
// The live preview shows a copy of the page: its text as UTF-8, every start
// tag carrying its source offset in an attribute (so that a click in the
// preview finds its tag in the page), and a base address for the page's
// folder. Beside the copy, where each element starts and ends in the source,
// for the element that holds the caret. The page itself never gets any of
// it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace zelvar {

// An element of the page: its start tag's "<" and the end of its end tag
// (of whatever closes it: an enclosing element's end tag, the page's end),
// or the start of the tag that closes it (a paragraph's at a block, a list
// item's at the next item).
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

// A new copy of the same page shown by putting one element of the copy
// shown before in place of its old self, rather than loading all of it
// again.
struct PreviewPatch {
    qsizetype start; // the element's start tag, the same in both texts
    qsizetype end;   // its end in the text before: what starts there or
                     // later moved by `shift`
    qsizetype shift;
    QString html; // the element's new copy, offset attributes included
    // Or a run of the body's own content (the body's start tag at `start`)
    // between two of its elements, `previous` and `next` by their start
    // tags, -1 for the body's start and end; `end` is then where `next`
    // starts (or the body's end tag).
    bool run = false;
    qsizetype previous = -1;
    qsizetype next = -1;
};

// The patch that turns the copy of `before` into the copy of `after`, when
// the change between them lies inside one element of the body or in a run
// of the body's own content, and what replaces it parses alone as it does in
// the page (no formatting element left open, no script, nothing in the
// head); none otherwise, and the whole copy is loaded again.
std::optional<PreviewPatch>
previewPatch(QStringView before, const QList<PreviewElement>& beforeElements, QStringView after,
             const QList<PreviewElement>& afterElements, const char* attribute);

// The innermost element that holds the offset, as an index into elements;
// -1 for none.
qsizetype elementAt(const QList<PreviewElement>& elements, qsizetype offset);

} // namespace zelvar
