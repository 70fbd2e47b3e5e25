// What of a page's HTML the spelling check reads, and where Czech
// typography's non-breaking spaces go.

#include <QTest>

#include "text/spelltext.h"

using namespace zelvar;

class SpellTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void words_data();
    void words();
    void nonBreakingSpaces_data();
    void nonBreakingSpaces();
};

// Rows: the lines before (they give the state the last line starts in), and
// the words read from the last line, each as written and, when it differs,
// "=" and as read.
void SpellTextTest::words_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("words");
    const auto row = [](const char* name, const char* before, const char* line, const char* w) {
        QTest::newRow(name) << QString::fromUtf8(before) << QString::fromUtf8(line)
                            << QString::fromUtf8(w);
    };
    row("title", "", "<P title=\"Mapa\">V Praze ulyce</P>", "Mapa V Praze ulyce");
    row("references", "", "&#268;esko,&scaron;um &#x161;la&nbsp;ven",
        "&#268;esko=Česko &scaron;um=šum &#x161;la=šla ven");
    row("alt, not other values", "", "<img alt='Hrad' src=\"hrad.png\" class=obr>", "Hrad");
    row("names", "", "<TITLE lang=cs>Ano</TITLE><br/>", "Ano");
    row("script and style", "", "<script>a = \"b\"</script>Dal<style>p{}</style>", "Dal");
    row("comment", "", "Před<!-- noha -->Po<!DOCTYPE html>", "Před Po");
    row("digits, addresses", "", "H2O a www.x.cz, jan@x.cz i http://x/ a.b", "a i");
    row("unknown reference", "", "&foo;bar dobře &#0;", "dobře");
    row("in a tag", "<a", "title=\"Nadpis\" href=\"x\">odkaz", "Nadpis odkaz");
    row("in a script", "<SCRIPT type=x", "> slovo </script> Text", "Text");
    row("in a comment", "<!-- a", "b --> Text", "Text");
    row("tags in one span", "", "<i></i>Jen<b>", "Jen");
    row("soft hyphens", "", "pravděpo&shy;dobnost pravdě\u00ADpodobně",
        "pravděpo&shy;dobnost=pravděpodobnost pravdě\u00ADpodobně=pravděpodobně");
}

void SpellTextTest::words() {
    QFETCH(QString, before);
    QFETCH(QString, line);
    QFETCH(QString, words);
    const int state = before.isEmpty() ? kHtmlFirstLineState : htmlLineState(before, 0);
    QStringList read;
    for (const SpellWord& w : spellWords(line, state)) {
        const QString written = line.sliced(w.start, w.length);
        read << (written == w.word ? written : written + u'=' + w.word);
    }
    QCOMPARE(read.join(u' '), words);
}

void SpellTextTest::nonBreakingSpaces_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("from");
    QTest::addColumn<qsizetype>("to");
    QTest::addColumn<QString>("result");
    const auto row = [](const char* before, const char* after, qsizetype from = 0,
                        qsizetype to = -1) {
        QTest::newRow(QByteArray(before).replace('\n', "\\n").constData())
            << QString::fromUtf8(before) << from << to << QString::fromUtf8(after);
    };
    row("V Praze a v Brně", "V&nbsp;Praze a&nbsp;v&nbsp;Brně");
    row("<p title=\"a v b\" class=\"k x\">s tebou</p>",
        "<p title=\"a v b\" class=\"k x\">s&nbsp;tebou</p>");
    row("<!-- v lese --><script>if (a v b)</script>u nás",
        "<!-- v lese --><script>if (a v b)</script>u&nbsp;nás");
    row("v&nbsp;Praze z&nbsp;v Brně", "v&nbsp;Praze z&nbsp;v&nbsp;Brně");
    row("jdu k\nlesu a \nzpět i  tam", "jdu k\nlesu a \nzpět i  tam");
    row("krev s mlékem, (v lese), &#268;s je", "krev s&nbsp;mlékem, (v&nbsp;lese), &#268;s je");
    row("<a title=\"\nv x\">k nim", "<a title=\"\nv x\">k&nbsp;nim");
    row("v lese v poli", "v lese v&nbsp;poli", 2, 9);
    row("<textarea name=t>v lese</TEXTAREA> a v<pre>v lese</pre>",
        "<textarea name=t>v lese</TEXTAREA> a&nbsp;v<pre>v&nbsp;lese</pre>");
    row("<?php echo 'v lese'; if ($a > 1) echo 'k nim'; ?>a v <% s = \"u nás\" %>",
        "<?php echo 'v lese'; if ($a > 1) echo 'k nim'; ?>a&nbsp;v&nbsp;<% s = \"u nás\" %>");
}

void SpellTextTest::nonBreakingSpaces() {
    QFETCH(QString, text);
    QFETCH(qsizetype, from);
    QFETCH(qsizetype, to);
    QFETCH(QString, result);
    const NonBreakingSpaces out = insertNonBreakingSpaces(text, kHtmlFirstLineState, from, to);
    QCOMPARE(out.text, result);
    QCOMPARE(out.spaces.size(), result.count(kNonBreakingSpace) - text.count(kNonBreakingSpace));
}

QTEST_GUILESS_MAIN(SpellTextTest)
#include "tst_spelltext.moc"
