// The HTML check: the findings small pages give, with the editor's columns
// and Czech texts; the summary's plural forms; the helper's line form; the
// program's templates; hostile pages through the helper process; F12 and the
// jump from a row of the window to the page.

#include "editor/editor.h"
#include "support/testprogram.h"
#include "text/cp1250.h"
#include "text/htmlcheck.h"
#include "tools/htmlcheckrun.h"

#include <QAbstractItemView>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

using namespace zelvar;

class TestHtmlCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findings_data();
    void findings();
    void summary_data();
    void summary();
    void czech_data();
    void czech();
    void lineForm();
    void templates_data();
    void templates();
    void hostile_data();
    void hostile();
    void jump_data();
    void jump();

private:
    testing::TestProgram program_;
};

void TestHtmlCheck::findings_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column"); // the editor's; 0: the finding must be absent
    const int e = int(FindingKind::Error), w = int(FindingKind::Warning);
    const int i = int(FindingKind::Info);
    const QString html5 = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n";
    const QString html4 = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                          "<html><head><title>t</title></head><body>\n";
    QTest::newRow("nesting") << "<P><B>text</P>"
                             << "MISSING_ENDTAG_BEFORE" << w << 1 << 4;
    QTest::newRow("end tag out of order") << "<p><b><i>x</b></i>\n<p><i>y</i></b>"
                                          << "NON_MATCHING_ENDTAG" << w << 1 << 11;
    QTest::newRow("no doctype") << "<p>a"
                                << "MISSING_DOCTYPE" << w << 1 << 1;
    QTest::newRow("no title") << "<p>a"
                              << "MISSING_TITLE_ELEMENT" << w << 1 << 1;
    QTest::newRow("unknown") << html5 + "<p>\t<zz>"
                             << "UNKNOWN_ELEMENT" << e << 3 << 5;
    QTest::newRow("astral") << html5 + "\xF0\x9F\x90\xA2<zz>"
                            << "UNKNOWN_ELEMENT" << e << 3 << 3;
    QTest::newRow("carriage return") << html5 + "a\rb\x01<zz>"
                                     << "UNKNOWN_ELEMENT" << e << 3 << 5;
    QTest::newRow("the seventh error") << html5 + "<a1><a2><a3><a4><a5><a6><a7>"
                                       << "UNKNOWN_ELEMENT" << e << 3 << 25;
    QTest::newRow("alt") << html5 + "<img src=\"a.png\">"
                         << "MISSING_ATTRIBUTE" << w << 3 << 1;
    QTest::newRow("ampersand") << html5 + "<p>a &b"
                               << "UNKNOWN_ENTITY" << w << 3 << 6;
    QTest::newRow("unquoted") << html5 + " <p id=a>"
                              << "MISSING_QUOTEMARK_OPEN" << i << 3 << 2;
    QTest::newRow("repeated") << html5 + "<p id=\"a\" id=\"b\">"
                              << "REPEATED_ATTRIBUTE" << w << 3 << 1;
    QTest::newRow("proprietary") << html5 + "<p foo=\"1\">"
                                 << "PROPRIETARY_ATTRIBUTE" << w << 3 << 1;
    QTest::newRow("html5 attribute") << html5 + "<img src=\"a\" alt=\"\" loading=\"lazy\">"
                                     << "PROPRIETARY_ATTRIBUTE" << w << 3 << 0;
    QTest::newRow("html5 element") << html5 + "<search>s</search>"
                                   << "PROPRIETARY_ELEMENT" << w << 3 << 0;
    QTest::newRow("custom element") << html5 + "<x-menu>m</x-menu>"
                                    << "UNKNOWN_ELEMENT" << e << 3 << 0;
    QTest::newRow("html4 element in html5") << html5 + "<center>c</center>"
                                            << "REMOVED_HTML5" << w << 3 << 1;
    QTest::newRow("html4 element in html4") << html4 + "<center>c</center>"
                                            << "REMOVED_HTML5" << w << 3 << 0;
    QTest::newRow("html5 element in html4") << html4 + "<search>s</search>"
                                            << "PROPRIETARY_ELEMENT" << w << 3 << 1;
}

void TestHtmlCheck::findings() {
    QFETCH(QString, page);
    QFETCH(QString, key);
    QFETCH(int, kind);
    QFETCH(int, line);
    QFETCH(int, column);
    HtmlCheckResult result = checkHtml(checkInput(page));
    mapColumnsToEditor(result, page);
    const auto found = std::find_if(result.findings.cbegin(), result.findings.cend(), [&](auto& f) {
        return f.key == key && (column == 0 || (f.line == line && f.column == column));
    });
    QCOMPARE(found != result.findings.cend(), column > 0);
    if (column > 0) {
        QCOMPARE(int(found->kind), kind);
        const QString czech = czechMessage(*found);
        QVERIFY2(czech != found->english, qPrintable(czech));
        for (const QString& argument : found->arguments) {
            QVERIFY2(czech.contains(QString(argument).remove(u'<').remove(u'>').remove(u'/')),
                     qPrintable(czech));
        }
    }
}

