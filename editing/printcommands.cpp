// Printing the shown page and the printer set-up.

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <memory>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

// The selected part of the editor's text, with its formatting, as a
// document of its own.
std::unique_ptr<QTextDocument> selectionDocument(const Editor& editor) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(editor.document()->defaultFont());
    doc->setDefaultTextOption(editor.document()->defaultTextOption());
    QTextCursor(doc.get()).insertFragment(QTextDocumentFragment(editor.textCursor()));
    return doc;
}

// Without a printer nothing can be printed or set up: the user is told so
// and no dialog pretends otherwise.
bool printerInstalled(Workspace& form) {
    if (form.platform().printing->hasPrinter()) {
        return true;
    }
    form.patterns().notice(text::kNoPrinter);
    return false;
}

// The whole text of the shown page, the selection or the pages the user
// chose in the dialog, as one job. A cancelled dialog prints nothing but
// still reports; pages beyond the text are a notice, and a job the printing
// layer refuses is reported as a failure.
void printShownPage(Workspace& form) {
    if (!printerInstalled(form)) {
        return;
    }
    Editor* editor = form.activeEditor();
    Printing& printing = *form.platform().printing;
    const bool hasSelection = editor->textCursor().hasSelection();
    const PrintChoice choice = printing.askPrint(&form.mainWindow(), hasSelection);
    if (choice.accepted) {
        std::unique_ptr<QTextDocument> selection;
        if (choice.range == PrintRange::Selection && hasSelection) {
            selection = selectionDocument(*editor);
        }
        PrintJob job{selection ? *selection : *editor->document(), form.printTitle(), {}};
        if (choice.range == PrintRange::Pages) {
            job.pages = choice.pages;
        }
        switch (printing.print(job)) {
        case PrintOutcome::Printed:
            break;
        case PrintOutcome::NothingInRange:
            // Nothing was printed, so nothing says it was.
            form.patterns().notice(text::kNothingInPrintRange);
            return;
        case PrintOutcome::Refused:
            form.patterns().errorReport(text::kPrintFailed, text::kPrintFailedText);
            return;
        }
    }
    form.patterns().message("Tisk...");
}

void printerSetup(Workspace& form) {
    if (!printerInstalled(form)) {
        return;
    }
    form.platform().printing->setup(&form.mainWindow());
    form.patterns().message("Nastavení tisku...");
}

} // namespace

void installPrintCommands(Workspace& form) {
    for (const char* name : {"Tisk1", "SpeedButton46"}) {
        form.on(name, [&form] { printShownPage(form); });
    }
    form.on("Nastaventisku1", [&form] { printerSetup(form); });
}

} // namespace zelvar
