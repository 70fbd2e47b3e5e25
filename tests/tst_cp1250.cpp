// The code pages: byte-exact round trips and agreement with the C library's
// own converter for both, and numeric character references for everything
// Windows-1250 cannot hold.

#include "text/cp1250.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <iconv.h>

using namespace zelvar;

namespace {

// Converts with iconv; returns false when iconv rejects the input.
bool iconvConvert(const char* from, const char* to, const QByteArray& in, QByteArray& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    QByteArray input = in;
    out = QByteArray(in.size() * 4 + 16, '\0');
    char* inPtr = input.data();
    char* outPtr = out.data();
    size_t inLeft = size_t(input.size());
    size_t outLeft = size_t(out.size());
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == size_t(-1) || inLeft != 0) {
        return false;
    }
    out.truncate(out.size() - qsizetype(outLeft));
    return true;
}

QByteArray utf16le(char16_t ch) {
    QByteArray b(2, '\0');
    b[0] = char(ch & 0xFF);
    b[1] = char(ch >> 8);
    return b;
}

// What a browser does with the output: turns "&#N;" back into the character.
QString resolveReferences(const QString& text) {
    static const QRegularExpression ref(QStringLiteral("&#([0-9]+);"));
    QString out;
    qsizetype last = 0;
    auto it = ref.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        const char32_t cp = m.captured(1).toUInt();
        out += QString::fromUcs4(&cp, 1);
        last = m.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

// The code pages against iconv's: its name for each and the bytes it leaves
// undefined, which the program maps to the control character of that value.
struct CodePageRow {
    const CodePage* page;
    const char* iconvName;
    QList<int> undefined;
};

} // namespace

Q_DECLARE_METATYPE(CodePageRow)

class TestCp1250 : public QObject {
    Q_OBJECT
    static void codePage_data();
private Q_SLOTS:
    void everyByteSurvivesDecodeAndEncode_data() { codePage_data(); }
    void everyByteSurvivesDecodeAndEncode();
    void decodingAgreesWithIconv_data() { codePage_data(); }
    void decodingAgreesWithIconv();
    void encodingAgreesWithIconv_data() { codePage_data(); }
    void encodingAgreesWithIconv();
    void czechLetters();
    void charactersOutsideBecomeReferences();
    void referencesReadBackAsTheSameText();
    void emptyInput();
};

void TestCp1250::codePage_data() {
    QTest::addColumn<CodePageRow>("row");
    QTest::newRow("Windows-1250") << CodePageRow{
        &windows1250(), "CP1250", {0x81, 0x83, 0x88, 0x90, 0x98}};
    QTest::newRow("ISO-8859-2") << CodePageRow{&iso88592(), "ISO-8859-2", {}};
}

void TestCp1250::everyByteSurvivesDecodeAndEncode() {
    QFETCH(CodePageRow, row);
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(char(b));
    }
    const QString text = row.page->decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(row.page->encode(text), all);

    // One character per byte, all different, so nothing collapses.
    QSet<QChar> seen;
    for (QChar ch : text) {
        seen.insert(ch);
    }
    QCOMPARE(seen.size(), 256);

    // Byte by byte as well, through the single-character helpers.
    for (int b = 0; b < 256; ++b) {
        const char16_t ch = row.page->toUnicode(static_cast<unsigned char>(b));
        QCOMPARE(row.page->fromUnicode(ch), b);
    }
    QCOMPARE(text.at(0), QChar(0));
    for (int undefined : row.undefined) {
        QCOMPARE(int(text.at(undefined).unicode()), undefined);
    }
}

void TestCp1250::decodingAgreesWithIconv() {
    QFETCH(CodePageRow, row);
    for (int b = 0; b < 256; ++b) {
        QByteArray converted;
        const QByteArray byte(1, char(b));
        if (iconvConvert(row.iconvName, "UTF-16LE", byte, converted)) {
            QCOMPARE(converted.size(), 2);
            const char16_t expected = char16_t(uchar(converted[0]) | (uchar(converted[1]) << 8));
            QCOMPARE(int(row.page->toUnicode(uchar(b))), int(expected));
        } else {
            // Only the undefined bytes have no character in the code page.
            QVERIFY2(row.undefined.contains(b), qPrintable(QString::number(b, 16)));
        }
    }
}

