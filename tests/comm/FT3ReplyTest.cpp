#include "comm/FT3Share.h"
#include "comm/FT3TestUtil.h"

#include <gtest/gtest.h>

namespace {

// A sensor reply from the local block at address 1, in the new format.
const char* const kNewSensorReply = "88 FA 01 00 00 94 10 10 00 02 11 22 33 44 55 66 77 88";
// The same reply as an old-format controller sends it: source, destination, function,
// error, state.
const char* const kOldSensorReply = "08 01 FA 94 00 00 10 10 00 02 11 22 33 44 55 66 77 88";

// New-format reply header from address 1 with the given control, error, state and function.
DynByteArray Reply(uint8_t control, uint8_t error, uint8_t state, uint8_t function)
{
    return Framed({control, 0xFA, 0x01, error, state, function, 0x10, 0x00, 0x00});
}

std::string DevStateMessage(DynByteArray frame, void (*extract)(DynByteArray&))
{
    return MessageOf<EDevState>([&] { extract(frame); });
}

} // namespace

TEST(FT3Reply, ExtractsNewAndOldFormatsToTheNewLayout)
{
    DynByteArray fromNew = Framed(Hex(kNewSensorReply));
    ExtractPackageFT31(fromNew);
    EXPECT_EQ(fromNew, Hex(kNewSensorReply));

    DynByteArray fromOld = FramedAsIs(Hex(kOldSensorReply));
    ExtractPackageFT31(fromOld);
    EXPECT_EQ(fromOld, Hex("08 FA 01 00 00 94 10 10 00 02 11 22 33 44 55 66 77 88"))
        << "destination, source, error, state, function at U[1..5]; control left alone";

    // The old-format extractor leaves the layout as it came.
    DynByteArray asOld = FramedAsIs(Hex(kOldSensorReply));
    ExtractPackageFT3(asOld);
    EXPECT_EQ(asOld, Hex(kOldSensorReply));
}

TEST(FT3Reply, ExtractsEveryLengthBackToItsUserData)
{
    for (int L = 6; L <= 255; ++L) {
        DynByteArray data = {0x88, 0xFA, 0x05, 0x00, 0x00, 0x14};
        for (int i = 6; i < L; ++i)
            data.push_back(static_cast<uint8_t>(i * 7));
        DynByteArray frame = Framed(data);
        ExtractPackageFT31(frame);
        EXPECT_EQ(frame, data) << "L=" << L;
    }
}

TEST(FT3Reply, BrokenCrcNamesTheController)
{
    DynByteArray frame = Framed(Hex(kNewSensorReply));
    frame.back() ^= 0xFF;
    const DynByteArray broken = frame;
    try {
        ExtractPackageFT31(frame);
        FAIL() << "a broken CRC passed";
    } catch (const EErrCRC& e) {
        EXPECT_EQ(e.Message().rfind("Ошибка CRC.\rНадо : ", 0), 0u) << e.Message();
        EXPECT_TRUE(e.Message().ends_with(" при ответе от контроллера с адресом 1")) << e.Message();
    }
    EXPECT_EQ(frame[7], 0xF3);

    // The old-format extractor names octet 4 as the source: here the destination 250.
    DynByteArray old = broken;
    try {
        ExtractPackageFT3(old);
        FAIL() << "a broken CRC passed";
    } catch (const EErrCRC& e) {
        EXPECT_TRUE(e.Message().ends_with(" при ответе от контроллера с адресом 250")) << e.Message();
    }
}

