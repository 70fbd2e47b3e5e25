#include "text/textlanguages.h"

#include "text/lineparts.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace zelvar {

namespace {

// Sorted for the search.
const auto kVoidElements = std::to_array<QStringView>({
    u"area",
    u"base",
    u"br",
    u"col",
    u"embed",
    u"hr",
    u"img",
    u"input",
    u"link",
    u"meta",
    u"param",
    u"source",
    u"track",
    u"wbr",
});

// The elements whose end tag may be left out, so that a start tag of the
// same name ends them.
const auto kOptionalEnd = std::to_array<QStringView>({
    u"caption",
    u"colgroup",
    u"dd",
    u"dt",
    u"li",
    u"optgroup",
    u"option",
    u"p",
    u"rb",
    u"rp",
    u"rt",
    u"rtc",
    u"tbody",
    u"td",
    u"tfoot",
    u"th",
    u"thead",
    u"tr",
});

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u':' || c == u'_' || c == u'.';
}

// The usual country of a language's dictionary, where it is not the
// language's own code in capitals.
struct UsualDictionary {
    QStringView language;
    QStringView dictionary;
};
constexpr std::array<UsualDictionary, 10> kUsual = {{
    {u"cs", u"cs_CZ"},
    {u"da", u"da_DK"},
    {u"el", u"el_GR"},
    {u"en", u"en_US"},
    {u"et", u"et_EE"},
    {u"he", u"he_IL"},
    {u"nb", u"nb_NO"},
    {u"nn", u"nn_NO"},
    {u"sl", u"sl_SI"},
    {u"uk", u"uk_UA"},
}};

bool isAsciiWord(QStringView s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    });
}

} // namespace

bool mayChangeLanguages(QStringView line, const TextLanguages& languages, bool endsInTag) {
    if (endsInTag || !languages.tag.isEmpty() || line.contains(u"lang", Qt::CaseInsensitive)) {
        return true;
    }
    for (const LanguageScope& scope : languages.open) {
        for (qsizetype at = line.indexOf(scope.element, 0, Qt::CaseInsensitive); at >= 0;
             at = line.indexOf(scope.element, at + 1, Qt::CaseInsensitive)) {
            if (at > 0 && (line[at - 1] == u'<' || line[at - 1] == u'/')) {
                return true;
            }
        }
    }
    return false;
}

void readLanguages(QStringView line, const QList<HtmlSpan>& spans, TextLanguages& languages,
                   QList<LanguageChange>* changes) {
    bool langValue = false;         // the next value is the lang attribute's
    bool fromLangAttribute = false; // lang itself, which xml:lang gives way to
    const auto changed = [&](qsizetype column, const QString& before) {
        if (changes && languages.language() != before) {
            changes->append({column, languages.language()});
        }
    };
    // The tag's ">" at column: what the tag does to the open elements.
    const auto tagEnds = [&](qsizetype column, bool selfClosing) {
        const QString before = languages.language();
        const QString name = languages.tag;
        QList<LanguageScope>& open = languages.open;
        const auto innermost = std::find_if(
            open.rbegin(), open.rend(), [&](const LanguageScope& s) { return s.element == name; });
        if (languages.endTag) {
            if (innermost != open.rend() && --innermost->depth == 0) {
                open.erase(std::prev(innermost.base()), open.end());
            }
        } else if (!selfClosing && !listed(kVoidElements, name)) {
            if (listed(kOptionalEnd, name) && !open.isEmpty() && open.last().element == name &&
                open.last().depth == 1) {
                open.removeLast(); // <p lang="en">…<p>: the first one ends here
            } else if (innermost != open.rend() && !languages.tagHasLanguage) {
                ++innermost->depth;
            }
            if (languages.tagHasLanguage) {
                open.append({name, languages.tagLanguage.trimmed().toLower(), 1});
            }
        }
        languages.tag.clear();
        languages.endTag = false;
        languages.tagHasLanguage = false;
        languages.tagLanguage.clear();
        changed(column, before);
    };
    for (const HtmlSpan& span : spans) {
        const QStringView part = line.sliced(span.start, span.length);
        switch (span.kind) {
        case HtmlKind::Tag:
            for (qsizetype i = 0; i < part.size(); ++i) {
                if (part[i] == u'<') {
                    const bool endTag = i + 1 < part.size() && part[i + 1] == u'/';
                    qsizetype e = i + (endTag ? 2 : 1);
                    const qsizetype nameStart = e;
                    while (e < part.size() && isNameChar(part[e])) {
                        ++e;
                    }
                    languages.tag = part.sliced(nameStart, e - nameStart).toString().toLower();
                    languages.endTag = endTag && !languages.tag.isEmpty();
                    languages.tagHasLanguage = false;
                    languages.tagLanguage.clear();
                    i = e - 1;
                } else if (part[i] == u'>' && !languages.tag.isEmpty()) {
                    tagEnds(span.start + i + 1, i > 0 && part[i - 1] == u'/');
                }
            }
            langValue = false;
            break;
        case HtmlKind::AttributeName: {
            const bool lang = part.compare(u"lang", Qt::CaseInsensitive) == 0;
            langValue = !languages.tag.isEmpty() && !languages.endTag &&
                        (lang || part.compare(u"xml:lang", Qt::CaseInsensitive) == 0);
            if (langValue && !(languages.tagHasLanguage && fromLangAttribute && !lang)) {
                // lang="" until its value says otherwise; lang wins over xml:lang.
                languages.tagHasLanguage = true;
                languages.tagLanguage.clear();
                fromLangAttribute = lang;
            } else {
                langValue = false;
            }
            break;
        }
        case HtmlKind::AttributeValue:
            if (langValue) {
                QStringView value = part;
                if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                    value.back() == value.front()) {
                    value = value.sliced(1, value.size() - 2);
                }
                languages.tagLanguage = value.toString();
            }
            langValue = false;
            break;
        default:
            break;
        }
    }
}

QStringList dictionaryNames(QStringView language) {
    const qsizetype dash = language.indexOf(u'-');
    const QStringView primary = dash < 0 ? language : language.first(dash);
    const QString code = primary.toString().toLower();
    if (!isAsciiWord(primary) || primary.size() > 3) {
        return {};
    }
    QStringList names;
    if (dash >= 0) {
        const QStringView rest = language.sliced(dash + 1);
        const qsizetype end = rest.indexOf(u'-');
        const QStringView region = end < 0 ? rest : rest.first(end);
        if (region.size() == 2 && isAsciiWord(region)) {
            names << code + u'_' + region.toString().toUpper();
        }
    }
    const auto usual = std::find_if(kUsual.begin(), kUsual.end(),
                                    [&](const UsualDictionary& u) { return u.language == code; });
    names << (usual != kUsual.end() ? usual->dictionary.toString() : code + u'_' + code.toUpper());
    names.removeDuplicates();
    return names;
}

} // namespace zelvar
