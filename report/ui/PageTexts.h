#pragma once
// The texts a prepared page draws, for the preview's search: the page is drawn at zoom 1 on a
// device that keeps only the text outputs, in drawing order, with their boxes in page units.
// Pieces of one output that Qt hands over separately (a change of script or of fallback font
// inside a line) come back joined, so a line is one record as it was one output.
#include <optional>
#include <vector>

#include <QRect>
#include <QRectF>
#include <QString>

class TrpEMFPages;

struct TrpDrawnText {
    QString Text;
    QRectF Bounds;   // page units
};

// The page's texts as drawn into drawRect (page units). The page's live objects stay; a page
// whose objects cannot be read raises as drawing it does.
std::vector<TrpDrawnText> DrawnTexts(TrpEMFPages& pages, int index, const QRect& drawRect);

struct TrpTextHit {
    int Record = 0;   // the index of the text record found
    QRect Bounds;     // its box in page units
};

// The first record from fromRecord on whose text holds what. Without case sensitivity both are
// compared in capitals and what is expected in capitals already.
std::optional<TrpTextHit> FindDrawnText(const std::vector<TrpDrawnText>& texts, const QString& what,
                                        bool caseSensitive, int fromRecord);
