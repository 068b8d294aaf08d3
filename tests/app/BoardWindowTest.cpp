// The board in the main window: built from the settings and the layout file, a pass from the
// menu in the no-port mode and one stopped half-way, the data file saved after them, and a
// layout file that could not be read kept at closing; the protocol of a pass in the embedded
// preview.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/board/BoardHost.h"
#include "app/board/DemoBoard.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/board/FrameSiloBin.h"
#include "platform/qt/QtColour.h"
#include "app/board/SiloBinGrid.h"
#include "app/board/SiloCellGeometry.h"
#include "app/widgets/VSBPro.h"
#include "core/Device/Device.h"
#include "core/ExchangeLog.h"
#include "core/Parameters.h"
#include "app/detail/DetailControl.h"
#include "app/detail/HistoryModel.h"
#include "app/detail/HistoryTree.h"
#include "app/dialogs/FHardCfg.h"
#include "report/engine/EMFPages.h"
#include "report/paper/PaperTable.h"
#include "report/ui/PageSetupForm.h"
#include "report/ui/Preview.h"
#include "report/ui/PreviewForm.h"
#include "report/ui/SpeedButton.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QCoreApplication>
#include <QFile>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTabWidget>
#include <QThread>
#include <QTreeView>

#include <chrono>

using namespace std::chrono_literals;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The colour a frame shows for one sensor of the suspension in a cell.
QColor BandColour(TfrSiLoBin& frame, int row, int col, int tit)
{
    const QImage image = frame.vtTree->grab().toImage();
    const int n = frame.GetSilo(row, col)->TITCount();
    const QRect band = SensorBandRect(CellContentRect(frame.vtTree->CellRect(row, col)), n, n - 1 - tit);
    return QColor(image.pixel(band.right() - 1, band.center().y()));
}

class BoardWindowTest : public ::testing::Test {
protected:

    // The demonstration start: no port, no settings file yet.
    std::unique_ptr<TfmMain> StartDemo()
    {
        auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid", "no_com", "debug"}, modal);
        window->show();
        QCoreApplication::processEvents();
        window->aList.UpdateAll();
        return window;
    }
    // A pass in the no-port mode, its poll chosen in the history and its protocol shown.
    static void ShowProtocolOfAPass(TfmMain& window)
    {
        ASSERT_TRUE(window.Execute(window.acFullExchg));
        ASSERT_TRUE(WaitFor([&] { return window.SendTH() == nullptr; }));
        const THistoryModel& polls = window.Detail->History->Model();
        window.vtHistory->setCurrentIndex(polls.index(0, 0, polls.index(0, 0)));
        window.aList.UpdateAll();
        ASSERT_TRUE(window.Execute(window.acPreview));
    }
    // Closing without a question: the readings were saved.
    static void Close(std::unique_ptr<TfmMain>& window)
    {
        window->close();
        window.reset();
    }

    TAppFolders folders;
    TScriptedModal modal;
};

} // namespace

TEST_F(BoardWindowTest, TheDemonstrationBoardIsBuiltFromTheSettingsAndTheLayoutFile)
{
    auto window = StartDemo();
    TBoardHost& board = *window->Board;
    ASSERT_EQ(board.SiloBinCount(), 2);
    for (int i = 0; i < 2; ++i) {
        TfrSiLoBin& frame = *board.GetSiloBin(i);
        EXPECT_EQ(frame.GetCaption(), QStringLiteral("Силкорпус %1").arg(i + 1));
        EXPECT_EQ(frame.RowCount(), 2);
        EXPECT_EQ(frame.ColCount(), 3);
        EXPECT_EQ(frame.size(), QSize(3 * 50 + 8, 2 * 50 + 20));
        EXPECT_EQ(frame.GetSilo(1, 2), window->HardConfig->GetMB(i)->GetSilos(5));
        EXPECT_EQ(frame.GetSilo(1, 2)->GetName(), QString::number(i * 6 + 6));
        EXPECT_DOUBLE_EQ(frame.GetSilo(0, 0)->GetTIT(0)->Off(), 50);
    }
    EXPECT_FALSE(board.GetSiloBin(0)->geometry().intersects(board.GetSiloBin(1)->geometry()));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" | ") + folders.HomeFile("SiloBins.xml")));
    // One item per frame in "Обмен для одного СК".
    ASSERT_EQ(window->mnExchangeOneBlock->actions().size(), 2);
    EXPECT_EQ(window->mnExchangeOneBlock->actions()[1]->text(), QStringLiteral("Силкорпус 2"));
    // Before any pass every installed sensor shows "no data".
    EXPECT_EQ(BandColour(*board.GetSiloBin(0), 0, 0, 0), ToQColor(clGreen));
    Close(window);
}

