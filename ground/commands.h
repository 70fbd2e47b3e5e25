#pragma once
// Wires the commands of every subsystem to the main window's controls.

namespace zelvar {

class Workspace;

void installCommands(Workspace& form);

// One installer per subsystem; each connects its controls by name.
void installClipboardCommands(Workspace& form);
void installDocumentCommands(Workspace& form); // New, Open, Save As, static memory, templates
void installColourMixer(Workspace& form);
void installSwatchCommands(Workspace& form);
// The close query, "KO", File > Konec, the backup commands and the preview.
void installExitAndPreviewCommands(Workspace& form);
void installSnippetCommands(Workspace& form);
void installDateTimeCommands(Workspace& form);
void installFindCommands(Workspace& form);       // the notes pad's find dialog
void installGoToLine(Workspace& form);           // Úpravy > Přejít na řádek
void installFindReplace(Workspace& form);        // Úpravy > Hledat a nahradit, F3, Shift+F3
void installAppearanceCommands(Workspace& form); // fonts, colours, window colour, word wrap
void installTypingHelp(Workspace& form);         // Formát > Pomoc při psaní tagů
void installSpellCommands(Workspace& form);      // the spelling check, non-breaking spaces
void installNotesCommands(Workspace& form);      // the notes pad's buttons, popup and file
void installTagLibrary(Workspace& form);
void installPrintCommands(Workspace& form);
void installSnippetWindows(Workspace& form); // the Tools menu's five snippet windows
// The help file, the web pages, and the About and clipboard viewer windows.
void installHelpAndLinks(Workspace& form);
void installHtmlCheck(Workspace& form);   // Operace > Zkontrolovat HTML and its window
void installLivePreview(Workspace& form); // Operace > Živý náhled, its panel

} // namespace zelvar
