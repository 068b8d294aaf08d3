// A full pass from the main window over a pseudo-terminal against the simulated line: the
// board shows the new temperatures, the data file is saved, and the log names the local block
// that failed to answer by its device name.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/board/BoardHost.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/board/FrameSiloBin.h"
#include "platform/qt/QtColour.h"
#include "app/board/SiloBinGrid.h"
#include "app/board/SiloCellGeometry.h"
#include "core/Device/Device.h"
#include "core/ExchangeLog.h"
#include "core/Parameters.h"
#include "tools/ft3sim/Simulator.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QThread>

#include <chrono>
#include <filesystem>

using namespace std::chrono_literals;

namespace {

void WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QColor BandColour(TfrSiLoBin& frame, int col, int tit)
{
    const QImage image = frame.vtTree->grab().toImage();
    const int n = frame.GetSilo(0, col)->TITCount();
    const QRect band = SensorBandRect(CellContentRect(frame.vtTree->CellRect(0, col)), n, n - 1 - tit);
    return QColor(image.pixel(band.right() - 1, band.center().y()));
}

} // namespace

TEST(BoardLinePassTest, AFullPassOverTheLineRepaintsTheBoardAndSavesTheDataFile)
{
    TAppFolders folders;
    TScriptedModal modal;
    ft3sim::Simulator line;
    // Block 0: suspension 0 at 20 degrees, suspension 1 above the maximum; one sensor silent.
    for (uint16_t channel = 0; channel < 12; ++channel)
        line.localBlock().SetReadings(0, channel, ft3sim::WordsForTemperature(channel < 6 ? 20.0 : 35.0));
    ft3sim::FaultRule silent;
    silent.address = 1;
    silent.channel = 7;
    silent.faults.silent = true;
    line.AddFault(silent);
    line.Start();
    std::filesystem::create_symlink(line.SlavePath(), folders.HomeFile("COM3").toStdString());

    const QString dataFile = folders.HomeFile("line.dxml");
    WriteText(folders.SettingsFile(),
        "[TfmMain]\nPort.Number=3\n"
        "[Общие]\nДанные=" + dataFile.toUtf8() + "\n"
        "[Конфигурация]\nСилкорпусов=1\nБлоков=1\nТУРов=2\nТД в ТУР=2\n"
        "Пауза включения модуля=5\nПауза отключения модуля=5\nПауза между командами запроса=5\n"
        "Время ожидания ответа на команду \"Запрос данных\"=150\n");
    QByteArray layout = "<?xml version=\"1.0\"?><silobins><silobin No=\"1\" Row=\"1\" Col=\"2\">";
    for (int silos = 0; silos < 2; ++silos)
        layout += "<silos Row=\"0\" Col=\"" + QByteArray::number(silos) + "\" Addr=\"0\" No=\"" + QByteArray::number(silos)
            + "\"><tit No=\"0\" Tk=\"0\" Mult=\"4.6729\" Off=\"50\"/><tit No=\"1\" Tk=\"0\" Mult=\"4.6729\" Off=\"50\"/></silos>";
    WriteText(folders.HomeFile("SiloBins.xml"), layout + "</silobin></silobins>");

    auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid"});
    window->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->Port->Enable()) << window->Port->Status();
    window->aList.UpdateAll();
    ASSERT_TRUE(window->Execute(window->acFullExchg));

    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (window->SendTH() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    ASSERT_EQ(window->SendTH(), nullptr);
    QCoreApplication::processEvents();

    TfrSiLoBin& frame = *window->Board->GetSiloBin(0);
    EXPECT_EQ(BandColour(frame, 0, 0), ToQColor(clLime));
    EXPECT_EQ(BandColour(frame, 0, 1), ToQColor(clLime));
    EXPECT_EQ(BandColour(frame, 1, 0), ToQColor(window->Settings.ColorMaxT));
    EXPECT_NEAR(window->HardConfig->GetMB(0)->GetSilos(0)->GetTIT(1)->GetValue(), 20.0, 0.15);
    EXPECT_FALSE(window->Modified);
    const QByteArray file = ReadAll(dataFile);
    // One point per polled sensor, the silent one's standing for "no data".
    EXPECT_EQ(file.count("<point "), 4) << file.toStdString();
    EXPECT_EQ(BandColour(frame, 1, 1), ToQColor(clGreen));
    const QString debug = QString::fromUtf8(ReadAll(folders.HomeFile("debug.log")));
    EXPECT_TRUE(debug.contains(QStringLiteral("местного блока Р5-22К"))) << debug.toStdString();
    EXPECT_FALSE(debug.contains(QStringLiteral("контроллера с адресом 1")));

    window->close();
    window.reset();
    line.Stop();
}
