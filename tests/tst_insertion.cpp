// The two insertion primitives of the editor: the line insertion after
// CaretPos and the text insertion at SelStart. Each must leave exactly the
// text, caret and selection of reading, changing and writing back the caret
// line or the whole text, while editing in place: the formatting elsewhere
// stays, and one insertion is one change and one undo step.

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "editor/editor.h"

using zelvar::Editor;

namespace {

enum class Primitive { Line, Text };

// Puts the text in and selects from anchor to position (Qt positions).
void prepare(Editor& e, const QString& text, int anchor, int position) {
    e.setPlainText(text);
    QTextCursor c = e.textCursor();
    c.setPosition(anchor);
    c.setPosition(position, QTextCursor::KeepAnchor);
    e.setTextCursor(c);
}

// The long way round, as the insertions are described: read the caret line
// or Lines.Text, change the string, write it back whole, and put the caret
// where writing back leaves it.
void rewriteTheLongWay(Editor& e, Primitive primitive, const QString& snippet) {
    if (primitive == Primitive::Line) {
        const QPoint caret = e.caretPos();
        QString line = e.line(caret.y());
        line.insert(qMin<qsizetype>(caret.x(), line.size()), snippet);
        e.setLine(caret.y(), line);
        const QTextBlock block = e.document()->findBlockByNumber(caret.y());
        QTextCursor c = e.textCursor();
        c.setPosition(block.position() + block.length() - 1);
        e.setTextCursor(c);
    } else {
        QString text = e.text();
        text.insert(e.selStart(), snippet);
        e.setText(text); // leaves the caret at the end
        QTextCursor c = e.textCursor();
        c.movePosition(QTextCursor::End);
        e.setTextCursor(c);
    }
}

void insert(Editor& e, Primitive primitive, const QString& snippet) {
    if (primitive == Primitive::Line) {
        e.insertInCaretLine(snippet);
    } else {
        e.insertAtSelStart(snippet);
    }
}

// The character format of the character at a position.
QTextCharFormat formatAt(const Editor& e, int position) {
    QTextCursor c(e.document());
    c.setPosition(position);
    c.setPosition(position + 1, QTextCursor::KeepAnchor);
    return c.charFormat();
}

void applyFormat(Editor& e, int from, int to, const QTextCharFormat& format) {
    QTextCursor c(e.document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    c.mergeCharFormat(format);
}

} // namespace

Q_DECLARE_METATYPE(Primitive)

class InsertionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sameAsWritingBack_data();
    void sameAsWritingBack();
    void lineInsertionCases();
    void textInsertionFinalBreak_data();
    void textInsertionFinalBreak();
    void lineInsertionAtGivenColumn();
    void longLinesStayWhole();
    void formattingElsewhereKept();
    void oneChangeAndModified_data();
    void oneChangeAndModified();
    void emptyTextStillCountsAsChange();
    void oneUndoStepEach_data();
    void oneUndoStepEach();
};

void InsertionTest::sameAsWritingBack_data() {
    QTest::addColumn<Primitive>("primitive");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("snippet");

    struct Case {
        const char* name;
        QString text;
        int anchor;
        int position;
    };
    const QString longLine(9000, QLatin1Char('w'));
    const QList<Case> cases{
        {"empty editor", QString(), 0, 0},
        {"start of the only line", "abc", 0, 0},
        {"end of the only line", "abc", 3, 3},
        {"selection in the line", "abcdef", 2, 4},
        {"backward selection", "abcdef", 4, 2},
        {"start of the third line", "one\ntwo\nthree", 8, 8},
        {"end of a text without final break", "one\ntwo", 7, 7},
        {"end of a text with final break", "one\ntwo\n", 8, 8},
        {"end of the last counted line", "one\ntwo\n", 7, 7},
        {"only a line break, first line", "\n", 0, 0},
        {"only a line break, empty last line", "\n", 1, 1},
        {"selection over a line break", "abc\ndef", 1, 5},
        {"everything selected", "abc\ndef\n", 0, 8},
        {"empty lines between", "a\n\n\nb", 3, 3},
        {"tabs and blanks", "\tx  y\t\nz", 3, 3},
        {"middle of a long line", longLine + "\nend", 4500, 4500},
        {"after a long line", longLine + "\nend", 9003, 9003},
    };
    for (Primitive primitive : {Primitive::Line, Primitive::Text}) {
        const char* kind = primitive == Primitive::Line ? "line" : "text";
        for (const Case& c : cases) {
            QTest::addRow("%s: %s", kind, c.name)
                << primitive << c.text << c.anchor << c.position << QStringLiteral("<BR>");
        }
        QTest::addRow("%s: accented snippet", kind)
            << primitive << QStringLiteral("ab\ncd") << 4 << 4
            << QString::fromUtf8("<DL><DT>Položka<DD></DL>");
    }
}

