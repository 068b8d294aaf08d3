// The settings file's sections: defaults, reading quirks, ranges, order, file forms.
#include "app/settings/SettingsDateTime.h"
#include "app/settings/SettingsSections.h"
#include "base/CodePage.h"
#include "platform/posix/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>

namespace {

class SettingsSectionsTest : public ::testing::Test {
protected:
    std::string Path(const char* name = "Tavik_zuzid.INI") const { return QDir(dir.path()).filePath(name).toStdString(); }
    void WriteFile(const std::string& octets, const char* name = "Tavik_zuzid.INI") const
    {
        std::ofstream(Path(name), std::ios::binary) << octets;
    }
    std::string ReadFile(const char* name = "Tavik_zuzid.INI") const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Reads every section in the loader's order.
    void ReadAll(const IniFile& ini)
    {
        ReadGeneralSection(ini, p, w);
        ReadSiteSection(ini, p);
        w.Hardware = ReadHardwareCounts(ini, p);
        ReadHardwareDetails(ini, w.Hardware);
        ReadConfigurationKeys(ini, p, w);
        ReadPrintingKeys(ini, p, w);
        ReadAlarmSection(ini, p);
    }
    void WriteAll(IniFile& ini)
    {
        ini.BeginUpdate();
        WriteGeneralSection(ini, p, w);
        WriteSiteSection(ini, p);
        WriteConfigurationKeys(ini, p, w);
        WritePrintingKeys(ini, p, w);
        WriteAlarmSection(ini, p);
        ini.EndUpdate();
    }

    QTemporaryDir dir;
    Parameters p;
    TWindowSettings w;
};

TEST_F(SettingsSectionsTest, WithoutAFileEveryKeyGetsItsDefault)
{
    p.MaxT = 99;   // whatever was in the record before
    p.Ri = 7;
    p.AveragePeriod = 15;
    IniFile ini(Path());
    ReadAll(ini);
    EXPECT_EQ(p.MaxT, 30);
    EXPECT_EQ(p.ColorMaxT, 255u);
    EXPECT_EQ(p.ColorX, 8421504u);
    EXPECT_EQ(p.ColorKz, 128u);
    EXPECT_EQ(p.PrintColorX, 8421504u);
    EXPECT_DOUBLE_EQ(p.CheckSpeed, 0.5);
    EXPECT_EQ(p.TextShort, "КЗ");
    EXPECT_EQ(p.TextBreak, "X");
    EXPECT_EQ(p.Precision, 3);
    EXPECT_EQ(p.AveragePeriod, 0);
    EXPECT_EQ(p.Ri, 51);
    EXPECT_EQ(p.SiloBinCount, 0);
    EXPECT_EQ(w.Hardware, THardwareCounts{});
    EXPECT_EQ(p.CalcProc, BuiltInCalcProc());
    EXPECT_EQ(p.PollRepeats, 1);
    EXPECT_EQ(p.PauseMBOn, 300);
    EXPECT_EQ(p.TimeoutArchiveClear, 10);
    EXPECT_EQ(p.ArchiveBlockSize, 5);
    EXPECT_EQ(p.Lines[5].Color, 65280u);
    EXPECT_EQ(p.Lines[0].Width, 1);
    EXPECT_EQ(p.SiloBinsFile, DefaultSiloBinsFile());
    EXPECT_TRUE(w.SortBySilos);
    EXPECT_EQ(p.RelayDuration, 1);
    EXPECT_FALSE(p.Alarms[3].Enabled);
    EXPECT_EQ(w.LastBackup, 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path())));   // reading writes nothing
}

