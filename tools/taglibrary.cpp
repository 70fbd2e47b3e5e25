#include "tools/taglibrary.h"

#include <QAbstractButton>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QListView>

#include <algorithm>
#include <numeric>
#include <vector>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/workspace.h"
#include "text/pagefile.h"
#include "text/tagfile.h"
#include "text/textencoding.h"

namespace zelvar {

namespace {

QString tagFile() {
    return QLatin1String(kTagFileName);
}

QByteArray contentHash(const QByteArray& bytes) {
    // Only tells this program's own last copy from a changed file.
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

// The file's bytes, or an empty array when there is no file. Anything but a
// regular file (a folder, a pipe, a device) is never opened, so that a pipe
// cannot block the program.
QByteArray readTagBytes(const QString& path, bool forWriting) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        throw forWriting ? FileError::cannotCreate(path) : FileError::cannotOpen(path);
    }
    return readWholeFile(path);
}

} // namespace

// --- The order -----------------------------------------------------------------

TagOrder::TagOrder() : collator_(QLocale(QLocale::Czech)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
}

namespace {

// Entries are ordered by their first this many characters; longer ones that
// agree there by the whole text. A sort key is made of the beginning only, so
// an enormous entry costs little more than a line.
constexpr qsizetype kKeyLength = 1000;

} // namespace

bool TagOrder::operator()(const QString& a, const QString& b) const {
    int c = collator_.compare(QStringView(a).left(kKeyLength), QStringView(b).left(kKeyLength));
    if (c == 0 && (a.size() > kKeyLength || b.size() > kKeyLength)) {
        c = collator_.compare(a, b);
    }
    return c != 0 ? c < 0 : a < b;
}

void TagOrder::sort(QStringList& entries) const {
    // One sort key per entry, made once, and compared many times.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(entries.size()));
    for (const QString& entry : entries) {
        keys.push_back(
            collator_.sortKey(entry.size() > kKeyLength ? entry.left(kKeyLength) : entry));
    }
    std::vector<qsizetype> order(std::size_t(entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = keys[std::size_t(a)].compare(keys[std::size_t(b)]);
        return c != 0 ? c < 0 : (*this)(entries.at(a), entries.at(b));
    });
    keys = {};
    QStringList sorted;
    sorted.reserve(entries.size());
    for (const qsizetype i : order) {
        sorted.append(std::move(entries[i]));
    }
    entries = std::move(sorted);
}

// --- The list's model ------------------------------------------------------------

int TagListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant TagListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= entries_.size()) {
        return {};
    }
    const QString& entry = entries_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (entry.size() > kShownLength) {
            return QString(entry.left(kShownLength) + QChar(0x2026));
        }
        return entry;
    case Qt::EditRole:
        return entry;
    default:
        return {};
    }
}

void TagListModel::setEntries(QStringList sorted) {
    beginResetModel();
    entries_ = std::move(sorted);
    endResetModel();
}

int TagListModel::insertSorted(const QString& entry, const TagOrder& order) {
    const auto at = std::upper_bound(entries_.cbegin(), entries_.cend(), entry, order);
    const int row = int(at - entries_.cbegin());
    beginInsertRows({}, row, row);
    entries_.insert(row, entry);
    endInsertRows();
    return row;
}

bool TagListModel::removeOne(const QString& entry, const TagOrder& order) {
    const auto at = std::lower_bound(entries_.cbegin(), entries_.cend(), entry, order);
    if (at == entries_.cend() || *at != entry) {
        return false;
    }
    const int row = int(at - entries_.cbegin());
    beginRemoveRows({}, row, row);
    entries_.removeAt(row);
    endRemoveRows();
    return true;
}

// --- The commands --------------------------------------------------------------

