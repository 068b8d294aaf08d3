#include "comm/FT3Reply.h"

#include "base/Format.h"
#include "comm/FT3Exceptions.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Frame octets (the user data starts at octet 3).
constexpr size_t kControl = 3;
constexpr size_t kLength = 2;
// The extractors read up to frame octet 8 before de-blocking.
constexpr size_t kHeaderOctets = 9;

std::string FromController(uint8_t source)
{
    return Format(" при ответе от контроллера с адресом %d", source);
}

// A reply too short to carry the fields read before de-blocking never reaches them.
void RequireHeader(const DynByteArray& buffer, size_t sourceOctet)
{
    if (buffer.size() >= kHeaderOctets)
        return;
    std::string text = Format("Неполный кадр ответа (длина %zu)", buffer.size());
    if (buffer.size() > sourceOctet)
        text += FromController(buffer[sourceOctet]);
    throw ENoReply(text);
}

void CheckCRC(DynByteArray& buffer, uint8_t source)
{
    try {
        TestPackageCRC_FT3(buffer, 0);
    } catch (const Exception& e) {
        throw EErrCRC(e.Message() + FromController(source));
    }
}

void SwapOctets(DynByteArray& buffer, size_t a, size_t b)
{
    std::swap(buffer[a], buffer[b]);
}

// Keeps only the user data: L octets (at most what the buffer holds) with the CRCs skipped,
// copied a block at a time. As with the block cursor, the octet after the last one copied
// (its block's CRC) must be in the buffer too.
void Deblock(DynByteArray& buffer, uint8_t source)
{
    const size_t count = std::min<size_t>(buffer[kLength], buffer.size() - 1);
    DynByteArray userData(count);
    size_t blockStart = 2;
    size_t position = 1;
    for (size_t copied = 0; copied < count;) {
        const size_t take = std::min<size_t>(kFT3BlockSize - position, count - copied);
        if (blockStart + position + take >= buffer.size())
            throw ENoReply(kFT3OutOfBounds + FromController(source));
        std::memcpy(&userData[copied], &buffer[blockStart + position], take);
        copied += take;
        position += take;
        if (position == kFT3BlockSize) {
            blockStart += kFT3BlockSize + 2;
            position = 0;
        }
    }
    buffer.swap(userData);
}

} // namespace

bool TestNew(uint8_t control)
{
    return (control & 0x80) != 0;
}

void TestInputCod(std::string& text, uint8_t errorCode)
{
    switch (errorCode) {
    case 0: text.clear(); return;
    case 1: text = "Тайм-аут сторожевого таймера. "; return;
    case 2: text = "Ошибка процессора С165: немаскируемое прерывание. "; return;
    case 3: text = "Ошибка процессора С165: переполнение стека вверх. "; return;
    case 4: text = "Ошибка процессора С165: переполнение стека вниз. "; return;
    case 5: text = "Ошибка процессора С165 класса B. "; return;
    case 6: text = "Ошибка процессора С165: переполнение стека вверх. "; return;
    case 7: text = "Ошибка часов: нет доступа. "; return;
    case 8: text = "Ошибка часов: недостоверное значение времени. "; return;
    case 9: text = "Ошибка часов: расхождение опорных частот генераторов. "; return;
    case 10: text = "Ошибка ОЗУ. "; return;
    case 11: text = "Ошибка ПЗУ: нарушение контрольной суммы. "; return;
    case 12: text = "Ошибка ПЗУ: ошибка записи/стирания. "; return;
    case 50: text = "Код доступа первичной станции не опознан. Директива игнорирована. "; return;
    case 51:
        text = "Код доступа для категории пользователя не опознан. Директива игнорирована. ";
        return;
    case 52:
        text = "Данной первичной станции не санкционирован доступ в части активизации любых "
               "директив. Директива игнорирована. ";
        return;
    case 53:
        text = "Данной первичной станции не санкционирован доступ в части активизации вызываемой "
               "директивы. Директива игнорирована. ";
        return;
    case 54:
        text = "Данной первичной станции не санкционирован доступ по сетевой инициализации "
               "данного устройства. ";
        return;
    case 55: text = "Объект директивы или запроса не определён в конфигурации станции. "; return;
    case 56: text = "Нарушение формата параметров директивы или запроса. "; return;
    case 57: text = "Ошибка ограничения выделенной области ОЗУ. "; return;
    case 58:
        text = "Ошибка данных системного параметра (обнаружена ошибка CRC системного параметра). ";
        return;
    case 59: text = "Ошибка бита FCV поля управления. "; return;
    case 60: text = "Переполнение буфера ошибок. "; return;
    case 61: text = "Попытка повторной активизации активной процедуры на канале управления"; return;
    case 62: text = "Попытка обращения к несуществующему физическому каналу"; return;
    case 70:
        text = "Превышение допустимого числа логических номеров (индексов) каналов данной станции. ";
        return;
    case 71:
        text = "Канал с указанным логическим номером (индексом) отсутствует в конфигурации данной "
               "станции (не определен). ";
        return;
    default:
        if (errorCode >= 240)
            text.clear();
        else
            text = Format("Ошибка №%d. ", errorCode);
        return;
    }
}

