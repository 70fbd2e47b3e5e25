// Formát > Pomoc při psaní tagů, typed through the page's keys: "</"
// completed to the end tag of the element still open, nothing where none is
// or where markup is no markup, one undo step for the completion, the list
// of elements, attributes and character references, and the
// indentation Return keeps. An end tag typed on after the completion goes
// over it.

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
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
    QTest::newRow("element by Enter") << none << "<im\n" << true << 0 << "<img";
    QTest::newRow("attribute by Tab") << none << "<img s\t" << true << 0 << "<img src=\"|\"";
    QTest::newRow("entity") << none << "<p>&scar\n" << true << 0 << "<p>&scaron;";
    QTest::newRow("custom element") << "<my-card></my-card>"
                                    << "\n<my\n"
                                    << true << 0 << "<my-card></my-card>\n<my-card";
    QTest::newRow("declined by Esc") << none << "<di\x1b\n" << true << 0 << "<di\n";
    QTest::newRow("typed on") << none
                              << "<di"
                                 "v>x"
                              << true << 0 << "<div>x";
    QTest::newRow("chosen, undone") << none << "<im\n" << true << 1 << "<im";
    QTest::newRow("no list in a comment") << none << "<!-- <im\n" << true << 0 << "<!-- <im\n";
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
    // Keys go where the window system sends them: to the list while it is
    // shown.
    const QWidget* list =
        p_->form().findChild<QCompleter*>(QStringLiteral("TagCompletion"))->popup();
    for (const QChar c : keys) {
        QWidget* to = list->isVisible() ? const_cast<QWidget*>(list) : page;
        const Qt::Key key = c == u'\n'     ? Qt::Key_Return
                            : c == u'\t'   ? Qt::Key_Tab
                            : c == u'\x1b' ? Qt::Key_Escape
                                           : Qt::Key_unknown;
        if (key != Qt::Key_unknown) {
            QTest::keyClick(to, key);
        } else {
            QTest::keyClick(to, c.toLatin1());
        }
    }
    for (int i = 0; i < undos; ++i) {
        QTest::keyClick(page, Qt::Key_Z, Qt::ControlModifier);
    }
    const qsizetype caret = text.contains(u'|') ? text.indexOf(u'|') : text.size();
    text.remove(u'|');
    QCOMPARE(page->toPlainText(), text);
    QCOMPARE(page->textCursor().position(), int(caret));
    QVERIFY(!list->isVisible() || undos > 0);
    if (!help) {
        item->trigger();
    }
}

QTEST_MAIN(TypingHelpTest)
#include "tst_typinghelp.moc"
