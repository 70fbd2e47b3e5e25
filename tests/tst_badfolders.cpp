// Working folders in a bad state: a data file nobody may read, a folder or a
// FIFO where a data file belongs, a read-only folder, megabytes of binary
// data in place of a template. The templates, the static memory, the backups and the
// notes must not crash or hang on any of them, must report a failure in the
// program's own words, and must leave what is there as it was.

#include <QAbstractButton>
#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>

#include "editor/editor.h"
#include "support/filebytes.h"
#include "support/filerights.h"
#include "support/literals.h"
#include "support/testprogram.h"

#include <sys/stat.h>

using namespace zelvar;
using zelvar::testing::FileRightsAsUser;
using zelvar::testing::readAll;
using zelvar::testing::ShownDialog;
using zelvar::testing::TestProgram;
using zelvar::testing::u;
using zelvar::testing::writeAll;

namespace {

const QString kCannotLoad =
    u("Nepodařilo se načíst soubor ! Pokud problémy přetrvají, kontaktujte autora aplikace !");
const QString kCannotSave =
    u("Nepodařilo se uložit soubor ! Pokud problémy přetrvají, kontaktujte autora aplikace !");
const QByteArray kOldBytes = "old contents\r\n";

enum class Bad {
    Unreadable,     // a file with no permission bits
    Folder,         // a folder holding a file, in place of the file
    Fifo,           // a FIFO in place of the file
    ReadOnlyFolder, // the file is writable, its folder is not
    ReadOnlyNoFile, // a read-only folder without the file
    Binary,         // 50 MB of random bytes
};

enum class Outcome { Refused, Loaded, Saved };

// What a path holds, to tell that nothing was overwritten.
QString stateOf(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        return QStringLiteral("missing");
    }
    if (S_ISFIFO(status.st_mode)) {
        return QStringLiteral("fifo");
    }
    if (S_ISDIR(status.st_mode)) {
        return QStringLiteral("folder:") + QDir(path).entryList(QDir::NoDotAndDotDot).join(',');
    }
    if (status.st_size > 1000) {
        return QStringLiteral("file of %1 bytes").arg(status.st_size);
    }
    return QStringLiteral("file:") + QString::fromLatin1(readAll(path).toPercentEncoding());
}

