#pragma once
// The sections of the settings file that the main window reads at its first showing and
// writes when it closes: "Общие", "Реквизиты", "Конфигурация", "Контроль уставок" (the users
// of "Пользователи" are in UserStorage.h). Each key has its type, default and target; reading
// a key never fails (a missing or malformed value gives the default). Counts are kept within
// their ranges, so a hand-edited file cannot break the program.
//
// The reading and writing orders are those of the file's sections: "Общие", "Реквизиты",
// "Конфигурация" up to "Сортировка истории", the users, the printer keys and "SortReport",
// "Контроль уставок".
#include "base/DateTime.h"
#include "core/Parameters.h"

#include <QString>

class IniFile;

inline constexpr const char* kGeneralSection = "Общие";
inline constexpr const char* kSiteSection = "Реквизиты";
inline constexpr const char* kConfigurationSection = "Конфигурация";
inline constexpr const char* kAlarmSection = "Контроль уставок";

// The hardware tree's shape and the air-temperature sensor (-1: none).
struct THardwareCounts {
    int Blocks = 12;        // local blocks, 1 .. 256
    int Suspensions = 12;   // suspensions per local block, 1 .. 12
    int Sensors = 6;        // sensors per suspension, 1 .. 6
    int Period = 2400;
    int AirBlock = -1;
    int AirSuspension = -1;
    int AirSensor = -1;
    bool operator==(const THardwareCounts&) const = default;
};

// What the settings file keeps for the main window itself rather than for the record.
struct TWindowSettings {
    TDateTime LastBackup = 0;   // 0: never
    bool ColorPrint = false;    // the check of "Цветная печать"
    bool SortBySilos = true;    // the check of "Сортировать по по силосу"; by block otherwise
    int HistorySortOrder = 0;   // 0 newest first, 1 oldest first
    THardwareCounts Hardware;
};

void ReadGeneralSection(const IniFile& ini, Parameters& p, TWindowSettings& w);
void ReadSiteSection(const IniFile& ini, Parameters& p);
// "Силкорпусов" and the shape of the hardware tree.
THardwareCounts ReadHardwareCounts(const IniFile& ini, Parameters& p);
// "Период" and the air-temperature sensor, read once the tree of the given shape exists.
void ReadHardwareDetails(const IniFile& ini, THardwareCounts& counts);
// The rest of "Конфигурация" up to "Сортировка истории".
void ReadConfigurationKeys(const IniFile& ini, Parameters& p, TWindowSettings& w);
// The printer keys and "SortReport" of "Конфигурация".
void ReadPrintingKeys(const IniFile& ini, Parameters& p, TWindowSettings& w);
void ReadAlarmSection(const IniFile& ini, Parameters& p);

void WriteGeneralSection(IniFile& ini, const Parameters& p, const TWindowSettings& w);
void WriteSiteSection(IniFile& ini, const Parameters& p);
void WriteConfigurationKeys(IniFile& ini, const Parameters& p, const TWindowSettings& w);
void WritePrintingKeys(IniFile& ini, const Parameters& p, const TWindowSettings& w);
void WriteAlarmSection(IniFile& ini, const Parameters& p);

// The calculation procedure, stored line by line ("Cтрок в процедуре" begins with a Latin C;
// each line behind a "." so that blanks at its ends survive). No stored lines: the built-in
// procedure.
QString ReadCalcProc(const IniFile& ini);
void WriteCalcProc(IniFile& ini, const QString& procedure);
