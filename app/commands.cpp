#include "app/commands.h"

namespace zelvar {

void installCommands(TForm1& form) {
    installClipboardCommands(form);
    installSnippetCommands(form);
    installDateTimeCommands(form);
}

} // namespace zelvar
