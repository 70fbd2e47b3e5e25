#pragma once
// The encoding a page is written in, as the user chooses it: the Formát
// menu's "Kódování" submenu, whose check follows the shown page, and the
// question of Save As when the page's encoding cannot hold a character.

namespace zelvar {

class Editor;
class Workspace;

// Before Save As writes the page: when the encoding it would be written in
// cannot hold a character of the text, asks what to do, naming the first
// such character and its line. Yes makes the page UTF-8 (a charset the text
// declares becomes "utf-8", as one undo step), No leaves it to be written
// with numeric character references; false for Cancel, when nothing may be
// written.
bool settleSaveAsEncoding(Workspace& form, Editor& editor);

// After a page was read from a file: when its bytes do not match the charset
// its text declares, says so (the page is written as it was read).
void noteDeclarationMismatch(Workspace& form, const Editor& editor);

void installEncodingMenu(Workspace& form);

} // namespace zelvar
