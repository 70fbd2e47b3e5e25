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
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <functional>

#include "editor/editor.h"
#include "ground/patterns.h"
#include "support/filebytes.h"
#include "support/literals.h"
#include "support/testprogram.h"
#include "tools/taglibrary.h"

using namespace zelvar;
using zelvar::testing::ShownDialog;
using zelvar::testing::TestProgram;
using zelvar::testing::u;

namespace {

using zelvar::testing::readAll;
using zelvar::testing::writeAll;

QListView* list(TestProgram& p) {
    return p.form().findChild<QListView*>(QStringLiteral("ListBox1"));
}

// The entries of the list, whole, in the order it shows them.
QStringList shownEntries(TestProgram& p, int role = Qt::EditRole) {
    QStringList out;
    const QAbstractItemModel* model = list(p)->model();
    for (int i = 0; i < model->rowCount(); ++i) {
        out << model->index(i, 0).data(role).toString();
    }
    return out;
}

int selectedCount(TestProgram& p) {
    return int(list(p)->selectionModel()->selectedIndexes().size());
}

void selectRow(TestProgram& p, int row) {
    list(p)->setCurrentIndex(list(p)->model()->index(row, 0));
}

void click(TestProgram& p, const char* name) {
    QTest::mouseClick(p.form().button(name), Qt::LeftButton);
}

void selectEntry(TestProgram& p, const QString& text) {
    const int row = int(shownEntries(p).indexOf(text));
    QVERIFY(row >= 0);
    selectRow(p, row);
    QCOMPARE(selectedCount(p), 1);
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
    void fileBytes_data();
    void fileBytes();
    void fileBytesWindows1250();
    void czechOrder_data();
    void czechOrder();
    void sortAgreesWithOrder();

    void missingFileKeepsButtonsDisabled();
    void starterFilesLoad();
    void loadSortsAndReplaces();
    void failedReloadKeepsList();

    void insertAtCaretOfShownPage();
    void insertWithoutSelection();

    void deleteAnsweredNoThenYes();
    void deleteWriteFailure();

    void addWindowPromptAndNotices();
    void addWritesSortedFile();

    void rewriteFile_data();
    void rewriteFile();
    void refusedFiles_data();
    void refusedFiles();
    void longEntriesShownCut();

    void openLibraryFile();
};

// --- The file ----------------------------------------------------------------

Q_DECLARE_METATYPE(zelvar::TagEncoding)

void TagLibraryTest::fileEntries_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<TagEncoding>("encoding");
    const auto cp = TagEncoding::Windows1250;
    const auto no = TagEncoding::NotText;
    QTest::newRow("empty") << QByteArray() << QStringList() << cp;
    QTest::newRow("one line, final break") << QByteArray("a\r\n") << QStringList{"a"} << cp;
    QTest::newRow("one line, no break") << QByteArray("a") << QStringList{"a"} << cp;
    QTest::newRow("only a break") << QByteArray("\r\n") << QStringList{""} << cp;
    QTest::newRow("empty line inside")
        << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"} << cp;
    QTest::newRow("empty last line") << QByteArray("a\r\n\r\n") << QStringList{"a", ""} << cp;
    QTest::newRow("lone CR and LF")
        << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"} << cp;
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << cp;
    QTest::newRow("zero byte ends an entry")
        << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << QStringList{"a", "b", "c", "d"} << cp;
    QTest::newRow("zero byte first") << QByteArray("\0a\r\n", 4) << QStringList{"", "a"} << cp;
    QTest::newRow("short entries between zero bytes")
        << QByteArray("<B>\0<I>\0<P>\0<U>\0", 16) << QStringList{"<B>", "<I>", "<P>", "<U>"} << cp;
    QTest::newRow("blanks kept") << QByteArray(" <B> \r\n\t\r\n") << QStringList{" <B> ", "\t"}
                                 << cp;
    QTest::newRow("end-of-file mark and form feed")
        << QByteArray("a\x1a\x0c") << QStringList{"a\x1a\x0c"} << cp;
    QTest::newRow("Windows-1250") << QByteArray("<P>\xe8\x9a\r\n\x9e\r\n")
                                  << QStringList{u("<P>čš"), u("ž")} << cp;
    QTest::newRow("UTF-8") << QByteArray("<b>\xc4\x8d</b>\r\nx") << QStringList{u("<b>č</b>"), "x"}
                           << TagEncoding::Utf8;
    QTest::newRow("UTF-8 with its mark")
        << QByteArray("\xef\xbb\xbfx\r\n") << QStringList{"x"} << TagEncoding::Utf8Bom;
    QTest::newRow("UTF-16LE") << QByteArray::fromHex("fffe61000d000a000d0100006200")
                              << QStringList{"a", u("č"), "b"} << TagEncoding::Utf16LE;
    QTest::newRow("UTF-16BE") << QByteArray("\xfe\xff\0a\0\n\x01\x0d", 8)
                              << QStringList{"a", u("č")} << TagEncoding::Utf16BE;
    QTest::newRow("control byte") << QByteArray("<a>\x01</a>") << QStringList() << no;
    QTest::newRow("two zero bytes") << QByteArray("a\r\n\0\0b", 6) << QStringList() << no;
    QTest::newRow("UTF-16 without its mark")
        << QByteArray("a\0b\0\r\0\n\0", 8) << QStringList() << no;
    QTest::newRow("UTF-16 of odd length")
        << QByteArray::fromHex("fffe610062") << QStringList() << no;
    QTest::newRow("UTF-16 with a control character")
        << QByteArray::fromHex("fffe61000200") << QStringList() << no;
    QTest::newRow("picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QStringList()
                             << no;
}

void TagLibraryTest::fileEntries() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QFETCH(TagEncoding, encoding);
    const TagFileText file = decodeTagFile(bytes);
    QCOMPARE(file.entries, entries);
    QCOMPARE(int(file.encoding), int(encoding));
}

