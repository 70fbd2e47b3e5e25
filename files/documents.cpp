#include "files/documents.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <algorithm>
#include <array>

#include "editor/editor.h"
#include "files/outsidechanges.h"
#include "files/pageencoding.h"
#include "ground/commands.h"
#include "ground/pagerecord.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/settings.h"
#include "ground/texts.h"
#include "ground/workspace.h"

namespace zelvar {

Documents::Documents(Workspace& form) : QObject(&form.mainWindow()), form_(form) {
    setObjectName(QStringLiteral("Documents"));
}

Documents& Documents::of(const Workspace& form) {
    return *form.mainWindow().findChild<Documents*>(QString(), Qt::FindDirectChildrenOnly);
}

FileDialogRequest Documents::openRequest() {
    FileDialogRequest r;
    r.title = text::q("Otevřít soubor...");
    r.filter = text::q("HTML soubor (*.html);;Všechny soubory (*.*)");
    r.defaultExt = QStringLiteral("html");
    return r;
}

FileDialogRequest Documents::saveRequest() {
    FileDialogRequest r;
    r.title = text::q("Uložit soubor...");
    r.filter = text::q("HTML soubor (*.html);;Textový dokument (*.txt)");
    r.defaultExt = QStringLiteral("html");
    return r;
}

QString Documents::ask(Remembered& memory, bool save, const QString& proposed,
                       const PageRecord* page) {
    FileDialogRequest request = save ? saveRequest() : openRequest();
    request.fileName = proposed;
    if (page && page->hasFile()) {
        request.ownFile = page->file;
        request.ownFileChanged = page->changedOnDisk();
    }
    request.filterIndex = memory.filterIndex;
    Dialogs& dialogs = *form_.platform().dialogs;
    const FileDialogAnswer answer = save ? dialogs.saveFile(&form_.mainWindow(), request)
                                         : dialogs.openFile(&form_.mainWindow(), request);
    if (!answer.accepted || answer.fileName.isEmpty()) {
        return QString();
    }
    memory.fileName = answer.fileName;
    memory.filterIndex = answer.filterIndex;
    return answer.fileName;
}

QString Documents::askOpenName(OpenStart start) {
    const PageRecord& page = form_.shownRecord();
    QString proposed = open_.fileName;
    if (page.hasFile()) {
        const QString folder = QFileInfo(page.file).absolutePath();
        if (start == OpenStart::PageFile) {
            proposed = page.file;
        } else if (QFileInfo(proposed).absolutePath() != folder) {
            proposed = folder + QLatin1Char('/'); // the folder, no file chosen
        }
    }
    return ask(open_, false, proposed, nullptr);
}

QString Documents::askSaveName(int slot) {
    const PageRecord& page = form_.pageRecord(slot);
    return ask(save_, true, page.hasFile() ? page.file : save_.fileName, &page);
}

void Documents::newPage() {
    Editor* editor = form_.activeEditor();
    // A page with changes asks first; any page, also one just read from its
    // file, is new and empty after it.
    if (form_.patterns().eraseConfirmed(editor->isModifiedFlag(), text::kEraseEditor)) {
        editor->clearAll();
        setPageFile(form_, form_.shownSlot(), QString());
    }
    form_.patterns().message("Čistá stránka...");
}

void Documents::open() {
    Editor* editor = form_.activeEditor();
    editor->setPlainTextMode(true);
    // Unsaved work is not thrown away without a question.
    if (form_.patterns().eraseConfirmed(editor->isModifiedFlag(), text::kEraseEditor)) {
        const QString name = askOpenName();
        if (!name.isEmpty()) {
            openInto(form_.shownSlot(), name);
            return;
        }
    }
    form_.patterns().message("Otevírání souboru...");
}

void Documents::openInto(int slot, const QString& name) {
    Editor* editor = form_.editor(slot);
    editor->setPlainTextMode(true);
    // A failure reaches the exception display.
    if (!editor->loadFromFile(name)) {
        form_.patterns().message("Otevírání souboru zrušeno...");
        return; // stopped with Esc: the page is as it was
    }
    setPageFile(form_, slot, name);
    noteRecent(name);
    noteDeclarationMismatch(form_, *editor);
    form_.patterns().message("Otevírání souboru...");
}

// --- Recent files ---------------------------------------------------------------

namespace {

constexpr const char* kRecentSetting = "files/recent";
constexpr int kRecentCount = 10;

} // namespace

QStringList Documents::recentFiles() const {
    return form_.settings().list(kRecentSetting).mid(0, kRecentCount);
}

void Documents::noteRecent(const QString& file) {
    QStringList files = recentFiles();
    const QString path = QFileInfo(file).absoluteFilePath();
    files.removeAll(path);
    files.prepend(path);
    form_.settings().setList(kRecentSetting, files.mid(0, kRecentCount));
}

void Documents::fillRecentMenu(QMenu* menu) {
    menu->clear();
    const QStringList files = recentFiles();
    if (files.isEmpty()) {
        menu->addAction(text::q(text::kNoRecentFiles))->setEnabled(false);
    }
    for (int i = 0; i < files.size(); ++i) {
        // The number is the access key; an '&' of the name is no access key.
        QString caption = QDir::toNativeSeparators(files[i]);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* entry = menu->addAction(QStringLiteral("&%1 ").arg((i + 1) % 10) + caption);
        connect(entry, &QAction::triggered, this, [this, file = files[i]] {
            form_.patterns().guarded([this, &file] { openRecent(file); });
        });
    }
}

void Documents::openRecent(const QString& file) {
    Editor* editor = form_.activeEditor();
    if (!form_.patterns().eraseConfirmed(editor->isModifiedFlag(), text::kEraseEditor)) {
        return;
    }
    if (!QFileInfo(file).isFile()) {
        QStringList files = recentFiles();
        files.removeAll(file);
        form_.settings().setList(kRecentSetting, files);
        form_.patterns().notice(text::q(text::kRecentFileGone).arg(QDir::toNativeSeparators(file)));
        return;
    }
    open_.fileName = file;
    openInto(form_.shownSlot(), file);
}

void Documents::openFiles(const QStringList& files) {
    for (int slot = 1; slot <= std::min<int>(files.size(), kPageCount); ++slot) {
        // The open dialog offers the name next, as after a pick in it.
        open_.fileName = QFileInfo(files[slot - 1]).absoluteFilePath();
        form_.patterns().guarded([&] { openInto(slot, open_.fileName); });
    }
    if (files.size() > kPageCount) {
        form_.patterns().notice(
            text::q("Otevřít lze nejvýše pět souborů, do stránek 1 až 5 ! Tyto soubory nebyly "
                    "otevřeny:\n") +
            files.mid(kPageCount).join(QLatin1Char('\n')));
    }
}

void Documents::saveAs() {
    Editor* editor = form_.activeEditor();
    editor->setPlainTextMode(true);
    const QString name = askSaveName(form_.shownSlot());
    if (!name.isEmpty() && settleSaveAsEncoding(form_, *editor)) {
        editor->saveToFile(name); // a failure reaches the exception display
        editor->markUnchanged();
        setPageFile(form_, form_.shownSlot(), name);
        noteRecent(name);
    }
    form_.patterns().message("Ukládání souboru...");
}

void replacePageFromFile(Workspace& form, const QString& file, const char* failureWord,
                         const char* successMessage) {
    Editor* editor = form.activeEditor();
    Patterns& patterns = form.patterns();
    if (!patterns.eraseConfirmed(editor->isModifiedFlag(), text::kEraseEditor)) {
        return;
    }
    bool loaded = false;
    if (patterns.fileErrorReport(text::kLoadWording, failureWord,
                                 [&] { loaded = editor->loadFromFile(file); }) &&
        loaded) {
        // The program's own file: the page belongs to none.
        setPageFile(form, form.shownSlot(), QString());
        noteDeclarationMismatch(form, *editor);
        patterns.message(successMessage);
    }
}

void setPageFile(Workspace& form, int slot, const QString& file) {
    PageRecord& record = form.pageRecord(slot);
    if (file.isEmpty()) {
        record.clear();
    } else {
        record.setFile(file);
    }
    Q_EMIT form.pageEvents().fileChanged(slot);
}

// --- Static memory and templates ---------------------------------------------

namespace {

void loadStaticMemory(Workspace& form) {
    replacePageFromFile(form, QLatin1String(pageSlot(form.shownSlot()).staticFile),
                        text::kLoadFailed, "Soubor načten...");
}

void storeStaticMemory(Workspace& form) {
    const PageSlot& slot = pageSlot(form.shownSlot());
    Editor* editor = form.activeEditor();
    if (form.patterns().fileErrorReport(text::kSaveWording, text::kSaveFailed, [&] {
            editor->saveToFile(QLatin1String(slot.staticFile));
        })) {
        form.patterns().message("Soubor uložen...");
    }
}

struct TemplateRow {
    std::array<const char*, 2> controls; // menu item, toolbar button
    const char* file;
};

constexpr std::array<TemplateRow, 8> kTemplates{{
    {{"HTMLstruktura1", nullptr}, "zakl_struktura.txt"},
    {{"HTML5struktura1", nullptr}, "html5_struktura.txt"},
    {{"ram_1", "SpeedButton62"}, "ramy_1.txt"},
    {{"ram_2", "SpeedButton63"}, "ramy_2.txt"},
    {{"ram_3", "SpeedButton64"}, "ramy_3.txt"},
    {{"ram_4", "SpeedButton65"}, "ramy_4.txt"},
    {{"ram_5", "SpeedButton66"}, "ramy_5.txt"},
    {{"ram_6", "SpeedButton67"}, "ramy_6.txt"},
}};

void loadTemplate(Workspace& form, const char* file) {
    replacePageFromFile(form, QLatin1String(file), text::kLoadFailed, "Struktura načtena...");
}

} // namespace

void installDocumentCommands(Workspace& form) {
    auto* documents = new Documents(form);
    installEncodingMenu(form);
    installOutsideChanges(form);
    for (const char* name : {"Nov1", "SpeedButton35"}) {
        form.on(name, [documents] { documents->newPage(); });
    }
    for (const char* name : {"Otevt1", "SpeedButton36"}) {
        form.on(name, [documents] { documents->open(); });
    }
    for (const char* name : {"Uloitjako1", "SpeedButton37"}) {
        form.on(name, [documents] { documents->saveAs(); });
    }
    auto* recent = new QMenu(&form.mainWindow());
    recent->setObjectName(QStringLiteral("Naposledyoteven1Menu"));
    if (QAction* item = form.action("Naposledyoteven1")) {
        item->setMenu(recent);
    }
    QObject::connect(recent, &QMenu::aboutToShow, documents,
                     [documents, recent] { documents->fillRecentMenu(recent); });
    // The format is fixed: the item only says so and stays checked.
    form.on("FormtHTML1", [&form] {
        form.action("FormtHTML1")->setChecked(true);
        form.patterns().message("Nastavení je neměnné...");
    });
    for (const char* name : {"Nast1", "BitBtn3"}) {
        form.on(name, [&form] { loadStaticMemory(form); });
    }
    for (const char* name : {"Uloit1", "BitBtn4"}) {
        form.on(name, [&form] { storeStaticMemory(form); });
    }
    for (const TemplateRow& t : kTemplates) {
        for (const char* control : t.controls) {
            if (control) {
                form.on(control, [&form, file = t.file] { loadTemplate(form, file); });
            }
        }
    }
}

} // namespace zelvar
