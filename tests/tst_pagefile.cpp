// The page text-file rules: plain-text and rich-text form, whole-file loads
// and saves, line breaks, and the failure classes with their texts.

#include "support/filebytes.h"
#include "support/filerights.h"
#include "text/cp1250.h"
#include "text/pagefile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <csignal>
#include <optional>
#include <sys/resource.h>

using namespace zelvar;
using zelvar::testing::blocksText;
using zelvar::testing::readFileBytes;
using zelvar::testing::writeFileBytes;

namespace {

void setText(QTextDocument& doc, const QString& text) {
    doc.clear();
    QTextCursor(&doc).insertText(text);
}

QByteArray allBytesExceptBreaks() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            bytes.append(char(b));
        }
    }
    return bytes;
}

// Runs f and returns the FileError it throws; fails the test when it throws
// nothing.
template <typename F> std::optional<FileError> failureOf(F f) {
    try {
        f();
    } catch (const FileError& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

class TestPageFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();

    void plainBytes_data();
    void plainBytes();
    void lineBreakSplitting_data();
    void lineBreakSplitting();
    void nonBreakingSpaceAndOutsideCharacters();
    void plainBytesFollowTheBlocks();

    void openThenSaveGivesSameBytes();
    void everyByteSurvivesPlainLoadAndSave();
    void richRoundTripKeepsTextAndFormatting();
    void richLoadOfPlainAndBrokenFiles();
    void plainLoadShowsRtfMarkup();
    void loadIsOneUndoableEdit();
    void saveReplacesLongerFile();

    void openFailures();
    void createFailures();
    void writeFailureKeepsOldFile();
    void writableFileInReadOnlyFolder();
    void messagesEndWithOneFullStop();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name) const { return dir_->filePath(name); }
};

void TestPageFile::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestPageFile::plainBytes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty document") << QString() << QByteArray();
    QTest::newRow("one line") << QStringLiteral("a") << QByteArray("a\r\n");
    QTest::newRow("two lines") << QStringLiteral("a\nb") << QByteArray("a\r\nb\r\n");
    QTest::newRow("final break") << QStringLiteral("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("only a break") << QStringLiteral("\n") << QByteArray("\r\n");
    QTest::newRow("empty lines") << QStringLiteral("\n\na\n\n") << QByteArray("\r\n\r\na\r\n\r\n");
    QTest::newRow("czech") << QStringLiteral("ěščřžýáíéůú\nĚŠČŘŽ")
                           << QByteArray("\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xF9\xFA\r\n"
                                         "\xCC\x8A\xC8\xD8\x8E\r\n");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QByteArray("a\r\nb\r\n");
}

void TestPageFile::plainBytes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QTextDocument doc;
    setText(doc, text);
    QCOMPARE(plainTextBytes(doc), bytes);
    savePageFile(doc, path(QStringLiteral("page.html")), true);
    QCOMPARE(readFileBytes(path(QStringLiteral("page.html"))), bytes);
}

void TestPageFile::lineBreakSplitting_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("crlf") << QByteArray("a\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("lone cr") << QByteArray("a\rb") << QStringLiteral("a\nb");
    QTest::newRow("lone lf") << QByteArray("a\nb") << QStringLiteral("a\nb");
    QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << QStringLiteral("a\n\nb");
    QTest::newRow("lf cr") << QByteArray("a\n\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("final crlf") << QByteArray("a\r\n") << QStringLiteral("a\n");
    QTest::newRow("final cr") << QByteArray("a\r") << QStringLiteral("a\n");
    QTest::newRow("only breaks") << QByteArray("\r\n\r\n") << QStringLiteral("\n\n");
    QTest::newRow("mixed") << QByteArray("1\r\n2\r3\n4\r\n\r\n5")
                           << QStringLiteral("1\n2\n3\n4\n\n5");
    QTest::newRow("czech") << QByteArray("\xE8\r\n\x8A") << QStringLiteral("č\nŠ");
}

void TestPageFile::lineBreakSplitting() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(textFromPlainBytes(bytes), text);

    // The same through a plain load, in both forms (none of these is RTF).
    QVERIFY(writeFileBytes(path(QStringLiteral("in.txt")), bytes));
    for (bool plain : {true, false}) {
        QTextDocument doc;
        setText(doc, QStringLiteral("old"));
        loadPageFile(doc, path(QStringLiteral("in.txt")), plain);
        QCOMPARE(blocksText(doc), text);
    }
}

