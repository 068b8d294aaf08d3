// The temperature chart: the stair-step lines of a suspension's history, the hidden series of
// missing sensors, the axes, the settings, the cursor read-out and printing.
#include "AppTestEnvironment.h"
#include "BoardFixture.h"
#include "ScriptedModal.h"

#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/graph/GraphMarks.h"
#include "app/graph/GraphPoints.h"
#include "app/graph/SiloGraph.h"
#include "app/graph/TimeAxisFormat.h"
#include "base/DateTime.h"
#include "core/Parameters.h"

#include <QAction>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFile>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QValueAxis>

#include <ctime>

namespace {

const TDateTime kDay = EncodeDate(2026, 3, 10);
const TDateTime kHour = 1.0 / 24;

TTITPoint Point(TDateTime time, double value)
{
    TTITPoint point;
    point.SetTime(time);
    point.Value = value;
    return point;
}

// The local time as Qt places it on the date-time axis.
double QtX(TDateTime time)
{
    const DateTimeParts p = DecodeDateTime(time);
    return static_cast<double>(
        QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second, p.msec)).toMSecsSinceEpoch());
}

bool LegendShows(QAbstractSeries* series)
{
    const QList<QLegendMarker*> markers = series->chart()->legend()->markers(series);
    return !markers.isEmpty() && markers.front()->isVisible();
}

class SiloGraphTest : public ::testing::Test {
protected:
    SiloGraphTest() : board(1, 2, 4)
    {
        silos = board.Silos(0, 1);
        silos->SetSilosName(QStringLiteral("С-7"));
        // Sensor 1 steps from 5.0 at 10:00 to 7.0 at 12:00, then reads no data at 13:00; sensor 2
        // has a single short-circuit reading; sensors 3 and 4 have none.
        silos->GetTIT(0)->AssignPoints(
            {Point(kDay + 13 * kHour, -999), Point(kDay + 10 * kHour, 5.0), Point(kDay + 12 * kHour, 7.0)});
        silos->GetTIT(1)->AssignPoints({Point(kDay + 11 * kHour, -40)});
        graph.resize(800, 500);
        graph.show();   // legend entries count as shown only on a shown chart
    }

    TBoardFixture board;
    TSilos* silos = nullptr;
    TSiloGraph graph;
};

TEST(GraphPointsTest, StairsHoldEachValueUntilTheNextPoint)
{
    const TDateTime t10 = kDay + 10 * kHour, t12 = kDay + 12 * kHour, t13 = kDay + 13 * kHour;
    const TGraphPoints points = GraphPoints({Point(t10, 5.0), Point(t12, 7.0), Point(t13, -999)});
    const QList<QPointF> line{{QtX(t10), 5.0}, {QtX(t12), 5.0}, {QtX(t12), 7.0}, {QtX(t13), 7.0}, {QtX(t13), -999}};
    EXPECT_EQ(points.Line, line);
    const QList<QPointF> marks{{QtX(t10), 5.0}, {QtX(t12), 7.0}, {QtX(t13), -999}};
    EXPECT_EQ(points.Marks, marks);

    EXPECT_EQ(GraphPoints({Point(t10, 3.5)}).Line, QList<QPointF>{QPointF(QtX(t10), 3.5)});
    EXPECT_TRUE(GraphPoints({}).Line.isEmpty());
}

TEST(GraphPointsTest, ChartTimesComeBackAsTheSameLocalTimes)
{
    for (const TDateTime time : {kDay + 10 * kHour, EncodeDateTime(2026, 7, 1, 23, 59, 59, 500),
             EncodeDateTime(2025, 12, 31, 0, 0, 0, 1), EncodeDateTime(1999, 1, 1, 12, 0, 0, 999)}) {
        EXPECT_DOUBLE_EQ(ChartX(time), QtX(time));
        EXPECT_NEAR(ChartXToDateTime(ChartX(time)), time, 0.5 / kMSecsPerDay);
    }
}

