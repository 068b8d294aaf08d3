#pragma once
// What the data-file and readings-table tests share: a small tree with histories, and point
// comparison.
#include "core/Device/Device.h"

#include <gtest/gtest.h>

#include <vector>

inline TTITPoint MakePoint(TDateTime time, double value)
{
    TTITPoint point;
    point.SetTime(time);
    point.Value = value;
    return point;
}

// Five points an hour apart (with milliseconds) from the day, values from the base upwards.
inline std::vector<TTITPoint> HourlyPoints(int day, double base, int count = 5)
{
    std::vector<TTITPoint> points;
    for (int i = 0; i < count; ++i)
        points.push_back(MakePoint(EncodeDateTime(2024, 5, day, 8 + i, 15, 30, 125 * i % 1000), base + 0.1 * i - 0.03));
    return points;
}

inline void ExpectSamePoints(const std::vector<TTITPoint>& actual, const std::vector<TTITPoint>& expected,
                             const char* what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].Time, expected[i].Time) << what << " point " << i;
        EXPECT_EQ(actual[i].UnixTime, expected[i].UnixTime) << what << " point " << i;
        EXPECT_EQ(actual[i].Value, expected[i].Value) << what << " point " << i;
    }
}

// Two blocks of three suspensions with three sensors. Suspension 0-0 is unnamed and has points on
// every sensor; 0-1 has points on sensor 2 only; 0-2 has none; 1-0 has a name with quotes,
// markup characters and Cyrillic letters; 1-2 a plain name and one point of a negative value.
struct SampleTree {
    THardConfig tree{2, 3, 3};

    SampleTree()
    {
        for (int t = 0; t < 3; ++t)
            Tit(0, 0, t).AssignPoints(HourlyPoints(1 + t, 10.0 * t));
        Tit(0, 1, 2).AssignPoints(HourlyPoints(7, 20.5));
        Silos(1, 0).SetSilosName(QStringLiteral("Силос \"А\" 'б' <&>"));
        Tit(1, 0, 0).AssignPoints(HourlyPoints(9, 1e-7, 3));
        Tit(1, 0, 1).AssignPoints(HourlyPoints(9, 123456.789, 2));
        Silos(1, 2).SetSilosName(QStringLiteral("Силос 12"));
        Tit(1, 2, 1).AssignPoints({MakePoint(EncodeDateTime(2023, 12, 31, 23, 59, 59, 999), -3.25)});
    }

    TSilos& Silos(int b, int s) const { return *tree.GetMB(b)->GetSilos(s); }
    TTIT& Tit(int b, int s, int t) const { return *Silos(b, s).GetTIT(t); }
};

// Every sensor of the second tree holds what the same sensor of the first holds.
inline void ExpectSameHistories(const THardConfig& actual, const THardConfig& expected)
{
    for (int b = 0; b < expected.MBCount(); ++b)
        for (int s = 0; s < expected.SilosPerMB(); ++s)
            for (int t = 0; t < expected.TITPerSilos(); ++t) {
                const std::string where = std::to_string(b) + "-" + std::to_string(s) + "-" + std::to_string(t);
                ExpectSamePoints(actual.GetMB(b)->GetSilos(s)->GetTIT(t)->Points(),
                                 expected.GetMB(b)->GetSilos(s)->GetTIT(t)->Points(), where.c_str());
            }
}
