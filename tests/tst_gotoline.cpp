// Úpravy > Přejít na řádek (Ctrl+G): the field below the pages puts the
// caret on the line (and column) typed, within the page's bounds.

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "editor/editor.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

class GoToLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void caretGoesThere_data();
    void caretGoesThere();

private:
    std::unique_ptr<TestProgram> p_;
};

void GoToLineTest::initTestCase() {
    p_ = std::make_unique<TestProgram>();
    QVERIFY(p_->showAndActivate());
}

void GoToLineTest::cleanupTestCase() {
    p_.reset();
}

void GoToLineTest::caretGoesThere_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");      // that ends the typing
    QTest::addColumn<QPoint>("place"); // the caret's column and line after it, from 0
    QTest::addColumn<bool>("open");    // the field is still there
    const int enter = Qt::Key_Return;
    QTest::newRow("line") << "3" << enter << QPoint(0, 2) << false;
    QTest::newRow("line and column") << "2:2" << enter << QPoint(1, 1) << false;
    QTest::newRow("column past the end") << "4:99" << enter << QPoint(4, 3) << false;
    QTest::newRow("line past the end") << "999" << enter << QPoint(0, 4) << false;
    QTest::newRow("line 0") << "0" << enter << QPoint(0, 0) << false;
    QTest::newRow("blanks") << " 5 : 3 " << enter << QPoint(2, 4) << false;
    QTest::newRow("not a place") << "abc" << enter << QPoint(1, 0) << true;
    QTest::newRow("Del stays in the field") << "12" << int(Qt::Key_Delete) << QPoint(1, 0) << true;
    QTest::newRow("Esc") << "3" << int(Qt::Key_Escape) << QPoint(1, 0) << false;
}

void GoToLineTest::caretGoesThere() {
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QPoint, place);
    QFETCH(bool, open);
    p_->resetEditors();
    Editor* page = p_->form().editor(1);
    page->setText(QStringLiteral("a\nbb\nccc\ndddd\neeeee\n"));
    QTextCursor start(page->document());
    start.setPosition(1);
    page->setTextCursor(start);
    page->setFocus();
    QTest::keyClick(page, Qt::Key_G, Qt::ControlModifier);
    auto* field = p_->form().findChild<QLineEdit*>(QStringLiteral("GoToLineField"));
    QVERIFY(field);
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key(key));
    QCOMPARE(page->caretPos(), place);
    QCOMPARE(field->isVisible(), open);
    QCOMPARE(page->toPlainText(), QStringLiteral("a\nbb\nccc\ndddd\neeeee\n"));
    if (!open) {
        QTRY_VERIFY(page->hasFocus());
    } else {
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!field->isVisible());
    }
}

QTEST_MAIN(GoToLineTest)
#include "tst_gotoline.moc"
