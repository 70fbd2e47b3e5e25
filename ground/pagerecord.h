#pragma once
// What the program knows of each page besides its text: the file it belongs
// to, and that file as it was when last read or written. And the events of
// the pages that features follow, sent by the main window.

#include <QDateTime>
#include <QObject>
#include <QString>

namespace zelvar {

struct PageRecord {
    // The page's file as an absolute path; empty for a page of no file
    // (a new page, a template, the static memory).
    QString file;
    // The file as the page last read or wrote it: its size (-1 unknown) and
    // its modification time.
    qint64 size = -1;
    QDateTime modified;

    bool hasFile() const { return !file.isEmpty(); }
    // The page now belongs to this file, as it is on disk now.
    void setFile(const QString& path);
    // Reads the size and time of the file again, after the page wrote it.
    void stampFile();
    // Whether the file is no longer as the page last read or wrote it:
    // another size or time, or gone.
    bool changedOnDisk() const;
    void clear() { *this = PageRecord(); }
};

class PageEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    void shownPageChanged(int slot);
    void textChanged(int slot);
    void fileChanged(int slot);
    void encodingChanged(int slot);
};

} // namespace zelvar
