// The board's texts stay readable on every colour a sensor's state can give its band (and the
// sensor detail's values on the same colours), the operator's own choices included: the contrast of the text against its background, by the web
// accessibility guidelines' formula, is at least 4.5 (their threshold for ordinary text), and the
// painted names show it: light over black bands, dark over light ones, each piece of a name
// that crosses both in its own colour.
#include "AppTestEnvironment.h"
#include "BoardFixture.h"

#include "app/board/SiloBinGrid.h"
#include "app/detail/DetailModel.h"
#include "app/board/SiloCellGeometry.h"
#include "app/widgets/TextContrast.h"
#include "platform/qt/QtColour.h"

#include <QImage>

namespace {

constexpr double kReadable = 4.5;

TEST(BoardTextContrastTest, TheGuidelinesArithmetic)
{
    const struct {
        QColor a, b;
        double ratio;
    } cases[] = {
        {Qt::white, Qt::black, 21.0},                  // (1 + 0.05) / (0 + 0.05)
        {Qt::white, Qt::white, 1.0},
        {QColor(255, 0, 0), Qt::black, 5.252},         // red: L = 0.2126, 0.2626 / 0.05
        {QColor(255, 0, 0), Qt::white, 3.998},         // 1.05 / 0.2626
        {QColor(0, 255, 0), Qt::black, 15.304},        // lime: L = 0.7152
        {QColor(0, 0, 128), Qt::white, 16.010},        // navy: L = 0.0722 x 0.21586 = 0.015585, 1.05 / 0.065585
    };
    for (const auto& c : cases)
        EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.001) << c.a.name().toStdString() << " " << c.b.name().toStdString();
    EXPECT_EQ(ReadableTextColour(QColor(255, 0, 0)), QColor(Qt::black));
    EXPECT_EQ(ReadableTextColour(QColor(0, 0, 128)), QColor(Qt::white));
}

TEST(BoardTextContrastTest, EveryStateColourAndEveryColourAnOperatorMayChooseCarriesReadableText)
{
    const Parameters defaults;
    const struct {
        const char* state;
        TColor colour;
    } states[] = {
        {"not installed", 0xC0C0C0},
        {"no reply", clBlack},
        {"no data", clGreen},
        {"normal", clLime},
        {"short circuit", defaults.ColorKz},
        {"open line", defaults.ColorX},
        {"set-point 1", defaults.ColorCheckT1},
        {"set-point 2", defaults.ColorCheckT2},
        {"set-point 3", defaults.ColorCheckT3},
        {"above the maximum", defaults.ColorMaxT},
        {"rate of change", defaults.ColorSpeed},
        {"selection marker", 0x00FFFF},
    };
    for (const auto& s : states) {
        const QColor background = ToQColor(s.colour);
        EXPECT_GE(ContrastRatio(ReadableTextColour(background), background), kReadable) << s.state;
    }
    // The colours are the operator's to choose: every one of a grid through the colour cube.
    double worst = 21;
    for (int r = 0; r <= 255; r += 15)
        for (int g = 0; g <= 255; g += 15)
            for (int b = 0; b <= 255; b += 15) {
                const QColor background(r, g, b);
                worst = std::min(worst, ContrastRatio(ReadableTextColour(background), background));
            }
    EXPECT_GE(worst, kReadable);
}

// The detail list paints a sensor's value on the sensor's colour.
TEST(BoardTextContrastTest, TheDetailsValuesAreReadableOnTheirSensorsColours)
{
    TBoardFixture board(1, 1, 3);
    TSilos& silos = *board.Silos(0, 0);
    board.GiveValue(*silos.GetTIT(0), 15);          // normal: lime
    board.GiveValue(*silos.GetTIT(1), 15, false);   // no reply: black
    board.GiveValue(*silos.GetTIT(2), 25);          // above set-point 1: the fixture's own blue
    TDetalModel model(board.Settings);
    model.ShowSilos(&silos, 3);
    for (int row = 0; row < 3; ++row) {
        const QColor background = model.data(model.index(row, 1), Qt::BackgroundRole).value<QColor>();
        const QVariant text = model.data(model.index(row, 1), Qt::ForegroundRole);
        ASSERT_TRUE(text.isValid()) << row;
        EXPECT_GE(ContrastRatio(text.value<QColor>(), background), kReadable) << row;
    }
    EXPECT_EQ(model.data(model.index(1, 1), Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::ForegroundRole).isValid()) << "the name column keeps the list's";
}

class BoardNamesTest : public ::testing::Test {
protected:
    // The light (white-ish) and dark (black-ish) pixels inside a rectangle of the painted table.
    static void Count(const QImage& image, const QRect& rect, int& light, int& dark)
    {
        light = dark = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor pixel(image.pixel(x, y));
                if (pixel.lightness() > 200 && pixel.saturation() < 60)
                    ++light;
                else if (pixel.lightness() < 50)
                    ++dark;
            }
    }

    TAppFolders folders;
    TBoardFixture board{1, 3, 6};
};

TEST_F(BoardNamesTest, NamesShowOnBlackBandsOnLightOnesAndAcrossBoth)
{
    // Suspension 12 with no sensor replying, one all normal, one half and half.
    TfrSiLoBin* frame = board.AddFrame(1, 1, 3);
    for (int s = 0; s < 3; ++s) {
        TSilos* silos = board.Silos(0, s);
        silos->SetSilosName(QStringLiteral("%1").arg(12 + s));
        for (int t = 0; t < 6; ++t)
            board.GiveValue(*silos->GetTIT(t), 15, s == 1 || (s == 2 && t < 3));
        frame->SetSilo(0, s, silos);
    }
    const QImage image = frame->vtTree->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int s = 0; s < 3; ++s) {
        SCOPED_TRACE(s);
        const QRect content = CellContentRect(frame->vtTree->CellRect(0, s));
        int light = 0, dark = 0;
        // The name lies across the middle bands: 2 and 3 from the top (sensors 3 and 2).
        for (int k : {2, 3}) {
            const QRect band = SensorBandRect(content, 6, k);
            Count(image, band, light, dark);
            const bool black = s == 0 || (s == 2 && k == 2);
            if (black)
                EXPECT_GT(light, 5) << "band " << k << ": the name in light strokes on black";
            else
                EXPECT_GT(dark, 5) << "band " << k << ": the name in dark strokes on lime";
        }
    }
}

} // namespace
