// The ways out of the program (the window's close query, "KO", File > Konec)
// and the backup commands of the Operace menu, with real files in a temporary
// working folder, scripted answers and a recording shell.

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include "editor/editor.h"
#include "ground/patterns.h"
#include "support/filebytes.h"
#include "support/literals.h"
#include "support/testprogram.h"
#include "text/pagefile.h"

using namespace zelvar;
using zelvar::testing::readFileBytes;
using zelvar::testing::ShownDialog;
using zelvar::testing::TestProgram;
using zelvar::testing::u;
using zelvar::testing::writeFileBytes;

namespace {

QString pageQuestion(const char* page) {
    return u("Obsah stránky \"%1\" bude smazán, nebylo by vhodné jej uložit ?").arg(page);
}

const QString kQuitQuestion = u("Obsah bude smazán, nebylo by vhodné uložit soubor ?");
const QString kEraseQuestion = u("Stávající obsah editoru bude smazán !");
const QString kCannotSave =
    u("Nepodařilo se uložit soubor ! Pokud problémy přetrvají, kontaktujte autora aplikace !");
const QString kCannotLoad =
    u("Nepodařilo se načíst soubor ! Pokud problémy přetrvají, kontaktujte autora aplikace !");

FileDialogAnswer chosen(const QString& name) {
    return FileDialogAnswer{true, name, 1};
}

QStringList texts(const QList<ShownDialog>& shown) {
    QStringList out;
    for (const ShownDialog& d : shown) {
        out << d.text;
    }
    return out;
}

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs the command inside an event loop and tells whether it ended the
// application's event loops. The window stays as it is: ending the loop is
// not closing the window.
bool endsApplication(const std::function<void()>& command) {
    QEventLoop loop;
    bool ended = false;
    QTimer::singleShot(0, &loop, [&] {
        command();
        ended = !loop.isRunning();
        if (!ended) {
            loop.exit(1);
        }
    });
    loop.exec();
    if (ended) {
        // An ended application loop leaves the thread marked to quit, which
        // would stop every later loop of this test program at once; one pass
        // through the application's own loop clears the mark.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
    return ended;
}

// Switches the page to plain-text form the way the user does: Save As,
// cancelled in the dialog.
void switchToPlainText(TestProgram& p, const char* pageItem) {
    p.form().action(pageItem)->trigger();
    p.form().action("Uloitjako1")->trigger();
}

} // namespace

class ExitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The close query.
    void closeWithoutChangesWritesAndAsksNothing();
    void closeBacksUpAndAsksAboutChangedPages();
    void closeAsksOnlyAboutChanges_data();
    void closeAsksOnlyAboutChanges();
    void yesSavesIntoTheChosenFile();
    void failedChosenSaveKeepsTheProgramOpen();
    void failedBackupGoesOnWithTheNextPage();
    // "KO" and File > Konec.
    void exitButtonRunsTheSequenceOnceAndEnds();
    void exitButtonStaysAfterAFailedSave();
    void quitFromFileMenuAnsweredNo();
    void quitFromFileMenuAnsweredYes();
    // The notes' backup, on every way out.
    void notesBackupOnEveryWayOut_data();
    void notesBackupOnEveryWayOut();
    // The backup commands.
    void loadBackupRichThenPlain();
    void loadBackupAsksBeforeReplacingChanges_data();
    void loadBackupAsksBeforeReplacingChanges();
    void loadMissingBackupReported();
    void aboutBackupInsertsIntoNotes();
    void openBackupItems();
};

void ExitTest::closeWithoutChangesWritesAndAsksNothing() {
    TestProgram p;
    QVERIFY(writeFileBytes(p.path("zaloha1.txt"), "old"));
    p.form().show();
    p.form().action("Page31")->trigger(); // showing pages changes nothing
    QVERIFY(p.form().close());
    QVERIFY(!p.form().isVisible());
    QCOMPARE(p.dialogs().shown.size(), 0);
    QCOMPARE(filesIn(p.dir()), QStringList{"zaloha1.txt"});
    QCOMPARE(readFileBytes(p.path("zaloha1.txt")), QByteArray("old"));
}

