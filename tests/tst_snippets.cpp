// The fixed-snippet buttons as the user meets them: a click on the real
// toolbar button puts its snippet into the shown page, by the line or the
// text insertion, and writes its message; nothing else changes.

#include <QAction>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <memory>

#include "editor/editor.h"
#include "ground/addresses.h"
#include "ground/patterns.h"
#include "support/literals.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;
using zelvar::testing::u;

namespace {

void select(Editor* e, int anchor, int position) {
    QTextCursor c = e->textCursor();
    c.setPosition(anchor);
    c.setPosition(position, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
}

void click(TestProgram& p, const char* name) {
    auto* b = qobject_cast<QToolButton*>(p.form().button(name));
    QVERIFY2(b, name);
    QVERIFY2(b->isEnabled(), name);
    QTest::mouseClick(b, Qt::LeftButton);
}

} // namespace

class SnippetsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void everyButton_data();
    void everyButton();
    void brInEmptyEditor();
    void brAtEndAndStartOfLine();
    void selectionWithBoldAndList();
    void paragraphOnPage2WhateverPage1();
    void tableOnThirdOfThreeLines();
    void sameMessageWrittenAgain();
    void focusInNotesActsOnShownPage();
    void undoButtonTakesBackOneInsertion();
    void longLineStaysWhole();
    void aroundSelection_data();
    void aroundSelection();

private:
    std::unique_ptr<TestProgram> program_; // one program for every test
};

void SnippetsTest::initTestCase() {
    program_ = std::make_unique<TestProgram>();
    QVERIFY(program_->showAndActivate());
}

void SnippetsTest::init() {
    program_->resetEditors();
}

void SnippetsTest::cleanupTestCase() {
    program_.reset();
}

void SnippetsTest::everyButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("snippet");
    QTest::addColumn<bool>("line"); // line insertion (else text insertion)
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("slot"); // the page shown while clicking

    struct Row {
        const char* button;
        QString snippet;
        bool line;
        const char* message;
    };
    const QList<Row> rows{
        {"SpeedButton50", "<B></B>", true, "Tučný text..."},
        {"SpeedButton51", "<I></I>", true, "Kurzíva..."},
        {"SpeedButton52", "<U></U>", true, "Podtržený text..."},
        {"SpeedButton53", "<STRIKE></STRIKE>", true, "Přeškrtnutý text..."},
        {"SpeedButton54", R"(<FONT FACE="Verdana" SIZE=2 COLOR="#000000"></FONT>)", true,
         "Font..."},
        {"SpeedButton1", "<BR>", true, "Konec řádku..."},
        {"SpeedButton2", R"(<HR SIZE=1 WIDTH=500 ALIGN="CENTER" COLOR="#000000">)", true,
         "Vodorovná čára..."},
        {"SpeedButton3", "<H3></H3>", true, "Nadpis..."},
        {"SpeedButton4", "&nbsp;", true, "Mezera..."},
        {"SpeedButton5", R"(<P ALIGN="LEFT"></P>)", false, "Zarovnání vlevo..."},
        {"SpeedButton6", R"(<P ALIGN="CENTER"></P>)", false, "Zarovnání střed..."},
        {"SpeedButton7", R"(<P ALIGN="RIGHT"></P>)", false, "Zarovnání vpravo..."},
        {"SpeedButton8", R"(<P ALIGN="JUSTIFY">)", false, "Rozložit..."},
        {"SpeedButton9", "<CENTER></CENTER>", true, "Centrování..."},
        {"SpeedButton10", "<P>", false, "Odstavec..."},
        {"SpeedButton11", "&copy;", true, "Copyright..."},
        {"SpeedButton12", "&reg;", true, "Registered..."},
        {"SpeedButton13", "&#153;", true, "Trade mark..."},
        {"SpeedButton14", "&lt;", true, "Znak: <..."},
        {"SpeedButton15", "&gt;", true, "Znak: >..."},
        {"SpeedButton16", "&amp;", true, "Znak: and..."},
        {"SpeedButton17", "&quot;", true, "Znak: \"..."},
        {"SpeedButton18", "&sect;", true, "Paragraf..."},
        {"SpeedButton19", "<SUP></SUP>", true, "Horní index..."},
        {"SpeedButton20", "<SUB></SUB>", true, "Dolní index..."},
        {"SpeedButton21", u("<UL><LI>Položka1<LI>Položka2<LI>Položka3</UL>"), false,
         "Netříděný seznam..."},
        {"SpeedButton22", u("<OL><LI>Položka<LI>Položka<LI>Položka</OL>"), false,
         "Tříděný seznam..."},
        {"SpeedButton23",
         "<A HREF=\"" + QString::fromLatin1(kHomePageAddress) + "\" TARGET=\"_blank\">ODKAZ</A>",
         true, "Odkaz..."},
        {"SpeedButton24",
         R"(<A HREF="FILE://C:/Documents and Settings/Pelmar 2/Plocha/logo1.gif">ODKAZ</A>)", true,
         "Odkaz na vybraný text..."},
        {"SpeedButton25",
         R"(<IMG SRC="FILE://C:/Documents and Settings/Pelmar 2/Plocha/logo1.gif" WIDTH=790 HEIGHT=120 ALT="Logo" BORDER=0">)",
         true, "Obrázek..."},
        {"SpeedButton26",
         "<TABLE BORDER=1><CAPTION>Tabulka_1</CAPTION> <TR><TH><TH><TH> <TR><TH><TD><TD> "
         "<TR><TH><TD><TD> <TR><TH><TD><TD> <TR><TH><TD><TD> </TABLE>",
         false, "Tabulka..."},
        {"SpeedButton27",
         R"(<BGSOUND LOOP="infinite" DELAY=1 SRC="FILE://C:/Documents and Settings/Pelmar/Plocha/webside ll/radio.wav">)",
         false, "Hudba na pozadí..."},
        {"SpeedButton28", u("<DL><DT>Položka<DD></DL>"), false, "Seznam definic..."},
        {"SpeedButton55", R"(TARGET="_top")", true, "Cíl: _top..."},
        {"SpeedButton56", R"(TARGET="_parent")", true, "Cíl: _parent..."},
        {"SpeedButton57", R"(TARGET="_self")", true, "Cíl: _self..."},
        {"SpeedButton58", R"(TARGET="_blank")", true, "Cíl: _blank..."},
    };
    QCOMPARE(rows.size(), 37);
    int n = 0;
    for (const Row& r : rows) {
        QTest::newRow(r.button) << QString::fromLatin1(r.button) << r.snippet << r.line
                                << u(r.message) << n++ % 5 + 1;
    }
}

