#include "text/previewcopy.h"

#include <QString>
#include <algorithm>
#include <initializer_list>

#include "text/baseaddress.h"

namespace zelvar {

namespace {

bool isLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' ||
           c == QChar::ParagraphSeparator;
}

bool isNameEnd(QChar c) {
    return isSpace(c) || c == u'>' || c == u'/';
}

bool isNamed(QStringView name, std::initializer_list<const char16_t*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char16_t* v) {
        return name.compare(QStringView(v), Qt::CaseInsensitive) == 0;
    });
}

// Elements whose start tag is their whole extent.
bool isVoid(QStringView name) {
    return isNamed(name, {u"area", u"base", u"br", u"col", u"embed", u"hr", u"img", u"input",
                          u"link", u"meta", u"param", u"source", u"track", u"wbr"});
}

// Elements whose content is text up to their own end tag.
bool holdsText(QStringView name) {
    return isNamed(name, {u"script", u"style", u"textarea", u"title", u"xmp", u"iframe", u"noembed",
                          u"noframes", u"noscript"});
}

bool isHeading(QStringView name) {
    return isNamed(name, {u"h1", u"h2", u"h3", u"h4", u"h5", u"h6"});
}

// The blocks: a start tag of one closes an open paragraph, an end tag of
// one the paragraphs and list items it holds.
bool isBlock(QStringView name) {
    return isHeading(name) ||
           isNamed(name,
                   {u"address", u"article", u"aside", u"blockquote", u"center",   u"details",
                    u"dialog",  u"dir",     u"div",   u"dl",         u"fieldset", u"figcaption",
                    u"figure",  u"footer",  u"form",  u"header",     u"hgroup",   u"main",
                    u"menu",    u"nav",     u"ol",    u"p",          u"pre",      u"section",
                    u"summary", u"ul"});
}

// Whether a start tag of `name` closes the element `open` that it would
// go into, as a browser closes a paragraph at the start of a block, a list
// item at the next item. (A table closes a paragraph in a page with a
// doctype, most pages; in one without, the view finds the table inside the
// paragraph and loads the copy whole.)
bool closesOpen(QStringView name, QStringView open) {
    if (isNamed(open, {u"p"})) {
        return isBlock(name) || isNamed(name, {u"hr", u"li", u"dd", u"dt", u"table", u"xmp",
                                               u"listing", u"plaintext"});
    }
    if (isNamed(open, {u"li"})) {
        return isNamed(name, {u"li"});
    }
    return isNamed(open, {u"dd", u"dt"}) && isNamed(name, {u"dd", u"dt"});
}

// Just after the ">" that ends the tag whose name ends at `from`, skipping
// quoted values; the text's end for a tag that never ends.
qsizetype tagEnd(QStringView text, qsizetype from) {
    QChar previous;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'>') {
            return i + 1;
        }
        if ((c == u'"' || c == u'\'') && previous == u'=') {
            const qsizetype close = text.indexOf(c, i + 1);
            if (close < 0) {
                return text.size();
            }
            i = close;
        }
        if (!isSpace(c)) {
            previous = c;
        }
    }
    return text.size();
}

qsizetype nameEnd(QStringView text, qsizetype from) {
    while (from < text.size() && !isNameEnd(text[from])) {
        ++from;
    }
    return from;
}

// The tag name that starts at `from`.
QStringView nameAt(QStringView text, qsizetype from) {
    return text.mid(from, nameEnd(text, from) - from);
}

