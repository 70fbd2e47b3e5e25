// The tag library: loading tagy.txt into the sorted list, inserting the
// selected tag at the caret, adding through the add-tag window, deleting,
// writing the file back and opening it through the shell; with real files in
// a temporary working folder and scripted dialogs.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/patterns.h"
#include "editing/editor.h"
#include "support/filebytes.h"
#include "support/testprogram.h"
#include "tools/taglibrary.h"

using namespace zelvar;
using zelvar::testing::ShownDialog;
using zelvar::testing::TestProgram;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

using zelvar::testing::readAll;
using zelvar::testing::writeAll;

QListWidget* list(TestProgram& p) {
    return p.form().findChild<QListWidget*>(QStringLiteral("ListBox1"));
}

QStringList shownEntries(TestProgram& p) {
    QStringList out;
    for (int i = 0; i < list(p)->count(); ++i) {
        out << list(p)->item(i)->text();
    }
    return out;
}

void click(TestProgram& p, const char* name) {
    QTest::mouseClick(p.form().button(name), Qt::LeftButton);
}

void selectEntry(TestProgram& p, const QString& text) {
    const QList<QListWidgetItem*> found = list(p)->findItems(text, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    list(p)->setCurrentItem(found.first());
    QCOMPARE(list(p)->selectedItems().size(), 1);
}

// Loads the library from the given file contents.
void loadLibrary(TestProgram& p, const QByteArray& bytes) {
    writeAll(p.path("tagy.txt"), bytes);
    click(p, "Button4");
    QCOMPARE(p.message(), u("Knihovna načtena..."));
}

// Replaces tagy.txt by a folder, so that the next write cannot create it.
void blockTagFile(TestProgram& p) {
    QVERIFY(QFile::remove(p.path("tagy.txt")));
    QVERIFY(QDir(p.dir()).mkdir(QStringLiteral("tagy.txt")));
}

// Clicks "Přidat" and runs `inside` while the add window is shown modally.
// The window is closed afterwards if `inside` left it open, so that a
// failing test never hangs. Returns whether the add window was shown.
bool withAddWindow(TestProgram& p, const std::function<void(QDialog&)>& inside) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window || window->objectName() != QLatin1String("TForm9")) {
            return;
        }
        shown = true;
        inside(*window);
        if (window->isVisible()) {
            window->reject();
        }
    });
    click(p, "Button2");
    return shown;
}

QLineEdit* edit1(QDialog& w) {
    return w.findChild<QLineEdit*>(QStringLiteral("Edit1"));
}

QAbstractButton* zapsat(QDialog& w) {
    return w.findChild<QAbstractButton*>(QStringLiteral("Button1"));
}

const QString kPrompt = QString::fromUtf8("Zde vložte nový tag...");
const QString kSelectFirst = QString::fromUtf8("Nejprve je nutné vybrat jednu z položek !");
const QString kEnterTag = QString::fromUtf8("Nejprve je nutné vložit tag !");

} // namespace

class TagLibraryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileEntries_data();
    void fileEntries();
    void fileBytesWindows1250();
    void sortedIgnoringCase();

    void missingFileKeepsButtonsDisabled();
    void emptyFileLoads();
    void loadSortsAndReplaces();
    void failedReloadKeepsList();

    void insertAtCaretOfShownPage();
    void insertWithoutSelection();
    void insertEmptyEntry();

    void deleteAnsweredNo();
    void deleteAnsweredYes();
    void deleteWriteFailure();

    void addWindowPromptAndNotices();
    void addWritesSortedFile();
    void addSameTextTwice();
    void addClosedByCloseBox();
    void addWriteFailure();
    void addLongTag();
    void addPastedLines();

    void openLibraryFile();
};

// --- The file ----------------------------------------------------------------

void TagLibraryTest::fileEntries_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("one line, final break") << QByteArray("a\r\n") << QStringList{"a"};
    QTest::newRow("one line, no break") << QByteArray("a") << QStringList{"a"};
    QTest::newRow("only a break") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("empty line inside") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("empty last line") << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("lone CR and LF")
        << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("ends at zero byte")
        << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << QStringList{"a", "b"};
    QTest::newRow("zero byte first") << QByteArray("\0a\r\n", 4) << QStringList();
    QTest::newRow("blanks kept") << QByteArray(" <B> \r\n\t\r\n") << QStringList{" <B> ", "\t"};
}

