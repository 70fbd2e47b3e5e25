#pragma once
// A checkable menu item whose mark lasts in the settings.

#include <functional>

namespace zelvar {

class Workspace;

// Checks the item as the settings say (`start` when they say nothing); each
// choice is stored, writes the message and runs `changed` with the mark.
void lastingToggle(Workspace& form, const char* item, const char* setting, bool start,
                   const char* message, std::function<void(bool)> changed = {});

} // namespace zelvar
