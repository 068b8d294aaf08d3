#include "core/Device/Device.h"
#include "core/Monitor.h"

#include <gtest/gtest.h>

TEST(HardConfig, BuildsTheTreeWithTheConfiguredCounts)
{
    const THardConfig tree(2, 12, 6);
    ASSERT_EQ(tree.MBCount(), 2);
    EXPECT_EQ(tree.SilosPerMB(), 12);
    EXPECT_EQ(tree.TITPerSilos(), 6);
    for (int b = 0; b < 2; ++b) {
        const TMB* mb = tree.GetMB(b);
        ASSERT_NE(mb, nullptr);
        EXPECT_EQ(mb->Addr(), b);
        for (int s = 0; s < 12; ++s) {
            const TSilos* silos = mb->GetSilos(s);
            ASSERT_NE(silos, nullptr);
            EXPECT_EQ(silos->No(), s);
            EXPECT_EQ(silos->Owner(), mb);
            EXPECT_EQ(silos->GetMBAddr(), b);
            for (int t = 0; t < 6; ++t) {
                ASSERT_NE(silos->GetTIT(t), nullptr);
                EXPECT_EQ(silos->GetTIT(t)->No(), t);
                EXPECT_EQ(silos->GetTIT(t)->Owner(), silos);
            }
            EXPECT_EQ(silos->GetTIT(6), nullptr);
            EXPECT_EQ(silos->GetTIT(-1), nullptr);
        }
        EXPECT_EQ(mb->GetSilos(12), nullptr);
        EXPECT_EQ(mb->GetSilos(-1), nullptr);
    }
    EXPECT_EQ(tree.GetMB(2), nullptr);
    EXPECT_EQ(tree.GetMB(-1), nullptr);
}

TEST(HardConfig, CountsAreBroughtIntoTheirRanges)
{
    const struct {
        int mb, silos, tits;
        int expectedMB, expectedSilos, expectedTITs;
    } cases[] = {
        {0, 0, 0, 1, 1, 1},       {-5, -1, -3, 1, 1, 1},   {1, 1, 1, 1, 1, 1},
        {256, 12, 6, 256, 12, 6}, {257, 13, 7, 256, 12, 6}, {100000, 99, 99, 256, 12, 6},
    };
    for (const auto& c : cases) {
        const THardConfig tree(c.mb, c.silos, c.tits);
        EXPECT_EQ(tree.MBCount(), c.expectedMB) << c.mb;
        EXPECT_EQ(tree.SilosPerMB(), c.expectedSilos) << c.silos;
        EXPECT_EQ(tree.TITPerSilos(), c.expectedTITs) << c.tits;
    }
}

TEST(HardConfig, LookupsByAddressAndNumber)
{
    const THardConfig tree(3, 4, 2);
    EXPECT_EQ(tree.IndexOfMB(2), 2);
    EXPECT_EQ(tree.IndexOfMB(5), -1);
    EXPECT_EQ(tree.IndexOfMB(-1), -1);
    EXPECT_EQ(tree.GetMB(1)->IndexOfSilos(3), 3);
    EXPECT_EQ(tree.GetMB(1)->IndexOfSilos(4), -1);
}

TEST(HardConfig, AirSensorExistsOnlyWhenEveryStepOfItsPathDoes)
{
    THardConfig tree(3, 4, 2);
    EXPECT_EQ(tree.GetAirTIT(), nullptr);   // -1, -1, -1 by default
    const struct {
        int mb, silos, tit;
        bool found;
    } cases[] = {
        {2, 3, 1, true}, {-1, 0, 0, false}, {3, 0, 0, false}, {65535, 0, 0, false},
        {0, 4, 0, false}, {0, -1, 0, false}, {0, 0, 2, false}, {0, 0, -1, false},
    };
    for (const auto& c : cases) {
        tree.AirMB = c.mb;
        tree.AirSilos = c.silos;
        tree.AirTIT = c.tit;
        TTIT* air = tree.GetAirTIT();
        EXPECT_EQ(air != nullptr, c.found) << c.mb << " " << c.silos << " " << c.tit;
        if (air) {
            EXPECT_EQ(air, tree.GetMB(c.mb)->GetSilos(c.silos)->GetTIT(c.tit));
        }
    }
}

TEST(HardConfig, DisplayNamesAndTheNeverPolledSuspension)
{
    const THardConfig tree(4, 12, 6);
    TSilos* silos = tree.GetMB(3)->GetSilos(11);
    EXPECT_EQ(silos->GetName(), QStringLiteral("4-12"));
    EXPECT_EQ(tree.GetMB(0)->GetSilos(2)->GetName(), QStringLiteral("1-3"));
    EXPECT_FALSE(silos->IsNeverPolled());
    silos->SetSilosName(QStringLiteral("Силос 7"));
    EXPECT_EQ(silos->GetName(), QStringLiteral("Силос 7"));
    silos->SetSilosName(QStringLiteral("0"));
    EXPECT_TRUE(silos->IsNeverPolled());
    silos->SetSilosName(QStringLiteral("00"));
    EXPECT_FALSE(silos->IsNeverPolled());
}

TEST(HardConfig, ChannelsAreSixPerSuspension)
{
    const THardConfig tree(1, 12, 6);
    EXPECT_EQ(tree.GetMB(0)->GetSilos(0)->GetTIT(0)->Channel(), 0);
    EXPECT_EQ(tree.GetMB(0)->GetSilos(2)->GetTIT(4)->Channel(), 16);
    EXPECT_EQ(tree.GetMB(0)->GetSilos(11)->GetTIT(5)->Channel(), 71);
}

TEST(HardConfig, TheContextsTreeIsReplacedAsAWhole)
{
    TMonitor monitor;
    EXPECT_EQ(monitor.HardConfig, nullptr);
    monitor.HardConfig = std::make_unique<THardConfig>(kDefaultMBCount, kDefaultSilosPerMB, kDefaultTITPerSilos);
    EXPECT_EQ(monitor.HardConfig->MBCount(), 12);
    monitor.HardConfig = std::make_unique<THardConfig>(2, 3, 4);
    EXPECT_EQ(monitor.HardConfig->SilosPerMB(), 3);
}
