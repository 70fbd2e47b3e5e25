// The main window as the user meets it: start-up state, the pages and their
// indicators, the focus rules and the line counter.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "editor/editor.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpState();
    void secondaryWindowsExistHidden();
    void nothingWrittenAtStart();
    void tabClickSwitchesPage();
    void formatMenuSwitchesPage();
    void formatMenuOnShownPage();
    void keyboardSwitchesPages_data();
    void keyboardSwitchesPages();
    void wordWrapIndicatorFollowsPage();
    void enterAndLeaveToggleUndoAndDelete();
    void formatItemKeepsFocusInPages();
    void lineCounterFollowsChangeAndFocus();
    void tabKeyOnlyInFirstPage();
    void toolbarGroupsFollowCheckBoxes();
    void activeEditorIsShownPage();
    void menuHintsLeaveStatusBar();
    void cleanupTestCase();

private:
    // One program for the tests that leave nothing behind; shown and active.
    TestProgram& shared();
    std::unique_ptr<TestProgram> shared_;
};

TestProgram& MainWindowTest::shared() {
    if (!shared_) {
        shared_ = std::make_unique<TestProgram>();
    }
    if (!shared_->form().isActiveWindow()) {
        [[maybe_unused]] const bool active = shared_->showAndActivate();
    }
    return *shared_;
}

void MainWindowTest::cleanupTestCase() {
    shared_.reset();
}

void MainWindowTest::startUpState() {
    TestProgram p;
    TForm1& f = p.form();
    QCOMPARE(f.windowTitle(),
             QString::fromUtf8(".: Zelvar :.  Editor pro tvorbu webových prezentací..."));
    QCOMPARE(f.pageControl()->currentIndex(), 0);
    QCOMPARE(f.shownSlot(), 1);
    QCOMPARE(p.label("Panel18"), QString("Page 1"));
    QCOMPARE(p.label("Label9"), QString("Page 1"));
    QCOMPARE(p.label("Label3"), QString("0"));
    QCOMPARE(p.label("Label7"), QString("NO"));
    QCOMPARE(p.message(), QString());
    QCOMPARE(f.action("gh1")->text(), QString("Editor: Page 1"));
    QVERIFY(!f.action("gh1")->isEnabled());
    QVERIFY(f.action("gh1")->font().bold());
    QVERIFY(f.action("Page11")->isChecked());
    for (const char* name : {"Page21", "Page31", "Page41", "Page51"}) {
        QVERIFY2(!f.action(name)->isChecked(), name);
    }
    QVERIFY(!f.action("Zalamovndk1")->isChecked());
    QVERIFY(!f.button("SpeedButton39")->isEnabled());
    QVERIFY(!f.button("SpeedButton40")->isEnabled());
    for (int slot = 1; slot <= 5; ++slot) {
        Editor* e = f.editor(slot);
        QCOMPARE(e->lineCount(), 0);
        QVERIFY(!e->isModifiedFlag());
        QVERIFY(!e->plainTextMode());
        QVERIFY(!e->wordWrap());
    }
    QCOMPARE(f.editor(3)->objectName(), QString("RichEdit4"));
    QCOMPARE(f.notesEditor()->objectName(), QString("RichEdit2"));
    QVERIFY(f.printTitle().isEmpty());
    // The status bar's first panel.
    auto* first = f.statusBar()->findChild<QLabel*>("StatusBar1Panel0");
    QVERIFY(first);
    QCOMPARE(first->text(), QString::fromUtf8("      Používáte aplikaci:  Zelvar  (verze 2.0)"));
    QCOMPARE(first->width(), 250);
}

void MainWindowTest::secondaryWindowsExistHidden() {
    TestProgram p;
    p.form().show();
    struct Expect {
        const char* name;
        const char* caption;
        QSize size;
    };
    const Expect expected[] = {
        {"TForm2", ".: O programu :.", {262, 211}},
        {"TForm3", ".: Text v pohybu :.", {290, 175}},
        {"TForm4", ".: Změna barvy :.", {290, 175}},
        {"TForm5", ".: Obsah schránky :.", {290, 175}},
        {"TForm6", ".: Datum a čas :.", {290, 175}},
        {"TForm7", ".: Domovská stránka :.", {290, 175}},
        {"TForm8", ".: Přidat k oblíbeným :.", {290, 175}},
        {"TForm9", ".: Další tagy :.", {210, 64}},
    };
    for (const Expect& e : expected) {
        auto* w = p.form().findChild<QDialog*>(e.name);
        QVERIFY2(w, e.name);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->windowTitle(), QString::fromUtf8(e.caption));
        QCOMPARE(w->size(), e.size);
        QVERIFY(w->isModal());
    }
}

