// The fixed-snippet buttons: each inserts one constant piece of HTML into the
// shown page, with the line insertion or the text insertion, and writes its
// message. The snippets are exact to the byte, inner quotes included; the
// image snippet's double quote after BORDER=0 and the single blanks between
// the table's row groups are meant. With Formát > Vkládat kolem výběru
// checked, they go in the modern way: in lower case, a pair of tags around
// the selection, and at the caret.

#include <QAction>
#include <QRegularExpression>
#include <QString>
#include <QTextCursor>
#include <array>
#include <optional>
#include <utility>

#include "editor/editor.h"
#include "ground/addresses.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "ground/toggles.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

enum class Primitive {
    Line, // after CaretPos, within the caret line
    Text, // at SelStart, within the whole text
};

struct FixedSnippet {
    const char* button;
    QString snippet;
    Primitive primitive;
    const char* message; // UTF-8
};

using enum Primitive;

const std::array<FixedSnippet, 37>& fixedSnippets() {
    static const std::array<FixedSnippet, 37> table{{
        // Text style.
        {"SpeedButton50", text::q("<B></B>"), Line, "Tučný text..."},
        {"SpeedButton51", text::q("<I></I>"), Line, "Kurzíva..."},
        {"SpeedButton52", text::q("<U></U>"), Line, "Podtržený text..."},
        {"SpeedButton53", text::q("<STRIKE></STRIKE>"), Line, "Přeškrtnutý text..."},
        {"SpeedButton54", text::q("<FONT FACE=\"Verdana\" SIZE=2 COLOR=\"#000000\"></FONT>"), Line,
         "Font..."},
        {"SpeedButton1", text::q("<BR>"), Line, "Konec řádku..."},
        {"SpeedButton2", text::q("<HR SIZE=1 WIDTH=500 ALIGN=\"CENTER\" COLOR=\"#000000\">"), Line,
         "Vodorovná čára..."},
        {"SpeedButton3", text::q("<H3></H3>"), Line, "Nadpis..."},
        {"SpeedButton4", text::q("&nbsp;"), Line, "Mezera..."},
        // Placement.
        {"SpeedButton5", text::q("<P ALIGN=\"LEFT\"></P>"), Text, "Zarovnání vlevo..."},
        {"SpeedButton6", text::q("<P ALIGN=\"CENTER\"></P>"), Text, "Zarovnání střed..."},
        {"SpeedButton7", text::q("<P ALIGN=\"RIGHT\"></P>"), Text, "Zarovnání vpravo..."},
        {"SpeedButton8", text::q("<P ALIGN=\"JUSTIFY\">"), Text, "Rozložit..."},
        {"SpeedButton9", text::q("<CENTER></CENTER>"), Line, "Centrování..."},
        {"SpeedButton10", text::q("<P>"), Text, "Odstavec..."},
        // Special characters.
        {"SpeedButton11", text::q("&copy;"), Line, "Copyright..."},
        {"SpeedButton12", text::q("&reg;"), Line, "Registered..."},
        {"SpeedButton13", text::q("&#153;"), Line, "Trade mark..."},
        {"SpeedButton14", text::q("&lt;"), Line, "Znak: <..."},
        {"SpeedButton15", text::q("&gt;"), Line, "Znak: >..."},
        {"SpeedButton16", text::q("&amp;"), Line, "Znak: and..."},
        {"SpeedButton17", text::q("&quot;"), Line, "Znak: \"..."},
        {"SpeedButton18", text::q("&sect;"), Line, "Paragraf..."},
        {"SpeedButton19", text::q("<SUP></SUP>"), Line, "Horní index..."},
        {"SpeedButton20", text::q("<SUB></SUB>"), Line, "Dolní index..."},
        {"SpeedButton21", text::q("<UL><LI>Položka1<LI>Položka2<LI>Položka3</UL>"), Text,
         "Netříděný seznam..."},
        {"SpeedButton22", text::q("<OL><LI>Položka<LI>Položka<LI>Položka</OL>"), Text,
         "Tříděný seznam..."},
        // Links, image, table, sound, definitions.
        {"SpeedButton23",
         text::q("<A HREF=\"") + text::q(kHomePageAddress) +
             text::q("\" TARGET=\"_blank\">ODKAZ</A>"),
         Line, "Odkaz..."},
        {"SpeedButton24",
         text::q(
             "<A HREF=\"FILE://C:/Documents and Settings/Pelmar 2/Plocha/logo1.gif\">ODKAZ</A>"),
         Line, "Odkaz na vybraný text..."},
        {"SpeedButton25",
         text::q(
             "<IMG SRC=\"FILE://C:/Documents and Settings/Pelmar 2/Plocha/logo1.gif\" WIDTH=790 "
             "HEIGHT=120 ALT=\"Logo\" BORDER=0\">"),
         Line, "Obrázek..."},
        {"SpeedButton26",
         text::q("<TABLE BORDER=1><CAPTION>Tabulka_1</CAPTION> <TR><TH><TH><TH> <TR><TH><TD><TD> "
                 "<TR><TH><TD><TD> <TR><TH><TD><TD> <TR><TH><TD><TD> </TABLE>"),
         Text, "Tabulka..."},
        {"SpeedButton27",
         text::q("<BGSOUND LOOP=\"infinite\" DELAY=1 SRC=\"FILE://C:/Documents and "
                 "Settings/Pelmar/Plocha/webside ll/radio.wav\">"),
         Text, "Hudba na pozadí..."},
        {"SpeedButton28", text::q("<DL><DT>Položka<DD></DL>"), Text, "Seznam definic..."},
        // Frame targets: the attribute alone, no blank around it.
        {"SpeedButton55", text::q("TARGET=\"_top\""), Line, "Cíl: _top..."},
        {"SpeedButton56", text::q("TARGET=\"_parent\""), Line, "Cíl: _parent..."},
        {"SpeedButton57", text::q("TARGET=\"_self\""), Line, "Cíl: _self..."},
        {"SpeedButton58", text::q("TARGET=\"_blank\""), Line, "Cíl: _blank..."},
    }};
    return table;
}

