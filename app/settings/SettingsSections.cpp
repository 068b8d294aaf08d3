#include "app/settings/SettingsSections.h"

#include "app/settings/SettingsDateTime.h"
#include "platform/posix/IniFile.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <string>

namespace {

constexpr const char* kProcLinesKey = "Cтрок в процедуре";   // the first letter is a Latin C
constexpr const char* kProcLineKey = "Процедура";
constexpr int kMaxProcLines = 10000;

std::string Numbered(const char* key, int number)
{
    return key + std::to_string(number);
}

std::string Spaced(const char* key, int number)
{
    return std::string(key) + " " + std::to_string(number);
}

QString ReadText(const IniFile& ini, const char* section, const std::string& key, const QString& fallback)
{
    return QString::fromStdString(ini.ReadString(section, key, fallback.toStdString()));
}

void WriteText(IniFile& ini, const char* section, const std::string& key, const QString& value)
{
    ini.WriteString(section, key, value.toStdString());
}

int ReadClamped(const IniFile& ini, const char* section, const char* key, int fallback, int low, int high)
{
    return std::clamp<int>(ini.ReadInteger(section, key, fallback), low, high);
}

TColor ReadColour(const IniFile& ini, const char* section, const char* key, TColor fallback)
{
    return static_cast<TColor>(ini.ReadInteger(section, key, static_cast<int32_t>(fallback)));
}

void WriteColour(IniFile& ini, const char* section, const char* key, TColor value)
{
    ini.WriteInteger(section, key, static_cast<int32_t>(value));
}

// Fields narrower than 32 bits keep the low bits of what is read, as they always have.
uint16_t ReadWord(const IniFile& ini, const char* key, uint16_t fallback)
{
    return static_cast<uint16_t>(ini.ReadInteger(kConfigurationSection, key, fallback));
}

} // namespace

void ReadGeneralSection(const IniFile& ini, Parameters& p, TWindowSettings& w)
{
    const char* s = kGeneralSection;
    w.LastBackup = SettingsTextToDateTime(ini.ReadString(s, "Последний бэкап", "")).value_or(0);
    p.MaxT = ini.ReadInteger(s, "Тмах", 30);
    p.CheckT1 = ini.ReadInteger(s, "CheckT1", 0);
    p.CheckT2 = ini.ReadInteger(s, "CheckT2", 0);
    p.CheckT3 = ini.ReadInteger(s, "CheckT3", 0);
    p.ColorMaxT = ReadColour(ini, s, "ColorMaxT", 255);
    p.ColorCheckT1 = ReadColour(ini, s, "ColorCheckT1", 0);
    p.ColorCheckT2 = ReadColour(ini, s, "ColorCheckT2", 0);
    p.ColorCheckT3 = ReadColour(ini, s, "ColorCheckT3", 0);
    p.ColorX = ReadColour(ini, s, "ColorX", 8421504);
    p.ColorKz = ReadColour(ini, s, "ColorKz", 128);
    p.UseCheckSpeed = ini.ReadBool(s, "UseCheckSpeed", false);
    p.CheckSpeed = ini.ReadFloat(s, "CheckSpeed", 0.5);
    p.ColorSpeed = ReadColour(ini, s, "ColorSpeed", 255);
    // Print colours default to the screen colours just read.
    p.PrintColorMaxT = ReadColour(ini, s, "PrintColorMaxT", p.ColorMaxT);
    p.PrintColorCheckT1 = ReadColour(ini, s, "PrintColorCheckT1", p.ColorCheckT1);
    p.PrintColorCheckT2 = ReadColour(ini, s, "PrintColorCheckT2", p.ColorCheckT2);
    p.PrintColorCheckT3 = ReadColour(ini, s, "PrintColorCheckT3", p.ColorCheckT3);
    p.PrintColorX = ReadColour(ini, s, "PrintColorX", p.ColorX);
    p.PrintColorKz = ReadColour(ini, s, "PrintColorKz", p.ColorKz);
    p.PrintColorSpeed = ReadColour(ini, s, "PrintColorSpeed", p.ColorSpeed);
    p.Print2Column = ini.ReadBool(s, "Print2Column", false);
    p.TextShort = ReadText(ini, s, "КЗ", QStringLiteral("КЗ"));
    p.TextBreak = ReadText(ini, s, "Обрыв", QStringLiteral("X"));
    p.DataFile = ReadText(ini, s, "Данные", QString());
    p.AveragePeriod = 0;   // the stored period is never taken back
    // 4 and above all mean half degrees; below 0 there is no format.
    p.Precision = ReadClamped(ini, s, "Температура число знаков", 3, 0, 4);
}