TEST_F(BoardWindowTest, APassInTheNoPortModeColoursTheBoardAndSavesTheDataFile)
{
    auto window = StartDemo();
    window->acShowErr->setChecked(true);
    ASSERT_TRUE(window->acFullExchg->isEnabled());
    ASSERT_TRUE(window->Execute(window->acFullExchg));
    EXPECT_EQ(window->pcMain->currentWidget(), window->tsExchg);
    EXPECT_FALSE(window->MainMenu1->actions().front()->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return window->SendTH() == nullptr; }));
    EXPECT_EQ(window->pcMain->currentWidget(), window->tsMain);
    EXPECT_TRUE(window->MainMenu1->actions().front()->isEnabled());
    EXPECT_FALSE(window->Modified);
    EXPECT_TRUE(ReadAll(folders.HomeFile("demo.dxml")).contains("<point "));

    TBoardHost& board = *window->Board;
    TfrSiLoBin& first = *board.GetSiloBin(0);
    TfrSiLoBin& second = *board.GetSiloBin(1);
    EXPECT_EQ(BandColour(first, 0, 0, 0), ToQColor(clLime));
    EXPECT_EQ(BandColour(first, 0, 2, 5), ToQColor(window->Settings.ColorMaxT));   // block 0, suspension 2
    EXPECT_EQ(BandColour(second, 0, 1, 5), ToQColor(window->Settings.ColorX));     // open line
    EXPECT_EQ(BandColour(second, 1, 2, 0), ToQColor(window->Settings.ColorKz));    // short circuit
    EXPECT_EQ(BandColour(second, 1, 1, 3), ToQColor(clBlack));             // asked, never answered
    EXPECT_NEAR(window->HardConfig->GetMB(0)->GetSilos(1)->GetTIT(2)->GetValue(), DemoTemperature(0, 1, 2), 0.15);

    // The sensor that did not answer is named by its device, in the log file and the lists.
    ASSERT_GT(window->lbErr->count(), 0);
    EXPECT_TRUE(window->lbErr->item(0)->text().contains(QStringLiteral("местного блока Р5-22К")))
        << window->lbErr->item(0)->text().toStdString();
    EXPECT_TRUE(QString::fromUtf8(ReadAll(folders.HomeFile("debug.log"))).contains(QStringLiteral("местного блока Р5-22К")));
    EXPECT_GT(window->lbMsg->count(), 72);
    Close(window);
}

TEST_F(BoardWindowTest, TheProtocolOfAPassShowsInTheEmbeddedPreviewWithTheReportButtons)
{
    auto window = StartDemo();
    ShowProtocolOfAPass(*window);
    EXPECT_EQ(window->pcMain->currentWidget(), window->tsPreView);

    TrpPreview& preview = *window->rpPreview1;
    const TrpPreviewForm& form = *preview.Window;
    const TrpReport* shown = preview.ShownReport();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->objectName(), QStringLiteral("rpReport"));
    EXPECT_GE(form.PageCount(), 1);
    EXPECT_EQ(shown->EMFPages->Count(), 0) << "the preview holds the pages";
    EXPECT_TRUE(form.PageSetupBtn->isVisible());
    // The report's own buttons follow the preview's in its strip.
    const QLayout& row = *form.Panel1->layout();
    for (const char* name : {"btnacReportExportRTF", "btnacReportExportTXT", "btnacReportColor"}) {
        const auto* button = form.Panel1->findChild<TrpTBButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_GT(row.indexOf(button), row.indexOf(form.FindBtn)) << name;
    }
    window->Modified = false;
    Close(window);
}

