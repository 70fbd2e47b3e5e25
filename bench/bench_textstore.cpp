// A prototype of an own text store and line layout, for comparison only: it
// is not part of the program. The text is kept as one string per line
// (line blocks); only the lines on screen are laid out, each when drawn; a
// long line is laid out by the part on screen. Measured as the editor is
// (bench_longline.cpp and bench_spelling.cpp):
// - the 20 MB page read into the store, ready to draw its first screen;
// - a key typed in the middle of it, with the screen drawn again;
// - a key typed at the end of the 2 MB line, with the screen drawn again.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

#include "bench/pages.h"
#include "text/pagefile.h"

using namespace zelvar;

namespace {

class LineStore {
public:
    void read(const QString& text) {
        lines_.clear();
        lines_.reserve(std::size_t(text.count(u'\n')) + 1);
        qsizetype start = 0;
        for (qsizetype end; (end = text.indexOf(u'\n', start)) >= 0; start = end + 1) {
            lines_.push_back(text.sliced(start, end - start));
        }
        lines_.push_back(text.sliced(start));
    }
    std::size_t count() const { return lines_.size(); }
    QString& line(std::size_t i) { return lines_[i]; }

private:
    std::vector<QString> lines_;
};

// Draws the screen from line `first`, each line laid out now; a line longer
// than a screen's width is laid out from `column` on, by the part shown.
class Screen {
public:
    Screen() : image_(800, 600, QImage::Format_RGB32) {
        font_.setFamily(QStringLiteral("DejaVu Sans Mono"));
    }

    void draw(LineStore& store, std::size_t first, qsizetype column = 0) {
        QPainter painter(&image_);
        painter.fillRect(image_.rect(), Qt::white);
        const qreal height = QFontMetricsF(font_).height();
        qreal y = 0;
        for (std::size_t i = first; i < store.count() && y < image_.height(); ++i, y += height) {
            const QString& text = store.line(i);
            const qsizetype from = text.size() > kPart ? qMax<qsizetype>(0, column - kPart / 2) : 0;
            QTextLayout layout(text.mid(from, kPart), font_);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            line.setLineWidth(1e9);
            layout.endLayout();
            layout.draw(&painter, QPointF(0, y));
        }
    }

private:
    static constexpr qsizetype kPart = 400; // characters of a long line laid out
    QImage image_;
    QFont font_;
};

LineStore& bigStore() {
    static LineStore* store = [] {
        auto* s = new LineStore;
        s->read(textFromPlainBytes(readWholeFile(bench::bigPagePath())));
        return s;
    }();
    return *store;
}

void BM_StoreOpenBigPage(benchmark::State& state) {
    Screen screen;
    double peakMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench::resetPeak();
        const long before = bench::statusKb("VmRSS");
        state.ResumeTiming();
        {
            LineStore store;
            store.read(textFromPlainBytes(readWholeFile(bench::bigPagePath())));
            screen.draw(store, 0);
            benchmark::DoNotOptimize(store.count());
            state.PauseTiming();
            peakMb = std::max(peakMb, double(bench::statusKb("VmHWM") - before) / 1024.0);
            state.ResumeTiming();
        }
    }
    state.counters["peak_MB"] = peakMb;
}
BENCHMARK(BM_StoreOpenBigPage)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StoreTypeKeyBigPage(benchmark::State& state) {
    LineStore& store = bigStore();
    Screen screen;
    const std::size_t middle = store.count() / 2;
    bool typed = false;
    for (auto _ : state) {
        QString& line = store.line(middle + 5);
        if (typed) {
            line.remove(10, 1);
        } else {
            line.insert(10, u'x');
        }
        typed = !typed;
        screen.draw(store, middle);
    }
}
BENCHMARK(BM_StoreTypeKeyBigPage)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_StoreTypeKeyLongLine(benchmark::State& state) {
    LineStore store;
    store.read(bench::longLine());
    Screen screen;
    bool typed = false;
    for (auto _ : state) {
        QString& line = store.line(0);
        if (typed) {
            line.chop(1);
        } else {
            line.append(u'x');
        }
        typed = !typed;
        screen.draw(store, 0, line.size());
    }
}
BENCHMARK(BM_StoreTypeKeyLongLine)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace
