// The Czech wording of Tidy's findings, keyed by Tidy's message keys. %1, %2
// and %3 are Tidy's arguments in the order of its English text: an element as
// Tidy writes it ("<img>", or "img" where the English has "<%s>"), then
// attribute names and values. After "<" or "</" in a text an element stands
// by its name alone, however Tidy wrote it.

#include "text/htmlcheck.h"

#include <QHash>

namespace zelvar {

namespace {

struct CzechMessage {
    const char* key;
    const char* text;
};

constexpr CzechMessage kCzechMessages[] = {
    // End tags, start tags and the structure of the page.
    {"MISSING_ENDTAG_BEFORE", "chybí </%1> před %2"},
    {"MISSING_ENDTAG_FOR", "chybí </%1>"},
    {"MISSING_ENDTAG_OPTIONAL", "chybí nepovinná koncová značka </%1>"},
    {"MISSING_STARTTAG", "chybí <%1>"},
    {"UNEXPECTED_ENDTAG", "nečekaná koncová značka </%1>"},
    {"UNEXPECTED_ENDTAG_ERR", "nečekaná koncová značka </%1>"},
    {"UNEXPECTED_ENDTAG_IN", "nečekaná koncová značka </%1> uvnitř <%2>"},
    {"DISCARDING_UNEXPECTED", "%1 sem nepatří, prohlížeč to vynechá"},
    {"INSERTING_TAG", "chybí <%1>, prohlížeč si ji domyslí"},
    {"NON_MATCHING_ENDTAG", "koncová značka </%1> neodpovídá otevřeným značkám"},
    {"COERCE_TO_ENDTAG", "<%1> má být asi </%2>"},
    {"ELEMENT_NOT_EMPTY", "%1 není prázdná nebo není uzavřená"},
    {"CONTENT_AFTER_BODY", "obsah za koncem <body>"},
    {"UNEXPECTED_END_OF_FILE", "stránka končí uprostřed %1"},
    {"UNEXPECTED_END_OF_FILE_ATTR", "%1: stránka končí uprostřed atributů"},
    {"MISSING_TITLE_ELEMENT", "chybí název stránky (<title>)"},
    {"MISSING_DOCTYPE", "chybí deklarace <!DOCTYPE>"},
    {"DOCTYPE_AFTER_TAGS", "<!DOCTYPE> smí být jen na začátku stránky"},
    {"MALFORMED_DOCTYPE", "chybná deklarace <!DOCTYPE>"},
    {"DUPLICATE_FRAMESET", "opakovaný <frameset>"},
    {"PREVIOUS_LOCATION", "<%1> už je uvedena výše"},
    {"NOFRAMES_CONTENT", "%1 není uvnitř <noframes>"},
    {"FOUND_STYLE_IN_BODY", "<style> uvnitř <body>; patří do <head>"},
    {"MOVED_STYLE_TO_HEAD", "<style> uvnitř <body>; patří do <head>"},
    {"XML_DECLARATION_DETECTED", "stránka začíná deklarací XML"},
    // Nesting.
    {"NESTED_EMPHASIS", "vnořené zvýraznění %1"},
    {"ILLEGAL_NESTING", "%1 nemá být vnořená"},
    {"CANT_BE_NESTED", "%1 nelze vnořit"},
    {"NESTED_QUOTATION", "vnořené značky <q>, možná překlep"},
    {"TAG_NOT_ALLOWED_IN", "%1 nesmí být uvnitř <%2>"},
    {"TOO_MANY_ELEMENTS_IN", "příliš mnoho značek %1 v <%2>"},
    {"TOO_MANY_ELEMENTS", "příliš mnoho značek %1"},
    {"TRIM_EMPTY_ELEMENT", "prázdná značka %1"},
    // Unknown, proprietary and obsolete elements.
    {"UNKNOWN_ELEMENT", "neznámá značka %1"},
    {"UNKNOWN_ELEMENT_LOOKS_CUSTOM", "neznámá značka %1"},
    {"PROPRIETARY_ELEMENT", "nestandardní značka %1"},
    {"REMOVED_HTML5", "značka %1 v HTML5 už není"},
    {"ELEMENT_VERS_MISMATCH_ERROR", "značka %1 v %2 není"},
    {"ELEMENT_VERS_MISMATCH_WARN", "značka %1 v %2 není"},
    {"OBSOLETE_ELEMENT", "zastaralá značka %1, místo ní %2"},
    {"REPLACING_ELEMENT", "%1 má být %2"},
    {"REPLACING_UNEX_ELEMENT", "nečekaná značka %1, má být %2"},
    {"USING_BR_INPLACE_OF", "místo %1 má být <br>"},
    // Attributes.
    {"MISSING_ATTRIBUTE", "%1 nemá atribut „%2“"},
    {"MISSING_ATTR_VALUE", "%1: atribut „%2“ nemá hodnotu"},
    {"MISSING_QUOTEMARK_OPEN", "hodnota atributu „%1“ není v uvozovkách"},
    {"MISSING_QUOTEMARK", "%1: hodnotě atributu chybí koncová uvozovka"},
    {"SUSPECTED_MISSING_QUOTE", "hodnotě atributu asi chybí uvozovka"},
    {"UNEXPECTED_QUOTEMARK", "%1: nečekaná nebo zdvojená uvozovka"},
    {"UNEXPECTED_EQUALSIGN", "%1: nečekané „=“, má být název atributu"},
    {"UNEXPECTED_GT", "%1: značce chybí koncové „>“"},
    {"REPEATED_ATTRIBUTE", "%1: opakovaný atribut „%3“, hodnota „%2“ se nepoužije"},
    {"JOINING_ATTRIBUTE", "%1: opakovaný atribut „%2“"},
    {"PROPRIETARY_ATTRIBUTE", "%1: nestandardní atribut „%2“"},
    {"PROPRIETARY_ATTR_VALUE", "%1: nestandardní hodnota atributu „%2“"},
    {"MISMATCHED_ATTRIBUTE_WARN", "%1: atribut „%2“ v %3 není povolen"},
    {"MISMATCHED_ATTRIBUTE_ERROR", "%1: atribut „%2“ v %3 není povolen"},
    {"BAD_ATTRIBUTE_VALUE", "%1: atribut „%2“ má neplatnou hodnotu „%3“"},
    {"BAD_ATTRIBUTE_VALUE_REPLACED", "%1: atribut „%2“ má neplatnou hodnotu „%3“"},
    {"ATTRIBUTE_VALUE_REPLACED", "%1: atribut „%2“ má chybnou hodnotu „%3“"},
    {"INVALID_ATTRIBUTE", "%1: neplatný název atributu „%2“ (hodnota „%3“)"},
    {"ATTR_VALUE_NOT_LCASE", "%1: hodnota atributu „%2“ má být v XHTML malými písmeny"},
    {"ANCHOR_NOT_UNIQUE", "%1: kotva „%2“ už na stránce je"},
    {"ID_NAME_MISMATCH", "%1: atributy id a name mají různé hodnoty"},
    {"BAD_SUMMARY_HTML5", "atribut summary u %1 je v HTML5 zastaralý"},
    {"ATTRIBUTE_IS_NOT_ALLOWED", "%1: atribut „is“ u vlastní značky nesmí být"},
    {"XML_ID_SYNTAX", "%1: ID „%2“ je zapsáno podle XML"},
    // Characters, entities and addresses.
    {"UNKNOWN_ENTITY", "znak & bez zápisu &amp; nebo neznámá entita „%1“"},
    {"UNESCAPED_AMPERSAND", "znak & má být zapsán jako &amp;"},
    {"MISSING_SEMICOLON", "entita „%1“ nekončí středníkem"},
    {"MISSING_SEMICOLON_NCR", "číselný odkaz na znak „%1“ nekončí středníkem"},
    {"APOS_UNDEFINED", "entita &apos; platí jen v XML a XHTML"},
    {"INVALID_NCR", "%1: neplatný číselný odkaz na znak %2"},
    {"INVALID_SGML_CHARS", "%1: neplatný kód znaku %2"},
    {"VENDOR_SPECIFIC_CHARS", "%1: neplatný kód znaku %2"},
    {"INVALID_UTF8", "%1: neplatné bajty UTF-8 (kód znaku %2)"},
    {"BAD_CDATA_CONTENT", "„</“ s písmenem zde být nesmí"},
    {"MALFORMED_COMMENT", "dvě pomlčky „--“ uvnitř komentáře"},
    {"MALFORMED_COMMENT_WARN", "dvě pomlčky „--“ uvnitř komentáře"},
    {"MALFORMED_COMMENT_DROPPING", "komentáři chybí druhá pomlčka"},
    {"MALFORMED_COMMENT_EOS", "stránka končí uprostřed komentáře"},
    {"ILLEGAL_URI_REFERENCE", "%1: adresa obsahuje nepovolené znaky"},
    {"ILLEGAL_URI_CODEPOINT", "%1: adresa obsahuje nepovolené znaky"},
    {"ESCAPED_ILLEGAL_URI", "%1: chybně zapsaná adresa"},
    {"BACKSLASH_IN_URI", "%1: zpětné lomítko v adrese, možná překlep"},
    {"FIXED_BACKSLASH", "%1: zpětné lomítko v adrese"},
    {"WHITE_IN_URI", "%1: mezera v adrese"},
    {"NEWLINE_IN_URI", "%1: konec řádku v adrese"},
    {"ENCODING_MISMATCH", "zadané kódování (%1) neodpovídá skutečnému (%2)"},
};

} // namespace

QString czechMessage(const HtmlFinding& finding) {
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> hash;
        for (const CzechMessage& message : kCzechMessages) {
            hash.insert(QString::fromLatin1(message.key), QString::fromUtf8(message.text));
        }
        return hash;
    }();
    const auto found = table.constFind(finding.key);
    if (found == table.cend()) {
        return finding.english;
    }
    // One pass, so that a name from the page that holds "%2" stays as it is.
    const QString& text = *found;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int n = i + 1 < text.size() ? text[i + 1].digitValue() : -1;
        if (text[i] != u'%' || n < 1) {
            out += text[i];
        } else if (n <= finding.arguments.size()) {
            QString argument = finding.arguments.at(n - 1);
            if (argument == u"plain text") { // Tidy's name for text between tags
                argument = QStringLiteral("text");
            }
            if (out.endsWith(u'<') || out.endsWith(u"</")) {
                argument.remove(u'<').remove(u'/').remove(u'>');
            }
            out += argument;
            ++i;
        } else {
            return finding.english; // not the arguments the text expects
        }
    }
    return out;
}

QString kindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::Error:
        return QString::fromUtf8("Chyba");
    case FindingKind::Warning:
        return QString::fromUtf8("Varování");
    case FindingKind::Info:
        break;
    }
    return QString::fromUtf8("Informace");
}

} // namespace zelvar
