// Help, links and information: the help file through the shell from its
// three controls, the web pages of the help submenu, the links menu and the
// version check, the About window with its two clickable lines, and the
// clipboard viewer. The help file shipped in data/ is checked as well.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <QUrl>

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

const QString kKnown = QString::fromUtf8("Známý, schránka byla zobrazena.");
const QString kUnknown = QString::fromUtf8("Neznámý, schránku nelze zobrazit.");

struct WebItem {
    const char* item;
    const char* message;
};

const WebItem kHelpPages[] = {
    {"Zanme1", "Začínáme..."},
    {"ZkladyHTML1", "Základy HTML..."},
    {"Nvod1", "Jak publikovat..."},
    {"HTMLtahk1", "HTML tahák..."},
};

const char* const kLinks[] = {"Domovskyweb1", "Webodkaz1",    "JavaScriptLibrary1", "Animace1",
                              "Webodkaz2",    "CikCakTools1", "MaXsite1",           "Webodkaz3",
                              "Webodkaz4",    "Webhosting1"};

QString opened(TestProgram& p, const char* item) {
    const qsizetype before = p.shell().urls.size();
    p.form().action(item)->trigger();
    return p.shell().urls.size() == before + 1 ? p.shell().urls.last() : QString("<none>");
}

QLabel* aboutLabel(QWidget* about, const char* name) {
    return about->findChild<QLabel*>(QLatin1String(name));
}

// Opens the clipboard viewer and returns its field's text and format label
// as they were while it was shown.
struct ViewerState {
    QString text;
    QString format;
};

ViewerState viewClipboard(TestProgram& p) {
    ViewerState state{"<not shown>", "<not shown>"};
    whileModal([&] { p.form().action("Zobrazitschrnku1")->trigger(); },
               [&](QWidget* w) {
                   state.text = w->findChild<QPlainTextEdit*>("RichEdit1")->toPlainText();
                   state.format = w->findChild<QLabel*>("Label2")->text();
               });
    return state;
}

} // namespace

class InformationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpFileFromAllThreeControls();
    void helpPagesAndVersionCheck();
    void linksMenu();
    void aboutWindow();
    void clipboardViewerShowsText();
    void clipboardViewerWithoutText();
    void clipboardViewerTakesRichText();
    void helpFileShipped();
};

void InformationTest::helpFileFromAllThreeControls() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    const QString help = p.path("navod.txt");
    Editor* page = p.form().editor(1);
    page->setFocus();
    QTest::keyClick(page, Qt::Key_F1);
    QCOMPARE(p.shell().files, QStringList{help});
    QCOMPARE(p.message(), u("Nápověda..."));
    QCOMPARE(page->toPlainText(), QString());

    p.form().patterns().message("before");
    p.form().action("HTMlEditor2")->trigger();
    QCOMPARE(p.shell().files, QStringList({help, help}));
    QCOMPARE(p.message(), u("Nápověda..."));

    p.form().patterns().message("before");
    QTest::mouseClick(p.form().button("SpeedButton38"), Qt::LeftButton);
    QCOMPARE(p.shell().files, QStringList({help, help, help}));
    QCOMPARE(p.message(), u("Nápověda..."));

    // The file is only handed over, never read or written; a missing file is
    // the shell's business.
    QVERIFY(!QFile::exists(help));
    QCOMPARE(p.shell().urls, QStringList());
    QCOMPARE(p.dialogs().shown.size(), 0);
}

void InformationTest::helpPagesAndVersionCheck() {
    TestProgram p;
    const QUrl home(u(kHomePageAddress));
    QSet<QString> seen;
    for (const WebItem& w : kHelpPages) {
        p.form().patterns().message("before");
        const QString address = opened(p, w.item);
        const QUrl url(address, QUrl::StrictMode);
        QVERIFY2(url.isValid() && url.scheme().startsWith("http"), qPrintable(address));
        QVERIFY2(!url.host().isEmpty(), qPrintable(address));
        // Help pages live on sites that keep them, not on the program's own.
        QVERIFY2(url.host() != home.host(), qPrintable(address));
        QCOMPARE(p.message(), u(w.message));
        seen.insert(address);
    }
    QCOMPARE(seen.size(), 4); // four different pages

    p.form().patterns().message("before");
    const QUrl version(opened(p, "Zkontrolovatverzi1"), QUrl::StrictMode);
    QVERIFY(version.isValid());
    QCOMPARE(version.host(), home.host()); // a page of the program's own site
    QVERIFY(version != home);
    QVERIFY(!seen.contains(version.toString()));
    QCOMPARE(p.message(), u("Kontrola verze..."));
    QCOMPARE(p.shell().files, QStringList());
    QCOMPARE(p.dialogs().shown.size(), 0);
}

