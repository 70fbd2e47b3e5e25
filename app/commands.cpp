#include "ground/commands.h"

namespace zelvar {

void installCommands(Workspace& form) {
    installClipboardCommands(form);
    installDocumentCommands(form);
    installColourMixer(form);
    installSwatchCommands(form);
    installExitAndPreviewCommands(form);
    installSnippetCommands(form);
    installDateTimeCommands(form);
    installFindCommands(form);
    installGoToLine(form);
    installFindReplace(form);
    installAppearanceCommands(form);
    installSpellCommands(form);
    installTypingHelp(form);
    installNotesCommands(form);
    installTagLibrary(form);
    installPrintCommands(form);
    installSnippetWindows(form);
    installHelpAndLinks(form);
    installHtmlCheck(form);
    installLivePreview(form);
}

} // namespace zelvar
