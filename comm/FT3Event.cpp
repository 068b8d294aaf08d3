#include "comm/FT3Event.h"

#include "base/Exception.h"
#include "base/Format.h"
#include "comm/FT3Exceptions.h"
#include "comm/FT3Time.h"

#include <algorithm>

namespace {

const char* const kNoEventData = "Нет данных для формирования события";
const char* const kNo136Short = "Событие 136 типа не поддерживает короткий формат";
const char* const kNo161Short = "Событие 161 типа не поддерживает короткий формат";

// The record at the position, once the buffer is known to hold all of it.
const uint8_t* WholeRecord(const DynByteArray& buffer, uint8_t position, bool isLong)
{
    const size_t length = static_cast<size_t>(isLong ? LongEventLen() : ShortEventLen());
    if (buffer.size() < size_t{position} + length)
        throw EShareFT3Exception(kNoEventData);
    return buffer.data() + position;
}

// Passes the buffer on to the construction only for the long form, so that a short-form request
// fails before anything is read.
const DynByteArray& LongFormOnly(const DynByteArray& buffer, bool isLong, const char* message)
{
    if (!isLong)
        throw EShareFT3Exception(message);
    return buffer;
}

// A time that is no valid date is kept as 0: the rest of the record is still worth having.
TDateTime RecordTime(const DynByteArray& buffer, uint8_t position)
{
    try {
        return DecodeTime_2a(buffer, static_cast<uint16_t>(position + 4), true);
    } catch (const EConvertError&) {
        return 0;
    }
}

const char* YesNo(bool value)
{
    return value ? "Да " : "Нет";
}

template <class Event>
std::unique_ptr<TEventFT3> Make(const DynByteArray& buffer, uint8_t position, bool isLong)
{
    return std::make_unique<Event>(buffer, position, isLong);
}

std::unique_ptr<TEventFT3> CreateEvent(const DynByteArray& buffer, uint8_t position, bool isLong)
{
    switch (buffer[position]) {
    case 0: return Make<TEv00>(buffer, position, isLong);
    case 1: return Make<TEv01>(buffer, position, isLong);
    case 2: return Make<TEv02>(buffer, position, isLong);
    case 3: return Make<TEv03>(buffer, position, isLong);
    case 4: return Make<TEv04>(buffer, position, isLong);
    case 5: return Make<TEv05>(buffer, position, isLong);
    case 6: return Make<TEv06>(buffer, position, isLong);
    case 7: return Make<TEv07>(buffer, position, isLong);
    case 8: return Make<TEv08>(buffer, position, isLong);
    case 9: return Make<TEv09>(buffer, position, isLong);
    case 10: return Make<TEv10>(buffer, position, isLong);
    case 11: return Make<TEv11>(buffer, position, isLong);
    case 12: return Make<TEv12>(buffer, position, isLong);
    case 13: return Make<TEv13>(buffer, position, isLong);
    case 18: return Make<TEv18>(buffer, position, isLong);
    case 28: return Make<TEv28>(buffer, position, isLong);
    case 29: return Make<TEv29>(buffer, position, isLong);
    case 32: return Make<TEv32>(buffer, position, isLong);
    case 128: return Make<TEvTC128>(buffer, position, isLong);
    case 129: return Make<TEv129>(buffer, position, isLong);
    case 136: return Make<TEvTII136>(buffer, position, isLong);
    case 137: return Make<TEvTII137>(buffer, position, isLong);
    case 141: return Make<TEvTII141>(buffer, position, isLong);
    case 143: return Make<TEvTII143>(buffer, position, isLong);
    case 144: return Make<TEvTIT144>(buffer, position, isLong);
    case 145: return Make<TEvTIT145>(buffer, position, isLong);
    case 146: return Make<TEvTIT146>(buffer, position, isLong);
    case 147: return Make<TEvTIT147>(buffer, position, isLong);
    case 148: return Make<TEvTIT148>(buffer, position, isLong);
    case 149: return Make<TEvTIT149>(buffer, position, isLong);
    case 150: return Make<TEvTIT150>(buffer, position, isLong);
    case 151: return Make<TEvTIT151>(buffer, position, isLong);
    case 152: return Make<TEvTIT152>(buffer, position, isLong);
    case 153: return Make<TEvTIT153>(buffer, position, isLong);
    case 154: return Make<TEvTIT154>(buffer, position, isLong);
    case 155: return Make<TEvTIT155>(buffer, position, isLong);
    case 156: return Make<TEvTIT156>(buffer, position, isLong);
    case 157: return Make<TEvTIT157>(buffer, position, isLong);
    case 158: return Make<TEvTIT158>(buffer, position, isLong);
    case 159: return Make<TEvTIT159>(buffer, position, isLong);
    case 160: return Make<TEvOneTIT>(buffer, position, isLong);
    case 161: return Make<TEv161>(buffer, position, isLong);
    case 163: return Make<TEvTIT163>(buffer, position, isLong);
    case 168: return Make<TEvTU168>(buffer, position, isLong);
    case 169: return Make<TEvTU169>(buffer, position, isLong);
    case 176: return Make<TEv176>(buffer, position, isLong);
    case 177: return Make<TEvNotAcive>(buffer, position, isLong);
    case 178: return Make<TEv178>(buffer, position, isLong);
    case 179: return Make<TEv179>(buffer, position, isLong);
    case 184: return Make<TEv184>(buffer, position, isLong);
    case 192: return Make<TEv192>(buffer, position, isLong);
    case 193: return Make<TEv193>(buffer, position, isLong);
    case 194: return Make<TEv194>(buffer, position, isLong);
    case 195: return Make<TEv195>(buffer, position, isLong);
    case 196: return Make<TEv196>(buffer, position, isLong);
    case 197: return Make<TEv197>(buffer, position, isLong);
    case 198: return Make<TEv198>(buffer, position, isLong);
    default: return Make<TEventFT3>(buffer, position, isLong);
    }
}

} // namespace

