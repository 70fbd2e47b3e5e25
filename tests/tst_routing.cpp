// Keys in the main window find their menu item the way the menus order
// them: the focused control's popup first, then the main menu; a disabled
// item swallows its key; the focused control never sees a taken key.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QMenu>
#include <QTest>

#include "app/patterns.h"
#include "app/shortcutrouter.h"
#include "editing/editor.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

class RoutingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void delFromNotesActsOnShownPage();
    void delWithoutSelectionDeletesNothing();
    void ctrlZFromNotesUndoesShownPage();
    void ctrlCByFocus();
    void ctrlFSwallowedOutsideNotes();
    void disabledItemSwallowsKey();
    void popupItemFoundFirst();
    void plainKeysReachTheEditor();
};

void RoutingTest::delFromNotesActsOnShownPage() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.action("Page21")->trigger();
    f.editor(2)->setPlainText("abcdef");
    f.editor(2)->setSelStart(1);
    f.editor(2)->setSelLength(3);
    Editor* notes = f.notesEditor();
    notes->setPlainText("notes");
    notes->setFocus();
    notes->setSelStart(0);
    QTest::keyClick(notes, Qt::Key_Delete);
    QCOMPARE(notes->toPlainText(), QString("notes"));
    QCOMPARE(f.editor(2)->toPlainText(), QString("aef"));
    QCOMPARE(QApplication::clipboard()->text(), QString("bcd"));
    QCOMPARE(p.message(), QString::fromUtf8("Smazání znaků..."));
}

void RoutingTest::delWithoutSelectionDeletesNothing() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* e = p.form().editor(1);
    e->setPlainText("keep");
    e->setFocus();
    e->setSelStart(0);
    QApplication::clipboard()->setText("clip");
    QTest::keyClick(e, Qt::Key_Delete);
    QCOMPARE(e->toPlainText(), QString("keep"));
    QCOMPARE(QApplication::clipboard()->text(), QString("clip"));
    QCOMPARE(p.message(), QString::fromUtf8("Smazání znaků..."));
}

void RoutingTest::ctrlZFromNotesUndoesShownPage() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    QTest::keyClicks(f.editor(1), "xy");
    f.notesEditor()->setFocus();
    QTest::keyClicks(f.notesEditor(), "n");
    QTest::keyClick(f.notesEditor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.notesEditor()->toPlainText(), QString("n"));
    QVERIFY(f.editor(1)->toPlainText().size() < 2);
    QCOMPARE(p.message(), QString::fromUtf8("Akce vrácena..."));
}

void RoutingTest::ctrlCByFocus() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setPlainText("page");
    f.editor(1)->selectAllText();
    f.notesEditor()->setPlainText("notes");
    f.notesEditor()->selectAllText();
    QClipboard* clipboard = QApplication::clipboard();
    // On the tag list the main menu's copy works on the shown page.
    auto* list = f.findChild<QListView*>("ListBox1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QString("page"));
    QCOMPARE(p.message(), QString::fromUtf8("Uloženo do schránky..."));
    // In the notes the notes' own popup takes it (its command copies the notes).
    ShortcutRouter* router = f.findChild<ShortcutRouter*>();
    QVERIFY(router);
    QAction* found = router->find(f.notesEditor(), QKeyCombination(Qt::ControlModifier, Qt::Key_C));
    QVERIFY(found);
    QCOMPARE(found->objectName(), QString("Koprovat3"));
    found = router->find(f.editor(1), QKeyCombination(Qt::ControlModifier, Qt::Key_C));
    QCOMPARE(found->objectName(), QString("Koprovat2"));
}

void RoutingTest::ctrlFSwallowedOutsideNotes() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    p.form().patterns().message("unchanged");
    QTest::keyClick(f.editor(1), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(f.editor(1)->toPlainText(), QString());
    QCOMPARE(p.message(), QString("unchanged"));
    ShortcutRouter* router = f.findChild<ShortcutRouter*>();
    QAction* inPage = router->find(f.editor(1), QKeyCombination(Qt::ControlModifier, Qt::Key_F));
    QCOMPARE(inPage->objectName(), QString("Najt2"));
    QVERIFY(!inPage->isEnabled());
    QAction* inNotes =
        router->find(f.notesEditor(), QKeyCombination(Qt::ControlModifier, Qt::Key_F));
    QCOMPARE(inNotes->objectName(), QString("Najt3"));
    QVERIFY(inNotes->isEnabled());
}

void RoutingTest::disabledItemSwallowsKey() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    QTest::keyClicks(f.editor(1), "ab");
    f.action("Zpt1")->setEnabled(false);
    QTest::keyClick(f.editor(1), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.editor(1)->toPlainText(), QString("ab")); // the editor's own undo never ran
    QCOMPARE(p.message(), QString());
}

void RoutingTest::popupItemFoundFirst() {
    TestProgram p;
    TForm1& f = p.form();
    ShortcutRouter* router = f.findChild<ShortcutRouter*>();
    const QKeyCombination ctrlA(Qt::ControlModifier, Qt::Key_A);
    QCOMPARE(router->find(f.editor(4), ctrlA)->objectName(), QString("Vybratve2"));
    QCOMPARE(router->find(f.pageControl(), ctrlA)->objectName(), QString("Vybratve1"));
    QCOMPARE(router->find(f.editor(4), QKeyCombination(Qt::Key_Delete))->objectName(),
             QString("N4"));
    QCOMPARE(router->find(f.editor(4), QKeyCombination(Qt::Key_F6))->objectName(),
             QString("Vloitdatumas1"));
    QCOMPARE(router->find(f.editor(4), QKeyCombination(Qt::Key_X)), nullptr);
}

void RoutingTest::plainKeysReachTheEditor() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* e = p.form().editor(1);
    e->setFocus();
    QTest::keyClicks(e, "html");
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->toPlainText(), QString("htm"));
}

QTEST_MAIN(RoutingTest)
#include "tst_routing.moc"
