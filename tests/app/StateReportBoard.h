#pragma once
// A small board for the state-report tests: local blocks of suspensions with six sensors in one
// silo block, the poll they are reported for, and the readings of that poll. The program's
// folder is a temporary one (the rate check writes the "speed" log there).
#include "app/reports/BoardSuspension.h"
#include "base/DateTime.h"
#include "core/Device/HardConfig.h"
#include "core/Device/Silos.h"
#include "core/Parameters.h"
#include "core/TITPoint.h"
#include "tests/app/AppTestEnvironment.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

class TStateReportBoard : public TAppFolders {
public:
    // The suspensions fill local blocks of twelve.
    explicit TStateReportBoard(int suspensions = 4)
        : Config((suspensions + kPerBlock - 1) / kPerBlock, std::min(suspensions, kPerBlock), 6),
          count_(suspensions)
    {
        Poll.SetTime(EncodeDateTime(2024, 3, 10, 14, 30, 0, 0));
        Settings.MaxT = 30;
        Settings.CheckT1 = Settings.CheckT2 = Settings.CheckT3 = 0;
        Settings.Precision = 1;
    }

    TSilos& Silos(int index) const { return *Config.GetMB(index / kPerBlock)->GetSilos(index % kPerBlock); }

    // Sensor k (from 0) of the suspension reads the value at the time (the poll's by default).
    void Reading(int silos, int k, double value) { Reading(silos, k, value, Poll.Time); }
    void Reading(int silos, int k, double value, TDateTime time)
    {
        TTITPoint point;
        point.SetTime(time);
        point.Value = value;
        points_[{silos, k}].push_back(point);
        Silos(silos).GetTIT(k)->AssignPoints(points_[{silos, k}]);
    }

    // Every suspension of the block in one silo block "Силкорпус 1", number BinNo, in order; the
    // names given replace the default ones.
    TBoardSuspensions Board(const std::vector<QString>& names = {}) const
    {
        TBoardSuspensions board;
        for (int s = 0; s < count_; ++s) {
            if (s < int(names.size()))
                Silos(s).SetSilosName(names[size_t(s)]);
            board.push_back({QStringLiteral("Силкорпус 1"), BinNo, &Silos(s)});
        }
        return board;
    }

    THardConfig Config;
    int BinNo = 1;
    Parameters Settings;
    TTITPoint Poll;

private:
    static constexpr int kPerBlock = 12;
    int count_;
    std::map<std::pair<int, int>, std::vector<TTITPoint>> points_;
};