void TagLibraryTest::fileBytes_data() {
    QTest::addColumn<TagEncoding>("encoding");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("Windows-1250") << TagEncoding::Windows1250 << QByteArray("\r\n\xec\x9a");
    QTest::newRow("UTF-8") << TagEncoding::Utf8 << QByteArray("\r\n\xc4\x9b");
    QTest::newRow("UTF-8 with its mark") << TagEncoding::Utf8Bom << QByteArray("\xef\xbb\xbf\r\n");
    QTest::newRow("UTF-16LE") << TagEncoding::Utf16LE << QByteArray("\xff\xfe\r\0\n\0", 6);
    QTest::newRow("UTF-16BE") << TagEncoding::Utf16BE << QByteArray("\xfe\xff\0\r\0\n", 6);
}

void TagLibraryTest::fileBytes() {
    QFETCH(TagEncoding, encoding);
    QFETCH(QByteArray, start);
    // Every entry comes back as it was written, in the encoding it was
    // written in, empty ones included.
    const QStringList entries{"", u("ěščřžýáíé"), "<A HREF=\"\">", "", "&nbsp;"};
    const QByteArray bytes = encodeTagFile(entries, encoding);
    QVERIFY2(bytes.startsWith(start), bytes.left(8).toHex().constData());
    const TagFileText back = decodeTagFile(bytes);
    QCOMPARE(back.entries, entries);
    QCOMPARE(int(back.encoding), int(encoding));
}

void TagLibraryTest::fileBytesWindows1250() {
    QCOMPARE(encodeTagFile({}, TagEncoding::Windows1250), QByteArray());
    QCOMPARE(encodeTagFile({""}, TagEncoding::Windows1250), QByteArray("\r\n"));
    QCOMPARE(encodeTagFile({u("<P>čš"), "", "x"}, TagEncoding::Windows1250),
             QByteArray("<P>\xe8\x9a\r\n\r\nx\r\n"));
    // What the code page cannot hold is kept as a character reference.
    QCOMPARE(encodeTagFile({u("€😀")}, TagEncoding::Windows1250), QByteArray("\x80&#128512;\r\n"));
    // The other encodings hold it as it is.
    QCOMPARE(decodeTagFile(encodeTagFile({u("€😀")}, TagEncoding::Utf16BE)).entries,
             QStringList{u("€😀")});
}

void TagLibraryTest::czechOrder_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("a B") << u("a") << u("B");
    QTest::newRow("B p") << u("B") << u("p");
    QTest::newRow("empty first") << u("") << u("a");
    QTest::newRow("in tags") << u("<a>") << u("<B>");
    QTest::newRow("ch after h") << u("hz") << u("ch");
    QTest::newRow("ch before i") << u("Ch") << u("ia");
    QTest::newRow("č after c") << "cz" << u("čas");
    QTest::newRow("č before d") << u("Čas") << "da";
    QTest::newRow("ř after r") << "rz" << u("řada");
    QTest::newRow("ž after z") << "zz" << u("žába");
    QTest::newRow("á in its place") << u("áz") << "b";
    QTest::newRow("accent weighs after letters") << u("áa") << "ab";
    QTest::newRow("accent weighs after nothing") << "a" << u("á");
    QTest::newRow("case only: a fixed order") << u("A") << u("a");
    QTest::newRow("long entries by their rest")
        << QString(1200, QLatin1Char('a')) + "B" << QString(1200, QLatin1Char('a')) + "c";
}

void TagLibraryTest::czechOrder() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    const TagOrder order;
    QVERIFY(order(first, second));
    QVERIFY(!order(second, first));
    QVERIFY(!order(first, first));
    QStringList both{second, first};
    order.sort(both);
    QCOMPARE(both, (QStringList{first, second}));
}

void TagLibraryTest::sortAgreesWithOrder() {
    // Sorting by sort keys gives the order of the one-by-one comparison that
    // puts an added entry in its place.
    const QString letters = u("aAáchCHcčČdhHiIrřŘsšzžZ <>/");
    QRandomGenerator random(1250);
    QStringList entries;
    for (int i = 0; i < 400; ++i) {
        QString entry;
        for (int n = random.bounded(5); n > 0; --n) {
            entry += letters.at(random.bounded(int(letters.size())));
        }
        // Some long entries that agree in their first thousand characters.
        entries << (i % 20 == 0 ? QString(1000, QLatin1Char('x')) + entry : entry);
    }
    const TagOrder order;
    order.sort(entries);
    QCOMPARE(entries.size(), 400);
    for (qsizetype i = 1; i < entries.size(); ++i) {
        QVERIFY2(!order(entries.at(i), entries.at(i - 1)), qPrintable(entries.at(i)));
    }
}

// --- Load ----------------------------------------------------------------------

void TagLibraryTest::missingFileKeepsButtonsDisabled() {
    TestProgram p;
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
    QVERIFY(!QFile::exists(p.path("tagy.txt")));
}

// A new user's tag library loads at once and is what the program would write;
// the empty notes load too.
void TagLibraryTest::starterFilesLoad() {
    TestProgram p;
    const QByteArray starter = readAll(QStringLiteral(ZELVAR_DATA_DIR "/tagy.txt"));
    loadLibrary(p, starter);
    QCOMPARE(encodeTagFile(shownEntries(p), TagEncoding::Windows1250), starter);
    QVERIFY(QFile::copy(QStringLiteral(ZELVAR_DATA_DIR "/poznamky.txt"), p.path("poznamky.txt")));
    click(p, "SpeedButton33");
    QCOMPARE(p.message(), u("Poznámky načteny..."));
}

void TagLibraryTest::loadSortsAndReplaces() {
    TestProgram p;
    loadLibrary(p, QByteArray());
    QCOMPARE(list(p)->model()->rowCount(), 0);
    QVERIFY(p.dialogs().shown.isEmpty());
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        QVERIFY2(p.form().button(name)->isEnabled(), name);
    }
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
    QVERIFY(p.showAndActivate());
    loadLibrary(p, "<TAG>\r\n<B>\r\n\r\n");
    p.form().action("Page31")->trigger();
    Editor* e = p.form().editor(3);
    e->setPlainText("ab\ncd");
    e->setSelStart(5); // line 1, column 1
    selectEntry(p, "<TAG>");
    click(p, "Button1");
    // The next keys go into the page, not into the list.
    QTRY_VERIFY(e->hasFocus());
    QCOMPARE(e->line(0), QString("ab"));
    QCOMPARE(e->line(1), QString("c<TAG>d"));
    QCOMPARE(p.message(), u("Tag vložen..."));
    for (int slot : {1, 2, 4, 5}) {
        QCOMPARE(p.form().editor(slot)->toPlainText(), QString());
    }
    // The entry stays selected and goes in again, at the caret's new place.
    QCOMPARE(selectedCount(p), 1);
    click(p, "Button1");
    QCOMPARE(e->line(1), QString("c<TAG>d<TAG>"));
    QCOMPARE(e->lineCount(), 2);
    // The empty entry inserts nothing, and says it did.
    p.form().patterns().message("before");
    selectRow(p, 0);
    click(p, "Button1");
    QCOMPARE(e->text(), QString("ab\r\nc<TAG>d<TAG>\r\n"));
    QCOMPARE(p.message(), u("Tag vložen..."));
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

