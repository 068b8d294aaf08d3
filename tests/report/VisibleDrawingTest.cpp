// Frames and underlines draw only what can show on the canvas: a memo or frame a million units
// across, or with lines a million units wide, costs a page's worth of lines, and what shows is
// what the whole object drawn there would show.
#include <gtest/gtest.h>

#include <span>

#include <QBuffer>
#include <QImage>
#include <QPaintEngine>
#include <QPageLayout>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPainter>

#include "ReportObjectsFixture.h"
#include "report/objects/MemoView.h"

namespace {

// A canvas of 200 x 200 pixels that counts the lines and shapes drawn on it.
class CountingEngine : public QPaintEngine {
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++drawn; }
    void drawLines(const QLineF*, int count) override { drawn += count; }
    void drawLines(const QLine*, int count) override { drawn += count; }
    void drawPath(const QPainterPath& path) override { drawn += path.elementCount(); }
    void drawPolygon(const QPointF*, int count, PolygonDrawMode) override { drawn += count; }
    void drawRects(const QRectF*, int count) override { drawn += count; }
    void drawTextItem(const QPointF&, const QTextItem&) override { ++drawn; }
    Type type() const override { return QPaintEngine::User; }

    int drawn = 0;
};

class CountingCanvas : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable CountingEngine engine;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 200;
        case PdmWidthMM:
        case PdmHeightMM:
            return 53;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }
};

class VisibleDrawing : public ReportObjects {
protected:
    VisibleDrawing()
    {
        context.PrintModeFlag = true;
        memo = Add<TrpMemoView>();
        memo->Flags = 0;
        memo->Font.Size = 8;
        memo->LineSpacing = 2;
        memo->FrameColor = 0;   // black
    }

    // The memo at the zoom, with the frame and flags given.
    void Shape(int left, int top, int width, int height, uint16_t sides, float frameWidth, uint16_t style,
               uint16_t flags, double zoom = 1)
    {
        memo->SetBounds(left, top, width, height);
        memo->FrameTyp = sides;
        memo->FrameWidth = frameWidth;
        memo->FrameStyle = style;
        memo->Flags = flags;
        memo->ZoomX = memo->ZoomY = zoom;
    }

    // The memo drawn on a white image of that size whose top-left corner is at origin.
    QImage Drawn(QSize size, QPoint origin = {})
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(-origin);
        memo->Draw(&painter);
        return image;
    }

    TrpMemoView* memo = nullptr;
};

TEST(VisibleCanvasArea, TheDeviceWithinTheClipInLogicalPixels)
{
    QImage image(200, 150, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_EQ(VisibleCanvasArea(painter), QRect(0, 0, 200, 150));
    painter.translate(-50, 20);
    painter.scale(2, 2);
    EXPECT_EQ(VisibleCanvasArea(painter), QRect(25, -10, 100, 75));
    painter.setClipRect(30, 0, 10, 1000);
    EXPECT_EQ(VisibleCanvasArea(painter), QRect(30, 0, 10, 65));
    painter.resetTransform();
    painter.setClipping(false);
    painter.scale(0, 1);
    EXPECT_TRUE(VisibleCanvasArea(painter).isEmpty()) << "a canvas scaled to nothing";
    painter.end();

    // A sheet's origin is the corner of its printable area; its margins show what is drawn there.
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&file);
    pdf.setResolution(254);   // 10 pixels a millimetre
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 10, 5, 10),
                                  QPageLayout::Millimeter));
    QPainter sheet(&pdf);
    // Qt rounds the page to whole points first: a pixel either way.
    const QRect area = VisibleCanvasArea(sheet);
    EXPECT_NEAR(area.left(), -50, 1);
    EXPECT_NEAR(area.top(), -100, 1);
    EXPECT_NEAR(area.width(), 2100, 1);
    EXPECT_NEAR(area.height(), 2970, 1);
}

