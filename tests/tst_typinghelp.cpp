// Formát > Pomoc při psaní tagů, typed through the page's keys: "</"
// completed to the end tag of the element still open, nothing where none is
// or where markup is no markup, one undo step for the completion, and the
// indentation Return keeps. An end tag typed on after the completion goes
// over it.

#include <QAction>
#include <QTest>
#include <memory>

#include "editor/editor.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

class TypingHelpTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        p_ = std::make_unique<TestProgram>();
        QVERIFY(p_->showAndActivate());
    }
    void cleanupTestCase() { p_.reset(); }
    void typed_data();
    void typed();

private:
    std::unique_ptr<TestProgram> p_;
};

void TypingHelpTest::typed_data() {
    QTest::addColumn<QString>("before"); // the page's text, the caret at its end
    QTest::addColumn<QString>("keys");   // "\n" is Return
    QTest::addColumn<bool>("help");      // the item checked
    QTest::addColumn<int>("undos");      // Ctrl+Z afterwards
    QTest::addColumn<QString>("text");   // the page then, the caret at its end
    const QString none;
    QTest::newRow("list item") << none << "<ul><li>x</" << true << 0 << "<ul><li>x</li>";
    QTest::newRow("inner one closed")
        << none << "<div><p>a</p></" << true << 0 << "<div><p>a</p></div>";
    QTest::newRow("void element") << none << "<P>a<br></" << true << 0 << "<P>a<br></P>";
    QTest::newRow("closes itself") << none << "<b><x/></" << true << 0 << "<b><x/></b>";
    QTest::newRow("over lines") << "<table>\n<tr><td>1</td>\n"
                                << "</" << true << 0 << "<table>\n<tr><td>1</td>\n</tr>";
    QTest::newRow("typed over") << none << "<b>x</b>y" << true << 0 << "<b>x</b>y";
    QTest::newRow("typed otherwise") << none << "<b>x</i" << true << 0 << "<b>x</b>i";
    QTest::newRow("none open") << none << "<p>a</p></" << true << 0 << "<p>a</p></";
    QTest::newRow("in a comment") << none << "<p><!-- </" << true << 0 << "<p><!-- </";
    QTest::newRow("in a script") << none << "<script>a = 1 </" << true << 0 << "<script>a = 1 </";
    QTest::newRow("undone") << none << "<em>x</" << true << 1 << "<em>x</";
    QTest::newRow("off") << none << "<em>x</" << false << 0 << "<em>x</";
    QTest::newRow("blanks kept") << none << "  <li>a\nb\n" << true << 0 << "  <li>a\n  b\n  ";
    QTest::newRow("tabs kept") << "\t\t<p>"
                               << "\n"
                               << true << 0 << "\t\t<p>\n\t\t";
    QTest::newRow("indentation off") << "  <li>a"
                                     << "\n"
                                     << false << 0 << "  <li>a\n";
}

void TypingHelpTest::typed() {
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(bool, help);
    QFETCH(int, undos);
    QFETCH(QString, text);
    p_->resetEditors();
    QAction* item = p_->form().action("Pomocpipsantag1");
    if (item->isChecked() != help) {
        item->trigger();
    }
    Editor* page = p_->form().editor(1);
    page->setPlainText(before);
    page->moveCursor(QTextCursor::End);
    page->setFocus();
    const QStringList lines = keys.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(page, Qt::Key_Return);
        }
        QTest::keyClicks(page, lines[i]);
    }
    for (int i = 0; i < undos; ++i) {
        QTest::keyClick(page, Qt::Key_Z, Qt::ControlModifier);
    }
    QCOMPARE(page->toPlainText(), text);
    QCOMPARE(page->textCursor().position(), int(text.size()));
    if (!help) {
        item->trigger();
    }
}

QTEST_MAIN(TypingHelpTest)
#include "tst_typinghelp.moc"
