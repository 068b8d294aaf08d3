// A full pass from the main window over a pseudo-terminal against the simulated line: the
// board shows the new temperatures, the data file is saved, and the log names the local block
// that failed to answer by its device name. A line that dies in the middle of a pass shows: in
// red lines, in the port panel, on the board and in the window's icon; it is used again once it
// is back. A scheduled poll finding the port closed opens it, or says why it could not.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/board/BoardHost.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/board/FrameSiloBin.h"
#include "platform/qt/QtColour.h"
#include "app/board/SiloBinGrid.h"
#include "app/board/SiloCellGeometry.h"
#include "app/schedule/TimerTh.h"
#include "app/widgets/VSBPro.h"
#include "core/Device/Device.h"
#include "core/ExchangeLog.h"
#include "core/Parameters.h"
#include "core/WindowMessages.h"
#include "tools/ft3sim/Simulator.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QListWidget>
#include <QThread>

#include <atomic>
#include <chrono>
#include <utility>
#include <vector>
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

// The program's folder for a line on port 3: a silo block of one row whose cells hold the
// suspensions (block address, suspension number), each of two installed sensors, out of `blocks`
// local blocks of two suspensions; short pauses; the readings go to "line.dxml", whose path is
// returned. `window` adds keys of the main window's own section.
QString WriteLineFolder(const TAppFolders& folders, int blocks, const std::vector<std::pair<int, int>>& cells,
                        const QByteArray& window = {})
{
    const QString dataFile = folders.HomeFile("line.dxml");
    WriteText(folders.SettingsFile(),
        "[TfmMain]\nPort.Number=3\n" + window +
        "[Общие]\nДанные=" + dataFile.toUtf8() + "\n"
        "[Конфигурация]\nСилкорпусов=1\nБлоков=" + QByteArray::number(blocks) + "\nТУРов=2\nТД в ТУР=2\n"
        "Пауза включения модуля=5\nПауза отключения модуля=5\nПауза между командами запроса=5\n"
        "Время ожидания ответа на команду \"Запрос данных\"=150\n");
    QByteArray layout = "<?xml version=\"1.0\"?><silobins><silobin No=\"1\" Row=\"1\" Col=\""
        + QByteArray::number(cells.size()) + "\">";
    for (size_t col = 0; col < cells.size(); ++col)
        layout += "<silos Row=\"0\" Col=\"" + QByteArray::number(col) + "\" Addr=\"" + QByteArray::number(cells[col].first)
            + "\" No=\"" + QByteArray::number(cells[col].second)
            + "\"><tit No=\"0\" Tk=\"0\" Mult=\"4.6729\" Off=\"50\"/><tit No=\"1\" Tk=\"0\" Mult=\"4.6729\" Off=\"50\"/></silos>";
    WriteText(folders.HomeFile("SiloBins.xml"), layout + "</silobin></silobins>");
    return dataFile;
}

