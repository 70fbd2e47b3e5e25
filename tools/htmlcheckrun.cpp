#include "tools/htmlcheckrun.h"

#include <QCoreApplication>
#include <QDir>

namespace zelvar {

namespace {

constexpr int kDefaultTimeLimit = 60 * 1000; // a 20 MB page takes some 10 s
// Far more than the listed findings need: anything beyond is no result.
constexpr qsizetype kMaxOutputBytes = qsizetype(256) << 20;

constexpr const char* kCheckFailed = "Kontrola HTML se nezdařila; na stránce se nic nezměnilo.";
constexpr const char* kCheckTooLong =
    "Kontrola HTML trvala déle než %1 s a byla ukončena; na stránce se nic nezměnilo.";
constexpr const char* kCheckCancelled = "Kontrola HTML byla zrušena.";
constexpr const char* kHelperMissing =
    "Kontrolu HTML nelze spustit: chybí program zelvar-htmlcheck.";

} // namespace

HtmlCheckRun::HtmlCheckRun(QObject* parent)
    : QObject(parent), program_(defaultProgram()), timeLimit_(kDefaultTimeLimit) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this,
            [this] { fail(QString::fromUtf8(kCheckTooLong).arg(timeLimit_ / 1000.0)); });
}

HtmlCheckRun::~HtmlCheckRun() {
    stop();
}

QString HtmlCheckRun::defaultProgram() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("zelvar-htmlcheck");
}

void HtmlCheckRun::start(const QString& text) {
    stop();
    text_ = text;
    process_ = new QProcess(this);
    process_->setProgram(program_);
    process_->setStandardErrorFile(QProcess::nullDevice());
    connect(process_, &QProcess::readyReadStandardOutput, this, &HtmlCheckRun::readOutput);
    connect(process_, &QProcess::finished, this, &HtmlCheckRun::processEnded);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        // A helper that ends early cannot take the whole page: its end decides.
        if (error == QProcess::FailedToStart) {
            fail(QString::fromUtf8(kHelperMissing));
        }
    });
    timer_.start(timeLimit_);
    process_->start();
    if (process_) {
        process_->write(checkInput(text));
        process_->closeWriteChannel();
    }
}

void HtmlCheckRun::cancel() {
    if (isRunning()) {
        fail(QString::fromUtf8(kCheckCancelled));
    }
}

void HtmlCheckRun::readOutput() {
    output_ += process_->readAllStandardOutput();
    if (output_.size() > kMaxOutputBytes) {
        fail(QString::fromUtf8(kCheckFailed));
    }
}

void HtmlCheckRun::processEnded(int exitCode, QProcess::ExitStatus status) {
    output_ += process_->readAllStandardOutput();
    std::optional<HtmlCheckResult> result;
    if (status == QProcess::NormalExit && exitCode == 0) {
        result = decodeCheckResult(output_);
    }
    if (!result) {
        fail(QString::fromUtf8(kCheckFailed));
        return;
    }
    mapColumnsToEditor(*result, text_);
    stop();
    Q_EMIT finished(*result);
}

void HtmlCheckRun::fail(const QString& message) {
    stop();
    Q_EMIT failed(message);
}

void HtmlCheckRun::stop() {
    timer_.stop();
    if (process_) {
        // Called from the process's own signals too: it goes when they are done.
        process_->disconnect(this);
        process_->kill();
        process_->waitForFinished(1000);
        process_->deleteLater();
        process_ = nullptr;
    }
    text_.clear();
    output_.clear();
}

} // namespace zelvar
