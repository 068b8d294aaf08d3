#include "core/Exchange/SendTHArc.h"

#include "base/Format.h"
#include "base/FormatDateTime.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"
#include "core/Exchange/CommLine.h"
#include "core/Exchange/PassRunner.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace {

// The archive pass cannot know how many blocks there are: its progress runs round in this many
// steps.
constexpr int kProgressCycle = 50;
constexpr uint32_t kLow28Bits = 0x0FFFFFFF;

} // namespace

TSendTHArc::~TSendTHArc()
{
    // The pass uses this class's members: it must end before they go.
    Terminate();
    WaitFor();
}

TSilos* TSendTHArc::FindSilos(uint32_t blockAddress, uint32_t silosNo) const
{
    // A record names its suspension by both numbers: a suspension number alone is found in
    // every block, and a block address alone names twelve suspensions.
    const auto found = std::find_if(Silos().begin(), Silos().end(), [&](const TSilos* silos) {
        return static_cast<uint32_t>(silos->GetMBAddr()) == blockAddress
               && static_cast<uint32_t>(silos->No()) == silosNo;
    });
    return found == Silos().end() ? nullptr : *found;
}

void TSendTHArc::Execute()
{
    Prepare();
    SetProgress(0, kProgressCycle);
    const size_t blockSize = Settings.ArchiveBlockSize;
    uint32_t start = 0;
    // Without its port the pass reads nothing.
    const bool lineReady = LineReady();
    try {
        while (lineReady) {
            Records.clear();
            StatusText = QString::fromStdString(Format("Выборка из КВЛ архивного блока №%u", start));
            SetStatus(StatusText);
            try {
                ReadArchiveData(Line.Port, static_cast<uint16_t>(start), Settings.ArchiveAddr, Records,
                                Settings.ArchiveBlockSize, Settings.NoCom);
            } catch (...) {
                StepProgress();
                throw;
            }
            StepProgress();
            start += static_cast<uint32_t>(blockSize);
            if (!Records.empty())
                ApplyArchive();
            CheckAlarms();
            // A block size of 0 asks for nothing and gets nothing: one read is all it can do. The
            // request's start has 16 bits, so the archive ends where they do.
            if (Terminated() || Records.size() < std::max<size_t>(blockSize, 1)
                || start > std::numeric_limits<uint16_t>::max())
                break;
        }
    } catch (const std::exception& e) {
        PostLineFailure(ExchangeFailureText(e, Settings.ArchiveAddr));
    }
    CheckAlarms();
    emit Runner.PollingEnded();
    PostDone();
}

void TSendTHArc::ApplyArchive()
{
    for (size_t i = 0; i < Records.size(); ++i) {
        const TArchiveRec& record = Records[i];
        const uint32_t low = record.Id & kLow28Bits;
        const uint32_t high = record.Id >> 28;
        PostLog(Format("DT.No[%zu]=0x%8.8x (%u %u)", i, record.Id, low, high), kLogPlain);
        TSilos* silos = FindSilos(low, high);
        if (!silos)
            continue;
        if (record.Time == 0) {
            // A point without its time would land at the calendar's first day and stay there.
            PostLog(Format("DT.No[%zu]: время записи не распознано, запись пропущена", i), kLogError);
            continue;
        }
        const int sensors = std::min<int>(silos->TITCount(), static_cast<int>(record.Temps.size()));
        for (int j = 0; j < sensors; ++j) {
            TTIT& tit = *silos->GetTIT(j);
            const int temperature = record.Temps[static_cast<size_t>(j)];
            tit.ClearValues();
            tit.AddValue(true, record.Time, temperature, Settings);
            tit.StorePoint(tit.LastTime(), Rules);
            PostLog(Format("#%d = %.3d %s", j, temperature,
                                   FormatDateTime("dd/mm/yy hh:mm:ss.zzz", record.Time).c_str()),
                            kLogPlain);
        }
    }
}

void TSendTHArc::StepProgress()
{
    SetProgressPosition((ProgressPosition() + 1) % kProgressCycle);
    emit Runner.StepDone(ProgressPosition(), ProgressMaximum());
}