void TestPageFile::nonBreakingSpaceAndOutsideCharacters() {
    QTextDocument doc;
    setText(doc, QStringLiteral("a\u00A0b\nsmile \U0001F600 α\n"));
    const QByteArray bytes = plainTextBytes(doc);
    QCOMPARE(bytes, QByteArray("a\xA0"
                               "b\r\nsmile &#128512; &#945;\r\n"));
    QVERIFY(!bytes.contains('?'));
}

void TestPageFile::plainBytesFollowTheBlocks() {
    // Every block is one line, whatever separates it from the next (a
    // paragraph, the start or end of a table frame).
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("před\u00A0tabulkou"));
    QTextTable* table = c.insertTable(2, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("a"));
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("b"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("\U0001F600"));
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("za tabulkou\nposlední"));

    QByteArray expected;
    int lines = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        expected += toCp1250(block.text()) + "\r\n";
        ++lines;
    }
    QVERIFY(lines >= 7);
    QCOMPARE(plainTextBytes(doc), expected);
    QVERIFY(expected.contains("p\xF8"
                              "ed\xA0tabulkou\r\n"));
    QVERIFY(expected.contains("\r\n&#128512;\r\n"));
}

void TestPageFile::openThenSaveGivesSameBytes() {
    const QByteArray html =
        "<html>\r\n<head><title>Zku\x9A"
        "ebn\xED str\xE1nka</title></head>\r\n"
        "<body>\r\n\t<p>P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2&nbsp;\xFAp\xECl</p>\r\n"
        "\r\n</body>\r\n</html>\r\n";
    QVERIFY(writeFileBytes(path(QStringLiteral("in.html")), html));
    QTextDocument doc;
    loadPageFile(doc, path(QStringLiteral("in.html")), true);
    QCOMPARE(doc.blockCount(), 8); // seven lines and the empty line after the last break
    QCOMPARE(doc.findBlockByNumber(3).text(),
             QStringLiteral("\t<p>Příliš žluťoučký kůň&nbsp;úpěl</p>"));
    savePageFile(doc, path(QStringLiteral("out.html")), true);
    QCOMPARE(readFileBytes(path(QStringLiteral("out.html"))), html);
}

void TestPageFile::everyByteSurvivesPlainLoadAndSave() {
    // Every byte value, the five undefined ones and zero included, in one
    // line and one byte per line; line breaks in every style.
    QByteArray bytes = allBytesExceptBreaks() + "\r\n";
    QByteArray perLine;
    for (char b : allBytesExceptBreaks()) {
        perLine += b;
        perLine += "\r\n";
    }
    bytes += perLine;
    QVERIFY(writeFileBytes(path(QStringLiteral("bytes.bin")), bytes));
    QTextDocument doc;
    loadPageFile(doc, path(QStringLiteral("bytes.bin")), true);
    QCOMPARE(doc.blockCount(), 1 + 254 + 1);
    savePageFile(doc, path(QStringLiteral("bytes.out")), true);
    QCOMPARE(readFileBytes(path(QStringLiteral("bytes.out"))), bytes);

    // Line breaks aside: lone CR and lone LF come back as CR LF.
    QVERIFY(writeFileBytes(path(QStringLiteral("breaks.txt")), "x\ry\nz\r\nw"));
    loadPageFile(doc, path(QStringLiteral("breaks.txt")), true);
    savePageFile(doc, path(QStringLiteral("breaks.out")), true);
    QCOMPARE(readFileBytes(path(QStringLiteral("breaks.out"))), QByteArray("x\r\ny\r\nz\r\nw\r\n"));

    // The same bytes through the rich-text form.
    loadPageFile(doc, path(QStringLiteral("bytes.bin")), true);
    savePageFile(doc, path(QStringLiteral("bytes.rtf")), false);
    QTextDocument rich;
    loadPageFile(rich, path(QStringLiteral("bytes.rtf")), false);
    QCOMPARE(blocksText(rich), blocksText(doc));
    QCOMPARE(plainTextBytes(rich), bytes);
}

