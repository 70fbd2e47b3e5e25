#pragma once
// The tag library: the user's own pieces of text kept in tagy.txt, shown in
// the sorted list of the main window's tag box, inserted at the caret of the
// shown page, added through the add-tag window and deleted again.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QDialog;
class QListWidget;

namespace zelvar {

class TForm1;

// The library file in the working directory.
inline constexpr const char* kTagFileName = "tagy.txt";

// The file's entries: Windows-1250 text up to the first zero byte, split at
// CR LF, a lone CR and a lone LF. An empty line is an empty entry; a line
// break at the very end adds none, and a last line without one still counts.
QStringList tagEntriesFromBytes(const QByteArray& bytes);
// Every entry in Windows-1250 followed by CR LF, the last one too.
QByteArray tagFileBytes(const QStringList& entries);

// Whole-file read and write. Both throw FileError: Open or Create when the
// file cannot be opened or created, General for a failure during the
// transfer. A failed write leaves the old file whole.
QStringList loadTagFile(const QString& path);
void saveTagFile(const QString& path, const QStringList& entries);

// The order the list keeps: alphabetical, ignoring case; entries that differ
// only in case stand in a fixed order too.
bool tagLess(const QString& a, const QString& b);

class TagLibrary : public QObject {
    Q_OBJECT
public:
    explicit TagLibrary(TForm1& form);

    TForm1& form() const { return form_; }
    QListWidget* list() const;
    // The entries in the order the list shows them.
    QStringList entries() const;
    // Adds one entry at its sorted place.
    void addEntry(const QString& text);

    void load();     // "Načíst"
    void insert();   // "Vložit"
    void add();      // "Přidat": the add-tag window
    void remove();   // "Smazat"
    void openFile(); // "Generovat knihovnu tagů"

    // Writes the whole list back to the file, guarded by the file error
    // report; true when it was written.
    bool write();

private:
    QDialog* addWindow();

    TForm1& form_;
    QListWidget* list_;
};

// Fills the add-tag window TForm9 with its edit Edit1 and its button Button1
// "Zapsat"; a written tag goes into the library.
void buildTagWindow(QDialog& window, TagLibrary& library);

} // namespace zelvar
