// The notes pad's find dialog, driven through its real controls: the opening
// commands, the preset from the notes' selection, and each press of the
// find button searching forward from the end of the selection.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "editor/editor.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::ShownDialog;
using zelvar::testing::TestProgram;

namespace {

const QString kLookFor = QString::fromUtf8("Hledat výraz...");
const QString kNotFound = QString::fromUtf8("Hledaný výraz nenalezen !");

QDialog* findDialog(TestProgram& p) {
    return p.form().findChild<QDialog*>(QStringLiteral("FindDialog2"));
}

QLineEdit* findBox(TestProgram& p) {
    return findDialog(p)->findChild<QLineEdit*>(QStringLiteral("FindText"));
}

QPushButton* findButton(TestProgram& p) {
    return findDialog(p)->findChild<QPushButton*>(QStringLiteral("FindNext"));
}

// Opens the dialog with the notes' button, types the text into its box
// (replacing what it shows) and presses the find button once.
void typeInto(TestProgram& p, const QString& what) {
    QLineEdit* box = findBox(p);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, what);
}

void press(TestProgram& p) {
    QTest::mouseClick(findButton(p), Qt::LeftButton);
}

int notices(TestProgram& p) {
    int n = 0;
    for (const ShownDialog& d : p.dialogs().shown) {
        if (d.kind == ShownDialog::Message && d.text == kNotFound) {
            ++n;
        }
    }
    return n;
}

} // namespace

class FindTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void successiveSearchesThenMiss();
    void caseSensitiveAndInsideWords();
    void startsAtBeginningWithoutSelection();
    void offsetsCountLineBreaksAsTwo();
    void editsBetweenSearchesAreSeen();
    void presetFromSelectionKeptWhileOpen();
    void presetCutTo255();
    void presetAcrossLines();
    void emptyBoxCannotSearch();
    void hitTakesFocusIntoNotes();
    void ctrlFOpensOnlyFromNotes();
    void pageFindControlsStayDisabled();
};

void FindTest::successiveSearchesThenMiss() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    notes->setPlainText("abc abc");
    p.form().editor(1)->setPlainText("abc abc abc");
    p.form().patterns().message("before");
    p.form().button("SpeedButton32")->click();
    QVERIFY(findDialog(p)->isVisible());
    QCOMPARE(findBox(p)->text(), QString());
    QCOMPARE(p.message(), kLookFor);
    typeInto(p, "abc");

    p.form().patterns().message("before");
    press(p);
    QCOMPARE(notes->selStart(), 0);
    QCOMPARE(notes->selLength(), 3);
    QCOMPARE(p.message(), kLookFor);
    press(p);
    QCOMPARE(notes->selStart(), 4);
    QCOMPARE(notes->selLength(), 3);
    QCOMPARE(notices(p), 0);

    // The last one is selected: a miss, no wrap to the top.
    p.form().patterns().message("before");
    press(p);
    QCOMPARE(notices(p), 1);
    const ShownDialog& shown = p.dialogs().shown.last();
    QCOMPARE(shown.caption, QString::fromUtf8("Zbystřete prosím..."));
    QCOMPARE(shown.buttons, MsgButtons::Ok);
    QCOMPARE(notes->selStart(), 4);
    QCOMPARE(notes->selLength(), 3);
    QCOMPARE(p.message(), kLookFor);
    // The page was never searched or touched.
    QCOMPARE(p.form().editor(1)->selLength(), 0);
}

void FindTest::caseSensitiveAndInsideWords() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    notes->setPlainText("xx abc");
    p.form().action("Najt3")->trigger();
    typeInto(p, "ABC");
    press(p);
    QCOMPARE(notices(p), 1);
    QCOMPARE(notes->selLength(), 0);

    typeInto(p, "bc");
    press(p);
    QCOMPARE(notices(p), 1);
    QCOMPARE(notes->selStart(), 4);
    QCOMPARE(notes->selText(), QString("bc"));
}

void FindTest::startsAtBeginningWithoutSelection() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    notes->setPlainText("abc and abc");
    notes->setSelStart(6); // the caret inside "and", nothing selected
    p.form().button("SpeedButton32")->click();
    typeInto(p, "abc");
    press(p);
    QCOMPARE(notes->selStart(), 0);
    QCOMPARE(notes->selLength(), 3);
}

void FindTest::offsetsCountLineBreaksAsTwo() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    notes->setPlainText("word\nsecond word\nword");
    p.form().button("SpeedButton32")->click();
    typeInto(p, "word");
    press(p);
    QCOMPARE(notes->selStart(), 0);
    press(p);
    // "word" CR LF "second " = 4 + 2 + 7.
    QCOMPARE(notes->selStart(), 13);
    QCOMPARE(notes->selText(), QString("word"));
    QCOMPARE(notes->textCursor().blockNumber(), 1);
    press(p);
    QCOMPARE(notes->selStart(), 19);
    QCOMPARE(notes->textCursor().blockNumber(), 2);
    press(p);
    QCOMPARE(notices(p), 1);
}

void FindTest::editsBetweenSearchesAreSeen() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    notes->setPlainText("one");
    p.form().button("SpeedButton32")->click();
    typeInto(p, "two");
    press(p);
    QCOMPARE(notices(p), 1);
    // The notes change while the dialog stays open; the next press reads them afresh.
    notes->setPlainText("one two");
    notes->setSelStart(0);
    press(p);
    QCOMPARE(notes->selStart(), 4);
    QCOMPARE(notes->selText(), QString("two"));
}