void InsertionTest::sameAsWritingBack() {
    QFETCH(Primitive, primitive);
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, snippet);

    Editor local;
    Editor rewritten;
    prepare(local, text, anchor, position);
    prepare(rewritten, text, anchor, position);
    insert(local, primitive, snippet);
    rewriteTheLongWay(rewritten, primitive, snippet);

    QCOMPARE(local.toPlainText(), rewritten.toPlainText());
    QCOMPARE(local.text(), rewritten.text());
    QCOMPARE(local.lineCount(), rewritten.lineCount());
    QCOMPARE(local.textCursor().position(), rewritten.textCursor().position());
    QVERIFY(!local.textCursor().hasSelection());
    QCOMPARE(local.caretPos(), rewritten.caretPos());
    QCOMPARE(local.selStart(), rewritten.selStart());
}

void InsertionTest::lineInsertionCases() {
    Editor e;
    // Empty editor: line 0 exists and is empty.
    e.insertInCaretLine("<BR>");
    QCOMPARE(e.toPlainText(), QString("<BR>"));
    QCOMPARE(e.text(), QString("<BR>\r\n"));
    QCOMPARE(e.caretPos(), QPoint(4, 0));

    // Caret at the start of a line: the snippet goes first, the caret ends
    // at the end of the line.
    prepare(e, "abc\nxyz", 4, 4);
    e.insertInCaretLine("<BR>");
    QCOMPARE(e.toPlainText(), QString("abc\n<BR>xyz"));
    QCOMPARE(e.caretPos(), QPoint(7, 1));

    // Caret at the end: appended, no final line break added.
    prepare(e, "abc", 3, 3);
    e.insertInCaretLine("<BR>");
    QCOMPARE(e.toPlainText(), QString("abc<BR>"));
    QCOMPARE(e.caretPos(), QPoint(7, 0));

    // Selection: after its end, the selected text stays before the snippet.
    prepare(e, "abcdef", 2, 4);
    e.insertInCaretLine("<B></B>");
    QCOMPARE(e.toPlainText(), QString("abcd<B></B>ef"));
    QCOMPARE(e.caretPos(), QPoint(13, 0));
    QVERIFY(!e.textCursor().hasSelection());

    // A selection ending at the start of the next line counts that line.
    prepare(e, "abc\ndef", 1, 4);
    e.insertInCaretLine("<I>");
    QCOMPARE(e.toPlainText(), QString("abc\n<I>def"));
}

void InsertionTest::textInsertionFinalBreak_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("expected");
    // An empty editor has no line: Lines.Text is empty and the snippet
    // stands alone, without a line break.
    QTest::newRow("empty editor") << QString() << 0 << QString("<P>");
    QTest::newRow("last line has text") << "ab\ncd" << 3 << QString("ab\n<P>cd\n");
    QTest::newRow("caret at the very end") << "ab\ncd" << 5 << QString("ab\ncd<P>\n");
    QTest::newRow("final break already there") << "ab\ncd\n" << 0 << QString("<P>ab\ncd\n");
    // Behind the final line break the snippet becomes the last line, which
    // Lines.Text does not end with a break.
    QTest::newRow("on the empty last line") << "ab\n" << 3 << QString("ab\n<P>");
    QTest::newRow("only a line break") << "\n" << 0 << QString("<P>\n");
}

