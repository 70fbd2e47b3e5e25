// The browser preview: the shown page through the preview file in the
// user's cache folder, and a picked file handed to the shell as it is.

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include "editor/editor.h"
#include "files/documents.h"
#include "files/preview.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::readFileBytes;
using zelvar::testing::TestProgram;
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
    QCOMPARE(readFileBytes(preview), QByteArray("four\r\n"));
    QCOMPARE(p.shell().files, QStringList{preview});
    QCOMPARE(p.message(), text::q("Internetový prohlížeč..."));
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(p.form().editor(n)->toPlainText(), QString(pages[n - 1]));
        QCOMPARE(p.form().editor(n)->plainTextMode(), n == 4);
    }
    // Nothing is written into the working folder.
    QCOMPARE(filesIn(p.dir()), QStringList());

    // A second preview of another page keeps only that page.
    p.form().action("Page21")->trigger();
    p.form().action("Zkladnvzhled1")->trigger();
    QCOMPARE(readFileBytes(preview), QByteArray("two\r\n"));
    QCOMPARE(p.shell().files, (QStringList{preview, preview}));
    QCOMPARE(filesIn(p.cacheDir() + "/zelvar"), QStringList{"nahled_stranky.html"});
    QCOMPARE(p.dialogs().shown.size(), 0);
}

void PreviewTest::richPageIsPreviewedAsPlainText() {
    TestProgram p;
    Editor* e = p.form().editor(1);
    e->setPlainText(text::q("<P>Žluťoučký kůň</P>\n<BR>"));
    p.form().action("Uloit1")->trigger(); // the static memory, still rich
    QVERIFY(readFileBytes(p.path("staticka_pamet1.txt")).startsWith("{\\rtf"));
    p.form().button("BitBtn1")->click();
    const QByteArray plain("<P>\x8elu\x9dou\xe8k\xfd k\xf9\xf2</P>\r\n<BR>\r\n");
    QCOMPARE(readFileBytes(previewFilePath()), plain);
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
    QCOMPARE(readFileBytes(previewFilePath()), QByteArray("typed\r\n"));
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
    QCOMPARE(p.dialogs().fileRequests[0].title, text::q("Otevřít soubor..."));
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
