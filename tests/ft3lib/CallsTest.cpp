// Calls through the C interface: status codes, last-error texts, buffers and texts in the
// caller's memory.
#include <gtest/gtest.h>

#define FT3_NAMESPACE c_api
#include "ft3lib/ft3.h"

#include <cstring>
#include <string>
#include <vector>

using namespace c_api;

extern "C" int RunCClient(char* detail, size_t size);

namespace {

std::vector<uint8_t> Octets(std::initializer_list<int> values)
{
    std::vector<uint8_t> octets;
    for (int value : values)
        octets.push_back(static_cast<uint8_t>(value));
    return octets;
}

// A frame buffer of the largest size, holding the octets given.
struct Buffer {
    explicit Buffer(const std::vector<uint8_t>& octets) : length(octets.size())
    {
        std::copy(octets.begin(), octets.end(), memory);
    }
    std::vector<uint8_t> Contents() const { return {memory, memory + length}; }

    uint8_t memory[FT3_MAX_FRAME] = {};
    size_t length;
};

const std::vector<uint8_t> kSensorReply =
    Octets({0x88, 0xFA, 0x01, 0x00, 0x00, 0x94, 0x10, 0x10, 0x00, 0x22, 0x11, 0x22});

} // namespace

TEST(Ft3Calls, CProgramLinksAndCalls)
{
    char detail[512] = "";
    EXPECT_EQ(RunCClient(detail, sizeof detail), 0) << detail;
}

TEST(Ft3Calls, TextsGoIntoTheCallersMemory)
{
    char text[FT3_TEXT_CAPACITY];
    const std::string both = "Обнаружена ошибка процедуры.Есть активная процедура.";
    EXPECT_EQ(DecodeDevState(3, text, sizeof text), static_cast<int>(both.size()));
    EXPECT_EQ(text, both);
    EXPECT_STREQ(FT3LastError(), "");

    // Capacity 0 only measures; a capacity one short is refused with an empty text.
    EXPECT_EQ(DecodeDevState(3, nullptr, 0), static_cast<int>(both.size()));
    EXPECT_EQ(DecodeDevState(3, text, both.size()), FT3_E_SPACE);
    EXPECT_STREQ(text, "");
    EXPECT_NE(std::string(FT3LastError()), "");
    EXPECT_EQ(DecodeDevState(3, text, both.size() + 1), static_cast<int>(both.size()));
    EXPECT_EQ(DecodeDevState(3, nullptr, 10), FT3_E_ARGUMENT);

    EXPECT_GT(GetEventName(text, sizeof text, 0), 0);
    EXPECT_STREQ(text, "Рестарт");
    EXPECT_EQ(TestInputCod(text, sizeof text, 0), 0);
    EXPECT_STREQ(text, "");
    EXPECT_GT(TestInputCod(text, sizeof text, 10), 0);
    EXPECT_STREQ(text, "Ошибка ОЗУ. ");
    EXPECT_GT(TestStateDev(text, sizeof text, 0x08), 0);
    EXPECT_STREQ(text, "Переполнение архива событий.\r");
    EXPECT_GT(DecodeIDDevFT3(1u << 11 | 2u << 6 | 5u << 2 | 7u << 16, text, sizeof text), 0);
    EXPECT_STREQ(text, "BC507C");
}

TEST(Ft3Calls, FramesAreBuiltCheckedAndExtractedInPlace)
{
    Buffer buffer(kSensorReply);
    ASSERT_EQ(MakePackageFT3(buffer.memory, &buffer.length, sizeof buffer.memory, 0), FT3_OK);
    EXPECT_EQ(buffer.length, CalcLenPackageFT3(static_cast<uint8_t>(kSensorReply.size())));
    const std::vector<uint8_t> frame = buffer.Contents();
    EXPECT_EQ(TestPackageCRC_FT3(buffer.memory, buffer.length, 0), FT3_OK);
    EXPECT_EQ(buffer.Contents(), frame);

    ASSERT_EQ(ExtractPackageFT31(buffer.memory, &buffer.length), FT3_OK);
    EXPECT_EQ(buffer.Contents(), kSensorReply);

    // A spoilt CRC: the code, the message, and the buffer as the check leaves it.
    Buffer spoilt(frame);
    spoilt.memory[5] ^= 0xFF;
    EXPECT_EQ(TestPackageCRC_FT3(spoilt.memory, spoilt.length, 0), FT3_E_CRC);
    EXPECT_EQ(std::string(FT3LastError()).rfind("Ошибка CRC.", 0), 0u) << FT3LastError();
    EXPECT_EQ(spoilt.memory[7], 0xF3);
    EXPECT_EQ(ExtractPackageFT31(spoilt.memory, &spoilt.length), FT3_E_CRC);
}

