// The Editor adapter: the line list, positions that count a line break as
// CR LF, the caret and selection, and the changed flag.

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "editor/editor.h"
#include "support/filebytes.h"

using zelvar::Editor;

class EditorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineCountIgnoresEmptyLastLine_data();
    void lineCountIgnoresEmptyLastLine();
    void linesReadAndWrite();
    void textJoinsWithCrLf();
    void setTextSplitsEveryBreak();
    void addAndClearLines();
    void selStartCountsCrLf();
    void selectionLengthAndText();
    void offsetsRoundTrip();
    void caretPosAtSelectionEnd();
    void modifiedSetByEveryChange();
    void modifiedClearedByUndoingBack();
    void clearResetsModified();
    void changedSignalPerChange();
    void clipboardOperations();
    void shiftEnterStartsLine();
    void pasteKeepsLinesSeparate();
    void formattingPerSelection();
    void lineBreaksFollowTheirLines_data();
    void lineBreaksFollowTheirLines();
};

void EditorTest::lineCountIgnoresEmptyLastLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("one line") << "a" << 1;
    QTest::newRow("one line and break") << "a\n" << 1;
    QTest::newRow("only a break") << "\n" << 1;
    QTest::newRow("two breaks") << "\n\n" << 2;
    QTest::newRow("three lines") << "a\nb\nc" << 3;
    QTest::newRow("three lines and break") << "a\nb\nc\n" << 3;
}

void EditorTest::lineCountIgnoresEmptyLastLine() {
    QFETCH(QString, text);
    QFETCH(int, count);
    Editor e;
    e.setPlainText(text);
    QCOMPARE(e.lineCount(), count);
}

void EditorTest::linesReadAndWrite() {
    Editor e;
    QCOMPARE(e.line(0), QString()); // line 0 of an empty editor reads empty
    e.setPlainText("alpha\nbeta\n");
    QCOMPARE(e.line(0), QString("alpha"));
    QCOMPARE(e.line(1), QString("beta"));
    QCOMPARE(e.line(2), QString()); // the uncounted empty last line
    QCOMPARE(e.line(7), QString());
    e.setLine(1, "BETA");
    e.setLine(2, "gamma"); // the uncounted last line can be written
    QCOMPARE(e.toPlainText(), QString("alpha\nBETA\ngamma"));
    e.setLine(9, "nowhere"); // beyond it nothing happens
    QCOMPARE(e.toPlainText(), QString("alpha\nBETA\ngamma"));
    QCOMPARE(e.lineCount(), 3);
}

void EditorTest::textJoinsWithCrLf() {
    Editor e;
    QCOMPARE(e.text(), QString());
    e.setPlainText("a\n\nb");
    QCOMPARE(e.text(), QString("a\r\n\r\nb\r\n"));
    e.setPlainText("a\n");
    QCOMPARE(e.text(), QString("a\r\n"));
    // A no-break space stays itself (toPlainText would turn it into a blank).
    e.setPlainText(QString("x") + QChar(0x00A0) + "y");
    QCOMPARE(e.text(), QString("x") + QChar(0x00A0) + "y\r\n");
}

void EditorTest::setTextSplitsEveryBreak() {
    Editor e;
    e.setText("a\r\nb\rc\nd\r\n");
    QCOMPARE(e.lineCount(), 4);
    QCOMPARE(e.line(1), QString("b"));
    QCOMPARE(e.line(2), QString("c"));
    QCOMPARE(e.text(), QString("a\r\nb\r\nc\r\nd\r\n"));
    e.setText(QString("p") + QChar(QChar::LineSeparator) + "q");
    QCOMPARE(e.lineCount(), 2);
}

void EditorTest::addAndClearLines() {
    Editor e;
    e.addLine("one");
    e.addLine("two");
    QCOMPARE(e.lineCount(), 2);
    QCOMPARE(e.text(), QString("one\r\ntwo\r\n"));
    e.setPlainText("no break");
    e.addLine("next");
    QCOMPARE(e.text(), QString("no break\r\nnext\r\n"));
    e.clearLines();
    QCOMPARE(e.lineCount(), 0);
    QVERIFY(e.isModifiedFlag()); // removing all lines is a change like any other
}