void ExitTest::closeBacksUpAndAsksAboutChangedPages() {
    TestProgram p;
    for (const char* name : {"zaloha1.txt", "zaloha3.txt", "zaloha5.txt"}) {
        QVERIFY(writeFileBytes(p.path(name), "old"));
    }
    p.form().show();
    p.form().editor(2)->setPlainText(u("druhá"));
    switchToPlainText(p, "Page41");
    p.form().editor(4)->setPlainText(u("čtvrtá\nstrana"));
    const int before = p.dialogs().shown.size();
    QVERIFY(p.form().close()); // every question answered No (the default)
    QVERIFY(!p.form().isVisible());
    const QList<ShownDialog> asked = p.dialogs().shown.mid(before);
    QCOMPARE(texts(asked), (QStringList{pageQuestion("Page2"), pageQuestion("Page4")}));
    for (const ShownDialog& d : asked) {
        QCOMPARE(d.kind, ShownDialog::Message);
        QCOMPARE(d.buttons, MsgButtons::YesNo);
        QCOMPARE(d.caption, u("Zbystřete prosím..."));
    }
    // Each page in its current form: page 2 is still rich, page 4 plain.
    const QByteArray second = readFileBytes(p.path("zaloha2.txt"));
    QVERIFY(second.startsWith("{\\rtf"));
    QVERIFY(second.contains("druh"));
    QCOMPARE(readFileBytes(p.path("zaloha4.txt")), QByteArray("\xe8tvrt\xe1\r\nstrana\r\n"));
    for (const char* name : {"zaloha1.txt", "zaloha3.txt", "zaloha5.txt"}) {
        QCOMPARE(readFileBytes(p.path(name)), QByteArray("old"));
    }
    QCOMPARE(filesIn(p.dir()).size(), 5);
}

void ExitTest::closeAsksOnlyAboutChanges_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("changed"); // asked about and backed up
    QTest::newRow("opened") << QStringList{"open"} << false;
    QTest::newRow("typed and saved") << QStringList{"type", "save"} << false;
    QTest::newRow("opened and typed") << QStringList{"open", "type"} << true;
    QTest::newRow("typed and undone") << QStringList{"open", "type", "undo"} << false;
    QTest::newRow("saved, typed, undone twice")
        << QStringList{"type", "save", "type", "undo", "undo"} << true;
}

// A page counts as changed from the last time it was read or written on:
// the way out asks about it and backs it up only then.
void ExitTest::closeAsksOnlyAboutChanges() {
    QFETCH(QStringList, steps);
    QFETCH(bool, changed);
    TestProgram p;
    QVERIFY(writeFileBytes(p.path("page.html"), "<p>a</p>\r\n"));
    p.form().show();
    Editor* page = p.form().editor(1);
    for (const QString& step : steps) {
        if (step == u"open") {
            p.dialogs().fileAnswers << chosen(p.path("page.html"));
            p.form().action("Otevt1")->trigger();
        } else if (step == u"save") {
            p.dialogs().fileAnswers << chosen(p.path("saved.html"));
            p.form().action("Uloitjako1")->trigger();
        } else if (step == u"type") {
            // At the start each time: one undo step a key.
            page->moveCursor(QTextCursor::Start);
            QTest::keyClick(page, Qt::Key_X);
        } else {
            page->undoLast();
        }
    }
    const QStringList before = filesIn(p.dir());
    const int asked = int(p.dialogs().shown.size());
    QVERIFY(p.form().close()); // answered No
    QCOMPARE(texts(p.dialogs().shown.mid(asked)),
             changed ? QStringList{pageQuestion("Page1")} : QStringList());
    QCOMPARE(filesIn(p.dir()).contains("zaloha1.txt"), changed);
    QCOMPARE(filesIn(p.dir()).size(), before.size() + (changed ? 1 : 0));
}