void TagLibraryTest::fileEntries() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QCOMPARE(tagEntriesFromBytes(bytes), entries);
}

void TagLibraryTest::fileBytesWindows1250() {
    QCOMPARE(tagFileBytes({}), QByteArray());
    QCOMPARE(tagFileBytes({""}), QByteArray("\r\n"));
    QCOMPARE(tagFileBytes({u("<P>čš"), "", "x"}), QByteArray("<P>\xe8\x9a\r\n\r\nx\r\n"));
    QCOMPARE(tagEntriesFromBytes("<P>\xe8\x9a\r\n\x9e\r\n"), (QStringList{u("<P>čš"), u("ž")}));
    // Every entry comes back as it was written, empty ones included.
    const QStringList entries{"", u("ěščřžýáíé"), "<A HREF=\"\">", "", "&nbsp;"};
    QCOMPARE(tagEntriesFromBytes(tagFileBytes(entries)), entries);
}

void TagLibraryTest::sortedIgnoringCase() {
    QVERIFY(tagLess("a", "B"));
    QVERIFY(!tagLess("B", "a"));
    QVERIFY(tagLess("B", "p"));
    QVERIFY(tagLess("", "a"));
    QVERIFY(tagLess("<a>", "<B>"));
    // Entries equal but for case still have an order, and never both ways.
    QVERIFY(tagLess("A", "a") != tagLess("a", "A"));
    QVERIFY(!tagLess("x", "x"));
}

// --- Load ----------------------------------------------------------------------

void TagLibraryTest::missingFileKeepsButtonsDisabled() {
    TestProgram p;
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        QVERIFY2(!p.form().button(name)->isEnabled(), name);
    }
    QVERIFY(p.form().button("Button4")->isEnabled());
    click(p, "Button4");
    QCOMPARE(p.dialogs().shown.size(), 1);
    const ShownDialog& d = p.dialogs().shown[0];
    QCOMPARE(d.kind, ShownDialog::Error);
    QCOMPARE(d.text, u("Nepodařilo se načíst knihovnu ! Pokud problémy přetrvají, kontaktujte "
                       "autora aplikace !"));
    QCOMPARE(d.operationMessage, u("Chyba při načítání..."));
    QCOMPARE(p.message(), u("Chyba při načítání..."));
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        QVERIFY2(!p.form().button(name)->isEnabled(), name);
    }
    // The disabled buttons do nothing, so nothing creates the file.
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        click(p, name);
    }
    QCOMPARE(p.dialogs().shown.size(), 1);
    QVERIFY(!QFile::exists(p.path("tagy.txt")));
}

void TagLibraryTest::emptyFileLoads() {
    TestProgram p;
    loadLibrary(p, QByteArray());
    QCOMPARE(list(p)->count(), 0);
    QVERIFY(p.dialogs().shown.isEmpty());
    for (const char* name : {"Button1", "Button2", "Button3", "Button4"}) {
        QVERIFY2(p.form().button(name)->isEnabled(), name);
    }
}

void TagLibraryTest::loadSortsAndReplaces() {
    TestProgram p;
    loadLibrary(p, "p\r\nB\ra\n\nq");
    QCOMPARE(shownEntries(p), (QStringList{"", "a", "B", "p", "q"}));
    // The file itself is only read.
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("p\r\nB\ra\n\nq"));
    // A second load replaces every entry.
    loadLibrary(p, "<Z>\r\n<y>\r\n");
    QCOMPARE(shownEntries(p), (QStringList{"<y>", "<Z>"}));
}

void TagLibraryTest::failedReloadKeepsList() {
    TestProgram p;
    loadLibrary(p, "b\r\na\r\n");
    selectEntry(p, "b");
    QVERIFY(QFile::remove(p.path("tagy.txt")));
    click(p, "Button4");
    QCOMPARE(p.message(), u("Chyba při načítání..."));
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(shownEntries(p), (QStringList{"a", "b"}));
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        QVERIFY2(p.form().button(name)->isEnabled(), name);
    }
    // A folder in the file's place fails the same way.
    QVERIFY(QDir(p.dir()).mkdir(QStringLiteral("tagy.txt")));
    click(p, "Button4");
    QCOMPARE(p.dialogs().shown.size(), 2);
    QCOMPARE(p.dialogs().shown[1].operationMessage, u("Chyba při načítání..."));
    QCOMPARE(shownEntries(p), (QStringList{"a", "b"}));
}

