// The notes pad: its buttons and popup items act on the notes whatever page
// is shown; its file poznamky.txt is loaded after a question when the notes
// changed, saved in rich-text form, and failures are reported.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>

#include "editor/editor.h"
#include "ground/patterns.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::ShownDialog;
using zelvar::testing::TestProgram;

namespace {

using zelvar::testing::readAll;
using zelvar::testing::writeAll;

const QString kEraseNotes = QString::fromUtf8("Stávající obsah poznámek bude smazán !");
const QString kLoaded = QString::fromUtf8("Poznámky načteny...");
const QString kSaved = QString::fromUtf8("Poznámky uloženy...");

} // namespace

class NotesPadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editingCommandsActOnNotes_data();
    void editingCommandsActOnNotes();
    void undoAndDeleteButtons();
    void undoAndDeleteFollowFocus();
    void tabKeyInsertsTab();
    void loadMissingFileReported();
    void loadAsksOnlyWhenModified();
    void saveWritesRichTextAndClearsFlag();
    void plainTextFileLoads();
    void formattingSurvivesSaveAndLoad();
    void saveFailureReported();
};

void NotesPadTest::editingCommandsActOnNotes_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("notesAfter");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<QString>("message");
    const QString saved = QString::fromUtf8("Uloženo do schránky...");
    const QString pasted = QString::fromUtf8("Načteno ze schránky...");
    // Notes "notes text" with "text" selected, clipboard "clip".
    QTest::newRow("copy button") << "SpeedButton29"
                                 << "notes text"
                                 << "text" << saved;
    QTest::newRow("copy item") << "Koprovat3"
                               << "notes text"
                               << "text" << saved;
    QTest::newRow("cut button") << "SpeedButton31"
                                << "notes "
                                << "text" << saved;
    QTest::newRow("cut item") << "Vyjmout3"
                              << "notes "
                              << "text" << saved;
    QTest::newRow("paste button") << "SpeedButton30"
                                  << "notes clip"
                                  << "clip" << pasted;
    QTest::newRow("paste item") << "Vloit3"
                                << "notes clip"
                                << "clip" << pasted;
    // Delete removes the selection and leaves the clipboard alone.
    QTest::newRow("delete button") << "SpeedButton69"
                                   << "notes "
                                   << "clip" << QString::fromUtf8("Smazání znaků...");
}

void NotesPadTest::editingCommandsActOnNotes() {
    QFETCH(QString, control);
    QFETCH(QString, notesAfter);
    QFETCH(QString, clipboardAfter);
    QFETCH(QString, message);
    TestProgram p;
    TForm1& f = p.form();
    f.action("Page31")->trigger();
    Editor* page = f.editor(3);
    page->setPlainText("page three");
    page->setSelStart(0);
    page->setSelLength(4);
    Editor* notes = f.notesEditor();
    notes->setPlainText("notes text");
    notes->setSelStart(6);
    notes->setSelLength(4);
    QApplication::clipboard()->setText("clip");
    const QByteArray name = control.toLatin1();
    if (QAbstractButton* b = f.button(name.constData())) {
        b->setEnabled(true); // "DE" is usable only while the notes have the focus
        b->click();
    } else {
        f.action(name.constData())->trigger();
    }
    QCOMPARE(notes->toPlainText(), notesAfter);
    QCOMPARE(QApplication::clipboard()->text(), clipboardAfter);
    QCOMPARE(page->toPlainText(), QString("page three"));
    QCOMPARE(page->selLength(), 4);
    QCOMPARE(p.message(), message);
}

void NotesPadTest::undoAndDeleteButtons() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.action("Page21")->trigger();
    f.editor(2)->setPlainText("page");
    Editor* notes = f.notesEditor();
    notes->setFocus();
    QTest::keyClicks(notes, "abc");
    f.button("SpeedButton68")->click();
    QCOMPARE(notes->toPlainText(), QString());
    QCOMPARE(f.editor(2)->toPlainText(), QString("page"));
    QCOMPARE(p.message(), QString::fromUtf8("Akce vrácena..."));

    notes->setPlainText("one two");
    QApplication::clipboard()->setText("clip");
    f.button("SpeedButton69")->click(); // nothing selected: nothing removed
    QCOMPARE(notes->toPlainText(), QString("one two"));
    QCOMPARE(QApplication::clipboard()->text(), QString("clip"));
    QCOMPARE(p.message(), QString::fromUtf8("Smazání znaků..."));

    f.action("Vybratve3")->trigger();
    QCOMPARE(notes->selText(), QString("one two"));
    QCOMPARE(f.editor(2)->selLength(), 0);
    QCOMPARE(p.message(), QString::fromUtf8("Vybrat vše..."));
}

