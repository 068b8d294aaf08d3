#include "comm/FT3Share.h"
#include "comm/FT3TestUtil.h"

#include <gtest/gtest.h>

#include <numeric>

TEST(FT3Frame, BuildsTheKnownRequestFrames)
{
    struct Case { const char* what; const char* userData; const char* frame; };
    const Case cases[] = {
        {"identifier", "53 FE FA 00 00 01",
         "A0 26 06 D3 FE FA 00 00 01 00 00 00 00 00 00 00 00 00 24 EC"},
        {"block 0 on", "DB 00 FA 00 00 50 00 01 00",
         "A0 26 09 DB 00 FA 00 00 50 00 01 00 00 00 00 00 00 00 17 13"},
        {"relay on", "DB 00 FA 00 00 50 E0 01 00",
         "A0 26 09 DB 00 FA 00 00 50 E0 01 00 00 00 00 00 00 00 BA 52"},
        {"sensor 0", "DB 01 FA 00 00 14 10 00 00 02",
         "A0 26 0A DB 01 FA 00 00 14 10 00 00 02 00 00 00 00 00 44 80"},
        {"archive", "D3 00 FA 00 00 0C 05 00 00",
         "A0 26 09 D3 00 FA 00 00 0C 05 00 00 00 00 00 00 00 00 88 80"},
    };
    for (const auto& c : cases) {
        DynByteArray buffer = Hex(c.userData);
        MakePackageFT31(buffer, 0);
        EXPECT_EQ(buffer, Hex(c.frame)) << c.what;
        // The caller may hand the length octet in with the data.
        DynByteArray withLength = Hex(c.userData);
        withLength.insert(withLength.begin(), static_cast<uint8_t>(withLength.size()));
        MakePackageFT31(withLength, 1);
        EXPECT_EQ(withLength, Hex(c.frame)) << c.what << " with its length octet";
    }
}

TEST(FT3Frame, LengthsFollowTheBlockRule)
{
    const std::pair<int, int> cases[] = {{0, 20}, {15, 20}, {16, 23}, {31, 38}, {32, 41}, {255, 290}};
    for (auto [L, length] : cases)
        EXPECT_EQ(CalcLenPackageFT3(static_cast<uint8_t>(L)), length) << "L=" << L;

    // Every length the builder makes is the computed one, and every frame it makes checks out.
    for (int L = 0; L <= 255; ++L) {
        DynByteArray data(static_cast<size_t>(L));
        std::iota(data.begin(), data.end(), uint8_t{1});
        MakePackageFT3(data, 0);
        ASSERT_EQ(data.size(), CalcLenPackageFT3(static_cast<uint8_t>(L))) << "L=" << L;
        EXPECT_EQ(data[2], L);
        EXPECT_NO_THROW(TestPackageCRC_FT3(data, 0)) << "L=" << L;
    }
}

TEST(FT3Frame, AnEmptyFrameIsTheLengthOctetPaddedToOneBlock)
{
    DynByteArray buffer;
    MakePackageFT3(buffer, 0);
    ASSERT_EQ(buffer.size(), 20u);
    for (int i = 2; i < 18; ++i)
        EXPECT_EQ(buffer[i], 0) << i;

    // A second block of one octet follows the first full block directly.
    DynByteArray sixteen(16, 0x11);
    MakePackageFT3(sixteen, 0);
    ASSERT_EQ(sixteen.size(), 23u);
    EXPECT_EQ(sixteen[20], 0x11);
}

TEST(FT3Frame, CrcIsEn13757)
{
    const std::string text = "123456789";
    DynByteArray buffer(text.begin(), text.end());
    buffer.resize(buffer.size() + 2);
    CRC_FT3(buffer, 0, 9);
    EXPECT_EQ(buffer[9], 0xC2);
    EXPECT_EQ(buffer[10], 0xB7);

    DynByteArray tooShort(10);
    EXPECT_THROW(CRC_FT3(tooShort, 0, 9), EShareFT3Exception);
}

TEST(FT3Frame, RefusesUserDataTheLengthOctetCannotCarry)
{
    DynByteArray tooLong(256, 0x55);
    try {
        MakePackageFT31(tooLong, 0);
        FAIL() << "256 octets of user data were framed";
    } catch (const EShareFT3Exception& e) {
        EXPECT_EQ(e.Message(), "Слишком много данных для кадра FT3: 256 (не более 255)");
    }
    EXPECT_EQ(tooLong, DynByteArray(256, 0x55)) << "a refused buffer stays as it was";

    DynByteArray wrongLength = Hex("05 D3 FE FA");
    EXPECT_THROW(MakePackageFT3(wrongLength, 1), EShareFT3Exception);
    DynByteArray empty;
    EXPECT_THROW(MakePackageFT31(empty, 0), EShareFT3Exception);
}

TEST(FT3Frame, NextPosSkipsTheCrcAndStopsAtTheBufferEnd)
{
    DynByteArray buffer(38);
    uint16_t blockStart = 2;
    uint16_t position = 14;
    NextPosFT3(buffer, blockStart, position, true);
    EXPECT_EQ(blockStart, 2);
    EXPECT_EQ(position, 15);
    NextPosFT3(buffer, blockStart, position, true);
    EXPECT_EQ(blockStart, 20);
    EXPECT_EQ(position, 0);

    DynByteArray small(5);
    blockStart = 2;
    position = 2;
    EXPECT_THROW(NextPosFT3(small, blockStart, position, false), EShareFT3Exception);
}

TEST(FT3Frame, BrokenCrcNamesBothValuesAndMarksOctetSeven)
{
    DynByteArray frame = Hex("A0 26 06 D3 FE FA 00 00 01 00 00 00 00 00 00 00 00 00 24 ED");
    try {
        TestPackageCRC_FT3(frame, 0);
        FAIL() << "a broken CRC passed";
    } catch (const EErrCRC& e) {
        EXPECT_EQ(e.Message(), "Ошибка CRC.\rНадо : EC24\rПолучили : ED24");
    }
    EXPECT_EQ(frame[7], 0xF3);
    EXPECT_EQ(frame[19], 0xEC) << "the computed CRC is left in place";

    // Any changed octet of any block is caught, also in a later block.
    const DynByteArray good = Framed(DynByteArray(40, 0x42));
    for (size_t i = 2; i < good.size(); ++i) {
        DynByteArray bad = good;
        bad[i] ^= 0x01;
        EXPECT_THROW(TestPackageCRC_FT3(bad, 0), EErrCRC) << "octet " << i;
    }
}

TEST(FT3Frame, RejectsLengthsThatCannotHoldABlock)
{
    DynByteArray frame = Framed(DynByteArray(20, 0x42));   // 41 octets
    // One or two octets after the last full block: no block with a CRC fits.
    for (uint16_t length : {21, 22}) {
        DynByteArray copy = frame;
        EXPECT_THROW(TestPackageCRC_FT3(copy, length), EShareFT3Exception) << length;
    }
    // A length beyond the buffer is never read past.
    DynByteArray copy = frame;
    EXPECT_THROW(TestPackageCRC_FT3(copy, 60), EShareFT3Exception);
    // Two octets or fewer are not checked at all.
    DynByteArray tiny = Hex("A0 26");
    EXPECT_NO_THROW(TestPackageCRC_FT3(tiny, 0));
}
