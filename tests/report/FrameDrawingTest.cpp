// Frames drawn side by side as one path per pen: every side combination keeps its lines, widths
// and styles, and what a frame sets on the canvas (its pen, a dashed frame's background) changes
// nothing of the text drawn after it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ReportObjectsFixture.h"
#include "report/objects/MemoView.h"

namespace {

const QColor kBlue(0, 0, 255), kYellow(255, 255, 0), kWhite(Qt::white);

class FrameDrawing : public ReportObjects {
protected:
    FrameDrawing()
    {
        context.PrintModeFlag = true;
        memo = Add<TrpMemoView>();
        memo->Flags = 0;
        memo->FrameColor = 0xFF0000;   // blue
    }

    QImage Drawn()
    {
        QImage image(80, 70, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        memo->Draw(&painter);
        return image;
    }

    TrpMemoView* memo = nullptr;
};

// The memo from (20, 20) to (60, 50): each side's line runs through those rows and columns.
TEST_F(FrameDrawing, EverySideCombinationWidthAndStyle)
{
    struct Side {
        uint16_t bit;
        QPoint middle;   // the middle of its line
        QPoint across;   // one pixel outwards
    };
    const Side sides[] = {{frRight, {60, 35}, {1, 0}},
                          {frLeft, {20, 35}, {-1, 0}},
                          {frBottom, {40, 50}, {0, 1}},
                          {frTop, {40, 20}, {0, -1}}};
    for (const bool filled : {false, true})
        for (const float width : {1.0f, 3.0f})
            for (int combination = 0; combination < 16; ++combination) {
                memo->SetBounds(20, 20, 40, 30);
                memo->FrameTyp = uint16_t(combination);
                memo->FrameWidth = width;
                memo->FillColor = filled ? 0x00FFFF : clTransparent;
                // The fill covers the memo's own rectangle, short of the right and bottom lines.
                const auto background = [filled](QPoint p) {
                    return filled && QRect(20, 20, 40, 30).contains(p) ? kYellow : kWhite;
                };
                const int half = int(width) / 2;   // a line of 3 covers one more pixel each way
                const auto where = [&](const Side& side) {
                    return "sides " + std::to_string(combination) + ", side " + std::to_string(side.bit) +
                           ", width " + std::to_string(int(width)) + (filled ? ", filled" : "");
                };

                memo->FrameStyle = psSolid;
                QImage image = Drawn();
                for (const Side& side : sides) {
                    const bool drawn = combination & side.bit;
                    const QPoint width1 = side.across * half;
                    const QPoint width2 = side.across * (half + 1);
                    for (const QPoint p : {side.middle, side.middle + width1, side.middle - width1})
                        EXPECT_EQ(image.pixelColor(p), drawn ? kBlue : background(p)) << where(side);
                    for (const QPoint p : {side.middle + width2, side.middle - width2})
                        EXPECT_EQ(image.pixelColor(p), background(p)) << where(side);
                }

                // Double: lines of the width a width away on either side, the fill's colour
                // (white without one) between them.
                memo->FrameStyle = psDouble;
                image = Drawn();
                const int apart = int(width);
                for (const Side& side : sides) {
                    const bool drawn = combination & side.bit;
                    const QColor between = filled ? kYellow : kWhite;
                    EXPECT_EQ(image.pixelColor(side.middle), drawn ? between : background(side.middle)) << where(side);
                    for (const QPoint p : {side.middle + side.across * apart, side.middle - side.across * apart})
                        EXPECT_EQ(image.pixelColor(p), drawn ? kBlue : background(p)) << where(side);
                }

                // Dashes of 18 pixels and gaps of 6 from the pixel after each side's start (its
                // top or left end, at 20), on every one-pixel line of a wide side; the gaps take
                // the fill's colour.
                memo->FrameStyle = psDash;
                image = Drawn();
                for (const Side& side : sides) {
                    const bool drawn = combination & side.bit;
                    const bool upright = side.across.y() == 0;
                    for (int offset = -half; offset <= half; ++offset)
                        for (int along = 21; along < 50; ++along) {
                            const QPoint pixel = upright ? QPoint(side.middle.x() + offset, along)
                                                         : QPoint(along, side.middle.y() + offset);
                            const bool dash = (along - 21) % 24 < 18;
                            // Where the sides cross, the one drawn later lays its dashes over.
                            if (along - 20 <= half || (upright && along >= 50 - half))
                                continue;
                            const QColor gap = filled ? kYellow : kWhite;
                            EXPECT_EQ(image.pixelColor(pixel), !drawn ? background(pixel) : dash ? kBlue : gap)
                                << where(side) << " at " << along << ", offset " << offset;
                        }
                }
            }
}

TEST_F(FrameDrawing, TextAfterAFrameTakesItsOwnColourAndNoBackground)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    // A red dashed frame with a fill, its text read right to left, then a memo of blue text
    // without frame or fill.
    memo->SetBounds(0, 0, 90, 40);
    memo->FrameTyp = frAllSides;
    memo->FrameWidth = 3;
    memo->FrameStyle = psDash;
    memo->FrameColor = 0x0000FF;
    memo->FillColor = 0x00FFFF;
    memo->Flags = mfRtlReading;
    memo->Memo = {QStringLiteral("ЖЖЖ")};
    memo->Draw(&painter);
    auto* text = Add<TrpMemoView>();
    text->Flags = 0;
    text->SetBounds(100, 0, 90, 40);
    text->Font.Size = 14;
    text->Font.Color = 0xFF0000;
    text->Memo = {QStringLiteral("ЖЖЖ")};
    text->Draw(&painter);
    painter.end();
    int blue = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 100; x < 200; ++x) {
            const QColor pixel = image.pixelColor(x, y);
            EXPECT_TRUE(pixel.red() == pixel.green() && pixel.blue() >= pixel.red()) << x << ", " << y;
            blue += pixel == kBlue ? 1 : 0;
        }
    EXPECT_GT(blue, 20) << "the text";
    // The second memo's text starts at the left (the first one's direction went with it).
    int leftInk = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 100; x < 130; ++x)
            leftInk += image.pixelColor(x, y) != kWhite ? 1 : 0;
    EXPECT_GT(leftInk, 10);
}

}  // namespace
