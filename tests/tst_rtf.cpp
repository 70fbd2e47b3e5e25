// RTF both ways: text and character formatting survive a write and a read,
// RTF in the style word processors write is read correctly, and anything
// that is not well-formed RTF is refused without touching the document.

#include "support/filebytes.h"
#include "support/rtfsamples.h"
#include "text/cp1250.h"
#include "text/rtf.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

using namespace zelvar;
using zelvar::testing::blocksText;
using namespace zelvar::testing::rtfsamples;

namespace {

// One character of a document with everything the rich-text form carries.
struct CharInfo {
    QChar ch;
    QString family;
    qreal size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QRgb color = 0;
    bool hasColor = false;

    bool operator==(const CharInfo& o) const {
        return ch == o.ch && family == o.family && qFuzzyCompare(size, o.size) && bold == o.bold &&
               italic == o.italic && underline == o.underline && strike == o.strike &&
               hasColor == o.hasColor && (!hasColor || color == o.color);
    }
};

QString describe(const CharInfo& c) {
    return QStringLiteral("'%1' %2 %3pt%4%5%6%7 %8")
        .arg(c.ch)
        .arg(c.family)
        .arg(c.size)
        .arg(c.bold ? " b" : "")
        .arg(c.italic ? " i" : "")
        .arg(c.underline ? " u" : "")
        .arg(c.strike ? " s" : "")
        .arg(c.hasColor ? QColor(c.color).name() : QStringLiteral("auto"));
}

CharInfo infoFor(QChar ch, const QTextCharFormat& fmt, const QFont& base) {
    const QFont font = fmt.font().resolve(base);
    CharInfo info;
    info.ch = ch;
    info.family = font.families().value(0, font.family());
    info.size = font.pointSizeF();
    info.bold = font.bold();
    info.italic = font.italic();
    info.underline = font.underline();
    info.strike = font.strikeOut();
    if (fmt.hasProperty(QTextFormat::ForegroundBrush) && fmt.foreground().style() != Qt::NoBrush) {
        info.hasColor = true;
        info.color = fmt.foreground().color().rgb();
    }
    return info;
}

// Every character with its effective formatting; block ends as '\n'.
QList<CharInfo> characters(const QTextDocument& doc) {
    QList<CharInfo> out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin()) {
            CharInfo br;
            br.ch = QLatin1Char('\n');
            out.append(br);
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            for (QChar ch : f.text()) {
                out.append(infoFor(ch, f.charFormat(), doc.defaultFont()));
            }
        }
    }
    return out;
}

// The formatted run that holds the first occurrence of needle.
CharInfo formatAt(const QTextDocument& doc, const QString& needle) {
    const QTextCursor found = doc.find(needle);
    if (found.isNull()) {
        return CharInfo{};
    }
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return infoFor(needle.at(0), c.charFormat(), doc.defaultFont());
}

bool readInto(QTextDocument& doc, const QByteArray& rtf) {
    QTextCursor cursor(&doc);
    cursor.select(QTextCursor::Document);
    return readRtf(rtf, cursor);
}

QString roundTripText(const QString& text) {
    QTextDocument source;
    QTextCursor(&source).insertText(text);
    QTextDocument target;
    if (!readInto(target, writeRtf(source))) {
        return QStringLiteral("<not read>");
    }
    return blocksText(target);
}

QString everyCodePageCharacter() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            bytes.append(char(b));
        }
    }
    return fromCp1250(bytes);
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textRoundTrip_data();
    void textRoundTrip();
    void formattingRoundTrip();
    void documentFontIsCarried();
    void writerEncoding();
    void sampleCentralEuropean();
    void sampleUnicodeWestern();
    void sampleOpenOffice();
    void codePages();
    void escapesAndSpecialCharacters();
    void finalParagraphMark();
    void replacesSelectionAsOneEdit();
    void refusesNonRtf_data();
    void refusesNonRtf();
    void refusesEveryTruncation();
    void deepNesting();
    void manyFontSizesShared();
    void randomInputNeverCrashes();
};

void TestRtf::textRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("one line") << QStringLiteral("<p>Ahoj</p>");
    QTest::newRow("czech") << QStringLiteral("ěščřžýáíéůú ĚŠČŘŽ\nPříliš žluťoučký kůň");
    QTest::newRow("final break") << QStringLiteral("a\nb\n");
    QTest::newRow("empty lines") << QStringLiteral("\n\nx\n\n");
    QTest::newRow("rtf specials") << QStringLiteral("{\\rtf1 \\par}\t\\'e8 \\u123?");
    QTest::newRow("outside code page")
        << QStringLiteral("α β γ \U0001F600 中文 ñ ø ß € \u2028 end").replace(QChar(0x2028), 'x');
    QTest::newRow("every byte") << everyCodePageCharacter();
    QTest::newRow("spaces") << QStringLiteral("  lead\ntrail  \n \t ");
}

void TestRtf::textRoundTrip() {
    QFETCH(QString, text);
    QCOMPARE(roundTripText(text), text);
}

void TestRtf::formattingRoundTrip() {
    QTextDocument source;
    source.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    QTextCursor c(&source);
    auto put = [&](const QString& text, auto setup) {
        QTextCharFormat f;
        setup(f);
        c.insertText(text, f);
    };
    put(QStringLiteral("plain "), [](QTextCharFormat&) {});
    put(QStringLiteral("tučně "), [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    put(QStringLiteral("kurzíva "), [](QTextCharFormat& f) { f.setFontItalic(true); });
    put(QStringLiteral("podtržení"), [](QTextCharFormat& f) { f.setFontUnderline(true); });
    put(QStringLiteral("\n"), [](QTextCharFormat&) {});
    put(QStringLiteral("přeškrtnutí "), [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    put(QStringLiteral("červená "),
        [](QTextCharFormat& f) { f.setForeground(QColor(200, 10, 20)); });
    put(QStringLiteral("modrá tučná"), [](QTextCharFormat& f) {
        f.setForeground(QColor(0, 0, 255));
        f.setFontWeight(QFont::Bold);
    });
    put(QStringLiteral("\n"), [](QTextCharFormat&) {});
    put(QStringLiteral("Serif 14 "), [](QTextCharFormat& f) {
        f.setFontFamilies({QStringLiteral("Liberation Serif")});
        f.setFontPointSize(14);
    });
    put(QStringLiteral("malé 10,5 "), [](QTextCharFormat& f) { f.setFontPointSize(10.5); });
    put(QStringLiteral("vše \U0001F600"), [](QTextCharFormat& f) {
        f.setFontFamilies({QStringLiteral("Písmo s háčky")});
        f.setFontPointSize(20);
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setFontUnderline(true);
        f.setFontStrikeOut(true);
        f.setForeground(QColor(1, 2, 3));
    });
    put(QStringLiteral("\n{konec}"),
        [](QTextCharFormat& f) { f.setForeground(QColor(200, 10, 20)); });

    QTextDocument target;
    QVERIFY(readInto(target, writeRtf(source)));
    const QList<CharInfo> expected = characters(source);
    const QList<CharInfo> actual = characters(target);
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (!(actual[i] == expected[i])) {
            QFAIL(qPrintable(QStringLiteral("character %1: %2 instead of %3")
                                 .arg(i)
                                 .arg(describe(actual[i]), describe(expected[i]))));
        }
    }
    // Spot checks that do not rely on the helper above.
    QVERIFY(formatAt(target, QStringLiteral("tučně")).bold);
    QVERIFY(!formatAt(target, QStringLiteral("plain")).bold);
    QCOMPARE(formatAt(target, QStringLiteral("červená")).color, QColor(200, 10, 20).rgb());
    QCOMPARE(formatAt(target, QStringLiteral("Serif")).family, QStringLiteral("Liberation Serif"));
    QCOMPARE(formatAt(target, QStringLiteral("malé")).size, 10.5);
    QCOMPARE(formatAt(target, QStringLiteral("vše")).family, QStringLiteral("Písmo s háčky"));
}

void TestRtf::documentFontIsCarried() {
    QTextDocument source;
    source.setDefaultFont(QFont(QStringLiteral("Liberation Mono"), 15));
    QTextCursor(&source).insertText(QStringLiteral("bez formátu\ndruhý řádek"));
    QTextDocument target;
    target.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QVERIFY(readInto(target, writeRtf(source)));
    const CharInfo info = formatAt(target, QStringLiteral("druhý"));
    QCOMPARE(info.family, QStringLiteral("Liberation Mono"));
    QCOMPARE(info.size, 15.0);
}

void TestRtf::writerEncoding() {
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("č\U0001F600{}\\"));
    const QByteArray rtf = writeRtf(doc);
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtf.contains("\\ansicpg1250"));
    QVERIFY(rtf.contains("\\'e8"));               // č in Windows-1250
    QVERIFY(rtf.contains("\\u-10179?\\u-8704?")); // U+1F600 as signed UTF-16 units
    QVERIFY(rtf.contains("\\{\\}\\\\"));
    QVERIFY(rtf.endsWith('}'));
    for (char c : rtf) {
        QVERIFY2(uchar(c) < 0x80, "the writer uses 7-bit bytes only");
    }
}

void TestRtf::sampleCentralEuropean() {
    QTextDocument doc;
    QVERIFY(readInto(doc, QByteArray(kSampleCodePage1250)));
    QCOMPARE(blocksText(doc), QStringLiteral("Příliš žluťoučký kůň\n"
                                             "úpěl ďábelské ódy\n"
                                             "<html>\t{x}\\"));
    QVERIFY(formatAt(doc, QStringLiteral("žluťoučký")).bold);
    QVERIFY(!formatAt(doc, QStringLiteral("kůň")).bold);
    QVERIFY(formatAt(doc, QStringLiteral("úpěl")).italic);
    QCOMPARE(formatAt(doc, QStringLiteral("ďábelské")).color, qRgb(255, 0, 0));
    QVERIFY(!formatAt(doc, QStringLiteral("ódy")).hasColor);
    QVERIFY(formatAt(doc, QStringLiteral("ódy")).underline);
    QCOMPARE(formatAt(doc, QStringLiteral("Příliš")).family, QStringLiteral("Calibri"));
    QCOMPARE(formatAt(doc, QStringLiteral("Příliš")).size, 11.0);
    QCOMPARE(formatAt(doc, QStringLiteral("<html>")).family, QStringLiteral("Courier New"));
    QCOMPARE(formatAt(doc, QStringLiteral("<html>")).size, 10.0);
}

void TestRtf::sampleUnicodeWestern() {
    QTextDocument doc;
    QVERIFY(readInto(doc, QByteArray(kSampleUnicodeWestern)));
    QCOMPARE(blocksText(doc),
             QStringLiteral("Dobrý den, člověku zelená a kurzíva.\n"
                            "odkaz\tkonec\u00A0textu\u00AD\u2011x\u2014\u2018q\u2019\n"
                            "část"));
    const CharInfo green = formatAt(doc, QStringLiteral("zelená"));
    QVERIFY(green.bold);
    QCOMPARE(green.color, qRgb(0, 128, 0));
    QVERIFY(formatAt(doc, QStringLiteral("kurzíva")).italic);
    QVERIFY(!formatAt(doc, QStringLiteral(".")).italic);
    QVERIFY(formatAt(doc, QStringLiteral("odkaz")).underline);
    QCOMPARE(formatAt(doc, QStringLiteral("Dobrý")).family, QStringLiteral("Times New Roman"));
    QCOMPARE(formatAt(doc, QStringLiteral("část")).family, QStringLiteral("Arial CE"));
}

void TestRtf::sampleOpenOffice() {
    QTextDocument doc;
    QVERIFY(readInto(doc, QByteArray(kSampleOpenOffice)));
    QCOMPARE(blocksText(doc), QStringLiteral("Žluťoučký \u2603 koňů\n"
                                             "€ a €\n"
                                             "druhý\n"
                                             "nová verze"));
    QCOMPARE(formatAt(doc, QStringLiteral("Žluťoučký")).family, QStringLiteral("Liberation Sans"));
    const CharInfo struck = formatAt(doc, QStringLiteral("koň"));
    QVERIFY(struck.strike);
    QCOMPARE(struck.color, qRgb(128, 0, 128));
    QVERIFY(!formatAt(doc, QStringLiteral("ů")).strike);
    QCOMPARE(formatAt(doc, QStringLiteral("€ a")).size, 14.0);
    QCOMPARE(formatAt(doc, QStringLiteral("€ a")).family, QStringLiteral("Times New Roman"));
}

void TestRtf::codePages() {
    struct Case {
        const char* rtf;
        QString text;
    };
    const Case cases[] = {
        // No code page given: the program's own, Windows-1250.
        {"{\\rtf1 \\'e8\\'9a\\'f8}", QStringLiteral("čšř")},
        {"{\\rtf1\\ansi \\'e8 \xe8}", QStringLiteral("č č")},
        {"{\\rtf1\\ansi\\ansicpg1252 \\'e8\\'9a}", QStringLiteral("èš")},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'e0\\'c1}", QStringLiteral("аБ")},
        // A font's character set wins over the document's code page.
        {"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset238 B;}}"
         "\\f0\\'e8{\\f1\\'e8}\\'e8}",
         QStringLiteral("èčè")},
        // Font names in the font's character set.
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 P\\'edsmo;}}\\f0 x}", QStringLiteral("x")},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        QVERIFY2(readInto(doc, QByteArray(c.rtf)), c.rtf);
        QCOMPARE(blocksText(doc), c.text);
    }
    QTextDocument doc;
    QVERIFY(
        readInto(doc, QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 P\\'edsmo;}}\\f0 x}")));
    QCOMPARE(formatAt(doc, QStringLiteral("x")).family, QStringLiteral("Písmo"));
}

void TestRtf::escapesAndSpecialCharacters() {
    struct Case {
        const char* rtf;
        QString text;
    };
    const Case cases[] = {
        {"{\\rtf1 a\\\\b\\{c\\}}", QStringLiteral("a\\b{c}")},
        {"{\\rtf1 a\\tab b\tc}", QStringLiteral("a\tb\tc")},
        {"{\\rtf1 a\\line b\\par c}", QStringLiteral("a\nb\nc")},
        {"{\\rtf1 a\r\nb\rc\nd}", QStringLiteral("abcd")},
        {"{\\rtf1 a\\\r\nb}", QStringLiteral("a\nb")},
        // A line separator is a line break, as everywhere else in the editor.
        {"{\\rtf1 a\\u8232?b\\u8233?c}", QStringLiteral("a\nb\nc")},
        {"{\\rtf1 \\u-10179?\\u-8704?}", QStringLiteral("\U0001F600")},
        {"{\\rtf1\\uc2 \\u382xy z}", QStringLiteral("ž z")},
        {"{\\rtf1\\uc0 \\u382 xy}", QStringLiteral("žxy")},
        // A control word counts as one fallback character.
        {"{\\rtf1 \\u382\\'9e!}", QStringLiteral("ž!")},
        // A group end stops the skipping.
        {"{\\rtf1\\uc3 {\\u382}ab}", QStringLiteral("žab")},
        {"{\\rtf1 \\unknownword12 x\\unknown-5 y}", QStringLiteral("xy")},
        {"{\\rtf1 {\\*\\unknowndest hidden {nested}}shown}", QStringLiteral("shown")},
        {"{\\rtf1 a\\bin3 {}\\b}", QStringLiteral("ab")},
        {"{\\rtf1 x\\b\\b0\\i\\i0\\ul\\ulnone\\strike\\strike0\\plain y}", QStringLiteral("xy")},
        {"{\\rtf1 \\'e8\\'9}", QStringLiteral("č\t")},
        {"{\\rtf1 -\\fs-20 -}", QStringLiteral("--")},
        {"{\\rtf1 a\\cell b\\cell\\row c}", QStringLiteral("a\tb\t\nc")},
        {"{\\rtf1 x}\r\n\0\0", QStringLiteral("x")},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        QVERIFY2(readInto(doc, QByteArray(c.rtf, qsizetype(qstrlen(c.rtf)) + 0)), c.rtf);
        QCOMPARE(blocksText(doc), c.text);
    }
    // Trailing NUL bytes after the document (as some writers leave them).
    QTextDocument doc;
    QVERIFY(readInto(doc, QByteArray("{\\rtf1 x}\r\n\0\0", 14)));
    QCOMPARE(blocksText(doc), QStringLiteral("x"));
    // Bold switched off and on again inside one group.
    QTextDocument bold;
    QVERIFY(readInto(bold, QByteArray("{\\rtf1\\b a\\b0 b\\b1 c{\\b0 d}e}")));
    QVERIFY(formatAt(bold, QStringLiteral("a")).bold);
    QVERIFY(!formatAt(bold, QStringLiteral("b")).bold);
    QVERIFY(formatAt(bold, QStringLiteral("c")).bold);
    QVERIFY(!formatAt(bold, QStringLiteral("d")).bold);
    QVERIFY(formatAt(bold, QStringLiteral("e")).bold);
}

void TestRtf::finalParagraphMark() {
    const struct {
        const char* rtf;
        QString text;
    } cases[] = {
        {"{\\rtf1 Hello\\par\r\n}", QStringLiteral("Hello")},
        {"{\\rtf1 Hello}", QStringLiteral("Hello")},
        {"{\\rtf1 Hello\\par\\par}", QStringLiteral("Hello\n")},
        {"{\\rtf1 Hello\\par{\\b}}", QStringLiteral("Hello")},
        {"{\\rtf1 Hello\\par }", QStringLiteral("Hello")},
        {"{\\rtf1 Hello\\par  }", QStringLiteral("Hello\n ")},
        {"{\\rtf1 Hello\\line}", QStringLiteral("Hello\n")},
        {"{\\rtf1\\par}", QString()},
        {"{\\rtf1}", QString()},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        QTextCursor(&doc).insertText(QStringLiteral("old"));
        QVERIFY2(readInto(doc, QByteArray(c.rtf)), c.rtf);
        QCOMPARE(blocksText(doc), c.text);
    }
}

void TestRtf::replacesSelectionAsOneEdit() {
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("abc"));
    QTextCursor cursor(&doc);
    cursor.setPosition(1);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    QVERIFY(readRtf(QByteArray("{\\rtf1 X\\par Y{\\b Z}}"), cursor));
    QCOMPARE(blocksText(doc), QStringLiteral("aX\nYZc"));
    doc.undo();
    QCOMPARE(blocksText(doc), QStringLiteral("abc"));
    doc.redo();
    QCOMPARE(blocksText(doc), QStringLiteral("aX\nYZc"));
}

void TestRtf::refusesNonRtf_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("Just text {with braces}");
    QTest::newRow("html") << QByteArray("<html><body>rtf</body></html>\r\n");
    QTest::newRow("space before") << QByteArray(" {\\rtf1 x}");
    QTest::newRow("other word") << QByteArray("{\\rtfx x}");
    QTest::newRow("only header") << QByteArray("{\\rtf");
    QTest::newRow("no close") << QByteArray("{\\rtf1 text");
    QTest::newRow("open group") << QByteArray("{\\rtf1 text{\\b bold}");
    QTest::newRow("extra close") << QByteArray("{\\rtf1 text}}");
    QTest::newRow("text after") << QByteArray("{\\rtf1 text} more");
    QTest::newRow("second document") << QByteArray("{\\rtf1 a}{\\rtf1 b}");
    QTest::newRow("backslash at end") << QByteArray("{\\rtf1 text\\");
    QTest::newRow("bin past end") << QByteArray("{\\rtf1 {\\pict\\bin100 abc}}");
    QTest::newRow("bin hides close") << QByteArray("{\\rtf1 x\\bin1 }");
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QTest::newRow("utf-16") << QByteArray("\xff\xfe{\0\\\0r\0t\0f\0", 12);
}

void TestRtf::refusesNonRtf() {
    QFETCH(QByteArray, bytes);
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("keep\nthis"));
    QTextCursor cursor(&doc);
    cursor.select(QTextCursor::Document);
    QVERIFY(!readRtf(bytes, cursor));
    QCOMPARE(blocksText(doc), QStringLiteral("keep\nthis"));
    QVERIFY(cursor.hasSelection());
    doc.undo();
    QCOMPARE(blocksText(doc), QString()); // only the initial insertion was undone
}

void TestRtf::refusesEveryTruncation() {
    QTextDocument source;
    QTextCursor c(&source);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("Příliš "));
    c.insertText(QStringLiteral("žluťoučký\n"), bold);
    c.insertText(QStringLiteral("kůň \U0001F600 {x}"));
    for (const QByteArray& rtf :
         {writeRtf(source), QByteArray(kSampleCodePage1250).trimmed(),
          QByteArray(kSampleUnicodeWestern).trimmed(), QByteArray(kSampleOpenOffice).trimmed()}) {
        for (qsizetype n = 0; n < rtf.size(); ++n) {
            QTextDocument doc;
            QTextCursor(&doc).insertText(QStringLiteral("keep"));
            QTextCursor cursor(&doc);
            cursor.select(QTextCursor::Document);
            if (readRtf(rtf.left(n), cursor)) {
                QFAIL(qPrintable(QStringLiteral("a prefix of %1 bytes was read").arg(n)));
            }
            QCOMPARE(blocksText(doc), QStringLiteral("keep"));
        }
    }
}