constexpr const char* kAroundItem = "Vkldatkolemvbru1";
constexpr const char* kAroundSetting = "edit/aroundselection";

// The markup of a snippet in lower case: names of elements and attributes,
// not quoted values nor the text between tags.
QString lowerCaseMarkup(const QString& snippet) {
    QString out = snippet;
    bool inTag = false;
    QChar quote;
    for (QChar& c : out) {
        if (!quote.isNull()) {
            quote = c == quote ? QChar() : quote;
        } else if (c == u'<') {
            inTag = true;
        } else if (c == u'>') {
            inTag = false;
        } else if (inTag && (c == u'"' || c == u'\'')) {
            quote = c;
        } else if (inTag) {
            c = c.toLower();
        }
    }
    return out;
}

// "<B></B>": the start tag and the end tag of an empty pair; nothing for
// other snippets.
std::optional<std::pair<QString, QString>> tagPair(const QString& snippet) {
    static const QRegularExpression pair(QStringLiteral("^(<([A-Za-z0-9]+)[^<>]*>)(</\\2>)$"));
    const QRegularExpressionMatch m = pair.match(snippet);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    return std::pair{m.captured(1), m.captured(3)};
}

// The modern way: a pair around the selection, or the caret between its
// tags; any other snippet at the caret, the caret after it; one undo step.
void insertAround(Editor& editor, const QString& snippet) {
    const QString modern = lowerCaseMarkup(snippet);
    QTextCursor caret = editor.textCursor();
    caret.beginEditBlock();
    if (const auto pair = tagPair(modern)) {
        const int start = caret.selectionStart();
        const int end = caret.selectionEnd();
        caret.setPosition(end);
        caret.insertText(pair->second);
        caret.setPosition(start);
        caret.insertText(pair->first);
        caret.setPosition(end + int(pair->first.size()) +
                          (start == end ? 0 : int(pair->second.size())));
    } else {
        caret.setPosition(caret.position());
        caret.insertText(modern);
    }
    caret.endEditBlock();
    editor.setTextCursor(caret);
    editor.setFocus(Qt::OtherFocusReason);
}

} // namespace

void installSnippetCommands(Workspace& form) {
    lastingToggle(form, kAroundItem, kAroundSetting, false, "Vkládat kolem výběru...");
    QAction* around = form.action(kAroundItem);
    for (const FixedSnippet& s : fixedSnippets()) {
        form.on(s.button, [&form, &s, around] {
            Editor* editor = form.activeEditor();
            if (around->isChecked()) {
                insertAround(*editor, s.snippet);
            } else if (s.primitive == Line) {
                editor->insertInCaretLine(s.snippet);
            } else {
                editor->insertAtSelStart(s.snippet);
            }
            form.patterns().message(s.message);
        });
    }
}

} // namespace zelvar
