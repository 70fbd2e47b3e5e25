#pragma once
// Wires the commands of every subsystem to the main window's controls.

namespace zelvar {

class TForm1;

void installCommands(TForm1& form);

// One installer per subsystem; each connects its controls by name.
void installClipboardCommands(TForm1& form);
void installDocumentCommands(TForm1& form); // New, Open, Save As, static memory, templates
void installColourMixer(TForm1& form);
void installSwatchCommands(TForm1& form);
// The close query, "KO", File > Konec, the backup commands and the preview.
void installExitAndPreviewCommands(TForm1& form);
void installSnippetCommands(TForm1& form);
void installDateTimeCommands(TForm1& form);
void installFindCommands(TForm1& form);       // the notes pad's find dialog
void installAppearanceCommands(TForm1& form); // fonts, colours, window colour, word wrap
void installNotesCommands(TForm1& form);      // the notes pad's buttons, popup and file
void installTagLibrary(TForm1& form);
void installPrintCommands(TForm1& form);
void installSnippetWindows(TForm1& form); // the Tools menu's five snippet windows
void installHelpAndLinks(TForm1& form);   // help file, web pages, About, clipboard viewer
// The contents of the secondary windows.
void buildSnippetWindows(TForm1& form);
void buildInformationWindows(TForm1& form);

} // namespace zelvar