// Where "</name" followed by the end of a name starts, from `from` on; the
// text's end when it is not there.
qsizetype endTagOf(QStringView text, QStringView name, qsizetype from) {
    const QString open = QLatin1String("</") + name.toString();
    for (qsizetype at = text.indexOf(open, from, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(open, at + 1, Qt::CaseInsensitive)) {
        const qsizetype after = at + open.size();
        if (after >= text.size() || isNameEnd(text[after])) {
            return at;
        }
    }
    return text.size();
}

// The text with `mark`="offset" after the name of each start tag, the
// offsets counted from `base`; the elements it holds, each closed by what
// closes it in the text (a text that ends with elements open: one past its
// end).
QString markedCopy(QStringView text, qsizetype base, const QString& mark,
                   QList<PreviewElement>& elements) {
    QString out;
    out.reserve(text.size() + text.size() / 8 + 64);
    // The open elements: their index in elements and their name.
    QList<std::pair<qsizetype, QStringView>> open;
    qsizetype copied = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype lt = text.indexOf(u'<', i);
        if (lt < 0 || lt + 1 >= n) {
            break;
        }
        const QChar c = text[lt + 1];
        if (c == u'!' && text.mid(lt + 2).startsWith(u"--")) {
            // "<!-->" and "<!--->" are whole comments; "--!>" ends one too.
            if (text.mid(lt + 4).startsWith(u">")) {
                i = lt + 5;
            } else if (text.mid(lt + 4).startsWith(u"->")) {
                i = lt + 6;
            } else {
                const qsizetype close = text.indexOf(u"-->", lt + 4);
                const qsizetype bang = text.indexOf(u"--!>", lt + 4);
                i = close < 0 && bang < 0                      ? n
                    : bang < 0 || (close >= 0 && close < bang) ? close + 3
                                                               : bang + 4;
            }
        } else if (c == u'!' || c == u'?') {
            const qsizetype close = text.indexOf(u'>', lt + 2);
            i = close < 0 ? n : close + 1;
        } else if (c == u'/' && lt + 2 < n && isLetter(text[lt + 2])) {
            const QStringView name = nameAt(text, lt + 2);
            i = tagEnd(text, lt + 2 + name.size());
            for (qsizetype k = open.size() - 1; k >= 0; --k) {
                if (open[k].second.compare(name, Qt::CaseInsensitive) == 0) {
                    for (qsizetype e = open.size() - 1; e >= k; --e) {
                        elements[open[e].first].end = base + i;
                    }
                    open.resize(k);
                    break;
                }
            }
        } else if (isLetter(c)) {
            const QStringView name = nameAt(text, lt + 1);
            const qsizetype afterName = lt + 1 + name.size();
            if (!open.isEmpty() && closesOpen(name, open.back().second)) {
                elements[open.back().first].end = base + lt;
                open.removeLast();
            }
            out.append(text.mid(copied, afterName - copied));
            out.append(mark).append(QString::number(base + lt)).append(QLatin1Char('"'));
            copied = afterName;
            i = tagEnd(text, afterName);
            const bool closed = i >= 2 && text[i - 2] == u'/' && text[i - 1] == u'>';
            elements.append({base + lt, base + i});
            if (!closed && !isVoid(name)) {
                open.append({elements.size() - 1, name});
            }
            if (holdsText(name)) {
                i = endTagOf(text, name, i);
            } else if (name.compare(u"plaintext", Qt::CaseInsensitive) == 0) {
                i = n;
            }
        } else {
            i = lt + 1;
        }
    }
    for (const auto& [element, name] : open) {
        elements[element].end = base + n + 1; // holds the text's end too
    }
    out.append(text.mid(copied));
    out.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return out;
}

QString offsetMark(const char* attribute) {
    return QLatin1Char(' ') + QLatin1String(attribute) + QLatin1String("=\"");
}

QStringView elementName(QStringView text, const PreviewElement& e) {
    return nameAt(text, e.start + 1);
}

// Where the element's own end tag starts; -1 when something else ends it.
qsizetype ownEndTag(QStringView text, const PreviewElement& e) {
    if (e.end > text.size()) {
        return -1;
    }
    const qsizetype at = text.lastIndexOf(u"</", e.end - 1);
    if (at <= e.start) {
        return -1;
    }
    return nameAt(text, at + 2).compare(elementName(text, e), Qt::CaseInsensitive) == 0 ? at : -1;
}

