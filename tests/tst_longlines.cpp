// A page editor holding a very long line: editing, the caret, the selection,
// undo and the line operations behave as on any line, with word wrap off and
// on, and the line looks as the whole line's own drawing would show it.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QInputMethodEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>

#include "editor/editor.h"
#include "text/rtf.h"

using zelvar::Editor;

namespace {

// Minified HTML with Czech text and the odd tab, no line break.
QString longLine(int length, QString piece = QString()) {
    if (piece.isEmpty()) {
        piece = QStringLiteral(
            "<div class=\"a\">Příliš žluťoučký kůň</div>\t<b>úpěl</b> ďábelské ódy ");
    }
    QString s;
    while (s.size() < length) {
        s += piece;
    }
    s.truncate(length);
    return s;
}

constexpr int kLength = 60000;

} // namespace

class LongLinesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editingKeepsOperations_data();
    void editingKeepsOperations();
    void drawnAsWholeLine_data();
    void drawnAsWholeLine();
};

void LongLinesTest::editingKeepsOperations_data() {
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selection");
    QTest::addColumn<bool>("secondLine");
    QTest::newRow("end, no wrap") << false << kLength << 0 << false;
    QTest::newRow("middle, no wrap") << false << kLength / 2 << 0 << false;
    QTest::newRow("start, no wrap") << false << 0 << 0 << false;
    QTest::newRow("middle, wrap") << true << kLength / 2 << 0 << false;
    QTest::newRow("end, wrap") << true << kLength << 0 << false;
    QTest::newRow("selection, no wrap") << false << kLength / 3 << 500 << false;
    QTest::newRow("selection, wrap") << true << kLength / 3 << 500 << false;
    QTest::newRow("below a short line") << false << kLength / 2 << 0 << true;
    QTest::newRow("below a short line, wrap") << true << kLength / 2 << 20 << true;
}

