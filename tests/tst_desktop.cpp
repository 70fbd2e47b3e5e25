// Starting with files named on the command line, and pages read as UTF-8:
// every way a file comes into a page, every way a page goes out, the
// encoding panel and the preview.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "app/commandline.h"
#include "editing/editor.h"
#include "files/documents.h"
#include "files/preview.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::readAll;
using zelvar::testing::TestProgram;
using zelvar::testing::writeAll;

namespace {

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A Czech UTF-8 page as another editor writes it, and the same in the
// program's own Windows-1250.
const QByteArray kUtf8Page("<p>\xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88</p>\r\n");
const QByteArray kCp1250Page("<p>\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2</p>\r\n");
const QString kPageText = u("<p>žluťoučký kůň</p>\n");

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();

    void commandLine_data();
    void commandLine();
    void fileArguments_data();
    void fileArguments();
    void readRoutes_data();
    void readRoutes();
    void writeRoutes_data();
    void writeRoutes();
    void panelFollowsTheShownPage();

private:
    std::unique_ptr<TestProgram> p_;
    TForm1& form() { return p_->form(); }
};

void DesktopTest::initTestCase() {
    p_ = std::make_unique<TestProgram>();
    QVERIFY(QDir(p_->dir()).mkpath("sub"));
}

void DesktopTest::init() {
    for (int n = 1; n <= 5; ++n) {
        form().editor(n)->clearAll();
        form().editor(n)->setPlainTextMode(false);
    }
    form().action("Page11")->trigger();
    p_->dialogs().shown.clear();
    p_->dialogs().answers.clear();
    p_->dialogs().fileAnswers.clear();
    Documents::of(form()).setOpenName(QString());
}

void DesktopTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("files");
    using A = CommandLine::Action;
    QTest::newRow("nothing") << QStringList() << int(A::Run) << QStringList();
    QTest::newRow("files") << QStringList{"a.html", "/b c.html"} << int(A::Run)
                           << QStringList{"a.html", "/b c.html"};
    QTest::newRow("help") << QStringList{"--help"} << int(A::Help) << QStringList();
    QTest::newRow("short help") << QStringList{"-h", "a"} << int(A::Help) << QStringList{"a"};
    QTest::newRow("version") << QStringList{"--version"} << int(A::Version) << QStringList();
    QTest::newRow("unknown option") << QStringList{"--print"} << int(A::Refuse) << QStringList();
    QTest::newRow("file after --")
        << QStringList{"--", "--print"} << int(A::Run) << QStringList{"--print"};
}

void DesktopTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, files);
    const CommandLine line = parseCommandLine(arguments);
    QCOMPARE(int(line.action), action);
    QCOMPARE(line.files, files);
    QCOMPARE(line.error.contains("--print"), action == int(CommandLine::Action::Refuse));
    QVERIFY(helpText().startsWith(u("Použití: zelvar [SOUBOR]...\n")));
    QCOMPARE(versionText(), QString("Zelvar 2.0\n"));
}

void DesktopTest::fileArguments_data() {
    // Names as given; "-" stands for a file that is not there. Each page's
    // expected text is its number's file, or empty.
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QStringList>("notOpened");
    QTest::newRow("two files") << QStringList{"1.html", "2.html"}
                               << QStringList{"1", "2", "", "", ""} << QStringList()
                               << QStringList();
    QTest::newRow("relative and full names")
        << QStringList{"sub/1.html", p_->path("2.html")} << QStringList{"sub 1", "2", "", "", ""}
        << QStringList() << QStringList();
    QTest::newRow("an unreadable file among readable ones")
        << QStringList{"1.html", "missing.html", "3.html"} << QStringList{"1", "", "3", "", ""}
        << QStringList{"Cannot open file " + p_->path("missing.html") + "."} << QStringList();
    QTest::newRow("six files") << QStringList{"1.html", "2.html", "3.html",
                                              "4.html", "5.html", "6.html"}
                               << QStringList{"1", "2", "3", "4", "5"} << QStringList()
                               << QStringList{"6.html"};
    QTest::newRow("seven files") << QStringList{"1.html", "2.html", "3.html",    "4.html",
                                                "5.html", "6.html", "sub/1.html"}
                                 << QStringList{"1", "2", "3", "4", "5"} << QStringList()
                                 << QStringList{"6.html", "sub/1.html"};
}

void DesktopTest::fileArguments() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, errors);
    QFETCH(QStringList, notOpened);
    for (int n = 1; n <= 6; ++n) {
        writeAll(p_->path(QString("%1.html").arg(n)), QByteArray::number(n) + "\r\n");
    }
    writeAll(p_->path("sub/1.html"), "sub 1\r\n");

    Documents::of(form()).openFiles(names);

    for (int n = 1; n <= 5; ++n) {
        Editor* e = form().editor(n);
        const QString expected = pages[n - 1];
        QCOMPARE(e->toPlainText(), expected.isEmpty() ? expected : expected + "\n");
        // Every page that was named is in plain-text form, as after Open.
        QCOMPARE(e->plainTextMode(), n <= names.size());
    }
    QCOMPARE(form().shownSlot(), 1);
    QStringList shownErrors, notices;
    for (const auto& d : p_->dialogs().shown) {
        (d.kind == zelvar::testing::ShownDialog::Error ? shownErrors : notices) << d.text;
    }
    QCOMPARE(shownErrors, errors);
    if (notOpened.isEmpty()) {
        QCOMPARE(notices, QStringList());
    } else {
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices[0].startsWith(u("Otevřít lze nejvýše pět souborů")));
        QVERIFY(notices[0].endsWith(":\n" + notOpened.join('\n')));
    }
    // The open dialog offers the last name it was given, with its folder.
    const QString last = names[std::min<qsizetype>(names.size(), 5) - 1];
    QCOMPARE(Documents::of(form()).openName(), QFileInfo(last).absoluteFilePath());
    p_->dialogs().answers << MsgButton::Ok; // page 1 holds a file: replace it
    p_->dialogs().fileAnswers << FileDialogAnswer{};
    form().action("Otevt1")->trigger();
    QCOMPARE(p_->dialogs().fileRequests.last().fileName, QFileInfo(last).absoluteFilePath());
}

