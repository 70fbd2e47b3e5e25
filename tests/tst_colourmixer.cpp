// The colour mixer: start values, slider changes and the sample.

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "support/testprogram.h"

using zelvar::testing::TestProgram;

class ColourMixerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsWhite();
    void greenToZeroGivesMagenta();
    void trackClickStepsByTenAndStopsAtTheEnd();
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

QTEST_MAIN(ColourMixerTest)
#include "tst_colourmixer.moc"