// --- Delete --------------------------------------------------------------------

void TagLibraryTest::deleteAnsweredNoThenYes() {
    TestProgram p;
    loadLibrary(p, "p\r\nB\ra");
    p.form().patterns().message("before");
    selectEntry(p, "B");
    click(p, "Button3"); // Enter answers No
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].text, u("Opravdu si přejete smazat položku ?"));
    QCOMPARE(p.dialogs().shown[0].buttons, MsgButtons::YesNo);
    QCOMPARE(shownEntries(p), (QStringList{"a", "B", "p"}));
    QCOMPARE(selectedCount(p), 1);
    // Nothing changed, so nothing is written.
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("p\r\nB\ra"));
    QCOMPARE(p.message(), QString("before"));
    // "a" is the last line of the file but the first entry of the list.
    p.dialogs().shown.clear();
    selectRow(p, 0);
    p.dialogs().answers << MsgButton::Yes;
    click(p, "Button3");
    QCOMPARE(shownEntries(p), (QStringList{"B", "p"}));
    QCOMPARE(readAll(p.path("tagy.txt")), QByteArray("B\r\np\r\n"));
    QCOMPARE(p.message(), u("Knihovna změněna..."));
    QCOMPARE(selectedCount(p), 0);
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
    QVERIFY(withAddWindow(p, [&](QDialog& w) {
        QCOMPARE(w.windowTitle(), u(".: Další tagy :."));
        QVERIFY(w.isModal());
        QCOMPARE(zapsat(w)->text(), u("&Zapsat"));
        QCOMPARE(zapsat(w)->toolTip(), u("Zapsat tag do knihovny..."));
        QCOMPARE(edit1(w)->text(), kPrompt);
        QTest::mouseClick(zapsat(w), Qt::LeftButton); // prompt untouched
        QVERIFY(w.isVisible());
        QTest::mouseClick(edit1(w), Qt::LeftButton); // empties the field
        QCOMPARE(edit1(w)->text(), QString());
        QTest::mouseClick(zapsat(w), Qt::LeftButton); // nothing typed
        QVERIFY(w.isVisible());
        QTest::keyClicks(edit1(w), "<EM>");
        QTest::mouseClick(edit1(w), Qt::LeftButton); // discards the typing
        QCOMPARE(edit1(w)->text(), QString());
        QTest::mouseClick(zapsat(w), Qt::LeftButton);
        QVERIFY(w.isVisible());
        QTest::keyClicks(edit1(w), "<typed>");
        w.close(); // the close box writes nothing
    }));
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
    // The same text twice: the window comes back with its prompt, and the
    // library holds the entry twice.
    for (int i = 0; i < 2; ++i) {
        bool closed = false;
        QString messageWhileOpen;
        QVERIFY(withAddWindow(p, [&](QDialog& w) {
            QCOMPARE(edit1(w)->text(), kPrompt);
            // The prompt is selected: the first key typed replaces it.
            QTest::keyClicks(edit1(w), "<");
            edit1(w)->insert(u("čára> ")); // as a paste would
            QTest::mouseClick(zapsat(w), Qt::LeftButton);
            closed = !w.isVisible();
            messageWhileOpen = p.message();
        }));
        QVERIFY(closed);
        QCOMPARE(messageWhileOpen, u("Knihovna změněna..."));
        // The message after the window has closed is the add command's own.
        QCOMPARE(p.message(), u("Přidání tagu..."));
    }
    QCOMPARE(shownEntries(p), (QStringList{u("<čára> "), u("<čára> "), "a", "B", "p"}));
    QCOMPARE(readAll(p.path("tagy.txt")),
             QByteArray("<\xe8\xe1ra> \r\n<\xe8\xe1ra> \r\na\r\nB\r\np\r\n"));
    QVERIFY(p.dialogs().shown.isEmpty());
}

// --- Rewrites that keep what is on disk ---------------------------------------

