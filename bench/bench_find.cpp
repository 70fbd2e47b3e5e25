// Find and replace in a 20 MB page of 412,000 lines that holds a word
// 103,000 times:
// - reading the page's text for a search (once per change of the page);
// - counting the word's matches; target 100 ms (it runs off the typing
//   path, on the panel's worker);
// - replacing all of them as one undo step, and undoing it; target 1 s each;
// and in the main window, a key typed in the find field of a 1 MB page, up to
// the count shown; target 16 ms.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <memory>

#include "app/program.h"
#include "app/tform1.h"
#include "editing/findreplace.h"
#include "editor/editor.h"
#include "ground/platform.h"
#include "text/search.h"

using namespace zelvar;

namespace {

constexpr int kLines = 412'000;
constexpr int kWordEvery = 4; // lines

QString pageText(int lines) {
    QString s;
    s.reserve(lines * 52);
    for (int i = 0; i < lines; ++i) {
        s += QStringLiteral("<TR><TD CLASS=\"c%1\">Řádek číslo %1</TD><TD>").arg(i);
        if (i % kWordEvery == 0) {
            s += QStringLiteral("želva");
        }
        s += QStringLiteral("</TD></TR>\n");
    }
    return s;
}

Editor& bigPage() {
    static Editor* page = [] {
        auto* e = new Editor;
        e->resize(800, 600);
        e->show();
        e->setPlainText(pageText(kLines));
        QApplication::processEvents();
        return e;
    }();
    return *page;
}

const TextSearch& word() {
    static const TextSearch search(QStringLiteral("želva"), {});
    return search;
}

void BM_FindReadPage(benchmark::State& state) {
    const QTextDocument& document = *bigPage().document();
    for (auto _ : state) {
        benchmark::DoNotOptimize(searchableText(document.toRawText()));
    }
}
BENCHMARK(BM_FindReadPage)->Unit(benchmark::kMillisecond)->Iterations(5);

// Case-insensitive, as the panel starts, and case-sensitive.
void BM_FindCountBigPage(benchmark::State& state) {
    const QString text = searchableText(bigPage().document()->toRawText());
    const TextSearch search(QStringLiteral("želva"), {state.range(0) != 0, false, false});
    qsizetype found = 0;
    for (auto _ : state) {
        found = search.findAll(text, 0, int(text.size()), nullptr).matches.size();
    }
    state.counters["matches"] = double(found);
}
BENCHMARK(BM_FindCountBigPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FindReplaceAllBigPage(benchmark::State& state) {
    Editor& e = bigPage();
    const QString text = searchableText(e.document()->toRawText());
    const QString replacement = QStringLiteral("kočka");
    const SearchResult found = word().findAll(text, 0, int(text.size()), &replacement);
    double undoMs = 0;
    for (auto _ : state) {
        replaceMatches(*e.document(), found);
        QApplication::processEvents();
        state.PauseTiming();
        QElapsedTimer undo;
        undo.start();
        e.undo();
        QApplication::processEvents();
        undoMs = std::max(undoMs, double(undo.nsecsElapsed()) / 1e6);
        if (e.document()->characterCount() != text.size() + 1) {
            state.SkipWithError("the undo did not give the page back");
        }
        state.ResumeTiming();
    }
    state.counters["matches"] = double(found.matches.size());
    state.counters["undo_ms"] = undoMs;
}
BENCHMARK(BM_FindReplaceAllBigPage)->Unit(benchmark::kMillisecond)->Iterations(3);

// The key and the count it brings: "želva" and "želvaX" in turn.
void BM_FindFieldKey(benchmark::State& state) {
    Program program(makeQtPlatform());
    TForm1& form = program.mainWindow();
    form.show();
    form.editor(1)->setPlainText(pageText(20'000)); // 1 MB
    form.action("Hledatanahradit1")->trigger();
    auto* field = form.findChild<QLineEdit*>(QStringLiteral("FindField"));
    auto* count = form.findChild<QLabel*>(QStringLiteral("FindCount"));
    field->insert(QStringLiteral("želva"));
    const auto counted = [count](const QString& was) {
        while (count->text() == was) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
    };
    counted(QString());
    bool longer = true;
    for (auto _ : state) {
        const QString was = count->text();
        if (longer) {
            field->insert(QStringLiteral("X"));
        } else {
            field->backspace();
        }
        longer = !longer;
        counted(was);
    }
}
BENCHMARK(BM_FindFieldKey)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace
