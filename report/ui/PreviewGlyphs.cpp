#include "report/ui/PreviewGlyphs.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor kKey(255, 0, 255);
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kBlue(0, 0, 160);
const QColor kYellow(230, 200, 60);
const QColor kGrey(128, 128, 128);

void Magnifier(QPainter& p, int x, int y)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawEllipse(x, y, 8, 8);
    p.setPen(QPen(kInk, 2));
    p.drawLine(x + 8, y + 8, x + 12, y + 12);
}

void Page(QPainter& p, const QRect& r)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(r);
}

void Arrow(QPainter& p, bool up)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(up ? QPolygon({QPoint(4, 10), QPoint(12, 10), QPoint(8, 5)})
                     : QPolygon({QPoint(4, 6), QPoint(12, 6), QPoint(8, 11)}));
}

} // namespace

QImage PreviewGlyph(TPreviewGlyph glyph)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter p(&image);
    switch (glyph) {
    case TPreviewGlyph::Zoom:
        Magnifier(p, 1, 1);
        break;
    case TPreviewGlyph::Open:
        p.setPen(kInk);
        p.setBrush(kYellow);
        p.drawPolygon(QPolygon({QPoint(1, 4), QPoint(6, 4), QPoint(7, 5), QPoint(13, 5), QPoint(13, 13), QPoint(1, 13)}));
        break;
    case TPreviewGlyph::Save:
        p.setPen(kInk);
        p.setBrush(kBlue);
        p.drawRect(1, 1, 13, 13);
        p.setBrush(kPaper);
        p.drawRect(4, 2, 7, 5);
        p.drawRect(4, 10, 7, 3);
        break;
    case TPreviewGlyph::Print:
        Page(p, QRect(4, 1, 7, 6));
        p.setBrush(kGrey);
        p.drawRect(1, 7, 13, 5);
        Page(p, QRect(4, 10, 7, 4));
        break;
    case TPreviewGlyph::PageSetup:
        Page(p, QRect(3, 1, 10, 13));
        p.setPen(QPen(kGrey, 1, Qt::DotLine));
        p.drawRect(5, 3, 6, 9);
        break;
    case TPreviewGlyph::Find:
        Page(p, QRect(1, 1, 9, 12));
        p.drawLine(3, 4, 7, 4);
        p.drawLine(3, 6, 7, 6);
        Magnifier(p, 5, 5);
        break;
    case TPreviewGlyph::Help: {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(14);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kBlue);
        p.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case TPreviewGlyph::Exit:
        p.setPen(QPen(QColor(160, 0, 0), 2));
        p.drawLine(3, 3, 12, 12);
        p.drawLine(12, 3, 3, 12);
        break;
    case TPreviewGlyph::PageUp:
    case TPreviewGlyph::PageDown:
        Arrow(p, glyph == TPreviewGlyph::PageUp);
        break;
    }
    return image;
}