void InsertionTest::textInsertionFinalBreak() {
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, expected);
    Editor e;
    prepare(e, text, position, position);
    e.insertAtSelStart("<P>");
    QCOMPARE(e.toPlainText(), expected);
    QCOMPARE(e.textCursor().position(), int(expected.size()));
    QVERIFY(!e.textCursor().hasSelection());
}

void InsertionTest::lineInsertionAtGivenColumn() {
    Editor e;
    prepare(e, "0123\nabcdef\nxyz", 1, 1);
    e.insertInLine(QPoint(3, 1), "-");
    QCOMPARE(e.toPlainText(), QString("0123\nabc-def\nxyz"));
    QCOMPARE(e.caretPos(), QPoint(7, 1));
    // At the same column again: the later text stands before the earlier.
    e.insertInLine(QPoint(3, 1), "+");
    QCOMPARE(e.line(1), QString("abc+-def"));
    // Past the end of the line: appended.
    e.insertInLine(QPoint(50, 2), "!");
    QCOMPARE(e.line(2), QString("xyz!"));
    QCOMPARE(e.caretPos(), QPoint(4, 2));
    // Beyond the last line: nothing happens.
    QSignalSpy changes(&e, &Editor::changed);
    e.insertInLine(QPoint(0, 9), "?");
    QCOMPARE(e.toPlainText(), QString("0123\nabc+-def\nxyz!"));
    QCOMPARE(changes.count(), 0);
}

void InsertionTest::longLinesStayWhole() {
    const QString first = QString(6000, QLatin1Char('a')) + QString(6000, QLatin1Char('b'));
    const QString second = QString(5000, QLatin1Char('c')) + QString(5000, QLatin1Char('d'));
    Editor e;
    prepare(e, first + "\n" + second, 6000, 6000);
    e.insertInCaretLine("<BR>");
    QCOMPARE(e.line(0), QString(6000, QLatin1Char('a')) + "<BR>" + QString(6000, QLatin1Char('b')));
    QCOMPARE(e.caretPos(), QPoint(12004, 0));
    QCOMPARE(e.line(1), second);

    QTextCursor c = e.textCursor();
    c.setPosition(e.document()->findBlockByNumber(1).position() + 5000);
    e.setTextCursor(c);
    e.insertAtSelStart("<P>");
    QCOMPARE(e.line(1), QString(5000, QLatin1Char('c')) + "<P>" + QString(5000, QLatin1Char('d')));
    QCOMPARE(e.line(0).size(), 12004);
    QCOMPARE(e.lineCount(), 2);
    QVERIFY(e.text().endsWith(QString(5000, QLatin1Char('d')) + "\r\n"));
}

