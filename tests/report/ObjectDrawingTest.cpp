// Report objects on a canvas: their rectangle inside the frame lines at a zoom, their place by
// band alignment, the expansion of bracketed expressions, and a memo drawn into an image.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ReportObjectsFixture.h"
#include "report/objects/MemoView.h"

namespace {

using ObjectDrawing = ReportObjects;

TEST_F(ObjectDrawing, DrawRectLiesInsideTheFrameLines)
{
    const struct {
        uint16_t sides;
        float width;
        double zoom;
        int shift;
        TrpRect rect;
        int gapX, gapY;
    } cases[] = {
        // At zoom 1 a one-unit frame moves no edge: every correction is Round(0.5) = 0.
        {frAllSides, 1, 1, 0, {10, 20, 41, 61}, 2, 1},
        {0, 3, 1, 0, {10, 20, 41, 61}, 4, 2},
        {frAllSides, 2, 1, 0, {10, 20, 40, 60}, 3, 1},
        {frAllSides, 3, 1, 0, {11, 21, 39, 59}, 4, 2},
        {frRight | frBottom, 3, 1, 0, {10, 20, 39, 59}, 4, 2},
        {frAllSides, 1, 2, 5, {25, 45, 85, 125}, 5, 2},
    };
    context.PrintModeFlag = true;
    TrpView* view = Add<TrpView>();
    for (const auto& c : cases) {
        view->SetBounds(10, 20, 30, 40);
        view->FrameTyp = c.sides;
        view->FrameWidth = c.width;
        view->ZoomX = view->ZoomY = c.zoom;
        view->ShiftX = view->ShiftY = c.shift;
        view->SaveAndScaleCoords();
        EXPECT_EQ(view->DrawRect, c.rect) << c.sides << " " << c.width << " at " << c.zoom;
        EXPECT_EQ(std::tie(view->GapX, view->GapY), std::tie(c.gapX, c.gapY)) << c.width << " at " << c.zoom;
        view->RestoreCoords();
        EXPECT_EQ(std::make_tuple(view->Left, view->Top, view->Width, view->Height, view->GapX, view->FrameWidth),
                  std::make_tuple(10, 20, 30, 40, 2, c.width));
    }
    // Outside print mode (a designer) the zoom is 1.
    context.PrintModeFlag = false;
    view->SaveAndScaleCoords();
    EXPECT_EQ(view->DrawRect, (TrpRect{10, 20, 41, 61}));
    view->RestoreCoords();
}

TEST_F(ObjectDrawing, BandAlignmentPlacesObjectsOnThePage)
{
    const auto place = [this](TrpView* v, uint8_t align, int left, int top, int width) {
        v->BandAlign = align;
        v->SetBounds(left, top, width, 10);
    };
    place(Add<TrpView>(), baLeft, 50, 10, 40);     // the left neighbour: ends at 90
    place(Add<TrpView>(), baRight, 500, 10, 60);   // the right neighbour
    place(Add<TrpView>(), baLeft, 120, 30, 10);    // on another line
    TrpView* view = Add<TrpView>();
    context.PrintModeFlag = true;
    context.CurrentPage = page;
    page->MarginsOn = false;   // printing spans the whole paper, 758 wide
    const struct {
        uint8_t align;
        int left, width;
        int placedLeft, placedWidth;
    } cases[] = {
        {baNone, 200, 100, 200, 100},
        {baLeft, 200, 100, 90, 100},
        {baRight, 200, 100, 399, 100},
        {baRight, 600, 100, 658, 100},   // no neighbour further right: against the page's right edge
        {baCenter, 200, 100, 329, 100},  // margins off: across the whole paper
        {baWidth, 200, 100, 0, 757},
        {baRest, 200, 100, 90, 410},
        {baBottom, 200, 100, 200, 100},
        {9, 200, 100, 200, 100},         // out of range: left alone
    };
    for (const auto& c : cases) {
        place(view, c.align, c.left, 10, c.width);
        const TrpViewScope current = view->BeginDraw(nullptr);
        EXPECT_EQ(std::tie(view->Left, view->Width), std::tie(c.placedLeft, c.placedWidth)) << int(c.align);
        EXPECT_EQ(context.CurrentView, view);
    }
    EXPECT_EQ(context.CurrentView, nullptr) << "the object is current only while drawn";

    page->MarginsOn = true;
    page->LeftMargin = 50;
    page->PaperGeometry.OffsetX = 18;
    page->PaperGeometry.PrintWidth = 722;   // right limit 740
    place(view, baCenter, 0, 10, 100);
    (void)view->BeginDraw(nullptr);
    EXPECT_EQ(view->Left, 345);

    // While a band prints, this object stands at the band's top and its band mates do not.
    TrpBand band(btMasterData, page);
    band.Top = 300;
    for (const auto& object : page->Objects)
        object->OwnerBand = &band;
    context.CurrentBand = &band;
    place(view, baLeft, 200, 310, 100);
    (void)view->BeginDraw(nullptr);
    EXPECT_EQ(view->Left, 90);
    context.CurrentBand = nullptr;
}

TEST_F(ObjectDrawing, ExpandTextReplacesBracketsOnce)
{
    TrpView* view = Add<TrpView>();
    context.CurrentView = view;
    context.PageNo = 2;
    const struct {
        const char* text;
        const char* expanded;
    } cases[] = {
        {"Страница № [PAGE#]", "Страница № 3"},
        {"[PAGE#]/[PAGE#]", "3/3"},
        {"['a[PAGE#]']", "a[PAGE#]"},   // a value's own brackets stay
        {"без скобок", "без скобок"},
        {"", ""},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf8(c.text);
        view->ExpandText(text);
        EXPECT_EQ(text, QString::fromUtf8(c.expanded)) << c.text;
    }
}

QColor Pixel(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

TEST_F(ObjectDrawing, MemoWithFrameDrawsIntoAnImage)
{
    auto* memo = Add<TrpMemoView>();
    memo->SetBounds(10, 10, 80, 30);
    memo->FrameTyp = frAllSides;
    memo->FillColor = 0x00FFFF;   // yellow
    memo->Memo = {QStringLiteral("ЖЖЖ")};
    context.PrintModeFlag = true;
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        memo->Draw(&painter);
    }
    const QColor black(Qt::black), yellow(Qt::yellow), white(Qt::white);
    EXPECT_EQ(Pixel(image, 10, 25), black) << "left side";
    EXPECT_EQ(Pixel(image, 90, 25), black) << "right side";
    EXPECT_EQ(Pixel(image, 50, 10), black) << "top side";
    EXPECT_EQ(Pixel(image, 50, 40), black) << "bottom side";
    EXPECT_EQ(Pixel(image, 80, 35), yellow) << "inside";
    EXPECT_EQ(Pixel(image, 5, 5), white) << "outside";
    int inked = 0;
    for (int y = 11; y < 26; ++y)
        for (int x = 12; x < 45; ++x)
            inked += Pixel(image, x, y).lightness() < 100 ? 1 : 0;
    EXPECT_GT(inked, 20) << "the text";
}

TEST_F(ObjectDrawing, NoFillPaintsNothingInAPreviewButWhiteForADesigner)
{
    TrpView* view = Add<TrpView>();
    view->SetBounds(2, 2, 10, 10);
    for (const bool preview : {true, false}) {
        context.PrintModeFlag = preview;
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        const TrpViewScope current = view->BeginDraw(&painter);
        view->SaveAndScaleCoords();
        view->DrawBackground();
        view->RestoreCoords();
        painter.end();
        EXPECT_EQ(Pixel(image, 6, 6), preview ? QColor(Qt::gray) : QColor(Qt::white)) << preview;
    }
}

}  // namespace
