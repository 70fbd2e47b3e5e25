#pragma once
// The browser preview: the shown page through the preview file, or a file
// picked in the open dialog, handed to the system shell.

#include <QString>

namespace zelvar {

class Workspace;

// The preview file: nahled_stranky.html in the user's own cache folder
// ($XDG_CACHE_HOME/zelvar, by default ~/.cache/zelvar), never in a folder
// that other users can write.
QString previewFilePath();

void installPreviewCommands(Workspace& form);

} // namespace zelvar
