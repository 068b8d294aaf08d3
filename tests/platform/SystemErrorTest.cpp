#include "platform/posix/SystemError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <set>

namespace {

bool StartsInCyrillic(const std::string& text)
{
    // Cyrillic capitals and small letters are two octets in UTF-8, led by 0xD0 or 0xD1.
    return text.size() >= 2 && (static_cast<unsigned char>(text[0]) == 0xD0 || static_cast<unsigned char>(text[0]) == 0xD1);
}

} // namespace

TEST(SystemErrorText, EveryFailureOfASerialLineHasItsOwnRussianTextWhateverTheLocale)
{
    std::setlocale(LC_MESSAGES, "C");
    const int lineFailures[] = {ENOENT, EACCES, EPERM, EBUSY, EIO, ENXIO, ENODEV, EBADF, EINVAL, ENOTTY,
                                EAGAIN, EINTR, EMFILE, ENFILE, ELOOP, ENOTDIR, ENOMEM, ETIMEDOUT};
    std::set<std::string> seen;
    for (int error : lineFailures) {
        const std::string text = SystemErrorText(error);
        EXPECT_TRUE(StartsInCyrillic(text)) << error << ": " << text;
        EXPECT_TRUE(seen.insert(text).second) << error << " shares its text: " << text;
    }
    EXPECT_EQ(SystemErrorText(EIO), "Ошибка ввода/вывода");
    EXPECT_EQ(SystemErrorText(ENOENT), "Нет такого файла или каталога");
}

TEST(SystemErrorText, AnUnknownValueIsNamedByItsNumber)
{
    EXPECT_EQ(SystemErrorText(4242), "Неизвестная ошибка 4242");
}
