#include "app/settings/SettingsSections.h"

#include "app/settings/SettingsDateTime.h"
#include "platform/posix/IniFile.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

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

// One key of the record in a section: how it is read (a missing or malformed value gives the
// default) and how it is written. A section's keys stand in one table, in the order the file
// has them.
struct TSettingsKey {
    std::function<void(const IniFile&, const char* section, Parameters&)> Read;
    std::function<void(IniFile&, const char* section, const Parameters&)> Write;
};
using TSettingsKeys = std::vector<TSettingsKey>;

// An integer field; fields narrower than 32 bits keep the low bits of what is read, as they
// always have.
template <class T>
TSettingsKey IntKey(const char* key, T Parameters::*field, int32_t fallback)
{
    return {[=](const IniFile& ini, const char* s, Parameters& p) {
                p.*field = static_cast<T>(ini.ReadInteger(s, key, fallback));
            },
            [=](IniFile& ini, const char* s, const Parameters& p) { ini.WriteInteger(s, key, p.*field); }};
}

// An integer field kept within its range.
template <class T>
TSettingsKey ClampedKey(const char* key, T Parameters::*field, int fallback, int low, int high)
{
    return {[=](const IniFile& ini, const char* s, Parameters& p) {
                p.*field = static_cast<T>(ReadClamped(ini, s, key, fallback, low, high));
            },
            [=](IniFile& ini, const char* s, const Parameters& p) { ini.WriteInteger(s, key, p.*field); }};
}

// A key written from the record but never taken back: reading sets the value the program
// always starts with.
template <class T>
TSettingsKey WrittenOnlyKey(const char* key, T Parameters::*field, T startValue)
{
    return {[=](const IniFile&, const char*, Parameters& p) { p.*field = startValue; },
            [=](IniFile& ini, const char* s, const Parameters& p) { ini.WriteInteger(s, key, p.*field); }};
}

TSettingsKey ColourKey(const char* key, TColor Parameters::*field, TColor fallback)
{
    return {[=](const IniFile& ini, const char* s, Parameters& p) { p.*field = ReadColour(ini, s, key, fallback); },
            [=](IniFile& ini, const char* s, const Parameters& p) { WriteColour(ini, s, key, p.*field); }};
}

// A print colour, whose default is the screen colour read before it.
TSettingsKey PrintColourKey(const char* key, TColor Parameters::*field, TColor Parameters::*screen)
{
    return {[=](const IniFile& ini, const char* s, Parameters& p) { p.*field = ReadColour(ini, s, key, p.*screen); },
            [=](IniFile& ini, const char* s, const Parameters& p) { WriteColour(ini, s, key, p.*field); }};
}

TSettingsKey BoolKey(const char* key, bool Parameters::*field, bool fallback)
{
    return {[=](const IniFile& ini, const char* s, Parameters& p) { p.*field = ini.ReadBool(s, key, fallback); },
            [=](IniFile& ini, const char* s, const Parameters& p) { ini.WriteBool(s, key, p.*field); }};
}

TSettingsKey FloatKey(const char* key, double Parameters::*field, double fallback)
{
    return {[=](const IniFile& ini, const char* s, Parameters& p) { p.*field = ini.ReadFloat(s, key, fallback); },
            [=](IniFile& ini, const char* s, const Parameters& p) { ini.WriteFloat(s, key, p.*field); }};
}

// A text field; its default is asked for when the key is read (it may need the program's folder).
TSettingsKey TextKey(const char* key, QString Parameters::*field, QString (*fallback)())
{
    return {[=](const IniFile& ini, const char* s, Parameters& p) { p.*field = ReadText(ini, s, key, fallback()); },
            [=](IniFile& ini, const char* s, const Parameters& p) { WriteText(ini, s, key, p.*field); }};
}

QString NoText()
{
    return {};
}

void ReadKeys(const IniFile& ini, const char* section, const TSettingsKeys& keys, Parameters& p)
{
    for (const TSettingsKey& key : keys)
        key.Read(ini, section, p);
}

void WriteKeys(IniFile& ini, const char* section, const TSettingsKeys& keys, const Parameters& p)
{
    for (const TSettingsKey& key : keys)
        key.Write(ini, section, p);
}

using P = Parameters;