void ExitTest::yesSavesIntoTheChosenFile() {
    TestProgram p;
    p.form().show();
    p.form().editor(1)->setPlainText(u("první"));
    p.form().editor(3)->setPlainText(u("třetí"));
    p.dialogs().answers << MsgButton::Yes << MsgButton::Yes;
    p.dialogs().fileAnswers << chosen(p.path("prvni.html")); // the second dialog is cancelled
    QVERIFY(p.form().close());
    QCOMPARE(texts(p.dialogs().shown), (QStringList{pageQuestion("Page1"), pageQuestion("Page3")}));
    QCOMPARE(p.dialogs().fileRequests.size(), 2);
    QCOMPARE(p.dialogs().fileRequests[0].title, u("Uložit soubor..."));
    // The second dialog offers the name chosen for the first page.
    QCOMPARE(p.dialogs().fileRequests[1].fileName, p.path("prvni.html"));
    // The chosen file is written as Save As writes it: plain text.
    QCOMPARE(readFileBytes(p.path("prvni.html")), QByteArray("prvn\xed\r\n"));
    QVERIFY(p.form().editor(1)->plainTextMode());
    // Page 3's dialog was cancelled: nothing saved, its form unchanged.
    QVERIFY(!p.form().editor(3)->plainTextMode());
    QCOMPARE(filesIn(p.dir()), (QStringList{"prvni.html", "zaloha1.txt", "zaloha3.txt"}));
    QVERIFY(readFileBytes(p.path("zaloha1.txt")).startsWith("{\\rtf"));
}

void ExitTest::failedChosenSaveKeepsTheProgramOpen() {
    TestProgram p;
    p.form().show();
    p.form().editor(2)->setPlainText("two");
    p.form().editor(4)->setPlainText("four");
    const QString target = p.path("no/such/folder/two.html");
    p.dialogs().answers << MsgButton::Yes;
    p.dialogs().fileAnswers << chosen(target);
    QVERIFY(!p.form().close());
    QVERIFY(p.form().isVisible());
    // The failure is shown and page 4 is not asked about.
    QCOMPARE(p.dialogs().shown.size(), 2);
    QCOMPARE(p.dialogs().shown[0].text, pageQuestion("Page2"));
    QCOMPARE(p.dialogs().shown[1].kind, ShownDialog::Error);
    QCOMPARE(p.dialogs().shown[1].caption, QString("Zelvar v2.0"));
    QCOMPARE(p.dialogs().shown[1].text, QString("Cannot create file %1.").arg(target));
    QVERIFY(QFile::exists(p.path("zaloha2.txt")));
    QVERIFY(QFile::exists(p.path("zaloha4.txt")));

    // Closing again runs the whole sequence again, backups included.
    QVERIFY(QFile::remove(p.path("zaloha2.txt")));
    QVERIFY(QFile::remove(p.path("zaloha4.txt")));
    p.dialogs().shown.clear();
    QVERIFY(p.form().close());
    QVERIFY(!p.form().isVisible());
    QCOMPARE(texts(p.dialogs().shown), (QStringList{pageQuestion("Page2"), pageQuestion("Page4")}));
    QVERIFY(QFile::exists(p.path("zaloha2.txt")));
    QVERIFY(QFile::exists(p.path("zaloha4.txt")));
}

void ExitTest::failedBackupGoesOnWithTheNextPage() {
    TestProgram p;
    QVERIFY(QDir(p.dir()).mkdir("zaloha2.txt")); // a folder where the backup should go
    p.form().show();
    switchToPlainText(p, "Page31");
    p.form().editor(2)->setPlainText("two");
    p.form().editor(3)->setPlainText("three");
    p.form().patterns().message("before");
    QVERIFY(p.form().close());
    QCOMPARE(p.dialogs().shown.size(), 3);
    const ShownDialog& failure = p.dialogs().shown[0];
    QCOMPARE(failure.kind, ShownDialog::Error);
    QCOMPARE(failure.caption, QString("Error"));
    QCOMPARE(failure.text, kCannotSave);
    QCOMPARE(failure.operationMessage, u("Chyba při ukládání zálohy..."));
    // The next page is still backed up, and both pages are still asked about.
    QCOMPARE(readFileBytes(p.path("zaloha3.txt")), QByteArray("three\r\n"));
    QCOMPARE(p.dialogs().shown[1].text, pageQuestion("Page2"));
    QCOMPARE(p.dialogs().shown[2].text, pageQuestion("Page3"));
}