TEST(Ft3Calls, ResultsThatDoNotFitLeaveTheBufferAlone)
{
    Buffer buffer(kSensorReply);
    const auto before = buffer.Contents();
    EXPECT_EQ(MakePackageFT31(buffer.memory, &buffer.length, 19, 0), FT3_E_SPACE);
    EXPECT_EQ(buffer.Contents(), before);
    EXPECT_EQ(buffer.length, kSensorReply.size());

    EXPECT_EQ(MakePackageFT31(buffer.memory, &buffer.length, 11, 0), FT3_E_ARGUMENT)
        << "more octets in use than the capacity";
    EXPECT_EQ(MakePackageFT31(nullptr, &buffer.length, 100, 0), FT3_E_ARGUMENT);
    EXPECT_EQ(MakePackageFT31(buffer.memory, nullptr, 100, 0), FT3_E_ARGUMENT);

    // Too much user data for one frame: the protocol's own refusal.
    std::vector<uint8_t> big(256, 0x55);
    size_t length = big.size();
    big.resize(FT3_MAX_FRAME);
    EXPECT_EQ(MakePackageFT3(big.data(), &length, big.size(), 0), FT3_E_DATA);
    EXPECT_EQ(length, 256u);
}

TEST(Ft3Calls, BlockCursorAndCrc)
{
    std::vector<uint8_t> frame(40, 0);
    uint16_t blockStart = 2;
    uint16_t position = 14;
    EXPECT_EQ(NextPosFT3(frame.data(), frame.size(), &blockStart, &position, 1), FT3_OK);
    EXPECT_EQ(position, 15);
    EXPECT_EQ(NextPosFT3(frame.data(), frame.size(), &blockStart, &position, 1), FT3_OK);
    EXPECT_EQ(blockStart, 20);
    EXPECT_EQ(position, 0);
    EXPECT_FALSE(frame[18] == 0 && frame[19] == 0) << "the block's CRC was written";

    uint16_t farStart = 30;
    uint16_t farPosition = 9;
    EXPECT_EQ(NextPosFT3(frame.data(), frame.size(), &farStart, &farPosition, 0), FT3_E_DATA);
    EXPECT_STREQ(FT3LastError(), "Выход за границы массива");

    EXPECT_EQ(CRC_FT3(frame.data(), frame.size(), 0, 16), FT3_OK);
    EXPECT_EQ(CRC_FT3(frame.data(), frame.size(), 30, 9), FT3_E_DATA);
}

