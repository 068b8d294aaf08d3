// The message log: device names put in for addresses 0 and 1 only, frame dumps cut off, the
// debug log file, the debug page's limits and the error list.
#include "AppTestEnvironment.h"

#include "app/exchange/MessageLog.h"
#include "comm/ExchangeLog.h"

#include <QFile>
#include <QListWidget>

TEST(MessageLogTest, LinesNameTheDevicesAtAddressesZeroAndOneAndLoseTheFrameDump)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Нет ответа от контроллера с адресом 0", "Нет ответа от коммутатора КС-4"},
        {"Нет ответа от контроллера с адресом 1", "Нет ответа от местного блока Р5-22К"},
        {"Нет ответа от контроллера с адресом 10", "Нет ответа от контроллера с адресом 10"},
        {"Нет ответа от контроллера с адресом 12", "Нет ответа от контроллера с адресом 12"},
        {"Ошибка КОНТРОЛЛЕРА С АДРЕСОМ 1: CRC", "Ошибка местного блока Р5-22К: CRC"},
        {"контроллера с адресом 0 и контроллера с адресом 1", "коммутатора КС-4 и местного блока Р5-22К"},
        {"Ошибка CRC для контроллера с адресом 1 <- 00 FA 01", "Ошибка CRC "},
        {"Таймаут для контроллера с адресом 10", "Таймаут "},
        {"<-:  05 64 0A", "<-:  05 64 0A"},
        {"", ""},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(RewriteLogLine(QString::fromUtf8(text)), QString::fromUtf8(shown)) << text;
}

TEST(MessageLogTest, LinesGoToTheDebugFileThePageAndRedOnesToTheErrorList)
{
    TAppFolders folders;
    QListWidget page, errors;
    TMessageLog log(page, errors);
    log.Add(QStringLiteral("Запрос контроллера с адресом 1"), kLogSent, false, true);
    log.Add(QStringLiteral("Нет ответа от контроллера с адресом 0"), kLogError, false, true);
    EXPECT_EQ(page.count(), 0);
    ASSERT_EQ(errors.count(), 1);
    EXPECT_TRUE(errors.item(0)->text().endsWith(QStringLiteral(" : Нет ответа от коммутатора КС-4")));
    EXPECT_EQ(errors.item(0)->foreground().color(), QColor(Qt::red));

    log.Add(QStringLiteral("Ответ"), kLogReply, true, false);
    log.Add(QStringLiteral("Сбой"), kLogError, true, false);
    ASSERT_EQ(page.count(), 2);
    EXPECT_TRUE(page.item(0)->text().endsWith(QStringLiteral("Сбой")));   // newest on top
    EXPECT_EQ(page.item(1)->foreground().color(), QColor(0, 0x80, 0));
    EXPECT_EQ(errors.count(), 1);
    EXPECT_GT(log.Widest(), 0);

    QFile debug(folders.HomeFile("debug.log"));
    ASSERT_TRUE(debug.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(debug.readAll());
    EXPECT_EQ(written.count(QStringLiteral("\r\n")), 4);
    EXPECT_TRUE(written.contains(QStringLiteral("Запрос местного блока Р5-22К")));

    // A double click empties a list.
    emit errors.itemDoubleClicked(errors.item(0));
    EXPECT_EQ(errors.count(), 0);
}

TEST(MessageLogTest, TheDebugPageIsCutBackToFiveHundredLinesPastAThousand)
{
    TAppFolders folders;
    QListWidget page, errors;
    TMessageLog log(page, errors);
    for (int i = 1; i <= 1000; ++i)
        log.Add(QString::number(i), kLogPlain, true, false);
    EXPECT_EQ(page.count(), 1000);
    log.Add(QStringLiteral("1001"), kLogPlain, true, false);
    ASSERT_EQ(page.count(), 500);
    EXPECT_TRUE(page.item(0)->text().endsWith(QStringLiteral(" : 1001")));
    EXPECT_TRUE(page.item(499)->text().endsWith(QStringLiteral(" : 502")));
}