void ExitTest::exitButtonRunsTheSequenceOnceAndEnds() {
    TestProgram p;
    p.form().show();
    switchToPlainText(p, "Page11");
    p.form().editor(1)->setPlainText("one");
    p.form().editor(5)->setPlainText("five");
    const int before = p.dialogs().shown.size();
    QVERIFY(endsApplication([&] { p.form().button("SpeedButton41")->click(); }));
    // One question per changed page: the close query did not run again.
    QCOMPARE(texts(p.dialogs().shown.mid(before)),
             (QStringList{pageQuestion("Page1"), pageQuestion("Page5")}));
    QVERIFY(p.form().isVisible());
    QCOMPARE(readFileBytes(p.path("zaloha1.txt")), QByteArray("one\r\n"));
    QVERIFY(readFileBytes(p.path("zaloha5.txt")).startsWith("{\\rtf"));
    QCOMPARE(filesIn(p.dir()), (QStringList{"zaloha1.txt", "zaloha5.txt"}));
}

void ExitTest::exitButtonStaysAfterAFailedSave() {
    TestProgram p;
    p.form().show();
    p.form().editor(3)->setPlainText("three");
    const QString target = p.path("missing/three.html");
    p.dialogs().answers << MsgButton::Yes;
    p.dialogs().fileAnswers << chosen(target);
    QVERIFY(!endsApplication([&] { p.form().button("SpeedButton41")->click(); }));
    QCOMPARE(p.dialogs().shown.size(), 2);
    QCOMPARE(p.dialogs().shown[1].text, QString("Cannot create file %1.").arg(target));
    QVERIFY(p.form().isVisible());
    // Answered No the next time, the button ends the program.
    QVERIFY(endsApplication([&] { p.form().button("SpeedButton41")->click(); }));
    QCOMPARE(p.dialogs().shown.size(), 3);
}

void ExitTest::quitFromFileMenuAnsweredNo() {
    TestProgram p;
    p.form().show();
    switchToPlainText(p, "Page11");
    switchToPlainText(p, "Page31");
    p.form().editor(1)->setPlainText("page one");
    p.form().editor(3)->setPlainText("page three");
    const int before = p.dialogs().shown.size();
    QVERIFY(endsApplication([&] { p.form().action("Konec1")->trigger(); }));
    // One question, no per-page questions.
    const QList<ShownDialog> asked = p.dialogs().shown.mid(before);
    QCOMPARE(texts(asked), QStringList{kQuitQuestion});
    QCOMPARE(asked[0].buttons, MsgButtons::YesNo);
    QCOMPARE(asked[0].operationMessage, u("Záloha vytvořena..."));
    // zaloha.txt holds page 1, although page 3 is shown; the changed pages
    // are backed up as on the other ways out.
    QCOMPARE(readFileBytes(p.path("zaloha.txt")), QByteArray("page one\r\n"));
    QCOMPARE(readFileBytes(p.path("zaloha1.txt")), QByteArray("page one\r\n"));
    QCOMPARE(readFileBytes(p.path("zaloha3.txt")), QByteArray("page three\r\n"));
    QCOMPARE(filesIn(p.dir()), (QStringList{"zaloha.txt", "zaloha1.txt", "zaloha3.txt"}));
    QVERIFY(p.form().isVisible());
}