void DesktopTest::readRoutes_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("panel");
    const QString utf8 = u("Kódování: UTF-8");
    const QString cp1250 = u("Kódování: Windows-1250");
    QTest::newRow("open, utf-8") << "Otevt1"
                                 << "page.html" << kUtf8Page << utf8;
    QTest::newRow("open, utf-8 with bom") << "Otevt1"
                                          << "page.html"
                                          << "\xEF\xBB\xBF" + kUtf8Page << utf8;
    QTest::newRow("open, windows-1250") << "Otevt1"
                                        << "page.html" << kCp1250Page << cp1250;
    QTest::newRow("static memory") << "Nast1"
                                   << "staticka_pamet1.txt" << kUtf8Page << utf8;
    QTest::newRow("backup") << "Vymazatzlohu1"
                            << "zaloha1.txt" << kUtf8Page << utf8;
    QTest::newRow("template") << "HTMLstruktura1"
                              << "zakl_struktura.txt" << kUtf8Page << utf8;
    QTest::newRow("file argument") << ""
                                   << "page.html" << kUtf8Page << utf8;
}

void DesktopTest::readRoutes() {
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, panel);
    writeAll(p_->path(file), bytes);
    if (command.isEmpty()) {
        Documents::of(form()).openFiles({file});
    } else {
        p_->dialogs().fileAnswers << FileDialogAnswer{true, p_->path(file), 1};
        form().action(command.toLatin1().constData())->trigger();
    }
    QCOMPARE(form().editor(1)->toPlainText(), kPageText);
    QCOMPARE(p_->label("StatusBar1Panel2"), panel);
    QCOMPARE(p_->dialogs().shown.size(), 0);
}

void DesktopTest::writeRoutes_data() {
    // A page opened from the bytes, written out by the command into the file.
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray bom("\xEF\xBB\xBF");
    const QString preview = "<preview>";
    QTest::newRow("save as, utf-8") << "Uloitjako1"
                                    << "saved.html" << kUtf8Page;
    QTest::newRow("save as, utf-8 with bom") << "Uloitjako1"
                                             << "saved.html" << bom + kUtf8Page;
    QTest::newRow("save as, windows-1250") << "Uloitjako1"
                                           << "saved.html" << kCp1250Page;
    QTest::newRow("static memory") << "Uloit1"
                                   << "staticka_pamet1.txt" << kUtf8Page;
    QTest::newRow("preview, utf-8") << "Zkladnvzhled1" << preview << kUtf8Page;
    QTest::newRow("preview, utf-8 with bom") << "Zkladnvzhled1" << preview << bom + kUtf8Page;
    QTest::newRow("preview, windows-1250") << "Zkladnvzhled1" << preview << kCp1250Page;
}

void DesktopTest::writeRoutes() {
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    writeAll(p_->path("page.html"), bytes);
    Documents::of(form()).openFiles({"page.html"});
    const QString target = file == "<preview>" ? previewFilePath() : p_->path(file);
    p_->dialogs().fileAnswers << FileDialogAnswer{true, target, 1};
    form().action(command.toLatin1().constData())->trigger();
    QCOMPARE(readAll(target), bytes);
}

void DesktopTest::panelFollowsTheShownPage() {
    const QString utf8 = u("Kódování: UTF-8");
    const QString cp1250 = u("Kódování: Windows-1250");
    QCOMPARE(p_->label("StatusBar1Panel2"), cp1250);
    writeAll(p_->path("u.html"), kUtf8Page);
    writeAll(p_->path("w.html"), kCp1250Page);
    Documents::of(form()).openFiles({"w.html", "u.html"});
    QCOMPARE(p_->label("StatusBar1Panel2"), cp1250);
    form().pageControl()->setCurrentIndex(1);
    QCOMPARE(p_->label("StatusBar1Panel2"), utf8);
    form().action("Page31")->trigger();
    QCOMPARE(p_->label("StatusBar1Panel2"), cp1250);
    form().action("Page21")->trigger();
    QCOMPARE(p_->label("StatusBar1Panel2"), utf8);
    // A page cleared by New is a new page, in the program's own encoding.
    p_->dialogs().answers << MsgButton::Ok;
    form().action("Nov1")->trigger();
    QCOMPARE(form().editor(2)->toPlainText(), QString());
    QCOMPARE(p_->label("StatusBar1Panel2"), cp1250);
    // A Windows-1250 file opened over a UTF-8 page brings the page back to it.
    Documents::of(form()).openFiles({"u.html", "w.html"});
    QCOMPARE(p_->label("StatusBar1Panel2"), cp1250);
    form().action("Page11")->trigger();
    QCOMPARE(p_->label("StatusBar1Panel2"), utf8);
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
