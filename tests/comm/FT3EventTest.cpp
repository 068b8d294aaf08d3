#include "comm/FT3Event.h"
#include "comm/FT3Exceptions.h"
#include "comm/FT3TestUtil.h"

#include <gtest/gtest.h>

#include <random>
#include <typeindex>

namespace {

// code 05, attribute C1, channel 0x1234, time 2006-11-23 13:15:20, value octets 11-13 = 22 33 44,
// data 01 02 03 04 05 06.
const char* const kLongRecord = "05 C1 34 12 20 4E 0F 0D 17 0B 06 22 33 44 01 02 03 04 05 06";
// code 05, attribute bits 6-7 = 3, channel 0x1234, data 0A 0B 0C 0D.
const char* const kShortRecord = "05 C1 34 12 0A 0B 0C 0D";

DynByteArray WithCode(const char* record, uint8_t code)
{
    DynByteArray octets = Hex(record);
    octets[0] = code;
    return octets;
}

std::unique_ptr<TEventFT3> Decode(DynByteArray buffer, bool isLong, uint8_t position = 0)
{
    return GetEvntDT(buffer, position, false, isLong);
}

std::string FailureOf(DynByteArray buffer, bool isLong, uint8_t position = 0)
{
    try {
        Decode(buffer, isLong, position);
    } catch (const EShareFT3Exception& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

const char* const kNoData = "Нет данных для формирования события";

} // namespace

TEST(FT3Event, RecordLengths)
{
    EXPECT_EQ(LongEventLen(), 20);
    EXPECT_EQ(ShortEventLen(), 8);
}

TEST(FT3Event, LongRecordFillsEveryField)
{
    const auto event = Decode(Hex(kLongRecord), true);
    EXPECT_TRUE(event->IsLong);
    EXPECT_EQ(event->Code, 5);
    EXPECT_EQ(event->Attribute, 0xC1);
    EXPECT_EQ(event->Channel, 0x1234);
    EXPECT_DOUBLE_EQ(event->Time, EncodeDateTime(2006, 11, 23, 13, 15, 20, 0));
    EXPECT_EQ(event->Value32, (std::array<uint8_t, 4> {0x06, 0x22, 0x33, 0x44}))
        << "the four-octet value shares its first octet with the time's year";
    EXPECT_EQ(event->Value16, 0x3322);
    EXPECT_EQ(event->Value8, 0x44);
    EXPECT_EQ(event->Data, (std::array<uint8_t, 6> {1, 2, 3, 4, 5, 6}));
}

TEST(FT3Event, ShortRecordTakesTheMomentOfDecoding)
{
    const TDateTime before = Now();
    const auto event = Decode(Hex(kShortRecord), false);
    const TDateTime after = Now();
    EXPECT_FALSE(event->IsLong);
    EXPECT_EQ(event->Code, 5);
    EXPECT_EQ(event->Attribute, 3) << "only bits 6-7 of the attribute octet";
    EXPECT_EQ(event->Channel, 0x1234);
    EXPECT_GE(event->Time, before);
    EXPECT_LE(event->Time, after);
    EXPECT_EQ(event->Data, (std::array<uint8_t, 6> {0x0A, 0x0B, 0x0C, 0x0D, 0, 0}));
    EXPECT_EQ(event->Value32, (std::array<uint8_t, 4> {}));
    EXPECT_EQ(event->Value16, 0);
    EXPECT_EQ(event->Value8, 0);
}

TEST(FT3Event, RecordAtAPositionInsideALargerBuffer)
{
    DynByteArray buffer(250, 0xEE);
    const DynByteArray record = Hex(kLongRecord);
    buffer.insert(buffer.end(), record.begin(), record.end());
    const auto event = Decode(buffer, true, 250);
    EXPECT_EQ(event->Channel, 0x1234);
    EXPECT_EQ(event->Data[5], 6);
}

TEST(FT3Event, TimesThatAreNoDateGiveZero)
{
    const char* const records[] = {
        "05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",   // no time at all
        "05 00 00 00 20 4E 0F 0D 17 00 06 00 00 00 00 00 00 00 00 00",   // month 0
        "05 00 00 00 20 4E 0F 0D 1F 02 06 00 00 00 00 00 00 00 00 00",   // 31 February
        "05 00 00 00 20 4E 3C 0D 17 0B 06 00 00 00 00 00 00 00 00 00",   // minute 60
    };
    for (const char* record : records)
        EXPECT_DOUBLE_EQ(Decode(Hex(record), true)->Time, 0) << record;
}

TEST(FT3Event, ClassFollowsTheCode)
{
    struct Case { uint8_t code; std::type_index type; };
    const Case cases[] = {
        {0, typeid(TEv00)}, {1, typeid(TEv01)}, {2, typeid(TEv02)}, {3, typeid(TEv03)},
        {4, typeid(TEv04)}, {5, typeid(TEv05)}, {6, typeid(TEv06)}, {7, typeid(TEv07)},
        {8, typeid(TEv08)}, {9, typeid(TEv09)}, {10, typeid(TEv10)}, {11, typeid(TEv11)},
        {12, typeid(TEv12)}, {13, typeid(TEv13)}, {14, typeid(TEventFT3)},
        {18, typeid(TEv18)}, {28, typeid(TEv28)}, {29, typeid(TEv29)}, {32, typeid(TEv32)},
        {128, typeid(TEvTC128)}, {129, typeid(TEv129)}, {136, typeid(TEvTII136)},
        {137, typeid(TEvTII137)}, {138, typeid(TEventFT3)}, {141, typeid(TEvTII141)},
        {143, typeid(TEvTII143)}, {144, typeid(TEvTIT144)}, {150, typeid(TEvTIT150)},
        {158, typeid(TEvTIT158)}, {159, typeid(TEvTIT159)}, {160, typeid(TEvOneTIT)},
        {161, typeid(TEv161)}, {162, typeid(TEventFT3)}, {163, typeid(TEvTIT163)},
        {168, typeid(TEvTU168)}, {169, typeid(TEvTU169)}, {176, typeid(TEv176)},
        {177, typeid(TEvNotAcive)}, {178, typeid(TEv178)}, {179, typeid(TEv179)},
        {184, typeid(TEv184)}, {192, typeid(TEv192)}, {196, typeid(TEv196)},
        {197, typeid(TEv197)}, {198, typeid(TEv198)}, {199, typeid(TEventFT3)},
        {255, typeid(TEventFT3)},
    };
    for (const Case& c : cases) {
        const auto event = Decode(WithCode(kLongRecord, c.code), true);
        EXPECT_EQ(std::type_index(typeid(*event)), c.type) << int(c.code);
        EXPECT_EQ(event->Code, c.code);
    }
}

TEST(FT3Event, GroupsOfTheClassTree)
{
    const auto is = [](uint8_t code, auto* group) {
        const auto event = Decode(WithCode(kLongRecord, code), true);
        return dynamic_cast<decltype(group)>(event.get()) != nullptr;
    };
    for (uint8_t code : {0, 1, 9, 13, 18, 28, 29, 177, 184})
        EXPECT_TRUE(is(code, static_cast<TEvSystem*>(nullptr))) << int(code);
    for (uint8_t code : {32, 129})
        EXPECT_TRUE(is(code, static_cast<TEvTC128*>(nullptr))) << int(code);
    for (uint8_t code : {136, 141, 143, 159, 161, 176, 192, 197})
        EXPECT_TRUE(is(code, static_cast<TEvLongPack*>(nullptr))) << int(code);
    for (uint8_t code : {141, 143, 159, 192, 193, 194, 195, 196, 197, 198})
        EXPECT_TRUE(is(code, static_cast<TEvTII136*>(nullptr))) << int(code);
    for (uint8_t code : {192, 193, 194, 195, 196})
        EXPECT_TRUE(is(code, static_cast<TEvSEVCD*>(nullptr))) << int(code);
    for (uint8_t code : {197, 198})
        EXPECT_TRUE(is(code, static_cast<TEvBMRZ*>(nullptr))) << int(code);
    for (uint8_t code : {144, 151, 158, 163})
        EXPECT_TRUE(is(code, static_cast<TEvOneTIT*>(nullptr))) << int(code);
    EXPECT_TRUE(is(168, static_cast<TEvTU169*>(nullptr)));
    EXPECT_FALSE(is(137, static_cast<TEvTII136*>(nullptr)));
    EXPECT_FALSE(is(161, static_cast<TEvTII136*>(nullptr)));
    EXPECT_FALSE(is(178, static_cast<TEvSystem*>(nullptr)));
}

TEST(FT3Event, LongOnlyCodesRefuseTheShortForm)
{
    const std::string no136 = "Событие 136 типа не поддерживает короткий формат";
    for (uint8_t code : {136, 141, 143, 159, 192, 193, 194, 195, 196, 197, 198}) {
        EXPECT_EQ(FailureOf(WithCode(kShortRecord, code), false), no136) << int(code);
        EXPECT_EQ(FailureOf({code}, false), no136) << "refused before the record is read";
        EXPECT_NO_THROW(Decode(WithCode(kLongRecord, code), true)) << int(code);
    }
    EXPECT_EQ(Decode(WithCode(kLongRecord, 161), true)->Code, 161);
    EXPECT_EQ(FailureOf(WithCode(kShortRecord, 161), false),
              "Событие 161 типа не поддерживает короткий формат");
    // The other packed and channel events come in both forms.
    for (uint8_t code : {137, 160, 176, 168, 169})
        EXPECT_NO_THROW(Decode(WithCode(kShortRecord, code), false)) << int(code);
}

TEST(FT3Event, RecordsCutShortRaiseWithoutReadingPastTheEnd)
{
    for (uint8_t code : {0, 5, 9, 136, 161, 169, 255}) {
        for (size_t length = 0; length < 20; ++length) {
            DynByteArray cut = WithCode(kLongRecord, code);
            cut.resize(length);
            EXPECT_EQ(FailureOf(cut, true), kNoData) << int(code) << " length " << length;
        }
        if (code == 136 || code == 161)
            continue;
        for (size_t length = 0; length < 8; ++length) {
            DynByteArray cut = WithCode(kShortRecord, code);
            cut.resize(length);
            EXPECT_EQ(FailureOf(cut, false), kNoData) << int(code) << " length " << length;
        }
    }
    // The position counts: the record must fit behind it.
    DynByteArray buffer(255 + 19, 0);
    EXPECT_EQ(FailureOf(buffer, true, 255), kNoData);
    buffer.push_back(0);
    EXPECT_NO_THROW(Decode(buffer, true, 255));
    EXPECT_EQ(FailureOf(DynByteArray(10, 0), false, 3), kNoData);
    EXPECT_EQ(FailureOf({}, true, 255), kNoData);
}

TEST(FT3Event, RandomBuffersDecodeOrRaiseTheProtocolError)
{
    std::mt19937 random(20240611);
    const auto below = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    for (int round = 0; round < 20000; ++round) {
        DynByteArray buffer(static_cast<size_t>(below(40)));
        for (auto& octet : buffer)
            octet = static_cast<uint8_t>(below(256));
        const auto position = static_cast<uint8_t>(below(24));
        const bool isLong = below(2) == 1;
        try {
            const auto event = Decode(buffer, isLong, position);
            ASSERT_LE(position + size_t(isLong ? 20 : 8), buffer.size());
            ASSERT_EQ(event->Code, buffer[position]);
        } catch (const EShareFT3Exception&) {
        }
    }
}

TEST(FT3Event, FreeBufferEmptiesItOnlyAfterSuccess)
{
    DynByteArray buffer = Hex(kLongRecord);
    auto event = GetEvntDT(buffer, 0, true, true);
    EXPECT_EQ(event->Channel, 0x1234);
    EXPECT_TRUE(buffer.empty());

    buffer = Hex(kShortRecord);
    event = GetEvntDT(buffer, 0, false, false);
    EXPECT_EQ(buffer, Hex(kShortRecord)) << "kept when not asked to free it";

    buffer = Hex(kShortRecord);
    EXPECT_THROW(GetEvntDT(buffer, 1, true, false), EShareFT3Exception);
    EXPECT_EQ(buffer, Hex(kShortRecord)) << "a failed decoding loses nothing";
}

TEST(FT3Event, RestartAndClockSettingExtraFields)
{
    // Octet 11 = 0x22, octet 12 = 0x33.
    const auto restart = Decode(WithCode(kLongRecord, 0), true);
    EXPECT_EQ(dynamic_cast<TEv00&>(*restart).Param, 0x32);

    const auto clock = Decode(WithCode(kLongRecord, 9), true);
    const auto& ev09 = dynamic_cast<TEv09&>(*clock);
    EXPECT_EQ(ev09.Param, 0x32);
    EXPECT_EQ(ev09.Param2, 0x22);
    EXPECT_EQ(ev09.Data7, (std::array<uint8_t, 7> {1, 2, 3, 4, 5, 6, 0}));

    DynByteArray zeroOctet12 = WithCode(kLongRecord, 0);
    zeroOctet12[12] = 0;
    EXPECT_EQ(dynamic_cast<TEv00&>(*Decode(zeroOctet12, true)).Param, 0xFF) << "octet arithmetic";

    // A short record has no octets 11 and 12.
    EXPECT_EQ(dynamic_cast<TEv00&>(*Decode(WithCode(kShortRecord, 0), false)).Param, 0);
    const auto shortClock = Decode(WithCode(kShortRecord, 9), false);
    EXPECT_EQ(dynamic_cast<TEv09&>(*shortClock).Param, 0);
    EXPECT_EQ(dynamic_cast<TEv09&>(*shortClock).Param2, 0);
    EXPECT_EQ(dynamic_cast<TEv09&>(*shortClock).Data7,
              (std::array<uint8_t, 7> {0x0A, 0x0B, 0x0C, 0x0D, 0, 0, 0}));
}

TEST(FT3Event, ControlCommandTexts)
{
    // Long records of code 168 or 169, channel 42, with the data octets d[0..5].
    const auto describe = [](uint8_t code, const char* data) {
        DynByteArray record = Hex("00 00 2A 00 20 4E 0F 0D 17 0B 06 00 00 00");
        const DynByteArray d = Hex(data);
        record.insert(record.end(), d.begin(), d.end());
        record[0] = code;
        const auto event = Decode(record, true);
        std::string text = "old text";
        dynamic_cast<TEvTU169&>(*event).Description(text);
        return text;
    };
    struct Case { uint8_t code; const char* data; const char* text; };
    const Case cases[] = {
        {169, "01 80 05 00 00 00",
         "Процедура  Вкл, Канал=   42 (ошибка=\"Да \", во время ТУ=\"Нет\", № выхода=  5)"},
        {168, "01 80 05 00 00 00", "Процедура  Вкл, Канал=   42"},
        {168, "02 00 00 00 00 00", "Процедура Откл, Канал=   42"},
        {168, "17 00 00 00 00 00", "Процедура  Акт, Канал=   42"},
        {168, "0F 00 00 00 00 00", "Процедура   0F, Канал=   42"},
        {168, "B3 00 00 00 00 00", "Процедура   B3, Канал=   42"},
        {168, "02 00 00 07 34 A1",
         "Процедура Откл, Канал=   42 (Порт: 10, Адр:   7, Канал: 308)"},
        {169, "02 7F FF 07 34 A1",
         "Процедура Откл, Канал=   42 (Порт: 10, Адр:   7, Канал: 308)"
         " (ошибка=\"Нет\", во время ТУ=\"Да \", № выхода= 63)"},
        {169, "01 00 00 FF 00 FF",
         "Процедура  Вкл, Канал=   42 (ошибка=\"Нет\", во время ТУ=\"Нет\", № выхода=  0)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(c.code, c.data), c.text) << c.data;
}

TEST(FT3Event, ControlCommandNameAndWideChannel)
{
    const auto event = Decode(Hex("A9 00 39 30 03 04 C5 06"), false);   // channel 12345
    const auto& tu = dynamic_cast<TEvTU169&>(*event);
    std::string name;
    tu.CommandName(name);
    EXPECT_EQ(name, "  03");
    std::string text;
    tu.Description(text);
    EXPECT_EQ(text,
              "Процедура   03, Канал= 12345 (ошибка=\"Нет\", во время ТУ=\"Да \", № выхода=  5)");
}

TEST(FT3EventNames, NamesOfCodes)
{
    const auto name = [](uint8_t code) {
        std::string text = "old text";
        GetNameEvent(code, text);
        return text;
    };
    EXPECT_EQ(name(0), "Рестарт");
    EXPECT_EQ(name(13), "13");
    EXPECT_EQ(name(255), "255");
    EXPECT_EQ(name(142), "142");
    EXPECT_EQ(name(29), "Изменение состояния питания датчиков ТС");
    EXPECT_EQ(name(163), "Отклонение значения параметра относительно ранее переданного значения "
                         "превысило значение \"мертвой\" зоны (апертурное отклонение)");
    EXPECT_EQ(name(204), "Контекст потери синхронизации устройства Sepam");
    EXPECT_FALSE(name(184).empty());
    EXPECT_NE(name(184), "184");

    int named = 0;
    for (int code = 0; code < 256; ++code) {
        std::string other;
        GetEventName(other, static_cast<uint8_t>(code));
        EXPECT_EQ(other, name(static_cast<uint8_t>(code)));
        named += other != std::to_string(code);
    }
    EXPECT_EQ(named, 70);
}

TEST(FT3EventNames, DeviceStateText)
{
    struct Case { uint8_t state; const char* text; };
    const Case cases[] = {
        {0x00, "Нормальное состояние"},
        {0x01, "Обнаружена ошибка процедуры."},
        {0x02, "Есть активная процедура."},
        {0x03, "Обнаружена ошибка процедуры.Есть активная процедура."},
        {0x20, "Рестарт вторичной станции."},
        {0x90, "Есть события в буфере порта связи.Авария питания."},
        {0xFF, "Обнаружена ошибка процедуры.Есть активная процедура."
               "Зарегистрировано системное событие.Переполнение архива событий."
               "Есть события в буфере порта связи.Рестарт вторичной станции."
               "Отсутствие или нарушение параметра.Авария питания."},
    };
    for (const Case& c : cases) {
        std::string text = "old text";
        DecodeDevState(c.state, text);
        EXPECT_EQ(text, c.text) << int(c.state);
    }
}
