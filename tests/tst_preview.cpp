// The browser preview: the shown page through the preview file in the
// user's cache folder, and a picked file handed to the shell as it is.

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>

#include "editor/editor.h"
#include "files/documents.h"
#include "files/preview.h"
#include "ground/patterns.h"
#include "support/filebytes.h"
#include "support/literals.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::readFileBytes;
using zelvar::testing::TestProgram;
using zelvar::testing::u;
using zelvar::testing::writeFileBytes;

namespace {

FileDialogAnswer chosen(const QString& name) {
    return FileDialogAnswer{true, name, 1};
}

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void previewFileInTheUsersCache();
    void previewWritesTheShownPageOnly();
    void richPageIsPreviewedAsPlainText();
    void previewFileCannotBeCreated();
    void previewKeys();
    void previewResolvesAgainstThePage_data();
    void previewResolvesAgainstThePage();
    void filePreviewHandsThePickedFileUnchanged();
    void filePreviewCancelled();
};

void PreviewTest::previewFileInTheUsersCache() {
    ScopedEnv home("HOME", "/home/somebody");
    {
        ScopedEnv cache("XDG_CACHE_HOME", "/var/cache-of-somebody");
        QCOMPARE(previewFilePath(), QString("/var/cache-of-somebody/zelvar/nahled_stranky.html"));
    }
    {
        ScopedEnv cache("XDG_CACHE_HOME", "");
        QCOMPARE(previewFilePath(), QString("/home/somebody/.cache/zelvar/nahled_stranky.html"));
    }
    {
        // A relative folder is not a valid cache folder.
        ScopedEnv cache("XDG_CACHE_HOME", "relative/cache");
        QCOMPARE(previewFilePath(), QString("/home/somebody/.cache/zelvar/nahled_stranky.html"));
    }
}

void PreviewTest::previewWritesTheShownPageOnly() {
    TestProgram p;
    const QString preview = p.cacheDir() + "/zelvar/nahled_stranky.html";
    const char* pages[] = {"one", "two", "three", "four", "five"};
    for (int n = 1; n <= 5; ++n) {
        p.form().editor(n)->setPlainText(pages[n - 1]);
    }
    p.form().action("Page41")->trigger();
    p.form().button("BitBtn1")->click();
    QCOMPARE(testing::withoutPreviewBase(readFileBytes(preview), p.dir()), QByteArray("four\r\n"));
    QCOMPARE(p.shell().files, QStringList{preview});
    QCOMPARE(p.message(), u("Internetový prohlížeč..."));
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(p.form().editor(n)->toPlainText(), QString(pages[n - 1]));
        QCOMPARE(p.form().editor(n)->plainTextMode(), n == 4);
    }
    // Nothing is written into the working folder.
    QCOMPARE(filesIn(p.dir()), QStringList());

    // A second preview of another page keeps only that page.
    p.form().action("Page21")->trigger();
    p.form().action("Zkladnvzhled1")->trigger();
    QCOMPARE(testing::withoutPreviewBase(readFileBytes(preview), p.dir()), QByteArray("two\r\n"));
    QCOMPARE(p.shell().files, (QStringList{preview, preview}));
    QCOMPARE(filesIn(p.cacheDir() + "/zelvar"), QStringList{"nahled_stranky.html"});
    QCOMPARE(p.dialogs().shown.size(), 0);
}

void PreviewTest::previewResolvesAgainstThePage_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("preview"); // @ stands for the base element
    QTest::newRow("head") << QByteArray("<html><HEAD lang=cs>\r\n<title>t</title>")
                          << QByteArray("<html><HEAD lang=cs>@\r\n<title>t</title>");
    QTest::newRow("after the charset's meta")
        << QByteArray("<head><meta http-equiv=x><META charset=utf-8><link href=s.css>")
        << QByteArray("<head><meta http-equiv=x><META charset=utf-8>@<link href=s.css>");
    QTest::newRow("html only") << QByteArray("<!DOCTYPE html><html>\r\n<img src=a.jpg>")
                               << QByteArray("<!DOCTYPE html><html>@\r\n<img src=a.jpg>");
    QTest::newRow("no html, doctype and mark") << QByteArray("\xEF\xBB\xBF<!doctype html><p>a")
                                               << QByteArray("\xEF\xBB\xBF<!doctype html>@<p>a");
    QTest::newRow("a header is no head")
        << QByteArray("<header>x</header>") << QByteArray("@<header>x</header>");
    QTest::newRow("its own base") << QByteArray("<head><BASE href=\"http://a/\"></head>")
                                  << QByteArray("<head><BASE href=\"http://a/\"></head>");
}

// The preview file holds the page with a base address of the page's own
// folder, so that its pictures and style sheets show; the page never gets it.
void PreviewTest::previewResolvesAgainstThePage() {
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, preview);
    TestProgram p;
    QDir(p.dir()).mkpath(QStringLiteral("web site"));
    const QString file = p.path(QStringLiteral("web site/stranka.html"));
    writeFileBytes(file, page);
    p.dialogs().fileAnswers << chosen(file);
    p.form().action("Otevt1")->trigger();
    const QString text = p.form().editor(1)->toPlainText();
    p.form().action("Zkladnvzhled1")->trigger();
    const QByteArray base =
        "<base href=\"" + QUrl::fromLocalFile(p.dir() + "/web site/").toEncoded() + "\">";
    QCOMPARE(readFileBytes(p.cacheDir() + "/zelvar/nahled_stranky.html"),
             QByteArray(preview).replace("@", base));
    QCOMPARE(p.form().editor(1)->toPlainText(), text);
}