// Whether the element parses alone as it does in its page: closed by its
// own end tag, void, or one of those whose end tag a browser supplies
// itself (a paragraph, a list item...) closed by what follows or holds it.
// Any other element closed by another's end tag is misnested, and a browser
// does not close it there (a formatting element is even carried on past
// it). A start tag ended by "/>" closes only a void element.
bool standsAlone(QStringView text, const PreviewElement& e) {
    const QStringView name = elementName(text, e);
    if (isVoid(name) || ownEndTag(text, e) >= 0) {
        return true;
    }
    if (e.end > text.size() || (text[e.end - 1] == u'>' && text[e.end - 2] == u'/')) {
        return false;
    }
    if (!isNamed(name, {u"p", u"li", u"dd", u"dt", u"option", u"optgroup", u"rb", u"rp", u"rt",
                        u"rtc"})) {
        return false;
    }
    // Closed by an end tag: one that closes what it holds in a browser too
    // (a formatting element's or an inline one's does not).
    const qsizetype at = text.lastIndexOf(u"</", e.end - 1);
    if (text[e.end - 1] != u'>' || at <= e.start ||
        text.mid(at + 1, e.end - at - 1).contains(u'<')) {
        return true; // closed by a start tag
    }
    const QStringView closer = nameAt(text, at + 2);
    return isBlock(closer) ||
           isNamed(closer, {u"body", u"html", u"li", u"dd", u"dt", u"table", u"tbody", u"thead",
                            u"tfoot", u"tr", u"td", u"th", u"caption", u"select", u"optgroup"});
}

// Whether an element `inner` inside an open `outer` would close or change
// it in a browser: a block in a paragraph, a link in a link...
bool upsets(QStringView outer, QStringView inner) {
    if (isNamed(outer, {u"p", u"li", u"dd", u"dt"})) {
        return closesOpen(inner, outer);
    }
    if (isHeading(outer)) {
        return isHeading(inner);
    }
    if (isNamed(outer, {u"option", u"optgroup"})) {
        return isNamed(inner, {u"option", u"optgroup"});
    }
    return isNamed(outer, {u"a", u"button", u"form", u"nobr"}) &&
           inner.compare(outer, Qt::CaseInsensitive) == 0;
}

// A table and its parts that hold rows or columns: a browser reads their
// own content (outside the cells) by rules of its own.
bool isTableStructure(QStringView name) {
    return isNamed(name, {u"table", u"tbody", u"thead", u"tfoot", u"tr", u"colgroup"});
}

bool isTablePart(QStringView name) {
    return isNamed(
        name, {u"tbody", u"thead", u"tfoot", u"tr", u"td", u"th", u"caption", u"colgroup", u"col"});
}

// Whether the element at `index`, with what holds it, can be replaced by
// its new copy alone: nothing in it (before or after the change) upsets it
// or what holds it, neither it nor what holds it reads by rules of its own
// (a table's own content, outside its cells, a select, foreign content),
// and the parts of a table in it are inside a table of its own.
bool replacesAlone(QStringView before, const QList<PreviewElement>& beforeElements,
                   QStringView after, const QList<PreviewElement>& afterElements, qsizetype index,
                   qsizetype shift) {
    const PreviewElement& element = beforeElements[index];
    QList<QStringView> holding{elementName(before, element)};
    for (qsizetype k = index - 1; k >= 0; --k) {
        if (beforeElements[k].end >= element.end) {
            holding.append(elementName(before, beforeElements[k]));
        }
    }
    for (const QStringView name : holding) {
        if (isNamed(name, {u"td", u"th", u"caption"})) {
            break; // a cell's content is read as a body's is
        }
        if (isTableStructure(name)) {
            return false;
        }
    }
    if (std::any_of(holding.begin(), holding.end(), [](QStringView name) {
            return isNamed(name, {u"select", u"svg", u"math", u"template", u"ruby"});
        })) {
        return false;
    }
    const auto inner = [&](QStringView text, const QList<PreviewElement>& elements, qsizetype end) {
        bool inTable = false;
        for (qsizetype k = index + 1; k < elements.size() && elements[k].start < end; ++k) {
            const QStringView name = elementName(text, elements[k]);
            inTable = inTable || isNamed(name, {u"table"});
            if ((isTablePart(name) && !inTable) ||
                isNamed(name, {u"select", u"svg", u"math", u"template", u"frameset"}) ||
                std::any_of(holding.begin(), holding.end(),
                            [&](QStringView outer) { return upsets(outer, name); })) {
                return false;
            }
        }
        return true;
    };
    return inner(before, beforeElements, element.end) &&
           inner(after, afterElements, element.end + shift);
}