TEST(FT3Reply, DeviceStateMessages)
{
    const std::string tail = "при ответе от контроллера с адресом 1";
    struct Case { const char* what; uint8_t control, error, state, function; std::string message; };
    const Case cases[] = {
        {"fault flag 0", 0x88, 0, 0x01, 0x94,
         "Обнаружена ошибка при исполнении хотя бы одной из процедур.\r\r" + tail},
        {"activity flags 1, 2, 4", 0x88, 0, 0x16, 0x94, "no failure"},
        {"flag 5 alone", 0x88, 0, 0x20, 0x94, "no failure"},
        {"error 243", 0x88, 243, 0, 0x94, "no failure"},
        {"error 13", 0x88, 13, 0, 0x94, "Ошибка №13. \r" + tail},
        {"error and flags", 0x88, 1, 0x88, 0x94,
         "Тайм-аут сторожевого таймера. \rПереполнение архива событий.\r"
         "Авария батареи питания ОЗУ\r\r" + tail},
        {"not asked to check", 0x88, 5, 0xFF, 0x14, "no failure"},
        {"cannot deliver", 0x89, 0, 0, 0x94,
         "Запрашиваемые данные не могут быть переданы при ответе от контроллера с адресом 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DevStateMessage(Reply(c.control, c.error, c.state, c.function), ExtractPackageFT31),
                  c.message) << c.what;

    // Read as old format, "cannot deliver" is not checked, but the state always is.
    const DynByteArray oldCannotDeliver = FramedAsIs(Hex("09 01 FA 94 00 00"));
    EXPECT_EQ(DevStateMessage(oldCannotDeliver, ExtractPackageFT3), "no failure");
    EXPECT_EQ(DevStateMessage(oldCannotDeliver, ExtractPackageFT31),
              "Запрашиваемые данные не могут быть переданы при ответе от контроллера с адресом 1");
    EXPECT_EQ(DevStateMessage(FramedAsIs(Hex("08 01 FA 14 0D 00")), ExtractPackageFT3),
              "Ошибка №13. \r" + tail);
}

TEST(FT3Reply, ErrorCodeTexts)
{
    const std::pair<int, std::string> cases[] = {
        {0, ""}, {240, ""}, {255, ""},
        {1, "Тайм-аут сторожевого таймера. "},
        {3, "Ошибка процессора С165: переполнение стека вверх. "},
        {6, "Ошибка процессора С165: переполнение стека вверх. "},
        {5, "Ошибка процессора С165 класса B. "},
        {12, "Ошибка ПЗУ: ошибка записи/стирания. "},
        {59, "Ошибка бита FCV поля управления. "},
        {61, "Попытка повторной активизации активной процедуры на канале управления"},
        {62, "Попытка обращения к несуществующему физическому каналу"},
        {71, "Канал с указанным логическим номером (индексом) отсутствует в конфигурации данной "
             "станции (не определен). "},
        {13, "Ошибка №13. "}, {49, "Ошибка №49. "}, {63, "Ошибка №63. "}, {72, "Ошибка №72. "},
        {239, "Ошибка №239. "},
    };
    for (const auto& [code, text] : cases) {
        std::string result = "old";
        TestInputCod(result, static_cast<uint8_t>(code));
        EXPECT_EQ(result, text) << code;
    }
}

TEST(FT3Reply, StateFlagTexts)
{
    std::string text = "old";
    TestStateDev(text, 0xFF);
    EXPECT_EQ(text,
              "Обнаружена ошибка при исполнении хотя бы одной из процедур.\r"
              "Хотя бы одна из пользовательских процедур активна (не завершена).\r"
              "Имеется системное событие.\r"
              "Переполнение архива событий.\r"
              "Имеется событие в буфере порта связи.\r"
              "Отсутствие или нарушение системного параметра\r"
              "Авария батареи питания ОЗУ\r");
    TestStateDev(text, 0x20);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(TestNew(0x80));
    EXPECT_FALSE(TestNew(0x7F));
}

TEST(FT3Reply, ShortOrTruncatedRepliesRaiseWithoutReadingPastTheEnd)
{
    // Cut before the header fields.
    for (size_t size : {0, 3, 5, 8}) {
        DynByteArray frame = Framed(Hex(kNewSensorReply));
        frame.resize(size);
        EXPECT_THROW(ExtractPackageFT31(frame), ENoReply) << size;
        frame.resize(size);
        EXPECT_THROW(ExtractPackageFT3(frame), ENoReply) << size;
    }
    // A length octet that promises more than the frame holds, with valid CRCs.
    DynByteArray frame = Framed(Hex("88 FA 07 00 00 14 01 02 03 04"));
    frame[2] = 40;
    CRC_FT3(frame, 2, 16);
    try {
        ExtractPackageFT31(frame);
        FAIL() << "a truncated reply was extracted";
    } catch (const ENoReply& e) {
        EXPECT_EQ(e.Message(), "Выход за границы массива при ответе от контроллера с адресом 7");
    }
    // Cut inside a later block: the CRC of the short rest does not match.
    DynByteArray longer = Framed(DynByteArray(40, 0x80));
    longer.resize(30);
    EXPECT_THROW(ExtractPackageFT31(longer), EErrCRC);
}