void SnippetsTest::everyButton() {
    QFETCH(QString, button);
    QFETCH(QString, snippet);
    QFETCH(bool, line);
    QFETCH(QString, message);
    QFETCH(int, slot);

    TestProgram& p = *program_;
    TForm1& f = p.form();
    // The shown page: "cd" selected in the first of two lines, no final
    // break, so the two insertions give different results.
    Editor* shown = f.editor(slot);
    shown->setPlainText("abcdef\nxyz");
    select(shown, 2, 4);
    // The other pages have four lines, so the line counter tells them apart.
    QStringList others;
    for (int s = 1; s <= 5; ++s) {
        if (s != slot) {
            f.editor(s)->setPlainText(QStringLiteral("page %1\nb\nc\nd\n").arg(s));
            select(f.editor(s), 3, 3);
        }
    }
    f.notesEditor()->setPlainText("notes");
    f.showPage(slot);
    f.patterns().message("before");
    QCOMPARE(p.label("Label3"), QString("4"));

    const QByteArray name = button.toLatin1();
    click(p, name.constData());

    if (line) {
        QCOMPARE(shown->toPlainText(), "abcd" + snippet + "ef\nxyz");
        QCOMPARE(shown->textCursor().position(), 4 + int(snippet.size()) + 2);
    } else {
        QCOMPARE(shown->toPlainText(), "ab" + snippet + "cdef\nxyz\n");
        QCOMPARE(shown->textCursor().position(), shown->document()->characterCount() - 1);
    }
    QVERIFY(!shown->textCursor().hasSelection());
    QVERIFY(shown->isModifiedFlag());
    QCOMPARE(p.label("Label3"), QString("2"));
    QCOMPARE(p.message(), message);
    for (int s = 1; s <= 5; ++s) {
        if (s != slot) {
            QCOMPARE(f.editor(s)->toPlainText(), QStringLiteral("page %1\nb\nc\nd\n").arg(s));
            QCOMPARE(f.editor(s)->textCursor().position(), 3);
        }
    }
    QCOMPARE(f.notesEditor()->toPlainText(), QString("notes"));
}

