#include "core/ExchangeLog.h"
#include "core/WindowMessages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>

#include <thread>
#include <vector>

namespace {

// Takes the stream's lines as the main window does: queued, on its own thread.
class LogReceiver : public QObject {
public:
    struct Line {
        QString text;
        TColor colour;
    };
    explicit LogReceiver(TExchangeLog& log)
    {
        connect(&log, &TExchangeLog::Line, this,
                [this](const QString& text, TColor colour) { lines.push_back({text, colour}); },
                Qt::QueuedConnection);
    }
    std::vector<Line> lines;
};

} // namespace

TEST(ExchangeLogQt, MessageNumbersAreKept)
{
    EXPECT_EQ(WM_EXCHANGE_LOG, 2025);
    EXPECT_EQ(WM_SCHEDULED_EXCHANGE, 2026);
    EXPECT_EQ(WM_ARRANGE_SILOBINS, 2027);
    EXPECT_EQ(WM_EXCHANGE_DONE, 2028);
    EXPECT_GT(WM_EXCHANGE_LOG, QEvent::User);
}

// Lines posted from worker threads, through both the stream and a sink made from it, arrive at
// the receiver queued on its own thread, in each thread's order, none lost.
TEST(ExchangeLogQt, ReceiverGetsEveryLineInOrderQueued)
{
    TExchangeLog log;
    LogReceiver receiver(log);
    const ExchangeLogSink sink = log.Sink();
    constexpr int kThreads = 4, kLines = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &log, &sink] {
            for (int i = 0; i < kLines; ++i) {
                const QString text = QStringLiteral("поток %1 строка %2").arg(t).arg(i);
                if (i % 2)
                    log.Post(text, kLogReply);
                else
                    PostExchangeLog(sink, text.toStdString(), kLogSent);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_TRUE(receiver.lines.empty()) << "delivery must be queued, not direct";

    QCoreApplication::sendPostedEvents(&receiver);

    ASSERT_EQ(receiver.lines.size(), static_cast<size_t>(kThreads * kLines));
    std::vector<int> next(kThreads, 0);
    for (const auto& line : receiver.lines) {
        const QStringList words = line.text.split(' ');
        ASSERT_EQ(words.size(), 4) << line.text.toStdString();
        const int t = words[1].toInt();
        const int i = words[3].toInt();
        ASSERT_EQ(i, next[t]);
        EXPECT_EQ(line.colour, i % 2 ? kLogReply : kLogSent);
        ++next[t];
    }
}

TEST(ExchangeLogQt, QtLinesAreCutToTheirFirst250Characters)
{
    std::vector<std::string> lines;
    const ExchangeLogSink sink = [&](const std::string& text, TColor) { lines.push_back(text); };
    PostExchangeLog(sink, QString(300, QChar(0x0416)), kLogError);   // 300 times "Ж"
    TExchangeLog log;
    QObject::connect(&log, &TExchangeLog::Line, [&](const QString& text, TColor) { lines.push_back(text.toStdString()); });
    log.Post(QString(260, QChar(0x0416)), kLogError);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(QString::fromStdString(lines[0]), QString(250, QChar(0x0416)));
    EXPECT_EQ(QString::fromStdString(lines[1]), QString(250, QChar(0x0416)));
}

// The main window's own lines keep their place among the passes' lines: they too arrive queued.
TEST(ExchangeLogQt, LinesPostedOnTheReceiversThreadArriveQueued)
{
    TExchangeLog log;
    LogReceiver receiver(log);
    log.Post(QStringLiteral("первая"), kLogPlain);
    EXPECT_TRUE(receiver.lines.empty());
    QCoreApplication::sendPostedEvents(&receiver);
    ASSERT_EQ(receiver.lines.size(), 1u);
    EXPECT_EQ(receiver.lines[0].text, QStringLiteral("первая"));
}
