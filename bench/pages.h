#pragma once
// The pages the benchmarks share: a 2 MB line of minified HTML and a 20 MB
// page file of 412,000 lines, the keys as a user presses them, and the
// process's memory figures.

#include <QString>
#include <Qt>
#include <benchmark/benchmark.h>

class QPlainTextEdit;

namespace zelvar::bench {

constexpr qsizetype kLongLine = 2'000'000;
constexpr int kBigLines = 412'000;

// Minified HTML with Czech text, no line break.
const QString& longLine();

// About 20 MB in 412,000 lines of Windows-1250 with CR LF, in a temporary
// folder that lasts as long as the process.
const QString& bigPagePath();

// A key pressed and released on the editor, and the events that follow.
void press(QPlainTextEdit& e, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = QString());

// Each iteration types a character or the Backspace that takes it away
// again, in turn, so the text is the same when the run ends.
void typeAlternately(benchmark::State& state, QPlainTextEdit& e);

// A field of /proc/self/status in kB (VmRSS, VmHWM), -1 when missing.
long statusKb(const char* field);

// Starts a new peak: the high-water mark of resident memory falls back to
// what is resident now.
void resetPeak();

} // namespace zelvar::bench