TEST(Ft3Calls, TimeAndDataReplyHeader)
{
    const auto time = Octets({0xFF, 0x20, 0x4E, 0x0F, 0x0D, 0x17, 0x0B, 0x06});
    double when = 0;
    ASSERT_EQ(DecodeTime_2a(time.data(), time.size(), 1, 1, &when), FT3_OK);
    double expected = 0;
    ASSERT_EQ(Time2aToDateTime(0x0D0F4E20, 0x060B17, &expected), FT3_OK);
    EXPECT_DOUBLE_EQ(when, expected);
    EXPECT_NEAR(when, 39044.5523148, 1e-6) << "2006-11-23 13:15:20";
    EXPECT_EQ(DecodeTime_2a(time.data(), time.size(), 2, 1, &when), FT3_E_DATA);
    EXPECT_EQ(Time2aToDateTime(0, 0x060017, &when), FT3_E_DATE);

    // Count code 15: the count in U[7], the address at U[8..9], the format at U[10].
    const auto reply = Octets({0x88, 0xFA, 0x01, 0, 0, 0x94, 0x0F, 3, 0x34, 0x12, 0xA5, 0x00});
    uint8_t count = 0, format = 0;
    int trust = -1, present = -1;
    uint16_t position = 0, address = 0;
    EXPECT_EQ(GetCountDT_14(reply.data(), reply.size(), &count), FT3_OK);
    EXPECT_EQ(GetFormatDT_14(reply.data(), reply.size(), &format), FT3_OK);
    EXPECT_EQ(IsLastTrust_14(reply.data(), reply.size(), &trust), FT3_OK);
    EXPECT_EQ(IsFldPresent_14(reply.data(), reply.size(), &present), FT3_OK);
    EXPECT_EQ(GetPosDT_14(reply.data(), reply.size(), &position), FT3_OK);
    EXPECT_EQ(GetAddrCH_14(reply.data(), reply.size(), &address), FT3_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(format, 5);
    EXPECT_EQ(trust, 1);
    EXPECT_EQ(present, 1);
    EXPECT_EQ(position, 11);
    EXPECT_EQ(address, 0x1234);

    EXPECT_EQ(GetCountDT_14(reply.data(), 6, &count), FT3_E_DATA) << "cut before the count";
    const auto unsupported = Octets({0x88, 0xFA, 0x01, 0, 0, 0x94, 0x07});
    EXPECT_EQ(GetCountDT_14(unsupported.data(), unsupported.size(), &count), FT3_E_DATA);
    EXPECT_STREQ(FT3LastError(), "Код числа каналов 7 не поддерживается");
    EXPECT_EQ(GetCountDT_14(reply.data(), reply.size(), nullptr), FT3_E_ARGUMENT);
}

TEST(Ft3Calls, EventRecords)
{
    // Code 168, channel 0x0102, data 02 00 00 07 34 A1.
    auto record = Octets({0xA8, 0x40, 0x02, 0x01, 0x20, 0x4E, 0x0F, 0x0D, 0x17, 0x0B,
                          0x06, 0x22, 0x33, 0x44, 0x02, 0x00, 0x00, 0x07, 0x34, 0xA1});
    size_t length = record.size();
    FT3Event event;
    ASSERT_EQ(GetEvntDT(record.data(), &length, 0, 0, 1, &event), FT3_OK);
    EXPECT_EQ(length, record.size());
    EXPECT_EQ(event.isLong, 1);
    EXPECT_EQ(event.code, 168);
    EXPECT_EQ(event.attribute, 0x40);
    EXPECT_EQ(event.channel, 0x0102);
    EXPECT_EQ(event.value16, 0x3322);
    EXPECT_EQ(event.value8, 0x44);
    EXPECT_EQ(event.value32[0], 0x06);
    EXPECT_EQ(event.data[5], 0xA1);
    EXPECT_STREQ(event.className, "TEvTU168");
    EXPECT_STREQ(event.command, "Откл");
    EXPECT_STREQ(event.description,
                 "Процедура Откл, Канал=  258 (Порт: 10, Адр:   7, Канал: 308)");

    record[0] = 9;   // clock setting: octet 12 less one, octet 11
    ASSERT_EQ(GetEvntDT(record.data(), &length, 0, 0, 1, &event), FT3_OK);
    EXPECT_STREQ(event.className, "TEv09");
    EXPECT_EQ(event.param, 0x32);
    EXPECT_EQ(event.param2, 0x22);
    EXPECT_STREQ(event.description, "");

    record[0] = 161;
    EXPECT_EQ(GetEvntDT(record.data(), &length, 0, 1, 0, &event), FT3_E_DATA);
    EXPECT_STREQ(FT3LastError(), "Событие 161 типа не поддерживает короткий формат");
    EXPECT_EQ(length, record.size()) << "a failure keeps the buffer";

    EXPECT_EQ(GetEvntDT(record.data(), &length, 13, 0, 0, &event), FT3_E_DATA);
    EXPECT_EQ(GetEvntDT(record.data(), &length, 12, 1, 0, &event), FT3_OK);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(event.isLong, 0);
    EXPECT_EQ(GetEvntDT(nullptr, &length, 0, 0, 1, &event), FT3_E_DATA) << "an empty buffer";
    EXPECT_EQ(GetEvntDT(record.data(), nullptr, 0, 0, 1, &event), FT3_E_ARGUMENT);
}
