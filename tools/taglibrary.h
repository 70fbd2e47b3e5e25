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

#include "text/tagfile.h"

class QDialog;
class QListView;

namespace zelvar {

class Workspace;

// The library file in the working directory.
inline constexpr const char* kTagFileName = "tagy.txt";

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

    // The add-tag window, which installTagLibrary builds.
    void setAddWindow(QDialog* window) { addWindow_ = window; }

private:
    QDialog* addWindow() const { return addWindow_; }
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
    QDialog* addWindow_ = nullptr;
};

// Builds the add-tag window TForm9 with its edit Edit1 and its button
// Button1 "Zapsat"; a written tag goes into the library.
QDialog* buildTagWindow(TagLibrary& library);

} // namespace zelvar