void TestRtf::manyFontSizesShared() {
    // Every size from 0.5 to 1638 points, one character each: the text stays
    // whole, small sizes stay exact, large ones come within 3 % of their own,
    // and the editor gets a bounded number of fonts.
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int halfPoints = 1; halfPoints <= 3276; ++halfPoints) {
        rtf += "\\fs" + QByteArray::number(halfPoints) + " x";
    }
    QTextDocument doc;
    QVERIFY(readInto(doc, rtf + "}"));
    QCOMPARE(doc.toPlainText(), QString(3276, QLatin1Char('x')));
    QSet<qreal> sizes;
    int halfPoints = 0;
    for (auto it = doc.begin().begin(); !it.atEnd(); ++it) {
        const qreal size = it.fragment().charFormat().fontPointSize();
        for (int i = 0; i < it.fragment().length(); ++i) {
            const qreal wanted = ++halfPoints / 2.0;
            QVERIFY2(halfPoints > 48 ? qAbs(size - wanted) <= wanted * 0.03 : size == wanted,
                     qPrintable(QString::number(halfPoints)));
        }
        sizes.insert(size);
    }
    QVERIFY(sizes.size() < 250);
}

void TestRtf::deepNesting() {
    QElapsedTimer timer;
    timer.start();
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("keep"));

    // 100000 open groups that never close.
    QVERIFY(!readInto(doc, "{\\rtf1 " + QByteArray(100000, '{')));
    QCOMPARE(blocksText(doc), QStringLiteral("keep"));

    // Balanced, but deeper than any real document.
    const QByteArray deep = "{\\rtf1 " + QByteArray(100000, '{') + "x" + QByteArray(100001, '}');
    QVERIFY(!readInto(doc, deep));
    QCOMPARE(blocksText(doc), QStringLiteral("keep"));

    // Deep but reasonable nesting is read, with formatting kept per level.
    const QByteArray nested =
        "{\\rtf1 " + QByteArray(1000, '{') + "\\b x" + QByteArray(1000, '}') + "y}";
    QVERIFY(readInto(doc, nested));
    QCOMPARE(blocksText(doc), QStringLiteral("xy"));
    QVERIFY(formatAt(doc, QStringLiteral("x")).bold);
    QVERIFY(!formatAt(doc, QStringLiteral("y")).bold);

    QVERIFY2(timer.elapsed() < 20000, "nesting must not take quadratic time");
}

