#include "core/ExchangeLog.h"
#include "core/WindowMessages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>

#include <thread>
#include <vector>

namespace {

class LogReceiver : public QObject {
public:
    struct Line {
        QString text;
        TColor colour;
    };
    std::vector<Line> lines;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != WM_EXCHANGE_LOG)
            return QObject::event(e);
        const auto* line = static_cast<TExchangeLogEvent*>(e);
        lines.push_back({line->Text, line->Colour});
        return true;
    }
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

// Lines posted from worker threads, through both the Qt and the plain entry, arrive at the
// receiver as queued events on its own thread, in each thread's order, none lost.
TEST(ExchangeLogQt, ReceiverGetsEveryLineInOrderAsQueuedEvents)
{
    LogReceiver receiver;
    SetExchangeLogReceiver(&receiver);
    constexpr int kThreads = 4, kLines = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) {
                const QString text = QStringLiteral("поток %1 строка %2").arg(t).arg(i);
                if (i % 2)
                    PostExchangeLog(text, kLogReply);
                else
                    PostExchangeLog(text.toStdString(), kLogSent);
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_TRUE(receiver.lines.empty()) << "delivery must be queued, not direct";

    QCoreApplication::sendPostedEvents(&receiver, WM_EXCHANGE_LOG);
    SetExchangeLogReceiver(nullptr);

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
    ScopedExchangeLogSink sink([&](const std::string& text, TColor) { lines.push_back(text); });
    PostExchangeLog(QString(300, QChar(0x0416)), kLogError);   // 300 times "Ж"
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(QString::fromStdString(lines[0]), QString(250, QChar(0x0416)));
}

TEST(ExchangeLogQt, AfterTheReceiverLeavesNothingIsPostedToIt)
{
    LogReceiver receiver;
    SetExchangeLogReceiver(&receiver);
    PostExchangeLog(QStringLiteral("before"), kLogPlain);
    SetExchangeLogReceiver(nullptr);
    PostExchangeLog(QStringLiteral("after"), kLogPlain);
    QCoreApplication::sendPostedEvents(&receiver, WM_EXCHANGE_LOG);
    ASSERT_EQ(receiver.lines.size(), 1u);
    EXPECT_EQ(receiver.lines[0].text, QStringLiteral("before"));
}
