#pragma once
// The texts of the shared dialogs: captions, questions, notices, the file
// error wordings and their failure words. Every dialog of the program takes
// its words from here.

#include <QString>

namespace zelvar::text {

// UTF-8 literals; QString::fromUtf8 at the point of use.
inline constexpr const char* kApplicationTitle = "Zelvar v2.0";
inline constexpr const char* kMainCaption =
    ".: Zelvar :.  Editor pro tvorbu webových prezentací...";
inline constexpr const char* kMessageCaption = "Zbystřete prosím...";
inline constexpr const char* kErrorCaption = "Error";

// Erase confirmations.
inline constexpr const char* kEraseEditor = "Stávající obsah editoru bude smazán !";
inline constexpr const char* kEraseNotes = "Stávající obsah poznámek bude smazán !";

// Yes-no questions.
inline constexpr const char* kQuitQuestion = "Obsah bude smazán, nebylo by vhodné uložit soubor ?";
// The per-page exit question; %1 is the page name without a blank ("Page1").
inline constexpr const char* kSavePageQuestion =
    "Obsah stránky \"%1\" bude smazán, nebylo by vhodné jej uložit ?";
// The status bar's file panel: a page of no file, and the mark of a page
// with changes since it was read or written.
inline constexpr const char* kNoFileName = "Nový soubor";
inline constexpr const char* kChangedMark = " *";
// The list of recent files: empty, and a file on it that is gone (%1).
inline constexpr const char* kNoRecentFiles = "(žádné soubory)";
inline constexpr const char* kRecentFileGone =
    "Soubor %1 již neexistuje, a proto byl ze seznamu naposledy otevřených souborů odebrán.";
// A page's file changed or removed by another program: %1 the file, %2 the
// page's name without a blank ("Page1").
inline constexpr const char* kReloadChangedFile =
    "Soubor %1 stránky \"%2\" byl změněn jiným programem. Načíst jej znovu ?";
inline constexpr const char* kTakeChangedFile =
    "Soubor %1 stránky \"%2\" byl změněn jiným programem a stránka má neuložené změny. "
    "Zahodit změny stránky a načíst soubor ? (Ne ponechá text stránky.)";
inline constexpr const char* kFileRemovedOutside =
    "Soubor %1 stránky \"%2\" byl odstraněn nebo přejmenován jiným programem. Text stránky "
    "zůstává v editoru.";
// Save As over the page's own file that another program changed; %1 the file.
inline constexpr const char* kChangedOutsideQuestion =
    "Soubor %1 byl mezitím změněn jiným programem. Přesto jej nahradit obsahem stránky ?";
inline constexpr const char* kDeleteTagQuestion = "Opravdu si přejete smazat položku ?";
// Save As of a page whose encoding cannot hold a character: %1 the
// character, %2 its code point (U+XXXX), %3 its line, %4 the encoding.
inline constexpr const char* kEncodingQuestion =
    "Znak „%1“ (%2) na řádku %3 nelze v kódování %4 uložit (a nemusí být jediný).\n\n"
    "Ano – uložit stránku v kódování UTF-8 (deklarace znakové sady v textu se změní na "
    "utf-8),\nNe – uložit takové znaky jako číselné odkazy &#N;,\nStorno – neukládat.";
// A page read from a file whose bytes do not match the charset its text
// declares: %1 the encoding it was read in and is written in, %2 the
// declared one.
inline constexpr const char* kDeclarationMismatch =
    "Bajty stránky neodpovídají znakové sadě, kterou stránka deklaruje (%2).\n\n"
    "Stránka je načtena v kódování %1 a v něm bude i uložena, takže každý bajt zůstane, "
    "jak byl. Jiné kódování lze zvolit v nabídce Formát > Kódování.";
// The encoding panel while the next save does not write what the page
// declares: its mark and its tooltip (%1 the declared encoding).
inline constexpr const char* kDeclarationMismatchMark = " (!)";
inline constexpr const char* kDeclarationMismatchTip =
    "Stránka se uloží v jiném kódování, než deklaruje její text (%1).";
// The buttons of a yes-no-cancel question, with the Alt keys of Czech
// dialogs (Alt+A, Alt+N, Alt+S).
inline constexpr const char* kYesButton = "&Ano";
inline constexpr const char* kNoButton = "&Ne";
inline constexpr const char* kCancelButton = "&Storno";

// Notices.
inline constexpr const char* kNotFound = "Hledaný výraz nenalezen !";
inline constexpr const char* kSelectItemFirst = "Nejprve je nutné vybrat jednu z položek !";
inline constexpr const char* kEnterTagFirst = "Nejprve je nutné vložit tag !";
inline constexpr const char* kNoPrinter = "Není nainstalována žádná tiskárna !";
inline constexpr const char* kNothingInPrintRange =
    "Zvolené stránky leží za koncem textu, nic nebylo vytištěno !";
// A tag to delete that another program has meanwhile removed from the file.
inline constexpr const char* kTagAlreadyGone =
    "Tag v souboru tagy.txt již není, odstranil jej jiný program. Seznam nyní ukazuje obsah "
    "souboru !";

// The two texts of a file error report: the first when the file itself
// cannot be opened (load) or created (save), the second for any other failure.
struct Wording {
    const char* cannotAccess;
    const char* failedDuring;
};

inline constexpr Wording kLoadWording{
    "Nepodařilo se načíst soubor ! Pokud problémy přetrvají, kontaktujte autora aplikace !",
    "Nastala chyba při načítání souboru ! Pokud problémy přetrvají, kontaktujte autora "
    "aplikace !"};
inline constexpr Wording kSaveWording{
    "Nepodařilo se uložit soubor ! Pokud problémy přetrvají, kontaktujte autora aplikace !",
    "Nastala chyba při ukládání souboru ! Pokud problémy přetrvají, kontaktujte autora "
    "aplikace !"};
inline constexpr Wording kLibraryLoadWording{
    "Nepodařilo se načíst knihovnu ! Pokud problémy přetrvají, kontaktujte autora aplikace !",
    "Nastala chyba při načítání knihovny ! Pokud problémy přetrvají, kontaktujte autora "
    "aplikace !"};
// A tag library file that holds no text the program can read: it is neither
// loaded nor changed.
inline constexpr const char* kTagFileNotText =
    "Soubor tagy.txt neobsahuje čitelný text (binární data nebo neznámé kódování) ! Program "
    "jej nenačte ani nepřepíše !";

// Failure words written into the operation label before the error dialog.
inline constexpr const char* kLoadFailed = "Chyba při načítání...";
inline constexpr const char* kBackupLoadFailed = "Chyba při načítání zálohy...";
inline constexpr const char* kSaveFailed = "Chyba při ukládání...";
inline constexpr const char* kBackupSaveFailed = "Chyba při ukládání zálohy...";
inline constexpr const char* kPrintFailed = "Chyba při tisku...";

// The error dialog of a print job that the printing layer refused.
inline constexpr const char* kPrintFailedText =
    "Tisk se nezdařil ! Pokud problémy přetrvají, kontaktujte autora aplikace !";

// The printer set-up dialog.
inline constexpr const char* kPrinterSetupTitle = "Nastavení tisku";
inline constexpr const char* kPrinterLabel = "Tiskárna:";
inline constexpr const char* kPaperButton = "Papír...";

inline QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace zelvar::text
