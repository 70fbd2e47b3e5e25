// The two insertion primitives on a shown page of 400,000 lines with the
// caret in the middle line, through the main window (so the change handler
// refreshes the line counter as it does for the user). Targets: the line
// insertion under 1 ms, the text insertion under 5 ms. Between iterations
// the insertion is undone and the caret put back, outside the timing.

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>

#include "app/program.h"
#include "app/tform1.h"
#include "editor/editor.h"

using zelvar::Editor;

namespace {

constexpr int kLines = 400'000;
constexpr int kMiddleLine = kLines / 2;

// About 20 MB of HTML in 400,000 lines; the last line has no line break,
// so the text insertion also has to add one.
QString bigPage() {
    QString s;
    s.reserve(21'000'000);
    for (int i = 0; i < kLines; ++i) {
        if (i > 0) {
            s += QLatin1Char('\n');
        }
        s += QStringLiteral("<TR><TD CLASS=\"c%1\">Řádek číslo %1 s textem</TD><TD>").arg(i);
        s += QString(i % 7 * 2, QLatin1Char('x'));
        s += QStringLiteral("</TD></TR>");
    }
    return s;
}

Editor& shownPage() {
    static zelvar::Program* program = [] {
        auto* p = new zelvar::Program(zelvar::makeQtPlatform());
        p->mainWindow().resize(1000, 700);
        p->mainWindow().show();
        p->mainWindow().editor(1)->setPlainText(bigPage());
        QCoreApplication::processEvents();
        return p;
    }();
    return *program->mainWindow().editor(1);
}

void caretToMiddleLine(Editor& e) {
    const QTextBlock block = e.document()->findBlockByNumber(kMiddleLine);
    QTextCursor c = e.textCursor();
    c.setPosition(block.position() + 10);
    e.setTextCursor(c);
    QCoreApplication::processEvents();
}

void BM_LineInsertion(benchmark::State& state) {
    Editor& e = shownPage();
    caretToMiddleLine(e);
    for (auto _ : state) {
        e.insertInCaretLine(QStringLiteral("<B></B>"));
        state.PauseTiming();
        e.undoLast();
        caretToMiddleLine(e);
        state.ResumeTiming();
    }
    state.counters["lines"] = e.lineCount();
}
BENCHMARK(BM_LineInsertion)->Unit(benchmark::kMicrosecond);

void BM_TextInsertion(benchmark::State& state) {
    Editor& e = shownPage();
    caretToMiddleLine(e);
    for (auto _ : state) {
        e.insertAtSelStart(QStringLiteral("<P>"));
        state.PauseTiming();
        e.undoLast();
        caretToMiddleLine(e);
        state.ResumeTiming();
    }
    state.counters["lines"] = e.lineCount();
}
BENCHMARK(BM_TextInsertion)->Unit(benchmark::kMicrosecond);

} // namespace
