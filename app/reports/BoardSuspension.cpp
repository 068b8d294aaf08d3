#include "app/reports/BoardSuspension.h"

#include "app/board/FrameSiloBin.h"
#include "core/Device/Silos.h"

QString TechAddress(int binNo, const TSilos& silos)
{
    return QStringLiteral("%1-%2-%3").arg(binNo).arg(silos.GetMBAddr() + 1).arg(silos.No() + 1);
}

TBoardSuspensions BoardSuspensionsOf(const std::vector<TfrSiLoBin*>& frames)
{
    TBoardSuspensions board;
    for (const TfrSiLoBin* frame : frames)
        for (int row = 0; row < frame->RowCount(); ++row)
            for (int col = 0; col < frame->ColCount(); ++col)
                if (TSilos* silos = frame->GetSilo(row, col))
                    board.push_back({frame->GetCaption(), frame->BinNo, silos});
    return board;
}
