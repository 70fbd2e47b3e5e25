#pragma once
// Reads back what Qt's PDF output drew, so that tests can check a printout
// without a PDF tool: the pages in order, and on each page the runs of text
// with the colour they were filled with. Only as much of PDF as Qt itself
// writes is understood (Flate streams, Type 0 fonts with a ToUnicode map).

#include <QColor>
#include <QList>
#include <QString>

namespace zelvar::testing {

struct PdfRun {
    QString text;
    QColor colour;
};

struct PdfPage {
    QList<PdfRun> runs;
    // The runs joined, with a line break wherever a run starts a new line.
    QString text;
};

struct PdfDocument {
    bool ok = false; // the file could be read and its pages found
    QList<PdfPage> pages;
};

PdfDocument readPdfPages(const QString& path);

} // namespace zelvar::testing
