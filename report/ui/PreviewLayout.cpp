#include "report/ui/PreviewLayout.h"

#include <algorithm>

#include "base/Rounding.h"
#include "report/engine/EMFPages.h"

namespace {

constexpr int kGap = 10;   // around and between the pages
constexpr double kSmallestScale = 0.01;

int Scaled(int units, double scale)
{
    return int(Round(units * scale));
}

// The pages end inside the box: no scrolling; else up to their end and the gap after it.
int ScrollRange(int end, int boxLength)
{
    return end < boxLength ? 0 : end - boxLength + kGap;
}

} // namespace

double ModeScale(TrpScaleMode mode, double scale, QSize box, QSize page)
{
    if (mode == smFixed || page.width() <= 0 || page.height() <= 0)
        return scale;
    double result = scale;
    if (mode == smPageWidth)
        result = double(box.width() - 2 * kGap) / page.width();
    else if (mode == smWholePage)
        result = double(box.height() - 2 * kGap) / page.height();
    else if (mode == smTwoPages)
        result = double(box.width() - 3 * kGap) / (2.0 * page.width());
    return std::max(result, kSmallestScale);
}

int PagesPerRow(const std::vector<QSize>& pages, double scale, int boxWidth, TrpScaleMode mode)
{
    if (mode == smWholePage)
        return 1;
    if (mode == smTwoPages)
        return 2;
    int x = kGap;
    int count = 0;
    int best = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        const int end = Scaled(pages[i].width(), scale) + x + kGap;
        if (boxWidth < end) {
            // The page does not fit: a new run starts after it.
            best = std::max(best, count);
            count = 0;
            x = kGap;
            continue;
        }
        x = end;
        ++count;
        if (i + 1 == pages.size())
            best = std::max(best, count);
    }
    return std::max(best, 1);
}

TrpPagesLayout LayOutPages(const std::vector<QSize>& pages, double scale, QSize box, TrpScaleMode mode)
{
    TrpPagesLayout layout;
    const size_t perRow = size_t(PagesPerRow(pages, scale, box.width(), mode));
    int right = 0;
    int bottom = 0;
    int y = kGap;
    for (size_t first = 0; first < pages.size(); first += perRow) {
        int x = kGap;
        int rowHeight = 0;
        for (size_t i = first; i < std::min(first + perRow, pages.size()); ++i) {
            const int width = Scaled(pages[i].width(), scale);
            const int height = Scaled(pages[i].height(), scale);
            const int left = perRow == 1 && width < box.width() ? (box.width() - width) / 2 : x;
            layout.PageRects.emplace_back(left, y, width, height);
            x += width + kGap;
            rowHeight = std::max(rowHeight, height);
            right = std::max(right, left + width);
            bottom = std::max(bottom, y + height);
        }
        y += rowHeight + kGap;
    }
    layout.HorzRange = ScrollRange(right, box.width());
    layout.VertRange = ScrollRange(bottom, box.height());
    return layout;
}

QRect PageDrawRect(const TrpEMFPage& page, const QRect& pageRect, double scale)
{
    if (page.MarginsOn)
        return pageRect;
    const TPaperGeometry& g = page.PaperGeometry;
    return QRect(pageRect.left() + Scaled(g.OffsetX + page.LeftMargin, scale),
                 pageRect.top() + Scaled(g.OffsetY + page.TopMargin, scale),
                 Scaled(g.PrintWidth - page.LeftMargin - page.RightMargin, scale),
                 Scaled(g.PrintHeight - page.TopMargin - page.BottomMargin, scale));
}
