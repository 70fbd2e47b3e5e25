// New, Open, Save As, the static memory and the templates, with real files in
// a temporary working folder and scripted dialogs.

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include "editor/editor.h"
#include "files/documents.h"
#include "ground/patterns.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::ShownDialog;
using zelvar::testing::TestProgram;

namespace {

using zelvar::testing::readAll;
using zelvar::testing::writeAll;

FileDialogAnswer chosen(const QString& name, int filter = 1) {
    return FileDialogAnswer{true, name, filter};
}

const QString kEraseQuestion = QString::fromUtf8("Stávající obsah editoru bude smazán !");

} // namespace

class DocumentsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newAsksOnlyWhenModified();
    void newCancelledKeepsText();
    void openCancelled();
    void openLoadsWindows1250();
    void openAsksBeforeThrowingAwayChanges();
    void openMissingFileReachesExceptionDisplay();
    void saveAsWritesCrLfAndRemembers();
    void saveAsIntoMissingFolder();
    void openThenSaveKeepsEveryByte();
    void formatSettingIsFixed();
    void staticMemoryPerPage();
    void staticMemoryNeverStored();
    void staticMemoryConfirmation();
    void staticMemoryRichThenPlain();
    void staticMemoryStoreFailure();
    void templatesFromMenuAndButton();
    void missingTemplateReported();
};

void DocumentsTest::newAsksOnlyWhenModified() {
    TestProgram p;
    p.form().action("Nov1")->trigger();
    QCOMPARE(p.dialogs().shown.size(), 0);
    QCOMPARE(p.message(), QString::fromUtf8("Čistá stránka..."));
    Editor* e = p.form().editor(1);
    e->setPlainText("text");
    p.dialogs().answers << MsgButton::Ok;
    p.form().button("SpeedButton35")->click();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].text, kEraseQuestion);
    QCOMPARE(e->toPlainText(), QString());
    QVERIFY(!e->isModifiedFlag());
    p.form().action("Nov1")->trigger(); // cleared by the earlier New: no question
    QCOMPARE(p.dialogs().shown.size(), 1);
}

void DocumentsTest::newCancelledKeepsText() {
    TestProgram p;
    p.form().action("Page31")->trigger();
    p.form().editor(3)->setPlainText("keep");
    p.form().patterns().message("before");
    p.form().action("Nov1")->trigger(); // Enter answers Cancel
    QCOMPARE(p.form().editor(3)->toPlainText(), QString("keep"));
    QCOMPARE(p.message(), QString::fromUtf8("Čistá stránka..."));
}

void DocumentsTest::openCancelled() {
    TestProgram p;
    p.form().action("Otevt1")->trigger();
    QVERIFY(p.form().editor(1)->plainTextMode());
    QCOMPARE(p.message(), QString::fromUtf8("Otevírání souboru..."));
    QCOMPARE(p.dialogs().fileRequests.size(), 1);
    const FileDialogRequest& r = p.dialogs().fileRequests[0];
    QCOMPARE(r.title, QString::fromUtf8("Otevřít soubor..."));
    QCOMPARE(r.filter, QString::fromUtf8("HTML soubor (*.html);;Všechny soubory (*.*)"));
    QCOMPARE(r.defaultExt, QString("html"));
    QCOMPARE(r.filterIndex, 1);
    QVERIFY(!p.form().editor(2)->plainTextMode());
}

void DocumentsTest::openLoadsWindows1250() {
    TestProgram p;
    writeAll(p.path("page.html"), "<P>\xe8\x9a\xe8\r\nline2\rline3\nend");
    p.form().action("Page21")->trigger();
    p.dialogs().fileAnswers << chosen(p.path("page.html"));
    p.form().button("SpeedButton36")->click();
    Editor* e = p.form().editor(2);
    QCOMPARE(e->lineCount(), 4);
    QCOMPARE(e->line(0), QString::fromUtf8("<P>čšč"));
    QCOMPARE(e->line(2), QString("line3"));
    QCOMPARE(p.form().editor(1)->toPlainText(), QString());
    QCOMPARE(p.label("Label3"), QString("4"));
    // The next Open (the page now holds a loaded text: OK to replace it)
    // offers the name chosen last.
    p.dialogs().answers << MsgButton::Ok;
    p.form().action("Otevt1")->trigger();
    QCOMPARE(p.dialogs().fileRequests.size(), 2);
    QCOMPARE(p.dialogs().fileRequests.last().fileName, p.path("page.html"));
}

void DocumentsTest::openAsksBeforeThrowingAwayChanges() {
    TestProgram p;
    writeAll(p.path("other.html"), "other");
    Editor* e = p.form().editor(1);
    e->setPlainText("unsaved work");
    p.dialogs().fileAnswers << chosen(p.path("other.html"));
    p.form().action("Otevt1")->trigger(); // Enter: Cancel
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].text, kEraseQuestion);
    QCOMPARE(p.dialogs().fileRequests.size(), 0);
    QCOMPARE(e->toPlainText(), QString("unsaved work"));
    QCOMPARE(p.message(), QString::fromUtf8("Otevírání souboru..."));
    p.dialogs().answers << MsgButton::Ok;
    p.form().action("Otevt1")->trigger();
    QCOMPARE(e->toPlainText(), QString("other"));
}

