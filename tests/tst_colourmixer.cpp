// The colour mixer: start values, slider changes and the sample.

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "support/testprogram.h"

using zelvar::testing::TestProgram;

class ColourMixerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsWhite();
    void greenToZeroGivesMagenta();
    void trackClickStepsByTenAndStopsAtTheEnd();
    void keyboardReachesAndMovesSliders_data();
    void keyboardReachesAndMovesSliders();
    void cleanupTestCase() { keyboard_.reset(); }

private:
    std::unique_ptr<TestProgram> keyboard_; // one program for the keyboard rows
};

namespace {

QPlainTextEdit* sample(TestProgram& p) {
    return p.form().findChild<QPlainTextEdit*>("Memo1");
}
QScrollBar* slider(TestProgram& p, const char* name) {
    return p.form().findChild<QScrollBar*>(name);
}

} // namespace

void ColourMixerTest::startsWhite() {
    TestProgram p;
    for (const char* panel : {"Panel7", "Panel8", "Panel9"}) {
        QCOMPARE(p.label(panel), QString("255"));
    }
    QCOMPARE(sample(p)->toPlainText(), QString("R=255\nG=255\nB=255"));
    QCOMPARE(sample(p)->palette().color(QPalette::Base), QColor(255, 255, 255));
}

void ColourMixerTest::greenToZeroGivesMagenta() {
    TestProgram p;
    sample(p)->setPlainText("typed by the user");
    slider(p, "ScrollBar2")->setValue(0);
    QCOMPARE(p.label("Panel8"), QString("0"));
    QCOMPARE(sample(p)->toPlainText(), QString("R=255\nG=0\nB=255"));
    QCOMPARE(sample(p)->palette().color(QPalette::Base), QColor(255, 0, 255));
}

void ColourMixerTest::trackClickStepsByTenAndStopsAtTheEnd() {
    TestProgram p;
    QScrollBar* red = slider(p, "ScrollBar1");
    red->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(red->value(), 245);
    QCOMPARE(p.label("Panel7"), QString("245"));
    red->setValue(5);
    red->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(red->value(), 0);
    red->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(red->value(), 1);
    QCOMPARE(sample(p)->toPlainText(), QString("R=1\nG=255\nB=255"));
}

void ColourMixerTest::keyboardReachesAndMovesSliders_data() {
    QTest::addColumn<int>("tabs"); // Tab presses after reaching the red slider
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("lines"); // the sample afterwards
    QTest::newRow("red, Left") << 0 << int(Qt::Key_Left) << "R=254\nG=255\nB=255";
    QTest::newRow("red, Right stops at the end")
        << 0 << int(Qt::Key_Right) << "R=255\nG=255\nB=255";
    QTest::newRow("green, Home") << 1 << int(Qt::Key_Home) << "R=255\nG=0\nB=255";
    QTest::newRow("blue, Page Down") << 2 << int(Qt::Key_PageDown) << "R=255\nG=255\nB=245";
}

void ColourMixerTest::keyboardReachesAndMovesSliders() {
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(QString, lines);
    if (!keyboard_) {
        keyboard_ = std::make_unique<TestProgram>();
    }
    TestProgram& p = *keyboard_;
    QVERIFY(p.showAndActivate());
    for (const char* name : {"ScrollBar1", "ScrollBar2", "ScrollBar3"}) {
        slider(p, name)->setValue(255);
    }
    // From the tag list, Tab goes through the controls after it to the red slider.
    QWidget* focus = p.form().findChild<QAbstractItemView*>("ListBox1");
    focus->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), focus);
    for (int presses = 0; focus != slider(p, "ScrollBar1") && presses < 20; ++presses) {
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = QApplication::focusWidget();
    }
    QCOMPARE(focus, slider(p, "ScrollBar1"));
    // Then on to green and blue.
    for (int n = 0; n < tabs; ++n) {
        QTest::keyClick(focus, Qt::Key_Tab);
        focus = QApplication::focusWidget();
    }
    const char* names[] = {"ScrollBar1", "ScrollBar2", "ScrollBar3"};
    const char* panels[] = {"Panel7", "Panel8", "Panel9"};
    QScrollBar* moved = slider(p, names[tabs]);
    QCOMPARE(focus, moved);
    QTest::keyClick(focus, Qt::Key(key));
    QCOMPARE(p.label(panels[tabs]), QString::number(moved->value()));
    QCOMPARE(sample(p)->toPlainText(), lines);
}

QTEST_MAIN(ColourMixerTest)
#include "tst_colourmixer.moc"