void MainWindowTest::nothingWrittenAtStart() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    QCoreApplication::processEvents();
    QCOMPARE(QDir(p.dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void MainWindowTest::tabClickSwitchesPage() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    QTabBar* bar = p.form().pageControl()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
    QCOMPARE(p.form().shownSlot(), 4);
    QCOMPARE(p.label("Panel18"), QString("Page 4"));
    QCOMPARE(p.label("Label9"), QString("Page 4"));
    QCOMPARE(p.form().action("gh1")->text(), QString("Editor: Page 4"));
    QVERIFY(p.form().action("Page41")->isChecked());
    QVERIFY(!p.form().action("Page11")->isChecked());
    QCOMPARE(QApplication::focusWidget(), bar); // the focus stays on the tab row
}

void MainWindowTest::formatMenuSwitchesPage() {
    TestProgram p;
    p.form().action("Page51")->trigger();
    QCOMPARE(p.form().shownSlot(), 5);
    QCOMPARE(p.label("Panel18"), QString("Page 5"));
    QCOMPARE(p.form().action("gh1")->text(), QString("Editor: Page 5"));
    int checked = 0;
    for (const char* name : {"Page11", "Page21", "Page31", "Page41", "Page51"}) {
        checked += p.form().action(name)->isChecked() ? 1 : 0;
    }
    QCOMPARE(checked, 1);
    QVERIFY(p.form().action("Page51")->isChecked());
}

void MainWindowTest::formatMenuOnShownPage() {
    TestProgram p;
    p.form().action("Page31")->trigger();
    p.form().action("Page31")->trigger(); // a checkable action would toggle off
    QCOMPARE(p.form().shownSlot(), 3);
    QVERIFY(p.form().action("Page31")->isChecked());
    QVERIFY(!p.form().action("Page11")->isChecked());
    QCOMPARE(p.label("Label9"), QString("Page 3"));
}

void MainWindowTest::keyboardSwitchesPages_data() {
    QTest::addColumn<int>("focus"); // 0: the tab row, else the editor of that page
    QTest::addColumn<int>("start"); // the page shown before the key
    QTest::addColumn<bool>("next"); // Ctrl+Tab, else Ctrl+Shift+Tab
    QTest::addColumn<int>("shown"); // the page shown afterwards
    QTest::newRow("tab row, next") << 0 << 1 << true << 2;
    QTest::newRow("tab row, previous wraps to 5") << 0 << 1 << false << 5;
    QTest::newRow("tab row, next wraps to 1") << 0 << 5 << true << 1;
    QTest::newRow("page 2, next") << 2 << 2 << true << 3;
    QTest::newRow("page 3, previous") << 3 << 3 << false << 2;
    QTest::newRow("page 5, next wraps to 1") << 5 << 5 << true << 1;
    // Page 1 takes the Tab key: the keys stay with it and switch nothing.
    QTest::newRow("page 1, next") << 1 << 1 << true << 1;
    QTest::newRow("page 1, previous") << 1 << 1 << false << 1;
}

void MainWindowTest::keyboardSwitchesPages() {
    QFETCH(int, focus);
    QFETCH(int, start);
    QFETCH(bool, next);
    QFETCH(int, shown);
    TestProgram& p = shared();
    TForm1& f = p.form();
    f.showPage(start);
    QWidget* target = focus == 0 ? static_cast<QWidget*>(f.pageControl()->tabBar())
                                 : static_cast<QWidget*>(f.editor(focus));
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    if (next) {
        QTest::keyClick(target, Qt::Key_Tab, Qt::ControlModifier);
    } else {
        QTest::keyClick(target, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QCOMPARE(f.shownSlot(), shown);
    QCOMPARE(p.label("Panel18"), QStringLiteral("Page %1").arg(shown));
    QCOMPARE(f.action("gh1")->text(), QStringLiteral("Editor: Page %1").arg(shown));
    for (int slot = 1; slot <= 5; ++slot) {
        QCOMPARE(f.editor(slot)->toPlainText(), QString());
    }
}

void MainWindowTest::wordWrapIndicatorFollowsPage() {
    TestProgram p;
    TForm1& f = p.form();
    f.editor(2)->setWordWrap(true);
    f.action("Page21")->trigger();
    QCOMPARE(p.label("Label7"), QString("OK"));
    QVERIFY(f.action("Zalamovndk1")->isChecked());
    f.action("Page11")->trigger();
    QCOMPARE(p.label("Label7"), QString("NO"));
    QVERIFY(!f.action("Zalamovndk1")->isChecked());
    f.pageControl()->setCurrentIndex(1);
    QCOMPARE(p.label("Label7"), QString("OK"));
}

void MainWindowTest::enterAndLeaveToggleUndoAndDelete() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    QVERIFY(f.button("SpeedButton39")->isEnabled());
    QVERIFY(f.button("SpeedButton40")->isEnabled());
    f.notesEditor()->setFocus();
    QVERIFY(!f.button("SpeedButton39")->isEnabled());
    QVERIFY(!f.button("SpeedButton40")->isEnabled());
    f.editor(1)->setFocus();
    // A toolbar button does not take the focus: clicking "ZP" keeps both usable.
    QTest::mouseClick(f.button("SpeedButton39"), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), f.editor(1));
    QVERIFY(f.button("SpeedButton40")->isEnabled());
    QCOMPARE(p.message(), QString::fromUtf8("Akce vrácena..."));
}

void MainWindowTest::formatItemKeepsFocusInPages() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    f.action("Page31")->trigger();
    QCOMPARE(QApplication::focusWidget(), f.editor(3));
    // With the focus elsewhere, it stays there.
    f.notesEditor()->setFocus();
    f.action("Page21")->trigger();
    QCOMPARE(QApplication::focusWidget(), f.notesEditor());
}