// Whether putting the copy of after[from, to + shift) in place of the copy
// of before[from, to) makes the copy of the page after: the elements before
// and after that span, and those that hold it, are the same in both texts
// (the change did not reach past it), no element before it leaves a
// formatting element open, and the elements in it parse alone as they do in
// the page and hold no script (one set in place by the preview does not
// run). `first` is the index of the first element at or after `from`; an
// element in the span may also end at `closedAt` in the text before (the
// end of the body's end tag, for a span up to it).
bool replaceable(QStringView before, const QList<PreviewElement>& beforeElements, QStringView after,
                 const QList<PreviewElement>& afterElements, qsizetype first, qsizetype from,
                 qsizetype to, qsizetype shift, qsizetype closedAt = -1) {
    if (afterElements.size() < first) {
        return false;
    }
    for (qsizetype k = 0; k < first; ++k) {
        const PreviewElement& e = beforeElements[k];
        const bool holds = e.end >= to;
        if (e.end > from && !holds) {
            return false; // ends inside it: not a nesting
        }
        if (holds ? isNamed(elementName(before, e), {u"head"}) : !standsAlone(before, e)) {
            return false;
        }
        if (afterElements[k] != PreviewElement{e.start, holds ? e.end + shift : e.end}) {
            return false;
        }
    }
    const auto span = [](QStringView text, const QList<PreviewElement>& elements, qsizetype k,
                         qsizetype end, qsizetype closed) {
        for (; k < elements.size() && elements[k].start < end; ++k) {
            const PreviewElement& e = elements[k];
            if ((e.end > end && e.end != closed) || !standsAlone(text, e) ||
                isNamed(elementName(text, e), {u"script", u"base"})) {
                return qsizetype(-1);
            }
        }
        return k;
    };
    const qsizetype beforeNext = span(before, beforeElements, first, to, closedAt);
    const qsizetype afterNext =
        span(after, afterElements, first, to + shift, closedAt < 0 ? -1 : closedAt + shift);
    if (beforeNext < 0 || afterNext < 0 ||
        beforeElements.size() - beforeNext != afterElements.size() - afterNext) {
        return false;
    }
    for (qsizetype k = beforeNext; k < beforeElements.size(); ++k) {
        const PreviewElement& e = beforeElements[k];
        if (afterElements[afterNext + k - beforeNext] !=
            PreviewElement{e.start + shift, e.end + shift}) {
            return false;
        }
    }
    return true;
}

qsizetype firstFrom(const QList<PreviewElement>& elements, qsizetype offset) {
    return std::lower_bound(
               elements.begin(), elements.end(), offset,
               [](const PreviewElement& e, qsizetype value) { return e.start < value; }) -
           elements.begin();
}

