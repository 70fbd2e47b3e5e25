// What the main window offers its features: places for panels beside the
// pages, a record of each page's file with the page events, the stack of
// view layers of every page editor, settings that last, and what is built on
// them: the page's file on screen, recent files, outside changes, line
// numbers and going to a line.

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <memory>

#include "editor/editor.h"
#include "editor/viewlayers.h"
#include "ground/commands.h"
#include "ground/pagerecord.h"
#include "ground/settings.h"
#include "support/filebytes.h"
#include "support/standinworkspace.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

class WorkspaceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void panelTakesAndGivesBackSpace_data();
    void panelTakesAndGivesBackSpace();
    void pageRecordFollowsItsFile();
    void outsideChangeOfferedOnce_data();
    void outsideChangeOfferedOnce();
    void pageFileOnScreen();
    void recentFiles();
    void lineNumbersBesideThePage();
    void goToLine_data();
    void goToLine();
    void layersAddUp();
    void bigFileInParts_data();
    void bigFileInParts();
    void settingsLast_data();
    void settingsLast();

private:
    std::unique_ptr<TestProgram> p_;
};

void WorkspaceTest::initTestCase() {
    p_ = std::make_unique<TestProgram>();
    QVERIFY(p_->showAndActivate());
}

void WorkspaceTest::cleanupTestCase() {
    p_.reset();
}

void WorkspaceTest::panelTakesAndGivesBackSpace_data() {
    QTest::addColumn<bool>("right");
    QTest::newRow("right of the pages") << true;
    QTest::newRow("below the pages") << false;
}

void WorkspaceTest::panelTakesAndGivesBackSpace() {
    QFETCH(bool, right);
    TForm1& form = p_->form();
    QWidget* pages = form.pageControl();
    const QSize before = pages->size();
    const int minimumWidth = form.minimumSizeHint().width();
    auto panel = std::make_unique<QLabel>(QStringLiteral("panel"));
    panel->setMinimumSize(120, 80);
    form.addPanel(panel.get(), PanelPlace::Below);
    form.movePanel(panel.get(), right ? PanelPlace::Right : PanelPlace::Below);
    QVERIFY(panel->isHidden());
    panel->show();
    // The space comes from the pages, across or down as the place has it.
    QTRY_VERIFY((right ? pages->width() < before.width() : pages->height() < before.height()));
    QCOMPARE(right ? pages->height() : pages->width(), right ? before.height() : before.width());
    panel->hide();
    QTRY_COMPARE(pages->size(), before);
    QCOMPARE(form.minimumSizeHint().width(), minimumWidth);
}

// Open gives the page its file, Save As another one, the static memory none;
// each says so through the page events, as a change of the shown page does,
// and the dialogs start from the page's file.
void WorkspaceTest::pageRecordFollowsItsFile() {
    testing::StandInWorkspace form;
    installDocumentCommands(form);
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path()); // where the static memory lies
    const QString file = folder.filePath(QStringLiteral("stranka.html"));
    testing::writeAll(file, "<p>a</p>\n");
    QSignalSpy files(&form.pageEvents(), &PageEvents::fileChanged);
    QSignalSpy shown(&form.pageEvents(), &PageEvents::shownPageChanged);

    form.showPage(2);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown.takeFirst().at(0).toInt(), 2);
    form.dialogs().fileAnswers.append({true, file, 1});
    form.action("Otevt1")->trigger();
    QCOMPARE(form.pageRecord(2).file, file);
    QCOMPARE(form.pageRecord(2).size, 9);
    QVERIFY(!form.pageRecord(1).hasFile());

    // Save As proposes the page's own file, for a page with none the name
    // chosen last.
    const QString other = folder.filePath(QStringLiteral("jina.html"));
    form.dialogs().fileAnswers.append({true, other, 1});
    form.action("Uloitjako1")->trigger();
    QCOMPARE(form.dialogs().fileRequests.last().fileName, file);
    QCOMPARE(form.pageRecord(2).file, other);
    form.showPage(1);
    form.action("Uloitjako1")->trigger(); // cancelled
    QCOMPARE(form.dialogs().fileRequests.last().fileName, other);
    form.showPage(2);

    // Stored in the static memory and loaded from it: the program's own file.
    form.action("Uloit1")->trigger();
    QCOMPARE(form.pageRecord(2).file, other);
    form.dialogs().answers.append(MsgButton::Ok); // the page holds changes
    form.action("Nast1")->trigger();
    QDir::setCurrent(previous);
    QVERIFY(!form.pageRecord(2).hasFile());
    QCOMPARE(files.count(), 3);
    for (const QList<QVariant>& event : std::as_const(files)) {
        QCOMPARE(event.at(0).toInt(), 2);
    }
}

