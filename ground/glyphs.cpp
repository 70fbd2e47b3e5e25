#include "ground/glyphs.h"

#include <QColor>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>

// Every picture is drawn in a logical square of 16 units (18 for the frame
// layouts) and rendered once for plain and once for double-density screens.
// One-unit lines sit on half units so that they stay sharp at plain density.

namespace zelvar {

namespace {

// One palette for all pictures.
const QColor kInk(0x2b, 0x2f, 0x36);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kPaperShade(0xdd, 0xe3, 0xeb);
const QColor kBlue(0x2f, 0x6d, 0xb5);
const QColor kDarkBlue(0x1d, 0x42, 0x75);
const QColor kLightBlue(0xcf, 0xe0, 0xf5);
const QColor kYellow(0xf4, 0xc8, 0x5a);
const QColor kDarkYellow(0xd4, 0x9a, 0x22);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kGrey(0x8a, 0x90, 0x99);
const QColor kLightGrey(0xcc, 0xd1, 0xd8);
const QColor kBrown(0xa8, 0x74, 0x3c);
const QColor kGreen(0x3c, 0xa0, 0x4a);

QPen pen(const QColor& color, qreal width = 1.0, Qt::PenCapStyle cap = Qt::SquareCap) {
    return QPen(color, width, Qt::SolidLine, cap, Qt::MiterJoin);
}

void outlined(QPainter& p, const QPainterPath& path, const QColor& fill,
              const QColor& line = kInk) {
    p.setPen(pen(line));
    p.setBrush(fill);
    p.drawPath(path);
}

void outlinedRect(QPainter& p, const QRectF& r, const QColor& fill, const QColor& line = kInk) {
    p.setPen(pen(line));
    p.setBrush(fill);
    p.drawRect(r);
}

void filledRect(QPainter& p, const QRectF& r, const QColor& fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRect(r);
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& color, qreal width = 1.0,
          Qt::PenCapStyle cap = Qt::SquareCap) {
    p.setPen(pen(color, width, cap));
    p.setBrush(Qt::NoBrush);
    p.drawLine(a, b);
}

void stroked(QPainter& p, const QPainterPath& path, const QColor& color, qreal width) {
    p.setPen(pen(color, width, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// A sheet of paper with a folded top right corner.
void sheet(QPainter& p, qreal left, qreal top, qreal right, qreal bottom, qreal fold = 3) {
    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right - fold, top);
    page.lineTo(right, top + fold);
    page.lineTo(right, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    outlined(p, page, kPaper);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    outlined(p, corner, kPaperShade);
}

// Pale text lines inside a sheet.
void textLines(QPainter& p, qreal left, qreal right, qreal top, int count) {
    for (int i = 0; i < count; ++i) {
        line(p, {left, top + 2 * i}, {right, top + 2 * i}, kLightBlue, 1.0, Qt::FlatCap);
    }
}

// ---------------------------------------------------------------- files

void drawNew(QPainter& p) {
    sheet(p, 1.5, 1.5, 10.5, 14.5);
    // a spark in the corner marks the page as new
    line(p, {12.5, 8.5}, {12.5, 15.5}, kDarkYellow, 1.0, Qt::FlatCap);
    line(p, {9, 12}, {16, 12}, kDarkYellow, 1.0, Qt::FlatCap);
    line(p, {10.5, 10}, {14.5, 14}, kYellow, 1.0, Qt::FlatCap);
    line(p, {10.5, 14}, {14.5, 10}, kYellow, 1.0, Qt::FlatCap);
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawEllipse(QPointF(12.5, 12), 1.2, 1.2);
}

void drawOpen(QPainter& p) {
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(7, 5);
    back.lineTo(12.5, 5);
    back.lineTo(12.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    outlined(p, back, kDarkYellow);
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(4, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(12.5, 13.5);
    front.closeSubpath();
    outlined(p, front, kYellow);
}

void drawSave(QPainter& p) {
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    outlined(p, body, kBlue, kDarkBlue);
    // metal shutter with its window
    outlinedRect(p, QRectF(4.5, 1.5, 7, 4), kLightGrey, kDarkBlue);
    filledRect(p, QRectF(9, 2.5, 1.5, 2), kDarkBlue);
    // label
    outlinedRect(p, QRectF(3.5, 8.5, 9, 6), kPaper, kDarkBlue);
    line(p, {5, 10.5}, {11, 10.5}, kLightBlue, 1.0, Qt::FlatCap);
    line(p, {5, 12.5}, {11, 12.5}, kLightBlue, 1.0, Qt::FlatCap);
}

void drawPrint(QPainter& p) {
    outlinedRect(p, QRectF(4.5, 1.5, 7, 5), kPaper);
    p.setPen(pen(kInk));
    p.setBrush(kLightGrey);
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
    filledRect(p, QRectF(12, 8, 1.5, 1.5), kGreen);
    outlinedRect(p, QRectF(4.5, 10.5, 7, 4), kPaper);
    line(p, {6, 12.5}, {10, 12.5}, kGrey, 1.0, Qt::FlatCap);
}

void drawFind(QPainter& p) {
    line(p, {10, 10}, {14.2, 14.2}, kBrown, 3.0, Qt::RoundCap);
    p.setPen(pen(kInk, 1.5));
    p.setBrush(kLightBlue);
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    // a glint on the glass
    QPainterPath glint;
    glint.arcMoveTo(QRectF(3.5, 3.5, 6, 6), 100);
    glint.arcTo(QRectF(3.5, 3.5, 6, 6), 100, 70);
    stroked(p, glint, kPaper, 1.2);
}

// ---------------------------------------------------------------- clipboard

void drawCopy(QPainter& p) {
    sheet(p, 1.5, 1.5, 9.5, 11.5, 2);
    sheet(p, 6.5, 4.5, 14.5, 14.5, 2);
    textLines(p, 8, 13, 8.5, 3);
}

void drawPaste(QPainter& p) {
    p.setPen(pen(kInk));
    p.setBrush(kBrown);
    p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
    outlinedRect(p, QRectF(4.5, 1.5, 4, 2.5), kLightGrey);
    sheet(p, 6.5, 6.5, 14.5, 14.5, 2);
    textLines(p, 8, 13, 9.5, 3);
}

void drawCut(QPainter& p) {
    // blades first, the handles sit on top of their ends
    line(p, {6, 10}, {11.5, 1.5}, kGrey, 1.6, Qt::RoundCap);
    line(p, {10, 10}, {4.5, 1.5}, kInk, 1.6, Qt::RoundCap);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(8, 6.9), 0.9, 0.9);
    p.setPen(pen(kRed, 1.5));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(4.5, 12.3), 2.2, 2.2);
    p.drawEllipse(QPointF(11.5, 12.3), 2.2, 2.2);
}

// ---------------------------------------------------------------- character styles

void drawBold(QPainter& p) {
    // strokes two units wide on whole units stay sharp
    QPainterPath b;
    b.moveTo(4, 2);
    b.lineTo(4, 14);
    b.moveTo(3, 3);
    b.lineTo(8.5, 3);
    b.cubicTo(11.5, 3, 11.5, 8, 8.5, 8);
    b.lineTo(4, 8);
    b.moveTo(8.5, 8);
    b.lineTo(9, 8);
    b.cubicTo(12.6, 8, 12.6, 13, 9, 13);
    b.lineTo(3, 13);
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(b);
}

void drawItalic(QPainter& p) {
    line(p, {9.6, 2.5}, {6.4, 13.5}, kInk, 1.8, Qt::FlatCap);
    line(p, {7.5, 2.5}, {12.5, 2.5}, kInk, 1.2, Qt::FlatCap);
    line(p, {3.5, 13.5}, {8.5, 13.5}, kInk, 1.2, Qt::FlatCap);
}

void drawUnderline(QPainter& p) {
    QPainterPath u;
    u.moveTo(4.5, 1.5);
    u.lineTo(4.5, 7.5);
    u.cubicTo(4.5, 11.7, 11.5, 11.7, 11.5, 7.5);
    u.lineTo(11.5, 1.5);
    stroked(p, u, kInk, 1.8);
    filledRect(p, QRectF(3, 13, 10, 1.5), kBlue);
}

void drawStrikeOut(QPainter& p) {
    QPainterPath s;
    s.moveTo(11.4, 3.8);
    s.cubicTo(10.4, 1.6, 4.8, 1.6, 4.8, 4.8);
    s.cubicTo(4.8, 7.7, 11.4, 7.6, 11.4, 10.9);
    s.cubicTo(11.4, 14.4, 5.4, 14.4, 4.3, 11.9);
    stroked(p, s, kInk, 1.8);
    line(p, {2, 8.25}, {14, 8.25}, kRed, 1.5, Qt::FlatCap);
}

// ---------------------------------------------------------------- placement

// Four text lines two units high; each row gives x and width.
void textBars(QPainter& p, const qreal (&bars)[4][2]) {
    for (int i = 0; i < 4; ++i) {
        filledRect(p, QRectF(bars[i][0], 1 + 4 * i, bars[i][1], 2), kInk);
    }
}

void drawAlignLeft(QPainter& p) {
    const qreal bars[4][2] = {{1, 14}, {1, 9}, {1, 12}, {1, 7}};
    textBars(p, bars);
}

void drawAlignCenter(QPainter& p) {
    const qreal bars[4][2] = {{1, 14}, {4, 8}, {2, 12}, {5, 6}};
    textBars(p, bars);
}

void drawAlignRight(QPainter& p) {
    const qreal bars[4][2] = {{1, 14}, {6, 9}, {3, 12}, {8, 7}};
    textBars(p, bars);
}

void drawAlignJustify(QPainter& p) {
    const qreal bars[4][2] = {{1, 14}, {1, 14}, {1, 14}, {1, 8}};
    textBars(p, bars);
}

// A block between the margins, pushed to the middle from both sides.
void drawCenterBlock(QPainter& p) {
    line(p, {0.5, 2}, {0.5, 14}, kGrey, 1.0, Qt::FlatCap);
    line(p, {15.5, 2}, {15.5, 14}, kGrey, 1.0, Qt::FlatCap);
    outlinedRect(p, QRectF(5.5, 3.5, 5, 9), kLightBlue, kBlue);
    line(p, {7, 6}, {9, 6}, kBlue, 1.0, Qt::FlatCap);
    line(p, {7, 8}, {9, 8}, kBlue, 1.0, Qt::FlatCap);
    line(p, {7, 10}, {9, 10}, kBlue, 1.0, Qt::FlatCap);
    line(p, {1.5, 8}, {3.5, 8}, kInk, 1.0, Qt::FlatCap);
    line(p, {12.5, 8}, {14.5, 8}, kInk, 1.0, Qt::FlatCap);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(3, 5.5), QPointF(5, 8), QPointF(3, 10.5)}));
    p.drawPolygon(QPolygonF({QPointF(13, 5.5), QPointF(11, 8), QPointF(13, 10.5)}));
}

// The paragraph sign.
void drawParagraph(QPainter& p) {
    QPainterPath bowl;
    bowl.moveTo(8, 1.5);
    bowl.lineTo(6.5, 1.5);
    bowl.cubicTo(2.5, 1.5, 2.5, 8.5, 6.5, 8.5);
    bowl.lineTo(8, 8.5);
    bowl.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(bowl);
    filledRect(p, QRectF(6.5, 1, 7, 1.5), kInk);
    filledRect(p, QRectF(7.5, 1, 1.5, 14), kInk);
    filledRect(p, QRectF(11, 1, 1.5, 14), kInk);
}

// ---------------------------------------------------------------- frame layouts

// A page outline on an 18-unit square, split into panes. The main pane
// stays white, the other panes are tinted.
constexpr qreal kLo = 1.5, kHi = 16.5; // outline
constexpr qreal kTop = 5.5;            // lower edge of a top band
constexpr qreal kBottom = 12.5;        // upper edge of a bottom band
constexpr qreal kLeft = 5.5;           // right edge of a left column
constexpr qreal kRight = 12.5;         // left edge of a right column

void framePane(QPainter& p, qreal x1, qreal y1, qreal x2, qreal y2) {
    filledRect(p, QRectF(QPointF(x1, y1), QPointF(x2, y2)), kLightBlue);
}

void frameOutline(QPainter& p) {
    p.setPen(pen(kDarkBlue));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kLo, kLo, kHi - kLo, kHi - kLo));
}

