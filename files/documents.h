#pragma once
// New, Open and Save As on the shown page, and the open and save dialogs
// that remember the name and filter chosen last (the exit sequence offers the
// save dialog's name again; the file preview reads and sets the open one).

#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;

namespace zelvar {

class Editor;
class Workspace;
struct FileDialogRequest;
struct PageRecord;

class Documents : public QObject {
    Q_OBJECT
public:
    explicit Documents(Workspace& form);
    // The one instance that belongs to the main window.
    static Documents& of(const Workspace& form);

    void newPage();
    void open();
    void saveAs();
    // The files named on the command line, into pages 1, 2, ... as Open
    // would open each into its page. A file that cannot be read is shown by
    // the exception display and the others still open; files beyond the
    // fifth are not opened, and a notice names them.
    void openFiles(const QStringList& files);

    // Shows the dialog with the filter chosen last and returns the chosen
    // name, which is then remembered, or an empty text when cancelled. The
    // open dialog starts with the name chosen last, in the shown page's
    // folder when the page has a file (or at that file itself); the save
    // dialog proposes the page's own file, for a page with none the name
    // chosen last.
    enum class OpenStart { PageFolder, PageFile };
    QString askOpenName(OpenStart start = OpenStart::PageFolder);
    QString askSaveName(int slot);
    QString openName() const { return open_.fileName; }
    void setOpenName(const QString& name) { open_.fileName = name; }
    QString saveName() const { return save_.fileName; }

    // The last ten files opened or saved, the latest first; kept in the
    // settings.
    QStringList recentFiles() const;
    // Opens a file of the list into the shown page as Open does.
    void openRecent(const QString& file);
    // The list as the entries of its submenu.
    void fillRecentMenu(QMenu* menu);

    static FileDialogRequest openRequest();
    static FileDialogRequest saveRequest();

private:
    struct Remembered {
        QString fileName;
        int filterIndex = 1;
    };
    QString ask(Remembered& memory, bool save, const QString& proposed, const PageRecord* page);
    // Loads the file into the editor in plain-text form, as Open does after
    // its dialog.
    void openInto(int slot, const QString& name);
    void noteRecent(const QString& file);

    Workspace& form_;
    Remembered open_;
    Remembered save_;
};

// Replaces the shown page with one of the program's own files: asks first
// when the page holds changes (Cancel ends the command with nothing changed),
// loads the file guarded by the file error report with the load wording and
// the failure word, and on success writes the message.
void replacePageFromFile(Workspace& form, const QString& file, const char* failureWord,
                         const char* successMessage);

// The page of the slot now belongs to the file as it is on disk (an empty
// name: to no file); the page events say so.
void setPageFile(Workspace& form, int slot, const QString& file);

} // namespace zelvar
