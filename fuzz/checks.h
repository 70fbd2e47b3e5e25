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

// Plain page form: the bytes loaded into a document and written back equal
// the input with every line break (CR LF, lone CR, lone LF) as CR LF and a
// final one after a last line that has none. A page whose text declares
// another encoding than it was read in is written in the declared one and
// reads back in it as the same text.
QString checkPageFile(const QByteArray& input);

// Tag file: the entries read from the bytes survive a write and a read.
QString checkTagFile(const QByteArray& input);

struct Target {
    const char* name; // also the name of the target's corpus folder
    QString (*check)(const QByteArray&);
};

std::span<const Target> targets();

} // namespace zelvar::fuzz
