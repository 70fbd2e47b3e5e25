// Date and time stamps: the texts the regional settings give, and the menu
// items, keys and toolbar buttons that insert them at the caret of the shown
// page.

#include <QAction>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

#include "editing/datetime.h"
#include "editor/editor.h"
#include "ground/patterns.h"
#include "support/literals.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;
using zelvar::testing::u;

namespace {

void putCaret(Editor* e, int position) {
    QTextCursor c = e->textCursor();
    c.setPosition(position);
    e->setTextCursor(c);
}

void click(TestProgram& p, const char* name) {
    auto* b = qobject_cast<QToolButton*>(p.form().button(name));
    QVERIFY2(b && b->isEnabled(), name);
    QTest::mouseClick(b, Qt::LeftButton);
}

TimeConvention convention(bool leadingZero, bool twelveHour, bool markerFirst,
                          const QString& separator) {
    TimeConvention c;
    c.leadingZero = leadingZero;
    c.twelveHour = twelveHour;
    c.markerFirst = markerFirst;
    c.separator = separator;
    return c;
}

} // namespace

Q_DECLARE_METATYPE(zelvar::TimeConvention)

class DateTimeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void timeText_data();
    void timeText();
    void conventionFromFormat_data();
    void conventionFromFormat();
    void localeTexts_data();
    void localeTexts();
    void buttonsInsertAtCaret();
    void dateAndTimeInEmptyEditor();
    void dateAndTimeBetweenCharacters();
    void combinedStampReadsClockOnce_data();
    void combinedStampReadsClockOnce();
    void menuCombinedKeepsMessage();
    void keysActOnShownPage_data();
    void keysActOnShownPage();
    void regionalChangeSeenAtNextInsertion();
};

void DateTimeTest::timeText_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<TimeConvention>("convention");
    QTest::addColumn<QString>("expected");
    const QTime morning(9, 5, 3);
    const QTime evening(21, 5, 3);
    QTest::newRow("24h, no leading zero")
        << morning << convention(false, false, false, ":") << "9:05:03";
    QTest::newRow("24h, leading zero")
        << morning << convention(true, false, false, ":") << "09:05:03";
    QTest::newRow("24h, evening") << evening << convention(false, false, false, ":") << "21:05:03";
    QTest::newRow("24h, midnight")
        << QTime(0, 0, 0) << convention(false, false, false, ":") << "0:00:00";
    QTest::newRow("12h, marker after, morning")
        << morning << convention(false, true, false, ":") << "9:05:03 AM";
    QTest::newRow("12h, marker after, evening")
        << evening << convention(false, true, false, ":") << "9:05:03 PM";
    QTest::newRow("12h, marker before")
        << evening << convention(false, true, true, ":") << "PM 9:05:03";
    QTest::newRow("12h, leading zero")
        << evening << convention(true, true, false, ":") << "09:05:03 PM";
    QTest::newRow("12h, midnight")
        << QTime(0, 30, 0) << convention(false, true, false, ":") << "12:30:00 AM";
    QTest::newRow("12h, noon") << QTime(12, 0, 59) << convention(false, true, false, ":")
                               << "12:00:59 PM";
    QTest::newRow("separator .") << morning << convention(false, false, false, ".") << "9.05.03";
    QTest::newRow("separator of two characters")
        << QTime(23, 59, 9) << convention(true, false, false, " : ") << "23 : 59 : 09";
    TimeConvention marked = convention(false, true, true, ":");
    marked.am = u("dop.");
    marked.pm = u("odp.");
    QTest::newRow("own marker texts") << morning << marked << u("dop. 9:05:03");
}

void DateTimeTest::timeText() {
    QFETCH(QTime, time);
    QFETCH(TimeConvention, convention);
    QFETCH(QString, expected);
    QCOMPARE(zelvar::timeText(time, convention), expected);
}

void DateTimeTest::conventionFromFormat_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("leadingZero");
    QTest::addColumn<bool>("twelveHour");
    QTest::addColumn<bool>("markerFirst");
    QTest::addColumn<QString>("separator");
    QTest::newRow("H:mm:ss t") << "H:mm:ss t" << false << false << false << ":";
    QTest::newRow("HH:mm:ss") << "HH:mm:ss" << true << false << false << ":";
    QTest::newRow("h:mm:ss AP t") << "h:mm:ss AP t" << false << true << false << ":";
    QTest::newRow("hh:mm:ss ap") << "hh:mm:ss ap" << true << true << false << ":";
    QTest::newRow("AP h:mm") << "AP h:mm" << false << true << true << ":";
    QTest::newRow("Ah:mm:ss") << "Ah:mm:ss" << false << true << true << ":";
    QTest::newRow("HH.mm.ss") << "HH.mm.ss" << true << false << false << ".";
    QTest::newRow("H.mm") << "H.mm" << false << false << false << ".";
    // Units written after each field are no separator.
    QTest::newRow("HH 'h' mm 'min' ss 's'")
        << "HH 'h' mm 'min' ss 's'" << true << false << false << ":";
    QTest::newRow("quoted separator") << "H'h'mm'h'ss" << false << false << false << "h";
    QTest::newRow("quoted quote") << "H''mm''ss" << false << false << false << "'";
    QTest::newRow("quoted pattern letters") << "'ss mm' H-mm-ss" << false << false << false << "-";
    QTest::newRow("no hours") << "mm:ss" << false << false << false << ":";
}

