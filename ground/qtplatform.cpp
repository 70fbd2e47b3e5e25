// The Qt implementations of the program's outside world.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include "ground/platform.h"
#include "ground/settings.h"
#include "ground/texts.h"

namespace zelvar {

namespace {

// A dialog gives the keyboard focus back to where it was when it came up:
// without it, a window manager may leave no window active once the dialog
// has gone, and the next keys are lost.
class FocusComesBack {
public:
    FocusComesBack() : focus_(QApplication::focusWidget()) {}
    ~FocusComesBack() {
        if (focus_ && focus_->isVisible()) {
            focus_->window()->activateWindow();
            focus_->setFocus(Qt::OtherFocusReason);
        }
    }
    FocusComesBack(const FocusComesBack&) = delete;
    FocusComesBack& operator=(const FocusComesBack&) = delete;

private:
    QPointer<QWidget> focus_;
};

class QtDialogs final : public Dialogs {
public:
    MsgButton messageBox(QWidget* parent, const QString& caption, const QString& text,
                         MsgButtons buttons) override {
        const FocusComesBack focus;
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
        case MsgButtons::YesNoCancel:
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
        if (buttons == MsgButtons::YesNoCancel) {
            // The three answers in the program's own words.
            box.button(QMessageBox::Yes)->setText(text::q(text::kYesButton));
            box.button(QMessageBox::No)->setText(text::q(text::kNoButton));
            box.addButton(QMessageBox::Cancel)->setText(text::q(text::kCancelButton));
            box.setEscapeButton(QMessageBox::Cancel);
        }
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
        const FocusComesBack focus;
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
        box.exec();
    }

    FileDialogAnswer openFile(QWidget* parent, const FileDialogRequest& request) override {
        const FocusComesBack focus;
        return run(parent, request, QFileDialog::AcceptOpen);
    }

    FileDialogAnswer saveFile(QWidget* parent, const FileDialogRequest& request) override {
        const FocusComesBack focus;
        return run(parent, request, QFileDialog::AcceptSave);
    }

    bool chooseFont(QWidget* parent, QFont& font) override {
        const FocusComesBack focus;
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, font, parent);
        if (ok) {
            font = chosen;
        }
        return ok;
    }