void ExitTest::quitFromFileMenuAnsweredYes() {
    TestProgram p;
    p.form().show();
    p.form().editor(2)->setPlainText("two");
    p.dialogs().answers << MsgButton::Yes;
    QVERIFY(!endsApplication([&] { p.form().action("Konec1")->trigger(); }));
    QVERIFY(p.form().isVisible());
    QCOMPARE(p.message(), u("Záloha vytvořena..."));
    QCOMPARE(texts(p.dialogs().shown), QStringList{kQuitQuestion});
    // Page 1 is written even unchanged; the changed page 2 is not backed up.
    QVERIFY(readFileBytes(p.path("zaloha.txt")).startsWith("{\\rtf"));
    QCOMPARE(filesIn(p.dir()), QStringList{"zaloha.txt"});

    // zaloha.txt cannot be written: reported, and the question follows.
    QVERIFY(QFile::remove(p.path("zaloha.txt")));
    QVERIFY(QDir(p.dir()).mkdir("zaloha.txt"));
    p.dialogs().shown.clear();
    p.dialogs().answers << MsgButton::Yes;
    QVERIFY(!endsApplication([&] { p.form().action("Konec1")->trigger(); }));
    QCOMPARE(texts(p.dialogs().shown), (QStringList{kCannotSave, kQuitQuestion}));
    QCOMPARE(p.dialogs().shown[0].operationMessage, u("Chyba při ukládání..."));
    QCOMPARE(p.message(), u("Chyba při ukládání..."));
}

void ExitTest::notesBackupOnEveryWayOut_data() {
    QTest::addColumn<QString>("way");       // "close", "KO", "Konec No", "Konec Yes"
    QTest::addColumn<QStringList>("steps"); // what the user does in the notes first
    QTest::addColumn<bool>("blocked");      // a folder stands where the backup goes
    QTest::addColumn<QString>("backup");    // the backup's text; empty: no backup
    const QStringList typed{"type:note"};
    QTest::newRow("close, untouched") << "close" << QStringList() << false << QString();
    QTest::newRow("close, typed") << "close" << typed << false << "note";
    QTest::newRow("KO, typed") << "KO" << typed << false << "note";
    QTest::newRow("Konec answered No, typed") << "Konec No" << typed << false << "note";
    QTest::newRow("Konec answered Yes stays open") << "Konec Yes" << typed << false << QString();
    QTest::newRow("close, loaded") << "close" << QStringList{"load"} << false << QString();
    QTest::newRow("close, loaded then typed")
        << "close" << QStringList{"load", "type:x"} << false << "from file\nx";
    QTest::newRow("close, saved") << "close" << QStringList{"type:note", "save"} << false
                                  << QString();
    QTest::newRow("KO, saved then typed")
        << "KO" << QStringList{"type:note", "save", "type:s"} << false << "notes";
    QTest::newRow("close, loaded then coloured")
        << "close" << QStringList{"load", "colour"} << false << "from file\n";
    QTest::newRow("close, typed then erased")
        << "close" << QStringList{"type:note", "erase"} << false << QString();
    QTest::newRow("close, backup fails") << "close" << typed << true << QString();
    QTest::newRow("KO, backup fails") << "KO" << typed << true << QString();
    QTest::newRow("Konec answered No, backup fails") << "Konec No" << typed << true << QString();
}

