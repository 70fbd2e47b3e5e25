#include "app/commands.h"

namespace zelvar {

void installCommands(TForm1& form) {
    installClipboardCommands(form);
    installDocumentCommands(form);
    installColourMixer(form);
    installSwatchCommands(form);
    installExitAndPreviewCommands(form);
    installSnippetCommands(form);
    installDateTimeCommands(form);
    installSnippetWindows(form);
    installHelpAndLinks(form);
}

void installWindowContents(TForm1& form) {
    buildSnippetWindows(form);
    buildInformationWindows(form);
}

} // namespace zelvar