// The operator chooses the custom size in the protocol's page setup. The protocol's bands need
// 201 units of the sheet (the page footer 20, the title 92 and the page header 89 of the first
// page): 55.5 mm are round(555 x 91.6256157635468 / 254) = 200 units and are refused in the
// dialog; 55.6 mm are 201 and are taken, kept in the settings with their size and built on.
TEST_F(BoardWindowTest, TheProtocolsPageSetupTakesOnlyACustomSheetItsBandsFitOn)
{
    auto window = StartDemo();
    ShowProtocolOfAPass(*window);
    QStringList boxes;
    window->ReportContext.MessageBox = [&boxes](const QString& text, const QString&, int) {
        boxes << text;
        return 1;
    };
    TrpPreviewForm& form = *window->rpPreview1->Window;
    bool refused = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<TrpPageSetupForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->CBPaper->setCurrentIndex(dialog->CBPaper->findData(kCustomPaper));
        dialog->EWidth->setValue(210.0);
        dialog->EHeight->setValue(55.5);
        dialog->Button1->click();
        refused = dialog->isVisible();
        EXPECT_EQ(window->Settings.PrinterPaperSize, 0) << "nothing stored yet";
        dialog->EHeight->setValue(55.6);
        dialog->Button1->click();
    });
    form.PageSetupBtn->Click();
    EXPECT_TRUE(refused);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.front().contains(QStringLiteral("не помещаются"))) << boxes.front().toStdString();
    EXPECT_EQ(window->Settings.PrinterPaperSize, 256);
    EXPECT_EQ(window->Settings.PrinterPaperWidth, 2100);
    EXPECT_EQ(window->Settings.PrinterPaperHeight, 556);
    ASSERT_GE(form.PageCount(), 1);
    EXPECT_EQ(form.Pages()->Page(0).PaperHeight, 556);

    // The same paper as older builds stored it, without its size: the protocol falls back to A4.
    window->Settings.PrinterPaperWidth = window->Settings.PrinterPaperHeight = 0;
    ASSERT_TRUE(window->Execute(window->acPreview));
    ASSERT_GE(form.PageCount(), 1);
    EXPECT_EQ(form.Pages()->Page(0).PaperHeight, 2970);
    EXPECT_EQ(boxes.size(), 1) << boxes.join(QLatin1Char('\n')).toStdString();
    window->Modified = false;
    Close(window);
}

// The poll the history shows selected is the one the board and the reports show: from the
// start, and again once the hardware configuration has been saved, without a click on it.
TEST_F(BoardWindowTest, TheLastPollIsShownFromTheStartAndAfterTheHardwareConfiguration)
{
    auto window = StartDemo();
    ASSERT_TRUE(window->Execute(window->acFullExchg));
    ASSERT_TRUE(WaitFor([&] { return window->SendTH() == nullptr; }));
    const TDateTime pass = window->HardConfig->GetMB(0)->GetSilos(0)->GetTIT(0)->GetPoint(0)->Time;
    Close(window);

    window = StartDemo();
    const auto expectLastPollShown = [&] {
        const THistoryTree& history = *window->Detail->History;
        ASSERT_TRUE(history.FocusedPoint());
        EXPECT_EQ(history.FocusedPoint()->Time, pass);
        EXPECT_EQ(history.FirstSelectedPoint()->Time, pass);
        window->aList.UpdateAll();
        for (QAction* report : {window->acPreview, window->acPevewErr, window->acPrevewSelTemp})
            EXPECT_TRUE(report->isEnabled()) << report->text().toStdString();
        TfrSiLoBin& first = *window->Board->GetSiloBin(0);
        EXPECT_EQ(BandColour(first, 0, 0, 0), ToQColor(clLime));
        EXPECT_EQ(BandColour(first, 0, 2, 5), ToQColor(window->Settings.ColorMaxT));
    };
    expectLastPollShown();

    modal.ThenDialog([](QDialog& dialog) { return TScriptedModal::Press(dialog, static_cast<TfmHardCfg&>(dialog).btnOk); });
    ASSERT_TRUE(window->Execute(window->acHardCnfg));
    expectLastPollShown();
    Close(window);
}