void DocumentsTest::openMissingFileReachesExceptionDisplay() {
    TestProgram p;
    Editor* e = p.form().editor(1);
    p.form().patterns().message("previous");
    const QString missing = p.path("missing.html");
    p.dialogs().fileAnswers << chosen(missing);
    p.form().action("Otevt1")->trigger();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].caption, QString("Zelvar v2.0"));
    QCOMPARE(p.dialogs().shown[0].text, QString("Cannot open file %1.").arg(missing));
    QCOMPARE(p.message(), QString("previous"));
    QCOMPARE(e->toPlainText(), QString());
}

void DocumentsTest::saveAsWritesCrLfAndRemembers() {
    TestProgram p;
    Editor* e = p.form().editor(1);
    e->setPlainText(QString::fromUtf8("<B>Žluťoučký kůň</B>\nřádek"));
    p.dialogs().fileAnswers << chosen(p.path("out.txt"), 2);
    p.form().action("Uloitjako1")->trigger();
    QCOMPARE(readAll(p.path("out.txt")),
             QByteArray("<B>\x8elu\x9dou\xe8k\xfd k\xf9\xf2</B>\r\n\xf8\xe1"
                        "dek\r\n"));
    QCOMPARE(p.message(), QString::fromUtf8("Ukládání souboru..."));
    QVERIFY(e->plainTextMode());
    // The scripted dialog stands in for the save dialog, which itself asks
    // before it replaces an existing file (see tst_qtdialogs); the command
    // adds no question of its own. The dialog offers the last name and filter.
    p.form().button("SpeedButton37")->click();
    const FileDialogRequest& r = p.dialogs().fileRequests.last();
    QCOMPARE(r.title, QString::fromUtf8("Uložit soubor..."));
    QCOMPARE(r.fileName, p.path("out.txt"));
    QCOMPARE(r.filterIndex, 2);
    QCOMPARE(Documents::of(p.form()).saveName(), p.path("out.txt"));
}

void DocumentsTest::saveAsIntoMissingFolder() {
    TestProgram p;
    p.form().editor(1)->setPlainText("x");
    p.form().patterns().message("previous");
    const QString target = p.path("no/such/folder/out.html");
    p.dialogs().fileAnswers << chosen(target);
    p.form().action("Uloitjako1")->trigger();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].text, QString("Cannot create file %1.").arg(target));
    QCOMPARE(p.message(), QString("previous"));
}

void DocumentsTest::openThenSaveKeepsEveryByte() {
    TestProgram p;
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            bytes.append(char(b));
        }
    }
    bytes += "\r\nsecond line\r\n";
    writeAll(p.path("all.bin"), bytes);
    p.dialogs().fileAnswers << chosen(p.path("all.bin")) << chosen(p.path("copy.bin"));
    p.form().action("Otevt1")->trigger();
    p.form().action("Uloitjako1")->trigger();
    QCOMPARE(readAll(p.path("copy.bin")), bytes);
}

void DocumentsTest::formatSettingIsFixed() {
    TestProgram p;
    QAction* item = p.form().action("FormtHTML1");
    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(p.message(), QString::fromUtf8("Nastavení je neměnné..."));
    QVERIFY(!p.form().action("FormtTXT1")->isEnabled());
    QVERIFY(!p.form().action("Formtrtf1")->isEnabled());
}

void DocumentsTest::staticMemoryPerPage() {
    TestProgram p;
    p.form().action("Page31")->trigger();
    p.form().editor(3)->setPlainText("page three");
    p.form().button("BitBtn4")->click();
    QCOMPARE(p.message(), QString::fromUtf8("Soubor uložen..."));
    QCOMPARE(QDir(p.dir()).entryList(QDir::Files), QStringList{"staticka_pamet3.txt"});
    // Loading on page 3 reads that file back, whatever page 1 holds.
    p.form().editor(1)->setPlainText("page one");
    p.form().editor(3)->clearAll();
    p.form().action("Nast1")->trigger();
    QCOMPARE(p.form().editor(3)->toPlainText(), QString("page three"));
    QCOMPARE(p.message(), QString::fromUtf8("Soubor načten..."));
    QCOMPARE(p.dialogs().shown.size(), 0);
}

void DocumentsTest::staticMemoryNeverStored() {
    TestProgram p;
    p.form().editor(1)->setLine(0, "mine");
    p.dialogs().answers << MsgButton::Ok;
    p.form().button("BitBtn3")->click();
    QCOMPARE(p.dialogs().shown.size(), 2);
    const ShownDialog& d = p.dialogs().shown[1];
    QCOMPARE(d.kind, ShownDialog::Error);
    QCOMPARE(d.operationMessage, QString::fromUtf8("Chyba při načítání..."));
    QCOMPARE(d.text, QString::fromUtf8("Nepodařilo se načíst soubor ! Pokud problémy přetrvají, "
                                       "kontaktujte autora aplikace !"));
    QCOMPARE(p.form().editor(1)->toPlainText(), QString("mine"));
}

