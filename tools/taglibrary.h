#pragma once
// The tag library: the user's own pieces of text kept in tagy.txt, shown in
// the sorted list of the main window's tag box, inserted at the caret of the
// shown page, added through the add-tag window and deleted again.

#include <QAbstractListModel>
#include <QByteArray>
#include <QCollator>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QListView;

namespace zelvar {

class Workspace;

// The library file in the working directory.
inline constexpr const char* kTagFileName = "tagy.txt";

// How tagy.txt is encoded. A file is written back in the encoding it was
// read in, with its byte-order mark.
enum class TagEncoding {
    Windows1250, // the program's own: no byte-order mark
    Utf8,        // valid UTF-8 with at least one multi-byte sequence
    Utf8Bom,     // starts with the UTF-8 byte-order mark
    Utf16LE,     // starts with FF FE
    Utf16BE,     // starts with FE FF
    NotText,     // none of these: binary content, refused
};

struct TagFileText {
    QStringList entries;
    TagEncoding encoding = TagEncoding::Windows1250;
};

// The file's bytes as entries, and the encoding they were found in. The text
// is split at CR LF, a lone CR, a lone LF and a zero character; an empty line
// is an empty entry, a line break at the very end adds none, and a last line
// without one still counts.
//
// A file is not text (NotText, no entries) when its text holds a control
// character other than tab, line feed, vertical tab, form feed, carriage
// return, the end-of-file mark 0x1A and the zero character; when two zero
// characters follow each other; or when, with four or more of them, zero
// characters make up a quarter of the text or more (UTF-16 without its
// byte-order mark looks like that). A UTF-16 file of an odd length is not
// text either.
TagFileText decodeTagFile(const QByteArray& bytes);

// Every entry followed by CR LF, the last one too, in the given encoding
// (with its byte-order mark). Windows-1250 writes what the code page cannot
// hold as numeric character references.
QByteArray encodeTagFile(const QStringList& entries, TagEncoding encoding);

// The order the list keeps: as a Czech reader expects ("ch" after "h", "č"
// after "c"), ignoring case, by an entry's first thousand characters and
// then by the rest; entries that compare equal that way stand in the order
// of their UTF-16 code units, so the order is the same on every run.
class TagOrder {
public:
    TagOrder();
    bool operator()(const QString& a, const QString& b) const;
    // Sorts many entries, each one's sort key made once.
    void sort(QStringList& entries) const;

private:
    QCollator collator_;
};

// The entries of the list in their sorted order. The list shows a long entry
// cut short; the entry itself stays whole.
class TagListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    // What the list shows of an entry at most, in characters.
    static constexpr int kShownLength = 256;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const QStringList& entries() const { return entries_; }
    // Takes entries already in order.
    void setEntries(QStringList sorted);
    // Puts the entry at its sorted place; returns its row.
    int insertSorted(const QString& entry, const TagOrder& order);
    // Removes one entry with exactly this text; false when there is none.
    bool removeOne(const QString& entry, const TagOrder& order);

private:
    QStringList entries_;
};

class TagLibrary : public QObject {
    Q_OBJECT
public:
    explicit TagLibrary(Workspace& form);

    Workspace& form() const { return form_; }
    QListView* list() const { return list_; }
    // The entries in the order the list shows them.
    QStringList entries() const { return model_->entries(); }

    void load();     // "Načíst"
    void insert();   // "Vložit"
    void add();      // "Přidat": the add-tag window
    void remove();   // "Smazat"
    void openFile(); // "Generovat knihovnu tagů"

    // Adds one entry at its sorted place and writes the file, guarded by the
    // file error report; true when it was written.
    bool addTag(const QString& text);

private:
    QDialog* addWindow();
    // The selected entry's row, or -1.
    int selectedRow() const;
    // Applies the change to the list and writes the whole list to the file.
    // When the file changed on disk since it was last read or written, the
    // list is first replaced by what the file holds now, so that edits made
    // in another program survive. Nothing is written when the change changed
    // nothing (it returns false), or when the file is not a regular file or
    // not text; the list keeps the change in every case. True when written.
    bool rewrite(const std::function<bool()>& change);
    void reportNotText(const char* failureWord);

    Workspace& form_;
    QListView* list_;
    TagListModel* model_;
    TagOrder order_;
    // What the file held when the program last read or wrote it.
    QByteArray diskHash_;
    TagEncoding diskEncoding_ = TagEncoding::Windows1250;
};

// Fills the add-tag window TForm9 with its edit Edit1 and its button Button1
// "Zapsat"; a written tag goes into the library.
void buildTagWindow(QDialog& window, TagLibrary& library);

} // namespace zelvar