void InformationTest::linksMenu() {
    TestProgram p;
    QSet<QString> seen;
    for (const char* item : kLinks) {
        p.form().patterns().message("before");
        const QString address = opened(p, item);
        const QUrl url(address, QUrl::StrictMode);
        QVERIFY2(url.isValid() && url.scheme().startsWith("http") && !url.host().isEmpty(), item);
        // Only the first item leads to the program's own site.
        QCOMPARE(url.host() == QUrl(u(kHomePageAddress)).host(),
                 qstrcmp(item, "Domovskyweb1") == 0);
        QCOMPARE(p.message(), u("Odkaz..."));
        seen.insert(address);
    }
    QCOMPARE(seen.size(), 10);
    // The first item is the program's home page, the address of the snippets.
    p.shell().urls.clear();
    p.form().action("Domovskyweb1")->trigger();
    QCOMPARE(p.shell().urls, QStringList{u(kHomePageAddress)});
}

void InformationTest::aboutWindow() {
    TestProgram p;
    const QString versionPage = opened(p, "Zkontrolovatverzi1");
    p.shell().urls.clear();
    p.form().patterns().message("before");
    QString messageWhileOpen;
    QStringList urlsWhileOpen;
    const ModalRun run = whileModal(
        [&] { p.form().action("Oprogramu1")->trigger(); },
        [&](QWidget* about) {
            messageWhileOpen = p.message();
            QCOMPARE(aboutLabel(about, "Label2")->text(), QString("- Zelvar -"));
            QVERIFY(aboutLabel(about, "Label2")->font().bold());
            QVERIFY(aboutLabel(about, "Label2")->font().italic());
            QCOMPARE(aboutLabel(about, "Label1")->text(), QString("Aplikace:"));
            QVERIFY(aboutLabel(about, "Label1")->font().bold());
            QCOMPARE(aboutLabel(about, "Label3")->text(), QString("Zelvar"));
            QCOMPARE(aboutLabel(about, "Label4")->text(), QString("Verze:"));
            QVERIFY(aboutLabel(about, "Label4")->font().bold());
            QCOMPARE(aboutLabel(about, "Label5")->text(), QString("2.0"));
            QLabel* check = aboutLabel(about, "Label12");
            QCOMPARE(check->text(), QString("->> Zkontrolovat verzi <<--"));
            QCOMPARE(check->toolTip(), u("Zkontrolujte, zda-li není k dispozici nová verze"));
            QCOMPARE(check->cursor().shape(), Qt::PointingHandCursor);
            QLabel* home = aboutLabel(about, "Label16");
            QCOMPARE(home->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(about->findChildren<QPushButton*>().isEmpty());

            QTest::mouseClick(home, Qt::LeftButton);
            QTest::mouseClick(check, Qt::LeftButton);
            // A press that is released outside the line opens nothing.
            QTest::mousePress(check, Qt::LeftButton);
            QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(-5, -5));
            urlsWhileOpen = p.shell().urls;
            QVERIFY(about->isVisible()); // the lines do not close the window
        });
    QCOMPARE(run.window.data(), static_cast<QWidget*>(p.form().findChild<QDialog*>("TForm2")));
    QVERIFY(!run.closedByStep);
    QCOMPARE(urlsWhileOpen, QStringList({u(kHomePageAddress), versionPage}));
    QCOMPARE(messageWhileOpen, QString("before"));
    QCOMPARE(p.message(), u("O programu..."));
}

