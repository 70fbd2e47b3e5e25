// The spelling check's cost on screen, with the Czech dictionary loaded and
// the HTML colours on, in a page editor of 800 x 600:
// - a typed key (and its Backspace) in the middle of a 20 MB, 400,000-line
//   page, with the repaint it causes; target 2 ms CPU;
// - a screen of that page scrolled onto lines never shown before, whose
//   words the dictionary has mostly not seen; target 16 ms;
// - a typed key at the end of a 2 MB single line with the check off (0) and
//   on (1); the check may cost nothing there;
// - a caret key (Right, Down, Page Down) on lines of 3,000 and of 9,990
//   characters and on the 20 MB page; target 2 ms CPU: a caret move changes
//   only the matching-tag mark, and only lines that scroll into view are
//   read.

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <map>

#include "bench/pages.h"
#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "editor/spellview.h"
#include "ground/speller.h"
#include "text/spelltext.h"

using namespace zelvar;

namespace {

Speller* loadedSpeller() {
    static Speller* speller = [] {
        auto* s = new Speller(Speller::czechAffixFile(), Speller::czechDictionaryFile(), QString());
        s->load();
        while (!s->isReady()) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return s;
    }();
    return speller;
}

// Czech text with words made of syllables, most of them unknown and each
// line's different from its neighbours'.
QString bigPageText() {
    static const char16_t* const syllables[] = {u"ko",  u"pra", u"že", u"lu", u"ni", u"tě",
                                                u"sto", u"má",  u"ry", u"dů", u"ce", u"va"};
    constexpr int n = 12;
    QString s;
    s.reserve(21'000'000);
    for (int i = 0; i < 400'000; ++i) {
        s += QStringLiteral("<p class=\"odstavec\" title=\"Ulice\">V Praze jsou ");
        for (int w = 0; w < 4; ++w) {
            const int k = i * 4 + w;
            s += QStringView(syllables[k % n]);
            s += QStringView(syllables[k / n % n]);
            s += QStringView(syllables[k / (n * n) % n]);
            s += u' ';
        }
        s += QStringLiteral("mnohé ulyce</p>\n");
    }
    return s;
}

// Kept to the end of the process, like the application's pages.
Editor* shownPage(const QString& text) {
    auto* e = new Editor;
    e->resize(800, 600);
    new HtmlHighlighter(e);
    (new SpellView(e))->setSpeller(loadedSpeller());
    e->show();
    e->setPlainText(text);
    QApplication::setActiveWindow(e);
    e->setFocus();
    QApplication::processEvents();
    return e;
}

Editor& bigPage() {
    static Editor* page = shownPage(bigPageText());
    return *page;
}

void typeKeys(benchmark::State& state, Editor& e, int position) {
    QTextCursor c = e.textCursor();
    c.setPosition(position);
    e.setTextCursor(c);
    e.ensureCursorVisible();
    QApplication::processEvents();
    const int length = e.document()->characterCount();
    bench::typeAlternately(state, e);
    if (e.document()->characterCount() != length) {
        state.SkipWithError("the page did not keep its length");
    }
}

void BM_SpellTypeKeyBigPage(benchmark::State& state) {
    Editor& e = bigPage();
    SpellView::of(&e)->setEnabled(state.range(0) != 0);
    typeKeys(state, e, e.document()->findBlockByNumber(200'000).position() + 60);
}
BENCHMARK(BM_SpellTypeKeyBigPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200);

// The same key with the gutter of line numbers off (0) and on (1); target
// 0.5 ms more.
void BM_GutterTypeKeyBigPage(benchmark::State& state) {
    Editor& e = bigPage();
    SpellView::of(&e)->setEnabled(true);
    e.setLineNumbersShown(state.range(0) != 0);
    typeKeys(state, e, e.document()->findBlockByNumber(200'000).position() + 60);
    e.setLineNumbersShown(false);
}
BENCHMARK(BM_GutterTypeKeyBigPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200);

// The languages of the text read from the top down to line 200,000, as a
// jump there after an edit at the top needs them (once; later lines start
// from there), while the program waits: the screen there is underlined
// when they are read. The page has no lang: each line is looked at, not
// read.
void BM_SpellLanguagesDownTo(benchmark::State& state) {
    Editor& e = bigPage();
    SpellView* view = SpellView::of(&e);
    const QTextBlock far = e.document()->findBlockByNumber(200'000);
    HtmlHighlighter::of(&e)->startState(far); // the colouring's reading is there
    for (auto _ : state) {
        state.PauseTiming();
        QTextCursor top(e.document());
        top.insertText(QStringLiteral("x")); // the languages go from the first line on
        top.deletePreviousChar();
        state.ResumeTiming();
        while (!view->languagesAt(far)) {
            QApplication::processEvents();
        }
    }
}
BENCHMARK(BM_SpellLanguagesDownTo)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SpellScrollScreen(benchmark::State& state) {
    Editor& e = bigPage();
    SpellView::of(&e)->setEnabled(state.range(0) != 0);
    QScrollBar* bar = e.verticalScrollBar();
    bar->setValue(bar->maximum() / 3);
    QApplication::processEvents();
    for (auto _ : state) {
        bar->setValue(bar->value() + bar->pageStep());
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SpellScrollScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(100);

// The check alone for one screen of the big page's lines (40), its words
// already seen: what each refresh of the view adds.
void BM_SpellCheckScreenLines(benchmark::State& state) {
    Editor& e = bigPage();
    QStringList lines;
    for (QTextBlock b = e.document()->findBlockByNumber(1000); lines.size() < 40; b = b.next()) {
        lines << b.text();
    }
    Speller* speller = loadedSpeller();
    QList<SpellWord> words;
    for (auto _ : state) {
        int unknown = 0;
        for (const QString& line : lines) {
            words.clear();
            QList<HtmlSpan> spans;
            const int s = htmlLineSpans(line, kHtmlFirstLineState, spans);
            spellWords(line, kHtmlFirstLineState, spans, words);
            for (const SpellWord& w : words) {
                unknown += speller->isKnown(w.word) ? 0 : 1;
            }
            benchmark::DoNotOptimize(s);
        }
        benchmark::DoNotOptimize(unknown);
    }
}
BENCHMARK(BM_SpellCheckScreenLines)->Unit(benchmark::kMicrosecond);

// A thousand lines of Czech text and tags, each `length` characters long.
QString longLinesText(int length) {
    const QString piece = QStringLiteral(
        "<b class=\"x\">Příliš</b> žluťoučký kůň úpěl ďábelské ódy, mnohé ulyce <i>v Praze</i> ");
    QString line;
    while (line.size() < length) {
        line += piece;
    }
    line.truncate(length);
    QString text;
    for (int i = 0; i < 1000; ++i) {
        text += line;
        text += u'\n';
    }
    return text;
}

// The key once an iteration, from line 10 on, back there near the end.
void caretKeys(benchmark::State& state, QPlainTextEdit& e, int key) {
    const auto start = [&e] {
        QTextCursor c(e.document()->findBlockByNumber(10));
        c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 5);
        e.setTextCursor(c);
        e.ensureCursorVisible();
        QApplication::processEvents();
    };
    start();
    for (auto _ : state) {
        bench::press(e, key);
        if (e.textCursor().blockNumber() > e.document()->blockCount() - 100) {
            state.PauseTiming();
            start();
            state.ResumeTiming();
        }
    }
}

void BM_SpellCaretKey(benchmark::State& state) {
    static std::map<int, Editor*> pages;
    const int length = int(state.range(0));
    Editor* e = length == 0 ? &bigPage() : pages[length];
    if (!e) {
        e = pages[length] = shownPage(longLinesText(length));
    }
    SpellView::of(e)->setEnabled(true);
    caretKeys(state, *e, int(state.range(1)));
}
BENCHMARK(BM_SpellCaretKey)
    ->ArgsProduct({{3000, 9990, 0}, {Qt::Key_Right, Qt::Key_Down}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK(BM_SpellCaretKey)
    ->ArgsProduct({{3000, 9990, 0}, {Qt::Key_PageDown}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(25);

// The same keys in Qt's own widget with the same lines, no colouring, no
// spelling, no gutter: the floor the document and its layout set.
void BM_BareCaretKey(benchmark::State& state) {
    static std::map<int, QPlainTextEdit*> pages;
    const int length = int(state.range(0));
    QPlainTextEdit*& e = pages[length];
    if (!e) {
        e = new QPlainTextEdit;
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        e->resize(800, 600);
        e->show();
        e->setPlainText(length == 0 ? bigPageText() : longLinesText(length));
        QApplication::setActiveWindow(e);
        e->setFocus();
    }
    caretKeys(state, *e, int(state.range(1)));
}
BENCHMARK(BM_BareCaretKey)
    ->ArgsProduct({{3000, 9990, 0}, {Qt::Key_Right, Qt::Key_Down}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK(BM_BareCaretKey)
    ->ArgsProduct({{3000, 9990, 0}, {Qt::Key_PageDown}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(25);

void BM_SpellTypeKeyLongLine(benchmark::State& state) {
    static Editor* page = [] {
        const QString piece = QStringLiteral(
            "<div class=\"odstavec\"><a href=\"stranka.html\">Příliš žluťoučký kůň</a> úpěl "
            "ďábelské ódy&nbsp;ulyce</div><td align=\"center\">Černá, šedá</td>");
        QString s;
        while (s.size() < 2'000'000) {
            s += piece;
        }
        return shownPage(s);
    }();
    SpellView::of(page)->setEnabled(state.range(0) != 0);
    typeKeys(state, *page, page->document()->characterCount() - 1);
}
BENCHMARK(BM_SpellTypeKeyLongLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