TEST_F(BoardWindowTest, APassStoppedHalfWayEndsCleanlyAndSavesWhatItRead)
{
    auto window = StartDemo();
    window->Settings.PauseRequest = 30;
    ASSERT_TRUE(window->Execute(window->acFullExchg));
    ASSERT_TRUE(WaitFor([&] { return window->pbExchg->value() >= 3; }));
    window->btn1->click();
    ASSERT_TRUE(WaitFor([&] { return window->SendTH() == nullptr; }));
    EXPECT_EQ(window->pcMain->currentWidget(), window->tsMain);
    EXPECT_FALSE(window->Modified);
    EXPECT_TRUE(ReadAll(folders.HomeFile("demo.dxml")).contains("<point "));
    const QString debug = QString::fromUtf8(ReadAll(folders.HomeFile("debug.log")));
    EXPECT_TRUE(debug.contains(QStringLiteral("Выполняется принудительная остановка процесса опроса")));
    EXPECT_TRUE(debug.contains(QStringLiteral("Принудительная остановка процесса опроса выполнена")));
    // The last suspensions were not reached.
    EXPECT_EQ(window->HardConfig->GetMB(1)->GetSilos(5)->GetTIT(5)->PointCount(), 0);
    Close(window);
}

TEST_F(BoardWindowTest, AClosingFromOutsideStopsThePassAndSavesItsReadingsAndTheSettings)
{
    auto window = StartDemo();
    window->Settings.PauseRequest = 30;
    window->Settings.MaxT = 33;   // a setting changed since the start: written at the close
    ASSERT_TRUE(window->Execute(window->acFullExchg));
    ASSERT_TRUE(WaitFor([&] { return window->pbExchg->value() >= 3; }));

    ASSERT_TRUE(window->CloseFromOutside());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->SendTH(), nullptr);
    EXPECT_TRUE(modal.questions.empty());
    EXPECT_FALSE(window->Modified);
    EXPECT_TRUE(ReadAll(folders.HomeFile("demo.dxml")).contains("<point "));
    EXPECT_TRUE(QString::fromUtf8(ReadAll(folders.SettingsFile())).contains(QStringLiteral("Тмах=33")));
    window.reset();
}

TEST_F(BoardWindowTest, ALayoutFileThatCouldNotBeReadIsKeptAtClosing)
{
    const QByteArray broken = "<silobins><silobin No=\"1\"";
    QFile layout(folders.HomeFile("SiloBins.xml"));
    ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
    layout.write(broken);
    layout.close();
    auto window = StartDemo();
    EXPECT_EQ(window->Board->GetSiloBin(0)->ColCount(), 8);   // the default table
    Close(window);
    EXPECT_EQ(ReadAll(folders.HomeFile("SiloBins.xml")), broken);
    const QString debug = QString::fromUtf8(ReadAll(folders.HomeFile("debug.log")));
    EXPECT_TRUE(debug.contains(QStringLiteral("не прочитан"))) << debug.toStdString();
}

TEST_F(BoardWindowTest, ClosingWritesTheLayoutWithTheFramesAsTheyStand)
{
    auto window = StartDemo();
    window->Board->GetSiloBin(1)->SetCaption(QStringLiteral("Южный"));
    Close(window);
    EXPECT_TRUE(QString::fromUtf8(ReadAll(folders.HomeFile("SiloBins.xml"))).contains(QStringLiteral("binname=\"Южный\"")));
}

