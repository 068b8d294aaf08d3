#include "app/settings/DemoConfiguration.h"

#include "app/board/DemoBoard.h"
#include "platform/posix/IniFile.h"
#include "platform/posix/ProgramFolder.h"

#include <QFile>

bool CreateDemoConfiguration(IniFile& ini)
{
    if (QFile::exists(QString::fromStdString(ini.FileName())))
        return false;
    ini.BeginUpdate();
    ini.WriteString("Общие", "Данные", ProgramFile("demo.dxml"));
    ini.WriteString("Реквизиты", "Область", "Демонстрационная");
    ini.WriteString("Реквизиты", "Район", "Учебный");
    ini.WriteString("Реквизиты", "Город", "Образцово");
    ini.WriteString("Реквизиты", "Элеватор", "Демонстрационный элеватор");
    ini.WriteInteger("Конфигурация", "Силкорпусов", 2);
    ini.WriteInteger("Конфигурация", "Блоков", 2);
    ini.WriteInteger("Конфигурация", "ТУРов", 6);
    ini.WriteInteger("Конфигурация", "ТД в ТУР", 6);
    CreateDemoBoardFiles(ini);
    ini.EndUpdate();
    return true;
}
