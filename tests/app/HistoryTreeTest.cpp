// The poll history tree on a view: the newest poll chosen and shown after a rebuild,
// choosing a poll or a date shows it on every sensor, the header flips the order, and the
// rate-of-change check's lines.
#include "AppTestEnvironment.h"

#include "app/detail/HistoryActions.h"
#include "app/detail/HistoryModel.h"
#include "app/detail/HistoryTree.h"
#include "base/DateTime.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeView>

namespace {

TDateTime At(int day, int hour)
{
    return EncodeDateTime(2024, 3, day, hour, 0, 0, 0);
}

void Give(TTIT& sensor, std::vector<std::pair<TDateTime, double>> points)
{
    std::vector<TTITPoint> history;
    for (const auto& [time, value] : points) {
        TTITPoint point;
        point.SetTime(time);
        point.Value = value;
        history.push_back(point);
    }
    sensor.AssignPoints(history);
}

class HistoryTreeTest : public ::testing::Test {
protected:
    HistoryTreeTest()
    {
        Settings.AveragePeriod = 0;
        Settings.UseCheckSpeed = false;
        Settings.Precision = 1;
        HardConfig = std::make_unique<THardConfig>(1, 2, 2);
        for (int s = 0; s < 2; ++s)
            for (int k = 0; k < 2; ++k)
                Sensor(s, k).SetOff(50);
        Give(Sensor(0, 0), {{At(1, 10), 1}, {At(1, 11), 2}, {At(2, 9), 3}});
        Give(Sensor(0, 1), {{At(1, 10), 4}});
        Give(Sensor(1, 0), {{At(1, 11), 5}});
        view.resize(200, 400);
        QObject::connect(&tree, &THistoryTree::PollApplied, [this] { ++applied; });
    }
    TSilos* Silos(int number) const { return HardConfig->GetMB(0)->GetSilos(number); }
    TTIT& Sensor(int silos, int k) const { return *Silos(silos)->GetTIT(k); }
    std::vector<TSilos*> Board() const { return {Silos(0), Silos(1)}; }
    QString Text(const QModelIndex& index) const { return tree.Model().data(index, Qt::DisplayRole).toString(); }
    QModelIndex Row(int date, int poll = -1) const
    {
        const QModelIndex parent = tree.Model().index(date, 0);
        return poll < 0 ? parent : tree.Model().index(poll, 0, parent);
    }
    void ClickHeader()
    {
        QHeaderView* header = view.header();
        const QPoint at(header->sectionViewportPosition(0) + 5, header->height() / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &press);
        QApplication::sendEvent(header->viewport(), &release);
    }

    TAppFolders folders;   // the speed log goes to the test's own folder
    Parameters Settings;
    std::unique_ptr<THardConfig> HardConfig;
    QTreeView view;
    THistoryTree tree{view, HardConfig, Settings};
    int applied = 0;
};

TEST_F(HistoryTreeTest, RebuildChoosesTheNewestPollAndShowsIt)
{
    tree.Rebuild(Board());
    EXPECT_EQ(tree.Model().DateCount(), 2);
    EXPECT_EQ(tree.Model().PollCount(), 3);
    ASSERT_TRUE(tree.FocusedPoint());
    EXPECT_EQ(tree.FocusedPoint()->Time, At(2, 9));
    ASSERT_TRUE(tree.FirstSelectedPoint());
    EXPECT_EQ(tree.FirstSelectedPoint()->Time, At(2, 9));
    EXPECT_TRUE(view.isExpanded(Row(0)));
    EXPECT_EQ(applied, 1);
    // The sensors show the poll at once; one without a point then shows no data.
    EXPECT_EQ(Sensor(0, 0).Values(), std::vector<double>{3});
    EXPECT_EQ(Sensor(0, 1).Values().size(), 0u);
    EXPECT_EQ(Sensor(0, 1).GetValueText(Settings), "");

    // The tree taking the keyboard focus changes nothing.
    view.show();
    view.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(tree.FocusedPoint()->Time, At(2, 9));
    EXPECT_EQ(applied, 1);
}

TEST_F(HistoryTreeTest, ChoosingAPollShowsItOnEverySensor)
{
    tree.Rebuild(Board());
    const QModelIndex tenOClock = Row(1, 1);   // 01.03: 11.00.00 then 10.00.00
    ASSERT_EQ(Text(tenOClock), "10.00.00");
    view.setCurrentIndex(tenOClock);
    EXPECT_EQ(applied, 2);   // the rebuild's newest poll, then this one
    ASSERT_TRUE(tree.FocusedPoint());
    EXPECT_EQ(tree.FocusedPoint()->Time, At(1, 10));
    EXPECT_EQ(Sensor(0, 0).GetValue(), 1);
    EXPECT_EQ(Sensor(0, 1).GetValue(), 4);
    // No point at that time: no data, and the colour of a sensor without data.
    EXPECT_EQ(Sensor(1, 0).GetValueText(Settings), "");
    EXPECT_EQ(Sensor(1, 0).GetColor(Settings), clGreen);
    EXPECT_EQ(Sensor(1, 0).Values().size(), 0u);

    // A date shows the poll of the point it holds: its first one.
    view.setCurrentIndex(Row(1));
    EXPECT_EQ(applied, 3);
    EXPECT_EQ(Sensor(0, 0).Values(), std::vector<double>{1});
    EXPECT_EQ(Sensor(1, 0).Values().size(), 0u);

    view.setCurrentIndex(Row(0, 0));
    EXPECT_EQ(Sensor(0, 0).Values(), std::vector<double>{3});
    EXPECT_EQ(Sensor(0, 1).Values().size(), 0u);
}

TEST_F(HistoryTreeTest, HeaderClickFlipsTheOrder)
{
    view.show();
    QApplication::processEvents();
    std::vector<int> told;
    QObject::connect(&tree, &THistoryTree::SortDirectionChanged, [&](int direction) { told.push_back(direction); });
    tree.Rebuild(Board());
    ASSERT_EQ(Text(Row(0)), "02.03.2024");
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::DescendingOrder);