// --- Insert --------------------------------------------------------------------

void TagLibraryTest::insertAtCaretOfShownPage() {
    TestProgram p;
    loadLibrary(p, "<TAG>\r\n<B>\r\n");
    p.form().action("Page31")->trigger();
    Editor* e = p.form().editor(3);
    e->setPlainText("ab\ncd");
    e->setSelStart(5); // line 1, column 1
    selectEntry(p, "<TAG>");
    click(p, "Button1");
    QCOMPARE(e->line(0), QString("ab"));
    QCOMPARE(e->line(1), QString("c<TAG>d"));
    QCOMPARE(p.message(), u("Tag vložen..."));
    for (int slot : {1, 2, 4, 5}) {
        QCOMPARE(p.form().editor(slot)->toPlainText(), QString());
    }
    // The entry stays selected and goes in again, at the caret's new place.
    QCOMPARE(list(p)->selectedItems().size(), 1);
    click(p, "Button1");
    QCOMPARE(e->line(1), QString("c<TAG>d<TAG>"));
    QCOMPARE(e->lineCount(), 2);
    QVERIFY(p.dialogs().shown.isEmpty());
}

void TagLibraryTest::insertWithoutSelection() {
    TestProgram p;
    loadLibrary(p, "<TAG>\r\n");
    p.form().patterns().message("before");
    for (int slot = 1; slot <= 5; ++slot) {
        p.form()
            .action(qPrintable(QStringLiteral("Page%1").arg(slot) + QLatin1Char('1')))
            ->trigger();
        QCOMPARE(p.form().shownSlot(), slot);
        p.form().editor(slot)->setPlainText("keep");
        click(p, "Button1");
        QCOMPARE(p.dialogs().shown.size(), slot);
        QCOMPARE(p.dialogs().shown.last().kind, ShownDialog::Message);
        QCOMPARE(p.dialogs().shown.last().text, kSelectFirst);
        QCOMPARE(p.form().editor(slot)->toPlainText(), QString("keep"));
        QCOMPARE(p.message(), QString("before"));
    }
}

void TagLibraryTest::insertEmptyEntry() {
    TestProgram p;
    loadLibrary(p, "x\r\n\r\n");
    QCOMPARE(shownEntries(p), (QStringList{"", "x"}));
    Editor* e = p.form().editor(1);
    e->setPlainText("abc");
    e->setSelStart(1);
    list(p)->setCurrentRow(0);
    click(p, "Button1");
    QCOMPARE(e->toPlainText(), QString("abc"));
    QCOMPARE(p.message(), u("Tag vložen..."));
    QVERIFY(p.dialogs().shown.isEmpty());
}

// --- Delete --------------------------------------------------------------------

void TagLibraryTest::deleteAnsweredNo() {
    TestProgram p;
    loadLibrary(p, "p\r\nB\ra");
    selectEntry(p, "B");
    click(p, "Button3"); // Enter answers No
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].text, u("Opravdu si přejete smazat položku ?"));
    QCOMPARE(p.dialogs().shown[0].buttons, MsgButtons::YesNo);
    QCOMPARE(shownEntries(p), (QStringList{"a", "B", "p"}));
    // Written again in the shown order, every line ended by CR LF.
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("a\r\nB\r\np\r\n"));
    QCOMPARE(p.message(), u("Knihovna změněna..."));
}

void TagLibraryTest::deleteAnsweredYes() {
    TestProgram p;
    loadLibrary(p, "p\r\nB\r\na\r\n");
    // "a" is the last line of the file but the first entry of the list.
    list(p)->setCurrentRow(0);
    p.dialogs().answers << MsgButton::Yes;
    click(p, "Button3");
    QCOMPARE(shownEntries(p), (QStringList{"B", "p"}));
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("B\r\np\r\n"));
    QCOMPARE(p.message(), u("Knihovna změněna..."));
    QVERIFY(list(p)->selectedItems().isEmpty());
    // A second delete has nothing selected: a notice, and nothing is written.
    writeAll(p.path("tagy.txt"), "untouched");
    p.dialogs().answers << MsgButton::Yes;
    click(p, "Button3");
    QCOMPARE(p.dialogs().shown.size(), 2);
    QCOMPARE(p.dialogs().shown[1].text, kSelectFirst);
    QCOMPARE(p.dialogs().shown[1].buttons, MsgButtons::Ok);
    QCOMPARE(shownEntries(p), (QStringList{"B", "p"}));
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("untouched"));
}

