// The Qt implementations of the program's outside world.

#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include "app/platform.h"

namespace zelvar {

namespace {

class QtDialogs final : public Dialogs {
public:
    MsgButton messageBox(QWidget* parent, const QString& caption, const QString& text,
                         MsgButtons buttons) override {
        QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, parent);
        QMessageBox::StandardButton first = QMessageBox::Ok;
        QMessageBox::StandardButton second = QMessageBox::NoButton;
        switch (buttons) {
        case MsgButtons::Ok:
            break;
        case MsgButtons::OkCancel:
            second = QMessageBox::Cancel;
            break;
        case MsgButtons::YesNo:
            first = QMessageBox::Yes;
            second = QMessageBox::No;
            break;
        }
        box.addButton(first);
        if (second != QMessageBox::NoButton) {
            box.addButton(second);
        }
        // The second button is the default: Enter answers Cancel or No.
        const QMessageBox::StandardButton preset = second != QMessageBox::NoButton ? second : first;
        box.setDefaultButton(preset);
        box.setEscapeButton(preset);
        box.exec();
        switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Yes:
            return MsgButton::Yes;
        case QMessageBox::No:
            return MsgButton::No;
        case QMessageBox::Ok:
            return MsgButton::Ok;
        default:
            return buttons == MsgButtons::YesNo ? MsgButton::No
                   : buttons == MsgButtons::Ok  ? MsgButton::Ok
                                                : MsgButton::Cancel;
        }
    }

    void errorBox(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
        box.exec();
    }

    FileDialogAnswer openFile(QWidget* parent, const FileDialogRequest& request) override {
        return run(parent, request, QFileDialog::AcceptOpen);
    }

    FileDialogAnswer saveFile(QWidget* parent, const FileDialogRequest& request) override {
        return run(parent, request, QFileDialog::AcceptSave);
    }

    bool chooseFont(QWidget* parent, QFont& font) override {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, font, parent);
        if (ok) {
            font = chosen;
        }
        return ok;
    }

    bool chooseColor(QWidget* parent, QColor& color) override {
        const QColor chosen = QColorDialog::getColor(color, parent);
        if (!chosen.isValid()) {
            return false;
        }
        color = chosen;
        return true;
    }

private:
    // A name typed without an extension gets the one of the chosen filter
    // ("Textový dokument (*.txt)" gives ".txt"), or the default one when the
    // filter names no single extension.
    static QString withExtension(const QString& fileName, const QString& filter,
                                 const QString& defaultExt) {
        if (!QFileInfo(fileName).suffix().isEmpty()) {
            return fileName;
        }
        static const QRegularExpression single(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)"));
        const QRegularExpressionMatch m = single.match(filter);
        const QString ext = m.hasMatch() ? m.captured(1) : defaultExt;
        return ext.isEmpty() ? fileName : fileName + QLatin1Char('.') + ext;
    }

    // Qt's pattern "*.*" matches only names with a dot; an entry that asks
    // for every file by that pattern is given "*" instead.
    static QString listingEveryFile(QString filter) {
        const QLatin1String dotted("(*.*)");
        if (filter.endsWith(dotted)) {
            filter.replace(filter.size() - dotted.size(), dotted.size(), QStringLiteral("(*)"));
        }
        return filter;
    }

    // The save dialog asks before it replaces an existing file (Qt's
    // default, never switched off here); the open dialog lets the working
    // folder be.
    static FileDialogAnswer run(QWidget* parent, const FileDialogRequest& request,
                                QFileDialog::AcceptMode mode) {
        QFileDialog dialog(parent, request.title);
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
        // The captions as the program writes them, and the patterns the
        // dialog filters by.
        const QStringList captions = request.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
        QStringList filters;
        for (const QString& caption : captions) {
            filters << listingEveryFile(caption);
        }
        dialog.setNameFilters(filters);
        // Qt's own dialog shows the entries' captions unchanged (a native one
        // shows only the names before the patterns).
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        const bool captioned = types && types->count() == captions.size();
        if (captioned) {
            for (int i = 0; i < captions.size(); ++i) {
                types->setItemText(i, captions.at(i));
            }
        }
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
            dialog.selectNameFilter((captioned ? captions : filters).at(request.filterIndex - 1));
        }
        if (!request.fileName.isEmpty()) {
            dialog.selectFile(request.fileName);
        }
        FileDialogAnswer answer;
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return answer;
        }
        answer.accepted = true;
        answer.fileName = dialog.selectedFiles().constFirst();
        const QString chosenFilter = dialog.selectedNameFilter();
        const qsizetype chosen =
            qMax(captions.indexOf(chosenFilter), filters.indexOf(chosenFilter));
        answer.filterIndex = chosen >= 0 ? int(chosen) + 1 : request.filterIndex;
        if (mode == QFileDialog::AcceptSave) {
            answer.fileName = withExtension(answer.fileName, chosenFilter, request.defaultExt);
        }
        return answer;
    }
};

class QtShell final : public Shell {
public:
    void openFile(const QString& absolutePath) override {
        QDesktopServices::openUrl(QUrl::fromLocalFile(absolutePath));
    }
    void openUrl(const QString& address) override {
        QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
    }
};

class QtClock final : public Clock {
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

class QtRegional final : public Regional {
public:
    QLocale locale() override { return QLocale::system(); }
};

class QtPrinting final : public Printing {
public:
    bool setup(QWidget* parent) override {
        QPageSetupDialog dialog(&printer(), parent);
        return dialog.exec() == QDialog::Accepted;
    }
    bool askPrint(QWidget* parent) override {
        QPrintDialog dialog(&printer(), parent);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        return dialog.exec() == QDialog::Accepted;
    }
    void print(const QTextDocument& document, const QString& title) override {
        // The whole text is printed, whatever range the dialog offered.
        printer().setPrintRange(QPrinter::AllPages);
        printer().setFromTo(0, 0);
        printer().setDocName(title);
        document.print(&printer());
    }

private:
    // The printer is set up on first use: asking the print system for its
    // printers costs time that start-up need not spend.
    QPrinter& printer() {
        if (!printer_) {
            printer_ = std::make_unique<QPrinter>();
        }
        return *printer_;
    }
    std::unique_ptr<QPrinter> printer_;
};

} // namespace

Platform makeQtPlatform() {
    Platform p;
    p.dialogs = std::make_unique<QtDialogs>();
    p.shell = std::make_unique<QtShell>();
    p.clock = std::make_unique<QtClock>();
    p.regional = std::make_unique<QtRegional>();
    p.printing = std::make_unique<QtPrinting>();
    return p;
}

} // namespace zelvar