int LongEventLen()
{
    return 20;
}

int ShortEventLen()
{
    return 8;
}

TEventFT3::TEventFT3(const DynByteArray& buffer, uint8_t position, bool isLong) : IsLong(isLong)
{
    const uint8_t* record = WholeRecord(buffer, position, isLong);
    Code = record[0];
    Channel = static_cast<uint16_t>(record[2] | record[3] << 8);
    if (isLong) {
        Attribute = record[1];
        Time = RecordTime(buffer, position);
        std::copy_n(record + 10, Value32.size(), Value32.begin());
        Value16 = static_cast<uint16_t>(record[11] | record[12] << 8);
        Value8 = record[13];
        std::copy_n(record + 14, Data.size(), Data.begin());
    } else {
        Attribute = static_cast<uint8_t>(record[1] >> 6);
        Time = Now();
        std::copy_n(record + 4, 4, Data.begin());
    }
}

// Octets 11 and 12 are the 16-bit value's low and high octets.
TEv00::TEv00(const DynByteArray& buffer, uint8_t position, bool isLong)
    : TEvSystem(buffer, position, isLong)
{
    if (IsLong)
        Param = static_cast<uint8_t>((Value16 >> 8) - 1);
}

TEv09::TEv09(const DynByteArray& buffer, uint8_t position, bool isLong)
    : TEvSystem(buffer, position, isLong)
{
    if (IsLong) {
        Param = static_cast<uint8_t>((Value16 >> 8) - 1);
        Param2 = static_cast<uint8_t>(Value16 & 0xFF);
    }
    std::copy(Data.begin(), Data.end(), Data7.begin());
}

TEvTII136::TEvTII136(const DynByteArray& buffer, uint8_t position, bool isLong)
    : TEvLongPack(LongFormOnly(buffer, isLong, kNo136Short), position, isLong)
{
}

TEv161::TEv161(const DynByteArray& buffer, uint8_t position, bool isLong)
    : TEvLongPack(LongFormOnly(buffer, isLong, kNo161Short), position, isLong)
{
}

std::unique_ptr<TEventFT3> GetEvntDT(DynByteArray& buffer, uint8_t position, bool freeBuffer,
                                     bool isLong)
{
    if (buffer.size() <= position)
        throw EShareFT3Exception(kNoEventData);
    std::unique_ptr<TEventFT3> event = CreateEvent(buffer, position, isLong);
    if (freeBuffer)
        DynByteArray().swap(buffer);
    return event;
}

void TEvTU169::CommandName(std::string& text) const
{
    switch (Data[0]) {
    case 1: text = " Вкл"; break;
    case 2: text = "Откл"; break;
    case 23: text = " Акт"; break;
    default: text = Format("  %2.2X", Data[0]); break;
    }
}

void TEvTU169::CommandDescription(std::string& text) const
{
    std::string command;
    CommandName(command);
    text = Format("Процедура %s, Канал= %4d", command.c_str(), Channel);
    if (Data[4] != 0)
        text = Format("%s (Порт: %d, Адр: %3d, Канал: %3d)", text.c_str(), Data[5] >> 4, Data[3],
                      (Data[5] & 0x0F) * 256 + Data[4]);
}

void TEvTU169::Description(std::string& text) const
{
    CommandDescription(text);
    text += Format(" (ошибка=\"%s\", во время ТУ=\"%s\", № выхода=%3d)", YesNo(Data[1] & 0x80),
                   YesNo(Data[2] & 0x80), Data[2] & 0x3F);
}

void TEvTU168::Description(std::string& text) const
{
    CommandDescription(text);
}
