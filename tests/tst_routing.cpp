// Keys in the main window find their menu item the way the menus order
// them: the focused control's popup first, then the main menu; a disabled
// item swallows its key; the focused control never sees a taken key. The
// notes keep Del and Ctrl+Z for themselves. One program serves every test;
// init() puts it back into its start state.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <memory>

#include "editor/editor.h"
#include "ground/patterns.h"
#include "ground/shortcutrouter.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

namespace {

// An edit that the editor's undo takes back: the text gains a final "!".
void appendUndoable(Editor* e) {
    QTextCursor c(e->document());
    c.movePosition(QTextCursor::End);
    c.insertText("!");
}

} // namespace

class RoutingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void deleteAndUndoFollowFocus_data();
    void deleteAndUndoFollowFocus();
    void ctrlCByFocus();
    void ctrlFSwallowedOutsideNotes();
    void disabledItemSwallowsKey();
    void popupItemFoundFirst();
    void plainKeysReachTheEditor();

private:
    std::unique_ptr<TestProgram> program_;
};

void RoutingTest::initTestCase() {
    program_ = std::make_unique<TestProgram>();
    QVERIFY(program_->showAndActivate());
}

void RoutingTest::init() {
    program_->resetEditors();
    QApplication::clipboard()->setText("clip");
}

void RoutingTest::cleanupTestCase() {
    program_.reset();
}

void RoutingTest::deleteAndUndoFollowFocus_data() {
    QTest::addColumn<QString>("focus");   // "notes", "page", "list" or "tabs"
    QTest::addColumn<QString>("command"); // "Del", "Ctrl+Z", or a button or item
    QTest::addColumn<bool>("selection");  // "bcd" / "text" selected
    QTest::addColumn<QString>("page");    // page 2 afterwards (was "abcdef!")
    QTest::addColumn<QString>("notes");   // the notes afterwards (was "notes text!")
    QTest::addColumn<QString>("message");
    const QString deleted = QString::fromUtf8("Smazání znaků...");
    const QString undone = QString::fromUtf8("Akce vrácena...");
    // In the notes, Del and Ctrl+Z act on the notes as "DE" and "ZP" there do;
    // the Edit menu's item works on the shown page wherever the focus is;
    // everywhere else the keys run the Edit menu's items on the shown page.
    const struct {
        const char *tag, *focus, *command;
        bool selection;
        const char *page, *notes;
        QString message;
    } rows[] = {
        {"Del in the notes", "notes", "Del", true, "abcdef!", "notes !", deleted},
        {"Ctrl+Z in the notes", "notes", "Ctrl+Z", true, "abcdef!", "notes text", undone},
        {"Del in the notes, nothing selected", "notes", "Del", false, "abcdef!", "notes text!",
         deleted},
        {"DE beside the notes", "notes", "SpeedButton69", true, "abcdef!", "notes !", deleted},
        {"Odstranit from the menu, focus in the notes", "notes", "N4", true, "aef!", "notes text!",
         deleted},
        {"Del in the page", "page", "Del", true, "aef!", "notes text!", deleted},
        {"Del in the page, nothing selected", "page", "Del", false, "abcdef!", "notes text!",
         deleted},
        {"Ctrl+Z in the page", "page", "Ctrl+Z", true, "abcdef", "notes text!", undone},
        {"DE beside the pages", "page", "SpeedButton40", true, "aef!", "notes text!", deleted},
        {"Del on the tag list", "list", "Del", true, "aef!", "notes text!", deleted},
        {"Ctrl+Z on the tab row", "tabs", "Ctrl+Z", true, "abcdef", "notes text!", undone},
    };
    for (const auto& r : rows) {
        QTest::newRow(r.tag) << QString(r.focus) << QString(r.command) << r.selection
                             << QString(r.page) << QString(r.notes) << r.message;
    }
}

