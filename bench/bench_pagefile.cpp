// Whole-file save and load of a large page: 400,000 lines, about 20 MB of
// HTML with Czech text, in plain-text form and as RTF.

#include "editor/editor.h"
#include "text/cp1250.h"
#include "text/pagefile.h"
#include "text/rtf.h"

#include <QCoreApplication>
#include <QFile>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>

using namespace zelvar;

namespace {

constexpr int kLines = 400000;

QString largePage() {
    static const QString lines[] = {
        QStringLiteral("<p class=\"odstavec\">Příliš žluťoučký kůň úpěl ďábelské ódy.</p>"),
        QStringLiteral("  <td align=\"center\"><a href=\"stranka.html\">Odkaz</a></td>"),
        QStringLiteral("<div>&nbsp;Černá, šedá, růžová &ndash; ěščřžýáíé ĚŠČŘŽ</div>"),
        QStringLiteral("\t<img src=\"obrazek.gif\" width=\"120\" height=\"60\" alt=\"\">"),
        QString(),
    };
    QString text;
    text.reserve(kLines * 52);
    for (int i = 0; i < kLines; ++i) {
        text += lines[i % 5];
        text += QLatin1Char('\n');
    }
    return text;
}

// A document laid out the way the editor lays out its pages.
std::unique_ptr<QTextDocument> makeDocument() {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDocumentLayout(new QPlainTextDocumentLayout(doc.get()));
    return doc;
}

const QTextDocument& largeDocument() {
    static const std::unique_ptr<QTextDocument> doc = [] {
        auto d = makeDocument();
        QTextCursor(d.get()).insertText(largePage());
        return d;
    }();
    return *doc;
}

QTemporaryDir& benchDir() {
    static QTemporaryDir dir;
    return dir;
}

void saveBench(benchmark::State& state, bool plain) {
    const QTextDocument& doc = largeDocument();
    const QString path = benchDir().filePath(plain ? "save.html" : "save.rtf");
    for (auto _ : state) {
        savePageFile(doc, path, plain);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
    state.counters["file_MB"] = double(QFile(path).size()) / 1e6;
}

void loadBench(benchmark::State& state, bool plain) {
    const QString path = benchDir().filePath(plain ? "load.html" : "load.rtf");
    savePageFile(largeDocument(), path, plain);
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = makeDocument();
        state.ResumeTiming();
        loadPageFile(*doc, path, plain);
        state.PauseTiming();
        if (doc->blockCount() != largeDocument().blockCount()) {
            state.SkipWithError("the loaded page has a different number of lines");
        }
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void BM_SavePlain(benchmark::State& state) {
    saveBench(state, true);
}
void BM_LoadPlain(benchmark::State& state) {
    loadBench(state, true);
}
void BM_SaveRtf(benchmark::State& state) {
    saveBench(state, false);
}
void BM_LoadRtf(benchmark::State& state) {
    loadBench(state, false);
}

// The conversions alone, without the document and the file.
void BM_EncodePlainBytes(benchmark::State& state) {
    const QTextDocument& doc = largeDocument();
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray bytes = plainTextBytes(doc);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

void BM_DecodePlainBytes(benchmark::State& state) {
    const QByteArray bytes = plainTextBytes(largeDocument());
    for (auto _ : state) {
        const QString text = textFromPlainBytes(bytes);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_Cp1250RoundTrip(benchmark::State& state) {
    const QString text = largePage();
    for (auto _ : state) {
        const QString back = fromCp1250(toCp1250(text));
        benchmark::DoNotOptimize(back.constData());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

// A plain load into a shown page, against the bare Qt widget showing the same
// decoded text: the load may cost at most a little more than the widget.
void BM_LoadPlainIntoShownPage(benchmark::State& state) {
    const QString path = benchDir().filePath("shown.html");
    savePageFile(largeDocument(), path, true);
    for (auto _ : state) {
        state.PauseTiming();
        Editor editor;
        editor.setPlainTextMode(true);
        editor.resize(800, 600);
        editor.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        editor.loadFromFile(path);
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (editor.document()->blockCount() != largeDocument().blockCount()) {
            state.SkipWithError("the loaded page has a different number of lines");
        }
        state.ResumeTiming();
    }
}

void BM_BareWidgetShowsDecodedText(benchmark::State& state) {
    const QString text = textFromPlainBytes(plainTextBytes(largeDocument()));
    for (auto _ : state) {
        state.PauseTiming();
        QPlainTextEdit widget;
        widget.resize(800, 600);
        widget.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        widget.setPlainText(text);
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_LoadPlainIntoShownPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareWidgetShowsDecodedText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SavePlain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadPlain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveRtf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadRtf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EncodePlainBytes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DecodePlainBytes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Cp1250RoundTrip)->Unit(benchmark::kMillisecond)->Iterations(5);