void SnippetsTest::brInEmptyEditor() {
    TestProgram& p = *program_;
    Editor* e = p.form().editor(1);
    click(p, "SpeedButton1");
    QCOMPARE(e->toPlainText(), QString("<BR>"));
    QCOMPARE(e->text(), QString("<BR>\r\n"));
    QCOMPARE(e->caretPos(), QPoint(4, 0));
    QCOMPARE(p.label("Label3"), QString("1"));
    QVERIFY(e->isModifiedFlag());
}

void SnippetsTest::brAtEndAndStartOfLine() {
    TestProgram& p = *program_;
    Editor* e = p.form().editor(1);
    e->setPlainText("abc\nnext");
    select(e, 3, 3);
    click(p, "SpeedButton1");
    QCOMPARE(e->toPlainText(), QString("abc<BR>\nnext"));
    QCOMPARE(e->caretPos(), QPoint(7, 0));

    e->setPlainText("abc\nnext");
    select(e, 0, 0);
    click(p, "SpeedButton1");
    QCOMPARE(e->toPlainText(), QString("<BR>abc\nnext"));
    QCOMPARE(e->caretPos(), QPoint(7, 0)); // the end of the line, not after the snippet
}

void SnippetsTest::selectionWithBoldAndList() {
    TestProgram& p = *program_;
    Editor* e = p.form().editor(1);
    e->setPlainText("abcdef");
    e->setSelStart(2);
    e->setSelLength(2);
    click(p, "SpeedButton50");
    QCOMPARE(e->toPlainText(), QString("abcd<B></B>ef"));

    e->setPlainText("abcdef");
    e->setSelStart(2);
    e->setSelLength(2);
    click(p, "SpeedButton21");
    QCOMPARE(e->text(), u("ab<UL><LI>Položka1<LI>Položka2<LI>Položka3</UL>cdef\r\n"));
    QCOMPARE(e->toPlainText(), u("ab<UL><LI>Položka1<LI>Položka2<LI>Položka3</UL>cdef\n"));
    QCOMPARE(e->selLength(), 0);
    QCOMPARE(e->caretPos(), QPoint(0, 1));
    QCOMPARE(e->lineCount(), 1);
}

void SnippetsTest::paragraphOnPage2WhateverPage1() {
    for (int page1Caret : {0, 4, 8}) {
        program_->resetEditors();
        TestProgram& p = *program_;
        TForm1& f = p.form();
        f.editor(1)->setPlainText("page\none");
        select(f.editor(1), page1Caret, page1Caret);
        f.editor(2)->setPlainText("first\nsecond");
        select(f.editor(2), 0, 0);
        f.showPage(2);
        click(p, "SpeedButton10");
        QCOMPARE(f.editor(2)->toPlainText(), QString("<P>first\nsecond\n"));
        QCOMPARE(f.editor(1)->toPlainText(), QString("page\none"));
        QCOMPARE(f.editor(1)->textCursor().position(), page1Caret);
        QCOMPARE(p.message(), QString("Odstavec..."));
    }
}

void SnippetsTest::tableOnThirdOfThreeLines() {
    TestProgram& p = *program_;
    Editor* e = p.form().editor(1);
    e->setPlainText("one\ntwo\nthree");
    QTextCursor c = e->textCursor();
    c.setPosition(e->document()->findBlockByNumber(2).position());
    e->setTextCursor(c);
    QCOMPARE(e->selStart(), 10); // two lines and their CR LF
    click(p, "SpeedButton26");
    const QString table = "<TABLE BORDER=1><CAPTION>Tabulka_1</CAPTION> <TR><TH><TH><TH> "
                          "<TR><TH><TD><TD> <TR><TH><TD><TD> <TR><TH><TD><TD> "
                          "<TR><TH><TD><TD> </TABLE>";
    QCOMPARE(e->text(), "one\r\ntwo\r\n" + table + "three\r\n");
    QCOMPARE(e->line(2), table + "three");
    QCOMPARE(e->lineCount(), 3);
    QCOMPARE(p.message(), QString("Tabulka..."));
}

