#pragma once
// Everything that leaves the process goes through these small interfaces:
// message boxes and the standard dialogs, the system shell's "open", the
// clock, the regional settings and the printer. The program runs on the Qt
// implementations (qtplatform.cpp); the tests install scripted ones.

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPageRanges>
#include <QString>
#include <memory>

class QPrinter;
class QWidget;
class QTextDocument;

namespace zelvar {

enum class MsgButton { Ok, Cancel, Yes, No };

// The buttons of the application's message box. The second button is always
// the default one (Enter answers Cancel or No); Escape answers Cancel where
// there is one, else the default.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };

struct FileDialogRequest {
    QString title;
    QString filter;      // "Popis (*.a);;Popis (*.b)"
    int filterIndex = 1; // one-based, as the dialog remembers it
    QString defaultExt;  // without the dot; appended when the typed name has none
    QString fileName;    // the name the dialog starts with; ending in '/', its folder
    // Save: the page's own file, replaced without the dialog's question
    // while it is as the page last read or wrote it; changed by another
    // program since, replacing it asks whether to.
    QString ownFile;
    bool ownFileChanged = false;
};

struct FileDialogAnswer {
    bool accepted = false;
    QString fileName;
    int filterIndex = 1;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal message box with the given caption, the exclamation icon and the
    // second button as default. Returns the pressed button.
    virtual MsgButton messageBox(QWidget* parent, const QString& caption, const QString& text,
                                 MsgButtons buttons) = 0;
    // Modal dialog with the error icon, the given caption and one OK button.
    virtual void errorBox(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual FileDialogAnswer openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual FileDialogAnswer saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Font and colour dialogs: start from the value given, return false when
    // cancelled (the value is then left as it was).
    virtual bool chooseFont(QWidget* parent, QFont& font) = 0;
    virtual bool chooseColor(QWidget* parent, QColor& color) = 0;
};

// The system shell's "open" on a local file or a web address; the result is
// not used by the program.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void openFile(const QString& absolutePath) = 0;
    virtual void openUrl(const QString& address) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
};

// The user's regional settings, read when needed (they may change while the
// program runs).
class Regional {
public:
    virtual ~Regional() = default;
    virtual QLocale locale() = 0;
};

// Printing: the print and printer set-up dialogs and the print job itself.
// The seam reports what the user chose; what to print is the program's
// decision.
enum class PrintRange { All, Selection, Pages };

struct PrintChoice {
    bool accepted = false;
    PrintRange range = PrintRange::All;
    QPageRanges pages; // with Pages: the pages asked for, one-based
};

// One print job: the document laid out on the printable area of the
// printer's pages, with no margins or page numbers of its own.
// What became of a print job.
enum class PrintOutcome {
    Printed,
    NothingInRange, // the pages asked for lie beyond the text: nothing printed
    Refused,        // the job cannot start or a page cannot be added
};

struct PrintJob {
    const QTextDocument& document;
    QString title;
    QPageRanges pages; // empty: every page
};

class Printing {
public:
    virtual ~Printing() = default;
    // Whether any printer is installed.
    virtual bool hasPrinter() = 0;
    // Printer set-up dialog: the printer and its paper. A confirmed choice
    // is the printer of later jobs; false when cancelled.
    virtual bool setup(QWidget* parent) = 0;
    // Print dialog on the current printer; the selection is offered as a
    // range when `offerSelection` is true.
    virtual PrintChoice askPrint(QWidget* parent, bool offerSelection) = 0;
    // Prints the job on the current printer.
    virtual PrintOutcome print(const PrintJob& job) = 0;
};

struct Platform {
    // The settings file; empty keeps the settings in memory.
    QString settingsFile;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<Regional> regional;
    std::unique_ptr<Printing> printing;
};

// The Qt implementations used by the program.
Platform makeQtPlatform();

// The print job on a Qt printer, as the Qt implementation runs it; the tests
// run it on Qt's PDF output.
PrintOutcome printOnPrinter(QPrinter& printer, const PrintJob& job);

} // namespace zelvar
