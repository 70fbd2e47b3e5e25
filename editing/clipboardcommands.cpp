// Undo, redo, cut, copy, paste, delete and select all on the shown page. The menu,
// popup and toolbar versions of one command run the same code; every command
// calls its editor operation unconditionally and then writes its message.

#include <array>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

struct EditCommand {
    std::array<const char*, 3> controls; // menu item, popup item, toolbar button
    void (Editor::*operation)();
    const char* message;
};

const std::array<EditCommand, 7> kEditCommands{{
    {{"Zpt1", "SpeedButton39", nullptr}, &Editor::undoLast, "Akce vrácena..."},
    {{"Znovu1", nullptr, nullptr}, &Editor::redoLast, "Akce obnovena..."},
    {{"Vyjmout1", "Vyjmout2", "SpeedButton44"}, &Editor::cutToClipboard, "Uloženo do schránky..."},
    {{"Koprovat1", "Koprovat2", "SpeedButton42"},
     &Editor::copyToClipboard,
     "Uloženo do schránky..."},
    {{"Vloit1", "Vloit2", "SpeedButton43"}, &Editor::pasteFromClipboard, "Načteno ze schránky..."},
    // Delete removes the selection and leaves the clipboard alone.
    {{"N4", "SpeedButton40", nullptr}, &Editor::deleteSelection, "Smazání znaků..."},
    {{"Vybratve1", "Vybratve2", "SpeedButton45"}, &Editor::selectAllText, "Vybrat vše..."},
}};

} // namespace

void installClipboardCommands(Workspace& form) {
    for (const EditCommand& c : kEditCommands) {
        for (const char* control : c.controls) {
            if (!control) {
                continue;
            }
            form.on(control, [&form, &c] {
                (form.activeEditor()->*c.operation)();
                form.patterns().message(c.message);
            });
        }
    }
}

} // namespace zelvar