TEST_F(SettingsSectionsTest, ReadingQuirks)
{
    WriteFile(
        "[Общие]\n"
        "ColorX=255\n"              // no PrintColorX: the print colour follows the screen
        "PrintColorKz=16\n"
        "Период усреднения=40\n"     // never taken back
        "CheckSpeed=0,7\n"           // a decimal comma reads as well as a point
        "Тмах=abc\n"                 // malformed: the default
        "Последний бэкап=01.03.2024 14:05:00\n"
        "[Конфигурация]\n"
        "Сортировка в отчете по силосу=1\n"
        "SortReport=0\n"             // wins over the older key
        "Резистор=100\n"             // the script always gets 51
        "Пауза включения модуля=70000\n"   // a 16-bit field keeps the low bits
        "адрес контроллера КВЛ=257\n"      // an 8-bit field likewise
        "Cтрок в процедуре=3\n"
        "Процедура0=.  two blanks\n"
        "Процедура1=no dot\n"
        "Процедура2=..dot\n"
        "[Контроль уставок]\n"
        "Реле 1=1\n"                 // no relay for the first two conditions
        "Реле 2=1\n"
        "Реле 3=1\n"
        "Оверлей уставки 4=2\n");
    IniFile ini(Path());
    ReadAll(ini);
    EXPECT_EQ(p.PrintColorX, 255u);
    EXPECT_EQ(p.PrintColorKz, 16u);
    EXPECT_EQ(p.PrintColorMaxT, p.ColorMaxT);
    EXPECT_EQ(p.AveragePeriod, 0);
    EXPECT_DOUBLE_EQ(p.CheckSpeed, 0.7);
    EXPECT_EQ(p.MaxT, 30);
    EXPECT_EQ(w.LastBackup, EncodeDateTime(2024, 3, 1, 14, 5, 0, 0));
    EXPECT_FALSE(w.SortBySilos);
    EXPECT_EQ(p.Ri, 51);
    EXPECT_EQ(p.PauseMBOn, 70000 % 65536);
    EXPECT_EQ(p.ArchiveAddr, 1);
    EXPECT_EQ(p.CalcProc, "  two blanks\r\nno dot\r\n.dot");
    EXPECT_FALSE(p.Relays[1]);
    EXPECT_FALSE(p.Relays[2]);
    EXPECT_TRUE(p.Relays[3]);
    EXPECT_EQ(p.Alarms[4].Level, 2);
}

TEST_F(SettingsSectionsTest, CountsAreKeptWithinTheirRanges)
{
    struct Case {
        const char* key;
        const char* value;
        int THardwareCounts::*hardware;
        int expected;
    };
    const Case hardware[] = {
        {"Блоков", "0", &THardwareCounts::Blocks, 1},
        {"Блоков", "100000", &THardwareCounts::Blocks, 256},
        {"ТУРов", "-3", &THardwareCounts::Suspensions, 1},
        {"ТУРов", "13", &THardwareCounts::Suspensions, 12},
        {"ТД в ТУР", "0", &THardwareCounts::Sensors, 1},
        {"ТД в ТУР", "7", &THardwareCounts::Sensors, 6},
        {"ТД в ТУР", "x", &THardwareCounts::Sensors, 6},
    };
    for (const Case& c : hardware) {
        WriteFile(std::string("[Конфигурация]\n") + c.key + "=" + c.value + "\n");
        IniFile ini(Path());
        EXPECT_EQ(ReadHardwareCounts(ini, p).*c.hardware, c.expected) << c.key << "=" << c.value;
    }

    WriteFile("[Общие]\nТемпература число знаков=-2\n[Конфигурация]\nСилкорпусов=-1\nОпросов в измерении=0\n"
              "Силосов в одном запросе КВЛа=0\nСортировка истории=5\nCтрок в процедуре=-4\n"
              "Местный блок датчика температуры воздуха=11\nПодвеска датчика температуры воздуха=2\n"
              "Датчик температуры воздуха=3\n[Пользователи]\n[Контроль уставок]\nОверлей уставки 1=9\n");
    IniFile ini(Path());
    ReadAll(ini);
    EXPECT_EQ(p.Precision, 0);
    EXPECT_EQ(p.SiloBinCount, 0);
    EXPECT_EQ(p.PollRepeats, 1);
    EXPECT_EQ(p.ArchiveBlockSize, 1);
    EXPECT_EQ(w.HistorySortOrder, 1);
    EXPECT_EQ(p.CalcProc, BuiltInCalcProc());
    EXPECT_EQ(p.Alarms[1].Level, 2);
    EXPECT_EQ(w.Hardware.AirBlock, 11);   // inside the default 12 x 12 x 6 tree
    EXPECT_EQ(w.Hardware.AirSensor, 3);

    WriteFile("[Конфигурация]\nБлоков=2\nМестный блок датчика температуры воздуха=5\n"
              "Подвеска датчика температуры воздуха=0\nДатчик температуры воздуха=0\n");
    IniFile small(Path());
    THardwareCounts counts = ReadHardwareCounts(small, p);
    ReadHardwareDetails(small, counts);
    EXPECT_EQ(counts.AirBlock, -1);   // block 5 of 2: no sensor
    EXPECT_EQ(counts.AirSuspension, -1);
}

