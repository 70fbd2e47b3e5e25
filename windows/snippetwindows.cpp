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
#include "ground/workspace.h"

namespace zelvar {

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The site's name as the favourites folder shows it.
constexpr const char* kFavouritesTitle = "Zelvar - editor HTML";

struct SnippetWindow {
    const char* form;
    const char* menuItem;
    const char* copyButton;
    const char* closeButton;
    const char* description; // Label1, UTF-8
    const char* message;     // written after the window has closed, UTF-8
    QStringList lines;
};

QStringList movingText() {
    return {
        u("<span style=\"font-weight: 400\"><font size=\"1\" face=\"Verdana\">"),
        u("<strong><marquee height=\"10\" width=\"80%\">Pohybující se text ! <FONT "
          "COLOR=\"#A80000\">A dokonce se pohybuje !</FONT>!</marquee></strong></A>"),
    };
}

// Every line but the empty ones and the last ends with a blank.
QStringList colourChange() {
    return {
        u("<script> "),
        u("<!-- "),
        u("var ua=navigator.userAgent; "),
        u("var v=navigator.appVersion.substring(0,1); "),
        u(""),
        u("if ((ua.lastIndexOf(\"MSIE\")!=-1) && (v!=\"1\") && (v!=\"2\") && (v!=\"3\")) "),
        u("{ "),
        u("   document.body.onmouseover=makeCool; "),
        u("   document.body.onmouseout=makeNormal; "),
        u("} "),
        u(""),
        u("function makeCool() "),
        u("{ "),
        u(""),
        u("   src=event.toElement; "),
        u("   if (src.tagName==\"A\") "),
        u("   { "),
        u("      src.oldcol=src.style.color; "),
        u("      src.style.color=\"FFFFFF\"; "),
        u("   } "),
        u("} "),
        u(""),
        u("function makeNormal() "),
        u("{ "),
        u("   src=event.fromElement; "),
        u("   if (src.tagName==\"A\") src.style.color=src.oldcol; "),
        u("} "),
        u("// --> "),
        u("</script>"),
    };
}

// The indents are two blanks followed by tab characters.
QStringList clock() {
    return {
        u("<SCRIPT language=VBScript type=text/vbscript>"),
        u("  <!--"),
        u("  \t'--- Vypsat element s hodinami"),
        u("  \tDocument.Write \"<SPAN ID=\"\"span_Timer\"\">\" & Now() & \"</SPAN>\""),
        u("  "),
        u("  \t'--- Nastavit první timeout na vteřinu"),
        u("  \tSetTimeout \"UpdateTimer()\", 1000"),
        u("  "),
        u("  \t'--- Funkce pro aktualizaci času v prvku span_Timer"),
        u("  \tFunction UpdateTimer()"),
        u("  \t\tspan_Timer.InnerText = Now()"),
        u("  \t\t' Znovu zavolat za jednu vteřinu"),
        u("  \t\tSetTimeout \"UpdateTimer()\", 1000"),
        u("  \tEnd Function"),
        u("  -->"),
        u("          </SCRIPT>"),
    };
}

QStringList homePage() {
    return {
        u("<A href=\"index.html\" TARGET=\"obsah\" "),
        u("onClick=\"javascript:this.style.behavior='url(#default#homepage)';this.setHomePage('") +
            u(kHomePageAddress) + u("');\"> "),
        u("<IMG SRC=\"home.jpg\" WIDTH=32 HEIGHT=32></A>"),
    };
}

QStringList favourites() {
    return {
        u("<a style=\"text-decoration: none; color: RGB(120,040,032);\" href=\"javascript: "
          "window.external.AddFavorite ('") +
            u(kHomePageAddress) + u("', '") + u(kFavouritesTitle) +
            u("');\"><IMG SRC=\"fordres.jpg\" WIDTH=32 HEIGHT=32></a>"),
    };
}

const std::array<SnippetWindow, 5>& snippetWindows() {
    static const std::array<SnippetWindow, 5> table{{
        {"TForm3", "Pohybujcsetext1", "Button2", "Button3",
         "Pohybující se text. Opakovaně (ve smyčce).", "Text v pohybu...", movingText()},
        {"TForm4", "Zmnabarvy1", "Button2", "Button3",
         "Po najetí myší na odkaz dojde ke změně jeho barvy.", "Změna barvy...", colourChange()},
        {"TForm6", "Datumas1", "Button1", "Button2", "Aktuální datum a čas.", "Datum a čas...",
         clock()},
        {"TForm7", "Domovskstrnka1", "Button2", "Button1", "Nastavení dané stránky jako domovské.",
         "Domovská stránka...", homePage()},
        {"TForm8", "Pidatkoblbenm1", "Button2", "Button1", "Přidání stránky do složky Oblíbené.",
         "Přidat k oblíbeným...", favourites()},
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
    auto* b = new QPushButton(u(caption), window);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(u(hint));
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

    auto* description = new QLabel(u(s.description), window);
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

void buildSnippetWindows(Workspace& form) {
    for (const SnippetWindow& s : snippetWindows()) {
        if (auto* window = form.mainWindow().findChild<QDialog*>(QLatin1String(s.form))) {
            buildSnippetWindow(window, s);
        }
    }
}

// Each menu item shows its window modally; the message follows only when the
// window has closed, by its close button or by its close box.
void installSnippetWindows(Workspace& form) {
    for (const SnippetWindow& s : snippetWindows()) {
        form.on(s.menuItem, [&form, &s] {
            if (auto* window = form.mainWindow().findChild<QDialog*>(QLatin1String(s.form))) {
                window->exec();
            }
            form.patterns().message(s.message);
        });
    }
}

} // namespace zelvar
