// The notes pad: its own clipboard, undo and delete buttons and popup items,
// which always act on the notes whatever page is shown, the load and save of
// its file poznamky.txt, and its backup on the way out. The notes keep their
// rich-text form in the file (fonts and colours included); a plain-text file
// loads as well.

#include <QAbstractButton>
#include <array>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/shortcutrouter.h"
#include "ground/workspace.h"
#include "text/rtf.h"
#include "tools/notespad.h"

namespace zelvar {

namespace {

constexpr const char* kNotesFile = "poznamky.txt";
constexpr const char* kNotesBackup = "zaloha_poznamky.txt";

// A key of a row is kept by the notes while they have the focus and acts on
// them as the row's button does; elsewhere Del and Ctrl+Z run the Edit
// menu's items on the shown page.
struct NotesCommand {
    std::array<const char*, 2> controls; // button, popup item
    void (Editor::*operation)();
    const char* message;
    QKeyCombination key = QKeyCombination(); // none unless given
};

const std::array<NotesCommand, 6> kNotesCommands{{
    {{"SpeedButton29", "Koprovat3"}, &Editor::copyToClipboard, "Uloženo do schránky..."},
    {{"SpeedButton31", "Vyjmout3"}, &Editor::cutToClipboard, "Uloženo do schránky..."},
    {{"SpeedButton30", "Vloit3"}, &Editor::pasteFromClipboard, "Načteno ze schránky..."},
    {{nullptr, "Vybratve3"}, &Editor::selectAllText, "Vybrat vše..."},
    {{"SpeedButton68", nullptr},
     &Editor::undoLast,
     "Akce vrácena...",
     QKeyCombination(Qt::ControlModifier, Qt::Key_Z)},
    // Delete removes the selection and leaves the clipboard alone.
    {{"SpeedButton69", nullptr},
     &Editor::deleteSelection,
     "Smazání znaků...",
     QKeyCombination(Qt::Key_Delete)},
}};

} // namespace

NotesPad::NotesPad(Workspace& form)
    : QObject(&form.mainWindow()), form_(form), fileForm_(fileForm()) {
    setObjectName(QStringLiteral("NotesPad"));
}

QByteArray NotesPad::fileForm() const {
    return writeRtf(*form_.notesEditor()->document());
}

NotesPad& NotesPad::of(const Workspace& form) {
    return *form.mainWindow().findChild<NotesPad*>(QStringLiteral("NotesPad"),
                                                   Qt::FindDirectChildrenOnly);
}

void NotesPad::load() {
    Editor* notes = form_.notesEditor();
    // Cancel ends the command: the notes and the message stay as they were.
    if (!form_.patterns().eraseConfirmed(notes->isModifiedFlag(), text::kEraseNotes)) {
        return;
    }
    form_.patterns().fileErrorReport(text::kLoadWording, text::kLoadFailed, [&] {
        notes->loadFromFile(QString::fromLatin1(kNotesFile));
        fileForm_ = fileForm();
        form_.patterns().message("Poznámky načteny...");
    });
}

// The backup is not the notes' file: what poznamky.txt holds stays the
// measure of a change, so the way out backs these notes up again.
void NotesPad::loadBackup() {
    Editor* notes = form_.notesEditor();
    if (!form_.patterns().eraseConfirmed(notes->isModifiedFlag(), text::kEraseNotes)) {
        return;
    }
    form_.patterns().fileErrorReport(text::kLoadWording, text::kBackupLoadFailed, [&] {
        notes->loadFromFile(QString::fromLatin1(kNotesBackup));
        notes->markChanged();
        form_.patterns().message("Záloha poznámek načtena...");
    });
}

// Saved, the notes are what poznamky.txt holds: a later load asks nothing.
void NotesPad::save() {
    Editor* notes = form_.notesEditor();
    form_.patterns().fileErrorReport(text::kSaveWording, text::kSaveFailed, [&] {
        notes->saveToFile(QString::fromLatin1(kNotesFile));
        notes->markUnchanged();
        fileForm_ = fileForm();
        form_.patterns().message("Poznámky uloženy...");
    });
}

bool NotesPad::differsFromFile() const {
    return fileForm() != fileForm_;
}

void NotesPad::writeBackup() {
    if (!differsFromFile()) {
        return;
    }
    form_.patterns().fileErrorReport(text::kSaveWording, text::kBackupSaveFailed, [&] {
        form_.notesEditor()->saveToFile(QString::fromLatin1(kNotesBackup));
    });
}

void installNotesCommands(Workspace& form) {
    Editor* notes = form.notesEditor();
    // The notes take the Tab key as a character; a charset a text file
    // declares does not concern them.
    notes->setAcceptsTab(true);
    notes->setPageRules(false);

    for (const NotesCommand& c : kNotesCommands) {
        auto run = [&form, &c] {
            (form.notesEditor()->*c.operation)();
            form.patterns().message(c.message);
        };
        for (const char* control : c.controls) {
            if (control) {
                form.on(control, run);
            }
        }
        if (c.key != QKeyCombination()) {
            form.router().setOwnKey(notes, c.key, [&form, run] { form.patterns().guarded(run); });
        }
    }
    auto* pad = new NotesPad(form);
    form.on("SpeedButton33", [pad] { pad->load(); });
    form.on("SpeedButton34", [pad] { pad->save(); });
    form.on("Natzlohupoznmek1", [pad] { pad->loadBackup(); });
    form.addExitBackup([pad] { pad->writeBackup(); });

    // "ZP" and "DE" of the notes are usable while the notes have the focus.
    QAbstractButton* undo = form.button("SpeedButton68");
    QAbstractButton* erase = form.button("SpeedButton69");
    QObject::connect(notes, &Editor::entered, &form.mainWindow(), [undo, erase] {
        erase->setEnabled(true);
        undo->setEnabled(true);
    });
    QObject::connect(notes, &Editor::left, &form.mainWindow(), [undo, erase] {
        erase->setEnabled(false);
        undo->setEnabled(false);
    });
}

} // namespace zelvar