TEST_F(SettingsSectionsTest, FirstStartWritesTheDefaultsInTheirOrder)
{
    IniFile ini(Path());
    ReadAll(ini);
    WriteAll(ini);

    IniFile back(Path());
    const std::vector<std::string> general = back.ReadSection("Общие");
    const std::vector<std::string> expectedGeneral = {"Последний бэкап", "Тмах", "CheckT1", "CheckT2", "CheckT3",
        "ColorMaxT", "ColorCheckT1", "ColorCheckT2", "ColorCheckT3", "ColorX", "ColorKz", "UseCheckSpeed",
        "CheckSpeed", "ColorSpeed", "PrintColorMaxT", "PrintColorCheckT1", "PrintColorCheckT2", "PrintColorCheckT3",
        "PrintColorX", "PrintColorKz", "PrintColorSpeed", "Print2Column", "Обрыв", "КЗ", "Данные",
        "Период усреднения", "Температура число знаков"};
    EXPECT_EQ(general, expectedGeneral);
    EXPECT_EQ(back.ReadSection("Реквизиты"), (std::vector<std::string>{"Область", "Район", "Город", "Элеватор"}));

    const std::pair<const char*, const char*> values[] = {
        {"Тмах", "30"}, {"ColorMaxT", "255"}, {"ColorX", "8421504"}, {"ColorKz", "128"}, {"CheckSpeed", "0.5"},
        {"PrintColorSpeed", "255"}, {"Print2Column", "0"}, {"Обрыв", "X"}, {"КЗ", "КЗ"}, {"Данные", ""},
        {"Период усреднения", "0"}, {"Температура число знаков", "3"}, {"Последний бэкап", "1899-12-30 00:00:00"},
    };
    for (const auto& [key, value] : values)
        EXPECT_EQ(back.ReadString("Общие", key, "?"), value) << key;

    // The table holds pointers: the default path's octets must outlive it.
    const std::string siloBinsFile = DefaultSiloBinsFile().toStdString();
    const std::pair<const char*, const char*> configuration[] = {
        {"Силкорпусов", "0"}, {"Блоков", "12"}, {"ТУРов", "12"}, {"ТД в ТУР", "6"}, {"Период", "2400"},
        {"Местный блок датчика температуры воздуха", "-1"}, {"Цветная печать", "0"}, {"Cтрок в процедуре", "17"},
        {"Процедура0", ".// входные переменные: Ri, U1, U2, U3, U4 типа integer"}, {"Процедура7", "."},
        {"Процедура12", ". I:=(U1-U2)/Ri;"}, {"Процедура16", ".end;"}, {"Контроллер", "0"}, {"Резистор", "51"},
        {"U1k", "1"}, {"Опросов в измерении", "1"}, {"Пауза включения модуля", "300"},
        {"Время ожидания ответа на команду \"Запрос данных\"", "300"}, {"Тайм-аут очистки архива КВЛ", "10"},
        {"Силосов в одном запросе КВЛа", "5"}, {"адрес контроллера КВЛ", "0"}, {"Мин шкалы Т", "0"},
        {"Толщина линии 0", "1"}, {"Цвет линии 5", "65280"}, {"Использовать точки линии 3", "0"},
        {"Сортировка в отчете по №", "1"}, {"БД автоэкспорт", "0"},
        {"файл конфигурации силкорпусов", siloBinsFile.c_str()}, {"Сортировка истории", "0"},
        {"rtMarginLeft", "0"}, {"PrinterPaperSize", "0"}, {"SortReport", "1"},
    };
    for (const auto& [key, value] : configuration)
        EXPECT_EQ(back.ReadString("Конфигурация", key, "?"), value) << key;
    EXPECT_FALSE(back.ValueExists("Конфигурация", "Сортировка в отчете по силосу"));
    const auto configKeys = back.ReadSection("Конфигурация");
    EXPECT_EQ(configKeys.front(), "Силкорпусов");
    EXPECT_EQ(configKeys.back(), "SortReport");

    const std::vector<std::string> alarms = back.ReadSection("Контроль уставок");
    ASSERT_EQ(alarms.size(), 28u);
    EXPECT_EQ(alarms[0], "Уставка 1");
    EXPECT_EQ(alarms[1], "Оверлей уставки 1");
    EXPECT_EQ(alarms[2], "Реле 1");
    EXPECT_EQ(alarms[27], "Реле длительность");
    EXPECT_EQ(back.ReadString("Контроль уставок", "Реле длительность", "?"), "1");
}