void TestCp1250::encodingAgreesWithIconv() {
    QFETCH(CodePageRow, row);
    int mapped = 0;
    for (int ch = 1; ch < 0x10000; ++ch) {
        if (ch >= 0xD800 && ch <= 0xDFFF) {
            continue;
        }
        QByteArray converted;
        const bool iconvHas =
            iconvConvert("UTF-16LE", row.iconvName, utf16le(char16_t(ch)), converted);
        const int ours = row.page->fromUnicode(char16_t(ch));
        if (row.undefined.contains(ch)) {
            QCOMPARE(ours, ch);
            continue;
        }
        QCOMPARE(ours >= 0, iconvHas);
        if (iconvHas) {
            QCOMPARE(converted.size(), 1);
            QCOMPARE(ours, int(uchar(converted[0])));
            ++mapped;
        }
    }
    // 256 bytes less byte 0 and the undefined ones.
    QCOMPARE(mapped, 255 - int(row.undefined.size()));
}

void TestCp1250::czechLetters() {
    const QString lower = QStringLiteral("ěščřžýáíéůú");
    const QString upper = QStringLiteral("ĚŠČŘŽ");
    QCOMPARE(toCp1250(lower), QByteArray("\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xF9\xFA"));
    QCOMPARE(toCp1250(upper), QByteArray("\xCC\x8A\xC8\xD8\x8E"));
    QCOMPARE(fromCp1250(QByteArray("\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xF9\xFA")), lower);
    QCOMPARE(fromCp1250(QByteArray("\xCC\x8A\xC8\xD8\x8E")), upper);
    const QString sentence = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy <p>&nbsp;</p>");
    QCOMPARE(fromCp1250(toCp1250(sentence)), sentence);
    QVERIFY(!toCp1250(sentence).contains('&' + QByteArray("#")));
}

void TestCp1250::charactersOutsideBecomeReferences() {
    QCOMPARE(toCp1250(QStringLiteral("a\U0001F600b")), QByteArray("a&#128512;b"));
    QCOMPARE(toCp1250(QStringLiteral("α")), QByteArray("&#945;"));
    QCOMPARE(toCp1250(QStringLiteral("ñ")), QByteArray("&#241;"));
    QCOMPARE(toCp1250(QStringLiteral("中文")), QByteArray("&#20013;&#25991;"));
    QCOMPARE(toCp1250(QStringLiteral("€")), QByteArray("\x80"));
    // A lone surrogate still gives a reference rather than a question mark.
    QCOMPARE(toCp1250(QString(QChar(0xD83D)) + 'x'), QByteArray("&#55357;x"));
    QCOMPARE(toCp1250(QString(QChar(0xDE00))), QByteArray("&#56832;"));
    // Many references in a row make the output grow well past one byte per unit.
    const QString emoji = QString(2000, QChar(0x3B1));
    const QByteArray bytes = toCp1250(emoji);
    QCOMPARE(bytes.size(), 2000 * 6);
    QVERIFY(!bytes.contains('?'));

    QByteArray out("prefix:");
    appendCp1250(out, u"č\u3042");
    QCOMPARE(out, QByteArray("prefix:\xE8&#12354;"));
}

void TestCp1250::referencesReadBackAsTheSameText() {
    QRandomGenerator rng(1250);
    for (int round = 0; round < 200; ++round) {
        QString text;
        const int length = int(rng.bounded(1, 400));
        for (int i = 0; i < length; ++i) {
            const int kind = int(rng.bounded(4));
            char32_t cp;
            if (kind == 0) {
                cp = char32_t(rng.bounded(0x20, 0x7F));
            } else if (kind == 1) {
                cp = cp1250ToUnicode(uchar(rng.bounded(0x80, 0x100)));
            } else if (kind == 2) {
                cp = char32_t(rng.bounded(0x100, 0xD800));
            } else {
                cp = char32_t(rng.bounded(0x10000, 0x110000));
            }
            if (cp == '&' || cp == '?') {
                cp = 'x';
            }
            text += QString::fromUcs4(&cp, 1);
        }
        const QByteArray bytes = toCp1250(text);
        QVERIFY(!bytes.contains('?'));
        QCOMPARE(resolveReferences(fromCp1250(bytes)), text);
    }
}

void TestCp1250::emptyInput() {
    QCOMPARE(toCp1250(QString()), QByteArray());
    QCOMPARE(fromCp1250(QByteArray()), QString());
}

QTEST_GUILESS_MAIN(TestCp1250)
#include "tst_cp1250.moc"
