// The live preview's copy of a page, and when a change of the page can be
// shown by replacing one element of the copy shown instead of loading it
// whole.

#include <QTest>

#include "text/previewcopy.h"

using namespace zelvar;

class PreviewCopyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void patch_data();
    void patch();
};

// Rows: the page before and after a change, and the patch as "start end
// shift html" (a run of the body's content: "start end shift run previous
// next html"), empty for a copy to be loaded whole.
void PreviewCopyTest::patch_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("patch");
    const auto row = [](const char* name, const char* before, const char* after, const char* p) {
        QTest::newRow(name) << QString::fromUtf8(before) << QString::fromUtf8(after)
                            << QString::fromUtf8(p);
    };
    row("typed in a paragraph", "<body><p>ab</p><p>c</p></body>", "<body><p>aŘb</p><p>c</p></body>",
        "6 15 1 <p data-zv=\"6\">aŘb</p>");
    row("deleted in a nested span", "<body><div><span>xy</span></div><p>c</p></body>",
        "<body><div><span>x</span></div><p>c</p></body>", "11 26 -1 <span data-zv=\"11\">x</span>");
    row("an attribute", "<body><div><p class=a>x</p></div></body>",
        "<body><div><p class=b>x</p></div></body>", "11 27 0 <p data-zv=\"11\" class=b>x</p>");
    row("items closed by their list", "<body><ul><li>a<li>b</ul></body>",
        "<body><ul><li>a<li>bc</ul></body>",
        "6 25 1 <ul data-zv=\"6\"><li data-zv=\"10\">a<li data-zv=\"15\">bc</ul>");
    row("an element typed whole", "<body><p>a</p></body>", "<body><p>a<i>b</i></p></body>",
        "6 14 8 <p data-zv=\"6\">a<i data-zv=\"10\">b</i></p>");
    row("in the head", "<html><head><title>a</title></head><body></body></html>",
        "<html><head><title>ab</title></head><body></body></html>", "");
    row("text of the body's own", "<head></head><body>a<p>b</p></body>",
        "<head></head><body>ax<p>b</p></body>", "13 20 1 run -1 20 ax");
    row("text before the body's start tag", "<html><head></head>x<body>y</body></html>",
        "<html><head></head>x<body>yz</body></html>", "");
    row("a paragraph closed by a table",
        "<!DOCTYPE html><head></head><body><p>a<table><tr><td>x</td></tr></table></p></body>",
        "<!DOCTYPE html><head></head><body><p>az<table><tr><td>x</td></tr></table></p></body>",
        "28 38 1 run -1 38 <p data-zv=\"34\">az");
    row("a block typed into a paragraph", "<body><p><span>a</span></p></body>",
        "<body><p><span>a<div>x</div></span></p></body>", "");
    row("an end tag closing a button", "<body><p>a<button>b</p>c</button>d</p></body>",
        "<body><p>az<button>b</p>c</button>d</p></body>", "");
    row("text of a table's own", "<body><table>x<tr><td>a</td></tr></table></body>",
        "<body><table><tr><td>a</td></tr></table></body>", "");
    row("a paragraph in a formatting element", "<body><b><p>x</b>y</p></body>",
        "<body><b><p>xz</b>y</p></body>", "");
    row("a comment of its own start", "<body><div><!--></div><p>x</p>--></div></body>",
        "<body><div><!--></div><p>xz</p>--></div></body>", "22 30 1 <p data-zv=\"22\">xz</p>");
    row("a paragraph deleted", "<body><p>a</p>\n<p>b</p>\n<p>c</p></body>",
        "<body><p>a</p>\n<p>c</p></body>", "0 32 -9 run 6 -1 \n<p data-zv=\"15\">c</p>");
    row("a paragraph still open, closed by a block", "<body><p>a</p>\n<p>no\n<div>x</div></body>",
        "<body><p>a</p>\n<p>nov\n<div>x</div></body>", "0 21 1 run 6 21 \n<p data-zv=\"15\">nov\n");
    row("the last paragraph still open", "<body><p>a</p>\n<p>no</body>",
        "<body><p>a</p>\n<p>nov</body>", "0 20 1 run 6 -1 \n<p data-zv=\"15\">nov");
    row("after the body's end", "<body><p>a</p>b</body>x", "<body><p>a</p>bc</body>x", "");
    row("a formatting element left open", "<body><p>a</p><p>b</p></body>",
        "<body><p><b>a</p><p>b</p></body>", "");
    row("a formatting element closed", "<body><p><b>a</p><p>b</p></body>",
        "<body><p><b>a</b></p><p>b</p></body>", "");
    row("a script", "<body><p>a</p></body>", "<body><p>a<script>x()</script></p></body>", "");
    row("a comment that swallows the rest", "<body><p>a</p><p>b</p></body>",
        "<body><p>a<!--</p><p>b</p></body>", "");
    row("an end tag typed into a paragraph", "<body><div><p>ab</p></div></body>",
        "<body><div><p>a</div>b</p></div></body>", "");
}

void PreviewCopyTest::patch() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, patch);
    const PreviewCopy old = makePreviewCopy(before, "data-zv", {});
    const PreviewCopy now = makePreviewCopy(after, "data-zv", {});
    const auto made = previewPatch(before, old.elements, after, now.elements, "data-zv");
    QString got;
    if (made) {
        got = QStringLiteral("%1 %2 %3 ").arg(made->start).arg(made->end).arg(made->shift);
        if (made->run) {
            got += QStringLiteral("run %1 %2 ").arg(made->previous).arg(made->next);
        }
        got += made->html;
    }
    QCOMPARE(got, patch);
}

QTEST_MAIN(PreviewCopyTest)
#include "tst_previewcopy.moc"
