// Starting with files named on the command line, and pages read as UTF-8:
// the ways a file comes into a page and goes out again, the encoding panel
// and the preview.

#include <QAction>
#include <QFileInfo>
#include <QTest>

#include "app/application.h"
#include "app/commandline.h"
#include "editor/editor.h"
#include "files/documents.h"
#include "files/preview.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::readAll;
using zelvar::testing::TestProgram;
using zelvar::testing::writeAll;

namespace {

// A Czech page as UTF-8 and as Windows-1250, and its text.
const QByteArray kUtf8Page("<p>\xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88</p>\r\n");
const QByteArray kCp1250Page("<p>\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2</p>\r\n");
const QByteArray kBom("\xEF\xBB\xBF");
const QString kPageText = QString::fromUtf8("<p>žluťoučký kůň</p>\n");
const QString kUtf8Panel = QString::fromUtf8("Kódování: UTF-8");
const QString kCp1250Panel = QString::fromUtf8("Kódování: Windows-1250");

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void fileArguments_data();
    void fileArguments();
    void routes_data();
    void routes();
    void bytesSurvive_data();
    void bytesSurvive();
    void panelFollowsTheShownPage();

private:
    std::unique_ptr<TestProgram> p_;
    TForm1& form() { return p_->form(); }
    Documents& documents() { return Documents::of(p_->form()); }
    QString panel() { return p_->label("StatusBar1Panel2"); }
};

void DesktopTest::initTestCase() {
    p_ = std::make_unique<TestProgram>();
    QVERIFY(QDir(p_->dir()).mkpath("sub"));
    for (int n = 1; n <= 6; ++n) {
        writeAll(p_->path(QString("%1.html").arg(n)), QByteArray::number(n) + "\r\n");
    }
    writeAll(p_->path("sub/1.html"), "s\r\n");
}

void DesktopTest::init() {
    for (int n = 1; n <= 5; ++n) {
        form().editor(n)->clearAll();
        form().editor(n)->setPlainTextMode(false);
    }
    form().action("Page11")->trigger();
    p_->dialogs().shown.clear();
    p_->dialogs().fileAnswers.clear();
    documents().setOpenName(QString());
}

void DesktopTest::fileArguments_data() {
    QTest::addColumn<QStringList>("names"); // the arguments after the program's name
    QTest::addColumn<QString>("pages");     // the first line of pages 1 to 5
    QTest::addColumn<QString>("dialog");
    QTest::newRow("two files") << QStringList{"1.html", "2.html"} << "12---" << QString();
    QTest::newRow("relative and full names")
        << QStringList{"sub/1.html", p_->path("2.html")} << "s2---" << QString();
    QTest::newRow("an unreadable file among readable ones")
        << QStringList{"1.html", "missing.html", "3.html"} << "1-3--"
        << "Cannot open file " + p_->path("missing.html") + ".";
    const QString refusal =
        QString::fromUtf8("Otevřít lze nejvýše pět souborů, do stránek 1 až 5 ! Tyto soubory "
                          "nebyly otevřeny:\n");
    QTest::newRow("six files") << QStringList{"1.html", "2.html", "3.html",
                                              "4.html", "5.html", "6.html"}
                               << "12345" << refusal + "6.html";
    QTest::newRow("the launcher's notices, one dialog")
        << QStringList{"--notice", "a", "1.html", "--notice", "b c"} << "1----"
        << "a\nb c";
}

void DesktopTest::fileArguments() {
    QFETCH(QStringList, names);
    QFETCH(QString, pages);
    QFETCH(QString, dialog);
    const CommandLine line = parseCommandLine(names);
    startWith(form(), line);
    QString shown;
    for (int n = 1; n <= 5; ++n) {
        const QString text = form().editor(n)->toPlainText();
        shown += text.isEmpty() ? QChar('-') : text[0];
        // A page that was named is in plain-text form, as after Open.
        QCOMPARE(form().editor(n)->plainTextMode(), n <= line.files.size());
    }
    QCOMPARE(shown, pages);
    QCOMPARE(form().shownSlot(), 1);
    QCOMPARE(p_->dialogs().shown.size(), dialog.isEmpty() ? 0 : 1);
    QCOMPARE(p_->dialogs().shown.value(0).text, dialog);
    // The open dialog offers the last name it was given, or page 1's folder
    // when that name lies elsewhere.
    const QFileInfo last(line.files[std::min<qsizetype>(line.files.size(), 5) - 1]);
    const QString pageFolder = QFileInfo(line.files[0]).absolutePath();
    p_->dialogs().answers << MsgButton::Ok; // page 1 holds a file: replace it
    form().action("Otevt1")->trigger();
    QCOMPARE(p_->dialogs().fileRequests.last().fileName,
             last.absolutePath() == pageFolder ? last.absoluteFilePath() : pageFolder + '/');
}

