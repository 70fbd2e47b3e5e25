#include "text/htmlnames.h"

#include <algorithm>
#include <array>

namespace zelvar {

namespace {

struct ElementRow {
    const char* name;
    const char* attributes; // its own, blank-separated
};

// The elements of the HTML standard (the Living Standard's index of
// elements, with svg and math for the foreign content), each with the
// attributes the standard gives it besides the global ones.
constexpr std::array<ElementRow, 114> kElements{{
    {"a", "href target download ping rel hreflang type referrerpolicy"},
    {"abbr", ""},
    {"address", ""},
    {"area", "alt coords shape href target download ping rel referrerpolicy"},
    {"article", ""},
    {"aside", ""},
    {"audio", "src crossorigin preload autoplay loop muted controls"},
    {"b", ""},
    {"base", "href target"},
    {"bdi", ""},
    {"bdo", ""},
    {"blockquote", "cite"},
    {"body", ""},
    {"br", ""},
    {"button", "command commandfor disabled form formaction formenctype formmethod "
               "formnovalidate formtarget name popovertarget popovertargetaction type value"},
    {"canvas", "width height"},
    {"caption", ""},
    {"cite", ""},
    {"code", ""},
    {"col", "span"},
    {"colgroup", "span"},
    {"data", "value"},
    {"datalist", ""},
    {"dd", ""},
    {"del", "cite datetime"},
    {"details", "name open"},
    {"dfn", ""},
    {"dialog", "closedby open"},
    {"div", ""},
    {"dl", ""},
    {"dt", ""},
    {"em", ""},
    {"embed", "src type width height"},
    {"fieldset", "disabled form name"},
    {"figcaption", ""},
    {"figure", ""},
    {"footer", ""},
    {"form", "accept-charset action autocomplete enctype method name novalidate target rel"},
    {"h1", ""},
    {"h2", ""},
    {"h3", ""},
    {"h4", ""},
    {"h5", ""},
    {"h6", ""},
    {"head", ""},
    {"header", ""},
    {"hgroup", ""},
    {"hr", ""},
    {"html", ""},
    {"i", ""},
    {"iframe", "src srcdoc name sandbox allow allowfullscreen width height referrerpolicy "
               "loading"},
    {"img", "alt src srcset sizes crossorigin usemap ismap width height referrerpolicy "
            "decoding loading fetchpriority"},
    {"input", "accept alpha alt autocomplete checked colorspace dirname disabled form "
              "formaction formenctype formmethod formnovalidate formtarget height list max "
              "maxlength min minlength multiple name pattern placeholder popovertarget "
              "popovertargetaction readonly required size src step type value width"},
    {"ins", "cite datetime"},
    {"kbd", ""},
    {"label", "for"},
    {"legend", ""},
    {"li", "value"},
    {"link", "href crossorigin rel as media hreflang type sizes imagesrcset imagesizes "
             "referrerpolicy integrity blocking color disabled fetchpriority"},
    {"main", ""},
    {"map", "name"},
    {"mark", ""},
    {"math", ""},
    {"menu", ""},
    {"meta", "name http-equiv content charset media"},
    {"meter", "value min max low high optimum"},
    {"nav", ""},
    {"noscript", ""},
    {"object", "data type name form width height"},
    {"ol", "reversed start type"},
    {"optgroup", "disabled label"},
    {"option", "disabled label selected value"},
    {"output", "for form name"},
    {"p", ""},
    {"picture", ""},
    {"pre", ""},
    {"progress", "value max"},
    {"q", "cite"},
    {"rp", ""},
    {"rt", ""},
    {"ruby", ""},
    {"s", ""},
    {"samp", ""},
    {"script", "src type nomodule async defer crossorigin integrity referrerpolicy blocking "
               "fetchpriority"},
    {"search", ""},
    {"section", ""},
    {"select", "autocomplete disabled form multiple name required size"},
    {"slot", "name"},
    {"small", ""},
    {"source", "type media src srcset sizes width height"},
    {"span", ""},
    {"strong", ""},
    {"style", "media blocking"},
    {"sub", ""},
    {"summary", ""},
    {"sup", ""},
    {"svg", "width height viewBox xmlns"},
    {"table", ""},
    {"tbody", ""},
    {"td", "colspan rowspan headers"},
    {"template", "shadowrootmode shadowrootdelegatesfocus shadowrootclonable "
                 "shadowrootserializable"},
    {"textarea", "autocomplete cols dirname disabled form maxlength minlength name "
                 "placeholder readonly required rows wrap"},
    {"tfoot", ""},
    {"th", "colspan rowspan headers scope abbr"},
    {"thead", ""},
    {"time", "datetime"},
    {"title", ""},
    {"tr", ""},
    {"track", "default kind label src srclang"},
    {"u", ""},
    {"ul", ""},
    {"var", ""},
    {"video", "src crossorigin poster preload autoplay playsinline loop muted controls width "
              "height"},
    {"wbr", ""},
}};

// The attributes every element has.
constexpr const char* kGlobalAttributes =
    "accesskey autocapitalize autocorrect autofocus class contenteditable dir draggable "
    "enterkeyhint hidden id inert inputmode is itemid itemprop itemref itemscope itemtype lang "
    "nonce popover spellcheck style tabindex title translate writingsuggestions "
    "onblur onchange onclick onfocus oninput onkeydown onkeyup onload onmouseout onmouseover "
    "onsubmit data- aria-";

QStringList words(const char* list) {
    return QString::fromLatin1(list).split(u' ', Qt::SkipEmptyParts);
}

} // namespace

QStringList htmlElementNames() {
    QStringList names;
    names.reserve(int(kElements.size()));
    for (const ElementRow& row : kElements) {
        names << QString::fromLatin1(row.name);
    }
    return names;
}

QStringList htmlAttributeNames(QStringView element) {
    const auto row = std::find_if(kElements.begin(), kElements.end(), [&](const ElementRow& r) {
        return element.compare(QLatin1String(r.name), Qt::CaseInsensitive) == 0;
    });
    QStringList names = row == kElements.end() ? QStringList() : words(row->attributes);
    return names + words(kGlobalAttributes);
}

} // namespace zelvar