// Typing at the caret or over the selection, then undo: text, caret,
// SelStart/SelLength and the line operations follow.
void LongLinesTest::editingKeepsOperations() {
    QFETCH(bool, wrap);
    QFETCH(int, caret);
    QFETCH(int, selection);
    QFETCH(bool, secondLine);
    Editor e;
    e.resize(640, 400);
    e.setWordWrap(wrap);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    const QString head = secondLine ? QStringLiteral("<html>\n") : QString();
    const QString line = longLine(kLength);
    e.setText(head + line);
    e.document()->clearUndoRedoStacks(); // typing at its end would join the insertion
    const int lineNumber = secondLine ? 1 : 0;
    const int lineOffset = int(head.size()) + (secondLine ? 1 : 0); // CR LF
    e.setSelStart(lineOffset + caret);
    e.setSelLength(selection);
    QCOMPARE(e.selStart(), lineOffset + caret);
    QCOMPARE(e.selLength(), selection);
    QCOMPARE(e.selText(), line.mid(caret, selection));
    QCOMPARE(e.caretPos(), QPoint(caret + selection, lineNumber));
    QApplication::processEvents();

    // The way the long line is shown stays out of the rich-text form.
    QTextDocument same;
    same.setDefaultFont(e.document()->defaultFont());
    QTextCursor(&same).insertText(head + line);
    QCOMPARE(zelvar::writeRtf(*e.document()), zelvar::writeRtf(same));

    QTest::keyClicks(e.viewport(), QStringLiteral("ab"));
    QApplication::processEvents();
    QString expected = line;
    expected.replace(caret, selection, QStringLiteral("ab"));
    QCOMPARE(e.line(lineNumber), expected);
    QCOMPARE(e.lineCount(), lineNumber + 1);
    QCOMPARE(e.caretPos(), QPoint(caret + 2, lineNumber));
    QCOMPARE(e.selStart(), lineOffset + caret + 2);
    QCOMPARE(e.text(), head.isEmpty() ? expected + "\r\n" : "<html>\r\n" + expected + "\r\n");
    QVERIFY(e.isModifiedFlag());

    // End and Home (with word wrap: of the shown row) move the caret.
    QTest::keyClick(e.viewport(), Qt::Key_End);
    if (!wrap) {
        QCOMPARE(e.caretPos(), QPoint(int(expected.size()), lineNumber));
    } else {
        QVERIFY(e.caretPos().x() >= caret + 2);
        QVERIFY(e.caretPos().x() <= int(expected.size()));
    }
    QTest::keyClick(e.viewport(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(e.caretPos(), QPoint(0, 0));
    QTest::keyClick(e.viewport(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(e.selStart(), lineOffset + int(expected.size()));

    e.undoLast();
    QApplication::processEvents();
    QCOMPARE(e.line(lineNumber), line);
    QVERIFY(e.isModifiedFlag());

    // Insertion in the long line, then the line cut short to an ordinary one.
    e.insertInLine(QPoint(caret, lineNumber), QStringLiteral("<BR>"));
    QCOMPARE(e.line(lineNumber), QString(line).insert(caret, QStringLiteral("<BR>")));
    QCOMPARE(e.caretPos(), QPoint(kLength + 4, lineNumber));
    e.setLine(lineNumber, QStringLiteral("short"));
    QApplication::processEvents();
    QCOMPARE(e.line(lineNumber), QStringLiteral("short"));
    QTest::keyClick(e.viewport(), Qt::Key_End);
    QTest::keyClicks(e.viewport(), QStringLiteral("!"));
    QCOMPARE(e.line(lineNumber), QStringLiteral("short!"));
}

void LongLinesTest::drawnAsWholeLine_data() {
    QTest::addColumn<int>("scroll");      // of the horizontal scroll bar's range, in percent
    QTest::addColumn<int>("selection");   // characters selected from the middle of the view
    QTest::addColumn<bool>("coloured");   // part of the line has a colour of its own
    QTest::addColumn<QString>("piece");   // of the line, when not the usual one
    QTest::addColumn<QString>("preedit"); // being composed at the middle of the view
    QTest::addColumn<int>("length");      // of the line
    QTest::addColumn<bool>("marked");     // the view gives it colours and underlines
    const QString usual;
    QTest::newRow("start") << 0 << 0 << false << usual << QString() << kLength << false;
    QTest::newRow("middle") << 50 << 0 << false << usual << QString() << kLength << false;
    QTest::newRow("end") << 100 << 0 << false << usual << QString() << kLength << false;
    QTest::newRow("selection") << 50 << 40 << false << usual << QString() << kLength << false;
    QTest::newRow("long selection")
        << 30 << 20000 << false << usual << QString() << kLength << false;
    QTest::newRow("selection to the line's end")
        << 100 << 100000 << false << usual << QString() << kLength << false;
    QTest::newRow("colour") << 70 << 0 << true << usual << QString() << kLength << false;
    QTest::newRow("colour and selection")
        << 0 << 25 << true << usual << QString() << kLength << false;
    const QString hebrew = QString::fromUtf8("a שלום עולם, שלום עולם ");
    for (int scroll : {37, 50, 81}) {
        QTest::addRow("right to left, %d %%", scroll)
            << scroll << 0 << false << hebrew << QString() << kLength << false;
    }
    QTest::newRow("composed text")
        << 40 << 0 << false << usual << QString::fromUtf8("ě") << kLength << false;
    // Shorter lines are shaped as usual and carry the view's formats.
    for (int scroll : {0, 45, 100}) {
        QTest::addRow("3000 characters marked, %d %%", scroll)
            << scroll << 12 << false << usual << QString() << 3000 << true;
    }
    QTest::newRow("3000 characters marked, composed text")
        << 60 << 0 << false << usual << QString::fromUtf8("ě") << 3000 << true;
    QTest::newRow("1200 characters, colour")
        << 80 << 0 << true << usual << QString() << 1200 << false;
}

// The page draws the long line by its visible part; Qt draws the whole line
// of a copy of the same text and formats, given the page's light shaping
// where the page has it, in a bare widget without word wrap. Scrolled,
// selected, marked and composed alike, they show the same pixels.
void LongLinesTest::drawnAsWholeLine() {
    QFETCH(int, scroll);
    QFETCH(int, selection);
    QFETCH(bool, coloured);
    QFETCH(QString, piece);
    QFETCH(QString, preedit);
    QFETCH(int, length);
    QFETCH(bool, marked);
    Editor page;
    QPlainTextEdit whole;
    page.setText(QStringLiteral("<p>\n") + longLine(length, piece) + QStringLiteral("\n</p>\n"));
    if (coloured) {
        QTextCursor c(page.document());
        c.setPosition(length / 2);
        c.setPosition(length / 2 + qMin(20000, length / 3), QTextCursor::KeepAnchor);
        QTextCharFormat red;
        red.setForeground(Qt::red);
        red.setFontWeight(QFont::Bold);
        c.mergeCharFormat(red);
        c.setPosition(100);
        c.setPosition(130, QTextCursor::KeepAnchor);
        c.mergeCharFormat(red);
    }
    std::unique_ptr<QTextDocument> copy(page.document()->clone());
    copy->setDocumentLayout(new QPlainTextDocumentLayout(copy.get()));
    whole.setDocument(copy.get());
    whole.setLineWrapMode(QPlainTextEdit::NoWrap);
    for (QPlainTextEdit* w : {static_cast<QPlainTextEdit*>(&page), &whole}) {
        w->resize(500, 200);
        w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Neither window has the focus: the selection shows in the colours
        // of a focused one.
        QPalette colours = w->palette();
        for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
            colours.setBrush(QPalette::Inactive, role, colours.brush(QPalette::Active, role));
        }
        w->setPalette(colours);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    const QTextBlock longBlock = copy->findBlockByNumber(1);
    const auto shapeLightly = [&] {
        if (length <= Editor::kLongLine) {
            return;
        }
        QTextLayout::FormatRange light;
        light.start = 0;
        light.length = longBlock.length() + int(longBlock.layout()->preeditAreaText().size());
        light.format.setFontStyleStrategy(QFont::PreferNoShaping);
        longBlock.layout()->setFormats(QList{light} + longBlock.layout()->formats());
        copy->markContentsDirty(longBlock.position(), longBlock.length());
    };
    shapeLightly();
    // Marks as the view's layers give them: a colour over every other word
    // of ten characters and a wavy underline over the next.
    if (marked) {
        QList<QTextLayout::FormatRange> marks;
        for (int at = 7; at + 20 < length; at += 50) {
            QTextLayout::FormatRange colour{at, 10, {}};
            colour.format.setForeground(Qt::darkGreen);
            QTextLayout::FormatRange wavy{at + 10, 10, {}};
            wavy.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            wavy.format.setUnderlineColor(Qt::red);
            marks << colour << wavy;
        }
        for (QTextDocument* doc : {page.document(), copy.get()}) {
            const QTextBlock block = doc->findBlockByNumber(1);
            block.layout()->setFormats(marks);
            doc->markContentsDirty(block.position(), block.length());
        }
    }

    QImage shown[2];
    int i = 0;
    for (QPlainTextEdit* w : {static_cast<QPlainTextEdit*>(&page), &whole}) {
        QScrollBar* bar = w->horizontalScrollBar();
        bar->setValue(bar->minimum() + (bar->maximum() - bar->minimum()) * scroll / 100);
        const int row =
            w->cursorRect(QTextCursor(w->document()->findBlockByNumber(1))).center().y();
        const int middle = w->cursorForPosition(QPoint(w->viewport()->width() / 2, row)).position();
        QTextCursor c(w->document());
        c.setPosition(middle);
        c.setPosition(qMin(middle + selection, longBlock.position() + longBlock.length()),
                      QTextCursor::KeepAnchor);
        w->setTextCursor(c);
        if (!preedit.isEmpty()) {
            QTextCharFormat underline;
            underline.setUnderlineStyle(QTextCharFormat::SingleUnderline);
            QInputMethodEvent composing(
                preedit, {{QInputMethodEvent::TextFormat, 0, int(preedit.size()), underline}});
            QApplication::sendEvent(w, &composing);
            if (w == &whole) {
                shapeLightly(); // Qt's own handling drops the shaping
            }
        }
        bar->setValue(bar->minimum() + (bar->maximum() - bar->minimum()) * scroll / 100);
        QApplication::processEvents();
        shown[i++] = w->viewport()->grab().toImage();
    }
    // The page drew the line in its own way: unwrapped, as one line.
    QCOMPARE(page.lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(page.document()->findBlockByNumber(1).layout()->lineCount(), 1);
    QVERIFY(!shown[0].isNull());
    QCOMPARE(shown[0].size(), shown[1].size());
    if (shown[0] != shown[1]) {
        shown[0].save(QDir::temp().filePath(QStringLiteral("longline-page.png")));
        shown[1].save(QDir::temp().filePath(QStringLiteral("longline-whole.png")));
    }
    QVERIFY(shown[0] == shown[1]);
}

QTEST_MAIN(LongLinesTest)
#include "tst_longlines.moc"