void FindTest::presetFromSelectionKeptWhileOpen() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    notes->setPlainText("hello world");
    notes->setFocus();
    notes->setSelStart(6);
    notes->setSelLength(5);
    QTest::keyClick(notes, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(findDialog(p)->isVisible());
    QCOMPARE(findBox(p)->text(), QString("world"));
    QCOMPARE(p.message(), kLookFor);

    // Opening it again while it is open leaves the box alone, and the box's
    // text is what the next press searches.
    notes->setSelStart(0);
    notes->setSelLength(5);
    p.form().patterns().message("before");
    p.form().button("SpeedButton32")->click();
    QCOMPARE(findBox(p)->text(), QString("world"));
    QCOMPARE(p.message(), kLookFor);
    notes->setSelStart(0);
    press(p);
    QCOMPARE(notes->selStart(), 6);

    // Closed and opened again without a selection: the box is emptied.
    QTest::mouseClick(findDialog(p)->findChild<QPushButton*>(QStringLiteral("CloseFind")),
                      Qt::LeftButton);
    QVERIFY(!findDialog(p)->isVisible());
    notes->setSelStart(2);
    p.form().action("Najt3")->trigger();
    QVERIFY(findDialog(p)->isVisible());
    QCOMPARE(findBox(p)->text(), QString());
}

void FindTest::presetCutTo255() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    QString text;
    for (int i = 0; i < 300; ++i) {
        text += QChar(u'a' + i % 26);
    }
    notes->setPlainText(text);
    notes->selectAllText();
    p.form().action("Najt3")->trigger();
    QCOMPARE(findBox(p)->text(), text.left(255));
    // The cut text is searched: from the end of the whole selection, a miss.
    press(p);
    QCOMPARE(notices(p), 1);
    notes->setSelStart(0);
    press(p);
    QCOMPARE(notes->selStart(), 0);
    QCOMPARE(notes->selLength(), 255);
}

void FindTest::presetAcrossLines() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    notes->setPlainText("ab\ncd ab\ncd");
    notes->setSelStart(1);
    notes->setSelLength(4); // "b", the line break, "c"
    p.form().action("Najt3")->trigger();
    QCOMPARE(findBox(p)->text(), QString("b\r\nc"));
    press(p);
    QCOMPARE(notes->selStart(), 8);
    QCOMPARE(notes->selLength(), 4);
}

void FindTest::emptyBoxCannotSearch() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    p.form().notesEditor()->setPlainText("text");
    p.form().action("Najt3")->trigger();
    QVERIFY(!findButton(p)->isEnabled());
    QTest::keyClick(findBox(p), Qt::Key_Return);
    QCOMPARE(notices(p), 0);
    typeInto(p, "t");
    QVERIFY(findButton(p)->isEnabled());
    // Enter in the box presses the find button.
    QTest::keyClick(findBox(p), Qt::Key_Return);
    QCOMPARE(p.form().notesEditor()->selStart(), 0);
    QCOMPARE(p.form().notesEditor()->selLength(), 1);
}

void FindTest::hitTakesFocusIntoNotes() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setFocus();
    QVERIFY(f.button("SpeedButton39")->isEnabled());
    f.notesEditor()->setPlainText("find me");
    f.button("SpeedButton32")->click();
    // The user works in the dialog, a window of its own: the main window is
    // inactive when the find button is pressed.
    QApplication::setActiveWindow(findDialog(p));
    QVERIFY(!f.isActiveWindow());
    typeInto(p, "me");
    press(p);
    QCOMPARE(QApplication::focusWidget(), f.notesEditor());
    // The page editor was left and the notes entered.
    QVERIFY(!f.button("SpeedButton39")->isEnabled());
    QVERIFY(!f.button("SpeedButton40")->isEnabled());
    QVERIFY(f.button("SpeedButton68")->isEnabled());
    QVERIFY(f.button("SpeedButton69")->isEnabled());
    // A miss leaves the focus where it is.
    f.editor(1)->setFocus();
    press(p);
    QCOMPARE(notices(p), 1);
    QCOMPARE(QApplication::focusWidget(), f.editor(1));
}

void FindTest::ctrlFOpensOnlyFromNotes() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* page = p.form().editor(1);
    page->setPlainText("abc");
    page->setFocus();
    page->selectAllText();
    QTest::keyClick(page, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!findDialog(p)->isVisible());
    QCOMPARE(page->toPlainText(), QString("abc"));
    QCOMPARE(p.message(), QString());
    p.form().notesEditor()->setFocus();
    QTest::keyClick(p.form().notesEditor(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(findDialog(p)->isVisible());
}

void FindTest::pageFindControlsStayDisabled() {
    TestProgram p;
    TForm1& f = p.form();
    QVERIFY(!f.action("Najt1")->isEnabled());
    QVERIFY(!f.action("Najt2")->isEnabled());
    QVERIFY(!f.button("SpeedButton47")->isEnabled());
    // Using the notes' find enables none of them.
    f.notesEditor()->setPlainText("x");
    f.action("Najt3")->trigger();
    typeInto(p, "x");
    press(p);
    QVERIFY(!f.action("Najt1")->isEnabled());
    QVERIFY(!f.action("Najt2")->isEnabled());
    QVERIFY(!f.button("SpeedButton47")->isEnabled());
}

QTEST_MAIN(FindTest)
#include "tst_find.moc"