TEST_F(VisibleDrawing, HugeMemosAndFramesDrawAPageOfLines)
{
    constexpr int kHuge = 1'000'000;
    const struct {
        const char* what;
        int left, top, size;
        float frameWidth;
        uint16_t style;
        uint16_t flags;
        double zoom;
    } cases[] = {
        {"underlines of a huge memo", 10, 10, kHuge, 1, psSolid, mfUnderlines, 1},
        {"underlines of a huge memo on a printer's scale", 10, 10, kHuge, 1, psSolid, mfUnderlines, 12.5},
        {"underlines of a memo starting far above", 10, -kHuge, kHuge, 1, psSolid, mfUnderlines, 1},
        {"underlines a huge width wide", 10, 10, kHuge, kHuge, psSolid, mfUnderlines, 1},
        {"a huge solid frame", 10, 10, kHuge, 3, psSolid, 0, 1},
        {"a huge dashed frame", -kHuge + 100, -kHuge + 100, kHuge, 3, psDash, 0, 1},
        {"dashed sides a huge width wide", 10, 10, 100, kHuge, psDashDot, 0, 1},
        {"dashed sides a huge width wide on a printer's scale", 10, 10, 100, kHuge, psDot, 0, 12.5},
        {"double sides a huge width wide", 10, 10, 100, kHuge, psDouble, 0, 1},
    };
    for (const auto& c : cases) {
        Shape(c.left, c.top, c.size, c.size, frAllSides, c.frameWidth, c.style, c.flags, c.zoom);
        CountingCanvas canvas;
        {
            QPainter painter(&canvas);
            memo->Draw(&painter);
        }
        EXPECT_GT(canvas.engine.drawn, 0) << c.what;
        EXPECT_LE(canvas.engine.drawn, 1000) << c.what;
    }
}

TEST_F(VisibleDrawing, ClipBoundsTheLinesToo)
{
    Shape(0, 0, 150, 1'000'000, frAllSides, 1, psSolid, mfUnderlines);
    CountingCanvas canvas;
    {
        QPainter painter(&canvas);
        painter.setClipRect(0, 100, 200, 20);
        memo->Draw(&painter);
    }
    // The two sides, and the rules 13 pixels apart that cross the 20 rows with a neighbour.
    EXPECT_LE(canvas.engine.drawn, 8);
}

TEST_F(VisibleDrawing, TheVisiblePartOfAHugeMemoIsRuledAndFramed)
{
    Shape(10, 10, 1'000'000, 1'000'000, frAllSides, 1, psSolid, mfUnderlines);
    const QImage image = Drawn(QSize(200, 200));
    const QColor black(Qt::black), white(Qt::white);
    // Rules every 2 + 11 pixels (an 8-point font is 11 pixels high), the first at 10 + 1
    // (GapY) + 2 + 11 = 24. A one-pixel line inks the pixels past its start point.
    for (int y = 11; y < 200; ++y) {
        const bool ruled = y >= 24 && (y - 24) % 13 == 0;
        EXPECT_EQ(image.pixelColor(100, y), ruled ? black : white) << y;
        EXPECT_EQ(image.pixelColor(199, y), ruled ? black : white) << y;
        EXPECT_EQ(image.pixelColor(10, y), black) << "left side " << y;
        EXPECT_EQ(image.pixelColor(9, y), white) << y;
    }
    for (int x = 11; x < 200; ++x) {
        EXPECT_EQ(image.pixelColor(x, 10), black) << "top side " << x;
        EXPECT_EQ(image.pixelColor(x, 9), white) << x;
    }

    // Sides a million pixels wide cover the whole image, as do their dashes side by side.
    for (const uint16_t style : {psSolid, psDash, psDouble}) {
        Shape(10, 10, 1'000'000, 1'000'000, frAllSides, 1'000'000, style, mfUnderlines);
        const QImage covered = Drawn(QSize(200, 200));
        EXPECT_EQ(covered.pixelColor(0, 0), black) << style;
        EXPECT_EQ(covered.pixelColor(199, 199), black) << style;
        EXPECT_EQ(covered.pixelColor(100, 30), black) << style;
    }
}

TEST_F(VisibleDrawing, APartOfAFrameLooksAsInTheWholeDrawing)
{
    // The memo from 100 to 2400 whole on a large image, and seen through small windows: its
    // lines cut at a window keep their widths, ends and dashes. (Where the canvas cuts a dashed
    // line at its start, Qt starts the dashes afresh at the canvas's edge, however the line was
    // drawn: those windows show dashes only where the line starts inside them.)
    const QPoint windows[] = {{0, 0}, {1200, 1200}, {2300, 2300}, {2300, 50}, {50, 2300}};
    const QSize whole(2600, 2600);
    for (const uint16_t style : {psSolid, psDash, psDot, psDashDot, psDashDotDot, psDouble})
        for (const float width : {1.0f, 3.0f, 40.0f})
            for (const uint16_t flags : {uint16_t(0), uint16_t(mfUnderlines)}) {
                Shape(100, 100, 2300, 2300, frAllSides, width, style, flags);
                memo->FillColor = style == psDot ? clTransparent : TColor(0x00FFFF);
                const QImage all = Drawn(whole);
                const bool dashed = style != psSolid && style != psDouble;
                for (const QPoint origin : dashed ? std::span(windows, 2) : std::span(windows))
                    EXPECT_EQ(Drawn(QSize(200, 200), origin), all.copy(QRect(origin, QSize(200, 200))))
                        << "style " << style << ", width " << width << ", flags " << flags << " at " << origin.x()
                        << ", " << origin.y();
            }
}

}  // namespace