void TestPageFile::richRoundTripKeepsTextAndFormatting() {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans Mono"), 11));
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("<b>"));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0, 128, 0));
    c.insertText(QStringLiteral("Tučný kůň \U0001F600"), bold);
    c.insertText(QStringLiteral("</b>\n\u03B1\u03B2\n"));
    savePageFile(doc, path(QStringLiteral("page.rtf")), false);
    QVERIFY(readFileBytes(path(QStringLiteral("page.rtf"))).startsWith("{\\rtf1"));

    QTextDocument loaded;
    setText(loaded, QStringLiteral("old"));
    loadPageFile(loaded, path(QStringLiteral("page.rtf")), false);
    QCOMPARE(blocksText(loaded), blocksText(doc));
    const QTextCursor found = loaded.find(QStringLiteral("Tučný"));
    QVERIFY(!found.isNull());
    QTextCursor at(&loaded);
    at.setPosition(found.selectionStart() + 1);
    QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(at.charFormat().foreground().color(), QColor(0, 128, 0));
    at.setPosition(1);
    QCOMPARE(at.charFormat().font().resolve(loaded.defaultFont()).family(),
             QStringLiteral("DejaVu Sans Mono"));
    QVERIFY(at.charFormat().fontWeight() != int(QFont::Bold));
}

void TestPageFile::richLoadOfPlainAndBrokenFiles() {
    // A plain-text file loads as the same text in either form.
    const QByteArray plain = "<p>\xE8\x9A</p>\r\n{\\rtf1 not at the start}\r\n";
    QVERIFY(writeFileBytes(path(QStringLiteral("plain.html")), plain));
    QTextDocument asRich;
    QTextDocument asPlain;
    loadPageFile(asRich, path(QStringLiteral("plain.html")), false);
    loadPageFile(asPlain, path(QStringLiteral("plain.html")), true);
    QCOMPARE(blocksText(asRich), QStringLiteral("<p>čš</p>\n{\\rtf1 not at the start}\n"));
    QCOMPARE(blocksText(asPlain), blocksText(asRich));

    // RTF that is cut off is read again from its start as plain text.
    const QByteArray broken = "{\\rtf1\\ansi {\\b tu\\'e8n\\'fd}\r\n\\par konec";
    QVERIFY(writeFileBytes(path(QStringLiteral("broken.rtf")), broken));
    QTextDocument doc;
    setText(doc, QStringLiteral("old"));
    loadPageFile(doc, path(QStringLiteral("broken.rtf")), false);
    QCOMPARE(blocksText(doc), QStringLiteral("{\\rtf1\\ansi {\\b tu\\'e8n\\'fd}\n\\par konec"));

    // Well-formed RTF from elsewhere is read as rich text.
    QVERIFY(writeFileBytes(path(QStringLiteral("good.rtf")),
                           "{\\rtf1\\ansi\\ansicpg1250 {\\b tu\\'e8n\\'fd}\\par konec\\par}"));
    loadPageFile(doc, path(QStringLiteral("good.rtf")), false);
    QCOMPARE(blocksText(doc), QStringLiteral("tučný\nkonec"));
}

void TestPageFile::plainLoadShowsRtfMarkup() {
    QTextDocument doc;
    setText(doc, QStringLiteral("text"));
    savePageFile(doc, path(QStringLiteral("rich.txt")), false);
    QTextDocument shown;
    loadPageFile(shown, path(QStringLiteral("rich.txt")), true);
    QVERIFY(blocksText(shown).startsWith(QStringLiteral("{\\rtf1")));
    QVERIFY(blocksText(shown).contains(QStringLiteral("text")));
    QCOMPARE(blocksText(shown),
             textFromPlainBytes(readFileBytes(path(QStringLiteral("rich.txt")))));
}

