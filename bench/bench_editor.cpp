// The main window's start-up and the single-line operations of a page that
// holds a 20 MB, 400,000-line HTML text. None of the line operations may
// walk the whole text.

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <benchmark/benchmark.h>

#include "app/program.h"
#include "app/tform1.h"
#include "editor/editor.h"

using zelvar::Editor;

namespace {

// About 20 MB of HTML in 400,000 lines of varied length.
const QString& bigHtml() {
    static const QString text = [] {
        QString s;
        s.reserve(21'000'000);
        for (int i = 0; i < 400'000; ++i) {
            s += QStringLiteral("<TR><TD CLASS=\"c%1\">Řádek číslo %1 s textem</TD><TD>").arg(i);
            s += QString(i % 7 * 2, QLatin1Char('x'));
            s += QStringLiteral("</TD></TR>\n");
        }
        return s;
    }();
    return text;
}

Editor& bigEditor() {
    static Editor* editor = [] {
        // The page is the shown one, as it is when a command works on it.
        auto* e = new Editor;
        e->resize(800, 600);
        e->show();
        e->setPlainText(bigHtml());
        QCoreApplication::processEvents();
        return e;
    }();
    return *editor;
}

void BM_BuildMainWindow(benchmark::State& state) {
    for (auto _ : state) {
        zelvar::Program program(zelvar::makeQtPlatform());
        benchmark::DoNotOptimize(&program.mainWindow());
    }
}
BENCHMARK(BM_BuildMainWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LinesCount(benchmark::State& state) {
    Editor& e = bigEditor();
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.lineCount());
    }
    state.counters["lines"] = e.lineCount();
}
BENCHMARK(BM_LinesCount)->Unit(benchmark::kMicrosecond);

void BM_ReadMiddleLine(benchmark::State& state) {
    Editor& e = bigEditor();
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.line(200'000));
    }
}
BENCHMARK(BM_ReadMiddleLine)->Unit(benchmark::kMicrosecond);

void BM_WriteMiddleLine(benchmark::State& state) {
    Editor& e = bigEditor();
    const QString original = e.line(200'000);
    bool flip = false;
    for (auto _ : state) {
        e.setLine(200'000, flip ? original : original + QStringLiteral("<BR>"));
        flip = !flip;
    }
    e.setLine(200'000, original);
}
BENCHMARK(BM_WriteMiddleLine)->Unit(benchmark::kMicrosecond);

void BM_SelStartAtEnd(benchmark::State& state) {
    Editor& e = bigEditor();
    QTextCursor c = e.textCursor();
    c.movePosition(QTextCursor::End);
    e.setTextCursor(c);
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.selStart());
    }
}
BENCHMARK(BM_SelStartAtEnd)->Unit(benchmark::kMicrosecond);

void BM_CaretPosAtEnd(benchmark::State& state) {
    Editor& e = bigEditor();
    QTextCursor c = e.textCursor();
    c.movePosition(QTextCursor::End);
    e.setTextCursor(c);
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.caretPos());
    }
}
BENCHMARK(BM_CaretPosAtEnd)->Unit(benchmark::kMicrosecond);

void BM_SetSelStartAtEnd(benchmark::State& state) {
    Editor& e = bigEditor();
    const int end = e.selStart();
    for (auto _ : state) {
        e.setSelStart(end);
    }
}
BENCHMARK(BM_SetSelStartAtEnd)->Unit(benchmark::kMicrosecond);

// The choice of text widget: putting the whole text in, with the widget shown.
template <class Widget> void BM_PutTextInto(benchmark::State& state) {
    for (auto _ : state) {
        Widget w;
        w.resize(800, 600);
        w.show();
        w.setPlainText(bigHtml());
        // The layout is part of the cost: the rich widget lays out the whole
        // document before it knows its size, the plain one only what shows.
        benchmark::DoNotOptimize(w.document()->size());
        QCoreApplication::processEvents();
    }
}
BENCHMARK_TEMPLATE(BM_PutTextInto, QPlainTextEdit)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_TEMPLATE(BM_PutTextInto, QTextEdit)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