// Whole days convert at once; the days the clocks change go point by point.
TEST(GraphPointsTest, DaysWhenTheClocksChangeConvertPointByPoint)
{
    const QByteArray savedTz = qgetenv("TZ");
    const bool hadTz = qEnvironmentVariableIsSet("TZ");
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");   // needs no time-zone files
    tzset();
    std::vector<TTITPoint> points;
    for (const TDateTime day : {EncodeDate(2026, 3, 28), EncodeDate(2026, 3, 29), EncodeDate(2026, 10, 25)})
        for (int quarter = 0; quarter < 4 * 24; ++quarter)
            points.push_back(Point(day + quarter / 96.0, quarter));
    const TGraphPoints graph = GraphPoints(points);
    ASSERT_EQ(graph.Marks.size(), static_cast<qsizetype>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        ASSERT_EQ(graph.Marks[static_cast<qsizetype>(i)].x(), ChartX(points[i].Time)) << i;
    // 03:00 on the day summer time begins is an hour of the clock but no hour of the axis later.
    EXPECT_EQ(ChartX(EncodeDateTime(2026, 3, 29, 3, 0, 0, 0)) - ChartX(EncodeDateTime(2026, 3, 29, 1, 0, 0, 0)),
        3600000.0);
    if (hadTz)
        qputenv("TZ", savedTz);
    else
        qunsetenv("TZ");
    tzset();
}

// The room the automatic scale leaves beyond the fixture's values (-999 to 7): a twentieth of
// their span on either side.
constexpr double kRoom = (7 - -999) / 20.0;

TEST_F(SiloGraphTest, ShowsEverySensorOfTheSuspensionAndHidesTheRest)
{
    graph.ShowSilo(silos);
    EXPECT_EQ(graph.chart()->title(), QStringLiteral("Температура силоса С-7"));
    for (int k = 0; k < TSiloGraph::kSeriesCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(graph.Line(k)->name(), QStringLiteral("№%1").arg(k + 1));
        EXPECT_EQ(graph.Line(k)->isVisible(), k < 4);
        EXPECT_EQ(LegendShows(graph.Line(k)), k < 4);
        EXPECT_FALSE(LegendShows(graph.Marks(k)));   // the legend lists lines only
    }
    EXPECT_EQ(graph.Line(0)->points(), GraphPoints(silos->GetTIT(0)->Points()).Line);
    EXPECT_EQ(graph.Line(0)->count(), 5);
    EXPECT_EQ(graph.Marks(0)->count(), 3);
    EXPECT_EQ(graph.Line(1)->points(), QList<QPointF>{QPointF(QtX(kDay + 11 * kHour), -40)});
    EXPECT_EQ(graph.Line(2)->count(), 0);

    // Sentinels are drawn as they are, so the automatic scale reaches them, and a twentieth of
    // the span beyond.
    EXPECT_DOUBLE_EQ(graph.AxisT()->min(), -999 - kRoom);
    EXPECT_DOUBLE_EQ(graph.AxisT()->max(), 7.0 + kRoom);
    EXPECT_EQ(graph.AxisTime()->min().toMSecsSinceEpoch(), QtX(kDay + 10 * kHour));
    EXPECT_EQ(graph.AxisTime()->max().toMSecsSinceEpoch(), QtX(kDay + 13 * kHour));
}

TEST_F(SiloGraphTest, NoSuspensionEmptiesEverySeries)
{
    graph.ShowSilo(silos);
    graph.ShowSilo(nullptr);
    EXPECT_EQ(graph.chart()->title(), QStringLiteral("Температура силоса"));
    for (int k = 0; k < TSiloGraph::kSeriesCount; ++k) {
        EXPECT_FALSE(graph.Line(k)->isVisible());
        EXPECT_FALSE(graph.Marks(k)->isVisible());
        EXPECT_EQ(graph.Line(k)->count(), 0);
        EXPECT_FALSE(LegendShows(graph.Line(k)));
    }
    EXPECT_LT(graph.AxisT()->min(), graph.AxisT()->max());
    EXPECT_LT(graph.AxisTime()->min(), graph.AxisTime()->max());
}

TEST_F(SiloGraphTest, SingleReadingGetsRoomOnBothAxes)
{
    silos->GetTIT(0)->ClearPoints();
    graph.ShowSilo(silos);   // only sensor 2's single point remains
    EXPECT_LT(graph.AxisT()->min(), -40);
    EXPECT_GT(graph.AxisT()->max(), -40);
    const qint64 at = static_cast<qint64>(QtX(kDay + 11 * kHour));
    EXPECT_LT(graph.AxisTime()->min().toMSecsSinceEpoch(), at);
    EXPECT_GT(graph.AxisTime()->max().toMSecsSinceEpoch(), at);
}

TEST_F(SiloGraphTest, TemperatureScaleFromTheSettings)
{
    Parameters settings;
    graph.ShowSilo(silos);
    graph.AxisT()->setRange(50, 60);

    struct Case {
        double min, max;
        bool automatic;
        double shownMin, shownMax;
    };
    const Case cases[] = {
        {10, 40, false, 10, 40},     // set below the axis's current range
        {0, 0, true, -999 - kRoom, 7 + kRoom},   // both 0: the data's range
        {45, 80, false, 45, 80},
        {40, 10, false, 10, 40},     // given the wrong way round
        {20, 20, true, -999 - kRoom, 7 + kRoom},   // no width: automatic
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.min);
        settings.ScaleMinT = c.min;
        settings.ScaleMaxT = c.max;
        graph.ApplySettings(settings);
        EXPECT_EQ(graph.AutoScaleT(), c.automatic);
        EXPECT_DOUBLE_EQ(graph.AxisT()->min(), c.shownMin);
        EXPECT_DOUBLE_EQ(graph.AxisT()->max(), c.shownMax);
    }

    // A fixed scale stays when another suspension is shown.
    settings.ScaleMinT = -10;
    settings.ScaleMaxT = 30;
    graph.ApplySettings(settings);
    graph.ShowSilo(nullptr);
    graph.ShowSilo(silos);
    EXPECT_DOUBLE_EQ(graph.AxisT()->min(), -10);
    EXPECT_DOUBLE_EQ(graph.AxisT()->max(), 30);
}