// The binary file is 8 MB in the everyday run and as large as
// ZELVAR_BIG_FILE_MB asks in the long one (CI: 50 MB).
const QByteArray& binaryBytes() {
    static const QByteArray bytes = [] {
        bool ok = false;
        const int mb = qEnvironmentVariableIntValue("ZELVAR_BIG_FILE_MB", &ok);
        QByteArray out(qsizetype(ok ? mb : 8) * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator random(50);
        random.fillRange(reinterpret_cast<quint32*>(out.data()), out.size() / 4);
        return out;
    }();
    return bytes;
}

void make(Bad bad, const QString& dir, const QString& path) {
    switch (bad) {
    case Bad::Unreadable:
        writeAll(path, kOldBytes);
        QVERIFY(QFile::setPermissions(path, {}));
        break;
    case Bad::Folder:
        QVERIFY(QDir(dir).mkdir(QFileInfo(path).fileName()));
        writeAll(path + QStringLiteral("/inner.txt"), kOldBytes);
        break;
    case Bad::Fifo:
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        break;
    case Bad::ReadOnlyFolder:
        writeAll(path, kOldBytes);
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        break;
    case Bad::ReadOnlyNoFile:
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        break;
    case Bad::Binary:
        writeAll(path, binaryBytes());
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Bad)
Q_DECLARE_METATYPE(Outcome)

class BadFoldersTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void command_data();
    void command();
};

void BadFoldersTest::command_data() {
    QTest::addColumn<QString>("control"); // "close" for the window's close box
    QTest::addColumn<QString>("file");
    QTest::addColumn<Bad>("bad");
    QTest::addColumn<QString>("message"); // the operation label afterwards
    QTest::addColumn<QString>("error");   // the error dialog's text, empty for none
    QTest::addColumn<Outcome>("outcome");

    const QString loadFailed = u("Chyba při načítání...");
    const QString saveFailed = u("Chyba při ukládání...");
    const QString backupLoadFailed = u("Chyba při načítání zálohy...");
    const QString backupSaveFailed = u("Chyba při ukládání zálohy...");
    const QString templ = QStringLiteral("zakl_struktura.txt");
    const QString slot = QStringLiteral("staticka_pamet1.txt");
    const QString backup = QStringLiteral("zaloha1.txt");
    const QString single = QStringLiteral("zaloha.txt");
    const QString notes = QStringLiteral("poznamky.txt");

    // A refused command names its failure in the error dialog: the load or the
    // save one, by the operation label.
    struct Row {
        const char* tag;
        const char* control;
        QString file;
        Bad bad;
        QString message;
        Outcome outcome;
    };
    const Outcome no = Outcome::Refused;
    const Outcome loaded = Outcome::Loaded;
    const Outcome saved = Outcome::Saved;
    const Row rows[] = {
        {"template unreadable", "HTMLstruktura1", templ, Bad::Unreadable, loadFailed, no},
        {"template folder", "ram_3", QStringLiteral("ramy_3.txt"), Bad::Folder, loadFailed, no},
        {"template fifo", "HTMLstruktura1", templ, Bad::Fifo, loadFailed, no},
        {"template binary", "HTMLstruktura1", templ, Bad::Binary, u("Struktura načtena..."),
         loaded},
        {"slot load unreadable", "Nast1", slot, Bad::Unreadable, loadFailed, no},
        {"slot load folder", "BitBtn3", slot, Bad::Folder, loadFailed, no},
        {"slot load fifo", "Nast1", slot, Bad::Fifo, loadFailed, no},
        {"slot load read-only folder", "Nast1", slot, Bad::ReadOnlyFolder, u("Soubor načten..."),
         loaded},
        {"slot store unreadable", "Uloit1", slot, Bad::Unreadable, saveFailed, no},
        {"slot store folder", "BitBtn4", slot, Bad::Folder, saveFailed, no},
        {"slot store fifo", "Uloit1", slot, Bad::Fifo, saveFailed, no},
        {"slot store read-only folder", "Uloit1", slot, Bad::ReadOnlyFolder, u("Soubor uložen..."),
         saved},
        {"slot store read-only folder, new file", "Uloit1", slot, Bad::ReadOnlyNoFile, saveFailed,
         no},
        {"backup load unreadable", "Vymazatzlohu1", backup, Bad::Unreadable, backupLoadFailed, no},
        {"backup load folder", "Vymazatzlohu1", backup, Bad::Folder, backupLoadFailed, no},
        {"backup load fifo", "Vymazatzlohu1", backup, Bad::Fifo, backupLoadFailed, no},
        {"exit backup folder", "close", backup, Bad::Folder, backupSaveFailed, no},
        {"exit backup fifo", "close", backup, Bad::Fifo, backupSaveFailed, no},
        {"exit backup read-only folder", "close", backup, Bad::ReadOnlyFolder, QString(), saved},
        {"Konec backup folder", "Konec1", single, Bad::Folder, saveFailed, no},
        {"Konec backup read-only folder", "Konec1", single, Bad::ReadOnlyFolder,
         u("Záloha vytvořena..."), saved},
        {"notes load unreadable", "SpeedButton33", notes, Bad::Unreadable, loadFailed, no},
        {"notes load folder", "SpeedButton33", notes, Bad::Folder, loadFailed, no},
        {"notes load fifo", "SpeedButton33", notes, Bad::Fifo, loadFailed, no},
        {"notes save folder", "SpeedButton34", notes, Bad::Folder, saveFailed, no},
        {"notes save fifo", "SpeedButton34", notes, Bad::Fifo, saveFailed, no},
        {"notes save read-only folder", "SpeedButton34", notes, Bad::ReadOnlyFolder,
         u("Poznámky uloženy..."), saved},
    };
    for (const Row& r : rows) {
        const bool saving = r.message == saveFailed || r.message == backupSaveFailed;
        const QString error = r.outcome != no ? QString() : saving ? kCannotSave : kCannotLoad;
        QTest::newRow(r.tag) << QString::fromLatin1(r.control) << r.file << r.bad << r.message
                             << error << r.outcome;
    }
}

void BadFoldersTest::command() {
    QFETCH(QString, control);
    QFETCH(QString, file);
    QFETCH(Bad, bad);
    QFETCH(QString, message);
    QFETCH(QString, error);
    QFETCH(Outcome, outcome);

    TestProgram p;
    const bool notes = control.startsWith(QLatin1String("SpeedButton3"));
    Editor* editor = notes ? p.form().notesEditor() : p.form().editor(1);
    editor->setText(QStringLiteral("kept text\n"));
    // Go on at every question: replace the text, keep the program open
    // after File > Konec; the save dialogs of the window close are cancelled.
    p.dialogs().answerMessage = [](MsgButtons buttons) {
        return buttons == MsgButtons::OkCancel ? MsgButton::Ok : MsgButton::Yes;
    };

    const QString path = p.path(file);
    make(bad, p.dir(), path);
    if (QTest::currentTestFailed()) {
        return;
    }
    const QString before = stateOf(path);
    const QStringList namesBefore = QDir(p.dir()).entryList(QDir::AllEntries | QDir::Hidden);

    {
        // The permission bits count for this command, also for root.
        FileRightsAsUser asUser;
        if (!asUser.active()) {
            QSKIP("the permission bits cannot be made to apply");
        }
        QElapsedTimer clock;
        clock.start();
        if (control == QLatin1String("close")) {
            p.form().close();
        } else if (QAbstractButton* button = p.form().button(control.toLatin1())) {
            button->click();
        } else {
            p.form().action(control.toLatin1())->trigger();
        }
        QVERIFY2(clock.elapsed() < 120000, "the command took too long");
    }
    QFile::setPermissions(p.dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(p.message(), message);
    QStringList errors;
    for (const ShownDialog& shown : p.dialogs().shown) {
        if (shown.kind == ShownDialog::Error) {
            QCOMPARE(shown.caption, QStringLiteral("Error"));
            errors << shown.text;
        }
    }
    QCOMPARE(errors, error.isEmpty() ? QStringList() : QStringList{error});

    switch (outcome) {
    case Outcome::Refused: // nothing replaced: neither the file nor the text
        QCOMPARE(stateOf(path), before);
        QCOMPARE(editor->text(), QStringLiteral("kept text\r\n"));
        break;
    case Outcome::Loaded:
        QCOMPARE(stateOf(path), before);
        QVERIFY(editor->text() != QStringLiteral("kept text\r\n"));
        break;
    case Outcome::Saved:
        QVERIFY(readAll(path).contains("kept text"));
        break;
    }
    // No file came or went, temporary files included.
    QCOMPARE(QDir(p.dir()).entryList(QDir::AllEntries | QDir::Hidden), namesBefore);
}

QTEST_MAIN(BadFoldersTest)
#include "tst_badfolders.moc"
