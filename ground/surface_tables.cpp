#include "ground/surface_tables.h"

// The rows below are the whole command surface of the main window. Captions
// are UTF-8 and exact to the byte: double and triple blanks, trailing blanks
// and the '&' before an access key are meant.
//
// Menu captions use '&' only as the access-key marker. Button captions that
// must show a literal ampersand store it doubled ("&&"), because a Qt button
// reads a single '&' as a mnemonic marker and would swallow it.

namespace zelvar {

namespace {

// ---------------------------------------------------------------- menus

constexpr MenuRow menu(const char* name, const char* caption) {
    return {0, name, caption, nullptr, ItemNone, nullptr, nullptr};
}

constexpr MenuRow popupRoot(const char* name) {
    return {0, name, nullptr, nullptr, ItemNone, nullptr, nullptr};
}

constexpr MenuRow item(const char* name, const char* caption, const char* shortcut = nullptr,
                       unsigned flags = ItemNone, const char* glyph = nullptr,
                       const char* hint = nullptr) {
    return {1, name, caption, shortcut, flags, glyph, hint};
}

constexpr MenuRow subItem(const char* name, const char* caption, unsigned flags = ItemNone,
                          const char* glyph = nullptr, const char* hint = nullptr) {
    return {2, name, caption, nullptr, flags, glyph, hint};
}

constexpr MenuRow separator(const char* name, int level = 1) {
    return {level, name, nullptr, nullptr, ItemSeparator, nullptr, nullptr};
}

constexpr unsigned kChecked = ItemCheckable | ItemChecked;

constexpr MenuRow kMainMenu[] = {
    menu("Soubor1", "&Soubor"),
    item("HTMlEditor2", "Zelvar  v2.0", nullptr, ItemDefault),
    separator("N17"),
    item("Nov1", "Nový", "Ctrl+N"),
    item("Otevt1", "Otevřít...", "Ctrl+O"),
    // The last ten files opened or saved, filled when it opens.
    item("Naposledyoteven1", "Naposledy otevřené"),
    item("Uloitjako1", "Uložit jako...", "Ctrl+S"),
    separator("N21"),
    item("Nast1", "Načíst  (statická paměť)"),
    item("Uloit1", "Uložit   (statická paměť)"),
    separator("N16"),
    item("Nastaventisku1", "Nastavení tisku"),
    item("Tisk1", "Tisk", "Ctrl+P"),
    separator("N2"),
    item("Konec1", "Konec"),

    menu("pravy1", "Ú&pravy"),
    // The header follows the shown page; it is never a command.
    item("gh1", "Editor: Page 1", nullptr, ItemDefault | ItemDisabled),
    item("Zpt1", "Zpět", "Ctrl+Z"),
    // The second key is the one the editors of this desktop use.
    item("Znovu1", "Znovu", "Ctrl+Y; Ctrl+Shift+Z"),
    separator("N3"),
    item("Vyjmout1", "Vyjmout", "Ctrl+X"),
    item("Koprovat1", "Kopírovat", "Ctrl+C"),
    item("Vloit1", "Vložit", "Ctrl+V"),
    item("N4", "Odstranit", "Del"),
    separator("N5"),
    // Disabled for good: it holds Ctrl+F so that the key does nothing on a page.
    item("Najt1", "Najít", "Ctrl+F", ItemDisabled),
    // A panel below the pages finds and replaces in the shown page; F3 and
    // Shift+F3 go on with its text from the pages too.
    item("Hledatanahradit1", "Hledat a nahradit...", "Ctrl+H"),
    item("Najtdal1", "Najít další", "F3"),
    item("Najtpedchoz1", "Najít předchozí", "Shift+F3"),
    item("Vybratve1", "Vybrat vše", "Ctrl+A"),
    // A field below the pages for a line number or "line:column".
    item("Pejtnadek1", "Přejít na řádek...", "Ctrl+G"),

    menu("Formt1", "&Formát"),
    item("Psmo1", "Písmo"),
    item("Barva1", "Barva"),
    item("Barvapozad1", "Barva pozadí"),
    // One of the five is checked at a time.
    subItem("Color11", "Color 1", kChecked),
    subItem("Color21", "Color 2", ItemCheckable),
    subItem("Color31", "Color 3", ItemCheckable),
    subItem("Color41", "Color 4", ItemCheckable),
    subItem("Color51", "Color 5", ItemCheckable),
    separator("N22"),
    // The check mark follows the shown page, page 1 at start.
    item("Page11", "Page 1", nullptr, kChecked),
    item("Page21", "Page 2", nullptr, ItemCheckable),
    item("Page31", "Page 3", nullptr, ItemCheckable),
    item("Page41", "Page 4", nullptr, ItemCheckable),
    item("Page51", "Page 5", nullptr, ItemCheckable),
    separator("N6"),
    item("FormtHTML1", "Formát *.HTML", nullptr, kChecked),
    item("FormtTXT1", "Formát *.TXT", nullptr, ItemDisabled),
    item("Formtrtf1", "Formát *.RTF", nullptr, ItemDisabled),
    separator("N7"),
    item("Zalamovndk1", "Zalamování řádků", nullptr, ItemCheckable),
    // The pages' gutter with line numbers.
    item("sladk1", "Čísla řádků", nullptr, kChecked),
    // Colours the HTML of all five pages and marks matching tags.
    item("Zvrazovatsyntaxi1", "Zvýrazňovat syntaxi", nullptr, kChecked),
    // Underlines the unknown words of the pages' text; disabled at start
    // when the dictionary is not installed.
    item("Kontrolapravopisu1", "Kontrola pravopisu", nullptr, kChecked),
    // "</" completed to the open element's end tag; Return keeps the indentation.
    item("Pomocpipsantag1", "Pomoc při psaní tagů", nullptr, kChecked),
    // The tag buttons wrap the selection in lower-case pairs.
    item("Vkldatkolemvbru1", "Vkládat kolem výběru", nullptr, ItemCheckable),
    separator("N24"),
    // The shown page's encoding is checked.
    item("Kdovn1", "Kódování"),
    subItem("UTF81", "UTF-8", ItemCheckable),
    subItem("Windows12501", "Windows-1250", kChecked),
    subItem("ISO885921", "ISO-8859-2", ItemCheckable),
    // The line breaks the shown page's next write ends its lines with.
    item("Koncedk1", "Konce řádků"),
    subItem("WindowsCRLF1", "Windows (CR LF)", kChecked),
    subItem("UnixLF1", "Unix (LF)", ItemCheckable),

    menu("Nstroje1", "&Nástroje"),
    item("HTMLstruktura1", "HTML struktura", "F2"),
    // A modern page to start from, in UTF-8.
    item("HTML5struktura1", "HTML5 struktura"),
    item("Rmy1", "Rámy"),
    subItem("ram_1", "...", ItemNone, "frames-1", "Načíst rám"),
    subItem("ram_2", "...", ItemNone, "frames-2"),
    subItem("ram_3", "...", ItemNone, "frames-3"),
    subItem("ram_4", "...", ItemNone, "frames-4"),
    subItem("ram_5", "...", ItemNone, "frames-5"),
    subItem("ram_6", "...", ItemNone, "frames-6"),
    separator("N18"),
    item("Vloitdatum1", "Vložit datum", "F4"),
    item("Vloitas1", "Vložit čas", "F5"),
    item("Vloitdatumas1", "Vložit datum/čas", "F6"),
    item("Nezlomitelnmezery1", "Nezlomitelné mezery"),
    separator("N15"),
    item("Pohybujcsetext1", "Text v pohybu"),
    item("Zmnabarvy1", "Změna barvy textu"),
    item("Datumas1", "Datum a čas"),
    item("Domovskstrnka1", "Domovská stránka"),
    item("Pidatkoblbenm1", "Přidat k oblíbeným"),

    menu("Operace1", "&Operace"),
    item("Zkladnvzhled1", "Základní vzhled", "F9"),
    item("Prohldnoutvprohlei1", "Zobrazit v prohlížeči", "F10"),
    item("ivnhled1", "Živý náhled", "Shift+F9", ItemCheckable),
    item("gfh1", "Generovat knihovnu tagů", "F8"),
    item("ZkontrolovatHTML1", "Zkontrolovat HTML", "F12"),
    separator("N14"),
    // No key of its own: F6 belongs to "Vložit datum/čas" above.
    item("Vymazatzlohu1", "-> Načíst zálohu"),
    item("Natzlohupoznmek1", "-> Načíst zálohu poznámek"),
    item("Ozloze1", "-> O záloze", "F7"),
    separator("N20"),
    item("Otevtzlohu1", "Otevřít soubor: zaloha1.txt"),
    item("Otevtsouborzaloha1txt1", "Otevřít soubor: zaloha2.txt"),
    item("Otevtsouborzaloha1txt2", "Otevřít soubor: zaloha3.txt"),
    item("Otevtsouborzaloha1txt3", "Otevřít soubor: zaloha4.txt"),
    item("Otevtsouborzaloha5txt1", "Otevřít soubor: zaloha5.txt"),

    menu("Odkazy1", "O&dkazy"),
    item("Domovskyweb1", "Zelvar.cz", nullptr, ItemDefault),
    separator("N23"),
    item("Webodkaz1", "ITnetwork.cz"),
    item("JavaScriptLibrary1", "Java Script Library"),
    item("Animace1", "Animace"),
    separator("N12"),
    item("Webodkaz2", "Okoun.cz"),
    item("CikCakTools1", "CikCak Tools"),
    item("MaXsite1", "MaXsite"),
    separator("N13"),
    item("Webodkaz3", "Neocities"),
    item("Webodkaz4", "eStránky.cz"),
    item("Webhosting1", "Webhosting"),

    menu("Npovda1", "Nápo&věda"),
    item("Npovda2", "Nápověda", "F1"),
    item("NpovdaHTML1", "Nápověda HTML", nullptr, ItemNone, nullptr,
         "Pro zobrazení nápovědy je nutné mít připojení k internetu!"),
    subItem("Zanme1", "Začínáme"),
    subItem("ZkladyHTML1", "Základy HTML"),
    subItem("Nvod1", "Jak publikovat"),
    separator("N1", 2),
    subItem("HTMLtahk1", "HTML tahák"),
    separator("N19"),
    item("Zobrazitschrnku1", "Zobrazit schránku"),
    item("Zkontrolovatverzi1", "Zkontrolovat verzi"),
    item("Oprogramu1", "O programu"),
};

constexpr MenuRow kPagePopup[] = {
    popupRoot("PopupMenu1"),
    item("Psmo2", "Písmo"),
    item("Pozad1", "Barva"),
    separator("N8"),
    item("Koprovat2", "Kopírovat", "Ctrl+C", ItemNone, "copy"),
    item("Vyjmout2", "Vyjmout", "Ctrl+X", ItemNone, "cut"),
    item("Vloit2", "Vložit", "Ctrl+V", ItemNone, "paste"),
    separator("N9"),
    // Disabled for good, like the Edit menu's "Najít".
    item("Najt2", "Najít", "Ctrl+F", ItemDisabled, "find"),
    item("Vybratve2", "Vybrat vše", "Ctrl+A"),
};

constexpr MenuRow kNotesPopup[] = {
    popupRoot("PopupMenu2"),
    item("Psmo3", "Písmo"),
    item("Pozad2", "Barva"),
    separator("N10"),
    item("Koprovat3", "Kopírovat", "Ctrl+C", ItemNone, "copy"),
    item("Vyjmout3", "Vyjmout", "Ctrl+X", ItemNone, "cut"),
    item("Vloit3", "Vložit", "Ctrl+V", ItemNone, "paste"),
    separator("N11"),
    item("Najt3", "Najít", "Ctrl+F", ItemNone, "find"),
    item("Vybratve3", "Vybrat vše", "Ctrl+A"),
};

// ---------------------------------------------------------------- toolbars

constexpr ToolGroupRow kToolGroups[] = {
    {"PageScroller1", "CheckBox2", "Soubor", 1},
    {"PageScroller2", "CheckBox3", "Editor", 1},
    {"PageScroller6", "CheckBox7", "Zvláštní znaky", 1},
    {"PageScroller4", "CheckBox5", "Statistika", 1},
    {"PageScroller3", "CheckBox4", "Text", 2},
    {"PageScroller5", "CheckBox6", "Poloha", 2},
    {"PageScroller7", "CheckBox8", "Používané", 2},
    {"PageScroller8", "CheckBox9", "Cíl (target)", 2},
};

constexpr ToolGroupRow kCheckBoxes[] = {
    {"PageScroller1", "CheckBox2", "Soubor", 1},
    {"PageScroller2", "CheckBox3", "Editor", 1},
    {"PageScroller4", "CheckBox5", "Statistika", 1},
    // a separator line stands here
    {"PageScroller3", "CheckBox4", "Text", 2},
    {"PageScroller5", "CheckBox6", "Poloha", 2},
    {"PageScroller7", "CheckBox8", "Používané", 2},
    {"PageScroller6", "CheckBox7", "Zvláštní znaky", 1},
    {"PageScroller8", "CheckBox9", "Cíl (target)", 2},
};

constexpr int kButtonWidth = 23;

constexpr ToolButtonRow glyphButton(const char* group, const char* name, const char* hint,
                                    const char* glyph, unsigned style = StyleNone,
                                    int width = kButtonWidth) {
    return {group, name, nullptr, hint, glyph, style, width};
}

constexpr ToolButtonRow textButton(const char* group, const char* name, const char* caption,
                                   const char* hint, unsigned style = StyleNone,
                                   int width = kButtonWidth) {
    return {group, name, caption, hint, nullptr, style, width};
}

constexpr unsigned kBoldMaroon = StyleBold | StyleMaroon;
constexpr unsigned kBoldNavy = StyleBold | StyleNavy;

constexpr const char* kFile = "PageScroller1";
constexpr const char* kEdit = "PageScroller2";
constexpr const char* kText = "PageScroller3";
constexpr const char* kPlace = "PageScroller5";
constexpr const char* kChars = "PageScroller6";
constexpr const char* kUsed = "PageScroller7";
constexpr const char* kTarget = "PageScroller8";

constexpr ToolButtonRow kToolButtons[] = {
    // Soubor: file commands, help, then undo, delete and exit.
    glyphButton(kFile, "SpeedButton35", "Nový...", "new"),
    glyphButton(kFile, "SpeedButton36", "Otevřít...", "open"),
    glyphButton(kFile, "SpeedButton37", "Uložit jako...", "save"),
    glyphButton(kFile, "SpeedButton46", "Tisk...", "print"),
    glyphButton(kFile, "SpeedButton47", "Hledat...", "find", StyleDisabled),
    textButton(kFile, "SpeedButton38", "-?- ", "Nápověda...", StyleBold | StyleGapBefore),
    textButton(kFile, "SpeedButton39", "ZP", "Zpět akci...",
               kBoldMaroon | StyleDisabled | StyleGapBefore),
    textButton(kFile, "SpeedButton40", "DE", "Delete...", kBoldMaroon | StyleDisabled),
    textButton(kFile, "SpeedButton41", "KO", "Ukončit aplikaci...", kBoldMaroon),

    // Editor: clipboard, select all, then font and colour.
    glyphButton(kEdit, "SpeedButton42", "Kopírovat...", "copy"),
    glyphButton(kEdit, "SpeedButton43", "Vložit...", "paste"),
    glyphButton(kEdit, "SpeedButton44", "Vyjmout...", "cut"),
    textButton(kEdit, "SpeedButton45", "-V-", "Vybrat vše...", StyleBold | StyleGapBefore),
    textButton(kEdit, "SpeedButton48", "-P-", "Písmo...", StyleBold | StyleGapBefore),
    textButton(kEdit, "SpeedButton49", "-B-", "Barva...", kBoldNavy, 22),

    // Zvláštní znaky: marks, escaped characters, sub/superscript, lists, date and time.
    textButton(kChars, "SpeedButton11", "©", "Copyright..."),
    textButton(kChars, "SpeedButton12", "®", "Registered..."),
    textButton(kChars, "SpeedButton13", "TM", "Trade mark..."),
    textButton(kChars, "SpeedButton14", "<", "Znak: <...", StyleGapBefore),
    textButton(kChars, "SpeedButton15", ">", "Znak: >..."),
    textButton(kChars, "SpeedButton16", "&&", "Znak: and..."),
    textButton(kChars, "SpeedButton17", "\"", "Znak: \"..."),
    textButton(kChars, "SpeedButton18", "§", "Paragraf..."),
    textButton(kChars, "SpeedButton19", "Hx", "Horní index...", StyleGapBefore),
    textButton(kChars, "SpeedButton20", "Dx", "Dolní index..."),
    textButton(kChars, "SpeedButton21", "Ns", "Netříděný seznam...", StyleGapBefore),
    textButton(kChars, "SpeedButton22", "Ts", "Tříděný seznam..."),
    textButton(kChars, "SpeedButton59", "D", "Aktuální datum...", kBoldNavy | StyleGapBefore),
    textButton(kChars, "SpeedButton60", "T", "Aktuální čas...", kBoldNavy),
    textButton(kChars, "SpeedButton61", "DT", "Aktuální datum a čas...", kBoldNavy),

    // Statistika (PageScroller4) holds labels only.

    // Text: character styles, font, then line break, rule, heading and blank.
    glyphButton(kText, "SpeedButton50", "Tučný text...", "bold"),
    glyphButton(kText, "SpeedButton51", "Kurzíva...", "italic"),
    glyphButton(kText, "SpeedButton52", "Podtržený text...", "underline"),
    glyphButton(kText, "SpeedButton53", "Přeškrtnutý text...", "strikeout"),
    textButton(kText, "SpeedButton54", "F", "Písmo...", StyleGapBefore),
    textButton(kText, "SpeedButton1", "BR", "Konec řádku...", StyleGapBefore),
    textButton(kText, "SpeedButton2", "HR", "Vodorovná čára..."),
    textButton(kText, "SpeedButton3", "H3", "Nadpis..."),
    textButton(kText, "SpeedButton4", "&&", "Mezera..."),

    // Poloha: aligned paragraphs, then centring and a plain paragraph.
    glyphButton(kPlace, "SpeedButton5", "Zarovnání vlevo...", "align-left"),
    glyphButton(kPlace, "SpeedButton6", "Zarovnání střed...", "align-center"),
    glyphButton(kPlace, "SpeedButton7", "Zarovnání vpravo...", "align-right"),
    glyphButton(kPlace, "SpeedButton8", "Rozložit...", "align-justify"),
    glyphButton(kPlace, "SpeedButton9", "Centrování...", "center-block", StyleGapBefore),
    glyphButton(kPlace, "SpeedButton10", "Odstavec...", "paragraph"),

    // Používané: links, image, table, sound, definitions, then the frame layouts.
    textButton(kUsed, "SpeedButton23", "A", "Odkaz..."),
    textButton(kUsed, "SpeedButton24", "At", "Odkaz na vybraný text..."),
    textButton(kUsed, "SpeedButton25", "IMG", "Obrázek..."),
    textButton(kUsed, "SpeedButton26", "TAB", "Tabulka..."),
    textButton(kUsed, "SpeedButton27", "AVI", "Hudba na pozadí..."),
    textButton(kUsed, "SpeedButton28", "Sd", "Seznam definic..."),
    glyphButton(kUsed, "SpeedButton62", "Rozdělení stránky (rámy)...", "frames-1", StyleGapBefore),
    glyphButton(kUsed, "SpeedButton63", "Rozdělení stránky (rámy)...", "frames-2"),
    glyphButton(kUsed, "SpeedButton64", "Rozdělení stránky (rámy)...", "frames-3"),
    glyphButton(kUsed, "SpeedButton65", "Rozdělení stránky (rámy)...", "frames-4"),
    glyphButton(kUsed, "SpeedButton66", "Rozdělení stránky (rámy)...", "frames-5"),
    glyphButton(kUsed, "SpeedButton67", "Rozdělení stránky (rámy)...", "frames-6"),

    // Cíl (target)
    textButton(kTarget, "SpeedButton55", "TOP", "_top..."),
    textButton(kTarget, "SpeedButton56", "PAR", "_parent..."),
    textButton(kTarget, "SpeedButton57", "SEL", "_self..."),
    textButton(kTarget, "SpeedButton58", "BLK", "_blank..."),
};

// ---------------------------------------------------------------- other buttons

constexpr const char* kNotesBox = "GroupBox1";
constexpr const char* kTagBox = "GroupBox3";
constexpr const char* kStaticBox = "GroupBox2";
constexpr const char* kWindow = "TForm1";

// Push buttons of the boxes below the pages: tag and static-memory buttons
// fit their boxes, the preview buttons are wider for their longer captions.
constexpr int kPushWidth = 75;
constexpr int kPreviewWidth = 112;

constexpr ToolButtonRow kOtherButtons[] = {
    // Notes box, two a row.
    glyphButton(kNotesBox, "SpeedButton33", "Načíst...", "open"),
    glyphButton(kNotesBox, "SpeedButton34", "Uložit...", "save"),
    glyphButton(kNotesBox, "SpeedButton29", "Kopírovat...", "copy"),
    glyphButton(kNotesBox, "SpeedButton30", "Vložit...", "paste"),
    glyphButton(kNotesBox, "SpeedButton31", "Vyjmout...", "cut"),
    glyphButton(kNotesBox, "SpeedButton32", "Hledat...", "find"),
    textButton(kNotesBox, "SpeedButton68", "ZP", "Zpět akci...", kBoldMaroon | StyleDisabled),
    textButton(kNotesBox, "SpeedButton69", "DE", "Delete...", kBoldMaroon | StyleDisabled),

    // Tag box, top to bottom.
    textButton(kTagBox, "Button1", "Vložit", "Vložit vybráný tag do editoru...", StyleDisabled,
               kPushWidth),
    textButton(kTagBox, "Button4", "Načíst", "Načíst knihovnu...", StyleNone, kPushWidth),
    textButton(kTagBox, "Button2", "Přidat", "Přidat tag...", StyleDisabled, kPushWidth),
    textButton(kTagBox, "Button3", "Smazat", "Smazat tag...", StyleDisabled, kPushWidth),

    // Static memory.
    textButton(kStaticBox, "BitBtn3", "Načíst", "Načíst ze statické paměti...", StyleNone,
               kPushWidth),
    textButton(kStaticBox, "BitBtn4", "Uložit", "Uložit do statické paměti...", StyleNone,
               kPushWidth),

    // Preview, side by side under the pages: caption and picture.
    {kWindow, "BitBtn1", "Základní vzhled", "Základní vzhled v prohlížeči...", "preview", StyleNone,
     kPreviewWidth},
    {kWindow, "BitBtn2", "Celkový vzhled", "Celkový vzhled v prohlížeči...", "preview-file",
     StyleNone, kPreviewWidth},
};

} // namespace

std::span<const MenuRow> mainMenuRows() {
    return kMainMenu;
}
std::span<const MenuRow> pagePopupRows() {
    return kPagePopup;
}
std::span<const MenuRow> notesPopupRows() {
    return kNotesPopup;
}
std::span<const ToolGroupRow> toolGroupRows() {
    return kToolGroups;
}
std::span<const ToolGroupRow> checkBoxRows() {
    return kCheckBoxes;
}
std::span<const ToolButtonRow> toolButtonRows() {
    return kToolButtons;
}
std::span<const ToolButtonRow> otherButtonRows() {
    return kOtherButtons;
}

} // namespace zelvar
