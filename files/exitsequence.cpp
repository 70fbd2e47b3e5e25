#include "files/exitsequence.h"

#include <QCoreApplication>

#include "editor/editor.h"
#include "files/documents.h"
#include "files/preview.h"
#include "ground/commands.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

// Writes every modified page into its backup file (zaloha1.txt ..
// zaloha5.txt in the working folder), in slot order and in the page's
// current form, and then the notes into theirs when they hold text that was
// never loaded or saved. A failed write is reported and the next one
// follows.
void writeBackups(Workspace& form) {
    for (const PageSlot& slot : kPageSlots) {
        Editor* editor = form.editor(slot.number);
        if (!editor->isModifiedFlag()) {
            continue; // an older backup of this page stays as it is
        }
        form.patterns().fileErrorReport(text::kSaveWording, text::kBackupSaveFailed, [&] {
            editor->saveToFile(QLatin1String(slot.backupFile));
        });
    }
    form.writeExitBackups();
}

// Asks about every page that is still modified and saves it into a file of
// the user's choice on Yes. A failure of that save is not caught: it ends
// the questions and reaches the caller.
void askToSavePages(Workspace& form) {
    Documents& documents = Documents::of(form);
    for (const PageSlot& slot : kPageSlots) {
        Editor* editor = form.editor(slot.number);
        if (!editor->isModifiedFlag()) {
            continue;
        }
        const QString question =
            text::q(text::kSavePageQuestion).arg(QLatin1String(slot.questionName));
        if (!form.patterns().askYesNo(question)) {
            continue;
        }
        // The save dialog offers the page's own file, for a page with none
        // the name chosen last, also the one chosen for the previous page.
        const QString name = documents.askSaveName(slot.number);
        if (name.isEmpty()) {
            continue;
        }
        editor->setPlainTextMode(true);
        editor->saveToFile(name);
        editor->markUnchanged();
        setPageFile(form, slot.number, name);
    }
}

// Ends the application's event loop without closing the main window, so
// that the close query does not run again.
void endApplication() {
    QCoreApplication::exit(0);
}

// Backups first, then the questions. False when a save into a chosen file
// failed: the failure has been shown and the program stays open.
bool exitSequence(Workspace& form) {
    bool finished = false;
    form.patterns().guarded([&] {
        writeBackups(form);
        askToSavePages(form);
        finished = true;
    });
    return finished;
}

// File > Konec: a single backup of page 1 and one question.
void quitFromFileMenu(Workspace& form) {
    Patterns& patterns = form.patterns();
    patterns.message("Záloha vytvořena...");
    patterns.fileErrorReport(text::kSaveWording, text::kSaveFailed,
                             [&] { form.editor(1)->saveToFile(QStringLiteral("zaloha.txt")); });
    if (patterns.askYesNo(text::q(text::kQuitQuestion))) {
        return; // the program stays open so that the user can save
    }
    // The changed pages and the notes are backed up on this way out too, as
    // on every other; only the questions are left out.
    writeBackups(form);
    endApplication();
}

} // namespace

void installExitAndPreviewCommands(Workspace& form) {
    form.setCloseQuery([&form] { return exitSequence(form); });
    // "KO" ends the event loop itself; the window is not closed, so the
    // close query does not run a second time.
    form.on("SpeedButton41", [&form] {
        if (exitSequence(form)) {
            endApplication();
        }
    });
    form.on("Konec1", [&form] { quitFromFileMenu(form); });
    installBackupCommands(form);
    installPreviewCommands(form);
}

} // namespace zelvar
