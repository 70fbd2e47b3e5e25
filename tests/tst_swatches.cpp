// The colour swatches: pointing names the colour, a click inserts its code
// into the shown page at the caret.

#include <QLabel>
#include <QTest>

#include "editor/editor.h"
#include "support/testprogram.h"
#include "tools/swatches.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

class SwatchesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everySwatchNamesAndInserts();
    void clickInsertsBeforeTheCaretColumn();
    void onlyTheShownPageChanges();
};

namespace {

QLabel* swatch(TestProgram& p, const char* name) {
    return p.form().findChild<QLabel*>(name);
}

} // namespace

void SwatchesTest::everySwatchNamesAndInserts() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    for (const SwatchRow& row : kSwatches) {
        QLabel* s = swatch(p, row.panel);
        QVERIFY2(s && s->isVisible(), row.panel);
        QCOMPARE(s->size(), QSize(7, 17));
        QCOMPARE(s->cursor().shape(), Qt::PointingHandCursor);
        p.form().editor(1)->clearAll();
        QTest::mouseMove(s, QPoint(3, 8));
        QCOMPARE(p.message(), QString::fromUtf8(row.name));
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(3, 8));
        QCOMPARE(p.form().editor(1)->text(), QString::fromLatin1(row.code) + "\r\n");
        QCOMPARE(p.message(), QString::fromUtf8(row.name)); // the click writes no message
    }
    // The panel that follows a window-system colour still inserts its own code.
    QCOMPARE(QString::fromLatin1(kSwatches[5].code), QString("#0080FF"));
}

void SwatchesTest::clickInsertsBeforeTheCaretColumn() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* e = p.form().editor(1);
    e->setPlainText("first\n<FONT COLOR=\"\">x");
    e->setSelStart(7 + 13); // line 1, column 13: between the quotes
    QTest::mouseClick(swatch(p, "Panel2"), Qt::LeftButton, {}, QPoint(3, 8));
    QCOMPARE(e->line(1), QString("<FONT COLOR=\"#FF0000\">x"));
    QCOMPARE(e->line(0), QString("first"));
}

void SwatchesTest::onlyTheShownPageChanges() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    p.form().action("Page41")->trigger();
    p.form().notesEditor()->setFocus();
    QTest::mouseMove(swatch(p, "Panel13"), QPoint(3, 8));
    QTest::mouseClick(swatch(p, "Panel13"), Qt::LeftButton, {}, QPoint(3, 8));
    QCOMPARE(p.form().editor(4)->line(0), QString("#FFFF00"));
    for (int slot : {1, 2, 3, 5}) {
        QCOMPARE(p.form().editor(slot)->lineCount(), 0);
    }
    QCOMPARE(p.form().notesEditor()->lineCount(), 0);
    QCOMPARE(p.message(), QString::fromUtf8("Žlutá..."));
}

QTEST_MAIN(SwatchesTest)
#include "tst_swatches.moc"