    ClickHeader();
    EXPECT_EQ(tree.SortDirection(), THistoryModel::kOldestFirst);
    EXPECT_EQ(told, std::vector<int>{THistoryModel::kOldestFirst});
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(Text(Row(0)), "01.03.2024");
    EXPECT_EQ(Text(Row(0, 0)), "10.00.00");
    // The selection follows its poll, and the next rebuild still picks the newest.
    EXPECT_EQ(tree.FirstSelectedPoint()->Time, At(2, 9));
    tree.Rebuild(Board());
    EXPECT_EQ(tree.FirstSelectedPoint()->Time, At(2, 9));
    EXPECT_EQ(view.selectionModel()->selectedRows().first(), Row(1, 0));

    ClickHeader();
    EXPECT_EQ(tree.SortDirection(), THistoryModel::kNewestFirst);
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(applied, 2);   // by the two rebuilds only: flipping the order chooses nothing
}

TEST_F(HistoryTreeTest, EmptyHistoryHasNothingToChoose)
{
    tree.Rebuild({});
    EXPECT_EQ(tree.Model().rowCount(), 0);
    EXPECT_FALSE(tree.FirstSelectedPoint());
    tree.ApplyFirstSelected();
    EXPECT_EQ(applied, 0);
    tree.Rebuild(Board());
    tree.Clear();
    EXPECT_EQ(tree.Model().rowCount(), 0);
    EXPECT_FALSE(tree.FirstSelectedPoint());
}

TEST_F(HistoryTreeTest, RateCheckReportsChangesAboveTheThreshold)
{
    // One valid point a day for five days: +1 degree a day on sensor 1, -2 on the other.
    std::vector<std::pair<TDateTime, double>> rising, falling;
    for (int day = 1; day <= 5; ++day) {
        rising.push_back({At(day, 8), 10.0 + day});
        falling.push_back({At(day, 8), 20.0 - 2 * day});
    }
    Give(Sensor(0, 1), rising);
    Give(Sensor(1, 0), falling);
    Silos(1)->SetSilosName(QStringLiteral("Южный"));
    EXPECT_EQ(TempSpeedLines(Board(), At(5, 12), 0.5),
              QStringList({"Силос \"1-1\" датчик 2 за период времени с 01.03.2024 по 05.03.2024 температура "
                           "изменилась на 1.000",
                           "Силос \"Южный\" датчик 1 за период времени с 01.03.2024 по 05.03.2024 температура "
                           "изменилась на -2.000"}));
    // A change equal to the threshold is not reported.
    EXPECT_EQ(TempSpeedLines(Board(), At(5, 12), 1.0).size(), 1);
    EXPECT_TRUE(TempSpeedLines(Board(), At(5, 12), 2.0).isEmpty());
    // A day without a point: no rate at all.
    EXPECT_TRUE(TempSpeedLines(Board(), At(6, 12), 0.0).isEmpty());
}

} // namespace
