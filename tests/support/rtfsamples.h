#pragma once
// Small RTF documents written by hand in the manner of common word processors,
// for the tests of the RTF reader.

namespace zelvar::testing::rtfsamples {

// Central European code page, \'hh text, a colour table with an automatic
// entry, a generator destination, paragraph properties the reader ignores.
extern const char kSampleCodePage1250[];

// Western code page with \uN and fallbacks, a style sheet, document
// information, theme data, a field, a bookmark and a picture with binary data
// holding braces and backslashes.
extern const char kSampleUnicodeWestern[];

// Default font by \deff, \uc0 and \uc1 groups, hidden text, \line, and a
// {\upr}{\*\ud} pair where only the Unicode half counts.
extern const char kSampleOpenOffice[];

} // namespace zelvar::testing::rtfsamples
