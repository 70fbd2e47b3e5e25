// How text and the window look: the font and the colour of the selected
// characters (or of the editor's default format when nothing is selected),
// the main window's colour, the word wrap of the shown page and the HTML
// colouring of all pages.

#include <QAction>
#include <QApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <array>

#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "ground/commands.h"
#include "ground/pagerecord.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/settings.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

// A cursor just after the first selected character: its format is the
// selection's.
QTextCharFormat selectionFormat(const Editor& editor) {
    QTextCursor first(editor.document());
    first.setPosition(editor.textCursor().selectionStart() + 1);
    return first.charFormat();
}

QFont targetFont(const Editor& editor) {
    const QFont base = editor.document()->defaultFont();
    if (editor.selLength() > 0) {
        return selectionFormat(editor).font().resolve(base);
    }
    return base;
}

QColor targetColor(const Editor& editor) {
    if (editor.selLength() > 0) {
        return editor.colourOf(selectionFormat(editor));
    }
    return editor.defaultColour();
}

void mergeIntoSelection(Editor& editor, const QTextCharFormat& format) {
    QTextCursor cursor = editor.textCursor();
    cursor.mergeCharFormat(format);
}

// Font: the message first, then the dialog preset from the target; a
// confirmed font goes into the target, a cancelled dialog changes nothing.
void chooseFont(Workspace& form, Editor& editor) {
    form.patterns().message("Písmo...");
    QFont font = targetFont(editor);
    if (!form.platform().dialogs->chooseFont(&form.mainWindow(), font)) {
        return;
    }
    if (editor.selLength() > 0) {
        QTextCharFormat format;
        format.setFont(font);
        mergeIntoSelection(editor, format);
    } else {
        // The widget's font is the document's default format: every
        // character without a font of its own shows it.
        editor.setFont(font);
    }
}

void chooseColour(Workspace& form, Editor& editor) {
    form.patterns().message("Barva...");
    QColor colour = targetColor(editor);
    if (!form.platform().dialogs->chooseColor(&form.mainWindow(), colour)) {
        return;
    }
    if (editor.selLength() > 0) {
        mergeIntoSelection(editor, Editor::ownColourFormat(colour));
    } else {
        // The default colour goes into the text itself, so that saving and
        // printing keep it.
        editor.setDefaultColour(colour);
    }
}

// The five window colours. Three follow the desktop theme through the
// matching palette roles, read when the item is chosen; the two roles that
// Qt's palette lacks get fixed colours.
QColor themeColour(QPalette::ColorRole role) {
    return QApplication::palette().color(QPalette::Active, role);
}

struct WindowColour {
    const char* item;
    QColor (*colour)();
};

const std::array<WindowColour, 5> kWindowColours{{
    // Button face: the window's usual background.
    {"Color11", [] { return themeColour(QPalette::Button); }},
    // Inactive window border: a light warm grey.
    {"Color21", [] { return QColor(212, 208, 200); }},
    // Button highlight: the light edge of a raised button.
    {"Color31", [] { return themeColour(QPalette::Light); }},
    // Tooltip background.
    {"Color41", [] { return themeColour(QPalette::ToolTipBase); }},
    // Inactive caption text: a pale blue.
    {"Color51", [] { return QColor(216, 228, 248); }},
}};

void setWindowColour(Workspace& form, const WindowColour& chosen) {
    // One item is checked at a time.
    for (const WindowColour& c : kWindowColours) {
        form.action(c.item)->setChecked(&c == &chosen);
    }
    // Controls that take their background from the window follow it; the
    // editors draw theirs in their own base role and keep it.
    QPalette palette = form.mainWindow().palette();
    palette.setColor(QPalette::Window, chosen.colour());
    form.mainWindow().setPalette(palette);
    form.patterns().message("Změna vzhledu...");
}

constexpr const char* kColouringSetting = "view/colouring";

// The window shows the shown page's state in the item's mark and the
// indicator.
void toggleWordWrap(Workspace& form) {
    Editor* editor = form.activeEditor();
    editor->setWordWrap(!editor->wordWrap());
    form.patterns().message("Zalamování řádků...");
}

// The item is checkable: choosing it has flipped its mark, which the pages
// follow.
constexpr const char* kLineNumbersSetting = "view/linenumbers";

void showLineNumbers(Workspace& form, bool on) {
    for (const PageSlot& slot : kPageSlots) {
        form.editor(slot.number)->setLineNumbersShown(on);
    }
}

void colourSyntax(Workspace& form, bool on) {
    for (const PageSlot& slot : kPageSlots) {
        HtmlHighlighter::of(form.editor(slot.number))->setEnabled(on);
    }
    form.settings().setFlag(kColouringSetting, on);
}

void toggleSyntaxColours(Workspace& form) {
    colourSyntax(form, form.action("Zvrazovatsyntaxi1")->isChecked());
    form.patterns().message("Zvýrazňovat syntaxi...");
}

} // namespace

void installAppearanceCommands(Workspace& form) {
    for (const char* control : {"Psmo1", "Psmo2", "SpeedButton48"}) {
        form.on(control, [&form] { chooseFont(form, *form.activeEditor()); });
    }
    form.on("Psmo3", [&form] { chooseFont(form, *form.notesEditor()); });
    for (const char* control : {"Barva1", "Pozad1", "SpeedButton49"}) {
        form.on(control, [&form] { chooseColour(form, *form.activeEditor()); });
    }
    form.on("Pozad2", [&form] { chooseColour(form, *form.notesEditor()); });
    for (const WindowColour& c : kWindowColours) {
        form.on(c.item, [&form, &c] { setWindowColour(form, c); });
    }
    form.on("Zalamovndk1", [&form] { toggleWordWrap(form); });
    form.on("Zvrazovatsyntaxi1", [&form] { toggleSyntaxColours(form); });
    form.on("sladk1", [&form] {
        const bool on = form.action("sladk1")->isChecked();
        showLineNumbers(form, on);
        form.settings().setFlag(kLineNumbersSetting, on);
        form.patterns().message("Čísla řádků...");
    });
    // The line numbers stay as the user last chose them.
    const bool numbered = form.settings().flag(kLineNumbersSetting, true);
    form.action("sladk1")->setChecked(numbered);
    showLineNumbers(form, numbered);
    // The colours stay as the user last chose them.
    if (!form.settings().flag(kColouringSetting, true)) {
        form.action("Zvrazovatsyntaxi1")->setChecked(false);
        colourSyntax(form, false);
    }
    // A style sheet or a script is coloured as one by its file's name.
    QObject::connect(&form.pageEvents(), &PageEvents::fileChanged, &form.mainWindow(),
                     [&form](int slot) {
                         HtmlHighlighter::of(form.editor(slot))
                             ->setLanguage(pageLanguage(form.pageRecord(slot).file));
                     });
}

} // namespace zelvar