void WorkspaceTest::outsideChangeOfferedOnce_data() {
    QTest::addColumn<bool>("typed");    // the page has changes of its own
    QTest::addColumn<bool>("removed");  // the file is removed, not changed
    QTest::addColumn<bool>("yes");      // the answer
    QTest::addColumn<QString>("shown"); // the page's text after it
    QTest::newRow("read again") << false << false << true << "<p>new</p>\n";
    QTest::newRow("not read again") << false << false << false << "<p>a</p>\n";
    QTest::newRow("changes kept") << true << false << false << "x<p>a</p>\n";
    QTest::newRow("changes given up") << true << false << true << "<p>new</p>\n";
    QTest::newRow("removed") << false << true << true << "<p>a</p>\n";
}

// When the window is activated, a page whose file another program changed
// or removed is named, once for each change; nothing is read without a yes.
void WorkspaceTest::outsideChangeOfferedOnce() {
    QFETCH(bool, typed);
    QFETCH(bool, removed);
    QFETCH(bool, yes);
    QFETCH(QString, shown);
    testing::StandInWorkspace form;
    installDocumentCommands(form);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("stranka.html"));
    testing::writeAll(file, "<p>a</p>\n");
    form.dialogs().fileAnswers.append({true, file, 1});
    form.action("Otevt1")->trigger();
    Editor* page = form.editor(1);
    if (typed) {
        QTextCursor(page->document()).insertText(QStringLiteral("x"));
    }
    const auto activate = [&form] {
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(&form.mainWindow(), &activation);
        QApplication::processEvents();
    };
    activate();
    const qsizetype before = form.dialogs().shown.size();
    QCOMPARE(before, 0); // nothing changed yet
    if (removed) {
        QFile::remove(file);
    } else {
        testing::writeAll(file, "<p>new</p>\n");
    }
    form.dialogs().answers.append(yes ? MsgButton::Yes : MsgButton::No);
    activate();
    activate(); // the same change is named once
    QCOMPARE(form.dialogs().shown.size(), 1);
    const QString asked = form.dialogs().shown.first().text;
    QVERIFY2(asked.contains(QDir::toNativeSeparators(file)), qPrintable(asked));
    QCOMPARE(asked.contains(QString::fromUtf8("neuložené změny")), typed);
    QCOMPARE(asked.contains(QString::fromUtf8("odstraněn")), removed);
    QCOMPARE(page->toPlainText(), shown);
    QCOMPARE(page->isModifiedFlag(), typed && !yes);
}

// The status bar names the shown page's file and marks its changes, beside
// the encoding its line breaks; Formát > Konce řádků converts them on the
// next write.
void WorkspaceTest::pageFileOnScreen() {
    p_->resetEditors();
    TForm1& form = p_->form();
    const int minimumWidth = form.minimumSizeHint().width();
    QCOMPARE(p_->label("StatusBar1Panel1"), QString::fromUtf8("Nový soubor"));
    QCOMPARE(p_->label("LineBreakPanel"), QStringLiteral("CR LF"));
    const QString file = p_->path(QStringLiteral("unix.html"));
    testing::writeAll(file, "<p>a</p>\n<p>b</p>\n");
    p_->dialogs().fileAnswers.append({true, file, 1});
    form.action("Otevt1")->trigger();
    QCOMPARE(form.pageControl()->tabToolTip(0), file);
    QVERIFY(!p_->label("StatusBar1Panel1").endsWith('*'));
    QCOMPARE(p_->label("LineBreakPanel"), QStringLiteral("LF"));
    QVERIFY(form.action("UnixLF1")->isChecked());

    form.editor(1)->insertAtSelStart(QStringLiteral("<p>c</p>"));
    QVERIFY(p_->label("StatusBar1Panel1").endsWith(QStringLiteral(" *")));
    form.action("WindowsCRLF1")->trigger();
    QCOMPARE(p_->label("LineBreakPanel"), QStringLiteral("CR LF"));
    p_->dialogs().fileAnswers.append({true, file, 1});
    form.action("Uloitjako1")->trigger();
    QCOMPARE(testing::readAll(file), QByteArray("<p>a</p>\r\n<p>b</p>\r\n<p>c</p>\r\n"));
    QVERIFY(!p_->label("StatusBar1Panel1").endsWith('*'));
    form.showPage(2);
    QCOMPARE(p_->label("StatusBar1Panel1"), QString::fromUtf8("Nový soubor"));
    form.showPage(1);
    QCOMPARE(form.minimumSizeHint().width(), minimumWidth);
}