// A page read by a command (or named as an argument) shows the text and its
// encoding; written out again by a command, it gives the same bytes.
void DesktopTest::routes_data() {
    QTest::addColumn<QString>("command"); // empty: a file argument
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("write");  // empty: not written
    QTest::addColumn<QString>("target"); // empty: the preview file
    struct Row {
        const char* tag;
        const char* command;
        const char* file;
        QByteArray bytes;
        QString panel;
        const char* write;
        const char* target;
    };
    const QByteArray loneCr = QByteArray(kUtf8Page).replace("\r\n", "\r");
    const Row rows[] = {
        {"open, save as, utf-8", "Otevt1", "page.html", kUtf8Page, kUtf8Panel, "Uloitjako1",
         "s.html"},
        {"open, save as, bom", "Otevt1", "page.html", kBom + kUtf8Page, kUtf8Panel, "Uloitjako1",
         "s.html"},
        {"open, save as, windows-1250", "Otevt1", "page.html", kCp1250Page, kCp1250Panel,
         "Uloitjako1", "s.html"},
        {"open, utf-8, lone cr", "Otevt1", "page.html", loneCr, kUtf8Panel, "", ""},
        {"static memory", "Nast1", "staticka_pamet1.txt", kUtf8Page, kUtf8Panel, "", ""},
        {"argument, static memory", "", "page.html", kUtf8Page, kUtf8Panel, "Uloit1",
         "staticka_pamet1.txt"},
        {"backup", "Vymazatzlohu1", "zaloha1.txt", kUtf8Page, kUtf8Panel, "", ""},
        {"template", "HTMLstruktura1", "zakl_struktura.txt", kUtf8Page, kUtf8Panel, "", ""},
        {"argument, preview, utf-8", "", "page.html", kUtf8Page, kUtf8Panel, "Zkladnvzhled1", ""},
        {"argument, preview, bom", "", "page.html", kBom + kUtf8Page, kUtf8Panel, "Zkladnvzhled1",
         ""},
        {"argument, preview, windows-1250", "", "page.html", kCp1250Page, kCp1250Panel,
         "Zkladnvzhled1", ""},
    };
    for (const Row& r : rows) {
        QTest::newRow(r.tag) << r.command << r.file << r.bytes << r.panel << r.write << r.target;
    }
}

void DesktopTest::routes() {
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, panel);
    QFETCH(QString, write);
    QFETCH(QString, target);
    writeAll(p_->path(file), bytes);
    if (command.isEmpty()) {
        documents().openFiles({file});
    } else {
        p_->dialogs().fileAnswers << FileDialogAnswer{true, p_->path(file), 1};
        form().action(command.toLatin1().constData())->trigger();
    }
    QCOMPARE(form().editor(1)->toPlainText(), kPageText);
    QCOMPARE(this->panel(), panel);
    QCOMPARE(p_->dialogs().shown.size(), 0);
    if (!write.isEmpty()) {
        const QString path = target.isEmpty() ? previewFilePath() : p_->path(target);
        QFile::remove(path);
        p_->dialogs().fileAnswers << FileDialogAnswer{true, path, 1};
        form().action(write.toLatin1().constData())->trigger();
        QCOMPARE(target.isEmpty() ? testing::withoutPreviewBase(readAll(path), p_->dir())
                                  : readAll(path),
                 bytes);
    }
}

