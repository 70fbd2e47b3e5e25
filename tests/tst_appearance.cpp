// Font and text colour of the selection or of the default format, for the
// shown page and for the notes; the window colour items; word wrap of the
// shown page with its check mark and indicator.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include "editor/editor.h"
#include "ground/patterns.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

namespace {

// The format of the character at the offset (zero-based, within line 0).
QTextCharFormat formatAt(Editor* e, int position) {
    QTextCursor c(e->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

QFont fontAt(Editor* e, int position) {
    return formatAt(e, position).font().resolve(e->document()->defaultFont());
}

QFont chosenFont() {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPointSize(21);
    f.setBold(true);
    f.setItalic(true);
    return f;
}

void select(Editor* e, int start, int length) {
    e->setSelStart(start);
    e->setSelLength(length);
}

const QString kFontMessage = QString::fromUtf8("Písmo...");
const QString kColourMessage = QString::fromUtf8("Barva...");

} // namespace

class AppearanceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fontOfSelectionOnly_data();
    void fontOfSelectionOnly();
    void fontWithoutSelectionChangesDefault();
    void cancelledDialogsChangeNothing();
    void notesFontAndColourUseNotesSelection();
    void colourOfSelectionOnly_data();
    void colourOfSelectionOnly();
    void colourWithoutSelectionChangesDefault_data();
    void colourWithoutSelectionChangesDefault();
    void undoAndRedoCarryDefaultColour_data();
    void undoAndRedoCarryDefaultColour();
    void windowColoursAreARadioGroup();
    void wordWrapPerPage();
};

void AppearanceTest::fontOfSelectionOnly_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("menu") << "Psmo1";
    QTest::newRow("popup") << "Psmo2";
    QTest::newRow("toolbar") << "SpeedButton48";
}

void AppearanceTest::fontOfSelectionOnly() {
    QFETCH(QString, control);
    TestProgram p;
    TForm1& f = p.form();
    f.action("Page31")->trigger();
    Editor* e = f.editor(3);
    e->setPlainText("abcdef");
    select(e, 1, 3);
    const QFont before = fontAt(e, 0);
    p.dialogs().fontAnswers << chosenFont();
    const QByteArray name = control.toLatin1();
    if (QAbstractButton* b = f.button(name.constData())) {
        b->click();
    } else {
        f.action(name.constData())->trigger();
    }
    QCOMPARE(p.dialogs().fontDialogs, 1);
    QCOMPARE(p.message(), kFontMessage);
    for (int i = 1; i <= 3; ++i) {
        const QFont got = fontAt(e, i);
        QCOMPARE(got.family(), QString("DejaVu Serif"));
        QCOMPARE(got.pointSize(), 21);
        QVERIFY(got.bold());
        QVERIFY(got.italic());
    }
    for (int i : {0, 4, 5}) {
        QCOMPARE(fontAt(e, i), before);
    }
    // Page 1 was not the shown page and keeps its default.
    QCOMPARE(f.editor(1)->document()->defaultFont(), before);
    QCOMPARE(e->toPlainText(), QString("abcdef"));
}

void AppearanceTest::fontWithoutSelectionChangesDefault() {
    TestProgram p;
    TForm1& f = p.form();
    Editor* e = f.editor(1);
    e->setPlainText("plain\nsecond");
    select(e, 0, 1);
    p.dialogs().colorAnswers << QColor(Qt::red);
    f.action("Barva1")->trigger(); // "p" gets a colour of its own
    e->setSelStart(3);             // nothing selected
    p.dialogs().fontAnswers << chosenFont();
    f.action("Psmo1")->trigger();
    QCOMPARE(e->document()->defaultFont().family(), QString("DejaVu Serif"));
    QCOMPARE(e->document()->defaultFont().pointSize(), 21);
    // Text without a font of its own shows the new default.
    QCOMPARE(fontAt(e, 2).family(), QString("DejaVu Serif"));
    QVERIFY(fontAt(e, 2).bold());
    QCOMPARE(fontAt(e, 7).family(), QString("DejaVu Serif"));
    QVERIFY(!formatAt(e, 2).hasProperty(QTextFormat::FontFamilies));
    // The other page keeps its font.
    QVERIFY(f.editor(2)->document()->defaultFont().family() != QString("DejaVu Serif"));
    QCOMPARE(p.message(), kFontMessage);
}