void hDivider(QPainter& p, qreal y, qreal x1 = kLo, qreal x2 = kHi) {
    line(p, {x1, y}, {x2, y}, kDarkBlue);
}

void vDivider(QPainter& p, qreal x, qreal y1 = kLo, qreal y2 = kHi) {
    line(p, {x, y1}, {x, y2}, kDarkBlue);
}

void frameBackground(QPainter& p) {
    filledRect(p, QRectF(kLo, kLo, kHi - kLo, kHi - kLo), kPaper);
}

// top band over a main area
void drawFrames1(QPainter& p) {
    frameBackground(p);
    framePane(p, kLo, kLo, kHi, kTop);
    hDivider(p, kTop);
    frameOutline(p);
}

// top band, main area, bottom band
void drawFrames2(QPainter& p) {
    frameBackground(p);
    framePane(p, kLo, kLo, kHi, kTop);
    framePane(p, kLo, kBottom, kHi, kHi);
    hDivider(p, kTop);
    hDivider(p, kBottom);
    frameOutline(p);
}

// narrow left column beside a main area
void drawFrames3(QPainter& p) {
    frameBackground(p);
    framePane(p, kLo, kLo, kLeft, kHi);
    vDivider(p, kLeft);
    frameOutline(p);
}

// left column, main area, right column
void drawFrames4(QPainter& p) {
    frameBackground(p);
    framePane(p, kLo, kLo, kLeft, kHi);
    framePane(p, kRight, kLo, kHi, kHi);
    vDivider(p, kLeft);
    vDivider(p, kRight);
    frameOutline(p);
}

