// The five snippet windows of the Tools menu. Each shows one ready-made
// script in an editable field; the user selects what he wants, copies it with
// the window's copy button and pastes it into a page himself. The windows are
// alike and differ only in the data of one table: the window, its menu item,
// the names of its two buttons, its description, the message written after
// it closes, and its text.
//
// The texts are exact to the byte: blanks at line ends, the tab characters of
// the clock script and the odd closing </A> of the moving text are meant.

#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <array>

#include "ground/addresses.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/secondarywindow.h"
#include "ground/texts.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

// The site's name as the favourites folder shows it.
constexpr const char* kFavouritesTitle = "Zelvar - editor HTML";

struct SnippetWindow {
    WindowDescription window;
    const char* menuItem;
    const char* copyButton;
    const char* closeButton;
    const char* description; // Label1, UTF-8
    const char* message;     // written after the window has closed, UTF-8
    QStringList lines;
};

QStringList movingText() {
    return {
        text::q("<span style=\"font-weight: 400\"><font size=\"1\" face=\"Verdana\">"),
        text::q("<strong><marquee height=\"10\" width=\"80%\">Pohybující se text ! <FONT "
                "COLOR=\"#A80000\">A dokonce se pohybuje !</FONT>!</marquee></strong></A>"),
    };
}

// Every line but the empty ones and the last ends with a blank.
QStringList colourChange() {
    return {
        text::q("<script> "),
        text::q("<!-- "),
        text::q("var ua=navigator.userAgent; "),
        text::q("var v=navigator.appVersion.substring(0,1); "),
        text::q(""),
        text::q("if ((ua.lastIndexOf(\"MSIE\")!=-1) && (v!=\"1\") && (v!=\"2\") && (v!=\"3\")) "),
        text::q("{ "),
        text::q("   document.body.onmouseover=makeCool; "),
        text::q("   document.body.onmouseout=makeNormal; "),
        text::q("} "),
        text::q(""),
        text::q("function makeCool() "),
        text::q("{ "),
        text::q(""),
        text::q("   src=event.toElement; "),
        text::q("   if (src.tagName==\"A\") "),
        text::q("   { "),
        text::q("      src.oldcol=src.style.color; "),
        text::q("      src.style.color=\"FFFFFF\"; "),
        text::q("   } "),
        text::q("} "),
        text::q(""),
        text::q("function makeNormal() "),
        text::q("{ "),
        text::q("   src=event.fromElement; "),
        text::q("   if (src.tagName==\"A\") src.style.color=src.oldcol; "),
        text::q("} "),
        text::q("// --> "),
        text::q("</script>"),
    };
}

// The indents are two blanks followed by tab characters.
QStringList clock() {
    return {
        text::q("<SCRIPT language=VBScript type=text/vbscript>"),
        text::q("  <!--"),
        text::q("  \t'--- Vypsat element s hodinami"),
        text::q("  \tDocument.Write \"<SPAN ID=\"\"span_Timer\"\">\" & Now() & \"</SPAN>\""),
        text::q("  "),
        text::q("  \t'--- Nastavit první timeout na vteřinu"),
        text::q("  \tSetTimeout \"UpdateTimer()\", 1000"),
        text::q("  "),
        text::q("  \t'--- Funkce pro aktualizaci času v prvku span_Timer"),
        text::q("  \tFunction UpdateTimer()"),
        text::q("  \t\tspan_Timer.InnerText = Now()"),
        text::q("  \t\t' Znovu zavolat za jednu vteřinu"),
        text::q("  \t\tSetTimeout \"UpdateTimer()\", 1000"),
        text::q("  \tEnd Function"),
        text::q("  -->"),
        text::q("          </SCRIPT>"),
    };
}

QStringList homePage() {
    return {
        text::q("<A href=\"index.html\" TARGET=\"obsah\" "),
        text::q("onClick=\"javascript:this.style.behavior='url(#default#homepage)';this."
                "setHomePage('") +
            text::q(kHomePageAddress) + text::q("');\"> "),
        text::q("<IMG SRC=\"home.jpg\" WIDTH=32 HEIGHT=32></A>"),
    };
}