void TestPageFile::loadIsOneUndoableEdit() {
    QVERIFY(writeFileBytes(path(QStringLiteral("new.txt")), "new\r\ntext\r\n"));
    QVERIFY(
        writeFileBytes(path(QStringLiteral("new.rtf")), "{\\rtf1 new\\par {\\i text}\\par\\par}"));
    for (const QString& name : {QStringLiteral("new.txt"), QStringLiteral("new.rtf")}) {
        QTextDocument doc;
        setText(doc, QStringLiteral("old\ncontent"));
        doc.setModified(false);
        QSignalSpy changed(&doc, &QTextDocument::contentsChanged);
        loadPageFile(doc, path(name), name.endsWith(QLatin1String(".txt")));
        QCOMPARE(blocksText(doc), QStringLiteral("new\ntext\n"));
        QVERIFY(changed.count() >= 1);
        QVERIFY(doc.isModified());
        doc.undo();
        QCOMPARE(blocksText(doc), QStringLiteral("old\ncontent"));
        doc.redo();
        QCOMPARE(blocksText(doc), QStringLiteral("new\ntext\n"));
    }
}

void TestPageFile::saveReplacesLongerFile() {
    const QString file = path(QStringLiteral("page.html"));
    QVERIFY(writeFileBytes(file, QByteArray(5000, 'x')));
    QTextDocument doc;
    setText(doc, QStringLiteral("a"));
    savePageFile(doc, file, true);
    QCOMPARE(readFileBytes(file), QByteArray("a\r\n"));
    setText(doc, QString());
    savePageFile(doc, file, true);
    bool ok = false;
    QCOMPARE(readFileBytes(file, &ok), QByteArray());
    QVERIFY(ok);
    // No temporary files are left beside it.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("page.html")});
}

void TestPageFile::openFailures() {
    QVERIFY(writeFileBytes(path(QStringLiteral("regular.txt")), "x"));
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder")));
    const QStringList paths = {
        path(QStringLiteral("missing.html")), path(QStringLiteral("no/such/folder/page.html")),
        path(QStringLiteral("folder")), path(QStringLiteral("regular.txt/page.html"))};
    for (const QString& p : paths) {
        for (bool plain : {true, false}) {
            QTextDocument doc;
            setText(doc, QStringLiteral("kept\ntext"));
            const int undoSteps = doc.availableUndoSteps();
            const auto error = failureOf([&] { loadPageFile(doc, p, plain); });
            QVERIFY2(error.has_value(), qPrintable(p));
            QCOMPARE(error->kind(), FileFailure::Open);
            QCOMPARE(error->message(), QStringLiteral("Cannot open file ") + p + QLatin1Char('.'));
            QCOMPARE(QString::fromStdString(error->what()), error->message());
            QCOMPARE(blocksText(doc), QStringLiteral("kept\ntext"));
            QCOMPARE(doc.availableUndoSteps(), undoSteps);
            QVERIFY(!doc.isRedoAvailable());
        }
    }
}

void TestPageFile::createFailures() {
    QVERIFY(writeFileBytes(path(QStringLiteral("regular.txt")), "keep"));
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(writeFileBytes(path(QStringLiteral("folder/inside.txt")), "inside"));
    const QStringList paths = {path(QStringLiteral("no/such/folder/page.html")),
                               path(QStringLiteral("folder")),
                               path(QStringLiteral("regular.txt/page.html"))};
    QTextDocument doc;
    setText(doc, QStringLiteral("new text"));
    for (const QString& p : paths) {
        for (bool plain : {true, false}) {
            const auto error = failureOf([&] { savePageFile(doc, p, plain); });
            QVERIFY2(error.has_value(), qPrintable(p));
            QCOMPARE(error->kind(), FileFailure::Create);
            QCOMPARE(error->message(),
                     QStringLiteral("Cannot create file ") + p + QLatin1Char('.'));
            QCOMPARE(QString::fromStdString(error->what()), error->message());
        }
    }
    // Nothing was written anywhere.
    QCOMPARE(readFileBytes(path(QStringLiteral("regular.txt"))), QByteArray("keep"));
    QCOMPARE(QDir(path(QStringLiteral("folder"))).entryList(QDir::Files),
             QStringList{QStringLiteral("inside.txt")});
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("regular.txt")});
}

void TestPageFile::writeFailureKeepsOldFile() {
    // A file size limit makes the write fail half-way, for root as well.
    const QString file = path(QStringLiteral("page.html"));
    const QByteArray old = "<p>star\xE1 verze</p>\r\n";
    QVERIFY(writeFileBytes(file, old));
    QTextDocument doc;
    setText(doc, QString(200000, QLatin1Char('x')) + QStringLiteral("\nnová verze"));

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    std::optional<FileError> plainError = failureOf([&] { savePageFile(doc, file, true); });
    std::optional<FileError> richError = failureOf([&] { savePageFile(doc, file, false); });
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, previousHandler);

    for (const auto& error : {plainError, richError}) {
        QVERIFY(error.has_value());
        QCOMPARE(error->kind(), FileFailure::General);
        QCOMPARE(error->message(), QStringLiteral("Error writing file ") + file + QLatin1Char('.'));
    }
    QCOMPARE(readFileBytes(file), old);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QStringLiteral("page.html")});

    // Without the limit the same save goes through.
    savePageFile(doc, file, true);
    QCOMPARE(readFileBytes(file), plainTextBytes(doc));
}

void TestPageFile::messagesEndWithOneFullStop() {
    // The display adds a full stop only after a character that sorts after it.
    QCOMPARE(FileError::cannotOpen(QStringLiteral("/x/stranka.")).message(),
             QStringLiteral("Cannot open file /x/stranka."));
    QCOMPARE(FileError::cannotOpen(QStringLiteral("/x/a-")).message(),
             QStringLiteral("Cannot open file /x/a-"));
    QCOMPARE(FileError::cannotCreate(QStringLiteral("/x/1")).message(),
             QStringLiteral("Cannot create file /x/1."));
    QCOMPARE(FileError::cannotCreate(QStringLiteral("C:\\nahled.html")).message(),
             QStringLiteral("Cannot create file C:\\nahled.html."));
    QCOMPARE(FileError::readFailed(QStringLiteral("/x/ž")).message(),
             QStringLiteral("Error reading file /x/ž."));
    QCOMPARE(FileError::readFailed(QStringLiteral("a")).kind(), FileFailure::General);
    QCOMPARE(FileError::cannotOpen(QStringLiteral("a")).kind(), FileFailure::Open);
    QCOMPARE(FileError::cannotCreate(QStringLiteral("a")).kind(), FileFailure::Create);
    QCOMPARE(QString::fromUtf8(FileError::readFailed(QStringLiteral("/x/ž")).what()),
             QStringLiteral("Error reading file /x/ž."));
}

void TestPageFile::writableFileInReadOnlyFolder() {
    const QString folder = path(QStringLiteral("locked"));
    const QString file = folder + QStringLiteral("/page.html");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFileBytes(file, "old\r\n"));
    QTextDocument doc;
    setText(doc, QStringLiteral("nov\u00E1 verze"));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    std::optional<FileError> error;
    {
        zelvar::testing::FileRightsAsUser asUser;
        if (!asUser.active()) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("the permission bits cannot be made to apply");
        }
        // The folder refuses a new file, and the save still goes through.
        QVERIFY(!QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly));
        error = failureOf([&] { savePageFile(doc, file, true); });
    }
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(!error);
    QCOMPARE(readFileBytes(file), plainTextBytes(doc));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("page.html")});
}

QTEST_GUILESS_MAIN(TestPageFile)
#include "tst_pagefile.moc"