void WriteGeneralSection(IniFile& ini, const Parameters& p, const TWindowSettings& w)
{
    const char* s = kGeneralSection;
    ini.WriteString(s, "Последний бэкап", DateTimeToSettingsText(w.LastBackup));
    ini.WriteInteger(s, "Тмах", p.MaxT);
    ini.WriteInteger(s, "CheckT1", p.CheckT1);
    ini.WriteInteger(s, "CheckT2", p.CheckT2);
    ini.WriteInteger(s, "CheckT3", p.CheckT3);
    WriteColour(ini, s, "ColorMaxT", p.ColorMaxT);
    WriteColour(ini, s, "ColorCheckT1", p.ColorCheckT1);
    WriteColour(ini, s, "ColorCheckT2", p.ColorCheckT2);
    WriteColour(ini, s, "ColorCheckT3", p.ColorCheckT3);
    WriteColour(ini, s, "ColorX", p.ColorX);
    WriteColour(ini, s, "ColorKz", p.ColorKz);
    ini.WriteBool(s, "UseCheckSpeed", p.UseCheckSpeed);
    ini.WriteFloat(s, "CheckSpeed", p.CheckSpeed);
    WriteColour(ini, s, "ColorSpeed", p.ColorSpeed);
    WriteColour(ini, s, "PrintColorMaxT", p.PrintColorMaxT);
    WriteColour(ini, s, "PrintColorCheckT1", p.PrintColorCheckT1);
    WriteColour(ini, s, "PrintColorCheckT2", p.PrintColorCheckT2);
    WriteColour(ini, s, "PrintColorCheckT3", p.PrintColorCheckT3);
    WriteColour(ini, s, "PrintColorX", p.PrintColorX);
    WriteColour(ini, s, "PrintColorKz", p.PrintColorKz);
    WriteColour(ini, s, "PrintColorSpeed", p.PrintColorSpeed);
    ini.WriteBool(s, "Print2Column", p.Print2Column);
    WriteText(ini, s, "Обрыв", p.TextBreak);
    WriteText(ini, s, "КЗ", p.TextShort);
    WriteText(ini, s, "Данные", p.DataFile);
    ini.WriteInteger(s, "Период усреднения", p.AveragePeriod);
    ini.WriteInteger(s, "Температура число знаков", p.Precision);
}

void ReadSiteSection(const IniFile& ini, Parameters& p)
{
    p.Elevator.Region = ReadText(ini, kSiteSection, "Область", QString());
    p.Elevator.District = ReadText(ini, kSiteSection, "Район", QString());
    p.Elevator.Town = ReadText(ini, kSiteSection, "Город", QString());
    p.Elevator.Elevator = ReadText(ini, kSiteSection, "Элеватор", QString());
}

void WriteSiteSection(IniFile& ini, const Parameters& p)
{
    WriteText(ini, kSiteSection, "Область", p.Elevator.Region);
    WriteText(ini, kSiteSection, "Район", p.Elevator.District);
    WriteText(ini, kSiteSection, "Город", p.Elevator.Town);
    WriteText(ini, kSiteSection, "Элеватор", p.Elevator.Elevator);
}

