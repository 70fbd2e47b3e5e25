// What of a page's HTML the spelling check reads, and where Czech
// typography's non-breaking spaces go.

#include <QTest>

#include "text/spelltext.h"
#include "text/textlanguages.h"

using namespace zelvar;

class SpellTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void words_data();
    void words();
    void nonBreakingSpaces_data();
    void nonBreakingSpaces();
    void languages_data();
    void languages();
    void dictionaries();
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

// Rows: a page, and each word of its text with the language it is checked
// in ("word:en"); then the dictionaries that serve a lang value.
void SpellTextTest::languages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("words");
    const auto row = [](const char* name, const char* page, const char* words) {
        QTest::newRow(name) << QString::fromUtf8(page) << QString::fromUtf8(words);
    };
    row("no lang: Czech", "<p>Dobrý den</p>", "Dobrý:cs den:cs");
    row("html lang", "<html lang=\"en-GB\"><p>Good day</p></html> Ahoj",
        "Good:en-gb day:en-gb Ahoj:cs");
    row("element in a line", "Ahoj <span lang=de>Guten Tag</span> světe",
        "Ahoj:cs Guten:de Tag:de světe:cs");
    row("nested of the same name", "<div lang=en>a<div>b</div>c</div>d", "a:en b:en c:en d:cs");
    row("over lines, tag split", "<p\n lang='sk'>Dobrý\ndeň</p>\nden", "Dobrý:sk deň:sk den:cs");
    row("xml:lang gives way to lang", "<p xml:lang=de lang=en>x</p><q xml:lang=de>y</q>",
        "x:en y:de");
    row("end tag left out", "<li lang=en>one<li>jedna", "one:en jedna:cs");
    row("declared unknown, void element", "<p lang=\"\">abc</p><img lang=en>nic", "abc: nic:cs");
    row("comment and script are no tags", "<!-- <p lang=en> --><script>'<b lang=en>'</script>slovo",
        "slovo:cs");
}

void SpellTextTest::languages() {
    QFETCH(QString, page);
    QFETCH(QString, words);
    QStringList read;
    TextLanguages languages;
    int state = kHtmlFirstLineState;
    for (const QString& line : page.split(u'\n')) {
        QList<HtmlSpan> spans;
        const int next = htmlLineSpans(line, state, spans);
        QString language = languages.language();
        QList<LanguageChange> changes;
        // The cheap look may pass a line over only where nothing changes.
        const TextLanguages before = languages;
        readLanguages(line, spans, languages, &changes);
        QVERIFY(mayChangeLanguages(line, before, htmlStart(next).inTag) || languages == before);
        qsizetype nextChange = 0;
        QList<SpellWord> found;
        spellWords(line, state, spans, found);
        for (const SpellWord& w : found) {
            while (nextChange < changes.size() && changes[nextChange].column <= w.start) {
                language = changes[nextChange++].language;
            }
            read << w.word + u':' + language;
        }
        state = next;
    }
    QCOMPARE(read.join(u' '), words);
}

void SpellTextTest::dictionaries() {
    QCOMPARE(dictionaryNames(u"en-GB"), QStringList({"en_GB", "en_US"}));
    QCOMPARE(dictionaryNames(u"de"), QStringList({"de_DE"}));
    QCOMPARE(dictionaryNames(u"cs-CZ"), QStringList({"cs_CZ"}));
    QCOMPARE(dictionaryNames(u"zh-Hant-TW"), QStringList({"zh_ZH"}));
    QVERIFY(dictionaryNames(u"").isEmpty());
    QVERIFY(dictionaryNames(u"../x").isEmpty());
}

QTEST_GUILESS_MAIN(SpellTextTest)
#include "tst_spelltext.moc"
