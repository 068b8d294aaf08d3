// The preview's layout arithmetic: the scale of each zoom mode, pages side by side, where each
// page goes and how far the view scrolls.
#include <gtest/gtest.h>

#include "report/ui/PreviewLayout.h"

namespace {

const QSize kA4(758, 1071);          // page units
const QSize kA4Landscape(1071, 758);

TEST(PreviewLayout, ZoomModesScaleToTheBox)
{
    const struct {
        TrpScaleMode mode;
        QSize box;
        QSize page;
        double scale;   // expected
    } cases[] = {
        {smFixed, {800, 600}, kA4, 0.75},                        // stays as it was
        {smPageWidth, {778, 600}, kA4, 1.0},                     // (W - 20) / page width
        {smPageWidth, {399, 600}, kA4, 379.0 / 758},
        {smWholePage, {800, 1091}, kA4, 1.0},                    // (H - 20) / page height
        {smWholePage, {800, 556}, kA4, 536.0 / 1071},
        {smTwoPages, {1546, 600}, kA4, 1.0},                     // (W - 30) / two page widths
        {smTwoPages, {1000, 600}, kA4Landscape, 970.0 / 2142},
        {smPageWidth, {10, 10}, kA4, 0.01},                      // a box too small: the smallest
        {smPageWidth, {800, 600}, QSize(0, 0), 0.75},            // a page without paper keeps it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " box " << c.box.width() << "x"
                                        << c.box.height());
        EXPECT_DOUBLE_EQ(ModeScale(c.mode, 0.75, c.box, c.page), c.scale);
    }
}

TEST(PreviewLayout, PagesSideBySideAsManyAsFitTheWidth)
{
    const std::vector<QSize> five(5, QSize(100, 140));
    const struct {
        std::vector<QSize> pages;
        double scale;
        int boxWidth;
        TrpScaleMode mode;
        int perRow;
    } cases[] = {
        {five, 1.0, 109, smFixed, 1},    // not even one fits: still one
        {five, 1.0, 120, smFixed, 1},    // 10 + 100 + 10
        {five, 1.0, 229, smFixed, 1},
        {five, 1.0, 230, smFixed, 2},    // 10 + 100 + 10 + 100 + 10
        {five, 1.0, 560, smFixed, 5},
        {five, 2.0, 560, smFixed, 2},
        {five, 0.5, 560, smWholePage, 1},   // whole page: one, however many would fit
        {five, 4.0, 560, smTwoPages, 2},    // two pages: two, however wide
        {{QSize(100, 140)}, 1.0, 1000, smTwoPages, 2},
        {{}, 1.0, 560, smFixed, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PagesPerRow(c.pages, c.scale, c.boxWidth, c.mode), c.perRow)
            << "scale " << c.scale << " width " << c.boxWidth << " mode " << int(c.mode);
}

TEST(PreviewLayout, PagesGoInRowsAndTheRangesReachTheLastEdges)
{
    const struct {
        const char* what;
        std::vector<QSize> pages;
        double scale;
        QSize box;
        TrpScaleMode mode;
        std::vector<QRect> rects;
        int horz, vert;
    } cases[] = {
        {"a page narrower than the box is centred", {QSize(100, 140)}, 1.0, {301, 200}, smFixed,
         {QRect(100, 10, 100, 140)}, 0, 0},
        {"a page wider than the box starts at 10", {QSize(400, 140)}, 1.0, {300, 200}, smFixed,
         {QRect(10, 10, 400, 140)}, 120, 0},
        {"rows below rows, each as tall as its tallest page", {QSize(100, 140), QSize(100, 160), QSize(100, 140)},
         1.0, {230, 200}, smFixed, {QRect(10, 10, 100, 140), QRect(120, 10, 100, 160), QRect(10, 180, 100, 140)},
         0, 130},
        {"two pages of one: left at 10 at the two-page scale", {QSize(100, 140)}, 2.0, {500, 400}, smTwoPages,
         {QRect(10, 10, 200, 280)}, 0, 0},
        {"scaled sizes round halves to even", {QSize(101, 141)}, 0.5, {40, 40}, smFixed,
         {QRect(10, 10, 50, 70)}, 30, 50},
        {"pages that end inside the box do not scroll", {QSize(100, 100), QSize(100, 100)}, 1.0, {235, 115}, smFixed,
         {QRect(10, 10, 100, 100), QRect(120, 10, 100, 100)}, 0, 0},
        {"no pages", {}, 1.0, {300, 200}, smFixed, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TrpPagesLayout layout = LayOutPages(c.pages, c.scale, c.box, c.mode);
        EXPECT_EQ(layout.PageRects, c.rects);
        EXPECT_EQ(layout.HorzRange, c.horz);
        EXPECT_EQ(layout.VertRange, c.vert);
    }
}

} // namespace
