#pragma once
// The ways out of the program (the window's close query, the "KO" button,
// File > Konec, all in exitsequence.cpp) and the backup commands of the
// Operace menu (backups.cpp).

namespace zelvar {

class Workspace;

void installBackupCommands(Workspace& form);

} // namespace zelvar
