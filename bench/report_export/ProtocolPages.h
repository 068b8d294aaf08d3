#pragma once
// Prepared pages of a temperature protocol for the export and preview benchmarks: on every A4
// page a title, a table of 30 framed rows of eight cells and a page footer, printed as memos.
#include <memory>
#include <vector>

#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"

// One memo of a protocol page: its box in page units, text, frames and alignment.
struct ProtocolCell {
    QRect Box;
    QString Text;
    int Frames;
    int32_t Alignment;
};

inline std::vector<ProtocolCell> ProtocolCells(int page, int pageCount)
{
    constexpr int kRows = 30;
    constexpr int kColumns = 8;
    std::vector<ProtocolCell> cells;
    cells.push_back({QRect(36, 18, 680, 24), QStringLiteral("Протокол температур на 12.03.2024 10:00"), 0, taCenter});
    for (int r = 0; r < kRows; ++r) {
        const int top = 60 + r * 18;
        cells.push_back({QRect(36, top, 120, 18), QStringLiteral("Силос %1, подвеска %2").arg(page % 40 + 1).arg(r + 1),
                         frAllSides, taLeft});
        for (int c = 1; c < kColumns; ++c)
            cells.push_back({QRect(156 + (c - 1) * 80, top, 80, 18),
                             QStringLiteral("%1,%2").arg((r * c + page) % 35).arg(c), frAllSides, taRight});
    }
    cells.push_back({QRect(36, 1000, 680, 18), QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pageCount), 0,
                     taRight});
    return cells;
}

struct Protocol {
    explicit Protocol(int pageCount)
    {
        TrpPage* design = report.AddPage();
        design->ApplyPaper(kPaperA4, 0, 0, -1, poPortrait);
        auto* memo = static_cast<TrpMemoView*>(design->AddObject(std::make_unique<TrpMemoView>()));
        memo->PrintedForm = true;
        memo->Font.Size = 9;
        TrpEMFPages& pages = *report.EMFPages;
        for (int p = 0; p < pageCount; ++p) {
            pages.AddPage(*design);
            for (const ProtocolCell& cell : ProtocolCells(p, pageCount)) {
                memo->SetBounds(cell.Box.x(), cell.Box.y(), cell.Box.width(), cell.Box.height());
                memo->Memo = QStringList{cell.Text};
                memo->FrameTyp = uint16_t(cell.Frames);
                memo->Alignment = cell.Alignment;
                memo->PrintToStream(pages.Page(p).ObjectStream);
            }
        }
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    TrpRunContext context;
    TrpReport report{context};
    QTemporaryDir dir;
};
