#pragma once
// The HTML check: HTML Tidy's diagnostics of a page, and their Czech wording.
//
// Tidy reads the page as UTF-8 and only reports: no document is written, no
// configuration file is read. The page's own doctype decides what is checked
// (HTML5 when it declares none), tabs count as one column, and every finding
// is reported. Findings that Tidy 5.6 gets wrong for valid HTML5 (attributes
// and elements it does not know yet) are left out.
//
// Tidy recurses on nested markup, so checkHtml runs in the helper program
// zelvar-htmlcheck, never inside the editor; the helper sends its findings
// in the line form of encodeCheckResult.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace zelvar {

enum class FindingKind { Error, Warning, Info };

struct HtmlFinding {
    int line = 0;   // from 1; 0 for the page as a whole
    int column = 0; // from 1, in characters (code points until mapped)
    FindingKind kind = FindingKind::Warning;
    QString key;           // Tidy's message key, "MISSING_ENDTAG_BEFORE"
    QStringList arguments; // the names and values the message mentions
    QString english;       // Tidy's own text
};

// A hostile page can give millions of findings: only the first ones reported
// are kept, each name or value shortened, while every finding is counted.
inline constexpr int kMaxListedFindings = 50000;
inline constexpr int kMaxArgumentLength = 200;

struct HtmlCheckResult {
    QList<HtmlFinding> findings; // in the order of line and column
    int counts[3] = {};          // all findings by kind (FindingKind's order)
};

// Runs Tidy on the page's UTF-8 bytes.
HtmlCheckResult checkHtml(QByteArrayView utf8);

// The text handed to the check: UTF-8, with the control characters other than
// tab and line feed made spaces. Tidy ends a line at a carriage return too and
// does not count the others as columns; so its lines and columns stay the
// editor's.
QByteArray checkInput(QStringView text);

// Tidy counts columns in code points; the editor counts UTF-16 units. Maps
// every finding's column to the editor's column in the same line of text.
void mapColumnsToEditor(HtmlCheckResult& result, QStringView text);

// The message in Czech with the names filled in; Tidy's English when there is
// no Czech text for the key.
QString czechMessage(const HtmlFinding& finding);

// "Chyba", "Varování", "Informace".
QString kindName(FindingKind kind);

// "3 chyby, 5 varování"; "Stránka je bez chyb." when there is no error and no
// warning.
QString checkSummary(const HtmlCheckResult& result);

// The helper's output: one line per finding, then an end line, so that an
// output cut short (the helper ended or was stopped) never reads as a result.
QByteArray encodeCheckResult(const HtmlCheckResult& result);
std::optional<HtmlCheckResult> decodeCheckResult(QByteArrayView bytes);

} // namespace zelvar