// Runs a full pass from the window and handles what it posts until it has ended.
void RunFullPass(TfmMain& window)
{
    window.aList.UpdateAll();
    ASSERT_TRUE(window.Execute(window.acFullExchg));
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (window.SendTH() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    ASSERT_EQ(window.SendTH(), nullptr);
    QCoreApplication::processEvents();
    window.AppEvents1Idle();
}

// The error list's texts, oldest first, without their time stamps.
QStringList ErrorLines(const TfmMain& window)
{
    QStringList lines;
    for (int row = window.lbErr->count() - 1; row >= 0; --row)
        lines << window.lbErr->item(row)->text().section(QStringLiteral(" : "), 1);
    return lines;
}

// Counts the scheduled polls that reach a window; the window has handled each by the time the
// event loop returns.
class TScheduledPolls : public QObject {
public:
    explicit TScheduledPolls(QObject& window) { window.installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == WM_SCHEDULED_EXCHANGE)
            ++Count;
        return false;
    }
};

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

    const QString dataFile = WriteLineFolder(folders, 1, {{0, 0}, {0, 1}});

    auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid"}, modal);
    window->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->Port->Enable()) << window->Port->Status();
    RunFullPass(*window);

    TfrSiLoBin& frame = *window->Board->GetSiloBin(0);
    EXPECT_EQ(BandColour(frame, 0, 0), ToQColor(clLime));
    EXPECT_EQ(BandColour(frame, 0, 1), ToQColor(clLime));
    EXPECT_EQ(BandColour(frame, 1, 0), ToQColor(window->Settings.ColorMaxT));
    EXPECT_NEAR(window->HardConfig->GetMB(0)->GetSilos(0)->GetTIT(1)->GetValue(), 20.0, 0.15);
    EXPECT_FALSE(window->Modified);
    const QByteArray file = ReadAll(dataFile);
    // One point per polled sensor; the silent one's, without a value, shows it as not replied.
    EXPECT_EQ(file.count("<point "), 4) << file.toStdString();
    EXPECT_EQ(BandColour(frame, 1, 1), ToQColor(clBlack));
    const QString debug = QString::fromUtf8(ReadAll(folders.HomeFile("debug.log")));
    EXPECT_TRUE(debug.contains(QStringLiteral("местного блока Р5-22К"))) << debug.toStdString();
    EXPECT_FALSE(debug.contains(QStringLiteral("контроллера с адресом 1")));

    window->close();
    window.reset();
    line.Stop();
}

TEST(BoardLinePassTest, ALineThatDiesMidPassShowsEverywhereAndIsUsedAgainWhenBack)
{
    TAppFolders folders;
    TScriptedModal modal;
    ft3sim::Simulator line;
    line.localBlock().SetDefaultReadings(ft3sim::WordsForTemperature(20.0));
    line.KeepLink(folders.HomeFile("COM3").toStdString());
    // Block 0 is switched on and the first suspension read; the line goes at the next request.
    line.VanishAfter(3);
    line.Start();

    // Suspensions 1 and 2 of block 0, and suspension 1 of block 1; the error list is shown.
    WriteLineFolder(folders, 2, {{0, 0}, {0, 1}, {1, 0}}, "acShowErr.Checked=1\n");

    auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid"}, modal);
    window->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->Port->Enable()) << window->Port->Status();
    ASSERT_TRUE(window->acShowErr->isChecked());
    window->Settings.Alarms[CommutatorNoReply] = {true, 1};
    window->Settings.Alarms[BlockNoReply] = {true, 2};
    RunFullPass(*window);

    const QStringList errors = ErrorLines(*window);
    const QStringList expected{
        QStringLiteral("Нет ответа от местного блока Р5-22К - COM3: Ошибка ввода/вывода "),
        QStringLiteral("Нет ответа от местного блока Р5-22К - COM3: Ошибка ввода/вывода "),
        QStringLiteral("Нет ответа от коммутатора КС-4 - COM3: Нет такого файла или каталога "),
        QStringLiteral("Нет ответа от коммутатора КС-4 - COM3: Нет такого файла или каталога "),
        QStringLiteral("Местный блок №2 не включен: его термоподвески не опрошены"),
    };
    EXPECT_EQ(errors, expected) << errors.join('\n').toStdString();
    EXPECT_EQ(window->sBarPanels[0]->Text(), QStringLiteral("COM3 - Нет такого файла или каталога"));
    TfrSiLoBin& frame = *window->Board->GetSiloBin(0);
    EXPECT_EQ(BandColour(frame, 0, 0), ToQColor(clLime));
    for (int col : {1, 2})
        for (int tit : {0, 1})
            EXPECT_EQ(BandColour(frame, col, tit), ToQColor(clBlack)) << col << "." << tit << " shows no reply";
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("Error"));
    EXPECT_NE(QString::fromUtf8(ReadAll(folders.HomeFile("overlay.log"))).indexOf(QStringLiteral("Нет ответа от коммутатора КС-4")), -1);

    line.Return();
    window->lbErr->clear();
    // The poll history tells polls apart by the second: the next pass starts in a later one.
    QThread::msleep(static_cast<unsigned long>(1000 - QDateTime::currentMSecsSinceEpoch() % 1000 + 10));
    RunFullPass(*window);
    EXPECT_TRUE(ErrorLines(*window).isEmpty()) << ErrorLines(*window).join('\n').toStdString();
    EXPECT_EQ(window->sBarPanels[0]->Text(), QStringLiteral("COM3 - готов"));
    for (int col : {0, 1, 2})
        for (int tit : {0, 1})
            EXPECT_EQ(BandColour(frame, col, tit), ToQColor(clLime)) << col << "." << tit;
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("OK"));

    window->close();
    window.reset();
    line.Stop();
}

