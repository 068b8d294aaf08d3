#include "app/main/MainActions.h"

#include <QAction>
#include <QKeySequence>

namespace {

struct TActionSpec {
    QAction* TMainActions::*member;
    const char* name;
    const char* caption;   // exactly as the user has always seen it, typos included
    const char* shortcut;
    const char* hint;      // shown in the status bar while the pointer is over its item
};

const TActionSpec kActions[] = {
    {&TMainActions::acClose, "acClose", "Выход", "", ""},
    {&TMainActions::acAbout, "acAbout", "О себе...", "", "Иформация о программе"},
    {&TMainActions::acParamCom, "acParamCom", "Парaметры порта...", "", ""},
    {&TMainActions::ac485, "ac485", "485", "", ""},
    {&TMainActions::acEcho, "acEcho", "Эхо", "", ""},
    {&TMainActions::acOpenDAT, "acOpenDAT", "Открыть данные...", "", ""},
    {&TMainActions::acSaveDAT, "acSaveDAT", "Сохранить данные", "", ""},
    {&TMainActions::acSaveAsDAT, "acSaveAsDAT", "Сохранить  данные как...", "", ""},
    {&TMainActions::acPrint, "acPrint", "Печать сохранённого протокола...", "", "Печать ранее сохранённого протокола температурного режима элеватора"},
    {&TMainActions::acFullExchg, "acFullExchg", "Полный обмен", "", "Выполнить опрос всех ТД элеватора"},
    {&TMainActions::acSelectExchg, "acSelectExchg", "Обмен для выбранных термоподвесок", "F5", "Выполнить опрос только выбранных термоподвесок"},
    {&TMainActions::acMaxT, "acMaxT", "Уставки и цвета...", "", ""},
    {&TMainActions::acSetProp, "acSetProp", "Установка реквизитов...", "", ""},
    {&TMainActions::acHardCnfg, "acHardCnfg", "Установка конфигурации...", "", ""},
    {&TMainActions::acMainView, "acMainView", "Основной", "", ""},
    {&TMainActions::acGraphView, "acGraphView", "График температур", "", "Отображение графика изменения температур для одного ТУРа"},
    {&TMainActions::acPreview, "acPreview", "Протокол состояния", "", ""},
    {&TMainActions::acPevewErr, "acPevewErr", "Протокол состояния (Ошибки)", "", ""},
    {&TMainActions::acPrevewSelTemp, "acPrevewSelTemp", "Протокол состояния (с выбором температур)", "", ""},
    {&TMainActions::acDebug, "acDebug", "Отладка", "", ""},
    {&TMainActions::acControllers, "acControllers", "Используемое оборудование...", "", ""},
    {&TMainActions::acClearRetro, "acClearRetro", "Очистить архив", "", ""},
    {&TMainActions::acGraphParam, "acGraphParam", "Настройка графиков...", "", ""},
    {&TMainActions::acEdit, "acEdit", "Можно редактировать номера силосов", "", ""},
    {&TMainActions::acDelTM, "acDelTM", "Удалить из архива", "", "Удалить измерения на выбранное время из архива"},
    {&TMainActions::acExecProc, "acExecProc", "Процедура расчета температуры...", "", ""},
    {&TMainActions::acTimePeriod, "acTimePeriod", "Период усреднения", "", ""},
    {&TMainActions::acSortBySilos, "acSortBySilos", "Сортировать по по силосу", "", ""},
    {&TMainActions::acSortByBin, "acSortByBin", "Сортировать по силблокам", "", ""},
    {&TMainActions::acSelUser, "acSelUser", "Выбрать пользователя...", "", ""},
    {&TMainActions::acImport, "acImport", "Импорт данных...", "", ""},
    {&TMainActions::acExport, "acExport", "Экспорт данных...", "", ""},
    {&TMainActions::acPrintGraph, "acPrintGraph", "Печать графика по выбранному силосу", "", ""},
    {&TMainActions::acSelExportDB, "acSelExportDB", "Параметры экспорта/импорта ...", "", ""},
    {&TMainActions::acShowErr, "acShowErr", "Отображать ошибки в панели сообщений", "", ""},
    {&TMainActions::asPrecision, "asPrecision", "Отображение температур...", "", ""},
    {&TMainActions::acColorPrint, "acColorPrint", "Цветная печать", "", ""},
    {&TMainActions::acTITParam, "acTITParam", "Параметры термодатчиков...", "", ""},
    {&TMainActions::acCheckSpeed, "acCheckSpeed", "Проверить скорость изменения температуры", "", ""},
    {&TMainActions::acReportExportRTF, "acReportExportRTF", "Экспорт отчета в RTF", "", ""},
    {&TMainActions::acTimerParam, "acTimerParam", "Расписание автоматичекого полного опроса...", "", ""},
    {&TMainActions::acReportExportTXT, "acReportExportTXT", "Экспорт отчета в TXT", "", ""},
    {&TMainActions::acAutoRun, "acAutoRun", "Программа в автозагрузке", "", ""},
    {&TMainActions::acSilosParam, "acSilosParam", "Параметры силоса", "", ""},
    {&TMainActions::acMB, "acMB", "Управление местным блоком", "", ""},
    {&TMainActions::acOpenCnf, "acOpenCnf", "Открыть конфигурацию...", "", "Открыть конфигурацию силкорпусов"},
    {&TMainActions::acSaveCnf, "acSaveCnf", "Сохранить конфигурацию...", "", "Сохранить конфигурацию силкорпусов"},
    {&TMainActions::acPreviwSilBin, "acPreviwSilBin", "Силосная доска", "", ""},
    {&TMainActions::acReportColor, "acReportColor", "Установить цвет печати", "", ""},
    {&TMainActions::acReport2Col, "acReport2Col", "Отображать в две колонки", "", ""},
    {&TMainActions::acOverlay, "acOverlay", "Настройка уведоилений", "", ""},
};

} // namespace

void TMainActions::CreateActions(QObject* owner)
{
    for (const TActionSpec& entry : kActions) {
        auto* action = new QAction(QString::fromUtf8(entry.caption), owner);
        action->setObjectName(QString::fromLatin1(entry.name));
        if (*entry.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        if (*entry.hint)
            action->setStatusTip(QString::fromUtf8(entry.hint));
        this->*entry.member = action;
    }
}

QList<QAction*> TMainActions::AllActions() const
{
    QList<QAction*> result;
    for (const TActionSpec& entry : kActions)
        result.append(this->*entry.member);
    return result;
}
