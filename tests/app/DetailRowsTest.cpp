// The sensor detail rows: texts and colours for each state of a sensor, the order of the rows,
// the group box caption, and columns that only grow.
#include "app/detail/DetailView.h"
#include "app/detail/DetailModel.h"
#include "app/detail/DetailTree.h"
#include "platform/qt/QtColour.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"
#include "core/TemperatureText.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

#include <functional>
#include <optional>

namespace {

class DetalRowsTest : public ::testing::Test {
protected:
    DetalRowsTest()
    {
        Settings.MaxT = 30;
        Settings.CheckT1 = Settings.CheckT2 = Settings.CheckT3 = 0;
        Settings.UseCheckSpeed = false;
        Settings.Precision = 1;
        HardConfig = std::make_unique<THardConfig>(2, 3, 4);
    }
    TSilos& Silos(int block, int number) const { return *HardConfig->GetMB(block)->GetSilos(number); }

    Parameters Settings;
    std::unique_ptr<THardConfig> HardConfig;
};

struct SensorState {
    const char* name;
    std::function<void(TTIT&)> make;
    QString value;
    std::optional<TColor> colour;
};

TEST_F(DetalRowsTest, CellsShowEachSensorState)
{
    const auto installed = [this](std::optional<double> value) {
        return [this, value](TTIT& sensor) {
            sensor.SetOff(50);
            if (value)
                sensor.AddValue(true, 45000, *value, Settings);
        };
    };
    const std::vector<SensorState> states = {
        {"not installed", [this](TTIT& sensor) { sensor.AddValue(true, 45000, 20, Settings); }, "Нет", 0xC0C0C0},
        {"no data", installed(std::nullopt), "", clGreen},
        {"short circuit", installed(-40), "КЗ", Settings.ColorKz},
        {"open line", installed(85), "X", Settings.ColorX},
        {"over the set-point", installed(35.25), FormatTemperature(1, 35.25), Settings.ColorMaxT},
        {"normal", installed(20.5), FormatTemperature(1, 20.5), clLime},
        {"at the range's ends", installed(-36), FormatTemperature(1, -36), clLime},
    };
    for (const SensorState& state : states) {
        SCOPED_TRACE(state.name);
        THardConfig config(1, 1, 3);
        TTIT& sensor = *config.GetMB(0)->GetSilos(0)->GetTIT(2);
        state.make(sensor);
        const TDetalNode node(&sensor);
        EXPECT_EQ(node.GetCellText(0, Settings), "ТД 3");
        EXPECT_EQ(node.GetCellText(1, Settings), state.value);
        EXPECT_EQ(node.GetCellColor(0, Settings), std::nullopt);
        EXPECT_EQ(node.GetCellColor(1, Settings), state.colour);
    }
    const TDetalNode none;
    EXPECT_EQ(none.GetCellText(0, Settings), "ТД");
    EXPECT_EQ(none.GetCellText(1, Settings), "");
    EXPECT_EQ(none.GetCellColor(1, Settings), std::nullopt);
}

TEST_F(DetalRowsTest, ModelListsTheTopSensorFirstWithItsColour)
{
    TSilos& silos = Silos(1, 2);
    silos.GetTIT(0)->SetOff(50);
    silos.GetTIT(0)->AddValue(true, 45000, 12.25, Settings);
    TDetalModel model(Settings);
    model.ShowSilos(&silos, 9);
    ASSERT_EQ(model.rowCount(), 4);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(model.data(model.index(row, 0), Qt::DisplayRole).toString(), QStringLiteral("ТД %1").arg(4 - row));
    EXPECT_EQ(model.data(model.index(3, 1), Qt::DisplayRole).toString(), FormatTemperature(1, 12.25));
    EXPECT_EQ(model.data(model.index(3, 1), Qt::BackgroundRole).value<QColor>(), ToQColor(clLime));
    EXPECT_FALSE(model.data(model.index(3, 0), Qt::BackgroundRole).isValid());
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Название");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Значение");
    EXPECT_TRUE(model.HasSensor());

    model.ShowSilos(nullptr, 9);
    EXPECT_EQ(model.rowCount(), 9);
    EXPECT_FALSE(model.HasSensor());
}

TEST_F(DetalRowsTest, FrameSelectionSetsRowsAndCaption)
{
    QGroupBox box(QStringLiteral("Детализация"));
    auto* tree = new QTreeView;
    (new QVBoxLayout(&box))->addWidget(tree);
    SetupDetalTree(*tree, Settings);
    ResetDetalRows(*tree, HardConfig->TITPerSilos());
    TDetalModel& model = *DetalModelOf(*tree);
    IDetailView* view = DetalViewOf(*tree);
    ASSERT_NE(view, nullptr);

    view->ShowSilosDetail(QStringLiteral("СК 1 силос 1-3"), &Silos(0, 2));
    EXPECT_EQ(box.title(), "СК 1 силос 1-3");
    EXPECT_EQ(model.RowCount(), 4);
    EXPECT_EQ(model.Node(0).Sensor, Silos(0, 2).GetTIT(3));
    EXPECT_EQ(model.Node(3).Sensor, Silos(0, 2).GetTIT(0));

    view->ShowSilosDetail(QStringLiteral("СК 2"), nullptr);
    EXPECT_EQ(box.title(), "СК 2");
    EXPECT_EQ(model.RowCount(), 4);   // a suspension's count of sensors, none of them shown
    EXPECT_FALSE(model.HasSensor());

    QTreeView bare;
    EXPECT_EQ(DetalViewOf(bare), nullptr);
    ShowSilosInDetail(bare, QStringLiteral("СК"), &Silos(0, 2));   // not set up: left alone
    EXPECT_EQ(bare.model(), nullptr);
}

TEST_F(DetalRowsTest, ColumnsOnlyGrow)
{
    QTreeView tree;
    SetupDetalTree(tree, Settings);
    ResetDetalRows(tree, 4);
    QHeaderView& header = *tree.header();
    EXPECT_GE(header.sectionSize(1), 100);
    EXPECT_EQ(tree.height(), header.sizeHint().height() + 4 * kDetalRowHeight + 4);

    Settings.TextBreak = QStringLiteral("Обрыв линии датчика температуры");
    TSilos& silos = Silos(0, 0);
    silos.GetTIT(1)->SetOff(50);
    silos.GetTIT(1)->AddValue(true, 45000, 90, Settings);
    ShowSilosInDetail(tree, QString(), &silos);
    const int wide = header.sectionSize(1);
    EXPECT_GE(wide, QFontMetrics(tree.font()).horizontalAdvance(Settings.TextBreak) + 20);

    silos.GetTIT(1)->ClearValues();
    RepaintDetal(tree);
    EXPECT_EQ(header.sectionSize(1), wide);
}

} // namespace