THardwareCounts ReadHardwareCounts(const IniFile& ini, Parameters& p)
{
    const char* s = kConfigurationSection;
    p.SiloBinCount = ReadClamped(ini, s, "Силкорпусов", 0, 0, 32);
    THardwareCounts counts;
    counts.Blocks = ReadClamped(ini, s, "Блоков", 12, 1, 256);
    counts.Suspensions = ReadClamped(ini, s, "ТУРов", 12, 1, 12);
    counts.Sensors = ReadClamped(ini, s, "ТД в ТУР", 6, 1, 6);
    return counts;
}

void ReadHardwareDetails(const IniFile& ini, THardwareCounts& counts)
{
    const char* s = kConfigurationSection;
    counts.Period = ini.ReadInteger(s, "Период", 2400);
    counts.AirBlock = ini.ReadInteger(s, "Местный блок датчика температуры воздуха", -1);
    counts.AirSuspension = ini.ReadInteger(s, "Подвеска датчика температуры воздуха", -1);
    counts.AirSensor = ini.ReadInteger(s, "Датчик температуры воздуха", -1);
    // A position outside the tree names no sensor.
    const bool inside = counts.AirBlock >= 0 && counts.AirBlock < counts.Blocks && counts.AirSuspension >= 0
        && counts.AirSuspension < counts.Suspensions && counts.AirSensor >= 0 && counts.AirSensor < counts.Sensors;
    if (!inside)
        counts.AirBlock = counts.AirSuspension = counts.AirSensor = -1;
}

void ReadConfigurationKeys(const IniFile& ini, Parameters& p, TWindowSettings& w)
{
    const char* s = kConfigurationSection;
    w.ColorPrint = ini.ReadBool(s, "Цветная печать", false);
    p.CalcProc = ReadCalcProc(ini);
    p.ControllerKind = ini.ReadInteger(s, "Контроллер", 0);
    p.Ri = 51;   // the reference resistor is fixed; the stored value is never taken back
    p.U1k = ini.ReadFloat(s, "U1k", 1.0);
    p.U2k = ini.ReadFloat(s, "U2k", 1.0);
    p.PollRepeats = ReadClamped(ini, s, "Опросов в измерении", 1, 1, 999);
    p.PauseMBOn = ReadWord(ini, "Пауза включения модуля", 300);
    p.PauseMBOff = ReadWord(ini, "Пауза отключения модуля", 300);
    p.PauseRequest = ReadWord(ini, "Пауза между командами запроса", 300);
    p.TimeoutMBSelect = ReadWord(ini, "Время ожидания ответа на команду \"Выбор модуля\"", 300);
    p.TimeoutData = ReadWord(ini, "Время ожидания ответа на команду \"Запрос данных\"", 300);
    p.TimeoutArchiveClear = ReadWord(ini, "Тайм-аут очистки архива КВЛ", 10);
    p.ArchiveBlockSize = static_cast<uint8_t>(ReadClamped(ini, s, "Силосов в одном запросе КВЛа", 5, 1, 5));
    p.ArchiveAddr = static_cast<uint8_t>(ini.ReadInteger(s, "адрес контроллера КВЛ", 0));
    p.ScaleMinT = ini.ReadFloat(s, "Мин шкалы Т", 0);
    p.ScaleMaxT = ini.ReadFloat(s, "Макс шкалы Т", 0);
    for (int i = 0; i < 6; ++i) {
        TLineStyle& line = p.Lines[static_cast<size_t>(i)];
        line.Width = ini.ReadInteger(s, Spaced("Толщина линии", i), 1);
        line.Color = static_cast<TColor>(ini.ReadInteger(s, Spaced("Цвет линии", i), 65280));
        line.ShowPoints = ini.ReadBool(s, Spaced("Использовать точки линии", i), false);
        line.PointStyle = ini.ReadInteger(s, Spaced("Тип точек линии", i), 0);
    }
    w.SortBySilos = ini.ReadBool(s, "Сортировка в отчете по силосу", true);
    p.DBConnection = ReadText(ini, s, "БД", QString());
    p.DBTable = ReadText(ini, s, "БД таблица", QString());
    p.DBAutoExport = ini.ReadBool(s, "БД автоэкспорт", false);
    p.SiloBinsFile = ReadText(ini, s, "файл конфигурации силкорпусов", DefaultSiloBinsFile());
    w.HistorySortOrder = ReadClamped(ini, s, "Сортировка истории", 0, 0, 1);
}

