#pragma once
// The properties the fuzz targets hold the file rules to. Each check takes
// one input and returns an empty text when the input passes, or a short
// description of what went wrong. The fuzz targets abort on a failure; the
// unit tests replay the saved corpora through the same checks.

#include <QByteArray>
#include <QString>
#include <span>

namespace zelvar::fuzz {

// RTF reader: an input is either rejected (nothing inserted) or accepted,
// and an accepted input written back with writeRtf reads again as the same
// text.
QString checkRtf(const QByteArray& input);

// The code pages, Windows-1250 and ISO-8859-2: every byte string survives
// decode and encode; the input read as UTF-16 encodes as a simple
// character-by-character reference does.
QString checkCp1250(const QByteArray& input);

// Plain page form: a page opened and saved with no edit gives the input
// bytes back, whatever its encoding, declaration, byte-order mark or line
// breaks, and reads back in the encoding the input was read in.
QString checkPageFile(const QByteArray& input);

// Tag file: the entries read from the bytes survive a write and a read.
QString checkTagFile(const QByteArray& input);

// HTML reader, and the readers of style sheets and scripts: the cheap pass
// and the span pass end every line in the same state, a small non-negative
// number; the spans lie in order inside their line; the cheap look for a
// change of the text's language misses none; a matching tag found for a caret holds the caret, and
// its partner lies apart from it, inside the text.
QString checkHtmlSyntax(const QByteArray& input);

struct Target {
    const char* name; // also the name of the target's corpus folder
    QString (*check)(const QByteArray&);
};

std::span<const Target> targets();

} // namespace zelvar::fuzz