TEST_F(BoardWindowTest, ThePortMenuListsThePortsAndThePortSettingsChangeTheRate)
{
    QFile::link("/dev/null", folders.HomeFile("COM5"));
    auto window = StartDemo();
    QStringList items;
    for (QAction* item : window->mnPort->actions())
        items << item->text();
    EXPECT_TRUE(items.contains(QStringLiteral("COM 5"))) << items.join(",").toStdString();

    modal.ThenDialog([](QDialog& dialog) {
        auto* rate = dialog.findChild<QComboBox*>(QStringLiteral("cbBaudRate"));
        rate->setCurrentIndex(rate->findData(9600));
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(window->Execute(window->acParamCom));
    EXPECT_EQ(window->Port->Param().BaudRate, 9600u);
    EXPECT_EQ(window->sBarPanels[1]->Text(), QStringLiteral("Скорость - 9600"));
    Close(window);
}

TEST_F(BoardWindowTest, OverlappingFramesArePushedDownUntilTheyNoLongerTouch)
{
    auto window = StartDemo();
    TBoardHost& board = *window->Board;
    TfrSiLoBin& first = *board.GetSiloBin(0);
    TfrSiLoBin& second = *board.GetSiloBin(1);
    second.move(first.pos());
    board.WMArrangeSiloBins();
    // Steps of one table row (50 pixels) until the frames neither overlap nor touch.
    EXPECT_EQ(second.x(), first.x());
    EXPECT_GT(second.y(), first.geometry().bottom() + 1);
    EXPECT_EQ((second.y() - first.y()) % first.RowHeight(), 0);
    EXPECT_LE(second.y() - first.y(), first.height() + first.RowHeight());
    // A new table size asks for the arrangement by itself.
    second.move(first.pos());
    first.SetGridSize(3, 3);
    QCoreApplication::processEvents();
    EXPECT_GT(second.y(), first.geometry().bottom() + 1);
    Close(window);
}

TEST_F(BoardWindowTest, OpeningAndSavingLayoutsShowsTheLastPathInTheCaption)
{
    auto window = StartDemo();
    const QString other = folders.HomeFile("other.xml");
    modal.ThenDialog([&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(other);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(window->Execute(window->acSaveCnf));
    EXPECT_EQ(window->Settings.SiloBinsFile, other);
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" | ") + other));
    EXPECT_EQ(window->windowTitle().count(QLatin1Char('|')), 1);
    const QString first = folders.HomeFile("SiloBins.xml");
    modal.ThenDialog([&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(first);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(window->Execute(window->acOpenCnf));
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" | ") + first));
    EXPECT_EQ(window->windowTitle().count(QLatin1Char('|')), 1);
    Close(window);
}

TEST_F(BoardWindowTest, ClearingTheArchiveEmptiesTheBoardsHistoriesUntilTheNextSave)
{
    auto window = StartDemo();
    ASSERT_TRUE(window->Execute(window->acFullExchg));
    ASSERT_TRUE(WaitFor([&] { return window->SendTH() == nullptr; }));
    const QByteArray saved = ReadAll(folders.HomeFile("demo.dxml"));
    ASSERT_TRUE(window->Execute(window->acClearRetro));
    EXPECT_TRUE(window->Modified);
    EXPECT_EQ(window->HardConfig->GetMB(0)->GetSilos(0)->GetTIT(0)->PointCount(), 0);
    EXPECT_EQ(ReadAll(folders.HomeFile("demo.dxml")), saved);
    window->Modified = false;
    Close(window);
}

TEST_F(BoardWindowTest, WithoutSiloBlocksThereAreNoFramesAndNoLayoutIsWritten)
{
    QFile settings(folders.SettingsFile());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Конфигурация]\nСилкорпусов=0\n");
    settings.close();
    auto window = StartDemo();
    EXPECT_EQ(window->Board->SiloBinCount(), 0);
    EXPECT_TRUE(window->mnExchangeOneBlock->actions().isEmpty());
    Close(window);
    EXPECT_FALSE(QFile::exists(folders.HomeFile("SiloBins.xml")));
}
