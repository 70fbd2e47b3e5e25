#pragma once
// Rich-text form of an editor's text: RTF written from and read into a
// QTextDocument, carrying the character formatting of every run (font face,
// size, bold, italic, underline, strike-out, colour).

#include <QByteArray>

class QTextCursor;
class QTextDocument;

namespace zelvar {

// The whole document as RTF. Text is written in Windows-1250 (\ansicpg1250,
// \'hh); characters outside it as \uN so they read back exactly. Every block
// ends with \par, and the final \par of the text stands for the end of the
// last block (as word processors write it), so readRtf gives back the same
// blocks.
QByteArray writeRtf(const QTextDocument& doc);

// Reads RTF and inserts its text with its character formatting at the cursor,
// in place of the cursor's selection, as one edit. Returns false and inserts
// nothing when the bytes do not start as RTF ("{\rtf") or are not well-formed
// (unbalanced or truncated groups, nesting deeper than the reader allows,
// anything but white space after the closing brace).
bool readRtf(const QByteArray& rtf, QTextCursor& cursor);

} // namespace zelvar
