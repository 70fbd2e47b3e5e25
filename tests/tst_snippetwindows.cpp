// The five snippet windows of the Tools menu: opened modally from their menu
// items, their exact texts, copying the selection with the copy button,
// closing by button or close box, and the message written after closing.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QWindow>
#include <iterator>
#include <memory>

#include "editor/editor.h"
#include "ground/addresses.h"
#include "ground/patterns.h"
#include "support/literals.h"
#include "support/modal.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::ModalRun;
using zelvar::testing::TestProgram;
using zelvar::testing::u;
using zelvar::testing::whileModal;

namespace {

struct Expected {
    const char* form;
    const char* item;
    const char* copy;
    const char* close;
    const char* description;
    const char* message;
};

const Expected kWindows[] = {
    {"TForm3", "Pohybujcsetext1", "Button2", "Button3",
     "Pohybující se text. Opakovaně (ve smyčce).", "Text v pohybu..."},
    {"TForm4", "Zmnabarvy1", "Button2", "Button3",
     "Po najetí myší na odkaz dojde ke změně jeho barvy.", "Změna barvy..."},
    {"TForm6", "Datumas1", "Button1", "Button2", "Aktuální datum a čas.", "Datum a čas..."},
    {"TForm7", "Domovskstrnka1", "Button2", "Button1", "Nastavení dané stránky jako domovské.",
     "Domovská stránka..."},
    {"TForm8", "Pidatkoblbenm1", "Button2", "Button1", "Přidání stránky do složky Oblíbené.",
     "Přidat k oblíbeným..."},
};

// The expected texts, line by line: the indent, the text, and a final blank
// where the line has one.
QString colourChangeText() {
    const QString sp = QStringLiteral(" ");
    const QString i3 = QStringLiteral("   ");
    const QString i6 = QStringLiteral("      ");
    const QStringList lines{
        "<script>" + sp,
        "<!--" + sp,
        "var ua=navigator.userAgent;" + sp,
        "var v=navigator.appVersion.substring(0,1);" + sp,
        QString(),
        R"(if ((ua.lastIndexOf("MSIE")!=-1) && (v!="1") && (v!="2") && (v!="3")))" + sp,
        "{" + sp,
        i3 + "document.body.onmouseover=makeCool;" + sp,
        i3 + "document.body.onmouseout=makeNormal;" + sp,
        "}" + sp,
        QString(),
        "function makeCool()" + sp,
        "{" + sp,
        QString(),
        i3 + "src=event.toElement;" + sp,
        i3 + R"(if (src.tagName=="A"))" + sp,
        i3 + "{" + sp,
        i6 + "src.oldcol=src.style.color;" + sp,
        i6 + R"(src.style.color="FFFFFF";)" + sp,
        i3 + "}" + sp,
        "}" + sp,
        QString(),
        "function makeNormal()" + sp,
        "{" + sp,
        i3 + "src=event.fromElement;" + sp,
        i3 + R"(if (src.tagName=="A") src.style.color=src.oldcol;)" + sp,
        "}" + sp,
        "// -->" + sp,
        "</script>",
    };
    return lines.join('\n');
}

QString expectedText(const QString& form) {
    const QString home = u(kHomePageAddress);
    if (form == "TForm3") {
        return u(R"(<span style="font-weight: 400"><font size="1" face="Verdana">)") + '\n' +
               u(R"(<strong><marquee height="10" width="80%">Pohybující se text ! )"
                 R"(<FONT COLOR="#A80000">A dokonce se pohybuje !</FONT>!</marquee></strong></A>)");
    }
    if (form == "TForm4") {
        return colourChangeText();
    }
    if (form == "TForm6") {
        const QString s2 = QStringLiteral("  ");
        const QString t1 = s2 + '\t';
        const QString t2 = s2 + "\t\t";
        return QStringList{
            "<SCRIPT language=VBScript type=text/vbscript>",
            s2 + "<!--",
            t1 + "'--- Vypsat element s hodinami",
            t1 + R"(Document.Write "<SPAN ID=""span_Timer"">" & Now() & "</SPAN>")",
            s2,
            t1 + u("'--- Nastavit první timeout na vteřinu"),
            t1 + R"x(SetTimeout "UpdateTimer()", 1000)x",
            s2,
            t1 + u("'--- Funkce pro aktualizaci času v prvku span_Timer"),
            t1 + "Function UpdateTimer()",
            t2 + "span_Timer.InnerText = Now()",
            t2 + u("' Znovu zavolat za jednu vteřinu"),
            t2 + R"x(SetTimeout "UpdateTimer()", 1000)x",
            t1 + "End Function",
            s2 + "-->",
            QString(10, ' ') + "</SCRIPT>",
        }
            .join('\n');
    }
    if (form == "TForm7") {
        return QStringList{
            R"(<A href="index.html" TARGET="obsah" )",
            R"(onClick="javascript:this.style.behavior='url(#default#homepage)';this.setHomePage(')" +
                home + R"(');"> )",
            R"(<IMG SRC="home.jpg" WIDTH=32 HEIGHT=32></A>)",
        }
            .join('\n');
    }
    return QString();
}

QDialog* window(TestProgram& p, const char* name) {
    return p.form().findChild<QDialog*>(QLatin1String(name));
}

QPlainTextEdit* field(QWidget* w) {
    return w->findChild<QPlainTextEdit*>(QStringLiteral("RichEdit1"));
}

QPushButton* pushButton(QWidget* w, const char* name) {
    return w->findChild<QPushButton*>(QLatin1String(name));
}

void selectRange(QPlainTextEdit* f, int from, int to) {
    QTextCursor c = f->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    f->setTextCursor(c);
}

} // namespace

class SnippetWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsOfEveryWindow();
    void textsAreExact();
    void favouritesLinkCarriesHomePage();
    void menuItemOpensItsWindowModally();
    void closeBoxAndCloseButtonSetTheSameMessage();
    void copyWithoutSelectionKeepsClipboard();
    void copyOneWordOfMovingText();
    void copyWholeColourChangeScript();
    void copyPutsPlainTextOnly_data();
    void copyPutsPlainTextOnly();
    void changesStayUntilRestart();
    void mainWindowIgnoresClicksWhileOpen();
    void cleanupTestCase() { copying_.reset(); }

private:
    std::unique_ptr<TestProgram> copying_; // one program for the copy rows
};

