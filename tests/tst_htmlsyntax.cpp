// The HTML reader: the kinds it colours line by line with the state carried
// from line to line, and the matching tag.

#include "text/codesyntax.h"
#include "text/htmlsyntax.h"

#include <QTest>

using namespace zelvar;

class TestHtmlSyntax : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void kindsAndStates_data();
    void kindsAndStates();
    void matchingTag_data();
    void matchingTag();
    void styleAndScriptKinds_data();
    void styleAndScriptKinds();
};

namespace {

// One letter a character: T tag, a attribute name, v value, c comment,
// d declaration, r reference, s string, . none, ! two spans on it.
QString picture(qsizetype length, const QList<HtmlSpan>& spans) {
    static const char letters[] = "Tavcdrs";
    QString out(length, u'.');
    for (const HtmlSpan& span : spans) {
        for (qsizetype i = span.start; i < span.start + span.length; ++i) {
            out[i] = out[i] == u'.' ? QChar(letters[int(span.kind)]) : QChar(u'!');
        }
    }
    return out;
}

} // namespace

void TestHtmlSyntax::kindsAndStates_data() {
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("kinds");
    QTest::newRow("attributes") << R"(<a href="x.html" title=top>Go</a>)"
                                << "TT.aaaa.vvvvvvvv.aaaaa.vvvT..TTTT";
    QTest::newRow("upper case, references") << "<P ALIGN=CENTER>A&amp;B &#353;&#x161; &nope</P>"
                                            << "TT.aaaaa.vvvvvvT.rrrrr..rrrrrrrrrrrrr......TTTT";
    QTest::newRow("declarations") << R"(<!DOCTYPE html><?xml version="1.0"?>)" << QString(36, u'd');
    QTest::newRow("not markup") << "a < b <3 <> & x </ p" << QString(20, u'.');
    QTest::newRow("short comments") << "<!--><!--->x<!-- <b> -->"
                                    << "ccccccccccc.cccccccccccc";
    QTest::newRow("closing slashes") << "<br/><a href=x/>"
                                     << "TTTTTTT.aaaa.vvT";
    QTest::newRow("unclosed comment") << "a<!-- b\nstill\nend --> <b>"
                                      << ".cccccc\nccccc\nccccccc.TTT";
    QTest::newRow("value over lines") << "<img alt=\"two\nlines\" src=a.png\n>text"
                                      << "TTTT.aaa.vvvv\nvvvvvv.aaa.vvvvv\nT....";
    QTest::newRow("script over lines")
        << "<script type=\"text/javascript\">\nvar s = \"</p>\"; // note\n/* long\n"
           "comment */ x = '<b>';\n</SCRIPT><b>"
        << "TTTTTTT.aaaa.vvvvvvvvvvvvvvvvvT\n........ssssss..ccccccc\nccccccc\n"
           "cccccccccc.....sssss.\nTTTTTTTTTTTT";
    QTest::newRow("template string") << "<script>x = `a\nb`;</script>"
                                     << "TTTTTTTT....ss\nss.TTTTTTTTT";
    QTest::newRow("end tag in a script comment") << "<script>// </script> <i>"
                                                 << "TTTTTTTTcccTTTTTTTTT.TTT";
    QTest::newRow("style") << "<STYLE>p { font: \"A B\" } /* x\n*/</style>"
                           << "TTTTTTT..........sssss...cccc\nccTTTTTTTT";
}

void TestHtmlSyntax::kindsAndStates() {
    QFETCH(QString, lines);
    QFETCH(QString, kinds);
    const QStringList rows = lines.split(u'\n');
    const QStringList pictures = kinds.split(u'\n');
    QCOMPARE(rows.size(), pictures.size());
    int state = -1; // a block's state before it has one
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QList<HtmlSpan> spans;
        const int next = htmlLineSpans(rows[i], state, spans);
        QCOMPARE(picture(rows[i].size(), spans), pictures[i]);
        QCOMPARE(htmlLineState(rows[i], state), next);
        QVERIFY(next >= 0);
        state = next;
    }
    // Every row ends in text, where a page starts.
    QCOMPARE(state, kHtmlFirstLineState);
}

Q_DECLARE_METATYPE(zelvar::HtmlRange)

void TestHtmlSyntax::matchingTag_data() {
    // "|" is the caret, "[" and "]" enclose the two tags expected; the
    // window starts in the state after the line before it.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("marked");
    QTest::newRow("start tag") << ""
                               << R"([<d|iv class="a">]x<div>y</div>[</div>])";
    QTest::newRow("end tag, other case") << ""
                                         << "[<DIV>]<div></div>[</d|iv>]";
    QTest::newRow("caret after the name") << ""
                                          << "[<p|>]a[</p>]";
    QTest::newRow("caret before the name") << ""
                                           << "[<|p>]a[</p>]";
    QTest::newRow("caret in an attribute") << ""
                                           << R"(<p cl|ass="x">a</p>)";
    QTest::newRow("comment skipped") << ""
                                     << "[<b|>]<!-- </b> -->[</b>]";
    QTest::newRow("script skipped") << ""
                                    << "[<div|>]<script>if (a</div>) {}</script>[</div>]";
    QTest::newRow("void element") << ""
                                  << "<b|r>text</br>";
    QTest::newRow("self-closed inside") << ""
                                        << "[<x|>]<x/>[</x>]";
    QTest::newRow("self-closed") << ""
                                 << "<x|/></x>";
    QTest::newRow("no partner") << ""
                                << "<ul|><li>a</li>";
    QTest::newRow("over lines") << ""
                                << "[<t|d\n align=\"a\u2029b\">]x\n[</td>]";
    QTest::newRow("partner beyond the text") << ""
                                             << "<table|><tr><td>";
    QTest::newRow("window starts in a comment") << "x <!--"
                                                << "<i> -->x</i|>";
    QTest::newRow("window starts in a script") << "<script>"
                                               << R"("<b>";</script><p>x</b|>)";
}