TEST_F(SiloGraphTest, SeriesLookFromTheSettings)
{
    Parameters settings;
    for (int k = 0; k < TSiloGraph::kSeriesCount; ++k)
        settings.Lines[static_cast<size_t>(k)] = TLineStyle{k + 1, TColor(0x10203 * (k + 1)), k % 2 == 0, k + 4};
    settings.Lines[2].PointStyle = psNothing;
    settings.Lines[4].PointStyle = 42;   // no such style
    silos->GetTIT(1)->AssignPoints({Point(kDay + 11 * kHour, -40), Point(kDay + 12 * kHour, -41)});
    graph.ApplySettings(settings);
    graph.ShowSilo(silos);

    for (int k = 0; k < TSiloGraph::kSeriesCount; ++k) {
        SCOPED_TRACE(k);
        const TColor colour = TColor(0x10203 * (k + 1));
        EXPECT_EQ(graph.Line(k)->pen().width(), k + 1);
        EXPECT_EQ(graph.Line(k)->color(), QColor(colour & 0xFF, (colour >> 8) & 0xFF, colour >> 16));
        EXPECT_EQ(graph.MarkSize(k), k + 3);
        EXPECT_DOUBLE_EQ(graph.Marks(k)->markerSize(), 2 * (k + 3) + 1);
    }
    // Marks show where asked for, with a style that draws something, on a shown line.
    EXPECT_TRUE(graph.Marks(0)->isVisible());
    EXPECT_FALSE(graph.Marks(1)->isVisible());   // not asked for
    EXPECT_FALSE(graph.Marks(2)->isVisible());   // style "none"
    EXPECT_FALSE(graph.Marks(4)->isVisible());   // sensor 5 is missing
    EXPECT_EQ(graph.Marks(4)->lightMarker(), PointMarkImage(psRectangle, graph.Line(4)->color()));
    EXPECT_EQ(graph.Marks(0)->lightMarker(), PointMarkImage(psCross, graph.Line(0)->color()));
}

// A sensor read once has no line to draw: its reading shows as a mark, even with marks off.
TEST_F(SiloGraphTest, AReadingAloneShowsItsMark)
{
    Parameters settings;   // no marks
    settings.Lines[1].PointStyle = psNothing;
    graph.ApplySettings(settings);
    graph.ShowSilo(silos);
    EXPECT_FALSE(graph.Marks(0)->isVisible());
    ASSERT_TRUE(graph.Marks(1)->isVisible());

    const QPointF at = graph.chart()->mapToPosition(QPointF(QtX(kDay + 11 * kHour), -40), graph.Line(1));
    const QPoint centre = graph.mapFromScene(graph.chart()->mapToScene(at));
    const QImage shot = graph.viewport()->grab().toImage();
    const QColor colour = graph.Line(1)->color();
    int marked = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QColor seen = shot.pixelColor(centre + QPoint(dx, dy));
            marked += std::abs(seen.red() - colour.red()) + std::abs(seen.green() - colour.green())
                    + std::abs(seen.blue() - colour.blue()) < 60;
        }
    EXPECT_GE(marked, 4);
}