// top band and main area, both split by one left column: four panes
void drawFrames5(QPainter& p) {
    frameBackground(p);
    framePane(p, kLo, kLo, kHi, kTop);
    framePane(p, kLo, kTop, kLeft, kHi);
    hDivider(p, kTop);
    vDivider(p, kLeft);
    frameOutline(p);
}

// top band and main area, both split by a left and a right column: six panes
void drawFrames6(QPainter& p) {
    frameBackground(p);
    framePane(p, kLo, kLo, kHi, kTop);
    framePane(p, kLo, kTop, kLeft, kHi);
    framePane(p, kRight, kTop, kHi, kHi);
    hDivider(p, kTop);
    vDivider(p, kLeft);
    vDivider(p, kRight);
    frameOutline(p);
}

// ---------------------------------------------------------------- preview

void drawPreview(QPainter& p) {
    QPainterPath eye;
    eye.moveTo(0.5, 8);
    eye.cubicTo(4, 2.5, 12, 2.5, 15.5, 8);
    eye.cubicTo(12, 13.5, 4, 13.5, 0.5, 8);
    eye.closeSubpath();
    outlined(p, eye, kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8, 8), 3.2, 3.2);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(8, 8), 1.4, 1.4);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(6.9, 6.9), 0.8, 0.8);
}