void ExitTest::notesBackupOnEveryWayOut() {
    QFETCH(QString, way);
    QFETCH(QStringList, steps);
    QFETCH(bool, blocked);
    QFETCH(QString, backup);
    TestProgram p;
    QVERIFY(writeFileBytes(p.path("poznamky.txt"), "from file\r\n"));
    if (blocked) {
        QVERIFY(QDir(p.dir()).mkdir("zaloha_poznamky.txt"));
    }
    QVERIFY(p.showAndActivate());
    Editor* notes = p.form().notesEditor();
    for (const QString& step : steps) {
        notes->setFocus();
        if (step.startsWith("type:")) {
            notes->moveCursor(QTextCursor::End);
            QTest::keyClicks(notes, step.mid(5));
        } else if (step == "colour") {
            notes->selectAll();
            p.dialogs().colorAnswers << QColor(200, 0, 0);
            p.form().action("Pozad2")->trigger();
        } else if (step == "erase") {
            QTest::keyClick(notes, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(notes, Qt::Key_Backspace);
        } else {
            if (notes->isModifiedFlag()) {
                p.dialogs().answers << MsgButton::Ok; // replace the typed notes
            }
            p.form().button(step == "load" ? "SpeedButton33" : "SpeedButton34")->click();
        }
    }
    p.dialogs().shown.clear();

    bool ended = false;
    if (way == "close") {
        ended = p.form().close();
    } else if (way == "KO") {
        ended = endsApplication([&] { p.form().button("SpeedButton41")->click(); });
    } else {
        if (way == "Konec Yes") {
            p.dialogs().answers << MsgButton::Yes;
        }
        ended = endsApplication([&] { p.form().action("Konec1")->trigger(); });
    }
    // The program ends whatever became of the backup; only a Yes to File >
    // Konec keeps it open. No new question is asked.
    QCOMPARE(ended, way != "Konec Yes");
    QStringList asked;
    if (way.startsWith("Konec")) {
        asked << kQuitQuestion;
    }
    if (blocked) {
        asked << kCannotSave;
        QCOMPARE(p.dialogs().shown.last().kind, ShownDialog::Error);
        QCOMPARE(p.dialogs().shown.last().operationMessage, u("Chyba při ukládání zálohy..."));
    }
    QCOMPARE(texts(p.dialogs().shown), asked);

    const QString file = p.path("zaloha_poznamky.txt");
    if (backup.isEmpty()) {
        QVERIFY(blocked ? QFileInfo(file).isDir() : !QFile::exists(file));
        return;
    }
    // The backup has the rich-text form of poznamky.txt and loads back as the notes.
    QVERIFY(readFileBytes(file).startsWith("{\\rtf"));
    QTextDocument loaded;
    loadPageFile(loaded, file, false);
    QCOMPARE(loaded.toPlainText(), backup);
    QCOMPARE(notes->toPlainText(), backup);
}

void ExitTest::loadBackupRichThenPlain() {
    const QString text = u("Obsah <B>ěščř</B>\nřádek");
    QByteArray backup;
    {
        // A run that ends with page 2 changed and still in rich form.
        TestProgram first;
        first.form().show();
        first.form().editor(2)->setPlainText(text);
        QVERIFY(first.form().close());
        backup = readFileBytes(first.path("zaloha2.txt"));
    }
    QVERIFY(backup.startsWith("{\\rtf"));

    TestProgram p;
    QVERIFY(writeFileBytes(p.path("zaloha2.txt"), backup));
    p.form().action("Page21")->trigger();
    Editor* e = p.form().editor(2);
    p.form().action("Vymazatzlohu1")->trigger(); // unchanged page: no question
    QCOMPARE(p.dialogs().shown.size(), 0);
    QCOMPARE(e->toPlainText(), text);
    QCOMPARE(p.message(), u("Záloha načtena..."));
    QVERIFY(p.form().editor(1)->toPlainText().isEmpty());

    // In a page switched to plain form the backup shows its markup.
    switchToPlainText(p, "Page21");
    p.dialogs().answers << MsgButton::Ok; // the page holds the loaded text
    p.form().action("Vymazatzlohu1")->trigger();
    QCOMPARE(e->toPlainText().toLatin1().left(5), QByteArray("{\\rtf"));
}

void ExitTest::loadBackupAsksBeforeReplacingChanges_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("notes"); // the notes, else page 1
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("message");
    QTest::newRow("page") << "Vymazatzlohu1"
                          << "zaloha1.txt" << false << kEraseQuestion << u("Záloha načtena...");
    QTest::newRow("notes") << "Natzlohupoznmek1"
                           << "zaloha_poznamky.txt" << true
                           << u("Stávající obsah poznámek bude smazán !")
                           << u("Záloha poznámek načtena...");
}

