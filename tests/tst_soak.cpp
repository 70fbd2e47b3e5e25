// A long random run of the whole program: menu and popup items, buttons,
// check boxes, swatches, sliders, shortcut keys, typing, pasting and page
// switches, every dialog answered at random. After each command: no exception
// display, the line counter shows its editor's count, nothing written outside
// the working folder. At the end a random way out, and every changed page
// must be in a file the exit wrote. ZELVAR_SOAK_COMMANDS sets the length,
// ZELVAR_SOAK_SEED (printed at the start) replays a run.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDirIterator>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <optional>

#include "editor/editor.h"
#include "ground/pageslots.h"
#include "ground/surface_tables.h"
#include "ground/texts.h"
#include "support/filebytes.h"
#include "support/testprogram.h"
#include "text/pagefile.h"
#include "text/textencoding.h"
#include "tools/notespad.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

namespace {

int fromEnvironment(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Size and time of every file below a folder, to see what a command wrote.
using Snapshot = QMap<QString, QPair<qint64, QDateTime>>;

Snapshot snapshot(const QString& root, const QStringList& skip, bool recursive) {
    Snapshot files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        const QString path = it.next();
        if (std::none_of(skip.begin(), skip.end(),
                         [&](const QString& s) { return path.startsWith(s + QLatin1Char('/')); })) {
            const QFileInfo info = it.fileInfo();
            files.insert(path, {info.size(), info.lastModified()});
        }
    }
    return files;
}

// A file's text in the form a page compares with it. A plain-text file is
// read in the encoding the page writes: a page that no longer declares its
// ISO-8859-2 reads back by the rule as Windows-1250, but its backup still
// holds its text.
QByteArray fileAsPage(const QString& path, bool plainText,
                      std::optional<TextEncoding> encoding = std::nullopt) {
    QTextDocument doc;
    try {
        if (plainText && encoding) {
            QByteArray bytes = readWholeFile(path);
            if (bytes.startsWith(byteOrderMark(*encoding))) {
                bytes.remove(0, byteOrderMark(*encoding).size());
            }
            QString text = decodeAs(bytes, *encoding);
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            QTextCursor(&doc).insertText(text);
        } else {
            loadPageFile(doc, path, plainText);
        }
    } catch (const FileError&) {
        return QByteArrayLiteral("<unreadable>");
    }
    return plainTextBytes(doc);
}

struct Command {
    QString name;
    std::function<void()> run;
};

class Soak {
public:
    Soak(TestProgram& program, quint32 seed) : p_(program), random_(seed) {}

    void prepare();
    void run(int count);
    void leave();

private:
    void buildCommands();
    QString randomText(int maxLength);
    void answerModalWindow();
    void answeringModals(const std::function<void()>& body);
    void checkAfter(int step, const QString& command);

    int pick(int n) { return int(random_.bounded(quint32(n))); }
    bool chance(int percent) { return pick(100) < percent; }

