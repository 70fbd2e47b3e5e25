// Printing the shown page and the printer set-up.

#include "app/commands.h"
#include "app/patterns.h"
#include "app/platform.h"
#include "app/tform1.h"
#include "editing/editor.h"

namespace zelvar {

namespace {

// The whole text of the shown page is one job, whatever range the print
// dialog offered; a cancelled dialog prints nothing but still reports.
void printShownPage(TForm1& form) {
    Editor* editor = form.activeEditor();
    Printing& printing = *form.platform().printing;
    if (printing.askPrint(&form)) {
        printing.print(*editor->document(), form.printTitle());
    }
    form.patterns().message("Tisk...");
}

void printerSetup(TForm1& form) {
    form.platform().printing->setup(&form);
    form.patterns().message("Nastavení tisku...");
}

} // namespace

void installPrintCommands(TForm1& form) {
    for (const char* name : {"Tisk1", "SpeedButton46"}) {
        form.on(name, [&form] { printShownPage(form); });
    }
    form.on("Nastaventisku1", [&form] { printerSetup(form); });
}

} // namespace zelvar