void PreviewTest::richPageIsPreviewedAsPlainText() {
    TestProgram p;
    Editor* e = p.form().editor(1);
    e->setPlainText(u("<P>Žluťoučký kůň</P>\n<BR>"));
    p.form().action("Uloit1")->trigger(); // the static memory, still rich
    QVERIFY(readFileBytes(p.path("staticka_pamet1.txt")).startsWith("{\\rtf"));
    p.form().button("BitBtn1")->click();
    const QByteArray plain("<P>\x8elu\x9dou\xe8k\xfd k\xf9\xf2</P>\r\n<BR>\r\n");
    QCOMPARE(testing::withoutPreviewBase(readFileBytes(previewFilePath()), p.dir()), plain);
    QVERIFY(e->plainTextMode());
    // The page stays in plain form: later stores and backups are plain too.
    p.form().action("Uloit1")->trigger();
    QCOMPARE(readFileBytes(p.path("staticka_pamet1.txt")), plain);
    p.form().show();
    QVERIFY(p.form().close());
    QCOMPARE(readFileBytes(p.path("zaloha1.txt")), plain);
}

void PreviewTest::previewFileCannotBeCreated() {
    TestProgram p;
    // A file where the program's cache folder should be.
    QVERIFY(writeFileBytes(p.cacheDir() + "/zelvar", "in the way"));
    p.form().action("Page31")->trigger();
    p.form().editor(3)->setPlainText("three");
    p.form().patterns().message("before");
    p.form().button("BitBtn1")->click();
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].caption, QString("Zelvar v2.0"));
    QCOMPARE(p.dialogs().shown[0].text, QString("Cannot create file %1.").arg(previewFilePath()));
    QCOMPARE(p.shell().files, QStringList());
    QCOMPARE(p.message(), QString("before"));
    QCOMPARE(p.form().editor(3)->toPlainText(), QString("three"));
    QVERIFY(p.form().editor(3)->plainTextMode());
}

void PreviewTest::previewKeys() {
    TestProgram p;
    QVERIFY(writeFileBytes(p.path("a.html"), "<P>a</P>"));
    QVERIFY(p.showAndActivate());
    Editor* e = p.form().editor(1);
    e->setFocus();
    QTest::keyClicks(e, "typed");
    QTest::keyClick(e, Qt::Key_F9);
    QCOMPARE(testing::withoutPreviewBase(readFileBytes(previewFilePath()), p.dir()),
             QByteArray("typed\r\n"));
    p.dialogs().fileAnswers << chosen(p.path("a.html"));
    QTest::keyClick(e, Qt::Key_F10);
    QCOMPARE(p.shell().files, (QStringList{previewFilePath(), p.path("a.html")}));
}

void PreviewTest::filePreviewHandsThePickedFileUnchanged() {
    TestProgram p;
    QVERIFY(writeFileBytes(p.path("Pokus.htm"), "<P>pokus</P>"));
    QVERIFY(writeFileBytes(p.path("INDEX.HTML"), "<P>index</P>"));
    p.form().editor(1)->setPlainText("page");
    p.form().patterns().message("before");
    p.dialogs().fileAnswers << chosen(p.path("Pokus.htm"));
    p.form().button("BitBtn2")->click();
    QCOMPARE(p.dialogs().fileRequests.size(), 1);
    QCOMPARE(p.dialogs().fileRequests[0].title, u("Otevřít soubor..."));
    QCOMPARE(p.shell().files, QStringList{p.path("Pokus.htm")});
    QCOMPARE(Documents::of(p.form()).openName(), p.path("Pokus.htm"));
    QCOMPARE(p.message(), QString("before"));

    p.dialogs().fileAnswers << chosen(p.path("INDEX.HTML"));
    p.form().action("Prohldnoutvprohlei1")->trigger();
    // The dialog offered the name picked before.
    QCOMPARE(p.dialogs().fileRequests[1].fileName, p.path("Pokus.htm"));
    QCOMPARE(p.shell().files, (QStringList{p.path("Pokus.htm"), p.path("INDEX.HTML")}));
    // The next Open offers the picked name.
    p.dialogs().answers << MsgButton::Cancel;
    p.form().action("Otevt1")->trigger(); // the page is changed: Cancel keeps it
    p.dialogs().answers << MsgButton::Ok;
    p.form().action("Otevt1")->trigger();
    QCOMPARE(p.dialogs().fileRequests.last().fileName, p.path("INDEX.HTML"));

    // Nothing written and no page changed.
    QCOMPARE(filesIn(p.dir()), (QStringList{"INDEX.HTML", "Pokus.htm"}));
    QCOMPARE(filesIn(p.cacheDir()), QStringList());
    QCOMPARE(readFileBytes(p.path("Pokus.htm")), QByteArray("<P>pokus</P>"));
    QCOMPARE(p.form().editor(1)->toPlainText(), QString("page"));
}

void PreviewTest::filePreviewCancelled() {
    TestProgram p;
    // Nothing was ever picked: nothing to hand over.
    p.form().patterns().message("before");
    p.form().button("BitBtn2")->click();
    QCOMPARE(p.dialogs().fileRequests.size(), 1);
    QCOMPARE(p.shell().files, QStringList());
    QCOMPARE(p.message(), QString("before"));

    // After an Open of a.html, a cancelled file preview shows a.html.
    QVERIFY(writeFileBytes(p.path("a.html"), "<P>a</P>"));
    p.dialogs().fileAnswers << chosen(p.path("a.html"));
    p.form().action("Otevt1")->trigger();
    p.form().patterns().message("before");
    p.form().button("BitBtn2")->click();
    QCOMPARE(p.shell().files, QStringList{p.path("a.html")});
    QCOMPARE(p.message(), QString("before"));
    QCOMPARE(p.form().editor(1)->toPlainText(), QString("<P>a</P>"));
}

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