void DocumentsTest::staticMemoryConfirmation() {
    TestProgram p;
    writeAll(p.path("staticka_pamet1.txt"), "parked");
    Editor* e = p.form().editor(1);
    QVERIFY(p.showAndActivate());
    e->setFocus();
    QTest::keyClick(e, Qt::Key_X);
    p.form().patterns().message("before");
    p.form().action("Nast1")->trigger(); // Cancel
    QCOMPARE(e->toPlainText(), QString("x"));
    QCOMPARE(p.message(), QString("before"));
    p.dialogs().answers << MsgButton::Ok;
    p.form().action("Nast1")->trigger();
    QCOMPARE(e->toPlainText(), QString("parked"));
}

void DocumentsTest::staticMemoryRichThenPlain() {
    TestProgram p;
    Editor* e = p.form().editor(1);
    e->setPlainText(QString::fromUtf8("rich ěšč"));
    p.form().action("Uloit1")->trigger();
    QVERIFY(readAll(p.path("staticka_pamet1.txt")).startsWith("{\\rtf"));
    e->clearAll();
    p.form().action("Nast1")->trigger();
    QCOMPARE(e->toPlainText(), QString::fromUtf8("rich ěšč"));
    // After a Save As the page writes plain text.
    p.form().action("Uloitjako1")->trigger(); // cancelled, but the switch is on
    p.form().action("Uloit1")->trigger();
    QCOMPARE(readAll(p.path("staticka_pamet1.txt")), QByteArray("rich \xec\x9a\xe8\r\n"));
}

void DocumentsTest::staticMemoryStoreFailure() {
    TestProgram p;
    QVERIFY(QDir(p.dir()).mkdir("staticka_pamet2.txt")); // a folder where the file should be
    p.form().action("Page21")->trigger();
    p.form().editor(2)->setPlainText("x");
    p.form().action("Uloit1")->trigger();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].operationMessage, QString::fromUtf8("Chyba při ukládání..."));
    QCOMPARE(p.dialogs().shown[0].text,
             QString::fromUtf8("Nepodařilo se uložit soubor ! Pokud problémy přetrvají, "
                               "kontaktujte autora aplikace !"));
}

void DocumentsTest::templatesFromMenuAndButton() {
    TestProgram p;
    const QDir data(QStringLiteral(ZELVAR_DATA_DIR));
    for (const QString& name : data.entryList({"*.txt"})) {
        QVERIFY(QFile::copy(data.filePath(name), p.path(name)));
    }
    p.form().action("ram_4")->trigger();
    const QString fromMenu = p.form().editor(1)->text();
    QCOMPARE(p.message(), QString::fromUtf8("Struktura načtena..."));
    QVERIFY(fromMenu.contains("FRAMESET"));
    QCOMPARE(fromMenu.toLatin1().size(), readAll(p.path("ramy_4.txt")).size());
    p.form().action("Page21")->trigger();
    p.form().button("SpeedButton65")->click();
    QCOMPARE(p.form().editor(2)->text(), fromMenu);
    // A template just loaded is no change: the next one asks nothing.
    p.form().button("SpeedButton64")->click();
    QCOMPARE(p.dialogs().shown.size(), 0);
    QVERIFY(p.form().editor(2)->text().contains("FRAMESET"));
    p.form().button("SpeedButton65")->click();
    // Page 2 is now changed: the structure asks first; Cancel keeps it.
    p.form().editor(2)->addLine(QStringLiteral("<!-- upraveno -->"));
    const QString changed = p.form().editor(2)->text();
    p.form().patterns().message("before");
    p.form().action("HTMLstruktura1")->trigger();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.form().editor(2)->text(), changed);
    QCOMPARE(p.message(), QString("before"));
    p.dialogs().answers << MsgButton::Ok;
    p.form().action("HTMLstruktura1")->trigger();
    QVERIFY(p.form().editor(2)->text().contains("<BODY"));
    // The modern one replaces it without a question and is UTF-8.
    p.form().action("HTML5struktura1")->trigger();
    QVERIFY(p.form().editor(2)->text().startsWith("<!DOCTYPE html>"));
    QCOMPARE(p.form().editor(2)->encoding(), TextEncoding::Utf8);
    QCOMPARE(p.dialogs().shown.size(), 2);
}

void DocumentsTest::missingTemplateReported() {
    TestProgram p;
    p.form().button("SpeedButton64")->click();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].operationMessage, QString::fromUtf8("Chyba při načítání..."));
    QCOMPARE(p.form().editor(1)->toPlainText(), QString());
}

QTEST_MAIN(DocumentsTest)
#include "tst_documents.moc"
