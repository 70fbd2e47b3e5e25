#pragma once
// The command surface as data: every menu item, popup item, toolbar group
// and toolbar button of the main window, in display order. The main window
// builds its widgets and actions from these rows; nothing else spells a
// caption, a hint or a shortcut.

#include <span>

namespace zelvar {

enum ItemFlag : unsigned {
    ItemNone = 0,
    ItemSeparator = 1u << 0, // a separator line ("-")
    ItemDefault = 1u << 1,   // shown bold, the menu's default item
    ItemDisabled = 1u << 2,  // disabled at start
    ItemCheckable = 1u << 3, // carries a check mark
    ItemChecked = 1u << 4,   // checked at start (implies checkable)
};

// One row of a menu tree. Level 0 rows are the menus of the menu bar (or the
// root of a popup menu), level 1 rows their items, level 2 rows the items of
// the submenu opened by the nearest level 1 row above them.
struct MenuRow {
    int level;
    const char* name;           // objectName of the QMenu or QAction
    const char* caption;        // UTF-8, '&' before the access key; nullptr for separators
    const char* shortcut;       // QKeySequence portable text ("Ctrl+N", "F2", "Del") or nullptr
    unsigned flags;             // ItemFlag
    const char* glyph;          // glyph name (see glyphs.h) or nullptr
    const char* hint = nullptr; // UTF-8 hint of the item, or nullptr
};

enum ButtonStyle : unsigned {
    StyleNone = 0,
    StyleBold = 1u << 0,
    StyleMaroon = 1u << 1,
    StyleNavy = 1u << 2,
    StyleDisabled = 1u << 3,  // disabled at start
    StyleGapBefore = 1u << 4, // a small gap separates it from the button before
};

struct ToolGroupRow {
    const char* name;         // PageScroller1 .. PageScroller8
    const char* checkBox;     // CheckBox2 .. CheckBox9
    const char* checkCaption; // UTF-8
    int row;                  // 1 or 2 in the band
};

struct ToolButtonRow {
    const char* group;   // PageScroller1 .. PageScroller8
    const char* name;    // SpeedButtonNN
    const char* caption; // UTF-8 text caption, or nullptr for a glyph button
    const char* hint;    // UTF-8 tooltip, or nullptr
    const char* glyph;   // glyph name, or nullptr
    unsigned style;      // ButtonStyle
    int width;           // pixels (toolbar: 23, or 22 for SpeedButton49)
};

std::span<const MenuRow> mainMenuRows();
std::span<const MenuRow> pagePopupRows();  // PopupMenu1
std::span<const MenuRow> notesPopupRows(); // PopupMenu2
// Groups in band order: row 1 left to right, then row 2 left to right.
std::span<const ToolGroupRow> toolGroupRows();
// Check boxes of the option strip, left to right (a separator line after the third).
std::span<const ToolGroupRow> checkBoxRows();
// Buttons of every group, group by group in the order of toolGroupRows(),
// each group's buttons left to right.
std::span<const ToolButtonRow> toolButtonRows();
// The other buttons of the main window (notes box, tag box, static-memory
// box, preview buttons), group = the box that holds them ("GroupBox1",
// "GroupBox3", "GroupBox2", or "TForm1" for the preview buttons), each box's
// buttons in the order they stand (notes box: row by row, left column first).
std::span<const ToolButtonRow> otherButtonRows();

} // namespace zelvar
