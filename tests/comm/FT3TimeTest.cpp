#include "comm/FT3Share.h"
#include "comm/FT3TestUtil.h"

#include <gtest/gtest.h>

TEST(FT3Time, DecodesLongAndShortForms)
{
    const TDateTime nov23 = EncodeDateTime(2006, 11, 23, 13, 15, 20, 0);
    struct Case { const char* octets; uint16_t position; bool isLong; TDateTime value; };
    const Case cases[] = {
        {"00 00 00 00 00 00 00", 0, true, 0},
        {"20 4E 0F 0D 17 0B 06", 0, true, nov23},
        {"20 4E 8F 0D 17 0B 06", 0, true, nov23},             // invalid-time flag ignored
        {"20 4E 0F 8D F7 8B 86", 0, true, nov23},             // summer, weekday, reserved bits
        {"D4 52 0F 0D 17 0B 06", 0, true, EncodeDateTime(2006, 11, 23, 13, 15, 21, 204)},
        {"0F 0D 17 0B 06", 0, false, EncodeDateTime(2006, 11, 23, 13, 15, 0, 0)},
        {"00 00 00 00 00", 0, false, 0},
        {"FF FF 20 4E 0F 0D 17 0B 06", 2, true, nov23},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(DecodeTime_2a(Hex(c.octets), c.position, c.isLong), c.value) << c.octets;
}

TEST(FT3Time, InvalidDatesRaiseTheConversionError)
{
    const char* const invalid[] = {
        "20 4E 0F 0D 17 00 06",   // month 0
        "20 4E 0F 0D 00 0B 06",   // day 0
        "20 4E 0F 0D 1F 02 06",   // 31 February
        "FF FF 0F 0D 17 0B 06",   // 65 seconds
        "20 4E 0F 1F 17 0B 06",   // hour 31
        "20 4E 3C 0D 17 0B 06",   // minute 60
    };
    for (const char* octets : invalid)
        EXPECT_THROW(DecodeTime_2a(Hex(octets), 0, true), EConvertError) << octets;
    EXPECT_THROW(Time2aToDateTime(0, 0x060017), EConvertError);
    EXPECT_DOUBLE_EQ(Time2aToDateTime(0, 0xFF000000), 0) << "only the low 24 bits of b count";
}

TEST(FT3Time, ShortBuffersRaiseInsteadOfReadingPastTheEnd)
{
    EXPECT_THROW(DecodeTime_2a(Hex("20 4E 0F 0D 17 0B"), 0, true), EShareFT3Exception);
    EXPECT_THROW(DecodeTime_2a(Hex("20 4E 0F 0D 17 0B 06"), 1, true), EShareFT3Exception);
    EXPECT_THROW(DecodeTime_2a(Hex("0F 0D 17 0B"), 0, false), EShareFT3Exception);
    EXPECT_THROW(DecodeTime_2a({}, 65535, true), EShareFT3Exception);
}

TEST(FT3Time, IdentifierText)
{
    const auto text = [](uint32_t id) {
        std::string result;
        DecodeIDDevFT3(id, result);
        return result;
    };
    // Letters from bits 11-15 and 6-10, number from bits 2-5, two digits from 16-19.
    const uint32_t plain = 1u << 11 | 2u << 6 | 5u << 2 | 7u << 16;
    EXPECT_EQ(text(plain), "BC507C");
    EXPECT_EQ(text(plain | 1u << 23), "BC507E");
    EXPECT_EQ(text(12u << 2 | 10u << 16), "AA1210C");
    // Bits 2-5 all set: a letter from bits 0-1 and 20-22 in third place.
    EXPECT_EQ(text(15u << 2 | 2u | 3u << 20), "AAT00C");
    EXPECT_EQ(text(0), "AA000C");
}

TEST(FT3DataReply, ReadsTheHeaderOfADataReply)
{
    // Count code 15: the count in U[7], every later field one octet on.
    const DynByteArray counted = Hex("88 FA 01 00 00 94 0F 03 34 12 A5 01 02");
    EXPECT_EQ(GetCountDT_14(counted), 3);
    EXPECT_EQ(GetAddrCH_14(counted), 0x1234);
    EXPECT_EQ(GetFormatDT_14(counted), 5);
    EXPECT_TRUE(IsLastTrust_14(counted));
    EXPECT_TRUE(IsFldPresent_14(counted));
    EXPECT_EQ(GetPosDT_14(counted), 11);

    // The sensor reply of a local block: channel at U[7..8], data from U[10].
    const DynByteArray sensor = Hex("88 FA 01 00 00 94 10 10 00 02 11 22 33 44 55 66 77 88");
    EXPECT_EQ(GetAddrCH_14(sensor), 16);
    EXPECT_EQ(GetFormatDT_14(sensor), 2);
    EXPECT_FALSE(IsLastTrust_14(sensor));
    EXPECT_FALSE(IsFldPresent_14(sensor));
    EXPECT_EQ(GetPosDT_14(sensor), 10);

    const std::pair<uint8_t, int> counts[] = {{0x01, 1}, {0x02, 8}, {0x13, 16}, {0x04, 32}, {0x05, 64}};
    for (auto [code, count] : counts) {
        DynByteArray reply = sensor;
        reply[6] = code;
        EXPECT_EQ(GetCountDT_14(reply), count) << int(code);
    }
    try {
        GetCountDT_14(sensor);
        FAIL() << "count code 0 was accepted";
    } catch (const EShareFT3Exception& e) {
        EXPECT_EQ(e.Message(), "Код числа каналов 0 не поддерживается");
    }
}

TEST(FT3DataReply, ShortRepliesRaiseInsteadOfReadingPastTheEnd)
{
    const DynByteArray empty;
    const DynByteArray counted = Hex("88 FA 01 00 00 94 0F 03 34");
    EXPECT_THROW(GetCountDT_14(empty), EShareFT3Exception);
    EXPECT_THROW(GetPosDT_14(empty), EShareFT3Exception);
    EXPECT_THROW(GetAddrCH_14(counted), EShareFT3Exception);
    EXPECT_THROW(GetFormatDT_14(counted), EShareFT3Exception);
    EXPECT_THROW(IsLastTrust_14(counted), EShareFT3Exception);
    EXPECT_THROW(IsFldPresent_14(counted), EShareFT3Exception);
    EXPECT_THROW(GetCountDT_14(Hex("88 FA 01 00 00 94 0F")), EShareFT3Exception);
}