void SnippetsTest::sameMessageWrittenAgain() {
    TestProgram& p = *program_;
    Editor* e = p.form().editor(1);
    click(p, "SpeedButton14");
    QCOMPARE(p.message(), QString("Znak: <..."));
    click(p, "SpeedButton14");
    QCOMPARE(p.message(), QString("Znak: <..."));
    QCOMPARE(e->toPlainText(), QString("&lt;&lt;"));
    // The hint and the message of the double-quote button are the same text.
    click(p, "SpeedButton17");
    QCOMPARE(p.message(), p.form().button("SpeedButton17")->toolTip());
    QCOMPARE(e->toPlainText(), QString("&lt;&lt;&quot;"));
}

void SnippetsTest::focusInNotesActsOnShownPage() {
    TestProgram& p = *program_;
    TForm1& f = p.form();
    f.showPage(3);
    f.notesEditor()->setPlainText("notes");
    f.notesEditor()->setFocus();
    click(p, "SpeedButton50");
    QCOMPARE(f.editor(3)->objectName(), QString("RichEdit4"));
    QCOMPARE(f.editor(3)->toPlainText(), QString("<B></B>"));
    QCOMPARE(f.notesEditor()->toPlainText(), QString("notes"));
    QCOMPARE(f.editor(1)->toPlainText(), QString());
}

void SnippetsTest::undoButtonTakesBackOneInsertion() {
    TestProgram& p = *program_;
    Editor* e = p.form().editor(1);
    e->setPlainText("ab\ncd");
    select(e, 1, 1);
    e->setFocus();
    QTRY_VERIFY(e->hasFocus());
    click(p, "SpeedButton50"); // line insertion: "a<B></B>b"
    select(e, 10, 10);         // line 1, column 0
    click(p, "SpeedButton10"); // text insertion: adds the final break too
    QCOMPARE(e->toPlainText(), QString("a<B></B>b\n<P>cd\n"));
    click(p, "SpeedButton39"); // ZP
    QCOMPARE(e->toPlainText(), QString("a<B></B>b\ncd"));
    click(p, "SpeedButton39");
    QCOMPARE(e->toPlainText(), QString("ab\ncd"));
}

void SnippetsTest::longLineStaysWhole() {
    TestProgram& p = *program_;
    Editor* e = p.form().editor(1);
    const QString left(5000, QLatin1Char('l'));
    const QString right(5000, QLatin1Char('r'));
    e->setPlainText(left + right);
    select(e, 5000, 5000);
    click(p, "SpeedButton3");
    QCOMPARE(e->line(0), left + "<H3></H3>" + right);
    select(e, 5000, 5000);
    click(p, "SpeedButton8");
    QCOMPARE(e->text(), left + R"(<P ALIGN="JUSTIFY">)" + "<H3></H3>" + right + "\r\n");
}

// Formát > Vkládat kolem výběru: a pair around the selection or around the
// caret, in lower case, other snippets at the caret; one undo step each.
void SnippetsTest::aroundSelection_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QPoint>("selected"); // in "ab cd": from, to
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::newRow("bold around a word") << "SpeedButton50" << QPoint(3, 5) << "ab <b>cd</b>" << 12;
    QTest::newRow("bold at the caret") << "SpeedButton50" << QPoint(2, 2) << "ab<b></b> cd" << 5;
    QTest::newRow("attributes in lower case")
        << "SpeedButton5" << QPoint(0, 2) << "<p align=\"LEFT\">ab</p> cd" << 22;
    QTest::newRow("an entity at the caret") << "SpeedButton4" << QPoint(1, 1) << "a&nbsp;b cd" << 7;
    QTest::newRow("a line break for the selection")
        << "SpeedButton1" << QPoint(0, 5) << "ab cd<br>" << 9;
}

void SnippetsTest::aroundSelection() {
    QFETCH(QString, button);
    QFETCH(QPoint, selected);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QAction* around = program_->form().action("Vkldatkolemvbru1");
    QVERIFY(!around->isChecked());
    around->trigger();
    Editor* page = program_->form().editor(1);
    page->setPlainText(QStringLiteral("ab cd"));
    select(page, selected.x(), selected.y());
    click(*program_, button.toLatin1().constData());
    around->trigger();
    QCOMPARE(page->toPlainText(), text);
    QCOMPARE(page->textCursor().position(), caret);
    page->undoLast();
    QCOMPARE(page->toPlainText(), QStringLiteral("ab cd"));
}

QTEST_MAIN(SnippetsTest)
#include "tst_snippets.moc"