void WriteConfigurationKeys(IniFile& ini, const Parameters& p, const TWindowSettings& w)
{
    const char* s = kConfigurationSection;
    const THardwareCounts& h = w.Hardware;
    ini.WriteInteger(s, "Силкорпусов", p.SiloBinCount);
    ini.WriteInteger(s, "Блоков", h.Blocks);
    ini.WriteInteger(s, "ТУРов", h.Suspensions);
    ini.WriteInteger(s, "ТД в ТУР", h.Sensors);
    ini.WriteInteger(s, "Период", h.Period);
    ini.WriteInteger(s, "Местный блок датчика температуры воздуха", h.AirBlock);
    ini.WriteInteger(s, "Подвеска датчика температуры воздуха", h.AirSuspension);
    ini.WriteInteger(s, "Датчик температуры воздуха", h.AirSensor);
    ini.WriteBool(s, "Цветная печать", w.ColorPrint);
    WriteCalcProc(ini, p.CalcProc);
    ini.WriteInteger(s, "Контроллер", p.ControllerKind);
    ini.WriteInteger(s, "Резистор", p.Ri);
    ini.WriteFloat(s, "U1k", p.U1k);
    ini.WriteFloat(s, "U2k", p.U2k);
    ini.WriteInteger(s, "Опросов в измерении", p.PollRepeats);
    ini.WriteInteger(s, "Пауза включения модуля", p.PauseMBOn);
    ini.WriteInteger(s, "Пауза отключения модуля", p.PauseMBOff);
    ini.WriteInteger(s, "Пауза между командами запроса", p.PauseRequest);
    ini.WriteInteger(s, "Время ожидания ответа на команду \"Выбор модуля\"", p.TimeoutMBSelect);
    ini.WriteInteger(s, "Время ожидания ответа на команду \"Запрос данных\"", p.TimeoutData);
    ini.WriteInteger(s, "Тайм-аут очистки архива КВЛ", p.TimeoutArchiveClear);
    ini.WriteInteger(s, "Силосов в одном запросе КВЛа", p.ArchiveBlockSize);
    ini.WriteInteger(s, "адрес контроллера КВЛ", p.ArchiveAddr);
    ini.WriteFloat(s, "Мин шкалы Т", p.ScaleMinT);
    ini.WriteFloat(s, "Макс шкалы Т", p.ScaleMaxT);
    for (int i = 0; i < 6; ++i) {
        const TLineStyle& line = p.Lines[static_cast<size_t>(i)];
        ini.WriteInteger(s, Spaced("Толщина линии", i), line.Width);
        ini.WriteInteger(s, Spaced("Цвет линии", i), static_cast<int32_t>(line.Color));
        ini.WriteBool(s, Spaced("Использовать точки линии", i), line.ShowPoints);
        ini.WriteInteger(s, Spaced("Тип точек линии", i), line.PointStyle);
    }
    ini.WriteBool(s, "Сортировка в отчете по №", w.SortBySilos);
    WriteText(ini, s, "БД", p.DBConnection);
    WriteText(ini, s, "БД таблица", p.DBTable);
    ini.WriteBool(s, "БД автоэкспорт", p.DBAutoExport);
    WriteText(ini, s, "файл конфигурации силкорпусов", p.SiloBinsFile);
    ini.WriteInteger(s, "Сортировка истории", w.HistorySortOrder);
}