void DateTimeTest::conventionFromFormat() {
    QFETCH(QString, format);
    QFETCH(bool, leadingZero);
    QFETCH(bool, twelveHour);
    QFETCH(bool, markerFirst);
    QFETCH(QString, separator);
    const TimeConvention c = timeConventionFromFormat(format);
    QCOMPARE(c.leadingZero, leadingZero);
    QCOMPARE(c.twelveHour, twelveHour);
    QCOMPARE(c.markerFirst, markerFirst);
    QCOMPARE(c.separator, separator);
}

void DateTimeTest::localeTexts_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("morning");
    QTest::addColumn<QString>("evening");
    // 9 March 2026, 9:05:03 and 21:05:03.
    QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::Czechia) << "09.03.26"
                           << "9:05:03"
                           << "21:05:03";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "09.03.26"
                            << "09:05:03"
                            << "21:05:03";
    QTest::newRow("US English") << QLocale(QLocale::English, QLocale::UnitedStates) << "3/9/26"
                                << "9:05:03 AM"
                                << "9:05:03 PM";
    QTest::newRow("Korean") << QLocale(QLocale::Korean, QLocale::SouthKorea) << "26. 3. 9."
                            << u("오전 9:05:03") << u("오후 9:05:03");
    QTest::newRow("Finnish") << QLocale(QLocale::Finnish, QLocale::Finland) << "9.3.2026"
                             << "9.05.03"
                             << "21.05.03";
    QTest::newRow("Japanese") << QLocale(QLocale::Japanese, QLocale::Japan) << "2026/03/09"
                              << "9:05:03"
                              << "21:05:03";
    // No regional settings: the program's own choice.
    QTest::newRow("C") << QLocale::c() << "9.3.2026"
                       << "9:05:03"
                       << "21:05:03";
}

void DateTimeTest::localeTexts() {
    QFETCH(QLocale, locale);
    QFETCH(QString, date);
    QFETCH(QString, morning);
    QFETCH(QString, evening);
    QCOMPARE(dateText(QDate(2026, 3, 9), locale), date);
    QCOMPARE(zelvar::timeText(QTime(9, 5, 3), timeConvention(locale)), morning);
    QCOMPARE(zelvar::timeText(QTime(21, 5, 3), timeConvention(locale)), evening);
}

void DateTimeTest::buttonsInsertAtCaret() {
    TestProgram p; // 9 March 2026, 9:05:03, Czech settings
    QVERIFY(p.showAndActivate());
    Editor* e = p.form().editor(1);
    e->setPlainText("ab\ncd");
    putCaret(e, 4);
    click(p, "SpeedButton59");
    QCOMPARE(e->toPlainText(), QString("ab\nc09.03.26d"));
    QCOMPARE(e->caretPos(), QPoint(10, 1));
    QCOMPARE(p.message(), u("Aktuální datum..."));
    QCOMPARE(p.label("Label3"), QString("2"));
    QVERIFY(e->isModifiedFlag());

    putCaret(e, 1);
    click(p, "SpeedButton60");
    QCOMPARE(e->toPlainText(), QString("a9:05:03b\nc09.03.26d"));
    QCOMPARE(e->caretPos(), QPoint(9, 0));
    QCOMPARE(p.message(), u("Aktuální čas..."));
}

void DateTimeTest::dateAndTimeInEmptyEditor() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    click(p, "SpeedButton61");
    Editor* e = p.form().editor(1);
    QCOMPARE(e->toPlainText(), QString("09.03.26 - 9:05:03"));
    QCOMPARE(e->lineCount(), 1);
    QCOMPARE(e->caretPos(), QPoint(18, 0));
    QCOMPARE(p.message(), u("Aktuální datum a čas..."));
    QCOMPARE(p.clock().reads, 1);
}

void DateTimeTest::dateAndTimeBetweenCharacters() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* e = p.form().editor(1);
    e->setPlainText("first\n<TD></TD>\nlast");
    // The caret at the end of a selection inside the second line.
    QTextCursor c = e->textCursor();
    c.setPosition(7);
    c.setPosition(10, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
    click(p, "SpeedButton61");
    QCOMPARE(e->line(1), QString("<TD>09.03.26 - 9:05:03</TD>"));
    QCOMPARE(e->line(0), QString("first"));
    QCOMPARE(e->line(2), QString("last"));
    QCOMPARE(e->caretPos(), QPoint(27, 1));
    QVERIFY(!e->textCursor().hasSelection());
}

