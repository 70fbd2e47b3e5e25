// The HTML colouring against the same runs without it (argument 0: a page
// editor with no colouring, 1: with it), all with the page shown at 800 x
// 600: opening the 20 MB page (time and peak memory), Ctrl+End to its
// coloured last screen, a typed key (and its Backspace) in its middle line,
// and a typed key at the end of the 2 MB line. Every timed step includes the
// repaint it causes. Targets: opening at most 5 % slower with at most 10 %
// more memory, Ctrl+End within 50 ms, a key within 2 ms of CPU, the long
// line no slower.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <benchmark/benchmark.h>
#include <memory>

#include "bench/pages.h"
#include "editor/editor.h"
#include "editor/htmlhighlighter.h"

using zelvar::Editor;
using namespace zelvar::bench;

namespace {

std::unique_ptr<Editor> shownPage(bool coloured) {
    auto e = std::make_unique<Editor>();
    e->setPlainTextMode(true);
    e->resize(800, 600);
    if (coloured) {
        new zelvar::HtmlHighlighter(e.get());
    }
    e->show();
    QApplication::setActiveWindow(e.get());
    e->setFocus();
    QApplication::processEvents();
    return e;
}

bool coloured(const QTextBlock& block) {
    return !block.layout()->formats().isEmpty();
}

// Runs the program's event loop for a while, as a user looking at the page.
void look(int ms) {
    QElapsedTimer looking;
    looking.start();
    while (looking.elapsed() < ms) {
        QApplication::processEvents();
    }
}

void BM_SyntaxOpenBigPage(benchmark::State& state) {
    const bool colours = state.range(0) != 0;
    double peakMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto e = shownPage(colours);
            resetPeak();
            const long before = statusKb("VmRSS");
            state.ResumeTiming();
            e->loadFromFile(bigPagePath());
            QApplication::processEvents();
            state.PauseTiming();
            peakMb = std::max(peakMb, double(statusKb("VmHWM") - before) / 1024.0);
            if (coloured(e->document()->firstBlock()) != colours) {
                state.SkipWithError("the first screen is not as it should be");
            }
        }
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMb;
}
BENCHMARK(BM_SyntaxOpenBigPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// From the first screen of the page just opened, when the states of the
// lines before the last screen are not read yet (the screen is coloured
// from the lines just above it, and again once the reading that goes on
// while the program waits has reached it); and after a second of looking at
// the page, in which they are read (second argument).
void BM_SyntaxCtrlEnd(benchmark::State& state) {
    const bool colours = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto e = shownPage(colours);
        e->loadFromFile(bigPagePath());
        QApplication::processEvents();
        look(int(state.range(1)));
        state.ResumeTiming();
        press(*e, Qt::Key_End, Qt::ControlModifier);
        state.PauseTiming();
        if (coloured(e->document()->findBlockByNumber(kBigLines - 2)) != colours) {
            state.SkipWithError("the last screen is not as it should be");
        }
        e.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SyntaxCtrlEnd)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1000})
    ->Args({1, 1000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_SyntaxTypeKey(benchmark::State& state) {
    const bool colours = state.range(0) != 0;
    auto e = shownPage(colours);
    e->loadFromFile(bigPagePath());
    QTextCursor caret(e->document()->findBlockByNumber(kBigLines / 2 + 1));
    caret.movePosition(QTextCursor::NextWord);
    e->setTextCursor(caret);
    look(1000); // the states below the screen are read meanwhile
    typeAlternately(state, *e);
    if (coloured(caret.block()) != colours) {
        state.SkipWithError("the line typed in is not as it should be");
    }
}
BENCHMARK(BM_SyntaxTypeKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_SyntaxLongLineType(benchmark::State& state) {
    auto e = shownPage(state.range(0) != 0);
    e->setText(longLine());
    e->moveCursor(QTextCursor::End);
    QApplication::processEvents();
    typeAlternately(state, *e);
}
BENCHMARK(BM_SyntaxLongLineType)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

// A style sheet (argument 1) or a script (2) of 5 MB, opened with the
// colouring off (0) or on (1) for its language, and then Ctrl+End to its
// last screen. Target: opening at most 5 % slower with the colours.
const QString& codeFile(bool script) {
    static QTemporaryDir dir;
    static QString paths[2];
    QString& path = paths[script];
    if (path.isEmpty()) {
        path = dir.filePath(script ? QStringLiteral("app.js") : QStringLiteral("site.css"));
        const QByteArray piece =
            script ? QByteArrayLiteral(
                         "/* a part */\nexport function pick(list, n = 10) {\n"
                         "  const re = /^[a-z]+$/i; let s = `item ${n} of ${list.length}`;\n"
                         "  return list.filter((x) => re.test(x) && x.size > 0x1F).slice(0, n);\n"
                         "}\n")
                   : QByteArrayLiteral("/* a part */\n.menu > li a:hover, #top {\n"
                                       "  color: #0858bc; margin: 0 1.5em -2px 50%;\n"
                                       "  font: 12px/1.4 \"DejaVu Sans\", sans-serif;\n}\n"
                                       "@media (max-width: 600px) { .menu { display: none } }\n");
        QByteArray all;
        while (all.size() < 5'000'000) {
            all += piece;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(all) != all.size()) {
            path.clear();
        }
    }
    return path;
}

void BM_SyntaxOpenStyleOrScript(benchmark::State& state) {
    const bool script = state.range(0) == 2;
    const bool colours = state.range(1) != 0;
    const QString& path = codeFile(script);
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto e = shownPage(colours);
            if (auto* view = zelvar::HtmlHighlighter::of(e.get())) {
                view->setLanguage(script ? zelvar::PageLanguage::Script
                                         : zelvar::PageLanguage::Css);
            }
            QApplication::processEvents();
            state.ResumeTiming();
            e->loadFromFile(path);
            QApplication::processEvents();
            state.PauseTiming();
            if (coloured(e->document()->firstBlock()) != colours) {
                state.SkipWithError("the first screen is not as it should be");
            }
        }
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SyntaxOpenStyleOrScript)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