void ExitTest::loadBackupAsksBeforeReplacingChanges() {
    QFETCH(QString, item);
    QFETCH(QString, file);
    QFETCH(bool, notes);
    QFETCH(QString, question);
    QFETCH(QString, message);
    TestProgram p;
    QVERIFY(writeFileBytes(p.path(file), "saved\r\n"));
    QVERIFY(p.showAndActivate());
    Editor* e = notes ? p.form().notesEditor() : p.form().editor(1);
    e->setFocus();
    QTest::keyClick(e, Qt::Key_X);
    p.form().patterns().message("before");
    const QByteArray name = item.toLatin1();
    p.form().action(name.constData())->trigger(); // Enter answers Cancel
    QCOMPARE(texts(p.dialogs().shown), QStringList{question});
    QCOMPARE(p.dialogs().shown[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(e->toPlainText(), QString("x"));
    QCOMPARE(p.message(), QString("before"));
    p.dialogs().answers << MsgButton::Ok;
    p.form().action(name.constData())->trigger();
    QCOMPARE(e->toPlainText(), QString("saved\n"));
    QCOMPARE(p.message(), message);
}

void ExitTest::loadMissingBackupReported() {
    TestProgram p;
    QVERIFY(writeFileBytes(p.path("zaloha3.txt"), "page three"));
    p.form().action("Page41")->trigger();
    Editor* e = p.form().editor(4);
    e->setPlainText("keep");
    p.dialogs().answers << MsgButton::Ok;
    p.form().action("Vymazatzlohu1")->trigger();
    QCOMPARE(texts(p.dialogs().shown), (QStringList{kEraseQuestion, kCannotLoad}));
    QCOMPARE(p.dialogs().shown[1].kind, ShownDialog::Error);
    QCOMPARE(p.dialogs().shown[1].operationMessage, u("Chyba při načítání zálohy..."));
    QCOMPARE(e->toPlainText(), QString("keep"));
    QCOMPARE(p.message(), u("Chyba při načítání zálohy..."));
}

void ExitTest::aboutBackupInsertsIntoNotes() {
    const QString about =
        u("Při každém ukončení aplikace Zelvar jakýmkoli způsobem (klasicky křížkem, kombinací "
          "kláves Alt + F4, nebo cestou Soubor -> Konec) dochází k ukládání veškerého obsahu "
          "Editoru do statické paměti. Takto uložený soubor (nedošlo-li k jeho přepsání v důsledku "
          "dalšího používání programu) můžete zpětně vyvolat. (Operace -> Načíst zálohu). ");
    TestProgram p;
    Editor* notes = p.form().notesEditor();
    notes->setPlainText("ab\ncd\nef");
    // The caret after "c": offset 5 counts the first line break as CR LF.
    notes->setSelStart(5);
    notes->setSelLength(2); // a selection: the text goes before it
    QVERIFY(p.showAndActivate());
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_F7);
    QCOMPARE(notes->text(), "ab\r\nc" + about + "d\r\nef\r\n");
    QCOMPARE(notes->lineCount(), 3);
    QCOMPARE(p.message(), u("O záloze..."));
    // The pages, the dialogs and the files are left alone.
    QVERIFY(p.form().editor(1)->toPlainText().isEmpty());
    QCOMPARE(p.dialogs().shown.size(), 0);
    QCOMPARE(filesIn(p.dir()), QStringList());

    // In empty notes the explanation becomes the only line.
    notes->clearAll();
    p.form().action("Ozloze1")->trigger();
    QCOMPARE(notes->text(), about + "\r\n");
    QCOMPARE(notes->lineCount(), 1);
}

void ExitTest::openBackupItems() {
    TestProgram p;
    const char* items[] = {"Otevtzlohu1", "Otevtsouborzaloha1txt1", "Otevtsouborzaloha1txt2",
                           "Otevtsouborzaloha1txt3", "Otevtsouborzaloha5txt1"};
    QStringList expected;
    for (int n = 1; n <= 5; ++n) {
        p.form().patterns().message("before");
        p.form().action(items[n - 1])->trigger();
        expected << p.path(QString("zaloha%1.txt").arg(n));
        QCOMPARE(p.shell().files, expected);
        // The same message for all five, also when the file does not exist.
        QCOMPARE(p.message(), u("Soubor: zaloha.txt..."));
    }
    QCOMPARE(filesIn(p.dir()), QStringList());
    QCOMPARE(p.dialogs().shown.size(), 0);
}

QTEST_MAIN(ExitTest)
#include "tst_exit.moc"
