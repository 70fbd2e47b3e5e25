#include "tools/taglibrary.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>

#include "app/commands.h"
#include "app/patterns.h"
#include "app/platform.h"
#include "app/tform1.h"
#include "editing/editor.h"
#include "files/cp1250.h"
#include "files/pagefile.h"

namespace zelvar {

namespace {

// A list entry that sorts by tagLess instead of the list's own
// case-sensitive order.
class TagItem final : public QListWidgetItem {
public:
    explicit TagItem(const QString& text)
        : QListWidgetItem(text, nullptr, QListWidgetItem::UserType) {}
    bool operator<(const QListWidgetItem& other) const override {
        return tagLess(text(), other.text());
    }
};

QString tagFile() {
    return QLatin1String(kTagFileName);
}

} // namespace

// --- The library file --------------------------------------------------------

QStringList tagEntriesFromBytes(const QByteArray& bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    QString text = textFromPlainBytes(zero < 0 ? bytes : bytes.left(zero));
    if (text.isEmpty()) {
        return {};
    }
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text.split(QLatin1Char('\n'));
}

QByteArray tagFileBytes(const QStringList& entries) {
    QByteArray out;
    for (const QString& entry : entries) {
        appendCp1250(out, entry);
        out.append("\r\n", 2);
    }
    return out;
}

QStringList loadTagFile(const QString& path) {
    return tagEntriesFromBytes(readWholeFile(path));
}

void saveTagFile(const QString& path, const QStringList& entries) {
    writeWholeFile(path, tagFileBytes(entries));
}

bool tagLess(const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    if (folded != 0) {
        return folded < 0;
    }
    return a < b;
}

// --- The commands --------------------------------------------------------------

TagLibrary::TagLibrary(TForm1& form)
    : QObject(&form), form_(form), list_(form.findChild<QListWidget*>(QStringLiteral("ListBox1"))) {
    setObjectName(QStringLiteral("TagLibrary"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSortingEnabled(true);
}

QListWidget* TagLibrary::list() const {
    return list_;
}

QStringList TagLibrary::entries() const {
    QStringList out;
    out.reserve(list_->count());
    for (int i = 0; i < list_->count(); ++i) {
        out << list_->item(i)->text();
    }
    return out;
}

void TagLibrary::addEntry(const QString& text) {
    list_->addItem(new TagItem(text)); // the list puts it at its sorted place
}

void TagLibrary::load() {
    QStringList loaded;
    Patterns& patterns = form_.patterns();
    if (!patterns.fileErrorReport(text::kLibraryLoadWording, text::kLoadFailed,
                                  [&] { loaded = loadTagFile(tagFile()); })) {
        return;
    }
    // Filled unsorted and sorted once: a long file does not pay for a sorted
    // insertion per entry.
    list_->setSortingEnabled(false);
    list_->clear();
    for (const QString& entry : loaded) {
        list_->addItem(new TagItem(entry));
    }
    list_->sortItems(Qt::AscendingOrder);
    list_->setSortingEnabled(true);
    patterns.message("Knihovna načtena...");
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        form_.button(name)->setEnabled(true);
    }
}

void TagLibrary::insert() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        form_.patterns().notice(text::kSelectItemFirst);
        return;
    }
    form_.activeEditor()->insertInCaretLine(selected.first()->text());
    form_.patterns().message("Tag vložen...");
}

void TagLibrary::add() {
    addWindow()->exec();
    // Whatever closed the window, and whatever the window wrote meanwhile.
    form_.patterns().message("Přidání tagu...");
}

void TagLibrary::remove() {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) {
        form_.patterns().notice(text::kSelectItemFirst);
        return;
    }
    if (form_.patterns().askYesNo(text::q(text::kDeleteTagQuestion))) {
        delete list_->takeItem(list_->row(selected.first()));
        list_->setCurrentItem(nullptr);
        list_->clearSelection();
    }
    // Also after No: the file is written again with the list as it stands.
    if (write()) {
        form_.patterns().message("Knihovna změněna...");
    }
}

void TagLibrary::openFile() {
    form_.platform().shell->openFile(QDir::current().absoluteFilePath(tagFile()));
    form_.patterns().message("Soubor vygenerován...");
}

bool TagLibrary::write() {
    const QStringList all = entries();
    return form_.patterns().fileErrorReport(text::kSaveWording, text::kSaveFailed,
                                            [&] { saveTagFile(tagFile(), all); });
}

QDialog* TagLibrary::addWindow() {
    return form_.findChild<QDialog*>(QStringLiteral("TForm9"));
}

void installTagLibrary(TForm1& form) {
    auto* library = new TagLibrary(form);
    buildTagWindow(*form.findChild<QDialog*>(QStringLiteral("TForm9")), *library);
    form.on("Button4", [library] { library->load(); });
    form.on("Button1", [library] { library->insert(); });
    form.on("Button2", [library] { library->add(); });
    form.on("Button3", [library] { library->remove(); });
    form.on("gfh1", [library] { library->openFile(); });
}

} // namespace zelvar