void InsertionTest::formattingElsewhereKept() {
    for (Primitive primitive : {Primitive::Line, Primitive::Text}) {
        Editor e;
        // Line 0 bold, "pl" of line 1 red, line 2 italic; no final break, so
        // the text insertion also adds one.
        prepare(e, "bold\nplain\nitalic", 0, 0);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        QTextCharFormat red;
        red.setForeground(Qt::red);
        QTextCharFormat italic;
        italic.setFontItalic(true);
        applyFormat(e, 0, 4, bold);
        applyFormat(e, 5, 7, red);
        applyFormat(e, 11, 17, italic);
        QTextCursor c = e.textCursor();
        c.setPosition(7); // line 1 after "pl"
        e.setTextCursor(c);

        insert(e, primitive, "<B></B>");
        const QString expected = primitive == Primitive::Line
                                     ? QString("bold\npl<B></B>ain\nitalic")
                                     : QString("bold\npl<B></B>ain\nitalic\n");
        QCOMPARE(e.toPlainText(), expected);
        for (int p = 0; p < 4; ++p) {
            QVERIFY2(formatAt(e, p).fontWeight() == QFont::Bold, qPrintable(QString::number(p)));
        }
        QCOMPARE(formatAt(e, 5).foreground().color(), QColor(Qt::red));
        QCOMPARE(formatAt(e, 6).foreground().color(), QColor(Qt::red));
        // "ain" after the snippet keeps its own (unformatted) look.
        for (int p = 14; p < 17; ++p) {
            QVERIFY(formatAt(e, p).foreground().color() != QColor(Qt::red));
            QVERIFY(formatAt(e, p).fontWeight() != QFont::Bold);
        }
        for (int p = 18; p < 24; ++p) {
            QVERIFY2(formatAt(e, p).fontItalic(), qPrintable(QString::number(p)));
        }
        QVERIFY(!formatAt(e, 0).fontItalic());
    }
}

void InsertionTest::oneChangeAndModified_data() {
    QTest::addColumn<Primitive>("primitive");
    QTest::addColumn<QString>("text");
    QTest::newRow("line") << Primitive::Line << "ab\ncd";
    QTest::newRow("text, final break added") << Primitive::Text << "ab\ncd";
    QTest::newRow("text, final break present") << Primitive::Text << "ab\ncd\n";
}

void InsertionTest::oneChangeAndModified() {
    QFETCH(Primitive, primitive);
    QFETCH(QString, text);
    // The flag goes up through the insertion alone.
    Editor fresh;
    QVERIFY(!fresh.isModifiedFlag());
    insert(fresh, primitive, "<BR>");
    QVERIFY(fresh.isModifiedFlag());

    // One insertion, the added final line break included, is one change.
    Editor e;
    prepare(e, text, 1, 1);
    QSignalSpy changes(&e, &Editor::changed);
    insert(e, primitive, "<BR>");
    QCOMPARE(changes.count(), 1);
}

void InsertionTest::emptyTextStillCountsAsChange() {
    // Writing the line or the whole text back counts as a change even when
    // nothing is added to it.
    for (Primitive primitive : {Primitive::Line, Primitive::Text}) {
        Editor e;
        QSignalSpy changes(&e, &Editor::changed);
        insert(e, primitive, QString());
        QCOMPARE(e.toPlainText(), QString());
        QCOMPARE(changes.count(), 1);
        QVERIFY(e.isModifiedFlag());
    }

    // An empty text insertion into a text without final break adds the
    // break: still one change.
    Editor e;
    prepare(e, "abc", 1, 1);
    QSignalSpy changes(&e, &Editor::changed);
    e.insertAtSelStart(QString());
    QCOMPARE(e.toPlainText(), QString("abc\n"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(e.textCursor().position(), 4);
}

void InsertionTest::oneUndoStepEach_data() {
    QTest::addColumn<Primitive>("primitive");
    QTest::newRow("line") << Primitive::Line;
    QTest::newRow("text") << Primitive::Text;
}

void InsertionTest::oneUndoStepEach() {
    QFETCH(Primitive, primitive);
    Editor e;
    prepare(e, "abc\ndef", 5, 5);
    e.document()->clearUndoRedoStacks();
    insert(e, primitive, "<B></B>");
    insert(e, primitive, "<I></I>");
    const QString afterFirst =
        primitive == Primitive::Line ? QString("abc\nd<B></B>ef") : QString("abc\nd<B></B>ef\n");
    e.undoLast();
    QCOMPARE(e.toPlainText(), afterFirst);
    e.undoLast();
    // The final line break the text insertion added goes with it.
    QCOMPARE(e.toPlainText(), QString("abc\ndef"));
    QVERIFY(!e.document()->isUndoAvailable());
}

QTEST_MAIN(InsertionTest)
#include "tst_insertion.moc"
