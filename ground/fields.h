#pragma once
// What the single-line fields of the panels below the pages share.

class QLineEdit;

namespace zelvar {

class ShortcutRouter;

// The field keeps the editing keys that the main menu gives the pages (Del,
// Ctrl+A, C, V, X, Z and Y act on the field's own text).
void keepEditingKeys(ShortcutRouter& router, QLineEdit* field);

// A field whose text names nothing (no such line, no match) shows in red.
void showWrong(QLineEdit* field, bool wrong);

} // namespace zelvar
