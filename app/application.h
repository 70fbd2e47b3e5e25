#pragma once

namespace zelvar {

// Start-up: the application object and its title, the nine windows, the
// event loop. Returns the program's result (always 0).
int runApplication(int argc, char** argv);

} // namespace zelvar