void EditorTest::selStartCountsCrLf() {
    Editor e;
    e.setPlainText("ab\ncd\nef");
    QTextCursor c = e.textCursor();
    c.setPosition(7); // before "f": 2 line breaks before it
    e.setTextCursor(c);
    QCOMPARE(e.selStart(), 9);
    e.setSelStart(9);
    QCOMPARE(e.textCursor().position(), 7);
    e.setSelStart(3); // between CR and LF: end of the first line
    QCOMPARE(e.textCursor().position(), 2);
    e.setSelStart(1000); // past the end: the end
    QCOMPARE(e.textCursor().position(), 8);
}

void EditorTest::selectionLengthAndText() {
    Editor e;
    e.setPlainText("ab\ncd\nef");
    QTextCursor c = e.textCursor();
    c.setPosition(1);
    c.setPosition(7, QTextCursor::KeepAnchor);
    e.setTextCursor(c);
    QCOMPARE(e.selStart(), 1);
    QCOMPARE(e.selLength(), 8);
    QCOMPARE(e.selText(), QString("b\r\ncd\r\ne"));
    e.setSelStart(4);
    e.setSelLength(4);
    QCOMPARE(e.selText(), QString("cd\r\n"));
}

void EditorTest::offsetsRoundTrip() {
    Editor e;
    e.setPlainText("first\n\nthird line\nx\n");
    const QTextDocument* doc = e.document();
    for (int pos = 0; pos < doc->characterCount(); ++pos) {
        const int offset = e.offsetFromPosition(pos);
        QCOMPARE(e.positionFromOffset(offset), pos);
    }
}

void EditorTest::caretPosAtSelectionEnd() {
    Editor e;
    QCOMPARE(e.caretPos(), QPoint(0, 0));
    e.setPlainText("abc\ndefgh\n");
    QTextCursor c = e.textCursor();
    c.setPosition(6);
    c.setPosition(1, QTextCursor::KeepAnchor); // selected backwards
    e.setTextCursor(c);
    QCOMPARE(e.caretPos(), QPoint(2, 1));
    c.setPosition(10);
    e.setTextCursor(c);
    QCOMPARE(e.caretPos(), QPoint(0, 2));
}

void EditorTest::modifiedSetByEveryChange() {
    Editor e;
    QVERIFY(!e.isModifiedFlag());
    e.setPlainText("typed");
    QVERIFY(e.isModifiedFlag());
    Editor f;
    f.setLine(0, "x");
    QVERIFY(f.isModifiedFlag());
    Editor g;
    g.show();
    QTest::keyClick(&g, Qt::Key_A);
    QVERIFY(g.isModifiedFlag());
    Editor h;
    h.setPlainTextMode(true);
    h.setWordWrap(true);
    h.selectAllText();
    QVERIFY(!h.isModifiedFlag()); // switches and selections change no text
}

// Undone back to the text it started with, the page is unchanged again; a
// redo changes it again.
void EditorTest::modifiedClearedByUndoingBack() {
    Editor e;
    e.show();
    QTest::keyClicks(&e, "abc");
    while (e.document()->isUndoAvailable()) {
        e.undoLast();
    }
    QCOMPARE(e.toPlainText(), QString());
    QVERIFY(!e.isModifiedFlag());
    e.redoLast();
    QVERIFY(e.isModifiedFlag());
}

void EditorTest::clearResetsModified() {
    Editor e;
    e.setPlainText("text");
    e.clearAll();
    QVERIFY(!e.isModifiedFlag());
    QCOMPARE(e.lineCount(), 0);
    e.setLine(0, "again");
    QVERIFY(e.isModifiedFlag());
}