void TagLibraryTest::rewriteFile_data() {
    QTest::addColumn<QByteArray>("loaded");
    QTest::addColumn<QByteArray>("edited"); // null: not edited after the load
    QTest::addColumn<QString>("added");     // null: "b" is deleted instead
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("error");
    const QString none;
    const QByteArray unedited;
    const QString notText = u("Soubor tagy.txt neobsahuje čitelný text (binární data nebo neznámé "
                              "kódování) ! Program jej nenačte ani nepřepíše !");
    QTest::newRow("add") << QByteArray("b\r\na") << unedited << "<x>"
                         << QByteArray("<x>\r\na\r\nb\r\n") << QStringList{"<x>", "a", "b"} << none;
    const QString longTag = QStringLiteral("<P>") + QString(40000, QLatin1Char('x'));
    QTest::newRow("add a long tag")
        << QByteArray("b\r\n") << unedited << longTag << longTag.toLatin1() + "\r\nb\r\n"
        << QStringList{longTag, "b"} << none;
    QTest::newRow("add pasted lines: the first")
        << QByteArray("b\r\n") << unedited << " <TD>\r\n</TD>\nmore" << QByteArray(" <TD>\r\nb\r\n")
        << QStringList{" <TD>", "b"} << none;
    QTest::newRow("add a pasted control character")
        << QByteArray("b\r\n") << unedited << "<a>\x07\t\x1b</a>"
        << QByteArray("<a>\t</a>\r\nb\r\n") << QStringList{"<a>\t</a>", "b"} << none;
    QTest::newRow("add after an edit elsewhere")
        << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\nnew\r\n") << "<x>"
        << QByteArray("<x>\r\na\r\nb\r\nnew\r\n") << QStringList{"<x>", "a", "b", "new"} << none;
    QTest::newRow("delete after an edit elsewhere")
        << QByteArray("a\r\nb\r\n") << QByteArray("new\r\nb\r\n") << none << QByteArray("new\r\n")
        << QStringList{"new"} << none;
    QTest::newRow("delete what the edit removed")
        << QByteArray("a\r\nb\r\n") << QByteArray("new\r\na") << none << QByteArray("new\r\na")
        << QStringList{"a", "new"}
        << u("Tag v souboru tagy.txt již není, odstranil jej jiný program. Seznam nyní ukazuje "
             "obsah souboru !");
    QTest::newRow("file removed meanwhile")
        << QByteArray("a\r\nb\r\n") << QByteArray() << "c" << QByteArray("a\r\nb\r\nc\r\n")
        << (QStringList{"a", "b", "c"}) << none;
    QTest::newRow("UTF-16 stays UTF-16")
        << QByteArray::fromHex("fffe62000a00") << unedited << u("ž")
        << QByteArray::fromHex("fffe62000d000a007e010d000a00") << QStringList{"b", u("ž")} << none;
    QTest::newRow("edited into UTF-8 with its mark")
        << QByteArray("a\r\nb\r\n")
        << QByteArray("\xef\xbb\xbf"
                      "b\r\n\xc5\xbe\r\n")
        << none << QByteArray("\xef\xbb\xbf\xc5\xbe\r\n") << QStringList{u("ž")} << none;
    const QByteArray elf = QByteArray::fromHex("7f454c46020101000000");
    QTest::newRow("edited into binary")
        << QByteArray("a\r\nb\r\n") << elf << "c" << elf << QStringList{"a", "b", "c"} << notText;
}

void TagLibraryTest::rewriteFile() {
    QFETCH(QByteArray, loaded);
    QFETCH(QByteArray, edited);
    QFETCH(QString, added);
    QFETCH(QByteArray, written);
    QFETCH(QStringList, shown);
    QFETCH(QString, error);
    TestProgram p;
    loadLibrary(p, loaded);
    selectEntry(p, "b");
    if (!edited.isNull()) {
        // Another program (F8) changes the file while the list is shown.
        if (edited.isEmpty()) {
            QVERIFY(QFile::remove(p.path("tagy.txt")));
        } else {
            writeAll(p.path("tagy.txt"), edited);
        }
    }
    if (added.isNull()) {
        p.dialogs().answers << MsgButton::Yes;
        click(p, "Button3");
    } else {
        QVERIFY(withAddWindow(p, [&](QDialog& w) {
            QTest::mouseClick(edit1(w), Qt::LeftButton);
            edit1(w)->insert(added); // as a paste would
            QTest::mouseClick(zapsat(w), Qt::LeftButton);
        }));
    }
    QCOMPARE(readAll(p.path("tagy.txt")), written);
    QCOMPARE(shownEntries(p), shown);
    const QList<ShownDialog> errors = p.dialogs().shown.mid(added.isNull() ? 1 : 0);
    QCOMPARE(errors.isEmpty() ? QString() : errors.first().text, error);
    if (!error.isEmpty() && errors.first().kind == ShownDialog::Error) {
        QCOMPARE(errors.first().operationMessage, u("Chyba při ukládání..."));
    }
}