TagLibrary::TagLibrary(Workspace& form)
    : QObject(&form.mainWindow()), form_(form), list_(form.controls().tagList),
      model_(new TagListModel(this)) {
    setObjectName(QStringLiteral("TagLibrary"));
    // Every row is one line of the same height: the list measures one entry,
    // not every one of a long library.
    list_->setUniformItemSizes(true);
    list_->setModel(model_);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int TagLibrary::selectedRow() const {
    const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TagLibrary::load() {
    QByteArray bytes;
    Patterns& patterns = form_.patterns();
    if (!patterns.fileErrorReport(text::kLibraryLoadWording, text::kLoadFailed,
                                  [&] { bytes = readTagBytes(tagFile(), false); })) {
        return;
    }
    TagFileText file = decodeTagFile(bytes);
    if (file.encoding == TagEncoding::NotText) {
        reportNotText(text::kLoadFailed);
        return;
    }
    order_.sort(file.entries);
    model_->setEntries(std::move(file.entries));
    diskHash_ = contentHash(bytes);
    diskEncoding_ = file.encoding;
    patterns.message("Knihovna načtena...");
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        form_.button(name)->setEnabled(true);
    }
}

void TagLibrary::insert() {
    const int row = selectedRow();
    if (row < 0) {
        form_.patterns().notice(text::kSelectItemFirst);
        return;
    }
    form_.activeEditor()->insertInCaretLine(model_->entries().at(row));
    form_.patterns().message("Tag vložen...");
}

void TagLibrary::add() {
    addWindow()->exec();
    // Whatever closed the window, and whatever the window wrote meanwhile.
    form_.patterns().message("Přidání tagu...");
}

bool TagLibrary::addTag(const QString& text) {
    // Control characters other than the tab (a paste can bring them) would
    // make a file that no reader takes for text.
    QString tag = text;
    tag.removeIf([](QChar c) { return c.unicode() < 0x20 && c != QLatin1Char('\t'); });
    return rewrite([&] {
        model_->insertSorted(tag, order_);
        return true;
    });
}

void TagLibrary::remove() {
    const int row = selectedRow();
    if (row < 0) {
        form_.patterns().notice(text::kSelectItemFirst);
        return;
    }
    if (!form_.patterns().askYesNo(text::q(text::kDeleteTagQuestion))) {
        return; // nothing changes, nothing is written
    }
    const QString entry = model_->entries().at(row);
    // The entry is found again by its text: the list may have been read
    // again meanwhile.
    bool found = true;
    if (rewrite([&] { return found = model_->removeOne(entry, order_); })) {
        form_.patterns().message("Knihovna změněna...");
    } else if (!found) {
        form_.patterns().notice(text::kTagAlreadyGone);
    }
    list_->selectionModel()->clear();
}

void TagLibrary::openFile() {
    form_.platform().shell->openFile(QDir::current().absoluteFilePath(tagFile()));
    form_.patterns().message("Soubor vygenerován...");
}

bool TagLibrary::rewrite(const std::function<bool()>& change) {
    bool applied = false;
    bool changed = false;
    bool notText = false;
    const bool written =
        form_.patterns().fileErrorReport(text::kSaveWording, text::kSaveFailed, [&] {
            const QString path = tagFile();
            if (QFileInfo::exists(path)) {
                // Read again whole: only the content tells for certain whether
                // another program changed the file since this one last saw it.
                const QByteArray now = readTagBytes(path, true);
                if (contentHash(now) != diskHash_) {
                    TagFileText file = decodeTagFile(now);
                    if (file.encoding == TagEncoding::NotText) {
                        notText = true;
                        return;
                    }
                    // The other program's edits are what the change applies to.
                    order_.sort(file.entries);
                    model_->setEntries(std::move(file.entries));
                    diskEncoding_ = file.encoding;
                    diskHash_ = contentHash(now);
                }
            }
            applied = true;
            changed = change();
            if (!changed) {
                return;
            }
            const QByteArray bytes = encodeTagFile(model_->entries(), diskEncoding_);
            writeWholeFile(path, bytes);
            diskHash_ = contentHash(bytes);
        });
    if (!applied) {
        change(); // the list keeps the change when the file cannot take it
    }
    if (notText) {
        reportNotText(text::kSaveFailed);
        return false;
    }
    return written && changed;
}

void TagLibrary::reportNotText(const char* failureWord) {
    Patterns& patterns = form_.patterns();
    patterns.message(failureWord);
    patterns.dialogs().errorBox(patterns.owner(), text::q(text::kErrorCaption),
                                text::q(text::kTagFileNotText));
}

void installTagLibrary(Workspace& form) {
    auto* library = new TagLibrary(form);
    library->setAddWindow(buildTagWindow(*library));
    form.on("Button4", [library] { library->load(); });
    form.on("Button1", [library] { library->insert(); });
    form.on("Button2", [library] { library->add(); });
    form.on("Button3", [library] { library->remove(); });
    form.on("gfh1", [library] { library->openFile(); });
}

} // namespace zelvar
