#pragma once
// The character grid of one exported page: the text lines the page's memos drew, collected by
// grid line (TrpExportFilter::Lines), laid out into output lines of characters, with the memos'
// frames drawn in cells of their own.
//
// A frame cell holds a direction mask (1 up, 2 right, 4 down, 8 left) rather than a character,
// so that frames meeting in a cell join into tees and crosses, and no character of the text can
// be taken for a frame piece or the other way round. The writer turns masks into characters.
#include <cstdint>
#include <vector>

#include <QString>

#include "report/export/ExportFilter.h"

enum TFrameDirection : uint8_t { fdUp = 1, fdRight = 2, fdDown = 4, fdLeft = 8 };

// One output line.
struct TTextLine {
    QString Text;
    // The frame mask of each cell, 0 for a character; cells past its end hold characters. The
    // text holds a blank in a frame piece's cell.
    std::vector<uint8_t> Frame;
    bool PageBreak = false;   // the line that ends a page (a form feed)

    uint8_t FrameAt(qsizetype cell) const { return cell < qsizetype(Frame.size()) ? Frame[size_t(cell)] : 0; }
    // Whether a cell holds a character other than a blank.
    bool HasText() const;
};

struct TTextLayoutOptions {
    double ScaleX = 1.0;   // one character per 6.5 / ScaleX page units
    bool KillEmptyLines = true;
    bool ExportFrames = false;
    // The page's width in characters: text starting past it, and frame pieces past the cell
    // after it, lie off the page and are left out, so no line grows beyond the page.
    int PageColumns = 0;
};

// The output lines of a page. Grid lines after the last one holding text give none; grid lines
// before it without text (none, or only blanks) give their lines unless KillEmptyLines; a line
// a frame needs stays either way. Each record is placed at its column
// (right-aligned memos end at their rectangle's right edge, or just before a right frame drawn
// there; centred ones are centred in it);
// a record that would start inside the text before it follows that text directly.
std::vector<TTextLine> LayOutTextPage(const std::vector<std::vector<TrpTextRec>>& grid,
                                      const TTextLayoutOptions& options);