// "Общие" after "Последний бэкап".
const TSettingsKeys& GeneralKeys()
{
    static const TSettingsKeys keys = {
        IntKey("Тмах", &P::MaxT, 30),
        IntKey("CheckT1", &P::CheckT1, 0),
        IntKey("CheckT2", &P::CheckT2, 0),
        IntKey("CheckT3", &P::CheckT3, 0),
        ColourKey("ColorMaxT", &P::ColorMaxT, 255),
        ColourKey("ColorCheckT1", &P::ColorCheckT1, 0),
        ColourKey("ColorCheckT2", &P::ColorCheckT2, 0),
        ColourKey("ColorCheckT3", &P::ColorCheckT3, 0),
        ColourKey("ColorX", &P::ColorX, 8421504),
        ColourKey("ColorKz", &P::ColorKz, 128),
        BoolKey("UseCheckSpeed", &P::UseCheckSpeed, false),
        FloatKey("CheckSpeed", &P::CheckSpeed, 0.5),
        ColourKey("ColorSpeed", &P::ColorSpeed, 255),
        PrintColourKey("PrintColorMaxT", &P::PrintColorMaxT, &P::ColorMaxT),
        PrintColourKey("PrintColorCheckT1", &P::PrintColorCheckT1, &P::ColorCheckT1),
        PrintColourKey("PrintColorCheckT2", &P::PrintColorCheckT2, &P::ColorCheckT2),
        PrintColourKey("PrintColorCheckT3", &P::PrintColorCheckT3, &P::ColorCheckT3),
        PrintColourKey("PrintColorX", &P::PrintColorX, &P::ColorX),
        PrintColourKey("PrintColorKz", &P::PrintColorKz, &P::ColorKz),
        PrintColourKey("PrintColorSpeed", &P::PrintColorSpeed, &P::ColorSpeed),
        BoolKey("Print2Column", &P::Print2Column, false),
        TextKey("Обрыв", &P::TextBreak, [] { return QStringLiteral("X"); }),
        TextKey("КЗ", &P::TextShort, [] { return QStringLiteral("КЗ"); }),
        TextKey("Данные", &P::DataFile, NoText),
        WrittenOnlyKey("Период усреднения", &P::AveragePeriod, 0),
        // 4 and above all mean half degrees; below 0 there is no format.
        ClampedKey("Температура число знаков", &P::Precision, 3, 0, 4),
    };
    return keys;
}

// "Конфигурация" from "Контроллер" to the chart's scale (the procedure stands before them).
const TSettingsKeys& PollingKeys()
{
    static const TSettingsKeys keys = {
        IntKey("Контроллер", &P::ControllerKind, 0),
        WrittenOnlyKey("Резистор", &P::Ri, 51),   // the reference resistor is fixed
        FloatKey("U1k", &P::U1k, 1.0),
        FloatKey("U2k", &P::U2k, 1.0),
        ClampedKey("Опросов в измерении", &P::PollRepeats, 1, 1, 999),
        IntKey("Пауза включения модуля", &P::PauseMBOn, 300),
        IntKey("Пауза отключения модуля", &P::PauseMBOff, 300),
        IntKey("Пауза между командами запроса", &P::PauseRequest, 300),
        IntKey("Время ожидания ответа на команду \"Выбор модуля\"", &P::TimeoutMBSelect, 300),
        IntKey("Время ожидания ответа на команду \"Запрос данных\"", &P::TimeoutData, 300),
        IntKey("Тайм-аут очистки архива КВЛ", &P::TimeoutArchiveClear, 10),
        ClampedKey("Силосов в одном запросе КВЛа", &P::ArchiveBlockSize, 5, 1, 5),
        IntKey("адрес контроллера КВЛ", &P::ArchiveAddr, 0),
        FloatKey("Мин шкалы Т", &P::ScaleMinT, 0),
        FloatKey("Макс шкалы Т", &P::ScaleMaxT, 0),
    };
    return keys;
}

// "Конфигурация": the database and the layout file.
const TSettingsKeys& DatabaseKeys()
{
    static const TSettingsKeys keys = {
        TextKey("БД", &P::DBConnection, NoText),
        TextKey("БД таблица", &P::DBTable, NoText),
        BoolKey("БД автоэкспорт", &P::DBAutoExport, false),
        TextKey("файл конфигурации силкорпусов", &P::SiloBinsFile, DefaultSiloBinsFile),
    };
    return keys;
}

