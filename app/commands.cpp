#include "app/commands.h"

namespace zelvar {

void installCommands(TForm1& form) {
    installClipboardCommands(form);
    installDocumentCommands(form);
    installColourMixer(form);
    installExitAndPreviewCommands(form);
}

} // namespace zelvar
