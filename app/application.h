#pragma once

namespace zelvar {

struct CommandLine;
class Workspace;

// What the command line asks of the started program, its main window shown:
// the launcher's notices as one notice, then the files opened into the pages.
void startWith(Workspace& form, const CommandLine& line);

// Start-up: the application object and its title, the nine windows, the
// event loop. Returns the program's result (always 0).
int runApplication(int argc, char** argv);

} // namespace zelvar
