// The HTML colours, the marks of matching tags and of found text and the
// line numbers are a view: a coloured page saved as plain text or rich text,
// copied and printed gives the same as with all of them off, and the
// document never hears of them.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <memory>

#include "editor/editor.h"
#include "editor/viewlayers.h"
#include "support/filebytes.h"
#include "support/pdfpages.h"
#include "support/testprogram.h"
#include "text/pagefile.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

class SyntaxViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void sameOutput_data();
    void sameOutput();

private:
    QByteArray output(const QString& kind, Editor& page);
    std::unique_ptr<TestProgram> p_;
};

void SyntaxViewTest::initTestCase() {
    p_ = std::make_unique<TestProgram>();
    QVERIFY(p_->showAndActivate());
}

void SyntaxViewTest::cleanupTestCase() {
    p_.reset();
}

QByteArray SyntaxViewTest::output(const QString& kind, Editor& page) {
    const QString file = p_->path(QStringLiteral("out"));
    if (kind == u"plain text" || kind == u"rich text") {
        page.setPlainTextMode(kind == u"plain text");
        page.saveToFile(file);
        return testing::readAll(file);
    }
    if (kind == u"clipboard") {
        page.selectAllText();
        page.copyToClipboard();
        QByteArray all;
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        for (const QString& format : copied->formats()) {
            all += format.toUtf8() + '\n' + copied->data(format) + '\n';
        }
        return all;
    }
    // The printout as drawn: its text runs with their colours.
    p_->printing().pdfPath = file;
    p_->form().action("Tisk1")->trigger();
    const testing::PdfDocument pdf = testing::readPdfPages(file);
    QByteArray runs = pdf.ok ? "" : "<unreadable>";
    for (const testing::PdfPage& page : pdf.pages) {
        for (const testing::PdfRun& run : page.runs) {
            runs += run.colour.name().toUtf8() + ' ' + run.text.toUtf8() + '\n';
        }
    }
    return runs;
}

void SyntaxViewTest::sameOutput_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"plain text", "rich text", "clipboard", "printout"}) {
        QTest::newRow(kind) << QString::fromLatin1(kind);
    }
}

void SyntaxViewTest::sameOutput() {
    QFETCH(QString, kind);
    p_->resetEditors();
    Editor& page = *p_->form().editor(1);
    const QString html =
        textFromPlainBytes(testing::readAll(ZELVAR_DATA_DIR "/zakl_struktura.txt")) +
        QStringLiteral("<!-- &amp; -->\n<SCRIPT>var s = 'a';</SCRIPT>\n");
    page.setText(html);
    // A colour of the user's own over markup, and a default colour.
    page.document()
        ->find(QStringLiteral("<HTML>"))
        .mergeCharFormat(Editor::ownColourFormat(QColor(0, 128, 0)));
    page.setDefaultColour(QColor(0, 0, 128));
    page.setFocus();
    QTest::keyClick(&page, Qt::Key_H, Qt::ControlModifier);
    auto* find = p_->form().findChild<QLineEdit*>(QStringLiteral("FindField"));
    find->clear();
    find->insert(QStringLiteral("title"));
    QTRY_VERIFY(!page.layers().marks(ViewLayers::SearchMarks).isEmpty());
    QTextCursor caret = page.document()->find(QStringLiteral("<TITLE>"));
    caret.setPosition(caret.selectionStart() + 3); // the two TITLE tags are marked
    page.setTextCursor(caret);
    QAction* item = p_->form().action("Zvrazovatsyntaxi1");
    QVERIFY(item->isChecked());
    QSignalSpy changes(page.document(), &QTextDocument::contentsChange);
    const int undoSteps = page.document()->availableUndoSteps();
    QApplication::processEvents();
    const QTextBlock caretLine = page.textCursor().block();

    QVERIFY(!caretLine.layout()->formats().isEmpty());
    QVERIFY(page.lineNumbersShown());
    QCOMPARE(page.extraSelections().size(),
             2 + page.layers().marks(ViewLayers::SearchMarks).size());
    const QByteArray coloured = output(kind, page);
    item->trigger();
    p_->form().action("sladk1")->trigger();
    QTest::keyClick(find, Qt::Key_Escape);
    QApplication::processEvents();
    QVERIFY(caretLine.layout()->formats().isEmpty());
    QVERIFY(page.extraSelections().isEmpty());
    const QByteArray plain = output(kind, page);
    item->trigger();
    p_->form().action("sladk1")->trigger();
    QApplication::processEvents();
    QVERIFY(!caretLine.layout()->formats().isEmpty());

    QCOMPARE(coloured, plain);
    QVERIFY(coloured.size() > html.size() / 2);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(page.document()->availableUndoSteps(), undoSteps);
}

QTEST_MAIN(SyntaxViewTest)
#include "tst_syntaxview.moc"