void drawPreviewFile(QPainter& p) {
    sheet(p, 1.5, 0.5, 10.5, 13.5, 3);
    textLines(p, 3, 7, 3.5, 3);
    const QPointF c(11, 11);
    const qreal r = 4.5;
    p.setPen(pen(kDarkBlue));
    p.setBrush(kBlue);
    p.drawEllipse(c, r, r);
    p.setPen(pen(kLightBlue, 1.0, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 1.8, r - 0.5);
    p.drawLine(QPointF(c.x() - r + 0.5, c.y()), QPointF(c.x() + r - 0.5, c.y()));
}

// ---------------------------------------------------------------- table

struct GlyphDef {
    const char* name;
    int size;
    void (*draw)(QPainter&);
};

constexpr GlyphDef kGlyphs[] = {
    {"new", 16, drawNew},
    {"open", 16, drawOpen},
    {"save", 16, drawSave},
    {"print", 16, drawPrint},
    {"find", 16, drawFind},
    {"copy", 16, drawCopy},
    {"paste", 16, drawPaste},
    {"cut", 16, drawCut},
    {"bold", 16, drawBold},
    {"italic", 16, drawItalic},
    {"underline", 16, drawUnderline},
    {"strikeout", 16, drawStrikeOut},
    {"align-left", 16, drawAlignLeft},
    {"align-center", 16, drawAlignCenter},
    {"align-right", 16, drawAlignRight},
    {"align-justify", 16, drawAlignJustify},
    {"center-block", 16, drawCenterBlock},
    {"paragraph", 16, drawParagraph},
    {"frames-1", 18, drawFrames1},
    {"frames-2", 18, drawFrames2},
    {"frames-3", 18, drawFrames3},
    {"frames-4", 18, drawFrames4},
    {"frames-5", 18, drawFrames5},
    {"frames-6", 18, drawFrames6},
    {"preview", 16, drawPreview},
    {"preview-file", 16, drawPreviewFile},
};

QPixmap render(const GlyphDef& def, int ratio) {
    QPixmap pixmap(def.size * ratio, def.size * ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(ratio, ratio);
        def.draw(p);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QIcon glyph(const QString& name) {
    static QHash<QString, QIcon> cache;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd()) {
        return *cached;
    }
    for (const GlyphDef& def : kGlyphs) {
        if (name == QLatin1String(def.name)) {
            QIcon icon;
            icon.addPixmap(render(def, 1));
            icon.addPixmap(render(def, 2));
            cache.insert(name, icon);
            return icon;
        }
    }
    return QIcon();
}

} // namespace zelvar