void TestRtf::randomInputNeverCrashes() {
    QRandomGenerator rng(20240611);
    static const char* const pieces[] = {
        "{",
        "}",
        "\\b ",
        "\\b0 ",
        "\\i",
        "\\ul",
        "\\ulnone",
        "\\plain ",
        "\\par\r\n",
        "\\line ",
        "\\tab ",
        "\\u-10179",
        "\\u269",
        "?",
        "\\'e8",
        "\\'",
        "\\'9",
        "\\uc0 ",
        "\\uc5 ",
        "\\bin3 ",
        "\\bin-4 ",
        "\\bin999",
        "\\*",
        "\\pict ",
        "\\fonttbl ",
        "\\f1 ",
        "\\f-3 ",
        "\\fs0 ",
        "\\fs-7 ",
        "\\fs99999",
        "\\cf9 ",
        "\\cf-1 ",
        "\\colortbl",
        "\\red300",
        ";",
        "\\v ",
        "\\upr ",
        "\\ud ",
        "\\~",
        "\\\\",
        "\\{",
        "text ",
        "ěš",
        "\\deff7 ",
        "\\ansicpg1251 ",
        "\\ansicpg99999 ",
        "\\fcharset238 ",
        "\x00",
        "\xff",
        "\\",
        "\\12345678901234567890",
        "\\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
    };
    const int pieceCount = int(sizeof pieces / sizeof pieces[0]);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray input;
        const int kind = round % 3;
        if (kind == 0) {
            // Raw random bytes, some of them starting like RTF.
            if (rng.bounded(2) == 0) {
                input = "{\\rtf1";
            }
            const int n = int(rng.bounded(0, 300));
            for (int i = 0; i < n; ++i) {
                input.append(char(rng.bounded(256)));
            }
        } else if (kind == 1) {
            // A soup of RTF tokens inside an RTF document.
            input = "{\\rtf1 ";
            const int n = int(rng.bounded(0, 60));
            for (int i = 0; i < n; ++i) {
                const char* piece = pieces[rng.bounded(pieceCount)];
                input.append(piece, piece[0] == 0 ? 1 : qsizetype(qstrlen(piece)));
            }
            input.append('}');
        } else {
            // A real document with a few bytes changed, dropped or doubled.
            static const QByteArray samples[] = {QByteArray(kSampleCodePage1250),
                                                 QByteArray(kSampleUnicodeWestern),
                                                 QByteArray(kSampleOpenOffice)};
            input = samples[rng.bounded(3)];
            const int edits = int(rng.bounded(1, 6));
            for (int e = 0; e < edits && !input.isEmpty(); ++e) {
                const qsizetype at = qsizetype(rng.bounded(quint32(input.size())));
                switch (rng.bounded(3)) {
                case 0:
                    input[at] = char(rng.bounded(256));
                    break;
                case 1:
                    input.remove(at, 1);
                    break;
                default:
                    input.insert(at, input.at(at));
                    break;
                }
            }
        }
        QTextDocument doc;
        QTextCursor(&doc).insertText(QStringLiteral("keep\nthis"));
        QTextCursor cursor(&doc);
        cursor.select(QTextCursor::Document);
        if (readRtf(input, cursor)) {
            ++accepted;
            // Whatever was read, it replaced the text as one edit.
            doc.undo();
            QCOMPARE(blocksText(doc), QStringLiteral("keep\nthis"));
        } else {
            QCOMPARE(blocksText(doc), QStringLiteral("keep\nthis"));
        }
    }
    // The generator must reach the inserting path, not only the refusals.
    QVERIFY(accepted > 300);
}

QTEST_GUILESS_MAIN(TestRtf)
#include "tst_rtf.moc"
