// The encoding rule (UTF-8 or Windows-1250) on both of its sides; the round
// trips through the pages are in tst_desktop.

#include "text/textencoding.h"

#include <QTest>

using namespace zelvar;

Q_DECLARE_METATYPE(zelvar::TextEncoding)

class TestTextEncoding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void detection_data();
    void detection();
};

void TestTextEncoding::detection_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    const auto w = TextEncoding::Windows1250;
    const auto u8 = TextEncoding::Utf8;
    const auto bom = TextEncoding::Utf8WithBom;
    QTest::newRow("empty") << QByteArray() << w << QString();
    QTest::newRow("ascii only") << QByteArray("<p>a\r\nb</p>") << w << QString("<p>a\r\nb</p>");
    QTest::newRow("utf-8 czech") << QByteArray("\xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD") << u8
                                 << QString::fromUtf8("žluťoučký");
    QTest::newRow("utf-8 four bytes")
        << QByteArray("a\xF0\x9F\x90\xA2") << u8 << QString::fromUtf8("a🐢");
    QTest::newRow("windows-1250 czech")
        << QByteArray("\x9Elu\x9Dou\xE8k\xFD") << w << QString::fromUtf8("žluťoučký");
    // Valid UTF-8 pairs by chance, then a byte that is not.
    QTest::newRow("windows-1250 that starts like utf-8")
        << QByteArray("\xC8\x8A\xE8") << w << QString::fromUtf8("ČŠč");
    QTest::newRow("cut in a sequence")
        << QByteArray("ko\xC5\xA1\xC3") << w << QString::fromUtf8("koĹˇĂ");
    QTest::newRow("overlong form") << QByteArray("\xC0\xAF") << w << QString::fromUtf8("ŔŻ");
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80") << w << QString::fromUtf8("í\u00A0€");
    QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF<p>") << bom << QString("<p>");
    QTest::newRow("bom only") << QByteArray("\xEF\xBB\xBF") << bom << QString();
    QTest::newRow("bom then a second mark")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") << bom << QString(QChar(0xFEFF));
    QTest::newRow("bom then bytes that are not utf-8")
        << QByteArray("\xEF\xBB\xBF\x9E") << w << QString::fromUtf8("ď»żž");
}

void TestTextEncoding::detection() {
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(detectTextEncoding(bytes), encoding);
    const DecodedText decoded = decodeText(bytes);
    QCOMPARE(decoded.encoding, encoding);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decodeUtf8Text(bytes).has_value(), encoding != TextEncoding::Windows1250);
    // Encoding the text again gives the bytes back.
    QCOMPARE(encodeText(text, encoding), bytes);
}

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
