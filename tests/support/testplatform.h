#pragma once
// Scripted stand-ins for the outside world: dialogs that answer from a
// script and record what they showed, a shell that records what it was asked
// to open, a fixed clock and fixed regional settings.

#include <QList>
#include <QStringList>
#include <functional>

#include "ground/platform.h"

namespace zelvar::testing {

struct ShownDialog {
    enum Kind { Message, Error } kind;
    QString caption;
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    QString operationMessage; // the operation label's text while the dialog showed
};

class ScriptedDialogs final : public Dialogs {
public:
    // Answers for the next message boxes; when the script is empty the
    // default (second) button is pressed, as Enter would.
    QList<MsgButton> answers;
    QList<FileDialogAnswer> fileAnswers; // empty: the dialog is cancelled
    QList<FileDialogRequest> fileRequests;
    QList<ShownDialog> shown;
    // Reads the operation label when a dialog shows (set by the fixture).
    std::function<QString()> operationProbe;
    // Fonts and colours chosen in the next font or colour dialog; empty: cancelled.
    QList<QFont> fontAnswers;
    QList<QColor> colorAnswers;
    int fontDialogs = 0;
    int colorDialogs = 0;
    // When set, these answer what the lists above leave unanswered (a random
    // run answers every dialog this way).
    std::function<MsgButton(MsgButtons)> answerMessage;
    std::function<FileDialogAnswer(bool save)> answerFile;

    MsgButton messageBox(QWidget* parent, const QString& caption, const QString& text,
                         MsgButtons buttons) override;
    void errorBox(QWidget* parent, const QString& caption, const QString& text) override;
    FileDialogAnswer openFile(QWidget* parent, const FileDialogRequest& request) override;
    FileDialogAnswer saveFile(QWidget* parent, const FileDialogRequest& request) override;
    bool chooseFont(QWidget* parent, QFont& font) override;
    bool chooseColor(QWidget* parent, QColor& color) override;

    static MsgButton defaultButton(MsgButtons buttons);
};

class RecordingShell final : public Shell {
public:
    QStringList files;
    QStringList urls;
    void openFile(const QString& absolutePath) override { files << absolutePath; }
    void openUrl(const QString& address) override { urls << address; }
};

class FixedClock final : public Clock {
public:
    QDateTime time = QDateTime(QDate(2026, 3, 9), QTime(9, 5, 3));
    // Times for the next reads, in order; when none is left, `time` is read.
    QList<QDateTime> upcoming;
    int reads = 0;
    QDateTime now() override {
        ++reads;
        return upcoming.isEmpty() ? time : upcoming.takeFirst();
    }
};

class FixedRegional final : public Regional {
public:
    QLocale value = QLocale(QLocale::Czech, QLocale::Czechia);
    QLocale locale() override { return value; }
};

// Answers the print dialogs from a script and records every job. With
// pdfPath set, every job also runs the way the program prints on a printer,
// on Qt's PDF output into that file, and its result is the job's.
class RecordingPrinting final : public Printing {
public:
    bool installed = true;
    bool setupAnswer = true;
    PrintChoice choice{true, PrintRange::All, {}};
    QString pdfPath;
    int setups = 0;
    int printDialogs = 0;
    QList<bool> selectionOffered;
    QStringList jobTitles;
    QStringList jobTexts;
    bool hasPrinter() override { return installed; }
    bool setup(QWidget*) override {
        ++setups;
        return setupAnswer;
    }
    PrintChoice askPrint(QWidget*, bool offerSelection) override {
        ++printDialogs;
        selectionOffered << offerSelection;
        return choice;
    }
    PrintOutcome print(const PrintJob& job) override;
};

// A platform made of the stand-ins above, with typed access to each.
struct TestPlatform {
    Platform platform;
    ScriptedDialogs* dialogs;
    RecordingShell* shell;
    FixedClock* clock;
    FixedRegional* regional;
    RecordingPrinting* printing;
};

TestPlatform makeTestPlatform();

} // namespace zelvar::testing
