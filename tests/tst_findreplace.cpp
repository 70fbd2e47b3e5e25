// Úpravy > Hledat a nahradit (Ctrl+H), driven through the panel's controls:
// what is counted and selected as the text is typed, F3 and Shift+F3,
// Nahradit and Nahradit vše (one undo step).

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "editor/editor.h"
#include "editor/viewlayers.h"
#include "support/literals.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;
using zelvar::testing::u;

class FindReplaceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        p_ = std::make_unique<TestProgram>();
        QVERIFY(p_->showAndActivate());
    }
    void cleanupTestCase() { p_.reset(); }
    void findAndReplace_data();
    void findAndReplace();

private:
    template <typename T> T* control(const char* name) {
        return p_->form().findChild<T*>(QString::fromLatin1(name));
    }
    std::unique_ptr<TestProgram> p_;
};

void FindReplaceTest::findAndReplace_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("selected"); // before Ctrl+H: from, to
    QTest::addColumn<QString>("options"); // c case, w whole words, r expression, s selection
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("then"); // all, replace, F3, Shift+F3 or nothing
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("after");    // the text afterwards
    QTest::addColumn<QPoint>("selection"); // afterwards
    QTest::addColumn<QString>("note");

    const QString cats = u("kočka Kočka kočkami");
    const QPoint none(-1, -1);
    QTest::newRow("plain") << cats << QPoint(0, 0) << "" << u("kočka") << "pes"
                           << "all" << u("3 výskyty") << "pes pes pesmi" << none << "";
    QTest::newRow("case") << cats << QPoint(0, 0) << "c" << u("kočka") << "pes"
                          << "all" << u("2 výskyty") << u("pes Kočka pesmi") << none << "";
    QTest::newRow("whole words") << cats << QPoint(0, 0) << "w" << u("kočka") << "pes"
                                 << "all" << u("2 výskyty") << u("pes pes kočkami") << none << "";
    QTest::newRow("captures") << "<b>a</b> <B>bb</B>" << QPoint(0, 0) << "r"
                              << "<b>(.*?)</b>"
                              << "<strong>\\1</strong>\\n"
                              << "all" << u("2 výskyty")
                              << "<strong>a</strong>\n <strong>bb</strong>\n"
                              << none << "";
    QTest::newRow("line starts") << "a\nb" << QPoint(0, 0) << "r"
                                 << "^"
                                 << "> "
                                 << "all" << u("2 výskyty") << "> a\n> b" << none << "";
    QTest::newRow("in selection") << "a a a\na a" << QPoint(6, 9) << "s"
                                  << "a"
                                  << "b"
                                  << "all" << u("2 výskyty") << "a a a\nb b" << none << "";
    QTest::newRow("replace, then next")
        << "ab ab ab" << QPoint(3, 3) << ""
        << "ab"
        << "x"
        << "replace" << u("3 výskyty") << "ab x ab" << QPoint(5, 7) << "";
    QTest::newRow("from the caret, round") << "ab ab" << QPoint(5, 5) << ""
                                           << "ab"
                                           << ""
                                           << "nothing" << u("2 výskyty") << "ab ab" << QPoint(0, 2)
                                           << u("hledání pokračovalo od začátku");
    QTest::newRow("F3") << "ab ab" << QPoint(0, 0) << ""
                        << "ab"
                        << ""
                        << "F3" << u("2 výskyty") << "ab ab" << QPoint(3, 5) << "";
    QTest::newRow("Shift+F3, round") << "ab ab" << QPoint(0, 0) << ""
                                     << "ab"
                                     << ""
                                     << "Shift+F3" << u("2 výskyty") << "ab ab" << QPoint(3, 5)
                                     << u("hledání pokračovalo od konce");
    QTest::newRow("no match") << cats << QPoint(0, 0) << ""
                              << "pes"
                              << "x"
                              << "all"
                              << "nenalezeno" << cats << QPoint(0, 0) << "";
    QTest::newRow("bad expression") << cats << QPoint(0, 0) << "r"
                                    << "("
                                    << "x"
                                    << "all"
                                    << "missing closing parenthesis" << cats << QPoint(0, 0) << "";
    QTest::newRow("runaway expression")
        << QString(5000, u'a') + u'!' << QPoint(0, 0) << "r"
        << "(a|aa)+$"
        << "x"
        << "all"
        << "nenalezeno" << QString(5000, u'a') + u'!' << QPoint(0, 0) << "";
}

void FindReplaceTest::findAndReplace() {
    QFETCH(QString, text);
    QFETCH(QPoint, selected);
    QFETCH(QString, options);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(QString, then);
    QFETCH(QString, count);
    QFETCH(QString, after);
    QFETCH(QPoint, selection);
    QFETCH(QString, note);
    p_->resetEditors();
    Editor* page = p_->form().editor(1);
    page->setText(text);
    QTextCursor caret(page->document());
    caret.setPosition(selected.x());
    caret.setPosition(selected.y(), QTextCursor::KeepAnchor);
    page->setTextCursor(caret);
    page->setFocus();
    QTest::keyClick(page, Qt::Key_H, Qt::ControlModifier);
    auto* field = control<QLineEdit>("FindField");
    QTRY_VERIFY(field->hasFocus());
    const char* boxes[] = {"MatchCaseOption", "WholeWordsOption", "RegularExpressionOption",
                           "InSelectionOption"};
    for (int i = 0; i < 4; ++i) {
        control<QCheckBox>(boxes[i])->setChecked(options.contains(QStringLiteral("cwrs")[i]));
    }
    field->clear();
    control<QLineEdit>("ReplaceField")->setText(replacement);
    field->insert(find); // as one edit: no count of a shorter text is seen

    QTRY_COMPARE(control<QLabel>("FindCount")->text(), count);

    if (then == u"all") {
        control<QPushButton>("ReplaceAllButton")->click();
        QTRY_COMPARE(page->toPlainText(), after);
        if (after != text) {
            QCOMPARE(p_->message(), u("Nahrazeno výskytů: %1...").arg(count.section(u' ', 0, 0)));
            page->undoLast(); // the whole replacement is one step
            QCOMPARE(page->toPlainText(), text);
        }
    } else {
        if (then == u"replace") {
            control<QPushButton>("ReplaceButton")->click();
        } else if (then != u"nothing") {
            page->setFocus();
            QTest::keyClick(page, Qt::Key_F3, then == u"F3" ? Qt::NoModifier : Qt::ShiftModifier);
        }
        QTRY_COMPARE(page->textCursor().selectionStart(), selection.x());
        QCOMPARE(page->textCursor().selectionEnd(), selection.y());
        QCOMPARE(page->toPlainText(), after);
    }
    QCOMPARE(control<QLabel>("FindNote")->text(), note);
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!field->isVisible());
    QVERIFY(page->layers().marks(ViewLayers::SearchMarks).isEmpty());
}

QTEST_MAIN(FindReplaceTest)
#include "tst_findreplace.moc"
