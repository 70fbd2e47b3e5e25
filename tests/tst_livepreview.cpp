// Operace > Živý náhled: the shown page rendered by the real web engine as
// it is typed, its pictures beside it, the caret's element outlined, a
// Ctrl+click back into the source, links handed to the shell, a killed
// render process and the panel's place; the page itself never changes.

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <csignal>
#include <memory>
#include <optional>

#include "editor/editor.h"
#include "files/documents.h"
#include "ground/settings.h"
#include "preview/livepreview.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

namespace {

constexpr int kLoad = 30000; // a first load under a loaded machine

// The script's result; its callback may come after the wait gave up (or as
// the page goes), so it owns what it writes to.
QVariant js(PreviewView* view, const QString& code) {
    auto result = std::make_shared<std::optional<QVariant>>();
    view->runScript(code, [result](const QVariant& r) { *result = r; });
    return QTest::qWaitFor([&] { return result->has_value(); }, 10000) ? **result : QVariant();
}

// Real key events, one a character, as typed.
void type(QWidget* to, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, to, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

const char kPage[] = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n"
                     "<p id=\"a\">Žluťoučký kůň</p>\n<div id=\"b\"><span id=\"c\">x</span></div>\n"
                     "<img src=\"obr.png\" id=\"i\">\n"
                     "<a id=\"out\" href=\"https://example.org/\">ven</a>\n"
                     "<a id=\"in\" href=\"#end\">dolů</a>\n"
                     "<div style=\"height:4000px\"></div><p id=\"end\">konec</p>\n</body></html>\n";

} // namespace

class LivePreviewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void showsThePageAsTyped_data();
    void showsThePageAsTyped();
    void scrollSurvivesAnUpdate();
    void caretAndCtrlClick_data();
    void caretAndCtrlClick();
    void linksGoToTheShell();
    void killedRendererRecovers();
    void panelMovesAndIsKept();
    void pageIsNeverChanged();

private:
    void openPage(const QString& name, const QByteArray& bytes);
    void waitForText(const QString& text);
    QString offsetOf(const QString& tag) const;

    std::unique_ptr<TestProgram> program_;
    PreviewView* view_ = nullptr;
    LivePreviewPanel* panel_ = nullptr;
    QString undoBefore_;
};

void LivePreviewTest::initTestCase() {
    program_ = std::make_unique<TestProgram>();
    QVERIFY(program_->showAndActivate());
    TForm1& form = program_->form();
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(program_->path("obr.png")));
    openPage("stranka.html", kPage);
    QAction* item = form.action("ivnhled1");
    QVERIFY(item->isCheckable());
    QCOMPARE(item->shortcut(), QKeySequence(QStringLiteral("Shift+F9")));
    item->trigger();
    QCOMPARE(program_->message(), QString::fromUtf8("Živý náhled..."));
    panel_ = form.findChild<LivePreviewPanel*>(QStringLiteral("LivePreviewPanel"));
    QVERIFY(panel_ && panel_->isVisible());
    view_ = panel_->view();
    QVERIFY(view_ && view_->widget()->isVisible());
    waitForText(QString::fromUtf8("Žluťoučký kůň"));
}

// Opens the file into the shown page and, with the panel shown, waits until
// the preview has loaded the page (one that is HTML).
void LivePreviewTest::openPage(const QString& name, const QByteArray& bytes) {
    QVERIFY(zelvar::testing::writeFileBytes(program_->path(name), bytes));
    std::optional<QSignalSpy> updated;
    if (panel_) {
        updated.emplace(panel_, &LivePreviewPanel::updated);
    }
    Documents::of(program_->form()).openFiles({program_->path(name)});
    if (updated && name.endsWith(QLatin1String(".html")) && !bytes.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(updated->count() > 0, kLoad);
    }
}

void LivePreviewTest::waitForText(const QString& text) {
    QTRY_VERIFY_WITH_TIMEOUT(
        js(view_, QStringLiteral("document.body ? document.body.innerText : ''"))
            .toString()
            .contains(text),
        kLoad);
}

QString LivePreviewTest::offsetOf(const QString& tag) const {
    return QString::number(program_->form().activeEditor()->document()->toRawText().indexOf(tag));
}

// The shown page's text, saved or not, and its pictures; a page that is no
// HTML shows the note instead.
void LivePreviewTest::showsThePageAsTyped_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("note");
    QTest::newRow("saved page, picture beside it") << "a.html" << QByteArray(kPage) << "Ř"
                                                   << "";
    QTest::newRow("windows-1250 page") << "b.html"
                                       << QByteArray("<meta charset=\"windows-1250\"><p>\x9e"
                                                     "elva</p><img src=\"obr.png\" id=\"i\">")
                                       << "ň"
                                       << "";
    QTest::newRow("empty page") << "e.html" << QByteArray() << ""
                                << "Náhled ukazuje jen stránky HTML.";
    QTest::newRow("style sheet") << "c.css" << QByteArray("p { color: red }") << "x"
                                 << "Náhled ukazuje jen stránky HTML.";
    QTest::newRow("script") << "d.mjs" << QByteArray("let a = '<p>';") << "x"
                            << "Náhled ukazuje jen stránky HTML.";
}

