#pragma once
// Pages whose files another program changed or removed: named when the
// window is activated, each change once.

namespace zelvar {

class Workspace;

// With no changes in the page, offers to read the file again; with changes,
// offers to take the file's text in place of the page's (No keeps the
// page's). A removed file is named; the page keeps its text. Nothing is
// ever read again without a question.
void installOutsideChanges(Workspace& form);

} // namespace zelvar
