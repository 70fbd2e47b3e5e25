// The HTML reader alone over the lines of a 20 MB page: the cheap pass that
// only carries the state from line to line (what reaching the last screen
// of the page costs at most), and the pass that also gives the coloured
// parts of every line.

#include <QStringList>
#include <benchmark/benchmark.h>

#include "text/htmlsyntax.h"

namespace {

const QStringList& bigPageLines() {
    static const QStringList lines = [] {
        const QStringList five = {
            QStringLiteral("<p class=\"odstavec\">Příliš žluťoučký kůň úpěl.</p>"),
            QStringLiteral("  <td align=\"center\"><a href=\"stranka.html\">Odkaz</a></td>"),
            QStringLiteral("<div>&nbsp;Černá, šedá, růžová &ndash; ěščřžýáíé</div>"),
            QStringLiteral("\t<img src=\"obrazek.gif\" width=\"120\" height=\"60\" alt=\"\">"),
            QString()};
        QStringList out;
        out.reserve(412'000);
        for (int i = 0; i < 412'000; ++i) {
            out.append(five[i % 5]);
        }
        return out;
    }();
    return lines;
}

void BM_HtmlStatePass(benchmark::State& state) {
    const QStringList& lines = bigPageLines();
    for (auto _ : state) {
        int s = zelvar::kHtmlFirstLineState;
        for (const QString& line : lines) {
            s = zelvar::htmlLineState(line, s);
        }
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_HtmlStatePass)->Unit(benchmark::kMillisecond);

void BM_HtmlSpanPass(benchmark::State& state) {
    const QStringList& lines = bigPageLines();
    QList<zelvar::HtmlSpan> spans;
    for (auto _ : state) {
        int s = zelvar::kHtmlFirstLineState;
        for (const QString& line : lines) {
            spans.clear();
            s = zelvar::htmlLineSpans(line, s, spans);
        }
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_HtmlSpanPass)->Unit(benchmark::kMillisecond);

} // namespace
