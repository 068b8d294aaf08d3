#include "platform/qt/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

#include <QHash>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <mutex>
#include <unistd.h>

namespace {

constexpr char kAnswer = '\x06';
constexpr qsizetype kHeaderSize = 4;
constexpr quint32 kMaxFrame = 1 << 20;   // a message is a few dozen octets; refuse junk

// A frame: the payload's length (4 octets, big-endian), then the sender's id, LF, the message.
QByteArray MakeFrame(const QString& senderId, const QByteArray& message)
{
    const QByteArray payload = senderId.toUtf8() + '\n' + message;
    QByteArray frame(kHeaderSize, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(payload.size()), frame.data());
    return frame + payload;
}

QString UniqueInstanceName(const QString& topic)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("%1-%2-%3.sock").arg(topic).arg(getpid()).arg(++counter);
}

// The channels of this process by id, to find the ones on the broadcasting thread.
std::mutex registryMutex;
QHash<QString, TInstanceChannel*>& Registry()
{
    static QHash<QString, TInstanceChannel*> registry;
    return registry;
}

int RemainingMs(const QDeadlineTimer& deadline)
{
    return static_cast<int>(qMax<qint64>(0, deadline.remainingTime()));
}

} // namespace

TInstanceChannel::TInstanceChannel(const QString& folder, const QString& topic, QObject* parent)
    : QObject(parent), FFolder(folder), FTopic(topic), FId(UniqueInstanceName(topic))
{
    std::lock_guard lock(registryMutex);
    Registry().insert(FId, this);
}

TInstanceChannel::~TInstanceChannel()
{
    {
        std::lock_guard lock(registryMutex);
        Registry().remove(FId);
    }
    if (FServer)
        FServer->close();   // removes our socket file
}

QString TInstanceChannel::SocketPath(const QString& name) const
{
    return QDir(FFolder).filePath(name);
}

bool TInstanceChannel::Listen()
{
    if (IsListening())
        return true;
    QDir().mkpath(FFolder);
    if (!FServer) {
        FServer = new QLocalServer(this);
        FServer->setSocketOptions(QLocalServer::UserAccessOption);
        connect(FServer, &QLocalServer::newConnection, this, &TInstanceChannel::Accept);
    }
    const QString path = SocketPath(FId);
    QLocalServer::removeServer(path);   // a leftover of a dead process with our pid
    if (!FServer->listen(path)) {
        FErrorText = FServer->errorString();
        return false;
    }
    FErrorText.clear();
    return true;
}

bool TInstanceChannel::IsListening() const
{
    return FServer && FServer->isListening();
}

void TInstanceChannel::Accept()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
        ReadFrom(socket);
    }
}

void TInstanceChannel::ReadFrom(QLocalSocket* socket)
{
    if (socket->bytesAvailable() < kHeaderSize)
        return;
    char header[kHeaderSize];
    socket->peek(header, kHeaderSize);
    const quint32 size = qFromBigEndian<quint32>(header);
    if (size > kMaxFrame) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < kHeaderSize + static_cast<qint64>(size))
        return;
    socket->read(kHeaderSize);
    const QByteArray payload = socket->read(size);
    const qsizetype newline = payload.indexOf('\n');
    if (newline < 0) {
        socket->abort();
        return;
    }
    const QString senderId = QString::fromUtf8(payload.left(newline));
    emit MessageReceived(payload.mid(newline + 1), senderId);
    socket->write(&kAnswer, 1);
    socket->flush();
    socket->disconnectFromServer();
}

bool TInstanceChannel::SendTo(const QString& path, const QByteArray& frame, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(RemainingMs(deadline))) {
        const auto error = socket.error();
        if (error == QLocalSocket::ConnectionRefusedError || error == QLocalSocket::ServerNotFoundError)
            QFile::remove(path);   // nobody listens there any more
        return false;
    }
    socket.write(frame);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(RemainingMs(deadline)))
            return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(RemainingMs(deadline)))
            return false;
    char answer = 0;
    socket.read(&answer, 1);
    return answer == kAnswer;
}

bool TInstanceChannel::DeliverOnThisThread(const QString& peer, const QByteArray& message)
{
    QPointer<TInstanceChannel> receiver;
    {
        std::lock_guard lock(registryMutex);
        TInstanceChannel* channel = Registry().value(peer);
        if (!channel || channel->thread() != QThread::currentThread() || !channel->IsListening())
            return false;
        receiver = channel;
    }
    emit receiver->MessageReceived(message, FId);
    return true;
}

int TInstanceChannel::Broadcast(const QByteArray& message, int timeoutMs)
{
    const QByteArray frame = MakeFrame(FId, message);
    const QStringList peers = QDir(FFolder).entryList({FTopic + QStringLiteral("-*.sock")}, QDir::System | QDir::Files);
    int answered = 0;
    for (const QString& peer : peers) {
        if (peer == FId)
            continue;
        if (DeliverOnThisThread(peer, message)) {
            ++answered;
            continue;
        }
        if (SendTo(SocketPath(peer), frame, timeoutMs))
            ++answered;
    }
    return answered;
}