void SnippetWindowsTest::controlsOfEveryWindow() {
    TestProgram p;
    for (const Expected& e : kWindows) {
        QDialog* w = window(p, e.form);
        QVERIFY2(w, e.form);
        QCOMPARE(w->size(), QSize(290, 175));
        QPlainTextEdit* f = field(w);
        QVERIFY2(f, e.form);
        QCOMPARE(f->size(), QSize(273, 113));
        QCOMPARE(f->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(!f->isReadOnly());
        QCOMPARE(f->font().pixelSize(), 13);
        QCOMPARE(f->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(f->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        auto* description = w->findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(description);
        QCOMPARE(description->text(), u(e.description));
        QPushButton* copy = pushButton(w, e.copy);
        QPushButton* close = pushButton(w, e.close);
        QVERIFY2(copy && close, e.form);
        QCOMPARE(copy->text(), u("K&opírovat"));
        QCOMPARE(copy->toolTip(), u("Kopírovat text"));
        QCOMPARE(close->text(), u("&Konec"));
        QCOMPARE(close->toolTip(), u("Ukončit formulář"));
        QCOMPARE(copy->size(), QSize(75, 25));
        QCOMPARE(close->size(), QSize(75, 25));
        // Side by side at the bottom right, copy on the left, below the field.
        QVERIFY(copy->geometry().right() < close->geometry().left());
        QCOMPARE(copy->y(), close->y());
        QVERIFY(copy->y() > f->geometry().bottom());
        QVERIFY(close->geometry().right() < w->width());
        QVERIFY(close->geometry().bottom() < w->height());
        QVERIFY(description->x() < copy->x());
        // The field is first in the tab order, before both buttons.
        QList<QWidget*> order;
        for (QWidget* it = w->nextInFocusChain(); it != w; it = it->nextInFocusChain()) {
            if (it->focusPolicy() & Qt::TabFocus) {
                order << it;
            }
        }
        QCOMPARE(order.value(0), static_cast<QWidget*>(f));
        QVERIFY(order.indexOf(copy) < order.indexOf(close));
    }
}

void SnippetWindowsTest::textsAreExact() {
    TestProgram p;
    for (const char* form : {"TForm3", "TForm4", "TForm6", "TForm7"}) {
        QPlainTextEdit* f = field(window(p, form));
        QVERIFY2(f, form);
        QCOMPARE(f->toPlainText(), expectedText(QLatin1String(form)));
    }
    QCOMPARE(field(window(p, "TForm4"))->document()->blockCount(), 29);
    QCOMPARE(field(window(p, "TForm6"))->document()->blockCount(), 16);
}

void SnippetWindowsTest::favouritesLinkCarriesHomePage() {
    TestProgram p;
    const QString text = field(window(p, "TForm8"))->toPlainText();
    QCOMPARE(field(window(p, "TForm8"))->document()->blockCount(), 1);
    const QString head =
        u(R"(<a style="text-decoration: none; color: RGB(120,040,032);" href="javascript: )"
          R"(window.external.AddFavorite (')") +
        u(kHomePageAddress) + u("', '");
    const QString tail = u(R"(');"><IMG SRC="fordres.jpg" WIDTH=32 HEIGHT=32></a>)");
    QVERIFY2(text.startsWith(head), qPrintable(text));
    QVERIFY2(text.endsWith(tail), qPrintable(text));
    // Between them, a short plain title that cannot break the script's quotes.
    const QString title = text.mid(head.size(), text.size() - head.size() - tail.size());
    QVERIFY(!title.trimmed().isEmpty());
    QVERIFY(!title.contains('\'') && !title.contains('"'));
}

void SnippetWindowsTest::menuItemOpensItsWindowModally() {
    TestProgram p;
    for (const Expected& e : kWindows) {
        for (int round = 0; round < 2; ++round) {
            p.form().patterns().message("before");
            QString messageWhileOpen;
            const ModalRun run = whileModal([&] { p.form().action(e.item)->trigger(); },
                                            [&](QWidget*) { messageWhileOpen = p.message(); });
            // The same window object every time.
            QCOMPARE(run.window.data(), static_cast<QWidget*>(window(p, e.form)));
            QCOMPARE(messageWhileOpen, QString("before"));
            QCOMPARE(p.message(), u(e.message));
            QVERIFY(!window(p, e.form)->isVisible());
        }
    }
    QCOMPARE(p.dialogs().shown.size(), 0);
}

void SnippetWindowsTest::closeBoxAndCloseButtonSetTheSameMessage() {
    TestProgram p;
    for (const Expected& e : kWindows) {
        p.form().patterns().message("before");
        const ModalRun byButton = whileModal(
            [&] { p.form().action(e.item)->trigger(); },
            [&](QWidget* w) { QTest::mouseClick(pushButton(w, e.close), Qt::LeftButton); });
        QVERIFY2(byButton.closedByStep, e.form);
        QCOMPARE(p.message(), u(e.message));

        p.form().patterns().message("before");
        const ModalRun byBox = whileModal([&] { p.form().action(e.item)->trigger(); });
        QVERIFY(byBox.window);
        QCOMPARE(p.message(), u(e.message));
    }
}

void SnippetWindowsTest::copyWithoutSelectionKeepsClipboard() {
    TestProgram p;
    for (const Expected& e : kWindows) {
        QApplication::clipboard()->setText("kept");
        bool stayedOpen = false;
        whileModal([&] { p.form().action(e.item)->trigger(); },
                   [&](QWidget* w) {
                       QTest::mouseClick(pushButton(w, e.copy), Qt::LeftButton);
                       stayedOpen = w->isVisible();
                   });
        QVERIFY2(stayedOpen, e.form);
        QCOMPARE(QApplication::clipboard()->text(), QString("kept"));
    }
}

void SnippetWindowsTest::copyOneWordOfMovingText() {
    TestProgram p;
    QApplication::clipboard()->setText("old");
    p.form().patterns().message("before");
    QString messageAfterCopy;
    bool stayedOpen = false;
    whileModal([&] { p.form().action("Pohybujcsetext1")->trigger(); },
               [&](QWidget* w) {
                   QPlainTextEdit* f = field(w);
                   const int at = f->toPlainText().indexOf("Verdana");
                   QVERIFY(at > 0);
                   selectRange(f, at, at + 7);
                   QTest::mouseClick(pushButton(w, "Button2"), Qt::LeftButton);
                   stayedOpen = w->isVisible();
                   messageAfterCopy = p.message();
               });
    QVERIFY(stayedOpen);
    QCOMPARE(QApplication::clipboard()->text(), QString("Verdana"));
    QCOMPARE(messageAfterCopy, QString("before"));
    QCOMPARE(p.dialogs().shown.size(), 0);
}

void SnippetWindowsTest::copyWholeColourChangeScript() {
    TestProgram p;
    QApplication::clipboard()->setText("old");
    whileModal([&] { p.form().action("Zmnabarvy1")->trigger(); },
               [&](QWidget* w) {
                   QPlainTextEdit* f = field(w);
                   f->setFocus();
                   QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
                   QTest::mouseClick(pushButton(w, "Button2"), Qt::LeftButton);
               });
    const QString copied = QApplication::clipboard()->text();
    QCOMPARE(copied, colourChangeText());
    const QStringList lines = copied.split('\n');
    QCOMPARE(lines.size(), 29);
    QVERIFY(lines[0].endsWith(' '));
    QVERIFY(lines[27].endsWith(' '));
    QVERIFY(!lines[28].endsWith(' '));
}

void SnippetWindowsTest::copyPutsPlainTextOnly_data() {
    QTest::addColumn<int>("window"); // a row of kWindows
    QTest::addColumn<bool>("byKey"); // Ctrl+C in the field, else the copy button
    for (int i = 0; i < int(std::size(kWindows)); ++i) {
        QTest::addRow("%s, copy button", kWindows[i].form) << i << false;
        QTest::addRow("%s, Ctrl+C", kWindows[i].form) << i << true;
    }
}

void SnippetWindowsTest::copyPutsPlainTextOnly() {
    QFETCH(int, window);
    QFETCH(bool, byKey);
    if (!copying_) {
        copying_ = std::make_unique<TestProgram>();
    }
    const Expected& e = kWindows[window];
    QApplication::clipboard()->setText("old");
    QString shown;
    whileModal([&] { copying_->form().action(e.item)->trigger(); },
               [&](QWidget* w) {
                   QPlainTextEdit* f = field(w);
                   f->setFocus();
                   f->selectAll();
                   shown = f->toPlainText();
                   if (byKey) {
                       QTest::keyClick(f, Qt::Key_C, Qt::ControlModifier);
                   } else {
                       QTest::mouseClick(pushButton(w, e.copy), Qt::LeftButton);
                   }
               });
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->formats(), QStringList{"text/plain"});
    QVERIFY(!shown.isEmpty());
    QCOMPARE(data->text(), shown);
}

void SnippetWindowsTest::changesStayUntilRestart() {
    const QString original = expectedText("TForm6");
    {
        TestProgram p;
        whileModal([&] { p.form().action("Datumas1")->trigger(); },
                   [&](QWidget* w) {
                       QPlainTextEdit* f = field(w);
                       f->moveCursor(QTextCursor::Start);
                       QTest::keyClicks(f, "XY");
                   });
        QString shownAgain;
        int caretAgain = -1;
        whileModal([&] { p.form().action("Datumas1")->trigger(); },
                   [&](QWidget* w) {
                       shownAgain = field(w)->toPlainText();
                       caretAgain = field(w)->textCursor().position();
                   });
        QCOMPARE(shownAgain, "XY" + original);
        QCOMPARE(caretAgain, 2); // the caret is kept too
    }
    TestProgram restarted;
    QCOMPARE(field(window(restarted, "TForm6"))->toPlainText(), original);
}

void SnippetWindowsTest::mainWindowIgnoresClicksWhileOpen() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    QAbstractButton* bold = p.form().button("SpeedButton50");
    QVERIFY(bold);
    const QPoint at = bold->mapTo(&p.form(), bold->rect().center());
    Editor* page = p.form().editor(1);
    QString pageWhileOpen = "<not run>";
    whileModal([&] { p.form().action("Domovskstrnka1")->trigger(); },
               [&](QWidget*) {
                   QTest::mouseClick(p.form().windowHandle(), Qt::LeftButton, {}, at);
                   QCoreApplication::processEvents();
                   pageWhileOpen = page->toPlainText();
               });
    QCOMPARE(pageWhileOpen, QString());
    QCOMPARE(p.message(), u("Domovská stránka..."));
    // The same click reaches the button once the window is closed.
    QTest::mouseClick(p.form().windowHandle(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    QCOMPARE(page->toPlainText(), QString("<B></B>"));
}

QTEST_MAIN(SnippetWindowsTest)
#include "tst_snippetwindows.moc"
