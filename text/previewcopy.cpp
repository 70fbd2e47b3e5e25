#include "text/previewcopy.h"

#include <QString>
#include <algorithm>

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

// Elements whose start tag is their whole extent.
bool isVoid(QStringView name) {
    static constexpr const char16_t* kVoid[] = {u"area",  u"base",   u"br",    u"col",  u"embed",
                                                u"hr",    u"img",    u"input", u"link", u"meta",
                                                u"param", u"source", u"track", u"wbr"};
    return std::any_of(std::begin(kVoid), std::end(kVoid), [&](const char16_t* v) {
        return name.compare(QStringView(v), Qt::CaseInsensitive) == 0;
    });
}

// Elements whose content is text up to their own end tag.
bool holdsText(QStringView name) {
    static constexpr const char16_t* kText[] = {u"script",  u"style",    u"textarea",
                                                u"title",   u"xmp",      u"iframe",
                                                u"noembed", u"noframes", u"noscript"};
    return std::any_of(std::begin(kText), std::end(kText), [&](const char16_t* v) {
        return name.compare(QStringView(v), Qt::CaseInsensitive) == 0;
    });
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

} // namespace

PreviewCopy makePreviewCopy(QStringView text, const char* attribute,
                            const QByteArray& baseAddress) {
    PreviewCopy copy;
    QString out;
    out.reserve(text.size() + text.size() / 8 + 64);
    const QString mark = QLatin1Char(' ') + QLatin1String(attribute) + QLatin1String("=\"");
    // The open elements: their index in copy.elements and their name.
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
            const qsizetype close = text.indexOf(u"-->", lt + 4);
            i = close < 0 ? n : close + 3;
        } else if (c == u'!' || c == u'?') {
            const qsizetype close = text.indexOf(u'>', lt + 2);
            i = close < 0 ? n : close + 1;
        } else if (c == u'/' && lt + 2 < n && isLetter(text[lt + 2])) {
            const QStringView name = text.mid(lt + 2, nameEnd(text, lt + 2) - lt - 2);
            i = tagEnd(text, lt + 2 + name.size());
            for (qsizetype k = open.size() - 1; k >= 0; --k) {
                if (open[k].second.compare(name, Qt::CaseInsensitive) == 0) {
                    for (qsizetype e = open.size() - 1; e >= k; --e) {
                        copy.elements[open[e].first].end = i;
                    }
                    open.resize(k);
                    break;
                }
            }
        } else if (isLetter(c)) {
            const qsizetype afterName = nameEnd(text, lt + 1);
            const QStringView name = text.mid(lt + 1, afterName - lt - 1);
            out.append(text.mid(copied, afterName - copied));
            out.append(mark).append(QString::number(lt)).append(QLatin1Char('"'));
            copied = afterName;
            i = tagEnd(text, afterName);
            const bool closed = i >= 2 && text[i - 2] == u'/' && text[i - 1] == u'>';
            copy.elements.append({lt, i});
            if (!closed && !isVoid(name)) {
                open.append({copy.elements.size() - 1, name});
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
        copy.elements[element].end = n + 1; // holds the text's end too
    }
    out.append(text.mid(copied));
    out.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    copy.html = withBaseAddress("\xEF\xBB\xBF" + out.toUtf8(), baseAddress);
    return copy;
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