// The time axis labels every tick differently, as briefly as the range allows.
TEST(TimeAxisFormatTest, ShortestFormatThatTellsTheTicksApart)
{
    const QDate day(2026, 3, 10);
    const struct {
        QDateTime min, max;
        const char* format;
    } cases[] = {
        {QDateTime(day, QTime(10, 0)), QDateTime(day, QTime(13, 0)), "hh:mm"},
        {QDateTime(day, QTime(16, 4)), QDateTime(day, QTime(16, 6)), "hh:mm:ss"},
        {QDateTime(day, QTime(16, 4)), QDateTime(day, QTime(16, 4, 3)), "hh:mm:ss.zzz"},
        {QDateTime(day, QTime(23, 0)), QDateTime(day.addDays(1), QTime(2, 0)), "dd.MM hh:mm"},
        {QDateTime(day, QTime(0, 0)), QDateTime(day.addDays(3), QTime(0, 0)), "dd.MM hh:mm"},
        {QDateTime(day, QTime(0, 0)), QDateTime(day.addMonths(1), QTime(0, 0)), "dd.MM.yy"},
    };
    constexpr int kTicks = 7;
    for (const auto& c : cases) {
        const QString format = TimeAxisFormat(c.min, c.max, kTicks);
        EXPECT_EQ(format, QString::fromLatin1(c.format)) << c.max.toString().toStdString();
        QStringList labels;
        for (int i = 0; i < kTicks; ++i)
            labels << c.min.addMSecs(c.min.msecsTo(c.max) * i / (kTicks - 1)).toString(format);
        labels.removeDuplicates();
        EXPECT_EQ(labels.size(), kTicks) << format.toStdString();
    }
}

TEST_F(SiloGraphTest, TimeAxisLabelsFollowTheShownRange)
{
    graph.ShowSilo(silos);   // 10:00 to 13:00
    EXPECT_EQ(graph.AxisTime()->format(), QStringLiteral("hh:mm"));
    silos->GetTIT(0)->AssignPoints({Point(kDay + 10 * kHour, 5.0), Point(kDay + 40 * kHour, 6.0)});
    graph.ShowSilo(silos);
    EXPECT_EQ(graph.AxisTime()->format(), QStringLiteral("dd.MM hh:mm"));
}

TEST(PointMarkTest, EveryStyleDrawsItsOwnMark)
{
    const QColor colour(Qt::red);
    const QImage none = PointMarkImage(psNothing, colour);
    std::vector<QImage> seen;
    for (int style = psRectangle; style <= psRightTriangle; ++style) {
        SCOPED_TRACE(style);
        const QImage mark = PointMarkImage(static_cast<TPointStyle>(style), colour);
        if (style == psNothing)
            continue;
        EXPECT_NE(mark, none);
        for (const QImage& other : seen)
            EXPECT_NE(mark, other);
        seen.push_back(mark);
    }
    EXPECT_EQ(PointStyleOf(-1), psRectangle);
    EXPECT_EQ(PointStyleOf(12), psRectangle);
    EXPECT_EQ(PointStyleOf(7), psDiamond);
}

TEST(GraphCursorTextTest, PrecisionAndDateTime)
{
    const TDateTime time = EncodeDateTime(2026, 3, 10, 9, 5, 7, 0);
    const struct {
        int precision;
        double value;
        const char* text;
    } cases[] = {
        {2, 5.0, "время: 10.03.2026 9:05:07; значение:  5.00°C "},
        {3, -12.3456, "время: 10.03.2026 9:05:07; значение: -12.346°C "},
        {5, 21.26, "время: 10.03.2026 9:05:07; значение:  21.3°C "},   // the half-degree setting
        {0, 7.4, "время: 10.03.2026 9:05:07; значение:     7°C "},
        {-1, 7.4, "время: 10.03.2026 9:05:07; значение: 7.400°C "},  // damaged setting
    };
    for (const auto& c : cases)
        EXPECT_EQ(GraphCursorText(time, c.value, c.precision), QString::fromUtf8(c.text)) << c.precision;
}

