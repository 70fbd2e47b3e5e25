// Printing the shown page from the File menu, Ctrl+P and the toolbar, and the
// printer set-up: what reaches the printer through the recording printer,
// and what Qt's PDF output really draws when the job runs as on a printer.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <memory>

#include "editor/editor.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "support/filebytes.h"
#include "support/literals.h"
#include "support/modal.h"
#include "support/pdfpages.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::PdfDocument;
using zelvar::testing::RecordingPrinting;
using zelvar::testing::TestProgram;
using zelvar::testing::u;

Q_DECLARE_METATYPE(zelvar::PrintRange)

namespace {

// A text as the print job receives it: lines separated by the paragraph
// separator.
QString job(QString text) {
    return text.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
}

// Lines numbered from 1, enough of them to fill several printed pages.
QString numberedLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << u("řádek č. %1").arg(i);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void printCommand_data();
    void printCommand();
    void emptyPageIsOneJob();
    void ctrlPFromEveryControl();
    void printerSetup();
    void refusedJobIsAFailure();
    void printoutIsTheText_data();
    void printoutIsTheText();
    void printoutPageRange();
    void printoutKeepsColours();
    void qtDialogs();
    void qtPrintDialogAnswers_data();
    void qtPrintDialogAnswers();
    void qtSetupAppliesOnlyAfterOk();

private:
    TForm1& form() { return p_->form(); }
    RecordingPrinting& printing() { return p_->printing(); }
    void showPage(int slot);
    void run(const QString& control);
    // Prints the shown page through the menu into a PDF file and reads it back.
    PdfDocument printout();

    std::unique_ptr<TestProgram> p_;
};

void PrintingTest::initTestCase() {
    p_ = std::make_unique<TestProgram>();
    QVERIFY(p_->showAndActivate());
}

void PrintingTest::cleanupTestCase() {
    p_.reset();
}

void PrintingTest::init() {
    printing() = RecordingPrinting{};
    p_->dialogs().shown.clear();
    p_->resetEditors();
    form().patterns().message("before");
}

void PrintingTest::showPage(int slot) {
    form().action(qPrintable(QStringLiteral("Page%1").arg(slot) + QLatin1Char('1')))->trigger();
    QCOMPARE(form().shownSlot(), slot);
}

void PrintingTest::run(const QString& control) {
    const QByteArray name = control.toLatin1();
    if (QAbstractButton* b = form().button(name.constData())) {
        QTest::mouseClick(b, Qt::LeftButton);
    } else {
        form().action(name.constData())->trigger();
    }
}

PdfDocument PrintingTest::printout() {
    printing().pdfPath = p_->path(QStringLiteral("printout.pdf"));
    QFile::remove(printing().pdfPath);
    form().action("Tisk1")->trigger();
    return zelvar::testing::readPdfPages(printing().pdfPath);
}

void PrintingTest::printCommand_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("accepted");
    for (const char* control : {"Tisk1", "SpeedButton46"}) {
        QTest::addRow("%s printed", control) << control << true << true;
        QTest::addRow("%s cancelled", control) << control << true << false;
        QTest::addRow("%s without a printer", control) << control << false << true;
    }
    QTest::newRow("set-up without a printer") << "Nastaventisku1" << false << true;
}

// The shown page is printed as it is and left unchanged; without a printer
// the user is told so, no dialog opens, nothing is printed and no message
// claims otherwise.
void PrintingTest::printCommand() {
    QFETCH(QString, control);
    QFETCH(bool, installed);
    QFETCH(bool, accepted);
    const QString page = QStringLiteral("page %1\n<B>line</B>");
    for (int slot = 1; slot <= 5; ++slot) {
        form().editor(slot)->setPlainText(page.arg(slot));
    }
    showPage(4);
    form().patterns().message("before");
    printing().installed = installed;
    printing().choice.accepted = accepted;
    if (!installed) {
        printing().pdfPath = p_->path(QStringLiteral("none.pdf"));
    }
    run(control);
    QCOMPARE(printing().printDialogs, installed ? 1 : 0);
    QCOMPARE(printing().jobTexts,
             accepted && installed ? QStringList{job(page.arg(4))} : QStringList());
    QCOMPARE(printing().jobTitles, accepted && installed ? QStringList{QString()} : QStringList());
    QCOMPARE(p_->message(), installed ? u("Tisk...") : QStringLiteral("before"));
    QCOMPARE(form().editor(4)->toPlainText(), page.arg(4));
    QCOMPARE(printing().setups, 0);
    if (installed) {
        QVERIFY(p_->dialogs().shown.isEmpty());
        return;
    }
    QCOMPARE(p_->dialogs().shown.size(), 1);
    const zelvar::testing::ShownDialog& notice = p_->dialogs().shown[0];
    QCOMPARE(notice.kind, zelvar::testing::ShownDialog::Message);
    QCOMPARE(notice.text, u(text::kNoPrinter));
    QCOMPARE(notice.caption, u(text::kMessageCaption));
    QCOMPARE(notice.buttons, MsgButtons::Ok);
    QVERIFY(!QFile::exists(printing().pdfPath));
}