void LivePreviewTest::showsThePageAsTyped() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, typed);
    QFETCH(QString, note);
    openPage(file, bytes);
    Editor* page = program_->form().activeEditor();
    QTextCursor caret(page->document());
    caret.setPosition(qMax(0, int(page->document()->toRawText().indexOf(QStringLiteral("</p>")))));
    page->setTextCursor(caret);
    js(view_, QStringLiteral("window.zelvarTestKept = 1"));
    type(page, typed);
    auto* shown = panel_->findChild<QLabel*>(QStringLiteral("LivePreviewNote"));
    if (!note.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(shown->isVisible(), kLoad);
        QCOMPARE(shown->text(), note);
        return;
    }
    waitForText(typed);
    QVERIFY(!shown->isVisible());
    // A change inside a paragraph is shown in place: no reload.
    QCOMPARE(js(view_, QStringLiteral("typeof window.zelvarTestKept")).toString(), "number");
    QTRY_COMPARE_WITH_TIMEOUT(
        js(view_, QStringLiteral("document.getElementById('i').naturalWidth")).toInt(), 3, kLoad);
    // The helpers' offsets never reach the page's own document.
    QCOMPARE(js(view_, QStringLiteral("document.querySelectorAll('[data-zv]').length")).toInt(), 0);
}

void LivePreviewTest::scrollSurvivesAnUpdate() {
    openPage("scroll.html", kPage);
    waitForText(QStringLiteral("konec"));
    js(view_, QStringLiteral("window.scrollTo(0, 1500)"));
    QTRY_COMPARE(js(view_, QStringLiteral("window.scrollY")).toInt(), 1500);
    QSignalSpy updated(panel_, &LivePreviewPanel::updated);
    Editor* page = program_->form().activeEditor();
    page->moveCursor(QTextCursor::End);
    type(page, QStringLiteral("<p>nový</p>"));
    QTRY_VERIFY_WITH_TIMEOUT(updated.count() > 0, kLoad);
    waitForText(QString::fromUtf8("nový"));
    QTRY_COMPARE(js(view_, QStringLiteral("window.scrollY")).toInt(), 1500);
}

// The caret's element is outlined; a Ctrl+click on an element puts the
// caret on its start tag. A letter typed first, into the first paragraph or
// between the body's elements, is shown in place: the elements after it
// have moved.
void LivePreviewTest::caretAndCtrlClick_data() {
    QTest::addColumn<QString>("typedAt");
    QTest::addColumn<QString>("caretIn");
    QTest::addColumn<QString>("outlined");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("startTag");
    QTest::newRow("paragraph") << "</p>"
                               << "Žluťoučký"
                               << "a"
                               << "c"
                               << "<span id=\"c\">";
    QTest::newRow("nested span") << "<div id=\"b\">"
                                 << ">x<"
                                 << "c"
                                 << "b"
                                 << "<div id=\"b\">";
    QTest::newRow("off screen") << "<div id=\"b\">"
                                << "konec"
                                << "end"
                                << "a"
                                << "<p id=\"a\">";
}

void LivePreviewTest::caretAndCtrlClick() {
    QFETCH(QString, typedAt);
    QFETCH(QString, caretIn);
    QFETCH(QString, outlined);
    QFETCH(QString, clicked);
    QFETCH(QString, startTag);
    openPage("caret.html", kPage);
    waitForText(QStringLiteral("konec"));
    Editor* page = program_->form().activeEditor();
    QTextCursor caret(page->document());
    caret.setPosition(page->document()->toRawText().indexOf(typedAt));
    page->setTextCursor(caret);
    js(view_, QStringLiteral("window.zelvarTestKept = 1"));
    type(page, QStringLiteral("Ř"));
    waitForText(QString::fromUtf8("Ř"));
    QCOMPARE(js(view_, QStringLiteral("typeof window.zelvarTestKept")).toString(), "number");
    caret.setPosition(page->document()->toRawText().indexOf(caretIn) + 1);
    page->setTextCursor(caret);
    // The outline box covers the element's box, in view.
    const QString boxes =
        QStringLiteral(
            "(function () { const e = document.getElementById('%1').getBoundingClientRect();"
            " const o = document.documentElement.lastElementChild.getBoundingClientRect();"
            " return Math.abs(e.top - o.top) < 1 && Math.abs(e.width - o.width) < 1"
            " && e.top >= 0 && e.top < innerHeight; })()")
            .arg(outlined);
    QTRY_VERIFY_WITH_TIMEOUT(js(view_, boxes).toBool(), kLoad);
    js(view_, QStringLiteral("document.getElementById('%1').dispatchEvent(new MouseEvent('click',"
                             " {bubbles: true, cancelable: true, ctrlKey: true}))")
                  .arg(clicked));
    QTRY_COMPARE_WITH_TIMEOUT(QString::number(page->textCursor().position()), offsetOf(startTag),
                              kLoad);
    QCOMPARE(program_->form().focusWidget(), page);
}