void DateTimeTest::combinedStampReadsClockOnce_data() {
    QTest::addColumn<QString>("control"); // a button, a menu item, or a key
    QTest::addColumn<QDateTime>("first");
    QTest::addColumn<QString>("expected");
    // The clock would move on at the next reading: a second reading would
    // pair the new day with the old day's last second.
    const QDateTime beforeMidnight(QDate(2026, 3, 9), QTime(23, 59, 59));
    const QDateTime newYearsEve(QDate(2026, 12, 31), QTime(23, 59, 59));
    QTest::newRow("DT button before midnight")
        << "SpeedButton61" << beforeMidnight << "09.03.26 - 23:59:59";
    QTest::newRow("menu item on new year's eve")
        << "Vloitdatumas1" << newYearsEve << "31.12.26 - 23:59:59";
    QTest::newRow("F6 before midnight") << "F6" << beforeMidnight << "09.03.26 - 23:59:59";
}

void DateTimeTest::combinedStampReadsClockOnce() {
    QFETCH(QString, control);
    QFETCH(QDateTime, first);
    QFETCH(QString, expected);
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* e = p.form().editor(1);
    p.clock().upcoming = {first, first.addSecs(1)};
    if (control == "F6") {
        e->setFocus();
        QTest::keyClick(e, Qt::Key_F6);
    } else if (control.startsWith("SpeedButton")) {
        click(p, control.toLatin1().constData());
    } else {
        p.form().action(control.toLatin1().constData())->trigger();
    }
    QCOMPARE(e->toPlainText(), expected);
    QCOMPARE(p.clock().reads, 1);
}

void DateTimeTest::menuCombinedKeepsMessage() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    click(p, "SpeedButton50");
    QCOMPARE(p.message(), u("Tučný text..."));
    f.action("Vloitdatumas1")->trigger();
    QCOMPARE(f.editor(1)->toPlainText(), QString("<B></B>09.03.26 - 9:05:03"));
    QCOMPARE(p.message(), u("Tučný text..."));
    f.action("Vloitdatum1")->trigger();
    QCOMPARE(p.message(), u("Aktuální datum..."));
    f.action("Vloitas1")->trigger();
    QCOMPARE(p.message(), u("Aktuální čas..."));
    QCOMPARE(f.editor(1)->toPlainText(), QString("<B></B>09.03.26 - 9:05:0309.03.269:05:03"));
}

void DateTimeTest::keysActOnShownPage_data() {
    QTest::addColumn<bool>("fromNotes");
    QTest::newRow("focus in the page editor") << false;
    QTest::newRow("focus in the notes") << true;
}

void DateTimeTest::keysActOnShownPage() {
    QFETCH(bool, fromNotes);
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    f.editor(1)->setPlainText("page one");
    f.showPage(3);
    Editor* page = f.editor(3);
    page->setPlainText("xy");
    putCaret(page, 1);
    Editor* notes = f.notesEditor();
    notes->setPlainText("notes");
    QWidget* focus = fromNotes ? static_cast<QWidget*>(notes) : page;
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());
    f.patterns().message("before");

    QTest::keyClick(focus, Qt::Key_F4);
    QCOMPARE(page->toPlainText(), QString("x09.03.26y"));
    QCOMPARE(p.message(), u("Aktuální datum..."));
    // Each insertion leaves the caret at the end of the line.
    QTest::keyClick(focus, Qt::Key_F5);
    QCOMPARE(page->toPlainText(), QString("x09.03.26y9:05:03"));
    QCOMPARE(p.message(), u("Aktuální čas..."));
    p.form().patterns().message("kept");
    QTest::keyClick(focus, Qt::Key_F6);
    QCOMPARE(page->toPlainText(), QString("x09.03.26y9:05:0309.03.26 - 9:05:03"));
    QCOMPARE(p.message(), QString("kept"));

    QCOMPARE(notes->toPlainText(), QString("notes"));
    QCOMPARE(f.editor(1)->toPlainText(), QString("page one"));
}

void DateTimeTest::regionalChangeSeenAtNextInsertion() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    Editor* e = p.form().editor(1);
    p.clock().time = QDateTime(QDate(2026, 3, 9), QTime(21, 5, 3));
    p.regional().value = QLocale(QLocale::English, QLocale::UnitedStates);
    click(p, "SpeedButton60");
    QCOMPARE(e->toPlainText(), QString("9:05:03 PM"));
    p.regional().value = QLocale(QLocale::Korean, QLocale::SouthKorea);
    e->setPlainText(QString());
    click(p, "SpeedButton61");
    QCOMPARE(e->toPlainText(), u("26. 3. 9. - 오후 9:05:03"));
    p.regional().value = QLocale(QLocale::Finnish, QLocale::Finland);
    e->setPlainText(QString());
    click(p, "SpeedButton61");
    QCOMPARE(e->toPlainText(), QString("9.3.2026 - 21.05.03"));
}

QTEST_MAIN(DateTimeTest)
#include "tst_datetime.moc"