void RoutingTest::deleteAndUndoFollowFocus() {
    QFETCH(QString, focus);
    QFETCH(QString, command);
    QFETCH(bool, selection);
    QFETCH(QString, page);
    QFETCH(QString, notes);
    QFETCH(QString, message);
    TestProgram& p = *program_;
    TForm1& f = p.form();
    f.action("Page21")->trigger();
    Editor* pageEditor = f.editor(2);
    pageEditor->setPlainText("abcdef");
    appendUndoable(pageEditor);
    pageEditor->setSelStart(1);
    pageEditor->setSelLength(selection ? 3 : 0);
    Editor* notesEditor = f.notesEditor();
    notesEditor->setPlainText("notes text");
    appendUndoable(notesEditor);
    notesEditor->setSelStart(6);
    notesEditor->setSelLength(selection ? 4 : 0);

    QWidget* target = focus == "notes"  ? static_cast<QWidget*>(notesEditor)
                      : focus == "page" ? static_cast<QWidget*>(pageEditor)
                      : focus == "list"
                          ? static_cast<QWidget*>(f.findChild<QAbstractItemView*>("ListBox1"))
                          : f.pageControl()->tabBar();
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    if (command == "Del") {
        QTest::keyClick(target, Qt::Key_Delete);
    } else if (command == "Ctrl+Z") {
        QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
    } else if (QAbstractButton* b = f.button(command.toLatin1().constData())) {
        QVERIFY(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    } else {
        f.action(command.toLatin1().constData())->trigger();
    }
    QCOMPARE(pageEditor->toPlainText(), page);
    QCOMPARE(notesEditor->toPlainText(), notes);
    QCOMPARE(p.message(), message);
    // Nothing is put on the clipboard, and the key stays with the control.
    QCOMPARE(QApplication::clipboard()->text(), QString("clip"));
    QCOMPARE(QApplication::focusWidget(), target);
    // A deletion is one undo step.
    if (message == "Smazání znaků..." && selection) {
        Editor* changed = pageEditor->toPlainText() != "abcdef!" ? pageEditor : notesEditor;
        changed->undoLast();
        QCOMPARE(changed->toPlainText(),
                 changed == pageEditor ? QString("abcdef!") : QString("notes text!"));
    }
}

void RoutingTest::ctrlCByFocus() {
    TestProgram& p = *program_;
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
    ShortcutRouter& router = f.router();
    QAction* found = router.find(f.notesEditor(), QKeyCombination(Qt::ControlModifier, Qt::Key_C));
    QVERIFY(found);
    QCOMPARE(found->objectName(), QString("Koprovat3"));
    found = router.find(f.editor(1), QKeyCombination(Qt::ControlModifier, Qt::Key_C));
    QCOMPARE(found->objectName(), QString("Koprovat2"));
}

void RoutingTest::ctrlFSwallowedOutsideNotes() {
    TestProgram& p = *program_;
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    p.form().patterns().message("unchanged");
    QTest::keyClick(f.editor(1), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(f.editor(1)->toPlainText(), QString());
    QCOMPARE(p.message(), QString("unchanged"));
    ShortcutRouter& router = f.router();
    QAction* inPage = router.find(f.editor(1), QKeyCombination(Qt::ControlModifier, Qt::Key_F));
    QCOMPARE(inPage->objectName(), QString("Najt2"));
    QVERIFY(!inPage->isEnabled());
    QAction* inNotes =
        router.find(f.notesEditor(), QKeyCombination(Qt::ControlModifier, Qt::Key_F));
    QCOMPARE(inNotes->objectName(), QString("Najt3"));
    QVERIFY(inNotes->isEnabled());
}

void RoutingTest::disabledItemSwallowsKey() {
    TestProgram& p = *program_;
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    QTest::keyClicks(f.editor(1), "ab");
    f.action("Zpt1")->setEnabled(false);
    QTest::keyClick(f.editor(1), Qt::Key_Z, Qt::ControlModifier);
    f.action("Zpt1")->setEnabled(true);
    QCOMPARE(f.editor(1)->toPlainText(), QString("ab")); // the editor's own undo never ran
    QCOMPARE(p.message(), QString());
}

void RoutingTest::popupItemFoundFirst() {
    TForm1& f = program_->form();
    ShortcutRouter& router = f.router();
    const QKeyCombination ctrlA(Qt::ControlModifier, Qt::Key_A);
    QCOMPARE(router.find(f.editor(4), ctrlA)->objectName(), QString("Vybratve2"));
    QCOMPARE(router.find(f.pageControl(), ctrlA)->objectName(), QString("Vybratve1"));
    QCOMPARE(router.find(f.editor(4), QKeyCombination(Qt::Key_Delete))->objectName(),
             QString("N4"));
    QCOMPARE(router.find(f.editor(4), QKeyCombination(Qt::Key_F6))->objectName(),
             QString("Vloitdatumas1"));
    QCOMPARE(router.find(f.editor(4), QKeyCombination(Qt::Key_X)), nullptr);
}

void RoutingTest::plainKeysReachTheEditor() {
    Editor* e = program_->form().editor(1);
    e->setFocus();
    QTest::keyClicks(e, "html");
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->toPlainText(), QString("htm"));
}

QTEST_MAIN(RoutingTest)
#include "tst_routing.moc"
