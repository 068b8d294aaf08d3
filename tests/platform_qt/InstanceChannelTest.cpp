#include "platform/qt/InstanceChannel.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include <memory>
#include <mutex>
#include <vector>

namespace {

// A peer instance living on its own thread with its own event loop, as another process would.
class PeerOnThread {
public:
    PeerOnThread(const QString& folder, const QString& topic)
    {
        thread.start();
        channel = new TInstanceChannel(folder, topic);
        channel->moveToThread(&thread);
        QObject::connect(channel, &TInstanceChannel::MessageReceived, channel,
            [this](const QByteArray& message, const QString& sender) {
                std::lock_guard lock(mutex);
                received.push_back({message, sender});
            }, Qt::DirectConnection);
        QMetaObject::invokeMethod(channel, [this] { listening = channel->Listen(); }, Qt::BlockingQueuedConnection);
    }
    ~PeerOnThread()
    {
        QMetaObject::invokeMethod(channel, [this] { delete channel; }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }
    std::vector<std::pair<QByteArray, QString>> Received()
    {
        std::lock_guard lock(mutex);
        return received;
    }

    QThread thread;
    TInstanceChannel* channel = nullptr;
    bool listening = false;
    std::mutex mutex;
    std::vector<std::pair<QByteArray, QString>> received;
};

// A bound socket file with nobody listening: what a killed process leaves behind.
bool LeaveDeadSocket(const QString& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(address.sun_path, native.constData(), std::min<size_t>(native.size(), sizeof address.sun_path - 1));
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound && QFile::exists(path);
}

} // namespace

TEST(InstanceChannel, BroadcastReachesEveryOtherInstanceAndWaitsForItsAnswer)
{
    QTemporaryDir dir;
    PeerOnThread first(dir.path(), "port");
    PeerOnThread second(dir.path(), "port");
    ASSERT_TRUE(first.listening && second.listening);

    TInstanceChannel sender(dir.path(), "port");
    ASSERT_TRUE(sender.Listen());
    EXPECT_EQ(sender.Broadcast("release\n3", 2000), 2);

    // The answer comes after the handler ran, so the peers have the message by now.
    for (PeerOnThread* peer : {&first, &second}) {
        const auto got = peer->Received();
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].first, QByteArray("release\n3"));
        EXPECT_EQ(got[0].second, sender.Id());
    }
}

TEST(InstanceChannel, OtherTopicsAndOwnSocketAreNotAddressed)
{
    QTemporaryDir dir;
    PeerOnThread stranger(dir.path(), "other");
    TInstanceChannel sender(dir.path(), "port");
    ASSERT_TRUE(sender.Listen());
    int heardSelf = 0;
    QObject::connect(&sender, &TInstanceChannel::MessageReceived, [&] { ++heardSelf; });

    EXPECT_EQ(sender.Broadcast("x", 200), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(heardSelf, 0);
    EXPECT_TRUE(stranger.Received().empty());
}

TEST(InstanceChannel, SocketOfADeadInstanceIsRemovedAndSkipped)
{
    QTemporaryDir dir;
    const QString stale = QDir(dir.path()).filePath("port-999999-1.sock");
    ASSERT_TRUE(LeaveDeadSocket(stale));
    TInstanceChannel sender(dir.path(), "port");
    EXPECT_EQ(sender.Broadcast("x", 50), 0);
    EXPECT_FALSE(QFile::exists(stale));
}

TEST(InstanceChannel, ClosingTheChannelRemovesItsSocket)
{
    QTemporaryDir dir;
    QString path;
    {
        TInstanceChannel channel(dir.path(), "port");
        ASSERT_TRUE(channel.Listen());
        path = QDir(dir.path()).filePath(channel.Id());
        EXPECT_TRUE(QFile::exists(path));
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(InstanceChannel, JunkWrittenToASocketIsDroppedAndTheChannelStillWorks)
{
    QTemporaryDir dir;
    PeerOnThread peer(dir.path(), "port");
    {
        QLocalSocket junk;
        junk.connectToServer(QDir(dir.path()).filePath(peer.channel->Id()));
        ASSERT_TRUE(junk.waitForConnected(1000));
        junk.write(QByteArray("\xff\xff\xff\xff garbage", 13));
        junk.waitForBytesWritten(1000);
        junk.waitForDisconnected(1000);
    }
    TInstanceChannel sender(dir.path(), "port");
    EXPECT_EQ(sender.Broadcast("ok", 2000), 1);
    ASSERT_EQ(peer.Received().size(), 1u);
    EXPECT_EQ(peer.Received()[0].first, QByteArray("ok"));
}

TEST(InstanceChannel, AnInstanceOnTheBroadcastingThreadGetsTheMessageAtOnce)
{
    QTemporaryDir dir;
    TInstanceChannel first(dir.path(), "port"), second(dir.path(), "port");
    ASSERT_TRUE(first.Listen() && second.Listen());
    QByteArray heard;
    QString from;
    QObject::connect(&first, &TInstanceChannel::MessageReceived, [&](const QByteArray& m, const QString& s) {
        heard = m;
        from = s;
    });
    EXPECT_EQ(second.Broadcast("release\n1"), 1);
    EXPECT_EQ(heard, QByteArray("release\n1"));
    EXPECT_EQ(from, second.Id());
}