void PrintingTest::emptyPageIsOneJob() {
    form().editor(2)->setPlainText("not shown");
    const PdfDocument pdf = printout();
    QCOMPARE(printing().jobTexts, QStringList{QString()});
    QCOMPARE(printing().jobTitles, QStringList{QString()});
    // One blank page: nothing of the toolkit's own is drawn on it.
    QVERIFY(pdf.ok);
    QCOMPARE(pdf.pages.size(), 1);
    QVERIFY(pdf.pages.first().runs.isEmpty());
}

void PrintingTest::ctrlPFromEveryControl() {
    showPage(3);
    form().editor(3)->setPlainText("three");
    form().notesEditor()->setPlainText("notes");
    int jobs = 0;
    for (QWidget* w :
         {static_cast<QWidget*>(form().editor(3)), static_cast<QWidget*>(form().notesEditor()),
          static_cast<QWidget*>(form().button("Button4"))}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_P, Qt::ControlModifier);
        ++jobs;
        QCOMPARE(printing().jobTexts.size(), jobs);
        QCOMPARE(printing().jobTexts.last(), QStringLiteral("three"));
    }
    // The key reached no editor.
    QCOMPARE(form().editor(3)->toPlainText(), QStringLiteral("three"));
    QCOMPARE(form().notesEditor()->toPlainText(), QStringLiteral("notes"));
}

void PrintingTest::printerSetup() {
    form().action("Nastaventisku1")->trigger();
    QCOMPARE(printing().setups, 1);
    QCOMPARE(p_->message(), u("Nastavení tisku..."));
    printing().setupAnswer = false;
    form().patterns().message("before");
    form().action("Nastaventisku1")->trigger();
    QCOMPARE(printing().setups, 2);
    QCOMPARE(p_->message(), u("Nastavení tisku..."));
    // Setting up prints nothing and asks nothing else.
    QCOMPARE(printing().printDialogs, 0);
    QVERIFY(printing().jobTexts.isEmpty());
    QVERIFY(p_->dialogs().shown.isEmpty());
}

// A job the printing layer refuses (here Qt's PDF output into a path that
// cannot be a file) is reported as a failure, never as printed.
void PrintingTest::refusedJobIsAFailure() {
    form().editor(1)->setPlainText("text");
    zelvar::testing::writeAll(p_->path(QStringLiteral("plainfile")), "x");
    printing().pdfPath = p_->path(QStringLiteral("plainfile/printout.pdf"));
    form().action("Tisk1")->trigger();
    QCOMPARE(printing().jobTexts.size(), 1);
    QCOMPARE(p_->message(), u(text::kPrintFailed));
    QCOMPARE(p_->dialogs().shown.size(), 1);
    QCOMPARE(p_->dialogs().shown[0].kind, zelvar::testing::ShownDialog::Error);
    QCOMPARE(p_->dialogs().shown[0].text, u(text::kPrintFailedText));
    QCOMPARE(p_->dialogs().shown[0].operationMessage, u(text::kPrintFailed));
}