    TestProgram& p_;
    QRandomGenerator random_;
    QList<Command> commands_;
    QStringList trail_; // the last commands, for the failure message
    Editor* counted_ = nullptr;
    qsizetype shownBefore_ = 0;
    QStringList watched_;
    QMap<QString, Snapshot> before_;
    int saved_ = 0;
    QStringList exitSaves_;
    bool leaving_ = false;
};

QString Soak::randomText(int maxLength) {
    static const QString pieces[] = {
        QStringLiteral("a"),
        QStringLiteral("Zelvar "),
        QString::fromUtf8("žluťoučký kůň "),
        QStringLiteral("<b>"),
        QStringLiteral("&amp;"),
        QStringLiteral("{\\rtf1 }"),
        QStringLiteral("\t"),
        QStringLiteral("\n"),
        QStringLiteral("\n\n"),
        QString::fromUtf8("ěščř"),
        QStringLiteral("  "),
        QStringLiteral("\\par"),
        // Beyond Windows-1250: written as references or as UTF-8.
        QString::fromUtf8("→ αβ Жи "),
    };
    QString text;
    const int parts = 1 + pick(maxLength);
    for (int i = 0; i < parts; ++i) {
        text += pieces[pick(std::size(pieces))];
    }
    return text;
}

void Soak::prepare() {
    TForm1& form = p_.form();
    // The program's data files, as a user's working folder has them.
    for (const QFileInfo& file : QDir(QStringLiteral(ZELVAR_DATA_DIR)).entryInfoList(QDir::Files)) {
        QFile::copy(file.absoluteFilePath(), p_.path(file.fileName()));
    }
    // A UTF-8 page among the files that Open picks from.
    QVERIFY(zelvar::testing::writeFileBytes(
        p_.path(QStringLiteral("utf8.html")),
        QString::fromUtf8("<p>Zelvar → αβ Жи ěščř</p>\r\n").toUtf8()));
    QVERIFY(p_.showAndActivate());

    // The line counter follows the editor that last changed or took the focus.
    for (int slot = 1; slot <= kPageCount; ++slot) {
        Editor* editor = form.editor(slot);
        QObject::connect(editor, &Editor::changed, editor, [this, editor] { counted_ = editor; });
        QObject::connect(editor, &Editor::entered, editor, [this, editor] { counted_ = editor; });
    }

    // Message boxes get one of their buttons; file dialogs a file of the
    // working folder, a new name there, or a cancel.
    auto& dialogs = p_.dialogs();
    dialogs.answerMessage = [this](MsgButtons buttons) {
        switch (buttons) {
        case MsgButtons::OkCancel:
            return chance(50) ? MsgButton::Ok : MsgButton::Cancel;
        case MsgButtons::YesNo:
            return chance(50) ? MsgButton::Yes : MsgButton::No;
        case MsgButtons::YesNoCancel:
            return chance(50) ? MsgButton::Yes : chance(50) ? MsgButton::No : MsgButton::Cancel;
        case MsgButtons::Ok:
            break;
        }
        return MsgButton::Ok;
    };
    dialogs.answerFile = [this](bool save) {
        if (chance(30)) {
            return FileDialogAnswer{};
        }
        QString name;
        if (save) {
            name = p_.path(QStringLiteral("ulozeno%1.html").arg(saved_++ % 4));
            if (leaving_) {
                exitSaves_ << name;
            }
        } else {
            const QStringList files = QDir(p_.dir()).entryList(QDir::Files);
            if (files.isEmpty()) {
                return FileDialogAnswer{};
            }
            name = p_.path(files.at(pick(files.size())));
        }
        return FileDialogAnswer{true, name, 1};
    };

    // Watched for stray writes: home and temporary folder (sandboxed) and the
    // folder the test started in.
    watched_ << QDir::homePath() << QDir::tempPath() << QDir::currentPath();
    buildCommands();
}

void Soak::buildCommands() {
    TForm1& form = p_.form();
    for (auto rows : {mainMenuRows(), pagePopupRows(), notesPopupRows()}) {
        for (const MenuRow& row : rows) {
            // File > Konec is one of the ways out, taken at the end.
            if (row.level == 0 || (row.flags & ItemSeparator) || qstrcmp(row.name, "Konec1") == 0) {
                continue;
            }
            QAction* action = form.action(row.name);
            commands_ << Command{QLatin1String(row.name), [action] { action->trigger(); }};
            if (row.shortcut) {
                const QKeySequence key =
                    QKeySequence::listFromString(QLatin1String(row.shortcut)).value(0);
                commands_ << Command{
                    QStringLiteral("key %1").arg(QLatin1String(row.shortcut)), [key, &form] {
                        QWidget* to = QApplication::focusWidget();
                        QTest::keyClick(to ? to : &form, key[0].key(), key[0].keyboardModifiers());
                    }};
            }
        }
    }
    for (auto rows : {toolButtonRows(), otherButtonRows()}) {
        for (const ToolButtonRow& row : rows) {
            // "KO" is a way out, taken at the end.
            if (qstrcmp(row.name, "SpeedButton41") == 0) {
                continue;
            }
            QAbstractButton* button = form.button(row.name);
            commands_ << Command{QLatin1String(row.name), [button] { button->click(); }};
        }
    }
    for (const ToolGroupRow& row : checkBoxRows()) {
        auto* box = form.findChild<QCheckBox*>(QLatin1String(row.checkBox));
        commands_ << Command{QLatin1String(row.checkBox), [box] { box->click(); }};
    }
    for (const char* name : {"Panel1", "Panel2", "Panel3", "Panel4", "Panel5", "Panel6", "Panel11",
                             "Panel12", "Panel13", "Panel14", "Panel15", "Panel16"}) {
        auto* swatch = form.findChild<QLabel*>(QLatin1String(name));
        commands_ << Command{QLatin1String(name),
                             [swatch] { QTest::mouseClick(swatch, Qt::LeftButton); }};
    }
    for (const char* name : {"ScrollBar1", "ScrollBar2", "ScrollBar3"}) {
        auto* bar = form.findChild<QScrollBar*>(QLatin1String(name));
        commands_ << Command{QLatin1String(name), [this, bar] { bar->setValue(pick(256)); }};
    }
    Editor* notes = form.notesEditor();
    auto* tags = form.findChild<QAbstractItemView*>(QStringLiteral("ListBox1"));
    const QList<Command> userActions = {
        {QStringLiteral("show a page"),
         [this, &form] { form.pageControl()->setCurrentIndex(pick(kPageCount)); }},
        {QStringLiteral("focus the page"), [&form] { form.activeEditor()->setFocus(); }},
        {QStringLiteral("focus the notes"), [notes] { notes->setFocus(); }},
        {QStringLiteral("focus the tag list"), [tags] { tags->setFocus(); }},
        {QStringLiteral("type"),
         [this] {
             if (auto* editor = qobject_cast<Editor*>(QApplication::focusWidget())) {
                 const QStringList lines = randomText(6).split(QLatin1Char('\n'));
                 for (qsizetype i = 0; i < lines.size(); ++i) {
                     if (i > 0) {
                         QTest::keyClick(editor, Qt::Key_Return);
                     }
                     // Keys by their ASCII code; the Czech letters as the text
                     // their keys bring.
                     for (QChar c : lines[i]) {
                         if (c.unicode() < 0x80) {
                             QTest::keyClick(editor, c.toLatin1());
                         } else {
                             QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c),
                                                 Qt::NoModifier);
                         }
                     }
                 }
             }
         }},
        {QStringLiteral("fill the clipboard"),
         [this] { QGuiApplication::clipboard()->setText(randomText(12)); }},
        {QStringLiteral("select in the page"),
         [this, &form] {
             Editor* editor = form.activeEditor();
             const int length = editor->text().size();
             editor->setSelStart(pick(length + 1));
             editor->setSelLength(pick(length + 1));
         }},
        {QStringLiteral("pick a tag"),
         [this, tags] {
             if (const int rows = tags->model()->rowCount(); rows > 0) {
                 tags->setCurrentIndex(tags->model()->index(pick(rows), 0));
             }
         }},
    };
    // Typing and the page switches come up more often than a single item.
    for (int i = 0; i < 8; ++i) {
        commands_ << userActions;
    }
}