// "Конфигурация": the report page set-up.
const TSettingsKeys& PrintingKeys()
{
    static const TSettingsKeys keys = {
        IntKey("rtMarginLeft", &P::rtMarginLeft, 0),
        IntKey("rtMarginTop", &P::rtMarginTop, 0),
        IntKey("rtMarginRight", &P::rtMarginRight, 0),
        IntKey("rtMarginBottom", &P::rtMarginBottom, 0),
        IntKey("PrinterOrientation", &P::PrinterOrientation, 0),
        IntKey("PrinterBin", &P::PrinterBin, 0),
        IntKey("PrinterPaperSize", &P::PrinterPaperSize, 0),
        IntKey("PrinterPaperWidth", &P::PrinterPaperWidth, 0),
        IntKey("PrinterPaperHeight", &P::PrinterPaperHeight, 0),
    };
    return keys;
}

// "Реквизиты": the site details.
constexpr std::pair<const char*, QString ElevatorProperty::*> kSiteKeys[] = {
    {"Область", &ElevatorProperty::Region},
    {"Район", &ElevatorProperty::District},
    {"Город", &ElevatorProperty::Town},
    {"Элеватор", &ElevatorProperty::Elevator},
};

} // namespace

void ReadGeneralSection(const IniFile& ini, Parameters& p, TWindowSettings& w)
{
    w.LastBackup = SettingsTextToDateTime(ini.ReadString(kGeneralSection, "Последний бэкап", "")).value_or(0);
    ReadKeys(ini, kGeneralSection, GeneralKeys(), p);
}

void WriteGeneralSection(IniFile& ini, const Parameters& p, const TWindowSettings& w)
{
    ini.WriteString(kGeneralSection, "Последний бэкап", DateTimeToSettingsText(w.LastBackup));
    WriteKeys(ini, kGeneralSection, GeneralKeys(), p);
}

void ReadSiteSection(const IniFile& ini, Parameters& p)
{
    for (const auto& [key, field] : kSiteKeys)
        p.Elevator.*field = ReadText(ini, kSiteSection, key, QString());
}

void WriteSiteSection(IniFile& ini, const Parameters& p)
{
    for (const auto& [key, field] : kSiteKeys)
        WriteText(ini, kSiteSection, key, p.Elevator.*field);
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
    ReadKeys(ini, s, PollingKeys(), p);
    for (int i = 0; i < 6; ++i) {
        TLineStyle& line = p.Lines[static_cast<size_t>(i)];
        line.Width = ini.ReadInteger(s, Spaced("Толщина линии", i), 1);
        line.Color = static_cast<TColor>(ini.ReadInteger(s, Spaced("Цвет линии", i), 65280));
        line.ShowPoints = ini.ReadBool(s, Spaced("Использовать точки линии", i), false);
        line.PointStyle = ini.ReadInteger(s, Spaced("Тип точек линии", i), 0);
    }
    w.SortBySilos = ini.ReadBool(s, "Сортировка в отчете по силосу", true);
    ReadKeys(ini, s, DatabaseKeys(), p);
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
    WriteKeys(ini, s, PollingKeys(), p);
    for (int i = 0; i < 6; ++i) {
        const TLineStyle& line = p.Lines[static_cast<size_t>(i)];
        ini.WriteInteger(s, Spaced("Толщина линии", i), line.Width);
        ini.WriteInteger(s, Spaced("Цвет линии", i), static_cast<int32_t>(line.Color));
        ini.WriteBool(s, Spaced("Использовать точки линии", i), line.ShowPoints);
        ini.WriteInteger(s, Spaced("Тип точек линии", i), line.PointStyle);
    }
    ini.WriteBool(s, "Сортировка в отчете по №", w.SortBySilos);
    WriteKeys(ini, s, DatabaseKeys(), p);
    ini.WriteInteger(s, "Сортировка истории", w.HistorySortOrder);
}

void ReadPrintingKeys(const IniFile& ini, Parameters& p, TWindowSettings& w)
{
    ReadKeys(ini, kConfigurationSection, PrintingKeys(), p);
    w.SortBySilos = ini.ReadBool(kConfigurationSection, "SortReport", w.SortBySilos);
}

void WritePrintingKeys(IniFile& ini, const Parameters& p, const TWindowSettings& w)
{
    WriteKeys(ini, kConfigurationSection, PrintingKeys(), p);
    ini.WriteBool(kConfigurationSection, "SortReport", w.SortBySilos);
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
