// The backup commands of the Operace menu: load the shown page's backup,
// explain the backups in the notes, and open a backup file in the system's
// viewer.

#include <QDir>

#include "editor/editor.h"
#include "files/documents.h"
#include "files/exitsequence.h"
#include "ground/commands.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

// What "O záloze" puts into the notes: one line, ending with a blank.
constexpr const char* kAboutBackupText =
    "Při každém ukončení aplikace Zelvar jakýmkoli způsobem (klasicky křížkem, kombinací kláves "
    "Alt + F4, nebo cestou Soubor -> Konec) dochází k ukládání veškerého obsahu Editoru do "
    "statické paměti. Takto uložený soubor (nedošlo-li k jeho přepsání v důsledku dalšího "
    "používání programu) můžete zpětně vyvolat. (Operace -> Načíst zálohu). ";

// Unsaved work is not replaced without a question.
void loadBackup(Workspace& form) {
    replacePageFromFile(form, QLatin1String(pageSlot(form.shownSlot()).backupFile),
                        text::kBackupLoadFailed, "Záloha načtena...");
}

// The explanation goes into the notes by the text insertion at the caret
// offset.
void aboutBackup(Workspace& form) {
    form.notesEditor()->insertAtSelStart(text::q(kAboutBackupText));
    form.patterns().message("O záloze...");
}

void openBackupFile(Workspace& form, const PageSlot& slot) {
    form.platform().shell->openFile(
        QDir::current().absoluteFilePath(QLatin1String(slot.backupFile)));
    form.patterns().message("Soubor: zaloha.txt...");
}

// The "Otevřít soubor: zalohaN.txt" items, in slot order.
constexpr const char* kOpenItems[kPageCount] = {"Otevtzlohu1", "Otevtsouborzaloha1txt1",
                                                "Otevtsouborzaloha1txt2", "Otevtsouborzaloha1txt3",
                                                "Otevtsouborzaloha5txt1"};

} // namespace

void installBackupCommands(Workspace& form) {
    form.on("Vymazatzlohu1", [&form] { loadBackup(form); });
    form.on("Ozloze1", [&form] { aboutBackup(form); });
    for (const PageSlot& slot : kPageSlots) {
        form.on(kOpenItems[slot.number - 1], [&form, &slot] { openBackupFile(form, slot); });
    }
}

} // namespace zelvar
