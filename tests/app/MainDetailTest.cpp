// The main window's detail and history: pop-up menus, deleting the chosen poll, the precision
// action repainting the detail.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/detail/DetailControl.h"
#include "app/detail/DetailModel.h"
#include "app/detail/DetailTree.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/detail/FPrecision.h"
#include "app/detail/HistoryModel.h"
#include "app/detail/HistoryTree.h"
#include "app/users/User.h"
#include "base/DateTime.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeView>

namespace {

class MainDetailTest : public ::testing::Test {
protected:
    ~MainDetailTest() override { window.reset(); }

    void MakeWindow()
    {
        window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid"}, modal);
        window->show();
        RunIdle();
        // The tree the test looks at, made after the window's own start-up.
        window->HardConfig = std::make_unique<THardConfig>(1, 1, 2);
        for (int k = 0; k < 2; ++k) {
            TTIT& sensor = *window->HardConfig->GetMB(0)->GetSilos(0)->GetTIT(k);
            sensor.SetOff(50);
            std::vector<TTITPoint> points;
            for (int hour : {9, 10, 11}) {
                TTITPoint point;
                point.SetTime(EncodeDateTime(2024, 3, 1, hour, 0, 0, 0));
                point.Value = hour + k;
                points.push_back(point);
            }
            sensor.AssignPoints(points);
        }
        window->Detail->History->Clear();
        window->Detail->AddSiloHistory(window->HardConfig->GetMB(0)->GetSilos(0));
    }
    static void RunIdle()
    {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    TTIT& Sensor(int k) const { return *window->HardConfig->GetMB(0)->GetSilos(0)->GetTIT(k); }
    QModelIndex Poll(int row) const
    {
        const THistoryModel& model = window->Detail->History->Model();
        return model.index(row, 0, model.index(0, 0));
    }

    TAppFolders folders;
    TScriptedModal modal;
    std::unique_ptr<TfmMain> window;
};

TEST_F(MainDetailTest, DeletingTheChosenPollRemovesItFromEverySensor)
{
    MakeWindow();
    TUser admin(QStringLiteral("Admin"), QStringLiteral("1"));
    window->CurrentUser = &admin;
    window->activateWindow();
    window->vtHistory->setFocus();
    window->vtHistory->setCurrentIndex(Poll(1));   // 10:00 (newest first)
    EXPECT_EQ(Sensor(1).Values(), std::vector<double>{11});
    RunIdle();
    EXPECT_TRUE(window->acCheckSpeed->isEnabled());
    EXPECT_TRUE(window->acPreview->isEnabled());
    if (!window->vtHistory->hasFocus())
        GTEST_SKIP() << "the platform gives no keyboard focus";
    ASSERT_TRUE(window->acDelTM->isEnabled());
    window->Modified = false;
    EXPECT_TRUE(window->Execute(window->acDelTM));
    EXPECT_TRUE(window->Modified);
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(Sensor(k).PointCount(), 2);
        EXPECT_EQ(DecodeDateTime(Sensor(k).GetPoint(0)->Time).hour, 9);
        EXPECT_EQ(DecodeDateTime(Sensor(k).GetPoint(1)->Time).hour, 11);
    }
    // The tree was rebuilt: no poll is chosen any more.
    EXPECT_FALSE(window->Detail->History->FocusedPoint());
    RunIdle();
    EXPECT_FALSE(window->acDelTM->isEnabled());
    window->CurrentUser = nullptr;
}

TEST_F(MainDetailTest, PrecisionActionRepaintsTheDetail)
{
    MakeWindow();
    window->vtHistory->setCurrentIndex(Poll(0));   // 11:00
    ShowSilosInDetail(*window->vtDetal, QStringLiteral("СК"), window->HardConfig->GetMB(0)->GetSilos(0));
    TDetalModel& rows = *DetalModelOf(*window->vtDetal);
    int repainted = 0;
    QObject::connect(&rows, &QAbstractItemModel::dataChanged, [&] { ++repainted; });
    window->Settings.Precision = 1;
    modal.ThenDialog([](QDialog& dialog) {
        auto& precision = static_cast<TfmPrecision&>(dialog);
        precision.edPrecision->setValue(2);
        return TScriptedModal::Press(dialog, precision.Buttons->button(QDialogButtonBox::Ok));
    });
    EXPECT_TRUE(window->Execute(window->asPrecision));
    EXPECT_EQ(window->Settings.Precision, 2);
    EXPECT_EQ(repainted, 1);
    EXPECT_EQ(rows.data(rows.index(0, 1), Qt::DisplayRole).toString(), "12.00");
    RunIdle();
    EXPECT_TRUE(window->acTITParam->isEnabled());
}

TEST_F(MainDetailTest, SortOrderComesFromAndGoesToTheSettings)
{
    MakeWindow();
    window->Detail->HistorySortOrder = 1;
    window->Detail->RebuildHistory();
    EXPECT_EQ(window->Detail->History->SortDirection(), THistoryModel::kOldestFirst);
    emit window->vtHistory->header()->sectionClicked(0);
    EXPECT_EQ(window->Detail->HistorySortOrder, 0);
    EXPECT_EQ(window->Detail->History->SortDirection(), THistoryModel::kNewestFirst);
}

TEST_F(MainDetailTest, TreesOpenTheirPopUpMenus)
{
    MakeWindow();
    emit window->vtHistory->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(window->pmArcTM->isVisible());
    window->pmArcTM->hide();
    emit window->vtDetal->customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(window->pmDetalTIT->isVisible());
    window->pmDetalTIT->hide();
}

} // namespace