void ReadPrintingKeys(const IniFile& ini, Parameters& p, TWindowSettings& w)
{
    const char* s = kConfigurationSection;
    p.rtMarginLeft = ini.ReadInteger(s, "rtMarginLeft", 0);
    p.rtMarginTop = ini.ReadInteger(s, "rtMarginTop", 0);
    p.rtMarginRight = ini.ReadInteger(s, "rtMarginRight", 0);
    p.rtMarginBottom = ini.ReadInteger(s, "rtMarginBottom", 0);
    p.PrinterOrientation = ini.ReadInteger(s, "PrinterOrientation", 0);
    p.PrinterBin = ini.ReadInteger(s, "PrinterBin", 0);
    p.PrinterPaperSize = ini.ReadInteger(s, "PrinterPaperSize", 0);
    w.SortBySilos = ini.ReadBool(s, "SortReport", w.SortBySilos);
}

void WritePrintingKeys(IniFile& ini, const Parameters& p, const TWindowSettings& w)
{
    const char* s = kConfigurationSection;
    ini.WriteInteger(s, "rtMarginLeft", p.rtMarginLeft);
    ini.WriteInteger(s, "rtMarginTop", p.rtMarginTop);
    ini.WriteInteger(s, "rtMarginRight", p.rtMarginRight);
    ini.WriteInteger(s, "rtMarginBottom", p.rtMarginBottom);
    ini.WriteInteger(s, "PrinterOrientation", p.PrinterOrientation);
    ini.WriteInteger(s, "PrinterBin", p.PrinterBin);
    ini.WriteInteger(s, "PrinterPaperSize", p.PrinterPaperSize);
    ini.WriteBool(s, "SortReport", w.SortBySilos);
}

void ReadAlarmSection(const IniFile& ini, Parameters& p)
{
    const char* s = kAlarmSection;
    for (size_t j = 1; j <= kAlarmConditionCount; ++j) {
        const int n = static_cast<int>(j);
        p.Alarms[j].Enabled = ini.ReadBool(s, Spaced("Уставка", n), false);
        p.Alarms[j].Level = std::clamp<int32_t>(ini.ReadInteger(s, Spaced("Оверлей уставки", n), 0), 0, 2);
        // No relay for the two conditions of a silent line: nothing could switch it.
        p.Relays[j] = j > 2 && ini.ReadBool(s, Spaced("Реле", n), false);
    }
    p.RelayDuration = static_cast<uint16_t>(ini.ReadInteger(s, "Реле длительность", 1));
}

void WriteAlarmSection(IniFile& ini, const Parameters& p)
{
    const char* s = kAlarmSection;
    for (size_t j = 1; j <= kAlarmConditionCount; ++j) {
        const int n = static_cast<int>(j);
        ini.WriteBool(s, Spaced("Уставка", n), p.Alarms[j].Enabled);
        ini.WriteInteger(s, Spaced("Оверлей уставки", n), p.Alarms[j].Level);
        ini.WriteBool(s, Spaced("Реле", n), p.Relays[j]);
    }
    ini.WriteInteger(s, "Реле длительность", p.RelayDuration);
}

QString ReadCalcProc(const IniFile& ini)
{
    const int count = std::clamp<int>(ini.ReadInteger(kConfigurationSection, kProcLinesKey, 0), 0, kMaxProcLines);
    if (count == 0)
        return BuiltInCalcProc();
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        QString line = ReadText(ini, kConfigurationSection, Numbered(kProcLineKey, i), QString());
        if (line.startsWith(QLatin1Char('.')))
            line.remove(0, 1);
        lines << line;
    }
    return lines.join(QStringLiteral("\r\n"));
}

void WriteCalcProc(IniFile& ini, const QString& procedure)
{
    // Lines as a text list splits them: at CR LF, CR or LF, with no empty line after a final break.
    QStringList lines = procedure.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    ini.WriteInteger(kConfigurationSection, kProcLinesKey, static_cast<int32_t>(lines.size()));
    for (int i = 0; i < lines.size(); ++i)
        WriteText(ini, kConfigurationSection, Numbered(kProcLineKey, i), QLatin1Char('.') + lines[i]);
}
