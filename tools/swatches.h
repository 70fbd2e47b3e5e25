#pragma once
// The twelve colour swatches of the tab row, left to right.

#include <array>

namespace zelvar {

struct SwatchRow {
    const char* panel; // PanelN
    unsigned face;     // 0xRRGGBB shown on the panel
    const char* name;  // UTF-8 colour name written when the mouse points at it
    const char* code;  // the HTML colour code inserted on a click
};

// Two faces follow window-system colours where the program first ran (the
// inactive title bar and the title-bar text); here they are fixed colours of
// the same look.
inline constexpr std::array<SwatchRow, 12> kSwatches{{
    {"Panel1", 0x000000, "Černá...", "#000000"},
    {"Panel2", 0xFF0000, "Červená...", "#FF0000"},
    {"Panel3", 0x800000, "Rudá...", "#800000"},
    {"Panel4", 0xFF00FF, "Růžová...", "#FF00FF"},
    {"Panel5", 0x0000FF, "Modrá...", "#0000FF"},
    {"Panel6", 0x7A96DF, "Světle modrá...", "#0080FF"},
    {"Panel11", 0x008000, "Tmavě zelená...", "#008000"},
    {"Panel12", 0x00FF00, "Světle zelená...", "#00FF00"},
    {"Panel13", 0xFFFF00, "Žlutá...", "#FFFF00"},
    {"Panel14", 0xC0C0C0, "Světle šedá...", "#C0C0C0"},
    {"Panel15", 0x808080, "Tmavě šedá...", "#808080"},
    {"Panel16", 0xFFFFFF, "Bílá...", "#FFFFFF"},
}};

} // namespace zelvar
