#include "core/Exchange/AlarmConditions.h"

#include "base/Format.h"
#include "core/Device/SensorLimits.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"

namespace {

bool OverSetPoint(int32_t setPoint, double value)
{
    return setPoint > 0 && value > setPoint;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// "<what> - <suspension> ТИТ №<index> val=<value> <sign> <limit>"
QString Exceeded(const char* what, const TSilos& silos, int index, double value, char sign, int limit)
{
    return Text(Format("%s - %s ТИТ №%d val=%.3f %c %d", what, silos.GetName().toStdString().c_str(), index,
                       value, sign, limit));
}

} // namespace

bool AlarmHolds(const Parameters& settings, TAlarmCondition condition, const TTIT& tit, double value)
{
    switch (condition) {
    case CommutatorNoReply: return false;
    case BlockNoReply: return value == kNoData;
    case OverMaxT: return settings.MaxT < value && value < kOpenLineAbove;
    case SpeedExceeded: return tit.SpeedAlarm();
    case SetPoint1: return OverSetPoint(settings.CheckT1, value);
    case SetPoint2: return OverSetPoint(settings.CheckT2, value);
    case SetPoint3: return OverSetPoint(settings.CheckT3, value);
    case LineBreak: return IsOpenLine(value);
    case ShortCircuit: return IsShortCircuit(value) && value != kNoData;
    }
    return false;
}

QString AlarmOverlayText(const Parameters& settings, TAlarmCondition condition, const TSilos& silos, int index,
                         double value)
{
    switch (condition) {
    case CommutatorNoReply: return {};
    case BlockNoReply: return QStringLiteral("Нет ответа от местного блока Р5-22К");
    case OverMaxT: return Exceeded("Превышение макс. Т", silos, index, value, '>', settings.MaxT);
    case SpeedExceeded:
        return Text(Format("Скорость изменения - %s ТИТ №%d val=%.3f смотри speed.log",
                           silos.GetName().toStdString().c_str(), index, value));
    case SetPoint1: return Exceeded("Уставка 1", silos, index, value, '>', settings.CheckT1);
    case SetPoint2: return Exceeded("Уставка 2", silos, index, value, '>', settings.CheckT2);
    case SetPoint3: return Exceeded("Уставка 3", silos, index, value, '>', settings.CheckT3);
    case LineBreak: return Exceeded("Обрыв линии", silos, index, value, '>', static_cast<int>(kOpenLineAbove));
    case ShortCircuit: return Exceeded("КЗ. Т", silos, index, value, '<', static_cast<int>(kShortCircuitBelow));
    }
    return {};
}

QString CommutatorNoReplyText()
{
    return QStringLiteral("Нет ответа от коммутатора КС-4");
}

QString AlarmRelayText(const Parameters& settings, TAlarmCondition condition, const TSilos& silos, int index,
                       double value)
{
    if (condition == BlockNoReply)
        return Text(Format("Нет ответа от местного блока Р5-22К - %s ТИТ №%d", silos.GetName().toStdString().c_str(),
                           index));
    return AlarmOverlayText(settings, condition, silos, index, value);
}