    bool chooseColor(QWidget* parent, QColor& color) override {
        const FocusComesBack focus;
        const QColor chosen = QColorDialog::getColor(color, parent);
        if (!chosen.isValid()) {
            return false;
        }
        color = chosen;
        return true;
    }

private:
    // A name typed without an extension gets the one of the chosen filter
    // ("Textový dokument (*.txt)" gives "txt"), or the default one when the
    // filter names no single extension.
    static QString extensionOf(const QString& filter, const QString& defaultExt) {
        static const QRegularExpression single(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)"));
        const QRegularExpressionMatch m = single.match(filter);
        return m.hasMatch() ? m.captured(1) : defaultExt;
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
    // default, but for the page's own file); the open dialog lets the
    // working folder be.
    // The save dialog replaces the page's own file without its question
    // while the file is as the page last read or wrote it, and asks the
    // program's own question when another program changed it since.
    class FileDialog final : public QFileDialog {
    public:
        FileDialog(QWidget* parent, const FileDialogRequest& request, QtDialogs& dialogs)
            : QFileDialog(parent, request.title), request_(request), dialogs_(dialogs) {}

    protected:
        void accept() override {
            bool quiet = false;
            const QStringList chosen = selectedFiles();
            if (acceptMode() == AcceptSave && !request_.ownFile.isEmpty() && chosen.size() == 1 &&
                QFileInfo(chosen.first()) == QFileInfo(request_.ownFile) &&
                QFileInfo::exists(request_.ownFile)) {
                if (request_.ownFileChanged &&
                    dialogs_.messageBox(this, text::q(text::kMessageCaption),
                                        text::q(text::kChangedOutsideQuestion)
                                            .arg(QDir::toNativeSeparators(request_.ownFile)),
                                        MsgButtons::YesNo) != MsgButton::Yes) {
                    return; // the dialog stays open for another name
                }
                quiet = true;
            }
            setOption(DontConfirmOverwrite, quiet);
            QFileDialog::accept();
            setOption(DontConfirmOverwrite, false);
        }

    private:
        const FileDialogRequest& request_;
        QtDialogs& dialogs_;
    };

    FileDialogAnswer run(QWidget* parent, const FileDialogRequest& request,
                         QFileDialog::AcceptMode mode) {
        FileDialog dialog(parent, request, *this);
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
        if (mode == QFileDialog::AcceptSave) {
            // The dialog itself adds the extension, before it asks whether
            // an existing file may be replaced: the question concerns the
            // name that is written.
            dialog.setDefaultSuffix(extensionOf(dialog.selectedNameFilter(), request.defaultExt));
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                             [&dialog, &request](const QString& filter) {
                                 dialog.setDefaultSuffix(extensionOf(filter, request.defaultExt));
                             });
        }
        if (request.fileName.endsWith(QLatin1Char('/'))) {
            dialog.setDirectory(request.fileName);
        } else if (!request.fileName.isEmpty()) {
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

// The printer set-up: which printer, and its paper through the toolkit's
// page set-up. The choices are made on a copy and become the printer of
// later jobs only when the user confirms.
class PrinterSetupDialog final : public QDialog {
public:
    PrinterSetupDialog(QPrinter& printer, QWidget* parent) : QDialog(parent), printer_(printer) {
        setObjectName(QStringLiteral("PrinterSetupDialog1"));
        setWindowTitle(text::q(text::kPrinterSetupTitle));
        auto* names = new QComboBox(this);
        names->setObjectName(QStringLiteral("PrinterName"));
        names->addItems(QPrinterInfo::availablePrinterNames());
        const QString current = printer.printerName().isEmpty() ? QPrinterInfo::defaultPrinterName()
                                                                : printer.printerName();
        names->setCurrentIndex(qMax(0, names->findText(current)));
        staged_.setPrinterName(names->currentText());
        staged_.setPageLayout(printer.pageLayout());
        connect(names, &QComboBox::currentTextChanged, this,
                [this](const QString& name) { staged_.setPrinterName(name); });
        auto* paper = new QPushButton(text::q(text::kPaperButton), this);
        paper->setObjectName(QStringLiteral("PaperButton"));
        connect(paper, &QPushButton::clicked, this, [this] {
            QPageSetupDialog dialog(&staged_, this);
            dialog.exec();
        });
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* layout = new QFormLayout(this);
        layout->addRow(text::q(text::kPrinterLabel), names);
        layout->addRow(QString(), paper);
        layout->addRow(buttons);
    }

    void accept() override {
        printer_.setPrinterName(staged_.printerName());
        printer_.setPageLayout(staged_.pageLayout());
        QDialog::accept();
    }

private:
    QPrinter& printer_;
    QPrinter staged_;
};

class QtPrinting final : public Printing {
public:
    bool hasPrinter() override { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

    bool setup(QWidget* parent) override {
        const FocusComesBack focus;
        PrinterSetupDialog dialog(printer(), parent);
        return dialog.exec() == QDialog::Accepted;
    }

    PrintChoice askPrint(QWidget* parent, bool offerSelection) override {
        const FocusComesBack focus;
        // Every showing starts from the whole text.
        printer().setPrintRange(QPrinter::AllPages);
        printer().setPageRanges(QPageRanges());
        QPrintDialog dialog(&printer(), parent);
        dialog.setObjectName(QStringLiteral("PrintDialog1"));
        dialog.setOption(QAbstractPrintDialog::PrintSelection, offerSelection);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        PrintChoice choice;
        if (dialog.exec() != QDialog::Accepted) {
            return choice;
        }
        choice.accepted = true;
        switch (dialog.printRange()) {
        case QAbstractPrintDialog::Selection:
            choice.range = PrintRange::Selection;
            break;
        case QAbstractPrintDialog::PageRange:
            choice.range = PrintRange::Pages;
            choice.pages = printer().pageRanges();
            if (choice.pages.isEmpty()) {
                choice.pages.addRange(dialog.fromPage(), qMax(dialog.fromPage(), dialog.toPage()));
            }
            break;
        default:
            break;
        }
        return choice;
    }

    PrintOutcome print(const PrintJob& job) override { return printOnPrinter(printer(), job); }

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

PrintOutcome printOnPrinter(QPrinter& printer, const PrintJob& job) {
    // A copy laid out for the printer, whose page is the printable area: the
    // text fills it from the first character, with no margins or page
    // numbers of the toolkit's own.
    std::unique_ptr<QTextDocument> doc(job.document.clone());
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    layout->setPaintDevice(&printer);
    doc->setDocumentMargin(0);
    const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
    doc->setPageSize(area);
    QList<int> pages;
    for (int page = 1; page <= doc->pageCount(); ++page) {
        if (job.pages.isEmpty() || job.pages.contains(page)) {
            pages << page;
        }
    }
    if (pages.isEmpty()) {
        return PrintOutcome::NothingInRange;
    }
    printer.setDocName(job.title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintOutcome::Refused;
    }
    for (int page : pages) {
        if (page != pages.first() && !printer.newPage()) {
            painter.end();
            return PrintOutcome::Refused;
        }
        const QRectF view(QPointF(0, (page - 1) * area.height()), area);
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        // The layout moves a line that would cross the foot of a page to the
        // next one, so a line only touches the page before. The layout draws
        // every line that meets its clip: a clip kept off the edges keeps
        // such a line out of the page's content (a PDF would hold it twice).
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view.adjusted(0, 0.5, 0, -0.5);
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
    }
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Refused;
}

Platform makeQtPlatform() {
    Platform p;
    p.dialogs = std::make_unique<QtDialogs>();
    p.shell = std::make_unique<QtShell>();
    p.clock = std::make_unique<QtClock>();
    p.regional = std::make_unique<QtRegional>();
    p.printing = std::make_unique<QtPrinting>();
    p.settingsFile = Settings::userFile();
    return p;
}

} // namespace zelvar