TEST_F(SiloGraphTest, CursorPositionGivesTimeAndTemperature)
{
    graph.ShowSilo(silos);
    const QPointF at = graph.chart()->mapToPosition(QPointF(QtX(kDay + 11 * kHour), -500), graph.Line(0));
    const QPointF viewPos = graph.mapFromScene(graph.chart()->mapToScene(at));
    const TSiloGraph::TCursorValue value = graph.ValueAt(viewPos);
    // One pixel of the view is a few minutes and a few degrees here.
    EXPECT_NEAR(value.Time, kDay + 11 * kHour, 0.1 * kHour);
    EXPECT_NEAR(value.Value, -500, 10);
}

TEST_F(SiloGraphTest, PrintsToPdf)
{
    graph.ShowSilo(silos);
    QTemporaryDir dir;
    const QString file = dir.filePath("chart.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    graph.Print(printer);
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(4) == "%PDF");
    EXPECT_GT(pdf.size(), 1000);
}

class MainWindowGraphTest : public ::testing::Test {
protected:
    MainWindowGraphTest() : board(1, 1, 6), window(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid"}, modal)
    {
        board.Silos(0, 0)->GetTIT(5)->AssignPoints({Point(kDay, 12.5), Point(kDay + kHour, 13)});
    }

    TAppFolders folders;
    TScriptedModal modal;
    TBoardFixture board;
    TMainWindowUnderTest window;
};

TEST_F(MainWindowGraphTest, ChosenSuspensionShownWithoutSwitchingThePage)
{
    window.ShowSiloGraph(board.Silos(0, 0));
    EXPECT_NE(window.pcMain->currentWidget(), window.tsGraph);
    EXPECT_EQ(window.Chart->Line(5)->count(), 3);
    EXPECT_EQ(window.Chart->chart()->title(), QStringLiteral("Температура силоса 1-1"));
    EXPECT_EQ(window.CursorLabel->text(), QStringLiteral("(вне графика)"));
}

TEST_F(MainWindowGraphTest, MouseMoveShowsTheCursorReadOut)
{
    window.Settings.Precision = 1;
    window.ShowSiloGraph(board.Silos(0, 0));
    window.Chart->resize(600, 400);
    EXPECT_TRUE(window.Chart->viewport()->hasMouseTracking());
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), QPointF(300, 200), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Chart->viewport(), &move);
    const QString text = window.CursorLabel->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("время: 10.03.2026 "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("значение: +1[23]\\.\\d°C $")))) << text.toStdString();
}

// A read-out taken over one suspension's lines is not left standing over another's.
TEST_F(MainWindowGraphTest, AnotherSuspensionClearsTheReadOut)
{
    window.ShowSiloGraph(board.Silos(0, 0));
    window.Chart->resize(600, 400);
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), QPointF(300, 200), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Chart->viewport(), &move);
    ASSERT_TRUE(window.CursorLabel->text().startsWith(QStringLiteral("время: ")));
    window.ShowSiloGraph(nullptr);
    EXPECT_EQ(window.CursorLabel->text(), QStringLiteral("(вне графика)"));
}

// The sixth sensor, the only one read here, spans the scale: its highest and lowest steps keep a
// twentieth of the span off the plot's border instead of lying on it.
TEST_F(MainWindowGraphTest, TheTopLineKeepsOffThePlotsBorder)
{
    window.ShowSiloGraph(board.Silos(0, 0));
    EXPECT_DOUBLE_EQ(window.Chart->AxisT()->max(), 13 + 0.5 / 20);
    EXPECT_DOUBLE_EQ(window.Chart->AxisT()->min(), 12.5 - 0.5 / 20);
}

TEST_F(MainWindowGraphTest, PrintActionOpensThePreviewOnTheChartPage)
{
    window.Execute(window.acGraphView);
    EXPECT_EQ(window.pcMain->currentWidget(), window.tsGraph);
    window.aList.UpdateAll();
    ASSERT_TRUE(window.acPrintGraph->isEnabled());
    bool shown = false;
    modal.ThenDialog([&](QDialog& dialog) {
        shown = qobject_cast<QPrintPreviewDialog*>(&dialog) != nullptr;
        return int(QDialog::Rejected);
    });
    window.Execute(window.acPrintGraph);
    EXPECT_TRUE(shown);

    window.Execute(window.acMainView);
    window.aList.UpdateAll();
    EXPECT_FALSE(window.acPrintGraph->isEnabled());
}

} // namespace