void PrintingTest::printoutIsTheText_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<PrintRange>("range");
    QTest::addColumn<QString>("printed");
    QTest::newRow("one page") << 3 << 0 << 0 << PrintRange::All << numberedLines(3);
    QTest::newRow("several pages") << 300 << 0 << 0 << PrintRange::All << numberedLines(300);
    // Offsets count a line break as two characters: "řádek č. 2" starts at 12.
    QTest::newRow("selection") << 300 << 12 << 22 << PrintRange::Selection
                               << u("řádek č. 2\nřádek č. 3");
    QTest::newRow("selection not chosen") << 3 << 12 << 22 << PrintRange::All << numberedLines(3);
}

// Qt's PDF output holds exactly the chosen text, page after page: no page
// numbers and nothing else of the toolkit's own. The dialog offers the
// selection only when there is one, and printing leaves it as it was.
void PrintingTest::printoutIsTheText() {
    QFETCH(int, lines);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(PrintRange, range);
    QFETCH(QString, printed);
    Editor* e = form().editor(1);
    e->setPlainText(numberedLines(lines));
    e->setSelStart(selStart);
    e->setSelLength(selLength);
    printing().choice.range = range;
    const PdfDocument pdf = printout();
    QVERIFY(pdf.ok);
    QCOMPARE(p_->message(), u("Tisk..."));
    QCOMPARE(printing().selectionOffered, QList<bool>{selLength > 0});
    QCOMPARE(printing().jobTexts, QStringList{job(printed)});
    QStringList pages;
    for (const auto& page : pdf.pages) {
        QVERIFY(!page.text.isEmpty());
        pages << page.text;
    }
    QCOMPARE(pages.join(QLatin1Char('\n')), printed);
    QCOMPARE(pdf.pages.size() > 1, lines > 100 && range == PrintRange::All);
    QCOMPARE(e->selStart(), selStart);
    QCOMPARE(e->selLength(), selLength);
}

void PrintingTest::printoutPageRange() {
    form().editor(1)->setPlainText(numberedLines(300));
    const PdfDocument whole = printout();
    QVERIFY(whole.pages.size() >= 4);
    printing().choice = PrintChoice{true, PrintRange::Pages, QPageRanges::fromString("2-3")};
    const PdfDocument part = printout();
    QCOMPARE(part.pages.size(), 2);
    QCOMPARE(part.pages[0].text, whole.pages[1].text);
    QCOMPARE(part.pages[1].text, whole.pages[2].text);
    // A range beyond the text prints nothing, and says so.
    form().patterns().message("before");
    printing().choice.pages = QPageRanges::fromString("900-901");
    const PdfDocument none = printout();
    QVERIFY(!none.ok);
    QCOMPARE(p_->message(), u("before"));
    QCOMPARE(p_->dialogs().shown.size(), 1);
    QCOMPARE(p_->dialogs().shown[0].text, u(text::kNothingInPrintRange));
}

// A colour chosen with nothing selected, and a selection's own colour, are
// printed; text printed before any colour was chosen is black.
void PrintingTest::printoutKeepsColours() {
    showPage(4);
    Editor* e = form().editor(4);
    e->setPlainText("plain red\nsecond");
    const PdfDocument before = printout();
    QCOMPARE(before.pages.size(), 1);
    for (const auto& run : before.pages[0].runs) {
        QCOMPARE(run.colour, QColor(Qt::black));
    }
    const QColor red(200, 0, 0);
    const QColor blue(0, 0, 200);
    e->setSelStart(6);
    e->setSelLength(3);
    p_->dialogs().colorAnswers << red << blue;
    form().action("Barva1")->trigger(); // "red" gets a colour of its own
    e->setSelStart(0);
    form().action("Barva1")->trigger(); // the default colour
    const PdfDocument pdf = printout();
    QCOMPARE(pdf.pages.size(), 1);
    QCOMPARE(pdf.pages[0].text, QStringLiteral("plain red\nsecond"));
    QHash<QString, QColor> colours;
    for (const auto& run : pdf.pages[0].runs) {
        colours.insert(run.text.trimmed(), run.colour);
    }
    QCOMPARE(colours.value("plain"), blue);
    QCOMPARE(colours.value("red"), red);
    QCOMPARE(colours.value("second"), blue);
}

