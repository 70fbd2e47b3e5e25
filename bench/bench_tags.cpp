// Loading the tag library into the shown main window, up to the painted list,
// for three shapes of tagy.txt that used to freeze the program: one 5 MB
// line, 200 lines of 100 KB, and 2.3 million short lines. And an RTF page
// whose every few characters take another of 3,276 font sizes, loaded into
// the shown page editor.

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include "app/program.h"
#include "app/tform1.h"
#include "editor/editor.h"

namespace {

QByteArray oneLongLine() {
    QByteArray line;
    line.reserve(5'000'002);
    while (line.size() < 5'000'000) {
        line += "<div class=\"blok\">P\xf8\xedli\x9a \x9elu\x9dou\xe8k\xfd k\xf9\xf2</div>";
    }
    return line + "\r\n";
}

QByteArray longLines() {
    QByteArray out;
    for (int i = 0; i < 200; ++i) {
        QByteArray line = "<p id=\"" + QByteArray::number(199 - i) + "\">";
        while (line.size() < 100'000) {
            line += "\xe8\xe1ra a te\xe8ka, ";
        }
        out += line + "\r\n";
    }
    return out;
}

QByteArray shortLines() {
    QByteArray out;
    out.reserve(2'300'000 * 16);
    for (qint64 i = 0; i < 2'300'000; ++i) {
        out += "<td id=";
        out += QByteArray::number((i * 7919) % 2'300'000);
        out += ">\r\n";
    }
    return out;
}

// The program in a working folder of its own, its main window shown.
struct ShownProgram {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    std::unique_ptr<zelvar::Program> program;

    ShownProgram() {
        QDir::setCurrent(dir.path());
        program = std::make_unique<zelvar::Program>(zelvar::makeQtPlatform());
        program->mainWindow().show();
        QCoreApplication::processEvents();
    }
    ~ShownProgram() {
        program.reset();
        QDir::setCurrent(previous);
    }
};

void loadTags(benchmark::State& state, const QByteArray& bytes) {
    ShownProgram shown;
    QFile file(QStringLiteral("tagy.txt"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write tagy.txt");
        return;
    }
    file.close();
    QAbstractButton* load = shown.program->mainWindow().button("Button4");
    for (auto _ : state) {
        load->click();
        QCoreApplication::processEvents(); // the list laid out and painted
    }
    state.counters["file_MB"] = double(bytes.size()) / 1e6;
}

void BM_TagsOneLongLine(benchmark::State& state) {
    loadTags(state, oneLongLine());
}
BENCHMARK(BM_TagsOneLongLine)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_TagsLongLines(benchmark::State& state) {
    loadTags(state, longLines());
}
BENCHMARK(BM_TagsLongLines)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_TagsShortLines(benchmark::State& state) {
    loadTags(state, shortLines());
}
BENCHMARK(BM_TagsShortLines)->Unit(benchmark::kMillisecond)->Iterations(2);

// 28 KB of RTF: one line with a run of text for every font size from 0.5 to
// 1638 points.
QByteArray manySizesRtf() {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n";
    for (int halfPoints = 1; halfPoints <= 3276; ++halfPoints) {
        rtf += "\\fs" + QByteArray::number(halfPoints) + " a";
    }
    return rtf + "}";
}

void BM_RtfManyFontSizes(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sizes.rtf"));
    const QByteArray rtf = manySizesRtf();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
        state.SkipWithError("cannot write the page");
        return;
    }
    file.close();
    for (auto _ : state) {
        state.PauseTiming();
        zelvar::Editor editor;
        editor.resize(800, 600);
        editor.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        editor.loadFromFile(path);         // rich-text mode, as a page starts
        QCoreApplication::processEvents(); // laid out and painted
        state.PauseTiming();
        state.counters["chars"] = editor.document()->characterCount();
        state.ResumeTiming();
    }
    state.counters["file_KB"] = double(rtf.size()) / 1e3;
}
BENCHMARK(BM_RtfManyFontSizes)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
