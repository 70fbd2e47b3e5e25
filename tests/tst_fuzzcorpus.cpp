// The fuzz targets' corpora replayed through the same checks as the fuzz
// targets: the hand-made seeds, RTF the program wrote, the RTF samples of
// the reader's tests, and every input a fuzz run has found failing (kept in
// the corpus once it was mended), so they stay mended in the normal build.

#include <QDirIterator>
#include <QTest>

#include "fuzz/checks.h"
#include "support/filebytes.h"

using zelvar::testing::readFileBytes;

class FuzzCorpusTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replay_data();
    void replay();
};

void FuzzCorpusTest::replay_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("file");
    const auto targets = zelvar::fuzz::targets();
    for (size_t t = 0; t < targets.size(); ++t) {
        const QDir corpus(QStringLiteral(ZELVAR_FUZZ_CORPUS_DIR "/") +
                          QLatin1String(targets[t].name));
        const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        // A target without cases would replay nothing.
        QVERIFY2(!files.isEmpty(), targets[t].name);
        for (const QString& file : files) {
            const QString tag = QLatin1String(targets[t].name) + QLatin1Char('/') + file;
            QTest::newRow(qPrintable(tag)) << int(t) << corpus.filePath(file);
        }
    }
}

void FuzzCorpusTest::replay() {
    QFETCH(int, target);
    QFETCH(QString, file);
    bool ok = false;
    const QByteArray input = readFileBytes(file, &ok);
    QVERIFY2(ok, qPrintable(file));
    const QString failure = zelvar::fuzz::targets()[size_t(target)].check(input);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
}

QTEST_MAIN(FuzzCorpusTest)
#include "tst_fuzzcorpus.moc"