// Soubor > Naposledy otevřené: the files opened or saved, the latest first;
// one that is gone is named and taken off.
void WorkspaceTest::recentFiles() {
    p_->resetEditors();
    TForm1& form = p_->form();
    QStringList files;
    for (const char* name : {"prvni.html", "druha.html"}) {
        files.prepend(p_->path(QLatin1String(name)));
        testing::writeAll(files.first(), name);
        p_->dialogs().fileAnswers.append({true, files.first(), 1});
        p_->dialogs().answers.append(MsgButton::Ok); // the page may hold changes
        form.action("Otevt1")->trigger();
    }
    QMenu* recent = form.action("Naposledyoteven1")->menu();
    const auto entries = [recent] {
        Q_EMIT recent->aboutToShow();
        QStringList texts;
        for (const QAction* entry : recent->actions()) {
            texts << entry->text();
        }
        return texts;
    };
    const int listed = int(entries().size());
    QCOMPARE(entries().mid(0, 2), QStringList({"&1 " + files[0], "&2 " + files[1]}));
    recent->actions().at(1)->trigger();
    QCOMPARE(form.editor(1)->toPlainText(), QStringLiteral("prvni.html"));
    QCOMPARE(entries().mid(0, 2), QStringList({"&1 " + files[1], "&2 " + files[0]}));

    QFile::remove(files[0]);
    const qsizetype shown = p_->dialogs().shown.size();
    entries();
    recent->actions().at(1)->trigger();
    QCOMPARE(p_->dialogs().shown.size(), shown + 1);
    QVERIFY(p_->dialogs().shown.last().text.contains(files[0]));
    QCOMPARE(entries().size(), listed - 1);
    QVERIFY(!entries().join('\n').contains(files[0]));
}

// The gutter numbers the lines beside the text, as wide as the numbers
// need; the text written out is the same with it or without it.
void WorkspaceTest::lineNumbersBesideThePage() {
    p_->resetEditors();
    TForm1& form = p_->form();
    Editor* page = form.editor(1);
    QStringList lines;
    for (int i = 1; i <= 150; ++i) {
        lines << QStringLiteral("<p>%1</p>").arg(i);
    }
    page->setText(lines.join('\n'));
    QVERIFY(form.action("sladk1")->isChecked());
    auto* gutter = page->findChild<QWidget*>(QStringLiteral("LineNumberGutter"));
    QVERIFY(gutter && gutter->isVisible());
    const int digit = page->fontMetrics().horizontalAdvance('9');
    QVERIFY(gutter->width() >= 3 * digit);
    QCOMPARE(gutter->geometry().top(), page->viewport()->geometry().top());
    QCOMPARE(gutter->height(), page->viewport()->height());
    // Drawn by parts as the caret moves and the page scrolls (the caret's
    // number bold), the gutter on screen is the gutter drawn whole.
    form.showPage(1);
    page->setFocus();
    for (const auto& [key, times] : {std::pair{Qt::Key_Down, 90}, std::pair{Qt::Key_Up, 7}}) {
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(page, key);
            QApplication::processEvents();
        }
    }
    const QPoint at = gutter->mapTo(gutter->window(), QPoint());
    const QImage shown = gutter->screen()
                             ->grabWindow(gutter->window()->winId(), at.x(), at.y(),
                                          gutter->width(), gutter->height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, gutter->grab().toImage().convertToFormat(QImage::Format_RGB32));
    const QString out = p_->path(QStringLiteral("cisla.html"));
    p_->dialogs().fileAnswers.append({true, out, 1});
    form.action("Uloitjako1")->trigger();
    const QByteArray numbered = testing::readAll(out);

    form.action("sladk1")->trigger();
    QVERIFY(!page->findChild<QWidget*>(QStringLiteral("LineNumberGutter")));
    p_->dialogs().fileAnswers.append({true, out, 1});
    form.action("Uloitjako1")->trigger();
    QCOMPARE(testing::readAll(out), numbered);
    QVERIFY(numbered.startsWith("<p>1</p>\r\n<p>2</p>"));
}

