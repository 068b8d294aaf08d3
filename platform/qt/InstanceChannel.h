#pragma once
// A message channel between the program's instances running for one user: every instance
// listens on its own local socket in a shared folder (normally the runtime folder); a broadcast
// writes the message to every other instance's socket and waits a short time for each to
// handle it and answer, the way a synchronous window-message broadcast behaves. An instance
// that does not answer in time is skipped; sockets left behind by instances that died are
// removed when found. An instance on the broadcasting thread itself (another channel object
// of this process, as in tests) is handed the message directly, as a window of the sending
// thread gets a sent message: waiting for it over the socket could only time out.
#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class TInstanceChannel : public QObject {
    Q_OBJECT
public:
    // folder: where the sockets live; topic: the first part of every socket's name, so that
    // unrelated channels sharing the folder never hear each other.
    TInstanceChannel(const QString& folder, const QString& topic, QObject* parent = nullptr);
    ~TInstanceChannel() override;

    // Starts listening on this instance's socket; false (with ErrorText) when it cannot.
    bool Listen();
    bool IsListening() const;
    QString ErrorText() const { return FErrorText; }

    // This instance's name among its peers (its socket's file name).
    QString Id() const { return FId; }

    // Sends the message to every other instance and returns how many handled it in time.
    // Waits at most timeoutMs for each instance. Works before Listen() as well.
    int Broadcast(const QByteArray& message, int timeoutMs = 50);

signals:
    // Emitted on the receiving instance's thread before the sender gets its answer.
    void MessageReceived(const QByteArray& message, const QString& senderId);

private:
    void Accept();
    void ReadFrom(QLocalSocket* socket);
    bool SendTo(const QString& path, const QByteArray& frame, int timeoutMs);
    bool DeliverOnThisThread(const QString& peer, const QByteArray& message);
    QString SocketPath(const QString& name) const;

    QString FFolder;
    QString FTopic;
    QString FId;
    QString FErrorText;
    QLocalServer* FServer = nullptr;
};
