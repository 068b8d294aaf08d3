#include "report/ui/RichFormGlyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kKey(255, 0, 255);
const QColor kInk(0, 0, 0);

// A letter in the glyph: bold, italic or underlined as the style button it stands for.
void Letter(QPainter& p, const QString& letter, bool bold, bool italic, bool underline)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(13);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, letter);
}

// Lines of text, each from left to right: the alignment buttons.
void TextLines(QPainter& p, const int (&from)[4], const int (&to)[4])
{
    p.setPen(kInk);
    for (int i = 0; i < 4; ++i)
        p.drawLine(from[i], 3 + 3 * i, to[i], 3 + 3 * i);
}

}  // namespace

QImage RichFormGlyph(TRichGlyph glyph)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter p(&image);
    switch (glyph) {
    case TRichGlyph::Undo: {
        QPainterPath arc;
        arc.moveTo(4, 7);
        arc.cubicTo(7, 2, 14, 4, 12, 12);
        p.setPen(QPen(kInk, 1.5));
        p.drawPath(arc);
        const QPoint head[] = {{1, 5}, {6, 3}, {5, 9}};
        p.setBrush(kInk);
        p.drawPolygon(head, 3);
        break;
    }
    case TRichGlyph::Font: Letter(p, QStringLiteral("A"), false, false, false); break;
    case TRichGlyph::Bold: Letter(p, QStringLiteral("B"), true, false, false); break;
    case TRichGlyph::Italic: Letter(p, QStringLiteral("I"), false, true, false); break;
    case TRichGlyph::Underline: Letter(p, QStringLiteral("U"), false, false, true); break;
    case TRichGlyph::AlignLeft: TextLines(p, {2, 2, 2, 2}, {13, 9, 12, 7}); break;
    case TRichGlyph::AlignCenter: TextLines(p, {2, 4, 3, 5}, {13, 11, 12, 10}); break;
    case TRichGlyph::AlignRight: TextLines(p, {2, 6, 3, 8}, {13, 13, 13, 13}); break;
    case TRichGlyph::Bullets:
        TextLines(p, {6, 6, 6, 6}, {13, 11, 13, 10});
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (int i = 0; i < 4; ++i)
            p.drawRect(2, 2 + 3 * i, 2, 2);
        break;
    case TRichGlyph::Expression: {
        // A bracketed expression: [ ... ]
        p.setPen(kInk);
        const QPoint left[] = {{5, 2}, {2, 2}, {2, 13}, {5, 13}};
        const QPoint right[] = {{10, 2}, {13, 2}, {13, 13}, {10, 13}};
        p.drawPolyline(left, 4);
        p.drawPolyline(right, 4);
        for (const int x : {5, 7, 9})
            p.drawPoint(x, 10);
        break;
    }
    case TRichGlyph::Ok:
        p.setPen(QPen(QColor(0, 130, 0), 2));
        p.drawLine(2, 8, 6, 12);
        p.drawLine(6, 12, 13, 3);
        break;
    }
    return image;
}