// Two layers mark one word: both show, the higher rank over the lower. A
// layer taken out leaves no format behind, and the stack's marks of one
// rank leave the others'.
void WorkspaceTest::layersAddUp() {
    testing::StandInWorkspace form;
    Editor& page = *form.editor(1);
    form.mainWindow().show();
    page.setText(QStringLiteral("<p>slovo</p>\n"));
    ViewLayers& layers = page.layers();
    const auto marking = [](QTextCharFormat format) {
        return [format](const QTextBlock&, QStringView, int, const QList<HtmlSpan>&,
                        QList<QTextLayout::FormatRange>& formats) {
            formats.append({3, 5, format});
        };
    };
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    QTextCharFormat found;
    found.setBackground(Qt::yellow);
    layers.setLineLayer(ViewLayers::Spelling, marking(wavy));
    layers.setLineLayer(ViewLayers::SearchMarks, marking(found));
    QApplication::processEvents();
    const QTextLayout* line = page.document()->firstBlock().layout();
    const QList<QTextLayout::FormatRange> both = line->formats();
    QVERIFY(both.size() >= 2);
    QCOMPARE(both.at(both.size() - 2).format, wavy);
    QCOMPARE(both.last().format, found);

    layers.setLineLayer(ViewLayers::Spelling, {});
    layers.setLineLayer(ViewLayers::SearchMarks, {});
    QApplication::processEvents();
    QCOMPARE(line->formats().size(), both.size() - 2);

    QTextCursor word(page.document());
    word.setPosition(3);
    word.setPosition(8, QTextCursor::KeepAnchor);
    layers.setMarks(ViewLayers::SearchMarks, {{word, found}});
    const int withTags = int(layers.marks(ViewLayers::MatchingTags).size());
    QCOMPARE(page.extraSelections().size(), withTags + 1);
    layers.setMarks(ViewLayers::SearchMarks, {});
    QCOMPARE(page.extraSelections().size(), withTags);
}

void WorkspaceTest::settingsLast_data() {
    QTest::addColumn<QByteArray>("stored"); // the file as found: none, a folder, or bytes
    QTest::addColumn<bool>("colouring");    // what the settings then say
    QTest::addColumn<bool>("lasting");      // a change is kept in the file
    QTest::newRow("no file") << QByteArray() << true << true;
    QTest::newRow("off") << QByteArray("[view]\ncolouring=false\n") << false << true;
    QTest::newRow("not a yes or no") << QByteArray("[view]\ncolouring=maybe\n") << true << true;
    QTest::newRow("damaged") << QByteArray("\x01\xff\xfe[[[=\n\x00colouring") << true << true;
    QTest::newRow("a folder in its place") << QByteArray("/") << true << false;
}

// Read as stored, or the defaults; written only when a value changes.
void WorkspaceTest::settingsLast() {
    QFETCH(QByteArray, stored);
    QFETCH(bool, colouring);
    QFETCH(bool, lasting);
    const QString file = p_->path(QStringLiteral("config/zelvar/zelvar.conf"));
    QFile::remove(file);
    QDir(file).removeRecursively();
    QDir().mkpath(QFileInfo(file).path());
    if (stored == "/") {
        QDir().mkpath(file);
    } else if (!stored.isEmpty()) {
        testing::writeAll(file, stored);
    }
    {
        Settings settings(file);
        QCOMPARE(settings.flag("view/colouring", true), colouring);
        if (stored.contains("=false")) {
            settings.setFlag("view/colouring", false);
            QCOMPARE(testing::readAll(file), stored); // nothing changed, nothing written
        }
        settings.setFlag("view/colouring", !colouring);
        QCOMPARE(settings.flag("view/colouring", true), !colouring);
        settings.setList("files/recent", {QStringLiteral("/a.html"), QStringLiteral("/b.html")});
    }
    Settings again(file);
    QCOMPARE(again.flag("view/colouring", true), lasting ? !colouring : colouring);
    QCOMPARE(again.list("files/recent").size(), lasting ? 2 : 0);
}

void WorkspaceTest::bigFileInParts_data() {
    QTest::addColumn<int>("stopAt"); // the progress at which Esc comes; -1 never
    QTest::newRow("read whole") << -1;
    QTest::newRow("stopped while read") << 0;
    QTest::newRow("stopped while going in") << 1;
}

