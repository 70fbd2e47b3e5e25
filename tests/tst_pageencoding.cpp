// Pages in the encoding they declare, through the program's own commands:
// Open and Save As byte for byte in each encoding, the question of Save As
// when the encoding cannot hold a character, and the declaration that wins
// on every way a page is written.

#include <QAction>
#include <QTest>

#include "editor/editor.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::readAll;
using zelvar::testing::TestProgram;
using zelvar::testing::writeAll;

Q_DECLARE_METATYPE(zelvar::MsgButton)

namespace {

FileDialogAnswer chosen(const QString& name) {
    return FileDialogAnswer{true, name, 1};
}

const QString kCzech = QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy");

QString encodingPanel(TestProgram& p) {
    return p.label("StatusBar1Panel2");
}

} // namespace

class PageEncodingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openAndSaveAsByteForByte_data();
    void openAndSaveAsByteForByte();
    void saveAsQuestion_data();
    void saveAsQuestion();
    void declarationWins_data();
    void declarationWins();
};

void PageEncodingTest::openAndSaveAsByteForByte_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("item");
    const QByteArray head = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; ";
    QTest::newRow("utf-8") << head + "charset=utf-8\">\r\n<p>" + kCzech.toUtf8() +
                                  " \xF0\x9F\x90\xA2\r\n"
                           << "UTF-8"
                           << "UTF81";
    QTest::newRow("windows-1250")
        << head + "charset=windows-1250\">\r\n<p>P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD \x81\r\n"
        << "Windows-1250"
        << "Windows12501";
    QTest::newRow("iso-8859-2")
        << head + "charset=iso-8859-2\">\r\n<p>P\xF8\xEDli\xB9 \xBElu\xBBou\xE8k\xFD \x80\r\n"
        << "ISO-8859-2"
        << "ISO885921";
}

void PageEncodingTest::openAndSaveAsByteForByte() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, item);
    TestProgram p;
    writeAll(p.path("page.html"), bytes);
    p.dialogs().fileAnswers << chosen(p.path("page.html")) << chosen(p.path("copy.html"));
    p.form().action("Otevt1")->trigger();
    QCOMPARE(encodingPanel(p), QString::fromUtf8("Kódování: ") + name);
    QVERIFY(p.form().action(qPrintable(item))->isChecked());
    p.form().action("Uloitjako1")->trigger();
    QCOMPARE(p.dialogs().shown.size(), 0);
    QCOMPARE(readAll(p.path("copy.html")), bytes);
}

void PageEncodingTest::saveAsQuestion_data() {
    QTest::addColumn<MsgButton>("answer");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("declared");
    const QByteArray line2 = "<p>\xC5\xA1"
                             "ipka \xE2\x86\x92 a \xF0\x9F\x90\xA2</p>\r\n";
    QTest::newRow("Ano: UTF-8, the declaration too")
        << MsgButton::Yes << "<meta charset=\"utf-8\">\r\n" + line2 << "UTF-8"
        << "utf-8";
    QTest::newRow("Ne: references")
        << MsgButton::No
        << QByteArray("<meta charset=\"windows-1250\">\r\n<p>\x9Aipka &#8594; a &#128034;</p>\r\n")
        << "Windows-1250"
        << "windows-1250";
    QTest::newRow("Storno: nothing written")
        << MsgButton::Cancel << QByteArray("<missing>") << "Windows-1250"
        << "windows-1250";
}

void PageEncodingTest::saveAsQuestion() {
    QFETCH(MsgButton, answer);
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(QString, declared);
    TestProgram p;
    Editor* editor = p.form().editor(1);
    const QString text = QString::fromUtf8("<meta charset=\"windows-1250\">\n<p>šipka → a 🐢</p>");
    editor->setPlainText(text);
    p.dialogs().answers << answer;
    p.dialogs().fileAnswers << chosen(p.path("out.html"));
    p.form().action("Uloitjako1")->trigger();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QVERIFY(p.dialogs().shown[0].text.startsWith(
        QString::fromUtf8("Znak „→“ (U+2192) na řádku 2 nelze v kódování Windows-1250 uložit")));
    QCOMPARE(p.dialogs().shown[0].buttons, MsgButtons::YesNoCancel);
    QCOMPARE(readAll(p.path("out.html")), file);
    QCOMPARE(encodingPanel(p), QString::fromUtf8("Kódování: ") + name);
    QCOMPARE(editor->toPlainText(), QString(text).replace("windows-1250", declared));
    // A changed declaration is one step of its own.
    editor->undoLast();
    QCOMPARE(editor->toPlainText(), text);
}

void PageEncodingTest::declarationWins_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("file");
    QTest::newRow("Save As") << "Uloitjako1"
                             << "out.html";
    QTest::newRow("static memory") << "Uloit1"
                                   << "staticka_pamet1.txt";
    QTest::newRow("backup of File > Konec") << "Konec1"
                                            << "zaloha.txt";
    QTest::newRow("preview") << "Zkladnvzhled1"
                             << "zelvar/nahled_stranky.html";
}

void PageEncodingTest::declarationWins() {
    QFETCH(QString, control);
    QFETCH(QString, file);
    TestProgram p;
    // A Windows-1250 page whose declaration the user turns into UTF-8.
    writeAll(p.path("page.html"), "<meta charset=\"windows-1250\">\r\n\x9A\r\n");
    p.dialogs().fileAnswers << chosen(p.path("page.html")) << chosen(p.path("out.html"));
    p.form().action("Otevt1")->trigger();
    Editor* editor = p.form().editor(1);
    editor->setPlainText(editor->toPlainText().replace("windows-1250", "utf-8") + "→");
    p.dialogs().answers << MsgButton::Yes; // Konec: the program stays open
    p.form().action(qPrintable(control))->trigger();
    const QString path = control == "Zkladnvzhled1" ? p.cacheDir() + '/' + file : p.path(file);
    const QByteArray written = control == "Zkladnvzhled1"
                                   ? testing::withoutPreviewBase(readAll(path), p.dir())
                                   : readAll(path);
    QCOMPARE(written, QByteArray("<meta charset=\"utf-8\">\r\n\xC5\xA1\r\n\xE2\x86\x92\r\n"));
    QCOMPARE(encodingPanel(p), QString::fromUtf8("Kódování: UTF-8"));
    QVERIFY(p.form().action("UTF81")->isChecked());
    QVERIFY(!p.form().action("Windows12501")->isChecked());
}

QTEST_MAIN(PageEncodingTest)
#include "tst_pageencoding.moc"