void TestStateDev(std::string& text, uint8_t stateFlags)
{
    static const char* const flagTexts[8] = {
        "Обнаружена ошибка при исполнении хотя бы одной из процедур.",
        "Хотя бы одна из пользовательских процедур активна (не завершена).",
        "Имеется системное событие.",
        "Переполнение архива событий.",
        "Имеется событие в буфере порта связи.",
        nullptr,
        "Отсутствие или нарушение системного параметра",
        "Авария батареи питания ОЗУ",
    };
    text.clear();
    for (int bit = 0; bit < 8; ++bit) {
        if ((stateFlags & (1 << bit)) && flagTexts[bit]) {
            text += flagTexts[bit];
            text += '\r';
        }
    }
}

void CheckReplyState(uint8_t source, uint8_t control, uint8_t errorCode, uint8_t stateFlags,
                     bool strict)
{
    std::string text;
    if (errorCode != 0)
        TestInputCod(text, errorCode);
    // Only bits 0, 3, 5, 6 and 7 report a fault; 1, 2 and 4 are ordinary activity.
    const uint8_t faults = stateFlags & 0xE9;
    if (faults != 0) {
        if (!text.empty())
            text += '\r';
        std::string flags;
        TestStateDev(flags, faults);
        text += flags;
    }
    if (!text.empty())
        throw EDevState(text + "\r" + Format("при ответе от контроллера с адресом %d", source));
    if (strict && (control & 0x0F) == 9)
        throw EDevState(Format(
            "Запрашиваемые данные не могут быть переданы при ответе от контроллера с адресом %d",
            source));
}

void ExtractPackageFT31(DynByteArray& buffer)
{
    constexpr size_t kNewSource = 5;
    constexpr size_t kOldSource = 4;
    const bool isNew = buffer.size() > kControl && TestNew(buffer[kControl]);
    const size_t sourceOctet = isNew ? kNewSource : kOldSource;
    RequireHeader(buffer, sourceOctet);
    const uint8_t source = buffer[sourceOctet];

    CheckCRC(buffer, source);
    if (!isNew) {
        // Old source, destination, function, error, state become
        // destination, source, error, state, function.
        SwapOctets(buffer, 4, 5);
        SwapOctets(buffer, 6, 7);
        SwapOctets(buffer, 7, 8);
    }
    if (buffer[8] & 0x80)
        CheckReplyState(source, buffer[kControl], buffer[6], buffer[7], true);
    Deblock(buffer, source);
}

void ExtractPackageFT3(DynByteArray& buffer)
{
    constexpr size_t kSource = 4;
    RequireHeader(buffer, kSource);
    const uint8_t source = buffer[kSource];
    CheckCRC(buffer, source);
    CheckReplyState(source, buffer[kControl], buffer[7], buffer[8], false);
    Deblock(buffer, source);
}