// A big file goes in with its progress in the status bar, and keeps every
// byte; Esc stops it and leaves the page as it was, its history included.
void WorkspaceTest::bigFileInParts() {
    QFETCH(int, stopAt);
    p_->resetEditors();
    TForm1& form = p_->form();
    Editor* page = form.editor(1);
    page->setText(QStringLiteral("stará"));
    page->insertAtSelStart(QStringLiteral("<p>"));
    const QString before = page->toPlainText();
    const QString fileBefore = form.pageRecord(1).file;
    QByteArray bytes;
    for (int i = 0; bytes.size() <= Editor::kLoadInPartsFrom; ++i) {
        bytes += "<p>P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 " + QByteArray::number(i) +
                 "</p>\r\n";
    }
    const QString file = p_->path(QStringLiteral("velka.html"));
    testing::writeAll(file, bytes);
    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("LoadProgress"));
    bool shown = false;
    connect(page, &Editor::loadProgress, this, [&](int percent) {
        shown = shown || bar->isVisible();
        if (stopAt >= 0 && percent >= stopAt) {
            QTest::keyClick(&form, Qt::Key_Escape);
        }
    });
    p_->dialogs().answers << MsgButton::Ok; // the page's text may go
    p_->dialogs().fileAnswers.append({true, file, 1});
    form.action("Otevt1")->trigger();
    disconnect(page, &Editor::loadProgress, this, nullptr);
    QVERIFY(shown);
    QVERIFY(!bar->isVisible());
    if (stopAt >= 0) {
        QCOMPARE(page->toPlainText(), before);
        QVERIFY(page->isModifiedFlag());
        QCOMPARE(form.pageRecord(1).file, fileBefore);
        QCOMPARE(p_->message(), QString::fromUtf8("Otevírání souboru zrušeno..."));
        page->undoLast();
        QCOMPARE(page->toPlainText(), QStringLiteral("stará"));
        return;
    }
    QVERIFY(!page->isModifiedFlag());
    const QString out = p_->path(QStringLiteral("zpet.html"));
    p_->dialogs().fileAnswers.append({true, out, 1});
    form.action("Uloitjako1")->trigger();
    QCOMPARE(testing::readAll(out), bytes);
}

// Úpravy > Přejít na řádek (Ctrl+G): the field below the pages puts the
// caret on the line (and column) typed, within the page's bounds.
void WorkspaceTest::goToLine_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");      // that ends the typing
    QTest::addColumn<QPoint>("place"); // the caret's column and line after it, from 0
    QTest::addColumn<bool>("open");    // the field is still there
    const int enter = Qt::Key_Return;
    QTest::newRow("line") << "3" << enter << QPoint(0, 2) << false;
    QTest::newRow("line and column") << "2:2" << enter << QPoint(1, 1) << false;
    QTest::newRow("column past the end") << "4:99" << enter << QPoint(4, 3) << false;
    QTest::newRow("line past the end") << "999" << enter << QPoint(0, 4) << false;
    QTest::newRow("line 0") << "0" << enter << QPoint(0, 0) << false;
    QTest::newRow("blanks") << " 5 : 3 " << enter << QPoint(2, 4) << false;
    QTest::newRow("not a place") << "abc" << enter << QPoint(1, 0) << true;
    QTest::newRow("Del stays in the field") << "12" << int(Qt::Key_Delete) << QPoint(1, 0) << true;
    QTest::newRow("Esc") << "3" << int(Qt::Key_Escape) << QPoint(1, 0) << false;
}

void WorkspaceTest::goToLine() {
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QPoint, place);
    QFETCH(bool, open);
    p_->resetEditors();
    Editor* page = p_->form().editor(1);
    page->setText(QStringLiteral("a\nbb\nccc\ndddd\neeeee\n"));
    QTextCursor start(page->document());
    start.setPosition(1);
    page->setTextCursor(start);
    page->setFocus();
    QTest::keyClick(page, Qt::Key_G, Qt::ControlModifier);
    auto* field = p_->form().findChild<QLineEdit*>(QStringLiteral("GoToLineField"));
    QVERIFY(field);
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key(key));
    QCOMPARE(page->caretPos(), place);
    QCOMPARE(p_->label("StatusBar1Panel3"),
             QString::fromUtf8("Ř %1, S %2").arg(place.y() + 1).arg(place.x() + 1));
    QCOMPARE(field->isVisible(), open);
    QCOMPARE(page->toPlainText(), QStringLiteral("a\nbb\nccc\ndddd\neeeee\n"));
    if (!open) {
        QTRY_VERIFY(page->hasFocus());
    } else {
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!field->isVisible());
    }
}

QTEST_MAIN(WorkspaceTest)
#include "tst_workspace.moc"