// Open a page and save it with no edit, by Save As and as the preview: every
// byte comes back, whatever the page declares, and the page reads back as it
// was read. A page whose bytes do not match its declaration says so.
void DesktopTest::bytesSurvive_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<bool>("notice");
    const QString iso = QString::fromUtf8("Kódování: ISO-8859-2");
    const QString mismatch = kCp1250Panel + " (!)";
    QByteArray lfPage;
    for (int n = 0; n < 50; ++n) {
        lfPage += "<!-- " + QByteArray::number(n) + " -->\n";
    }
    lfPage += QByteArray(988 - lfPage.size() - 27, ' ') + "<meta charset=\"iso-8859-2\">\n\xB9\n";
    const QByteArray utf8Meta = "<meta charset=\"utf-8\">\r\n";
    QTest::newRow("utf-8 declared, a windows-1250 byte")
        << utf8Meta + "<p>\xC4\x9B\xC5\xA1\xC4\x8D caf\xE9</p>\r\n"
        << mismatch << true;
    QTest::newRow("utf-8 cut in its last character")
        << utf8Meta + "<p>\xC4\x9B\xC5\xA1\xC4" << mismatch << true;
    QTest::newRow("U+2029 under a utf-8 declaration")
        << utf8Meta + "<p>\xC4\x9B\xE2\x80\xA9</p>\r\n"
        << mismatch << true;
    QTest::newRow("U+FDD0 and U+FDD1 under a utf-8 declaration")
        << utf8Meta + "\xEF\xB7\x90\xEF\xB7\x91\xC4\x9B\r\n"
        << mismatch << true;
    QTest::newRow("U+2028 in a utf-8 page")
        << utf8Meta + "<script>s = \"a\xE2\x80\xA8\xC4\x9B\";</script>\r\n"
        << kUtf8Panel << false;
    QTest::newRow("lf breaks, a declaration near byte 1000") << lfPage << iso << false;
    QTest::newRow("bom before a windows-1250 declaration")
        << kBom + "<meta charset=\"windows-1250\"><p>\xC5\xA1</p>\r\n"
        << kUtf8Panel + " (!)" << true;
    QTest::newRow("no break after the last line")
        << QByteArray("<p>\x9A</p>") << kCp1250Panel << false;
    QTest::newRow("lone cr") << QByteArray("<p>a</p>\r<p>\x9A</p>\r") << kCp1250Panel << false;
    QTest::newRow("mixed breaks, a declaration near byte 1000")
        << QByteArray(lfPage)
               .replace("<!-- 7 -->\n", "<!-- 7 -->\r\n")
               .replace("1 -->\n", "1 -->\r")
        << iso << false;
}

void DesktopTest::bytesSurvive() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, panel);
    QFETCH(bool, notice);
    writeAll(p_->path("in.html"), bytes);
    p_->dialogs().fileAnswers << FileDialogAnswer{true, p_->path("in.html"), 1};
    form().action("Otevt1")->trigger();
    QCOMPARE(this->panel(), panel);
    QCOMPARE(p_->dialogs().shown.size(), notice ? 1 : 0);
    // Undo right after the open keeps the page: the load starts its history.
    const QString read = form().editor(1)->toPlainText();
    form().action("Zpt1")->trigger();
    QCOMPARE(form().editor(1)->toPlainText(), read);
    p_->dialogs().fileAnswers << FileDialogAnswer{true, p_->path("out.html"), 1};
    form().action("Uloitjako1")->trigger();
    QCOMPARE(readAll(p_->path("out.html")), bytes);
    form().action("Zkladnvzhled1")->trigger();
    QCOMPARE(testing::withoutPreviewBase(readAll(previewFilePath()), p_->dir()), bytes);
    // What was written reads back in the same encoding.
    p_->dialogs().answers << MsgButton::Ok;
    p_->dialogs().fileAnswers << FileDialogAnswer{true, p_->path("out.html"), 1};
    form().action("Otevt1")->trigger();
    QCOMPARE(this->panel(), panel);
    QCOMPARE(form().editor(1)->toPlainText(), read);
}

void DesktopTest::panelFollowsTheShownPage() {
    QCOMPARE(panel(), kCp1250Panel);
    writeAll(p_->path("u.html"), kUtf8Page);
    writeAll(p_->path("w.html"), kCp1250Page);
    documents().openFiles({"w.html", "u.html"});
    QCOMPARE(panel(), kCp1250Panel);
    form().pageControl()->setCurrentIndex(1);
    QCOMPARE(panel(), kUtf8Panel);
    form().action("Page31")->trigger();
    QCOMPARE(panel(), kCp1250Panel);
    form().action("Page21")->trigger();
    QCOMPARE(panel(), kUtf8Panel);
    // A page cleared by New is a new page, in the program's own encoding.
    p_->dialogs().answers << MsgButton::Ok;
    form().action("Nov1")->trigger();
    QCOMPARE(form().editor(2)->toPlainText(), QString());
    QCOMPARE(panel(), kCp1250Panel);
    // A Windows-1250 file opened over a UTF-8 page takes it back to that.
    documents().openFiles({"u.html", "w.html"});
    QCOMPARE(panel(), kCp1250Panel);
    form().action("Page11")->trigger();
    QCOMPARE(panel(), kUtf8Panel);
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