void MainWindowTest::lineCounterFollowsChangeAndFocus() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    QTest::keyClicks(f.editor(1), "a");
    QTest::keyClick(f.editor(1), Qt::Key_Return);
    QTest::keyClicks(f.editor(1), "b");
    QCOMPARE(p.label("Label3"), QString("2"));
    QTest::keyClick(f.editor(1), Qt::Key_Return);
    QCOMPARE(p.label("Label3"), QString("2")); // the empty last line is not counted
    // Showing another page with the tab row leaves the counter alone...
    QTabBar* bar = f.pageControl()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(f.shownSlot(), 3);
    QCOMPARE(p.label("Label3"), QString("2"));
    // ...until that page's editor receives the focus.
    f.editor(3)->setFocus();
    QCOMPARE(p.label("Label3"), QString("0"));
    // A change in a hidden page's editor updates it too; the notes never do.
    f.editor(5)->setText("x\r\ny\r\nz\r\n");
    QCOMPARE(p.label("Label3"), QString("3"));
    f.notesEditor()->setFocus();
    QTest::keyClicks(f.notesEditor(), "notes");
    QTest::keyClick(f.notesEditor(), Qt::Key_Return);
    QCOMPARE(p.label("Label3"), QString("3"));
}

void MainWindowTest::tabKeyOnlyInFirstPage() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    QTest::keyClick(f.editor(1), Qt::Key_Tab);
    QCOMPARE(f.editor(1)->toPlainText(), QString("\t"));
    f.action("Page21")->trigger();
    QCOMPARE(QApplication::focusWidget(), f.editor(2));
    QTest::keyClick(f.editor(2), Qt::Key_Tab);
    QCOMPARE(f.editor(2)->toPlainText(), QString());
    QVERIFY(QApplication::focusWidget() != f.editor(2));
}

void MainWindowTest::toolbarGroupsFollowCheckBoxes() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    auto* group = f.findChild<QToolBar*>("PageScroller3");
    auto* box = f.findChild<QAbstractButton*>("CheckBox4");
    QVERIFY(group && box);
    QVERIFY(group->isVisible());
    QCOMPARE(group->findChildren<QToolButton*>(QRegularExpression("^SpeedButton")).size(), 9);
    const QRect before = group->geometry();
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!group->isVisible());
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(group->isVisible());
    QCOMPARE(group->geometry(), before);
    // The band holds the eight groups in two rows.
    auto* band = f.findChild<QMainWindow*>("ControlBar1");
    QCOMPARE(band->toolBarBreak(f.findChild<QToolBar*>("PageScroller3")), true);
    QCOMPARE(f.findChild<QToolBar*>("PageScroller1")->y(),
             f.findChild<QToolBar*>("PageScroller4")->y());
    QVERIFY(f.findChild<QToolBar*>("PageScroller8")->y() >
            f.findChild<QToolBar*>("PageScroller4")->y());
}

void MainWindowTest::activeEditorIsShownPage() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.action("Page31")->trigger();
    f.notesEditor()->setFocus();
    QCOMPARE(f.activeEditor(), f.editor(3));
    f.editor(3)->setPlainText("page three");
    f.notesEditor()->setPlainText("notes");
    // Select all from the menu works on the shown page, not on the notes.
    f.action("Vybratve1")->trigger();
    QCOMPARE(f.editor(3)->selText(), QString("page three"));
    QCOMPARE(f.notesEditor()->selText(), QString());
    QCOMPARE(p.message(), QString::fromUtf8("Vybrat vše..."));
}

// Hovering a menu item with a hint leaves the status bar's panels in place.
void MainWindowTest::menuHintsLeaveStatusBar() {
    TestProgram& p = shared();
    TForm1& f = p.form();
    QStatusBar* bar = f.statusBar();
    const QList<QLabel*> panels = bar->findChildren<QLabel*>();
    QCOMPARE(panels.size(), 6); // the program's five and the line breaks
    QAction* hinted = f.action("NpovdaHTML1");
    QVERIFY(!hinted->statusTip().isEmpty());
    QMenu* help = f.menu("Npovda1");
    QMenuBar* menuBar = f.menuBar();
    QTest::mouseClick(menuBar, Qt::LeftButton, {},
                      menuBar->actionGeometry(help->menuAction()).center());
    QTRY_VERIFY(help->isVisible());
    QTest::mouseMove(help, help->actionGeometry(hinted).center());
    QTRY_COMPARE(help->activeAction(), hinted);
    QCOMPARE(bar->currentMessage(), QString());
    for (QLabel* panel : panels) {
        QVERIFY2(panel->isVisible(), qPrintable(panel->objectName()));
    }
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
