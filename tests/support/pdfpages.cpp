#include "support/pdfpages.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>

#include "support/filebytes.h"

namespace zelvar::testing {

namespace {

struct PdfObject {
    QByteArray dictionary;
    QByteArray stream; // inflated when the object says it is compressed
};

QByteArray inflate(const QByteArray& deflated) {
    // qUncompress wants the expected size in front; it grows its buffer
    // when the guess is short.
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(quint32(deflated.size() * 8 + 64), sized.data());
    return qUncompress(sized + deflated);
}

QHash<int, PdfObject> objectsOf(const QByteArray& pdf) {
    QHash<int, PdfObject> objects;
    static const QRegularExpression start(QStringLiteral("(?:^|\\n)(\\d+) 0 obj\\n"));
    const QString latin = QString::fromLatin1(pdf);
    for (const QRegularExpressionMatch& m : start.globalMatch(latin)) {
        const qsizetype body = m.capturedEnd();
        const qsizetype end = pdf.indexOf("endobj", body);
        if (end < 0) {
            continue;
        }
        QByteArray text = pdf.mid(body, end - body);
        PdfObject object;
        const qsizetype streamAt = text.indexOf("stream\n");
        if (streamAt >= 0) {
            object.dictionary = text.left(streamAt);
            QByteArray data = text.mid(streamAt + 7);
            data.truncate(data.lastIndexOf("endstream"));
            object.stream =
                object.dictionary.contains("/FlateDecode") ? inflate(data) : std::move(data);
        } else {
            object.dictionary = std::move(text);
        }
        objects.insert(m.captured(1).toInt(), std::move(object));
    }
    return objects;
}

// The number of the object that `key N 0 R` refers to, or -1.
int reference(const QByteArray& dictionary, const char* key) {
    const QRegularExpression re(QLatin1String(key) + QStringLiteral("\\s+(\\d+) 0 R"));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(dictionary));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// A ToUnicode map: glyph code to text. Qt writes ranges whose targets are a
// list ("<0001> <0003> [<0048> <0065> <006C>]") or a first code point.
QHash<uint, QString> unicodeMap(const QByteArray& cmap) {
    QHash<uint, QString> map;
    static const QRegularExpression range(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(\\[[^\\]]*\\]|<[0-9A-Fa-f]+>)"));
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (const QRegularExpressionMatch& m : range.globalMatch(QString::fromLatin1(cmap))) {
        const uint first = m.captured(1).toUInt(nullptr, 16);
        const uint last = m.captured(2).toUInt(nullptr, 16);
        const QString target = m.captured(3);
        QStringList targets;
        for (const QRegularExpressionMatch& t : hex.globalMatch(target)) {
            targets << t.captured(1);
        }
        for (uint code = first; code <= last && !targets.isEmpty(); ++code) {
            const uint i = code - first;
            if (target.startsWith(QLatin1Char('['))) {
                if (i < uint(targets.size())) {
                    map.insert(code, QString(QChar(char16_t(targets[i].toUInt(nullptr, 16)))));
                }
            } else {
                map.insert(code, QString(QChar(char16_t(targets[0].toUInt(nullptr, 16) + i))));
            }
        }
    }
    return map;
}

// The runs of one page's content: each text object (BT ... ET) is a run in
// the fill colour set before it; a run whose first move lands on another
// line than the run before starts a new line.
PdfPage pageOf(const QByteArray& content, const QHash<QString, QHash<uint, QString>>& fonts) {
    PdfPage page;
    QStringList operands;
    QColor fill(Qt::black);
    const QHash<uint, QString>* font = nullptr;
    bool inText = false;
    bool moved = false;
    double lastLine = 0;
    bool anyLine = false;
    static const QRegularExpression token(
        QStringLiteral("<[0-9A-Fa-f]*>|\\[[^\\]]*\\]|[^\\s<\\[]+"));
    for (const QRegularExpressionMatch& m : token.globalMatch(QString::fromLatin1(content))) {
        const QString t = m.captured(0);
        const QChar c = t.at(0);
        if (c == QLatin1Char('<') || c == QLatin1Char('[') || c == QLatin1Char('/') ||
            c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.')) {
            operands << t;
            continue;
        }
        if (t == QLatin1String("scn") && operands.size() >= 3) {
            const qsizetype n = operands.size();
            fill = QColor::fromRgbF(operands[n - 3].toFloat(), operands[n - 2].toFloat(),
                                    operands[n - 1].toFloat());
        } else if (t == QLatin1String("Tf") && operands.size() >= 2) {
            const auto found = fonts.constFind(operands[operands.size() - 2].mid(1));
            font = found == fonts.constEnd() ? nullptr : &found.value();
        } else if (t == QLatin1String("BT")) {
            inText = true;
            moved = false;
            page.runs.append(PdfRun{QString(), fill});
        } else if (t == QLatin1String("ET")) {
            inText = false;
        } else if (t == QLatin1String("Td") && inText && !moved && operands.size() >= 2) {
            moved = true;
            const double line = operands.last().toDouble();
            if (anyLine && line != lastLine) {
                page.text += QLatin1Char('\n');
            }
            anyLine = true;
            lastLine = line;
        } else if (t == QLatin1String("Tj") && inText && font && !operands.isEmpty()) {
            const QString codes = operands.last().mid(1, operands.last().size() - 2);
            for (qsizetype i = 0; i + 4 <= codes.size(); i += 4) {
                QString glyph = font->value(codes.mid(i, 4).toUInt(nullptr, 16));
                // A space and a tab share one glyph, which Qt's map gives
                // to the tab.
                glyph.replace(QLatin1Char('\t'), QLatin1Char(' '));
                page.runs.last().text += glyph;
                page.text += glyph;
            }
        }
        operands.clear();
    }
    return page;
}

} // namespace

PdfDocument readPdfPages(const QString& path) {
    PdfDocument document;
    bool read = false;
    const QByteArray pdf = readFileBytes(path, &read);
    if (!read || !pdf.startsWith("%PDF")) {
        return document;
    }
    const QHash<int, PdfObject> objects = objectsOf(pdf);
    int pagesObject = -1;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        if (it->dictionary.contains("/Type /Pages")) {
            pagesObject = it.key();
        }
    }
    if (pagesObject < 0) {
        return document;
    }
    const QByteArray kids = objects[pagesObject].dictionary;
    static const QRegularExpression ref(QStringLiteral("(\\d+) 0 R"));
    const qsizetype kidsAt = kids.indexOf("/Kids");
    const QString list = QString::fromLatin1(kids.mid(kidsAt, kids.indexOf(']', kidsAt) - kidsAt));
    for (const QRegularExpressionMatch& m : ref.globalMatch(list)) {
        const PdfObject page = objects.value(m.captured(1).toInt());
        const QByteArray resources =
            objects.value(reference(page.dictionary, "/Resources")).dictionary;
        QHash<QString, QHash<uint, QString>> fonts;
        static const QRegularExpression fontRef(QStringLiteral("/(F\\d+) (\\d+) 0 R"));
        for (const QRegularExpressionMatch& f :
             fontRef.globalMatch(QString::fromLatin1(resources))) {
            const PdfObject font = objects.value(f.captured(2).toInt());
            fonts.insert(
                f.captured(1),
                unicodeMap(objects.value(reference(font.dictionary, "/ToUnicode")).stream));
        }
        document.pages << pageOf(objects.value(reference(page.dictionary, "/Contents")).stream,
                                 fonts);
    }
    document.ok = true;
    return document;
}

} // namespace zelvar::testing