void EditorTest::changedSignalPerChange() {
    Editor e;
    QSignalSpy spy(&e, &Editor::changed);
    e.setLine(0, "x");
    e.setText("a\r\nb\r\n");
    QVERIFY(spy.count() >= 2);
    const int before = spy.count();
    e.selectAllText();
    e.setSelStart(0);
    QCOMPARE(spy.count(), before);
}

void EditorTest::clipboardOperations() {
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText("kept");
    Editor e;
    e.setPlainText("one\ntwo");
    e.copyToClipboard(); // nothing selected: the clipboard stays as it was
    QCOMPARE(clipboard->text(), QString("kept"));
    e.setSelStart(0);
    e.setSelLength(3);
    e.cutToClipboard();
    QCOMPARE(clipboard->text(), QString("one"));
    QCOMPARE(e.toPlainText(), QString("\ntwo"));
    e.setSelStart(e.text().size());
    e.pasteFromClipboard();
    QCOMPARE(e.toPlainText(), QString("\ntwoone"));
    e.undoLast();
    QCOMPARE(e.toPlainText(), QString("\ntwo"));
}

void EditorTest::shiftEnterStartsLine() {
    Editor e;
    e.show();
    QTest::keyClicks(&e, "ab");
    QTest::keyClick(&e, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&e, "cd");
    QCOMPARE(e.lineCount(), 2);
    QCOMPARE(e.line(1), QString("cd"));
}

void EditorTest::pasteKeepsLinesSeparate() {
    QApplication::clipboard()->setText(QString("x\r\ny") + QChar(QChar::LineSeparator) + "z");
    Editor e;
    e.pasteFromClipboard();
    QCOMPARE(e.lineCount(), 3);
    QCOMPARE(e.text(), QString("x\r\ny\r\nz\r\n"));
}

void EditorTest::formattingPerSelection() {
    Editor e;
    e.setPlainText("plain bold");
    QTextCursor c = e.textCursor();
    c.setPosition(6);
    c.setPosition(10, QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    f.setForeground(QColor(Qt::red));
    f.setFontPointSize(20);
    c.mergeCharFormat(f);
    const QTextBlock block = e.document()->firstBlock();
    int boldChars = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (frag.charFormat().fontWeight() == QFont::Bold) {
            boldChars += frag.length();
            QCOMPARE(frag.charFormat().foreground().color(), QColor(Qt::red));
            QCOMPARE(frag.charFormat().fontPointSize(), 20.0);
        }
    }
    QCOMPARE(boldChars, 4);
}

// A file whose lines end in more than one way: after an edit each line
// keeps the break it had; a line the edit made ends like most lines.
void EditorTest::lineBreaksFollowTheirLines_data() {
    QTest::addColumn<int>("line");      // where the edit starts
    QTest::addColumn<QString>("typed"); // put in at the line's start
    QTest::addColumn<int>("removed");   // lines joined to the next one there
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("a line above") << 0 << "n\n" << 0 << QByteArray("n\na\r\nb\nc\rd\n");
    QTest::newRow("a line between") << 2 << "n\n" << 0 << QByteArray("a\r\nb\nn\nc\rd\n");
    QTest::newRow("a line joined") << 0 << "" << 1 << QByteArray("ab\nc\rd\n");
    QTest::newRow("text in a line") << 2 << "x" << 0 << QByteArray("a\r\nb\nxc\rd\n");
}

void EditorTest::lineBreaksFollowTheirLines() {
    QFETCH(int, line);
    QFETCH(QString, typed);
    QFETCH(int, removed);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString file = dir.filePath("page.txt");
    zelvar::testing::writeAll(file, "a\r\nb\nc\rd\n");
    Editor e;
    e.setPlainTextMode(true);
    e.loadFromFile(file);
    QTextCursor c(e.document()->findBlockByNumber(line));
    for (int k = 0; k < removed; ++k) {
        c.movePosition(QTextCursor::EndOfBlock);
        c.deleteChar();
    }
    c.insertText(typed);
    e.saveToFile(file);
    QCOMPARE(zelvar::testing::readAll(file), bytes);
}

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
