// A page whose only line is 2 MB of minified HTML, shown in a page editor of
// 800 x 600 with its layout: typing one character at the line's end and in
// its middle, the caret to the line's end, and one caret blink repaint. Each
// timed step includes the repaint it causes. Targets: 50 ms a key, 0.1 s for
// the caret to the end, 5 ms for a blink.
//
// And the open of a 20 MB, 412,000-line Windows-1250 page into a shown page
// editor up to its first paint, with the peak memory of that open (run it
// alone, in a fresh process, for a true peak).

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>

#include "bench/pages.h"
#include "editor/editor.h"
#include "text/pagefile.h"

#include <memory>

using zelvar::Editor;
using namespace zelvar::bench;

namespace {

Editor& longLinePage() {
    static Editor* editor = [] {
        auto* e = new Editor;
        e->resize(800, 600);
        e->show();
        e->setText(longLine());
        QApplication::setActiveWindow(e);
        e->setFocus();
        QApplication::processEvents();
        return e;
    }();
    return *editor;
}

void putCaret(Editor& e, int position) {
    QTextCursor c = e.textCursor();
    c.setPosition(position);
    e.setTextCursor(c);
    QApplication::processEvents();
}

// A typed character and its Backspace alternate, so the line keeps its
// length; every key is timed with its repaint.
void typeAt(benchmark::State& state, int position) {
    Editor& e = longLinePage();
    putCaret(e, position);
    typeAlternately(state, e);
    if (e.document()->characterCount() != kLongLine + 1) {
        state.SkipWithError("the line did not keep its length");
    }
}

void BM_LongLineTypeAtEnd(benchmark::State& state) {
    typeAt(state, int(kLongLine));
}
BENCHMARK(BM_LongLineTypeAtEnd)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_LongLineTypeInMiddle(benchmark::State& state) {
    typeAt(state, int(kLongLine / 2));
}
BENCHMARK(BM_LongLineTypeInMiddle)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_LongLineCaretToEnd(benchmark::State& state) {
    Editor& e = longLinePage();
    for (auto _ : state) {
        state.PauseTiming();
        press(e, Qt::Key_Home, Qt::ControlModifier);
        state.ResumeTiming();
        press(e, Qt::Key_End, Qt::ControlModifier);
    }
    if (e.textCursor().position() != kLongLine) {
        state.SkipWithError("the caret is not at the end");
    }
}
BENCHMARK(BM_LongLineCaretToEnd)->Unit(benchmark::kMillisecond)->Iterations(5);

// What one blink of the caret costs: the caret's rectangle repainted.
void BM_LongLineCaretBlink(benchmark::State& state) {
    Editor& e = longLinePage();
    putCaret(e, int(kLongLine));
    for (auto _ : state) {
        e.viewport()->repaint(e.cursorRect().adjusted(-2, -2, 2, 2));
    }
}
BENCHMARK(BM_LongLineCaretBlink)->Unit(benchmark::kMillisecond)->Iterations(20);

// --- The big page --------------------------------------------------------

void BM_OpenBigPage(benchmark::State& state) {
    const QString& path = bigPagePath();
    double peakMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto editor = std::make_unique<Editor>();
            editor->setPlainTextMode(true);
            editor->setLineNumbersShown(state.range(0) != 0);
            editor->resize(800, 600);
            editor->show();
            QApplication::processEvents();
            resetPeak();
            const long before = statusKb("VmRSS");
            state.ResumeTiming();
            editor->loadFromFile(path);
            QApplication::processEvents();
            state.PauseTiming();
            peakMb = std::max(peakMb, double(statusKb("VmHWM") - before) / 1024.0);
            if (editor->lineCount() != kBigLines) {
                state.SkipWithError("the page has a different number of lines");
            }
        }
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMb;
}
// Without (0) and with (1) the gutter of line numbers.
BENCHMARK(BM_OpenBigPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The bare widget given the same decoded text, for comparison.
void BM_OpenBigPageBareWidget(benchmark::State& state) {
    const QString text = zelvar::textFromPlainBytes(zelvar::readWholeFile(bigPagePath()));
    double peakMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto widget = std::make_unique<QPlainTextEdit>();
            widget->resize(800, 600);
            widget->show();
            QApplication::processEvents();
            resetPeak();
            const long before = statusKb("VmRSS");
            state.ResumeTiming();
            widget->setPlainText(text);
            QApplication::processEvents();
            state.PauseTiming();
            peakMb = std::max(peakMb, double(statusKb("VmHWM") - before) / 1024.0);
        }
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMb;
}
BENCHMARK(BM_OpenBigPageBareWidget)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