// As the program starts: the error list not switched on, no debug page, every notification
// condition off. A line that fails is told all the same, in the error list, and the taskbar shows
// an error; a pass started on the port that no longer opens says so at once, with the reason and
// what to check. Other red lines still wait for the error list to be switched on.
TEST(BoardLinePassTest, AFailedLineIsToldWhateverTheErrorListsSwitch)
{
    TAppFolders folders;
    TScriptedModal modal;
    ft3sim::Simulator line;
    line.localBlock().SetDefaultReadings(ft3sim::WordsForTemperature(20.0));
    line.KeepLink(folders.HomeFile("COM3").toStdString());
    line.VanishAfter(3);
    line.Start();
    WriteLineFolder(folders, 2, {{0, 0}, {0, 1}, {1, 0}});

    auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid"}, modal);
    window->show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->Port->Enable()) << window->Port->Status();
    ASSERT_FALSE(window->acShowErr->isChecked());
    ASSERT_FALSE(window->acDebug->isVisible());
    RunFullPass(*window);
    EXPECT_EQ(ErrorLines(*window), (QStringList{
        QStringLiteral("Нет ответа от местного блока Р5-22К - COM3: Ошибка ввода/вывода "),
        QStringLiteral("Нет ответа от местного блока Р5-22К - COM3: Ошибка ввода/вывода "),
        QStringLiteral("Нет ответа от коммутатора КС-4 - COM3: Нет такого файла или каталога "),
        QStringLiteral("Нет ответа от коммутатора КС-4 - COM3: Нет такого файла или каталога "),
        QStringLiteral("Местный блок №2 не включен: его термоподвески не опрошены"),
    })) << ErrorLines(*window).join('\n').toStdString();
    EXPECT_TRUE(window->lbErr->isVisible());
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("Error"));

    // The second "Полный обмен" on the port whose device is gone.
    window->lbErr->clear();
    RunFullPass(*window);
    EXPECT_EQ(ErrorLines(*window),
              QStringList{QStringLiteral("Порт COM3 не открывается (Нет такого файла или каталога): опрос не выполнен. "
                                         "Проверьте, что преобразователь интерфейса подключён к компьютеру и в меню "
                                         "«Порт обмена» выбран его порт")});
    EXPECT_TRUE(window->lbErr->isVisible());
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("Error"));
    const QString debug = QString::fromUtf8(ReadAll(folders.HomeFile("debug.log")));
    EXPECT_TRUE(debug.contains(QStringLiteral("Порт COM3 не открывается"))) << "the message log has it too";

    // A red line of another kind waits for the switch.
    window->lbErr->clear();
    window->Monitor.Log.Post(QStringLiteral("Файл не записан"), kLogError);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ErrorLines(*window).isEmpty());

    window->close();
    window.reset();
    line.Stop();
}

