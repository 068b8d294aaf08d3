#include "SensorTestSupport.h"

#include "core/Device/Device.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr TColor kSilver = 0xC0C0C0;
constexpr TColor kT1 = 0x000101, kT2 = 0x000202, kT3 = 0x000303, kMax = 0x000404;
constexpr TColor kOpen = 0x000505, kShort = 0x000606, kSpeed = 0x000707;

class TITColour : public SensorTest {
protected:
    TITColour()
    {
        Settings.ColorCheckT1 = kT1;
        Settings.ColorCheckT2 = kT2;
        Settings.ColorCheckT3 = kT3;
        Settings.ColorMaxT = kMax;
        Settings.ColorX = kOpen;
        Settings.ColorKz = kShort;
        Settings.ColorSpeed = kSpeed;
        Settings.MaxT = 40;
        Settings.CheckT1 = 20;
        Settings.CheckT2 = 0;
        Settings.CheckT3 = 30;
        Settings.TextShort = QStringLiteral("КЗ");
        Settings.TextBreak = QStringLiteral("X");
        Settings.Precision = 1;
    }

    // A sensor showing the value (none: no value in the pass).
    void Show(TTIT& tit, std::optional<double> value, bool replied = true, double off = kR0Ohm50)
    {
        tit.SetOff(off);
        tit.ClearValues();
        if (value)
            tit.AddValue(true, EncodeDate(2024, 5, 10), *value, Settings);
        tit.SetValid(replied);
    }

    TTIT tit{nullptr, 0};
};

struct ColourCase {
    const char* name;
    std::optional<double> value;
    bool replied;
    double off;
    TColor expected;
};

} // namespace

TEST_F(TITColour, FirstRuleThatAppliesWins)
{
    Settings.ColorCheckT2 = 0x00BEEF;   // set-point 2 is off (0) even with a colour
    const ColourCase cases[] = {
        {"not installed beats everything", 99.0, false, 0.0, kSilver},
        {"no reply in range is black", 25.0, false, kR0Ohm50, clBlack},
        {"no reply at -36 is still black", -36.0, false, kR0Ohm50, clBlack},
        {"no reply without any value is black, not no data", std::nullopt, false, kR0Ohm50, clBlack},
        {"no data is dark green", std::nullopt, true, kR0Ohm50, clGreen},
        {"no reply beyond the range shows the line fault", 75.0, false, kR0Ohm50, kOpen},
        {"short circuit", -36.5, true, kR0Ohm50, kShort},
        {"-36 is ordinary", -36.0, true, kR0Ohm50, clLime},
        {"open line", 70.01, true, kR0Ohm50, kOpen},
        {"70 is ordinary and not over the maximum", 70.0, true, kR0Ohm50, kT3},
        {"normal", 15.0, true, kR0Ohm50, clLime},
        {"a set-point is exceeded only above it", 20.0, true, kR0Ohm50, clLime},
        {"set-point 1", 25.0, true, kR0Ohm50, kT1},
        {"above set-points 1 and 3 takes 3", 35.0, true, kR0Ohm50, kT3},
        {"the maximum takes over any set-point", 45.0, true, kR0Ohm50, kMax},
    };
    for (const ColourCase& c : cases) {
        Show(tit, c.value, c.replied, c.off);
        EXPECT_EQ(tit.GetColor(Settings), c.expected) << c.name;
    }
}

TEST_F(TITColour, OverMaxTIsStrictOnBothSides)
{
    for (auto [value, over] : {std::pair{40.0, false}, {40.5, true}, {69.9, true}, {70.0, false}, {71.0, false}}) {
        Show(tit, value);
        EXPECT_EQ(tit.IsOverMaxT(Settings), over) << value;
    }
}

TEST_F(TITColour, ValueTextPerSentinel)
{
    const struct {
        std::optional<double> value;
        QString expected;
    } cases[] = {
        {std::nullopt, QString()},
        {-999.0, QString()},
        {-36.01, QStringLiteral("КЗ")},
        {-36.0, QStringLiteral("-36.0")},
        {70.0, QStringLiteral(" 70.0")},
        {70.04, QStringLiteral("X")},
        {21.26, QStringLiteral(" 21.3")},
    };
    for (const auto& c : cases) {
        Show(tit, c.value);
        EXPECT_EQ(tit.GetValueText(Settings), c.expected) << (c.value ? *c.value : 0.0);
    }
    Settings.Precision = 4;
    Show(tit, 21.7);
    EXPECT_EQ(tit.GetValueText(Settings), QStringLiteral(" 22.0"));
}

TEST_F(TITColour, ValidityNeedsANoReplyMarkAndAValueInRange)
{
    const struct {
        std::optional<double> value;
        bool replied;
        bool valid;
    } cases[] = {
        {std::nullopt, false, false}, {std::nullopt, true, true}, {25.0, false, false}, {70.0, false, false}, {-36.0, false, false},
        {70.5, false, true},         {-37.0, false, true}, {25.0, true, true},
    };
    for (const auto& c : cases) {
        Show(tit, c.value, c.replied);
        EXPECT_EQ(tit.IsValid(), c.valid) << (c.value ? *c.value : -999) << " replied " << c.replied;
    }
}