void TagLibraryTest::deleteWriteFailure() {
    TestProgram p;
    loadLibrary(p, "a\r\nb\r\n");
    blockTagFile(p);
    selectEntry(p, "a");
    p.dialogs().answers << MsgButton::Yes;
    click(p, "Button3");
    QCOMPARE(p.dialogs().shown.size(), 2);
    const ShownDialog& error = p.dialogs().shown[1];
    QCOMPARE(error.kind, ShownDialog::Error);
    QCOMPARE(error.text, u("Nepodařilo se uložit soubor ! Pokud problémy přetrvají, kontaktujte "
                           "autora aplikace !"));
    QCOMPARE(error.operationMessage, u("Chyba při ukládání..."));
    QCOMPARE(p.message(), u("Chyba při ukládání..."));
    // The list keeps the deletion.
    QCOMPARE(shownEntries(p), QStringList{"b"});
}

// --- Add -----------------------------------------------------------------------

void TagLibraryTest::addWindowPromptAndNotices() {
    TestProgram p;
    loadLibrary(p, "x\r\n");
    QString prompt;
    bool openAfterPrompt = false;
    QString afterClick;
    bool openAfterClick = false;
    QString afterTypedAndClicked;
    bool openAfterTypedAndClicked = false;
    const bool shown = withAddWindow(p, [&](QDialog& w) {
        QCOMPARE(w.windowTitle(), u(".: Další tagy :."));
        QVERIFY(w.isModal());
        QCOMPARE(zapsat(w)->text(), u("&Zapsat"));
        QCOMPARE(zapsat(w)->toolTip(), u("Zapsat tag do knihovny..."));
        prompt = edit1(w)->text();
        QTest::mouseClick(zapsat(w), Qt::LeftButton); // prompt untouched
        openAfterPrompt = w.isVisible();
        QTest::mouseClick(edit1(w), Qt::LeftButton); // empties the field
        afterClick = edit1(w)->text();
        QTest::mouseClick(zapsat(w), Qt::LeftButton); // nothing typed
        openAfterClick = w.isVisible();
        QTest::keyClicks(edit1(w), "<EM>");
        QTest::mouseClick(edit1(w), Qt::LeftButton); // discards the typing
        afterTypedAndClicked = edit1(w)->text();
        QTest::mouseClick(zapsat(w), Qt::LeftButton);
        openAfterTypedAndClicked = w.isVisible();
    });
    QVERIFY(shown);
    QCOMPARE(prompt, kPrompt);
    QVERIFY(openAfterPrompt);
    QCOMPARE(afterClick, QString());
    QVERIFY(openAfterClick);
    QCOMPARE(afterTypedAndClicked, QString());
    QVERIFY(openAfterTypedAndClicked);
    QCOMPARE(p.dialogs().shown.size(), 3);
    for (const ShownDialog& d : p.dialogs().shown) {
        QCOMPARE(d.text, kEnterTag);
    }
    QCOMPARE(shownEntries(p), QStringList{"x"});
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("x\r\n"));
    QCOMPARE(p.message(), u("Přidání tagu..."));
}

void TagLibraryTest::addWritesSortedFile() {
    TestProgram p;
    loadLibrary(p, "p\r\nB\r\na\r\n");
    bool closed = false;
    QString messageWhileOpen;
    QVERIFY(withAddWindow(p, [&](QDialog& w) {
        // The prompt is selected: the first key typed replaces it.
        QTest::keyClicks(edit1(w), "<");
        edit1(w)->insert(u("čára> ")); // as a paste would
        QTest::mouseClick(zapsat(w), Qt::LeftButton);
        closed = !w.isVisible();
        messageWhileOpen = p.message();
    }));
    QVERIFY(closed);
    QCOMPARE(messageWhileOpen, u("Knihovna změněna..."));
    QCOMPARE(shownEntries(p), (QStringList{u("<čára> "), "a", "B", "p"}));
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("<\xe8\xe1ra> \r\na\r\nB\r\np\r\n"));
    QVERIFY(p.dialogs().shown.isEmpty());
    // The message after the window has closed is the add command's own.
    QCOMPARE(p.message(), u("Přidání tagu..."));
}