QStringList favourites() {
    return {
        text::q("<a style=\"text-decoration: none; color: RGB(120,040,032);\" href=\"javascript: "
                "window.external.AddFavorite ('") +
            text::q(kHomePageAddress) + text::q("', '") + text::q(kFavouritesTitle) +
            text::q("');\"><IMG SRC=\"fordres.jpg\" WIDTH=32 HEIGHT=32></a>"),
    };
}

const std::array<SnippetWindow, 5>& snippetWindows() {
    static const std::array<SnippetWindow, 5> table{{
        {{"TForm3", ".: Text v pohybu :.", 290, 175, false},
         "Pohybujcsetext1",
         "Button2",
         "Button3",
         "Pohybující se text. Opakovaně (ve smyčce).",
         "Text v pohybu...",
         movingText()},
        {{"TForm4", ".: Změna barvy :.", 290, 175, false},
         "Zmnabarvy1",
         "Button2",
         "Button3",
         "Po najetí myší na odkaz dojde ke změně jeho barvy.",
         "Změna barvy...",
         colourChange()},
        {{"TForm6", ".: Datum a čas :.", 290, 175, false},
         "Datumas1",
         "Button1",
         "Button2",
         "Aktuální datum a čas.",
         "Datum a čas...",
         clock()},
        {{"TForm7", ".: Domovská stránka :.", 290, 175, false},
         "Domovskstrnka1",
         "Button2",
         "Button1",
         "Nastavení dané stránky jako domovské.",
         "Domovská stránka...",
         homePage()},
        {{"TForm8", ".: Přidat k oblíbeným :.", 290, 175, false},
         "Pidatkoblbenm1",
         "Button2",
         "Button1",
         "Přidání stránky do složky Oblíbené.",
         "Přidat k oblíbeným...",
         favourites()},
    }};
    return table;
}

// The snippet field: an editable text whose copy carries plain text only,
// so that a page or another program gets the script as it stands and no
// formatting with it.
class SnippetField final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override {
        QString text = textCursor().selectedText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        auto* data = new QMimeData;
        data->setText(text);
        return data;
    }
};

QPushButton* windowButton(QDialog* window, const char* name, const char* caption, const char* hint,
                          int x) {
    auto* b = new QPushButton(text::q(caption), window);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(text::q(hint));
    b->setAutoDefault(false);
    b->setGeometry(x, 142, 75, 25);
    return b;
}

void buildSnippetWindow(QDialog* window, const SnippetWindow& s) {
    // The field comes first, so it is first in the tab order and takes the
    // focus when the window opens.
    auto* field = new SnippetField(window);
    field->setObjectName(QStringLiteral("RichEdit1"));
    field->setGeometry(8, 8, 273, 113);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(13);
    field->setFont(font);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    field->setTabChangesFocus(false);
    field->setPlainText(s.lines.join(QLatin1Char('\n')));

    auto* description = new QLabel(text::q(s.description), window);
    description->setObjectName(QStringLiteral("Label1"));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont small = description->font();
    small.setPixelSize(11);
    description->setFont(small);
    description->setGeometry(8, 124, 112, 48);

    QPushButton* copy = windowButton(window, s.copyButton, "K&opírovat", "Kopírovat text", 127);
    QPushButton* close = windowButton(window, s.closeButton, "&Konec", "Ukončit formulář", 206);
    // Copies the selection only; with nothing selected the clipboard keeps
    // what it held.
    QObject::connect(copy, &QPushButton::clicked, field, &QPlainTextEdit::copy);
    QObject::connect(close, &QPushButton::clicked, window, &QDialog::reject);
}

} // namespace

// Each menu item shows its window modally; the message follows only when the
// window has closed, by its close button or by its close box.
void installSnippetWindows(Workspace& form) {
    for (const SnippetWindow& s : snippetWindows()) {
        auto* window = new SecondaryWindow(s.window, &form.mainWindow());
        buildSnippetWindow(window, s);
        form.on(s.menuItem, [&form, &s, window] {
            window->exec();
            form.patterns().message(s.message);
        });
    }
}

} // namespace zelvar
