#pragma once
// The shared dialog patterns: the operation message, the erase confirmation,
// the yes-no question, the notice, the file error report and the exception
// display. Commands use these and never build a message box themselves.

#include <QString>
#include <functional>

#include "ground/texts.h"

class QLabel;
class QWidget;

namespace zelvar {

class Dialogs;
class Editor;
enum class MsgButton;

class Patterns {
public:
    Patterns(QWidget* owner, Dialogs& dialogs, QLabel* operationLabel);

    // Writes the operation message into the operation label.
    void message(const QString& text);
    void message(const char* utf8) { message(text::q(utf8)); }
    QString currentMessage() const;

    // Asks only when the editor is modified; true means the command goes on
    // (not modified, or OK), false that it stops (Cancel, the default).
    bool eraseConfirmed(bool modified, const char* question);
    // Yes-no question; No is the default. True for Yes.
    bool askYesNo(const QString& question);
    // Yes-no-cancel question; No is the default, Escape answers Cancel.
    MsgButton askYesNoCancel(const QString& question);
    void notice(const char* text) { notice(text::q(text)); }
    void notice(const QString& text);

    // Runs one whole-file load or save. When it throws, the failure word is
    // written into the operation label first, then the error dialog shows
    // the wording's first text (the file could not be opened or created) or
    // its second (any other failure). Returns whether the operation succeeded.
    bool fileErrorReport(const text::Wording& wording, const char* failureWord,
                         const std::function<void()>& operation);

    // A failure outside the file transfers: the failure word into the
    // operation label, then the error dialog with the text.
    void errorReport(const char* failureWord, const char* text);

    // The application's exception display: the message with a full stop
    // appended when its last character sorts after the full stop, the
    // application title as caption, the error icon and OK.
    void exceptionDisplay(const QString& message);
    static QString exceptionText(const QString& message);

    // Runs a command; anything that escapes it reaches the exception display
    // and the program goes on.
    void guarded(const std::function<void()>& command);

    Dialogs& dialogs() { return dialogs_; }
    QWidget* owner() const { return owner_; }

private:
    QWidget* owner_;
    Dialogs& dialogs_;
    QLabel* label_;
};

} // namespace zelvar