void LivePreviewTest::linksGoToTheShell() {
    openPage("links.html", kPage);
    waitForText(QStringLiteral("konec"));
    js(view_, QStringLiteral("window.scrollTo(0, 0); document.getElementById('out').click()"));
    QTRY_COMPARE_WITH_TIMEOUT(program_->shell().urls, QStringList{"https://example.org/"}, kLoad);
    js(view_, QStringLiteral("document.getElementById('in').click()"));
    QTRY_VERIFY_WITH_TIMEOUT(js(view_, QStringLiteral("window.scrollY")).toInt() > 3000, kLoad);
    QCOMPARE(program_->shell().urls.size(), 1);
    waitForText(QStringLiteral("konec")); // still the page
}

void LivePreviewTest::killedRendererRecovers() {
    openPage("crash.html", kPage);
    waitForText(QStringLiteral("konec"));
    const qint64 pid = view_->renderProcess();
    QVERIFY(pid > 0);
    ::kill(pid_t(pid), SIGKILL);
    auto* note = panel_->findChild<QLabel*>(QStringLiteral("LivePreviewNote"));
    QTRY_VERIFY_WITH_TIMEOUT(note->isVisible(), kLoad);
    QCOMPARE(note->text(), QString::fromUtf8("Zobrazení náhledu selhalo."));
    auto* restart = panel_->findChild<QPushButton*>(QStringLiteral("LivePreviewRestart"));
    QCOMPARE(restart->text(), QString::fromUtf8("Spustit znovu"));
    // The editor goes on meanwhile.
    type(program_->form().activeEditor(), QStringLiteral("<p>po pádu</p>"));
    QTest::mouseClick(restart, Qt::LeftButton);
    QVERIFY(!note->isVisible());
    waitForText(QString::fromUtf8("po pádu"));
    QVERIFY(view_->renderProcess() != pid);
}

void LivePreviewTest::panelMovesAndIsKept() {
    auto* mover = panel_->findChild<QToolButton*>(QStringLiteral("LivePreviewMove"));
    for (const auto& [caption, orientation, below] :
         {std::tuple{"Přesunout dolů", Qt::Vertical, true},
          std::tuple{"Přesunout vpravo", Qt::Horizontal, false}}) {
        QCOMPARE(mover->text(), QString::fromUtf8(caption));
        QTest::mouseClick(mover, Qt::LeftButton);
        QCOMPARE(program_->message(), QString::fromUtf8(caption));
        QCOMPARE(qobject_cast<QSplitter*>(panel_->parentWidget())->orientation(), orientation);
        QCOMPARE(program_->form().settings().flag("view/livepreviewbelow", !below), below);
        QVERIFY(panel_->isVisible());
    }
    auto* splitter = qobject_cast<QSplitter*>(panel_->parentWidget());
    splitter->setSizes({600, 333});
    Q_EMIT splitter->splitterMoved(600, 1);
    QCOMPARE(program_->form().settings().number("view/livepreviewwidth", 0), panel_->width());
    QAction* item = program_->form().action("ivnhled1");
    item->trigger();
    QVERIFY(!panel_->isVisible());
    QVERIFY(!program_->form().settings().flag("view/livepreview", true));
    item->trigger();
    QVERIFY(panel_->isVisible());
    QCOMPARE(panel_->width(), program_->form().settings().number("view/livepreviewwidth", 0));
}

// All of the above leaves the page as typed: its text, file, flag and undo
// steps are the editor's own.
void LivePreviewTest::pageIsNeverChanged() {
    openPage("same.html", kPage);
    Editor* page = program_->form().activeEditor();
    type(page, QStringLiteral("<b>tučně</b>"));
    const QString text = page->document()->toRawText();
    const int steps = page->document()->availableUndoSteps();
    waitForText(QString::fromUtf8("tučně"));
    QTextCursor caret(page->document());
    caret.setPosition(text.indexOf(QStringLiteral("<span")));
    page->setTextCursor(caret);
    js(view_, QStringLiteral("document.getElementById('b').dispatchEvent(new MouseEvent('click',"
                             " {bubbles: true, ctrlKey: true}))"));
    QTRY_COMPARE_WITH_TIMEOUT(QString::number(page->textCursor().position()),
                              offsetOf(QStringLiteral("<div id=\"b\">")), kLoad);
    QCOMPARE(page->document()->toRawText(), text);
    QCOMPARE(page->document()->availableUndoSteps(), steps);
    QVERIFY(page->isModifiedFlag());
    QCOMPARE(zelvar::testing::readFileBytes(program_->path("same.html")), QByteArray(kPage));
}

QTEST_MAIN(LivePreviewTest)
#include "tst_livepreview.moc"