void AppearanceTest::cancelledDialogsChangeNothing() {
    TestProgram p;
    TForm1& f = p.form();
    Editor* e = f.editor(1);
    e->setPlainText("abc");
    select(e, 0, 2);
    const QFont defaultBefore = e->document()->defaultFont();
    const QColor textBefore = e->palette().color(QPalette::Text);
    f.action("Psmo2")->trigger(); // no answer: cancelled
    QCOMPARE(p.message(), kFontMessage);
    f.action("Pozad1")->trigger();
    QCOMPARE(p.message(), kColourMessage);
    QCOMPARE(p.dialogs().fontDialogs, 1);
    QCOMPARE(p.dialogs().colorDialogs, 1);
    QVERIFY(!formatAt(e, 0).hasProperty(QTextFormat::FontFamilies));
    QVERIFY(!formatAt(e, 0).hasProperty(QTextFormat::ForegroundBrush));
    e->setSelStart(1);
    f.button("SpeedButton48")->click();
    f.button("SpeedButton49")->click();
    QCOMPARE(e->document()->defaultFont(), defaultBefore);
    QCOMPARE(e->palette().color(QPalette::Text), textBefore);
    QCOMPARE(e->toPlainText(), QString("abc"));
}

void AppearanceTest::notesFontAndColourUseNotesSelection() {
    TestProgram p;
    TForm1& f = p.form();
    Editor* page = f.editor(1);
    page->setPlainText("page text");
    select(page, 0, 4);
    Editor* notes = f.notesEditor();
    notes->setPlainText("my notes");
    select(notes, 3, 5);
    p.dialogs().fontAnswers << chosenFont();
    f.action("Psmo3")->trigger();
    QCOMPARE(p.message(), kFontMessage);
    QCOMPARE(fontAt(notes, 3).family(), QString("DejaVu Serif"));
    QCOMPARE(fontAt(notes, 7).family(), QString("DejaVu Serif"));
    QVERIFY(fontAt(notes, 1).family() != QString("DejaVu Serif"));
    QVERIFY(!formatAt(page, 0).hasProperty(QTextFormat::FontFamilies));

    p.dialogs().colorAnswers << QColor(0, 128, 0);
    f.action("Pozad2")->trigger();
    QCOMPARE(p.message(), kColourMessage);
    QCOMPARE(formatAt(notes, 4).foreground().color(), QColor(0, 128, 0));
    QVERIFY(!formatAt(notes, 0).hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!formatAt(page, 0).hasProperty(QTextFormat::ForegroundBrush));

    // Without a selection in the notes, their default format changes, not
    // the page's, even with text selected there.
    notes->setSelStart(0);
    p.dialogs().colorAnswers << QColor(0, 0, 128);
    f.action("Pozad2")->trigger();
    QCOMPARE(notes->palette().color(QPalette::Text), QColor(0, 0, 128));
    QVERIFY(page->palette().color(QPalette::Text) != QColor(0, 0, 128));
    QVERIFY(!formatAt(page, 0).hasProperty(QTextFormat::ForegroundBrush));
}

void AppearanceTest::colourOfSelectionOnly_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("menu") << "Barva1";
    QTest::newRow("popup") << "Pozad1";
    QTest::newRow("toolbar") << "SpeedButton49";
}

void AppearanceTest::colourOfSelectionOnly() {
    QFETCH(QString, control);
    TestProgram p;
    TForm1& f = p.form();
    f.action("Page51")->trigger();
    Editor* e = f.editor(5);
    e->setPlainText("one\ntwo");
    select(e, 2, 4); // "e", the line break, "t"
    p.dialogs().colorAnswers << QColor(200, 10, 30);
    const QByteArray name = control.toLatin1();
    if (QAbstractButton* b = f.button(name.constData())) {
        b->click();
    } else {
        f.action(name.constData())->trigger();
    }
    QCOMPARE(p.dialogs().colorDialogs, 1);
    QCOMPARE(p.message(), kColourMessage);
    QCOMPARE(formatAt(e, 2).foreground().color(), QColor(200, 10, 30));
    QCOMPARE(formatAt(e, 4).foreground().color(), QColor(200, 10, 30)); // "t"
    QVERIFY(!formatAt(e, 1).hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!formatAt(e, 5).hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!formatAt(f.editor(1), 0).hasProperty(QTextFormat::ForegroundBrush));
}

