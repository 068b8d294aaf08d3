#pragma once
// How the preview lays its pages out in the page box: the scale a zoom mode gives, how many
// pages stand side by side, each page's rectangle (box pixels before scrolling) and the ranges
// of the two scroll bars. Pages go in rows from (10, 10), 10 pixels apart; the scale is box
// pixels per page unit.
#include <cstdint>
#include <vector>

#include <QRect>
#include <QSize>

struct TrpEMFPage;

// The zoom modes: a fixed scale, the page width, the whole page, two pages side by side.
enum TrpScaleMode : uint8_t { smFixed = 0, smPageWidth = 1, smWholePage = 2, smTwoPages = 3 };

// The scale a mode gives for the box, from the current page's size in page units; a fixed
// scale stays, and so does any scale while the page has no size. A box too small for the mode
// gives the smallest scale rather than none.
double ModeScale(TrpScaleMode mode, double scale, QSize box, QSize page);

// How many pages stand in a row: the longest run of pages that fits the box's width at the
// scale (at least 1); one for the whole page, two for two pages.
int PagesPerRow(const std::vector<QSize>& pages, double scale, int boxWidth, TrpScaleMode mode);

struct TrpPagesLayout {
    std::vector<QRect> PageRects;   // in page order
    int HorzRange = 0;              // the scroll bars' ranges; 0: the pages fit
    int VertRange = 0;
};

// The pages (sizes in page units) laid out at the scale: rows of PagesPerRow pages, each row as
// high as its tallest page; a page alone in its row and narrower than the box is centred.
TrpPagesLayout LayOutPages(const std::vector<QSize>& pages, double scale, QSize box, TrpScaleMode mode);

// Where a page's objects are drawn inside its layout rectangle: the whole rectangle, or for a
// page whose margins are off, its printable area inside the margins.
QRect PageDrawRect(const TrpEMFPage& page, const QRect& pageRect, double scale);