void TestHtmlCheck::summary_data() {
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<int>("infos");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("summary");
    QTest::newRow("clean") << 0 << 0 << 0 << 0 << "Stránka je bez chyb.";
    QTest::newRow("clean, infos") << 0 << 0 << 2 << 2 << "Stránka je bez chyb. (2 informace)";
    QTest::newRow("one") << 1 << 1 << 1 << 3 << "1 chyba, 1 varování, 1 informace";
    QTest::newRow("few") << 3 << 5 << 0 << 8 << "3 chyby, 5 varování";
    QTest::newRow("many") << 5 << 0 << 12 << 17 << "5 chyb, 12 informací";
    QTest::newRow("warnings only") << 0 << 22 << 0 << 22 << "22 varování";
    QTest::newRow("not all listed")
        << 2 << 3 << 0 << 4 << "2 chyby, 3 varování (vypsáno prvních 4)";
}

void TestHtmlCheck::summary() {
    QFETCH(int, errors);
    QFETCH(int, warnings);
    QFETCH(int, infos);
    QFETCH(int, listed);
    HtmlCheckResult result;
    result.counts[int(FindingKind::Error)] = errors;
    result.counts[int(FindingKind::Warning)] = warnings;
    result.counts[int(FindingKind::Info)] = infos;
    result.findings.resize(listed);
    QTEST(checkSummary(result), "summary");
}

void TestHtmlCheck::czech_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("czech");
    QTest::newRow("names filled in")
        << "MISSING_ATTRIBUTE" << QStringList{"<img>", "alt"} << "<img> nemá atribut „alt“";
    QTest::newRow("a name like a mark")
        << "MISSING_ATTRIBUTE" << QStringList{"%2x", "alt"} << "%2x nemá atribut „alt“";
    QTest::newRow("an element by its name")
        << "MISSING_ENDTAG_FOR" << QStringList{"</b>"} << "chybí </b>";
    QTest::newRow("no czech text") << "NO_SUCH_KEY" << QStringList{"<p>"} << "english";
    QTest::newRow("an argument short") << "MISSING_ATTRIBUTE" << QStringList{"<img>"} << "english";
}

void TestHtmlCheck::czech() {
    QFETCH(QString, key);
    QFETCH(QStringList, arguments);
    QTEST(czechMessage(HtmlFinding{1, 1, FindingKind::Warning, key, arguments, "english"}),
          "czech");
}

void TestHtmlCheck::lineForm() {
    HtmlCheckResult result = checkHtml("<p>a\t<zz></b><img src=x>");
    result.findings.append(
        HtmlFinding{7, 3, FindingKind::Info, "K", {"a\tb\nc\\", "", "\r"}, "x\\ty"});
    const QByteArray bytes = encodeCheckResult(result);
    const std::optional<HtmlCheckResult> back = decodeCheckResult(bytes);
    QVERIFY(back);
    QCOMPARE(encodeCheckResult(*back), bytes);
    // An output cut short anywhere is no result.
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        QVERIFY2(!decodeCheckResult(bytes.first(size)), bytes.first(size).constData());
    }
}

void TestHtmlCheck::templates_data() {
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"zakl_struktura.txt", "html5_struktura.txt", "ramy_1.txt", "ramy_2.txt", "ramy_3.txt",
          "ramy_4.txt", "ramy_5.txt", "ramy_6.txt"}) {
        QTest::newRow(name) << name;
    }
}

void TestHtmlCheck::templates() {
    QFETCH(QString, name);
    QFile file(QStringLiteral(ZELVAR_DATA_DIR "/") + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    PlainForm form; // read by its declaration, as the page is
    const HtmlCheckResult result = checkHtml(checkInput(textFromFileBytes(file.readAll(), &form)));
    QStringList found;
    for (const HtmlFinding& finding : result.findings) {
        found << QString("%1:%2 %3").arg(finding.line).arg(finding.column).arg(finding.english);
    }
    QVERIFY2(result.counts[int(FindingKind::Error)] + result.counts[int(FindingKind::Warning)] == 0,
             qPrintable(found.join(u'\n')));
}

void TestHtmlCheck::hostile_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("program"); // empty: the helper
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("failure"); // empty: the check gives findings
    QByteArray garbage(256 * 1024, '\0');
    QRandomGenerator random(17);
    random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
    const QString big = QString("<p class=\"c\">Žluťoučký <b>kůň</p> &\n").repeated(560000);
    QTest::newRow("100,000 nested lists")
        << QString("<ul>").repeated(100000) << "" << 60000 << false << "";
    QTest::newRow("binary garbage") << fromCp1250(garbage) << "" << 60000 << false << "";
    QTest::newRow("100,000 nested blocks")
        << QString("<div>").repeated(100000) << "" << 2000 << false << "déle než 2 s";
    QTest::newRow("20 MB page") << big << "" << 1000 << false << "déle než 1 s";
    QTest::newRow("cancelled") << big << "" << 60000 << true << "zrušena";
    QTest::newRow("no helper") << "<p>"
                               << "/nonexistent/zelvar-htmlcheck" << 60000 << false
                               << "chybí program";
    QTest::newRow("no output") << "<p>"
                               << "/bin/true" << 60000 << false << "nezdařila";
}