void NotesPadTest::undoAndDeleteFollowFocus() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    QAbstractButton* undo = f.button("SpeedButton68");
    QAbstractButton* erase = f.button("SpeedButton69");
    QVERIFY(!undo->isEnabled());
    QVERIFY(!erase->isEnabled());
    f.notesEditor()->setFocus();
    QVERIFY(undo->isEnabled());
    QVERIFY(erase->isEnabled());
    // The buttons take no focus: clicking one keeps both usable.
    QTest::mouseClick(erase, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), f.notesEditor());
    QVERIFY(undo->isEnabled());
    f.editor(1)->setFocus();
    QVERIFY(!undo->isEnabled());
    QVERIFY(!erase->isEnabled());
    // The page's own "ZP" and "DE" follow the page editors, not the notes.
    QVERIFY(f.button("SpeedButton39")->isEnabled());
    f.notesEditor()->setFocus();
    QVERIFY(!f.button("SpeedButton39")->isEnabled());
    f.pageControl()->tabBar()->setFocus();
    QVERIFY(!undo->isEnabled());
}

void NotesPadTest::tabKeyInsertsTab() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    notes->setFocus();
    QTest::keyClicks(notes, "a");
    QTest::keyClick(notes, Qt::Key_Tab);
    QTest::keyClicks(notes, "b");
    QCOMPARE(notes->toPlainText(), QString("a\tb"));
    QCOMPARE(QApplication::focusWidget(), notes);
}

void NotesPadTest::loadMissingFileReported() {
    TestProgram p;
    TForm1& f = p.form();
    f.button("SpeedButton33")->click();
    QCOMPARE(p.dialogs().shown.size(), 1);
    const ShownDialog& d = p.dialogs().shown[0];
    QCOMPARE(d.kind, ShownDialog::Error);
    QCOMPARE(d.text, QString::fromUtf8("Nepodařilo se načíst soubor ! Pokud problémy "
                                       "přetrvají, kontaktujte autora aplikace !"));
    // The failure word is written before the error dialog shows.
    QCOMPARE(d.operationMessage, QString::fromUtf8("Chyba při načítání..."));
    QCOMPARE(p.message(), QString::fromUtf8("Chyba při načítání..."));
    QCOMPARE(f.notesEditor()->toPlainText(), QString());

    // A changed notes pad keeps its text when the file is missing.
    f.notesEditor()->setPlainText("kept");
    p.dialogs().answers << MsgButton::Ok;
    f.button("SpeedButton33")->click();
    QCOMPARE(f.notesEditor()->toPlainText(), QString("kept"));
    QCOMPARE(p.dialogs().shown.last().kind, ShownDialog::Error);
}