// The adaptor is not plugged in when the program starts: the port stays closed and so does
// "Полный обмен". A poll the schedule starts tries the port all the same; while it does not
// open, the poll is not made and says so at once, as a failed line (the port, the system's
// reason, what to check), and the taskbar shows an error. A poll falling due while a pass runs
// is dropped without a word. Once the adaptor is back, the next poll that falls due opens the
// port and makes its pass.
TEST(BoardLinePassTest, AScheduledPollOpensAClosedPortOrSaysWhyItWasNotMade)
{
    TAppFolders folders;
    TScriptedModal modal;
    ft3sim::Simulator line;
    line.localBlock().SetDefaultReadings(ft3sim::WordsForTemperature(20.0));
    line.KeepLink(folders.HomeFile("COM3").toStdString());
    line.Vanish();
    line.Start();
    WriteLineFolder(folders, 1, {{0, 0}, {0, 1}});

    auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid"}, modal);
    int passesStarted = 0;
    QObject::connect(window->acFullExchg, &QAction::triggered, [&] { ++passesStarted; });
    window->show();
    QCoreApplication::processEvents();
    ASSERT_FALSE(window->Port->Enable());
    ASSERT_FALSE(window->acShowErr->isChecked());
    window->aList.UpdateAll();
    EXPECT_FALSE(window->acFullExchg->isEnabled());

    // A poll every minute, on a clock the test sets.
    std::atomic<TDateTime> now{EncodeDateTime(2024, 12, 9, 8, 0, 59, 0)};
    TSchedulePlan plan;
    plan.Assign({{60, pkPeriod}});
    TScheduledPolls polls(*window);
    auto schedule = std::make_unique<TTimerTh>(plan, window.get(), [&] { return now.load(); },
                                               std::chrono::milliseconds(1), window->Monitor.Log.Sink());
    now = EncodeDateTime(2024, 12, 9, 8, 1, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return polls.Count == 1; }));
    const QString notMade = QStringLiteral(
        "Порт COM3 не открывается (Нет такого файла или каталога): опрос по расписанию не выполнен. "
        "Проверьте, что преобразователь интерфейса подключён к компьютеру и в меню «Порт обмена» выбран его порт");
    EXPECT_EQ(ErrorLines(*window), QStringList{notMade});
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("Error"));
    EXPECT_FALSE(window->Port->Enable());
    window->AppEvents1Idle();
    EXPECT_EQ(window->sBarPanels[0]->Text(), QStringLiteral("COM3 - Нет такого файла или каталога"));
    EXPECT_EQ(passesStarted, 0);
    EXPECT_TRUE(line.Exchanges().empty());
    const QString debug = QString::fromUtf8(ReadAll(folders.HomeFile("debug.log")));
    const qsizetype due = debug.indexOf(QStringLiteral("Полный опрос по расписанию: С периодом в 1 мин. - 09.12 08:01:00"));
    EXPECT_NE(due, -1) << debug.toStdString();
    EXPECT_GT(debug.indexOf(notMade), due) << "the poll falls due, then is told not made";

    // A pass under way: the poll is dropped, the port not tried, nothing said.
    window->lbErr->clear();
    ASSERT_TRUE(window->Monitor.Passes.Create(window->Settings, {}));
    now = EncodeDateTime(2024, 12, 9, 8, 2, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return polls.Count == 2; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ErrorLines(*window).isEmpty()) << ErrorLines(*window).join('\n').toStdString();
    EXPECT_EQ(QString::fromUtf8(ReadAll(folders.HomeFile("debug.log"))).count(notMade), 1);
    window->Monitor.Passes.Release();

    line.Return();
    now = EncodeDateTime(2024, 12, 9, 8, 3, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return polls.Count == 3; }));
    EXPECT_EQ(passesStarted, 1);
    ASSERT_TRUE(WaitFor([&] { return window->SendTH() == nullptr; }));
    QCoreApplication::processEvents();
    window->AppEvents1Idle();
    EXPECT_TRUE(window->Port->Enable());
    EXPECT_EQ(window->sBarPanels[0]->Text(), QStringLiteral("COM3 - готов"));
    EXPECT_TRUE(ErrorLines(*window).isEmpty()) << ErrorLines(*window).join('\n').toStdString();
    EXPECT_FALSE(line.Exchanges().empty());
    TfrSiLoBin& frame = *window->Board->GetSiloBin(0);
    for (int col : {0, 1})
        for (int tit : {0, 1})
            EXPECT_EQ(BandColour(frame, col, tit), ToQColor(clLime)) << col << "." << tit;
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("OK"));

    schedule.reset();
    window->close();
    window.reset();
    line.Stop();
}