void TestHtmlSyntax::matchingTag() {
    QFETCH(QString, before);
    QFETCH(QString, marked);
    QString text;
    qsizetype caret = -1;
    QList<HtmlRange> expected;
    qsizetype open = -1;
    for (QChar c : marked) {
        if (c == u'|') {
            caret = text.size();
        } else if (c == u'[') {
            open = text.size();
        } else if (c == u']') {
            expected.append({open, text.size() - open});
        } else {
            text += c;
        }
    }
    const auto pair = matchHtmlTag(text, htmlLineState(before, kHtmlFirstLineState), caret);
    QCOMPARE(pair.has_value(), !expected.isEmpty());
    if (pair) {
        const bool forward = pair->tag.start < pair->partner.start;
        QCOMPARE(forward ? pair->tag : pair->partner, expected.value(0));
        QCOMPARE(forward ? pair->partner : pair->tag, expected.value(1));
        QVERIFY(caret >= pair->tag.start && caret <= pair->tag.start + pair->tag.length);
    }
}

// Style sheets and scripts of their own files, in the letters above: in CSS
// T selector, a property, v value, r number or colour, d at-rule, s string,
// c comment; in scripts T keyword, r number, v regular expression.
void TestHtmlSyntax::styleAndScriptKinds_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("kinds");
    QTest::newRow("rule") << "a.css"
                          << "h1.x, #top > li { color: red; margin: 0 1.5em -2px 50%; }"
                          << "TTTT..TTTT...TT...aaaaa..vvv..aaaaaa..r.rrrrr.rrrr.rrr...";
    QTest::newRow("at-rule, nested selector, !important")
        << "A.CSS"
        << R"(@media print and (width: 6in) { a[href$=".pdf"]:after { c: "x" !important } })"
        << "dddddd.vvvvv.vvv..vvvvv..rrr....TTTTTTTTTTTTTTTTTTTTT...a..sss.dddddddddd....";
    QTest::newRow("comment, strings, hex colour over lines")
        << "s.css"
        << "p { /* a\nb */ font: 'A B', serif;\n  border:\n #0a0 1px }"
        << "T...cccc\ncccc.aaaa..sssss..vvvvv.\n..aaaaaa.\n.rrrr.rrr..";
    QTest::newRow("custom property, url") << "s.css"
                                          << ":root { --gap: 4px; b: url(i/a.png) x }"
                                          << "TTTTT...aaaaa..rrr..a..vvvvvvvvvvvv.v..";
    QTest::newRow("keywords, numbers, a property named as a keyword")
        << "a.js"
        << "const x = 0x1F + 1.5e3 + 10n; if (x) return o.default;"
        << "TTTTT.....rrrr...rrrrr...rrr..TT.....TTTTTT...........";
    QTest::newRow("regular expression, division")
        << "a.mjs"
        << "r = /a[/]b/gi, d = a / b / 2; return /x+/.test(s)"
        << "....vvvvvvvvv..............r..TTTTTT.vvvv........";
    QTest::newRow("template string over lines") << "a.js"
                                                << "s = `a ${b + `c`} d\nmore` + 1; // end"
                                                << "....sss......sss.ss\nsssss...r..cccccc";
    QTest::newRow("comment over lines, escaped quotes")
        << "a.js"
        << "x = 1; /* a\nb */ y = 'q\\'' + \"a\\\"b\";"
        << "....r..cccc\ncccc.....sssss...ssssss.";
}

void TestHtmlSyntax::styleAndScriptKinds() {
    QFETCH(QString, file);
    QFETCH(QString, lines);
    QFETCH(QString, kinds);
    const LineReader reader = lineReader(pageLanguage(file));
    QVERIFY(reader.spans != htmlLineSpans);
    const QStringList rows = lines.split(u'\n');
    const QStringList pictures = kinds.split(u'\n');
    QCOMPARE(rows.size(), pictures.size());
    int state = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QList<HtmlSpan> spans;
        const int next = reader.spans(rows[i], state, spans);
        QCOMPARE(picture(rows[i].size(), spans), pictures[i]);
        QCOMPARE(reader.state(rows[i], state), next);
        QVERIFY(next >= 0 && next < 256); // a byte per line
        state = next;
    }
    QCOMPARE(state & 7, 0); // every row ends in code
}

QTEST_GUILESS_MAIN(TestHtmlSyntax)
#include "tst_htmlsyntax.moc"