// The Qt dialogs behind the seam: the set-up offers the printer and the
// paper and tells a confirmation from a cancel; the print dialog offers the
// selection only when there is one, the page range always, no file box.
void PrintingTest::qtDialogs() {
    using zelvar::testing::whileModal;
    Platform qt = makeQtPlatform();
    Printing& printing = *qt.printing;
    for (bool confirm : {false, true}) {
        bool confirmed = !confirm;
        bool shown = false;
        auto steps = [confirm, &shown](QWidget* w) {
            shown = true;
            QCOMPARE(w->objectName(), "PrinterSetupDialog1");
            QVERIFY(w->findChild<QComboBox*>("PrinterName"));
            QVERIFY(w->findChild<QPushButton*>("PaperButton"));
            if (confirm) {
                w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            }
        };
        whileModal([&] { confirmed = printing.setup(&form()); }, steps);
        QVERIFY(shown);
        QCOMPARE(confirmed, confirm);
    }
    for (bool offer : {true, false}) {
        PrintChoice choice{true, PrintRange::All, {}};
        bool shown = false;
        auto steps = [offer, &shown](QWidget* w) {
            shown = true;
            auto* dialog = qobject_cast<QPrintDialog*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->testOption(QPrintDialog::PrintSelection), offer);
            QVERIFY(dialog->testOption(QPrintDialog::PrintPageRange));
            QVERIFY(!dialog->testOption(QPrintDialog::PrintToFile));
        };
        whileModal([&] { choice = printing.askPrint(&form(), offer); }, steps);
        QVERIFY(shown);
        QVERIFY(!choice.accepted);
    }
}

void PrintingTest::qtPrintDialogAnswers_data() {
    QTest::addColumn<QString>("button"); // the range's button in Qt's print dialog
    QTest::addColumn<QString>("typed");  // into the range's fields: "from-to"
    QTest::addColumn<PrintRange>("range");
    QTest::addColumn<QString>("pages");
    QTest::newRow("all") << "printAll" << QString() << PrintRange::All << QString();
    QTest::newRow("selection") << "printSelection" << QString() << PrintRange::Selection
                               << QString();
    QTest::newRow("from to") << "printRange"
                             << "2-3" << PrintRange::Pages << "2-3";
}

// The answers given in Qt's print dialog become the choice the print
// command prints by.
void PrintingTest::qtPrintDialogAnswers() {
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(PrintRange, range);
    QFETCH(QString, pages);
    Platform qt = makeQtPlatform();
    PrintChoice choice;
    zelvar::testing::whileModal(
        [&] { choice = qt.printing->askPrint(&form(), true); },
        [&](QWidget* w) {
            auto* dialog = qobject_cast<QPrintDialog*>(w);
            QVERIFY(dialog);
            dialog->findChild<QAbstractButton*>(button)->click();
            if (!typed.isEmpty()) {
                const QStringList ends = typed.split('-');
                dialog->findChild<QSpinBox*>("to")->setValue(ends[1].toInt());
                dialog->findChild<QSpinBox*>("from")->setValue(ends[0].toInt());
            }
            dialog->accept();
        });
    QVERIFY(choice.accepted);
    QCOMPARE(choice.range, range);
    QCOMPARE(choice.pages.toString(), pages);
}

// A paper chosen in "Nastavení tisku" reaches the printer on OK only.
void PrintingTest::qtSetupAppliesOnlyAfterOk() {
    using zelvar::testing::whileModal;
    Platform qt = makeQtPlatform();
    for (bool confirm : {false, true}) {
        whileModal(
            [&] { qt.printing->setup(&form()); },
            [&](QWidget* setup) {
                whileModal([&] { setup->findChild<QPushButton*>("PaperButton")->click(); },
                           [](QWidget* paper) {
                               paper->findChild<QAbstractButton*>("landscape")->click();
                               qobject_cast<QDialog*>(paper)->accept();
                           });
                auto* buttons = setup->findChild<QDialogButtonBox*>();
                buttons->button(confirm ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
            });
        QPageLayout::Orientation used = QPageLayout::Portrait;
        whileModal([&] { qt.printing->askPrint(&form(), false); },
                   [&](QWidget* w) {
                       used = qobject_cast<QPrintDialog*>(w)->printer()->pageLayout().orientation();
                   });
        QCOMPARE(used, confirm ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
}

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