void TestHtmlCheck::hostile() {
    QFETCH(QString, page);
    QFETCH(QString, program);
    QFETCH(int, limit);
    QFETCH(bool, cancel);
    QFETCH(QString, failure);
    HtmlCheckRun run;
    run.setProgram(program.isEmpty() ? QStringLiteral(ZELVAR_HTMLCHECK_PROGRAM) : program);
    run.setTimeLimit(limit);
    QSignalSpy finished(&run, &HtmlCheckRun::finished);
    QSignalSpy failed(&run, &HtmlCheckRun::failed);
    run.start(page);
    if (cancel) {
        run.cancel();
    }
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() + failed.count() == 1, 120000);
    QVERIFY(!run.isRunning());
    QCOMPARE(finished.count(), failure.isEmpty() ? 1 : 0);
    if (!failure.isEmpty()) {
        QVERIFY2(failed.at(0).at(0).toString().contains(failure),
                 qPrintable(failed.at(0).at(0).toString()));
    } else {
        QVERIFY(!finished.at(0).at(0).value<HtmlCheckResult>().findings.isEmpty());
    }
}

void TestHtmlCheck::jump_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("byMouse"); // else Enter
    QTest::addColumn<int>("line");     // of the finding and the caret, from 1; 0: a clean page
    QTest::addColumn<int>("column");
    const QString head = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n";
    QTest::newRow("nesting") << 1 << "<P><B>text</P>" << true << 1 << 4;
    QTest::newRow("after tabs") << 3 << head + "<p>\t\t<zz>" << false << 3 << 6;
    QTest::newRow("after a turtle") << 5 << head + "<p>\xF0\x9F\x90\xA2 <zz>" << true << 3 << 7;
    QTest::newRow("after a line separator")
        << 4 << head + "<p>a\u2028b</p>\n<p>\t<zz>" << false << 4 << 5;
    QTest::newRow("clean") << 2 << head + "<p>a</p></body></html>" << false << 0 << 0;
}

void TestHtmlCheck::jump() {
    QFETCH(int, slot);
    QFETCH(QString, page);
    QFETCH(bool, byMouse);
    QFETCH(int, line);
    QFETCH(int, column);
    TForm1& form = program_.form();
    program_.resetEditors();
    QVERIFY(program_.showAndActivate());
    auto* run = form.findChild<HtmlCheckRun*>("HtmlCheckRun");
    run->setProgram(ZELVAR_HTMLCHECK_PROGRAM);
    form.showPage(slot);
    Editor* editor = form.editor(slot);
    // Written as typed: a line separator stays one.
    editor->clearAll();
    QTextCursor(editor->document()).insertText(page);
    // The check and the jump change nothing in the page.
    QSignalSpy edits(editor->document(), &QTextDocument::contentsChange);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    QCOMPARE(program_.message(), "Kontrola HTML...");
    QTRY_VERIFY(!run->isRunning());
    QCOMPARE(program_.label("Label20"), QString("Stránka: Page %1").arg(slot));
    auto* view = form.findChild<QAbstractItemView*>("ListView20");
    const QAbstractItemModel* rows = view->model();
    // The main window's keys work from the check's window: F9 shows the page.
    view->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(view->window()));
    const qsizetype shown = program_.shell().files.size();
    QTest::keyClick(view, Qt::Key_F9);
    QCOMPARE(program_.shell().files.size(), shown + 1);
    if (line == 0) {
        QCOMPARE(rows->rowCount(), 0);
        QCOMPARE(program_.label("Label21"), "Stránka je bez chyb.");
        return;
    }
    int row = 0;
    while (row < rows->rowCount() &&
           (rows->index(row, 0).data() != line || rows->index(row, 1).data() != column)) {
        ++row;
    }
    QVERIFY(row < rows->rowCount());
    form.showPage(slot == 1 ? 2 : 1); // the jump brings the checked page back
    view->setCurrentIndex(rows->index(row, 3));
    if (byMouse) {
        // A double-click is a press and a release, then the second press.
        const QPoint at = view->visualRect(view->currentIndex()).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    } else {
        QTest::keyClick(view, Qt::Key_Return);
    }
    QCOMPARE(form.shownSlot(), slot);
    QCOMPARE(editor->textCursor().blockNumber() + 1, line);
    QCOMPARE(editor->textCursor().positionInBlock() + 1, column);
    QCOMPARE(editor->document()->toRawText(),
             QString(page).replace('\n', QChar::ParagraphSeparator));
    QCOMPARE(edits.size(), 0);
}

QTEST_MAIN(TestHtmlCheck)
#include "tst_htmlcheck.moc"
