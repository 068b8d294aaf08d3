#include "SensorTestSupport.h"

#include "core/Device/TIT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

class SensorSharing : public SensorTest {};

// The poll thread stores readings while the board paints: the painter must always see a whole
// history and a whole values array.
TEST_F(SensorSharing, PaintingWhileAPassWritesIsSafe)
{
    Settings.AveragePeriod = 60;
    TTIT tit(nullptr, 0);
    tit.SetOff(1.0);
    std::atomic<bool> done{false};
    std::thread poll([&] {
        const TDateTime start = EncodeDate(2024, 1, 1);
        for (int pass = 0; pass < 3000; ++pass) {
            tit.ClearValues();
            for (int r = 0; r < 3; ++r)
                tit.AddValue(true, start + pass / 24.0, 10.0 + r, Settings);
            tit.StorePoint(start + pass / 24.0, Rules());
        }
        done = true;
    });
    const auto byTime = [](const TTITPoint& a, const TTITPoint& b) { return a.Time < b.Time; };
    size_t reads = 0;
    bool wholeCopies = true;
    // At least one read, however quickly the writer finishes on a busy machine.
    do {
        tit.GetColor(Settings);
        tit.GetValueText(Settings);
        const auto points = tit.Points();
        const auto averages = tit.Averages();
        wholeCopies = wholeCopies && std::is_sorted(points.begin(), points.end(), byTime)
            && std::is_sorted(averages.begin(), averages.end(), byTime);
        ++reads;
    } while (!done);
    poll.join();
    EXPECT_TRUE(wholeCopies);
    EXPECT_EQ(tit.PointCount(), 3000);
    EXPECT_EQ(tit.AverageCount(), 2999);   // 00:00 and 01:00 share the first window
    EXPECT_GT(reads, 0u);
}