// --- Files that are refused ------------------------------------------------------

void TagLibraryTest::refusedFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("loadError");
    QTest::addColumn<QString>("writeError");
    const QString notText = u("Soubor tagy.txt neobsahuje čitelný text (binární data nebo neznámé "
                              "kódování) ! Program jej nenačte ani nepřepíše !");
    const QString cannotLoad = u("Nepodařilo se načíst knihovnu ! Pokud problémy přetrvají, "
                                 "kontaktujte autora aplikace !");
    const QString cannotSave = u("Nepodařilo se uložit soubor ! Pokud problémy přetrvají, "
                                 "kontaktujte autora aplikace !");
    QByteArray garbage(50 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(12);
    random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    QTest::newRow("50 MB of binary") << "file" << garbage << notText << notText;
    QTest::newRow("UTF-16 without its mark")
        << "file" << QByteArray("<\0b\0>\0\r\0\n\0", 10) << notText << notText;
    QTest::newRow("pipe") << "fifo" << QByteArray() << cannotLoad << cannotSave;
    QTest::newRow("folder") << "folder" << QByteArray() << cannotLoad << cannotSave;
}

void TagLibraryTest::refusedFiles() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, loadError);
    QFETCH(QString, writeError);
    TestProgram p;
    const QString path = p.path("tagy.txt");
    const auto putInPlace = [&] {
        if (kind == "file") {
            writeAll(path, bytes);
        } else if (kind == "folder") {
            QVERIFY(QDir(p.dir()).mkdir("tagy.txt"));
        } else {
            QCOMPARE(QProcess::execute("mkfifo", {path}), 0);
        }
    };
    const auto stillInPlace = [&] {
        const QFileInfo info(path);
        if (kind == "file") {
            QVERIFY(readAll(path) == bytes);
        } else if (kind == "folder") {
            QVERIFY(info.isDir());
        } else {
            QVERIFY(info.exists() && !info.isFile() && !info.isDir());
        }
    };
    // Loaded at start: refused at once, and the buttons stay disabled.
    putInPlace();
    click(p, "Button4");
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].kind, ShownDialog::Error);
    QCOMPARE(p.dialogs().shown[0].text, loadError);
    QCOMPARE(p.message(), u("Chyba při načítání..."));
    QVERIFY(!p.form().button("Button2")->isEnabled());
    stillInPlace();
    // Put in place of a loaded library: the add is refused and nothing is
    // written over it.
    QVERIFY(QDir(path).exists() ? QDir(path).removeRecursively() : QFile::remove(path));
    loadLibrary(p, "a\r\n");
    QVERIFY(QFile::remove(path));
    putInPlace();
    QVERIFY(withAddWindow(p, [&](QDialog& w) {
        QTest::keyClicks(edit1(w), "<b>");
        QTest::mouseClick(zapsat(w), Qt::LeftButton);
    }));
    QCOMPARE(p.dialogs().shown.size(), 2);
    QCOMPARE(p.dialogs().shown[1].text, writeError);
    QCOMPARE(p.dialogs().shown[1].operationMessage, u("Chyba při ukládání..."));
    QCOMPARE(shownEntries(p), (QStringList{"<b>", "a"}));
    stillInPlace();
}

void TagLibraryTest::longEntriesShownCut() {
    TestProgram p;
    const QString longEntry = "<p>" + QString(100000, QLatin1Char('x'));
    loadLibrary(p, "z\r\n" + longEntry.toLatin1() + "\r\n");
    QCOMPARE(shownEntries(p), (QStringList{longEntry, "z"}));
    const QStringList shown = shownEntries(p, Qt::DisplayRole);
    QCOMPARE(shown.at(0), longEntry.left(256) + QChar(0x2026));
    QCOMPARE(shown.at(1), QString("z"));
    // The entry goes in whole.
    selectRow(p, 0);
    click(p, "Button1");
    QCOMPARE(p.form().editor(1)->toPlainText(), longEntry);
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
