#include "support/testplatform.h"

#include <QPrinter>
#include <QTextDocument>

namespace zelvar::testing {

MsgButton ScriptedDialogs::defaultButton(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return MsgButton::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgButton::No;
    case MsgButtons::Ok:
        break;
    }
    return MsgButton::Ok;
}

MsgButton ScriptedDialogs::messageBox(QWidget*, const QString& caption, const QString& text,
                                      MsgButtons buttons) {
    shown << ShownDialog{ShownDialog::Message, caption, text, buttons,
                         operationProbe ? operationProbe() : QString()};
    if (answers.isEmpty()) {
        return answerMessage ? answerMessage(buttons) : defaultButton(buttons);
    }
    return answers.takeFirst();
}

void ScriptedDialogs::errorBox(QWidget*, const QString& caption, const QString& text) {
    shown << ShownDialog{ShownDialog::Error, caption, text, MsgButtons::Ok,
                         operationProbe ? operationProbe() : QString()};
}

FileDialogAnswer ScriptedDialogs::openFile(QWidget*, const FileDialogRequest& request) {
    fileRequests << request;
    if (fileAnswers.isEmpty()) {
        return answerFile ? answerFile(false) : FileDialogAnswer{};
    }
    return fileAnswers.takeFirst();
}

FileDialogAnswer ScriptedDialogs::saveFile(QWidget*, const FileDialogRequest& request) {
    fileRequests << request;
    if (fileAnswers.isEmpty()) {
        return answerFile ? answerFile(true) : FileDialogAnswer{};
    }
    return fileAnswers.takeFirst();
}

bool ScriptedDialogs::chooseFont(QWidget*, QFont& font) {
    ++fontDialogs;
    if (fontAnswers.isEmpty()) {
        return false;
    }
    font = fontAnswers.takeFirst();
    return true;
}

bool ScriptedDialogs::chooseColor(QWidget*, QColor& color) {
    ++colorDialogs;
    if (colorAnswers.isEmpty()) {
        return false;
    }
    color = colorAnswers.takeFirst();
    return true;
}

PrintOutcome RecordingPrinting::print(const PrintJob& job) {
    jobTitles << job.title;
    jobTexts << job.document.toRawText();
    if (pdfPath.isEmpty()) {
        return PrintOutcome::Printed;
    }
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return printOnPrinter(printer, job);
}

TestPlatform makeTestPlatform() {
    TestPlatform t;
    auto dialogs = std::make_unique<ScriptedDialogs>();
    auto shell = std::make_unique<RecordingShell>();
    auto clock = std::make_unique<FixedClock>();
    auto regional = std::make_unique<FixedRegional>();
    auto printing = std::make_unique<RecordingPrinting>();
    t.dialogs = dialogs.get();
    t.shell = shell.get();
    t.clock = clock.get();
    t.regional = regional.get();
    t.printing = printing.get();
    t.platform.dialogs = std::move(dialogs);
    t.platform.shell = std::move(shell);
    t.platform.clock = std::move(clock);
    t.platform.regional = std::move(regional);
    t.platform.printing = std::move(printing);
    return t;
}

} // namespace zelvar::testing