void AppearanceTest::colourWithoutSelectionChangesDefault_data() {
    QTest::addColumn<int>("slot"); // 0: the notes pad
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("load");
    QTest::addColumn<QString>("file");
    QTest::newRow("page") << 2 << QStringLiteral("SpeedButton49") << QStringLiteral("Uloit1")
                          << QStringLiteral("Nast1") << QStringLiteral("staticka_pamet2.txt");
    QTest::newRow("notes") << 0 << QStringLiteral("Pozad2") << QStringLiteral("SpeedButton34")
                           << QStringLiteral("SpeedButton33") << QStringLiteral("poznamky.txt");
}

// The default colour belongs to the text: characters without a colour of
// their own and text typed later carry it, the rich-text file keeps it and
// loading the file gives it back.
void AppearanceTest::colourWithoutSelectionChangesDefault() {
    QFETCH(int, slot);
    QFETCH(QString, control);
    QFETCH(QString, save);
    QFETCH(QString, load);
    QFETCH(QString, file);
    TestProgram p;
    TForm1& f = p.form();
    auto run = [&f](const QString& name) {
        const QByteArray n = name.toLatin1();
        if (QAbstractButton* b = f.button(n.constData())) {
            b->click();
        } else {
            f.action(n.constData())->trigger();
        }
    };
    if (slot > 0) {
        f.action(qPrintable(QStringLiteral("Page%1").arg(slot) + QLatin1Char('1')))->trigger();
    }
    Editor* e = slot > 0 ? f.editor(slot) : f.notesEditor();
    const QColor own(200, 0, 0);
    const QColor chosen(10, 20, 200);
    e->setPlainText("ab\ncd");
    select(e, 0, 1);
    p.dialogs().colorAnswers << own << chosen;
    run(control); // "a" gets a colour of its own
    e->setSelStart(3);
    run(control);
    QCOMPARE(p.message(), kColourMessage);
    QCOMPARE(e->palette().color(QPalette::Active, QPalette::Text), chosen);
    QCOMPARE(e->palette().color(QPalette::Inactive, QPalette::Text), chosen);
    QCOMPARE(formatAt(e, 0).foreground().color(), own);
    QCOMPARE(formatAt(e, 1).foreground().color(), chosen);
    QCOMPARE(formatAt(e, 3).foreground().color(), chosen); // "c"
    for (Editor* other : {f.editor(1), f.editor(3)}) {
        QCOMPARE(other->palette().color(QPalette::Text), QColor(Qt::black));
        QVERIFY(!formatAt(other, 0).hasProperty(QTextFormat::ForegroundBrush));
    }
    // Text typed at the end, and on a new line, takes the default colour.
    QTextCursor end = e->textCursor();
    end.movePosition(QTextCursor::End);
    e->setTextCursor(end);
    QTest::keyClicks(e, "x");
    QTest::keyClick(e, Qt::Key_Return);
    QTest::keyClicks(e, "y");
    QCOMPARE(e->toPlainText(), QString("ab\ncdx\ny"));
    QCOMPARE(formatAt(e, 5).foreground().color(), chosen);
    QCOMPARE(formatAt(e, 7).foreground().color(), chosen);

    // A later default colour replaces the earlier one, not the own colour.
    const QColor later(0, 120, 40);
    p.dialogs().colorAnswers << later;
    run(control);
    QCOMPARE(formatAt(e, 0).foreground().color(), own);
    QCOMPARE(formatAt(e, 1).foreground().color(), later);
    QCOMPARE(formatAt(e, 7).foreground().color(), later);

    run(save);
    const QByteArray rtf = zelvar::testing::readAll(p.path(file));
    QVERIFY2(rtf.contains("\\red0\\green120\\blue40;"), rtf.constData());
    QVERIFY(rtf.contains("\\red200\\green0\\blue0;"));
    // An emptied editor keeps its default colour for what is typed next.
    e->clearAll();
    QTest::keyClicks(e, "z");
    QCOMPARE(formatAt(e, 0).foreground().color(), later);
    p.dialogs().answers << MsgButton::Ok;
    run(load);
    QCOMPARE(e->toPlainText(), QString("ab\ncdx\ny"));
    QCOMPARE(formatAt(e, 0).foreground().color(), own);
    for (int i : {1, 3, 5, 7}) {
        QCOMPARE(formatAt(e, i).foreground().color(), later);
    }
    // Loaded text without a colour of its own (a plain-text file) shows the
    // default colour, and keeps it when saved again.
    zelvar::testing::writeAll(p.path(file), "plain\r\n");
    p.dialogs().answers << MsgButton::Ok;
    run(load);
    QCOMPARE(e->toPlainText(), QString("plain\n"));
    QCOMPARE(formatAt(e, 2).foreground().color(), later);
    run(save);
    QVERIFY(zelvar::testing::readAll(p.path(file)).contains("\\red0\\green120\\blue40;"));
}

