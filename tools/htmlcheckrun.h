#pragma once
// One HTML check of a page's text at a time, run by the helper program
// zelvar-htmlcheck in a child process: whatever the page does to Tidy (a
// crash, a stack run out, hours of work), the editor goes on. A check that
// fails, runs over the time limit or is cancelled ends with a Czech message.

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

#include "text/htmlcheck.h"

namespace zelvar {

class HtmlCheckRun : public QObject {
    Q_OBJECT
public:
    explicit HtmlCheckRun(QObject* parent = nullptr);
    ~HtmlCheckRun() override;

    // The helper beside the program (QCoreApplication::applicationDirPath()).
    static QString defaultProgram();
    void setProgram(const QString& path) { program_ = path; }
    void setTimeLimit(int milliseconds) { timeLimit_ = milliseconds; }

    bool isRunning() const { return process_ != nullptr; }

    // Checks the text (a running check is given up first). The findings come
    // with the editor's columns.
    void start(const QString& text);
    // Stops a running check; it ends with failed() and the cancel message.
    void cancel();

Q_SIGNALS:
    void finished(const zelvar::HtmlCheckResult& result);
    void failed(const QString& message);

private:
    void readOutput();
    void processEnded(int exitCode, QProcess::ExitStatus status);
    void fail(const QString& message);
    void stop();

    QString program_;
    int timeLimit_;
    QProcess* process_ = nullptr;
    QTimer timer_;
    QString text_;
    QByteArray output_;
};

} // namespace zelvar