// From a timer while a command runs: a modal window gets a random go and is
// closed.
void Soak::answerModalWindow() {
    QWidget* window = QApplication::activeModalWidget();
    if (!window) {
        return;
    }
    auto* edit = window->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* write = window->findChild<QAbstractButton*>(QStringLiteral("Button1"));
    if (edit && write && chance(70)) {
        edit->setText(chance(80) ? randomText(3).replace(QLatin1Char('\n'), QLatin1Char(' '))
                                 : QString());
        write->click();
    }
    if (window->isVisible()) {
        window->close();
    }
}

void Soak::answeringModals(const std::function<void()>& body) {
    QTimer modal;
    modal.setInterval(5);
    QObject::connect(&modal, &QTimer::timeout, &modal, [this] { answerModalWindow(); });
    modal.start();
    body();
}

void Soak::checkAfter(int step, const QString& command) {
    const QString where = QStringLiteral("step %1 (%2); last commands: %3")
                              .arg(step)
                              .arg(command, trail_.join(QStringLiteral(", ")));
    const auto& shown = p_.dialogs().shown;
    for (qsizetype i = shownBefore_; i < shown.size(); ++i) {
        QVERIFY2(
            shown[i].caption != text::q(text::kApplicationTitle),
            qPrintable(QStringLiteral("exception display \"%1\" at %2").arg(shown[i].text, where)));
    }
    shownBefore_ = shown.size();

    const QString expected = QString::number(counted_ ? counted_->lineCount() : 0);
    QVERIFY2(p_.label("Label3") == expected,
             qPrintable(QStringLiteral("line counter %1, its editor has %2 lines at %3")
                            .arg(p_.label("Label3"), expected, where)));

    const QStringList allowed = {p_.dir(), p_.cacheDir()};
    for (const QString& root : watched_) {
        const Snapshot now = snapshot(root, allowed, root != QDir::currentPath());
        if (before_.contains(root)) {
            for (auto it = now.begin(); it != now.end(); ++it) {
                QVERIFY2(before_[root].value(it.key()) == it.value(),
                         qPrintable(QStringLiteral("%1 written at %2").arg(it.key(), where)));
            }
        }
        before_[root] = now;
    }
}