void TagLibraryTest::addSameTextTwice() {
    TestProgram p;
    loadLibrary(p, QByteArray());
    QString secondPrompt;
    for (int i = 0; i < 2; ++i) {
        QVERIFY(withAddWindow(p, [&](QDialog& w) {
            secondPrompt = edit1(w)->text(); // shown again: the prompt is back
            QTest::mouseClick(edit1(w), Qt::LeftButton);
            QTest::keyClicks(edit1(w), "<HR>");
            QTest::mouseClick(zapsat(w), Qt::LeftButton);
        }));
    }
    QCOMPARE(secondPrompt, kPrompt);
    QCOMPARE(shownEntries(p), (QStringList{"<HR>", "<HR>"}));
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("<HR>\r\n<HR>\r\n"));
}

void TagLibraryTest::addClosedByCloseBox() {
    TestProgram p;
    loadLibrary(p, "a\r\n");
    writeAll(p.path("tagy.txt"), "untouched");
    QVERIFY(withAddWindow(p, [&](QDialog& w) {
        QTest::keyClicks(edit1(w), "<typed>");
        w.close(); // the close box
    }));
    QCOMPARE(shownEntries(p), QStringList{"a"});
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("untouched"));
    QCOMPARE(p.message(), u("Přidání tagu..."));
}

void TagLibraryTest::addWriteFailure() {
    TestProgram p;
    loadLibrary(p, "a\r\n");
    blockTagFile(p);
    bool closed = false;
    QVERIFY(withAddWindow(p, [&](QDialog& w) {
        QTest::mouseClick(edit1(w), Qt::LeftButton);
        QTest::keyClicks(edit1(w), "b");
        QTest::mouseClick(zapsat(w), Qt::LeftButton);
        closed = !w.isVisible();
    }));
    QVERIFY(closed);
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].kind, ShownDialog::Error);
    QCOMPARE(p.dialogs().shown[0].text, u("Nepodařilo se uložit soubor ! Pokud problémy "
                                          "přetrvají, kontaktujte autora aplikace !"));
    QCOMPARE(p.dialogs().shown[0].operationMessage, u("Chyba při ukládání..."));
    QCOMPARE(shownEntries(p), (QStringList{"a", "b"}));
    QCOMPARE(p.message(), u("Přidání tagu..."));
}

void TagLibraryTest::addLongTag() {
    TestProgram p;
    loadLibrary(p, QByteArray());
    const QString tag = QStringLiteral("<P>") + QString(40000, QLatin1Char('x'));
    QVERIFY(withAddWindow(p, [&](QDialog& w) {
        QTest::mouseClick(edit1(w), Qt::LeftButton);
        edit1(w)->insert(tag); // as a paste would
        QTest::mouseClick(zapsat(w), Qt::LeftButton);
    }));
    QCOMPARE(shownEntries(p), QStringList{tag});
    QCOMPARE(readAll(p.path("tagy.txt")), tag.toLatin1() + "\r\n");
}

void TagLibraryTest::addPastedLines() {
    TestProgram p;
    loadLibrary(p, "z\r\n");
    QVERIFY(withAddWindow(p, [&](QDialog& w) {
        QTest::mouseClick(edit1(w), Qt::LeftButton);
        edit1(w)->insert(QStringLiteral(" <TD>\r\n</TD>\nmore")); // as a paste would
        QTest::mouseClick(zapsat(w), Qt::LeftButton);
    }));
    // One entry, the same in the list and in the file.
    QCOMPARE(shownEntries(p), (QStringList{" <TD>", "z"}));
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray(" <TD>\r\nz\r\n"));
    click(p, "Button4");
    QCOMPARE(shownEntries(p), (QStringList{" <TD>", "z"}));
}

// --- The library file through the shell ----------------------------------------

void TagLibraryTest::openLibraryFile() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    p.form().editor(1)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
    QCOMPARE(p.shell().files, QStringList{QDir(p.dir()).absoluteFilePath("tagy.txt")});
    QCOMPARE(p.message(), u("Soubor vygenerován..."));
    QVERIFY(!QFile::exists(p.path("tagy.txt")));
    QVERIFY(p.form().editor(1)->toPlainText().isEmpty());
    // The menu item runs the same command, also with a library loaded.
    loadLibrary(p, "a\r\n");
    p.form().action("gfh1")->trigger();
    QCOMPARE(p.shell().files.size(), 2);
    QCOMPARE(p.message(), u("Soubor vygenerován..."));
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("a\r\n"));
    QCOMPARE(shownEntries(p), QStringList{"a"});
}

QTEST_MAIN(TagLibraryTest)
#include "tst_taglibrary.moc"