// The change lies in the body's own content: the run of it between the
// body's elements that hold none of the change.
std::optional<PreviewPatch> bodyRun(QStringView before, const QList<PreviewElement>& beforeElements,
                                    QStringView after, const QList<PreviewElement>& afterElements,
                                    qsizetype body, qsizetype from, qsizetype to, qsizetype shift,
                                    qsizetype& runStart) {
    const PreviewElement& holder = beforeElements[body];
    const qsizetype endTag = ownEndTag(before, holder);
    if (endTag < 0 || from < tagEnd(before, holder.start + 1) || to > endTag) {
        return std::nullopt;
    }
    // After the body's end, only what a browser puts nowhere.
    const QStringView rest = before.mid(holder.end).trimmed();
    if (!rest.isEmpty() && rest.compare(u"</html>", Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    // Its elements: the last one that ends before the change and the first
    // one after it.
    PreviewPatch patch{holder.start, 0, shift, {}, true, -1, -1};
    runStart = tagEnd(before, holder.start + 1);
    qsizetype runEnd = endTag;
    qsizetype k = body + 1;
    while (k < beforeElements.size() && beforeElements[k].start < endTag) {
        const PreviewElement& child = beforeElements[k];
        if (child.start >= to) {
            patch.next = child.start;
            runEnd = child.start;
            break;
        }
        // One that a start tag closes takes in what is typed at its end.
        if (child.end < from || (child.end == from && (isVoid(elementName(before, child)) ||
                                                       ownEndTag(before, child) >= 0))) {
            patch.previous = child.start;
            runStart = child.end;
        }
        // On to the next of the body's own elements.
        for (++k; k < beforeElements.size() && beforeElements[k].start < child.end; ++k) {
        }
    }
    // From the body's start: a browser puts what stands between the head
    // and the body's start tag into the body, before what the run replaces.
    if (patch.previous < 0) {
        qsizetype head = body - 1;
        while (head >= 0 && !isNamed(elementName(before, beforeElements[head]), {u"head"})) {
            --head;
        }
        if (head < 0 || ownEndTag(before, beforeElements[head]) < 0 ||
            !before.mid(beforeElements[head].end, holder.start - beforeElements[head].end)
                 .trimmed()
                 .isEmpty()) {
            return std::nullopt;
        }
    }
    // What is still open at the body's end tag ends with the run.
    if (!replaceable(before, beforeElements, after, afterElements,
                     firstFrom(beforeElements, runStart), runStart, runEnd, shift,
                     patch.next < 0 ? holder.end : -1)) {
        return std::nullopt;
    }
    patch.end = runEnd;
    return patch;
}

} // namespace

PreviewCopy makePreviewCopy(QStringView text, const char* attribute,
                            const QByteArray& baseAddress) {
    PreviewCopy copy;
    const QString out = markedCopy(text, 0, offsetMark(attribute), copy.elements);
    copy.html = withBaseAddress("\xEF\xBB\xBF" + out.toUtf8(), baseAddress);
    return copy;
}

std::optional<PreviewPatch>
previewPatch(QStringView before, const QList<PreviewElement>& beforeElements, QStringView after,
             const QList<PreviewElement>& afterElements, const char* attribute) {
    // The change: what lies between the two texts' common start and end.
    const qsizetype shortest = qMin(before.size(), after.size());
    qsizetype from = 0;
    while (from < shortest && before[from] == after[from]) {
        ++from;
    }
    qsizetype common = 0;
    while (common < shortest - from &&
           before[before.size() - 1 - common] == after[after.size() - 1 - common]) {
        ++common;
    }
    const qsizetype beforeTo = before.size() - common;
    const qsizetype shift = after.size() - before.size();

    // The innermost element closed by its own end tag that holds the whole
    // change (its tags may change, its start stays); or the body, whose own
    // content holds it.
    std::optional<PreviewPatch> patch;
    qsizetype spanStart = 0; // of what the patch replaces; it ends at patch->end
    for (qsizetype index = elementAt(beforeElements, from); index >= 0; --index) {
        const PreviewElement& e = beforeElements[index];
        if (e.end <= from) {
            continue; // an element before, not one that holds it
        }
        const QStringView name = elementName(before, e);
        if (isNamed(name, {u"body"})) {
            patch = bodyRun(before, beforeElements, after, afterElements, index, from, beforeTo,
                            shift, spanStart);
            if (!patch) {
                return std::nullopt;
            }
            break;
        }
        if (isNamed(name, {u"html", u"head", u"frameset"})) {
            return std::nullopt;
        }
        if (e.start < from && beforeTo <= e.end && ownEndTag(before, e) >= 0) {
            if (!replaceable(before, beforeElements, after, afterElements, index, e.start, e.end,
                             shift) ||
                ownEndTag(after, PreviewElement{e.start, e.end + shift}) < 0 ||
                !replacesAlone(before, beforeElements, after, afterElements, index, shift)) {
                return std::nullopt;
            }
            patch = PreviewPatch{e.start, e.end, shift, {}};
            spanStart = e.start;
            break;
        }
    }
    if (!patch) {
        return std::nullopt;
    }
    QList<PreviewElement> ignored;
    patch->html = markedCopy(after.mid(spanStart, patch->end + shift - spanStart), spanStart,
                             offsetMark(attribute), ignored);
    return patch;
}

qsizetype elementAt(const QList<PreviewElement>& elements, qsizetype offset) {
    auto after =
        std::upper_bound(elements.begin(), elements.end(), offset,
                         [](qsizetype value, const PreviewElement& e) { return value < e.start; });
    while (after != elements.begin()) {
        --after;
        if (after->end > offset) {
            return after - elements.begin();
        }
    }
    return -1;
}

} // namespace zelvar
