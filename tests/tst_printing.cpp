// Printing the shown page from the File menu, Ctrl+P and the toolbar, and the
// printer set-up, through the recording printer.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTest>

#include "app/patterns.h"
#include "editing/editor.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A text as the print job receives it: lines separated by the paragraph
// separator.
QString job(QString text) {
    return text.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
}

void showPage(TestProgram& p, int slot) {
    p.form().action(qPrintable(QStringLiteral("Page%1").arg(slot) + QLatin1Char('1')))->trigger();
    QCOMPARE(p.form().shownSlot(), slot);
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void printsShownPageFromMenuAndButton();
    void cancelledPrintsNothing();
    void selectionStillPrintsWholeText();
    void emptyPageIsOneJob();
    void ctrlPFromEveryControl();
    void printerSetup();
};

void PrintingTest::printsShownPageFromMenuAndButton() {
    TestProgram p;
    for (int slot = 1; slot <= 5; ++slot) {
        p.form().editor(slot)->setPlainText(QStringLiteral("page %1\n<B>line</B>").arg(slot));
    }
    showPage(p, 2);
    p.form().action("Tisk1")->trigger();
    QCOMPARE(p.printing().printDialogs, 1);
    QCOMPARE(p.printing().jobTexts, QStringList{job(QStringLiteral("page 2\n<B>line</B>"))});
    QCOMPARE(p.printing().jobTitles, QStringList{QString()});
    QCOMPARE(p.message(), u("Tisk..."));

    showPage(p, 5);
    p.form().patterns().message("before");
    QTest::mouseClick(p.form().button("SpeedButton46"), Qt::LeftButton);
    QCOMPARE(p.printing().printDialogs, 2);
    QCOMPARE(p.printing().jobTexts.size(), 2);
    QCOMPARE(p.printing().jobTexts[1], job(QStringLiteral("page 5\n<B>line</B>")));
    QCOMPARE(p.printing().jobTitles[1], QString());
    QCOMPARE(p.message(), u("Tisk..."));
    // Printing changes no page.
    QCOMPARE(p.form().editor(5)->toPlainText(), QStringLiteral("page 5\n<B>line</B>"));
    QVERIFY(p.dialogs().shown.isEmpty());
    QCOMPARE(p.printing().setups, 0);
}

void PrintingTest::cancelledPrintsNothing() {
    TestProgram p;
    p.form().editor(1)->setPlainText("text");
    p.printing().printAnswer = false;
    p.form().patterns().message("before");
    p.form().action("Tisk1")->trigger();
    QCOMPARE(p.printing().printDialogs, 1);
    QVERIFY(p.printing().jobTexts.isEmpty());
    QCOMPARE(p.message(), u("Tisk..."));
    p.form().patterns().message("before");
    p.form().button("SpeedButton46")->click();
    QCOMPARE(p.printing().printDialogs, 2);
    QVERIFY(p.printing().jobTexts.isEmpty());
    QCOMPARE(p.message(), u("Tisk..."));
}

void PrintingTest::selectionStillPrintsWholeText() {
    TestProgram p;
    Editor* e = p.form().editor(1);
    e->setPlainText(u("první\ndruhý\ntřetí"));
    e->setSelStart(2);
    e->setSelLength(5);
    QVERIFY(!e->selText().isEmpty());
    p.form().action("Tisk1")->trigger();
    QCOMPARE(p.printing().jobTexts, QStringList{job(u("první\ndruhý\ntřetí"))});
}

void PrintingTest::emptyPageIsOneJob() {
    TestProgram p;
    p.form().editor(2)->setPlainText("not shown");
    p.form().action("Tisk1")->trigger();
    QCOMPARE(p.printing().jobTexts, QStringList{QString()});
    QCOMPARE(p.printing().jobTitles, QStringList{QString()});
}

void PrintingTest::ctrlPFromEveryControl() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    showPage(p, 3);
    p.form().editor(3)->setPlainText("three");
    p.form().notesEditor()->setPlainText("notes");
    int jobs = 0;
    for (QWidget* w :
         {static_cast<QWidget*>(p.form().editor(3)), static_cast<QWidget*>(p.form().notesEditor()),
          static_cast<QWidget*>(p.form().button("Button4"))}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_P, Qt::ControlModifier);
        ++jobs;
        QCOMPARE(p.printing().jobTexts.size(), jobs);
        QCOMPARE(p.printing().jobTexts.last(), QStringLiteral("three"));
    }
    // The key reached no editor.
    QCOMPARE(p.form().editor(3)->toPlainText(), QStringLiteral("three"));
    QCOMPARE(p.form().notesEditor()->toPlainText(), QStringLiteral("notes"));
}

void PrintingTest::printerSetup() {
    TestProgram p;
    p.form().action("Nastaventisku1")->trigger();
    QCOMPARE(p.printing().setups, 1);
    QCOMPARE(p.message(), u("Nastavení tisku..."));
    p.printing().setupAnswer = false;
    p.form().patterns().message("before");
    p.form().action("Nastaventisku1")->trigger();
    QCOMPARE(p.printing().setups, 2);
    QCOMPARE(p.message(), u("Nastavení tisku..."));
    // Setting up prints nothing and asks nothing else.
    QCOMPARE(p.printing().printDialogs, 0);
    QVERIFY(p.printing().jobTexts.isEmpty());
    QVERIFY(p.dialogs().shown.isEmpty());
}

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