void Soak::run(int count) {
    checkAfter(0, QStringLiteral("start"));
    for (int step = 1; step <= count; ++step) {
        const Command& command = commands_[pick(commands_.size())];
        trail_ << command.name;
        if (trail_.size() > 12) {
            trail_.removeFirst();
        }
        if (chance(20)) {
            p_.dialogs().fontAnswers << QFont(QStringLiteral("DejaVu Sans"), 8 + pick(10));
        }
        if (chance(20)) {
            p_.dialogs().colorAnswers << QColor::fromRgb(random_.generate() & 0xffffff);
        }
        answeringModals(command.run);
        p_.dialogs().fontAnswers.clear();
        p_.dialogs().colorAnswers.clear();
        checkAfter(step, command.name);
        if (QTest::currentTestFailed()) {
            return;
        }
    }
}

void Soak::leave() {
    TForm1& form = p_.form();
    struct Expected {
        QByteArray bytes;
        bool plainText;
        int slot;
        TextEncoding encoding;
    };
    QList<Expected> changed;
    for (int slot = 1; slot <= kPageCount; ++slot) {
        const Editor* editor = form.editor(slot);
        if (editor->isModifiedFlag()) {
            changed << Expected{plainTextBytes(*editor->document()), editor->plainTextMode(), slot,
                                editor->writeEncoding()};
        }
    }
    const Editor* notes = form.notesEditor();
    const bool notesChanged = NotesPad::of(form).differsFromFile();
    const QByteArray notesBytes = plainTextBytes(*notes->document());

    // Files written from here on are the exit's; the pause keeps the last
    // command's writes apart on coarse file clocks.
    QTest::qWait(50);
    const QDateTime exitStart = QDateTime::currentDateTime();
    QTest::qWait(50);
    leaving_ = true;

    static const char* const kWaysOut[] = {"window close", "KO", "Konec"};
    QString way = QLatin1String(kWaysOut[pick(3)]);
    qInfo("soak: leaving through %s", qPrintable(way));
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        if (way == QLatin1String("Konec")) {
            form.action("Konec1")->trigger();
            if (!loop.isRunning()) {
                return;
            }
            // Yes keeps the program open for a save; the window close follows.
            way = QStringLiteral("Konec, then window close");
        }
        if (way == QLatin1String("KO")) {
            form.button("SpeedButton41")->click();
        } else {
            form.close();
        }
        if (loop.isRunning()) {
            loop.exit(1);
        }
    });
    answeringModals([&loop] { loop.exec(); });
    // An ended application loop leaves the thread marked to quit; one pass
    // through the application's own loop clears the mark.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    checkAfter(-1, way);

    QStringList written;
    for (const QFileInfo& file : QDir(p_.dir()).entryInfoList(QDir::Files)) {
        if (file.lastModified() >= exitStart) {
            written << file.absoluteFilePath();
        }
    }
    QVERIFY2(changed.isEmpty() || !written.isEmpty(), qPrintable(way));
    // Every changed page is in its own backup, written on the way out.
    for (const Expected& page : changed) {
        const QString backup = p_.path(QLatin1String(pageSlot(page.slot).backupFile));
        QVERIFY2(written.contains(backup) &&
                     fileAsPage(backup, page.plainText, page.encoding) == page.bytes,
                 qPrintable(QStringLiteral("page %1 is not in %2 after %3 (written: %4)")
                                .arg(page.slot)
                                .arg(backup, way, written.join(QStringLiteral(", ")))));
    }
    if (notesChanged) { // every way out backs up notes that differ from their file
        QCOMPARE(fileAsPage(p_.path(QStringLiteral("zaloha_poznamky.txt")), false), notesBytes);
    }
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomCommands();
};

void SoakTest::randomCommands() {
    const quint32 seed = quint32(fromEnvironment("ZELVAR_SOAK_SEED", 20261208));
    const int count = fromEnvironment("ZELVAR_SOAK_COMMANDS", 300);
    qInfo("soak: %d commands, seed %u (ZELVAR_SOAK_SEED=%u replays this run)", count, seed, seed);

    // Home and the temporary folder move into a sandbox the run watches.
    QTemporaryDir sandbox;
    QVERIFY(sandbox.isValid());
    QVERIFY(QDir(sandbox.path()).mkpath(QStringLiteral("home")));
    QVERIFY(QDir(sandbox.path()).mkpath(QStringLiteral("tmp")));
    const QByteArray home = qgetenv("HOME");
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("HOME", QFile::encodeName(sandbox.filePath(QStringLiteral("home"))));
    qputenv("TMPDIR", QFile::encodeName(sandbox.filePath(QStringLiteral("tmp"))));
    {
        TestProgram program;
        Soak soak(program, seed);
        soak.prepare();
        if (!QTest::currentTestFailed()) {
            soak.run(count);
        }
        if (!QTest::currentTestFailed()) {
            soak.leave();
        }
    }
    qputenv("HOME", home);
    qputenv("TMPDIR", tmp);
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