void InformationTest::clipboardViewerShowsText() {
    TestProgram p;
    p.form().patterns().message("before");
    QApplication::clipboard()->setText("first\nline two");
    QString whileOpenText;
    QString whileOpenFormat;
    const ModalRun run =
        whileModal([&] { p.form().action("Zobrazitschrnku1")->trigger(); },
                   [&](QWidget* w) {
                       auto* field = w->findChild<QPlainTextEdit*>("RichEdit1");
                       auto* format = w->findChild<QLabel*>("Label2");
                       QCOMPARE(field->toPlainText(), QString("first\nline two"));
                       QCOMPARE(format->text(), kKnown);
                       // A later copy elsewhere does not change the open viewer.
                       QApplication::clipboard()->setText("later");
                       QCoreApplication::processEvents();
                       whileOpenText = field->toPlainText();
                       whileOpenFormat = format->text();
                       QTest::mouseClick(w->findChild<QPushButton*>("Button2"), Qt::LeftButton);
                   });
    QCOMPARE(run.window.data(), static_cast<QWidget*>(p.form().findChild<QDialog*>("TForm5")));
    QVERIFY(run.closedByStep);
    QCOMPARE(whileOpenText, QString("first\nline two"));
    QCOMPARE(whileOpenFormat, kKnown);
    QCOMPARE(p.message(), QString("before"));

    // The next showing starts afresh with the clipboard of that moment.
    const ViewerState again = viewClipboard(p);
    QCOMPARE(again.text, QString("later"));
    QCOMPARE(again.format, kKnown);
    QCOMPARE(p.message(), QString("before"));
}

void InformationTest::clipboardViewerWithoutText() {
    TestProgram p;
    QApplication::clipboard()->setText("shown once");
    QCOMPARE(viewClipboard(p).format, kKnown);

    QApplication::clipboard()->clear();
    const ViewerState empty = viewClipboard(p);
    QCOMPARE(empty.text, QString());
    QCOMPARE(empty.format, kUnknown);

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QApplication::clipboard()->setImage(picture);
    const ViewerState image = viewClipboard(p);
    QCOMPARE(image.text, QString());
    QCOMPARE(image.format, kUnknown);

    // Text typed into the field is not kept either.
    QApplication::clipboard()->setText("abc");
    whileModal(
        [&] { p.form().action("Zobrazitschrnku1")->trigger(); },
        [&](QWidget* w) { QTest::keyClicks(w->findChild<QPlainTextEdit*>("RichEdit1"), "typed"); });
    QCOMPARE(viewClipboard(p).text, QString("abc"));
}

void InformationTest::clipboardViewerTakesRichText() {
    TestProgram p;
    auto* data = new QMimeData;
    data->setHtml("<p>rich <b>text</b></p>");
    QApplication::clipboard()->setMimeData(data);
    const ViewerState rich = viewClipboard(p);
    QCOMPARE(rich.text, QString("rich text"));
    QCOMPARE(rich.format, kKnown);
}

void InformationTest::helpFileShipped() {
    QFile file(QStringLiteral(ZELVAR_DATA_DIR "/navod.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 2000);
    // CR LF after every line, and no bare CR or LF.
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    // UTF-8 with its byte-order mark, so that any text editor the desktop
    // hands it to shows the accents right.
    QVERIFY(bytes.startsWith("\xef\xbb\xbf"));
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    QVERIFY(!utf8.hasError());
    // It covers the pages, every toolbar group and the main features, in the
    // program's words.
    QVERIFY(!text.contains(u("značk"), Qt::CaseInsensitive));
    const char* const topics[] = {
        "Page 1",        "Soubor",          "Editor",          "Text",         "Statistika",
        "Poloha",        "Používané",       "Zvláštní znaky",  "Cíl (target)", "statick",
        "zaloha1.txt",   "HTML struktura",  "Základní vzhled", "poznamky.txt", "tagy.txt",
        "Text v pohybu", "posuvník",        "Ctrl+N",          "F10",          "UTF-8",
        "ISO-8859-2",    "zaloha_poznamky", "nahradit",        "share/zelvar", "Del"};
    for (const char* topic : topics) {
        QVERIFY2(text.contains(u(topic), Qt::CaseInsensitive), topic);
    }
}

QTEST_MAIN(InformationTest)
#include "tst_information.moc"
