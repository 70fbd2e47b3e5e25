// The HTML check of a 1 MB page, the whole way the editor takes it: the text
// to UTF-8, the helper process, Tidy, the findings read back with the
// editor's columns. Target: at most 1 s.

#include "tools/htmlcheckrun.h"

#include <QEventLoop>

#include <benchmark/benchmark.h>

using namespace zelvar;

namespace {

// A page as people write them, with a few faults a section.
QString megabytePage() {
    const QString section = QString::fromUtf8(
        "<h2>Kapitola</h2>\n"
        "<p>Příliš žluťoučký kůň úpěl <b>ďábelské</b> ódy, <a href=\"stranka.html\">odkaz</a>\n"
        "\t<img src=\"obrazek.gif\" width=\"120\" height=\"60\">.</p>\n"
        "<table border=\"1\"><tr><td>buňka<td>druhá</tr></table>\n"
        "<ul><li>položka<li>další</ul>\n"
        "<p>Chyba: <b>neuzavřené <i>značky</b></i> a & konec\n");
    QString page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Test</title>"
                   "</head><body>\n";
    while (page.toUtf8().size() < (1 << 20)) {
        page += section.repeated(100);
    }
    return page + "</body></html>\n";
}

void BM_CheckMegabytePage(benchmark::State& state) {
    const QString page = megabytePage();
    HtmlCheckRun run;
    run.setProgram(QStringLiteral(ZELVAR_HTMLCHECK_PROGRAM));
    qsizetype findings = 0;
    QObject::connect(&run, &HtmlCheckRun::finished,
                     [&](const HtmlCheckResult& result) { findings = result.findings.size(); });
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&run, &HtmlCheckRun::finished, &loop, &QEventLoop::quit);
        QObject::connect(&run, &HtmlCheckRun::failed, &loop, &QEventLoop::quit);
        findings = -1;
        run.start(page);
        loop.exec();
        if (findings < 0) {
            state.SkipWithError("the check failed");
        }
    }
    state.counters["page_MB"] = double(page.toUtf8().size()) / 1e6;
    state.counters["findings"] = double(findings);
}

} // namespace

BENCHMARK(BM_CheckMegabytePage)->Unit(benchmark::kMillisecond)->Iterations(5);