void AppearanceTest::undoAndRedoCarryDefaultColour_data() {
    QTest::addColumn<QList<QColor>>("chosen"); // default colours, one after another
    QTest::addColumn<QList<int>>("keys");      // Ctrl+Z and Ctrl+Y, in order
    QTest::addColumn<QColor>("shown");         // invalid: none, the theme's text colour
    const QColor blue(10, 20, 200), green(0, 120, 40);
    const int undo = Qt::Key_Z, redo = Qt::Key_Y;
    QTest::newRow("undone") << QList<QColor>{blue} << QList<int>{undo} << QColor();
    QTest::newRow("undone and redone") << QList<QColor>{blue} << QList<int>{undo, redo} << blue;
    QTest::newRow("second undone") << QList<QColor>{blue, green} << QList<int>{undo} << blue;
}

// Screen, file and text typed next agree on the default colour whichever
// way undo goes.
void AppearanceTest::undoAndRedoCarryDefaultColour() {
    QFETCH(QList<QColor>, chosen);
    QFETCH(QList<int>, keys);
    QFETCH(QColor, shown);
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    Editor* e = f.editor(1);
    e->setPlainText("ab");
    e->setFocus();
    for (const QColor& c : chosen) {
        p.dialogs().colorAnswers << c;
        f.button("SpeedButton49")->click();
    }
    for (int key : keys) {
        QTest::keyClick(e, Qt::Key(key), Qt::ControlModifier);
    }
    QCOMPARE(e->toPlainText(), QString("ab"));
    const QColor theme = QApplication::palette(e).color(QPalette::Text);
    QCOMPARE(e->palette().color(QPalette::Active, QPalette::Text), shown.isValid() ? shown : theme);
    QTextCursor end = e->textCursor();
    end.movePosition(QTextCursor::End);
    e->setTextCursor(end);
    QTest::keyClicks(e, "x");
    QCOMPARE(e->colourOf(formatAt(e, 2)), shown.isValid() ? shown : theme);
    QCOMPARE(formatAt(e, 2).hasProperty(QTextFormat::ForegroundBrush), shown.isValid());
    f.action("Uloit1")->trigger();
    const QByteArray rtf = zelvar::testing::readAll(p.path("staticka_pamet1.txt"));
    for (const QColor& c : chosen) {
        const QByteArray entry = QStringLiteral("\\red%1\\green%2\\blue%3;")
                                     .arg(c.red())
                                     .arg(c.green())
                                     .arg(c.blue())
                                     .toLatin1();
        QCOMPARE(rtf.contains(entry), c == shown);
    }
}