TEST_F(SettingsSectionsTest, RoundTripKeepsValuesCommentsAndUnknownKeys)
{
    WriteFile("; written by hand\n[Общие]\nЧужой ключ=оставить\nТмах=45\n[Своё]\nx=1\n");
    {
        IniFile ini(Path());
        ReadAll(ini);
        p.CalcProc = QStringLiteral("  leading\r\ntrailing  \r\n\r\n.dot\r\n");
        p.Elevator.Elevator = QStringLiteral("Элеватор \"Северный\"");
        p.CheckSpeed = 1.25;
        p.Relays[1] = true;   // written as it stands
        w.LastBackup = EncodeDateTime(2023, 12, 31, 23, 59, 58, 0);
        WriteAll(ini);
    }
    const std::string text = ReadFile();
    EXPECT_EQ(text.rfind("; written by hand\n", 0), 0u);
    EXPECT_NE(text.find("Чужой ключ=оставить"), std::string::npos);
    EXPECT_NE(text.find("[Своё]\nx=1"), std::string::npos);
    EXPECT_NE(text.find("Последний бэкап=2023-12-31 23:59:58"), std::string::npos);

    IniFile back(Path());
    Parameters q;
    TWindowSettings v;
    ReadGeneralSection(back, q, v);
    ReadSiteSection(back, q);
    ReadConfigurationKeys(back, q, v);
    EXPECT_EQ(q.MaxT, 45);
    EXPECT_EQ(q.CalcProc, "  leading\r\ntrailing  \r\n\r\n.dot");
    EXPECT_EQ(q.Elevator.Elevator, "Элеватор \"Северный\"");
    EXPECT_DOUBLE_EQ(q.CheckSpeed, 1.25);
    EXPECT_EQ(v.LastBackup, w.LastBackup);
    EXPECT_EQ(back.ReadString("Контроль уставок", "Реле 1", "?"), "1");

    // An empty procedure is stored as no lines, so the built-in one comes back.
    p.CalcProc.clear();
    IniFile again(Path());
    WriteCalcProc(again, p.CalcProc);
    EXPECT_EQ(ReadCalcProc(again), BuiltInCalcProc());
}

TEST_F(SettingsSectionsTest, CodePage1251FilesAreRead)
{
    WriteFile(Utf8ToCp1251("[Общие]\r\nКЗ=Замыкание\r\nТмах=35\r\n[Реквизиты]\r\nЭлеватор=Южный\r\n"));
    IniFile ini(Path());
    ReadGeneralSection(ini, p, w);
    ReadSiteSection(ini, p);
    EXPECT_EQ(p.TextShort, "Замыкание");
    EXPECT_EQ(p.MaxT, 35);
    EXPECT_EQ(p.Elevator.Elevator, "Южный");
}

TEST_F(SettingsSectionsTest, ACorruptFileGivesDefaultsWithoutFailing)
{
    std::string junk = "[Общие\n\x01\x02\xff\xfe=\n=\n[[]]\nТмах\n";
    junk += std::string(1, '\0') + "garbage\n[Конфигурация]\nБлоков=12junk\n";
    WriteFile(junk);
    IniFile ini(Path());
    EXPECT_NO_THROW(ReadAll(ini));
    EXPECT_EQ(p.MaxT, 30);
    EXPECT_EQ(w.Hardware.Blocks, 12);
}

} // namespace

TEST(SettingsDateTime, BothFormsAreReadAndOneIsWritten)
{
    const struct {
        const char* text;
        std::optional<TDateTime> value;
    } cases[] = {
        {"2024-03-01 14:05:07", EncodeDateTime(2024, 3, 1, 14, 5, 7, 0)},
        {"2024-03-01", EncodeDate(2024, 3, 1)},
        {"01.03.2024 14:05:07", EncodeDateTime(2024, 3, 1, 14, 5, 7, 0)},
        {"1.3.2024 4:05", EncodeDateTime(2024, 3, 1, 4, 5, 0, 0)},
        {"01.03.2024", EncodeDate(2024, 3, 1)},
        {"01.03.24", EncodeDate(2024, 3, 1)},
        {"30.12.1899", 0.0},
        {"31.02.2024", std::nullopt},
        {"2024-13-01", std::nullopt},
        {"03/01/2024", std::nullopt},
        {"", std::nullopt},
        {"45351.5", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsTextToDateTime(c.text), c.value) << c.text;
    EXPECT_EQ(DateTimeToSettingsText(EncodeDateTime(2024, 3, 1, 14, 5, 7, 0)), "2024-03-01 14:05:07");
    EXPECT_EQ(DateTimeToSettingsText(0), "1899-12-30 00:00:00");
}