void NotesPadTest::loadAsksOnlyWhenModified() {
    TestProgram p;
    TForm1& f = p.form();
    writeAll(p.path("poznamky.txt"), "from file\r\n");
    Editor* notes = f.notesEditor();
    // Untouched notes load without a question.
    f.button("SpeedButton33")->click();
    QCOMPARE(p.dialogs().shown.size(), 0);
    QCOMPARE(notes->toPlainText(), QString("from file\n"));
    QCOMPARE(p.message(), kLoaded);

    // Changed notes ask; Cancel (the default) keeps text and message.
    notes->setPlainText("typed");
    p.form().patterns().message("before");
    f.button("SpeedButton33")->click();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].text, kEraseNotes);
    QCOMPARE(p.dialogs().shown[0].caption, QString::fromUtf8("Zbystřete prosím..."));
    QCOMPARE(p.dialogs().shown[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(notes->toPlainText(), QString("typed"));
    QCOMPARE(p.message(), QString("before"));

    p.dialogs().answers << MsgButton::Ok;
    f.button("SpeedButton33")->click();
    QCOMPARE(p.dialogs().shown.size(), 2);
    QCOMPARE(notes->toPlainText(), QString("from file\n"));
    QCOMPARE(p.message(), kLoaded);
    // The shown page is not touched by the notes' load.
    QCOMPARE(f.editor(1)->toPlainText(), QString());
}

void NotesPadTest::saveWritesRichTextAndClearsFlag() {
    TestProgram p;
    TForm1& f = p.form();
    Editor* notes = f.notesEditor();
    f.action("Page41")->trigger();
    f.editor(4)->setPlainText("page four");
    notes->setPlainText(QString::fromUtf8("poznámka"));
    f.button("SpeedButton34")->click();
    QCOMPARE(p.message(), kSaved);
    QCOMPARE(p.dialogs().shown.size(), 0);
    const QByteArray bytes = readAll(p.path("poznamky.txt"));
    QVERIFY2(bytes.startsWith("{\\rtf"), bytes.constData());
    QVERIFY(!bytes.contains("page four"));
    // Saved, the notes are what the file holds: the load asks nothing.
    QVERIFY(!notes->isModifiedFlag());
    f.button("SpeedButton33")->click();
    QCOMPARE(p.dialogs().shown.size(), 0);
    QCOMPARE(notes->toPlainText(), QString::fromUtf8("poznámka"));

    // A second save replaces the file.
    notes->setPlainText("short");
    f.button("SpeedButton34")->click();
    f.button("SpeedButton33")->click();
    QCOMPARE(notes->toPlainText(), QString("short"));
}

void NotesPadTest::plainTextFileLoads() {
    TestProgram p;
    TForm1& f = p.form();
    writeAll(p.path("poznamky.txt"), "first\r\nsecond \xe8\x9a\r\n<b>{x}</b>\r\n");
    f.button("SpeedButton33")->click();
    Editor* notes = f.notesEditor();
    QCOMPARE(notes->lineCount(), 3);
    QCOMPARE(notes->line(1), QString::fromUtf8("second čš"));
    QCOMPARE(notes->line(2), QString("<b>{x}</b>"));
    f.button("SpeedButton34")->click();
    QVERIFY(readAll(p.path("poznamky.txt")).startsWith("{\\rtf"));
    notes->clearAll();
    f.button("SpeedButton33")->click();
    QCOMPARE(notes->toPlainText(), QString::fromUtf8("first\nsecond čš\n<b>{x}</b>\n"));
}

void NotesPadTest::formattingSurvivesSaveAndLoad() {
    TestProgram p;
    TForm1& f = p.form();
    Editor* notes = f.notesEditor();
    notes->setPlainText("plain bold");
    notes->setSelStart(6);
    notes->setSelLength(4);
    QFont bold = notes->document()->defaultFont();
    bold.setBold(true);
    p.dialogs().fontAnswers << bold;
    f.action("Psmo3")->trigger();
    p.dialogs().colorAnswers << QColor(128, 0, 0);
    f.action("Pozad2")->trigger();
    f.button("SpeedButton34")->click();
    notes->clearAll();
    f.button("SpeedButton33")->click();
    QCOMPARE(notes->toPlainText(), QString("plain bold"));
    QTextCursor at(notes->document());
    at.setPosition(8);
    QVERIFY(at.charFormat().font().bold());
    QCOMPARE(at.charFormat().foreground().color(), QColor(128, 0, 0));
    at.setPosition(2);
    QVERIFY(!at.charFormat().font().bold());
}

void NotesPadTest::saveFailureReported() {
    TestProgram p;
    TForm1& f = p.form();
    // A folder in the file's place cannot be written, even by root.
    QVERIFY(QDir(p.dir()).mkdir("poznamky.txt"));
    f.notesEditor()->setPlainText("notes");
    f.button("SpeedButton34")->click();
    QCOMPARE(p.dialogs().shown.size(), 1);
    const ShownDialog& d = p.dialogs().shown[0];
    QCOMPARE(d.kind, ShownDialog::Error);
    QCOMPARE(d.text, QString::fromUtf8("Nepodařilo se uložit soubor ! Pokud problémy "
                                       "přetrvají, kontaktujte autora aplikace !"));
    QCOMPARE(d.operationMessage, QString::fromUtf8("Chyba při ukládání..."));
    QCOMPARE(p.message(), QString::fromUtf8("Chyba při ukládání..."));
    QCOMPARE(f.notesEditor()->toPlainText(), QString("notes"));
}

QTEST_MAIN(NotesPadTest)
#include "tst_notespad.moc"
