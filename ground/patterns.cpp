#include "ground/patterns.h"

#include <QLabel>
#include <exception>

#include "ground/platform.h"
#include "text/pagefile.h"

namespace zelvar {

Patterns::Patterns(QWidget* owner, Dialogs& dialogs, QLabel* operationLabel)
    : owner_(owner), dialogs_(dialogs), label_(operationLabel) {}

void Patterns::message(const QString& text) {
    label_->setText(text);
}

QString Patterns::currentMessage() const {
    return label_->text();
}

bool Patterns::eraseConfirmed(bool modified, const char* question) {
    if (!modified) {
        return true;
    }
    return dialogs_.messageBox(owner_, text::q(text::kMessageCaption), text::q(question),
                               MsgButtons::OkCancel) == MsgButton::Ok;
}

bool Patterns::askYesNo(const QString& question) {
    return dialogs_.messageBox(owner_, text::q(text::kMessageCaption), question,
                               MsgButtons::YesNo) == MsgButton::Yes;
}

MsgButton Patterns::askYesNoCancel(const QString& question) {
    return dialogs_.messageBox(owner_, text::q(text::kMessageCaption), question,
                               MsgButtons::YesNoCancel);
}

void Patterns::notice(const QString& noticeText) {
    dialogs_.messageBox(owner_, text::q(text::kMessageCaption), noticeText, MsgButtons::Ok);
}

bool Patterns::fileErrorReport(const text::Wording& wording, const char* failureWord,
                               const std::function<void()>& operation) {
    const char* shown = nullptr;
    try {
        operation();
        return true;
    } catch (const FileError& e) {
        shown = e.kind() == FileFailure::General ? wording.failedDuring : wording.cannotAccess;
    } catch (const std::exception&) {
        shown = wording.failedDuring;
    }
    message(failureWord);
    dialogs_.errorBox(owner_, text::q(text::kErrorCaption), text::q(shown));
    return false;
}

void Patterns::errorReport(const char* failureWord, const char* errorText) {
    message(failureWord);
    dialogs_.errorBox(owner_, text::q(text::kErrorCaption), text::q(errorText));
}

QString Patterns::exceptionText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
        return message + QLatin1Char('.');
    }
    return message;
}

void Patterns::exceptionDisplay(const QString& message) {
    dialogs_.errorBox(owner_, text::q(text::kApplicationTitle), exceptionText(message));
}

void Patterns::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const FileError& e) {
        exceptionDisplay(e.message());
    } catch (const std::exception& e) {
        exceptionDisplay(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace zelvar