void AppearanceTest::windowColoursAreARadioGroup() {
    TestProgram p;
    TForm1& f = p.form();
    const char* items[] = {"Color11", "Color21", "Color31", "Color41", "Color51"};
    auto checked = [&] {
        QStringList on;
        for (const char* item : items) {
            if (f.action(item)->isChecked()) {
                on << QLatin1String(item);
            }
        }
        return on;
    };
    QCOMPARE(checked(), QStringList{"Color11"});
    const QColor start = f.palette().color(QPalette::Window);
    const QColor editorBase = f.editor(1)->palette().color(QPalette::Base);
    const QColor notesBase = f.notesEditor()->palette().color(QPalette::Base);
    auto* notesBox = f.findChild<QGroupBox*>(QStringLiteral("GroupBox1"));

    f.action("Color41")->trigger();
    QCOMPARE(checked(), QStringList{"Color41"});
    const QColor tooltip = QApplication::palette().color(QPalette::ToolTipBase);
    QCOMPARE(f.palette().color(QPalette::Window), tooltip);
    QCOMPARE(notesBox->palette().color(QPalette::Window), tooltip);
    QCOMPARE(f.editor(1)->palette().color(QPalette::Base), editorBase);
    QCOMPARE(f.notesEditor()->palette().color(QPalette::Base), notesBase);
    QCOMPARE(p.message(), QString::fromUtf8("Změna vzhledu..."));

    // Choosing the checked item again keeps it the one checked.
    p.form().patterns().message("before");
    f.action("Color41")->trigger();
    QCOMPARE(checked(), QStringList{"Color41"});
    QCOMPARE(p.message(), QString::fromUtf8("Změna vzhledu..."));

    f.action("Color31")->trigger();
    QCOMPARE(checked(), QStringList{"Color31"});
    QCOMPARE(f.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Light));

    f.action("Color21")->trigger();
    QCOMPARE(checked(), QStringList{"Color21"});
    const QColor border = f.palette().color(QPalette::Window);
    f.action("Color51")->trigger();
    QCOMPARE(checked(), QStringList{"Color51"});
    const QColor caption = f.palette().color(QPalette::Window);
    QVERIFY(border != caption);
    QVERIFY(border != start && caption != start);

    // "Color 1" gives the window its usual background back.
    f.action("Color11")->trigger();
    QCOMPARE(checked(), QStringList{"Color11"});
    QCOMPARE(f.palette().color(QPalette::Window), start);
}

void AppearanceTest::wordWrapPerPage() {
    TestProgram p;
    TForm1& f = p.form();
    QAction* wrap = f.action("Zalamovndk1");
    const QString kWrapMessage = QString::fromUtf8("Zalamování řádků...");
    wrap->trigger();
    QVERIFY(f.editor(1)->wordWrap());
    QVERIFY(wrap->isChecked());
    QCOMPARE(p.label("Label7"), QString("OK"));
    QCOMPARE(p.message(), kWrapMessage);
    const QString text = "a long line of text";
    f.editor(1)->setPlainText(text);

    f.action("Page21")->trigger();
    QVERIFY(!wrap->isChecked());
    QCOMPARE(p.label("Label7"), QString("NO"));
    wrap->trigger();
    QVERIFY(f.editor(2)->wordWrap());
    QVERIFY(wrap->isChecked());
    QCOMPARE(p.label("Label7"), QString("OK"));

    f.action("Page11")->trigger();
    QVERIFY(wrap->isChecked());
    QCOMPARE(p.label("Label7"), QString("OK"));

    // Two clicks in a row leave everything as it was.
    wrap->trigger();
    wrap->trigger();
    QVERIFY(f.editor(1)->wordWrap());
    QVERIFY(wrap->isChecked());
    QCOMPARE(p.label("Label7"), QString("OK"));
    QCOMPARE(p.message(), kWrapMessage);
    wrap->trigger();
    QVERIFY(!f.editor(1)->wordWrap());
    QVERIFY(!wrap->isChecked());
    QCOMPARE(p.label("Label7"), QString("NO"));
    QCOMPARE(f.editor(1)->toPlainText(), text);
    // The other pages and the notes keep their own state.
    QVERIFY(f.editor(2)->wordWrap());
    QVERIFY(!f.editor(3)->wordWrap());
    QVERIFY(!f.notesEditor()->wordWrap());
}

QTEST_MAIN(AppearanceTest)
#include "tst_appearance.moc"
