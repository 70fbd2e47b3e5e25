// The encoding rules on both of their sides, a page's declared charset
// among them; the round trips through the pages are in tst_desktop.

#include "text/textencoding.h"

#include <QTest>

using namespace zelvar;

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(zelvar::TextEncoding)
Q_DECLARE_METATYPE(zelvar::EncodingRule)

class TestTextEncoding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void detection_data();
    void detection();
};

void TestTextEncoding::detection_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<EncodingRule>("rule");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    const auto w = TextEncoding::Windows1250;
    const auto u8 = TextEncoding::Utf8;
    const auto bom = TextEncoding::Utf8WithBom;
    const auto iso = TextEncoding::Iso88592;
    const auto basic = EncodingRule::Basic;
    const auto page = EncodingRule::Page;
    const auto row = [](const char* name, const QByteArray& bytes, EncodingRule rule,
                        TextEncoding encoding, const QString& text) {
        QTest::newRow(name) << bytes << rule << encoding << text;
    };
    row("empty", QByteArray(), basic, w, QString());
    row("ascii only", "<p>a\r\nb</p>", basic, w, "<p>a\r\nb</p>");
    row("utf-8 czech", "\xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD", basic, u8, u"žluťoučký"_s);
    row("utf-8 four bytes", "a\xF0\x9F\x90\xA2", basic, u8, u"a🐢"_s);
    row("windows-1250 czech", "\x9Elu\x9Dou\xE8k\xFD", basic, w, u"žluťoučký"_s);
    // Valid UTF-8 pairs by chance, then a byte that is not.
    row("windows-1250 that starts like utf-8", "\xC8\x8A\xE8", basic, w, u"ČŠč"_s);
    row("cut in a sequence", "ko\xC5\xA1\xC3", basic, w, u"koĹˇĂ"_s);
    row("overlong form", "\xC0\xAF", basic, w, u"ŔŻ"_s);
    row("encoded surrogate", "\xED\xA0\x80", basic, w, u"í\u00A0€"_s);
    row("bom", "\xEF\xBB\xBF<p>", basic, bom, "<p>");
    row("bom only", "\xEF\xBB\xBF", basic, bom, QString());
    row("bom then a second mark", "\xEF\xBB\xBF\xEF\xBB\xBF", basic, bom, QString(QChar(0xFEFF)));
    row("bom then bytes that are not utf-8", "\xEF\xBB\xBF\x9E", basic, w, u"ď»żž"_s);
    // The characters the text document keeps for itself: by the code page in a page.
    row("U+FDD0 by the basic rule",
        "a\xEF\xB7\x90"
        "b",
        basic, u8, u"a\uFDD0b"_s);
    row("U+FDD0 in a page",
        "a\xEF\xB7\x90"
        "b",
        page, w, u"aď·\u0090b"_s);
    row("U+FDD1 under a utf-8 declaration", "<meta charset=utf-8>\xEF\xB7\x91", page, w,
        u"<meta charset=utf-8>ď·‘"_s);
    row("U+2029 after a bom", "\xEF\xBB\xBF\xE2\x80\xA9", page, w, u"ď»żâ€©"_s);

    // Declarations in a page.
    row("meta charset, ascii", "<meta charset=\"utf-8\"><p>Ahoj", page, u8,
        "<meta charset=\"utf-8\"><p>Ahoj");
    row("meta charset in a basic read", "<meta charset=\"iso-8859-2\">\xB9", basic, w,
        u"<meta charset=\"iso-8859-2\">ą"_s);
    row("http-equiv",
        "<html><head><meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=iso-8859-2\">\xB9\xBE\xBB",
        page, iso,
        u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
        u"charset=iso-8859-2\">šžť"_s);
    row("content before http-equiv, single quotes",
        "<META content='text/html;Charset = ISO_8859-2' HTTP-EQUIV='content-type'>\xA9", page, iso,
        u"<META content='text/html;Charset = ISO_8859-2' HTTP-EQUIV='content-type'>Š"_s);
    row("unquoted, upper case", "<HEAD><META CHARSET=WINDOWS-1250 />\x8A", page, w,
        u"<HEAD><META CHARSET=WINDOWS-1250 />Š"_s);
    row("content without http-equiv", "<meta content=\"text/html; charset=iso-8859-2\">\xB9", page,
        w, u"<meta content=\"text/html; charset=iso-8859-2\">ą"_s);
    row("xml declaration", "<?xml version=\"1.0\" encoding='ISO-8859-2'?>\xB9", page, iso,
        u"<?xml version=\"1.0\" encoding='ISO-8859-2'?>š"_s);
    row("meta after an xml declaration",
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><meta charset=iso-8859-2>\xB9", page, iso,
        u"<?xml version=\"1.0\" encoding=\"utf-8\"?><meta charset=iso-8859-2>š"_s);
    row("an unknown label, then a known one",
        "<meta charset=\"x-foo\"><meta charset=\"iso-8859-2\">\xB9", page, iso,
        u"<meta charset=\"x-foo\"><meta charset=\"iso-8859-2\">š"_s);
    row("a charset after a content charset",
        "<meta http-equiv=Content-Type content=\"text/html; charset=iso-8859-2\" "
        "charset=utf-8>\xB9",
        page, iso,
        u"<meta http-equiv=Content-Type content=\"text/html; charset=iso-8859-2\" "
        u"charset=utf-8>š"_s);
    row("a utf-16 label is utf-8", "<meta charset=\"UTF-16LE\"><p>Ahoj", page, u8,
        "<meta charset=\"UTF-16LE\"><p>Ahoj");
    row("the first meta counts", "<meta charset=iso-8859-2><meta charset=utf-8>\xB9", page, iso,
        u"<meta charset=iso-8859-2><meta charset=utf-8>š"_s);
    row("in a comment", "<!-- a -> b <meta charset=\"iso-8859-2\"> -->\xB9", page, w,
        u"<!-- a -> b <meta charset=\"iso-8859-2\"> -->ą"_s);
    row("in an attribute", "<a title=\"<meta charset=iso-8859-2>\">\xB9", page, w,
        u"<a title=\"<meta charset=iso-8859-2>\">ą"_s);
    row("another encoding's label", "<meta charset=\"iso-8859-1\">\xB9", page, w,
        u"<meta charset=\"iso-8859-1\">ą"_s);
    row("beyond 1024 bytes", QByteArray(1010, ' ') + "<meta charset=iso-8859-2>\xB9", page, w,
        QString(1010, ' ') + u"<meta charset=iso-8859-2>ą"_s);
    row("within 1024 bytes", QByteArray(990, ' ') + "<meta charset=iso-8859-2>\xB9", page, iso,
        QString(990, ' ') + u"<meta charset=iso-8859-2>š"_s);
    row("utf-8 declared, windows-1250 bytes", "<meta charset=utf-8>\x9E", page, w,
        u"<meta charset=utf-8>ž"_s);
    row("windows-1250 declared, utf-8 bytes", "<meta charset=windows-1250>\xC5\xBE", page, w,
        u"<meta charset=windows-1250>Ĺľ"_s);
    row("bom before a declaration", "\xEF\xBB\xBF<meta charset=iso-8859-2>\xC5\xA1", page, bom,
        u"<meta charset=iso-8859-2>š"_s);
    const std::pair<TextEncoding, QList<const char*>> labels[] = {
        {u8, {"utf-8", "utf8", "UTF8", "unicode-1-1-utf-8"}},
        {w, {"windows-1250", "cp1250", "x-cp1250"}},
        {iso,
         {"iso-8859-2", "iso8859-2", "iso_8859-2", "iso_8859-2:1987", "latin2", "l2", "csisolatin2",
          "iso-ir-101"}}};
    for (const auto& [encoding, names] : labels) {
        for (const char* name : names) {
            const QByteArray bytes = "<meta charset=\"" + QByteArray(name) + "\">";
            QTest::newRow(name) << bytes << page << encoding << QString::fromLatin1(bytes);
        }
    }
}

void TestTextEncoding::detection() {
    QFETCH(QByteArray, bytes);
    QFETCH(EncodingRule, rule);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(detectTextEncoding(bytes, rule), encoding);
    const DecodedText decoded = decodeText(bytes, rule);
    QCOMPARE(decoded.encoding, encoding);
    QCOMPARE(decoded.text, text);
    if (rule == EncodingRule::Basic) {
        QCOMPARE(decodeUtf8Text(bytes).has_value(), encoding != TextEncoding::Windows1250);
    }
    // Encoding the text again gives the bytes back.
    QCOMPARE(encodeText(text, encoding), bytes);
}

QTEST_GUILESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
