#pragma once
// A read-only stream over octets already in memory (a prepared page's objects). The stream
// readers (StreamPrimitives.h) take its octets straight from memory, a field at a time, instead
// of through the device machinery. The stream keeps its own position, which pos(), seek(),
// read() and atEnd() go by; the device's peek(), skip() and ungetChar() do not know it and are
// not to be used on it.
#include <QByteArray>
#include <QIODevice>

class TrpMemoryStream final : public QIODevice {
    Q_OBJECT
public:
    // Shares the octets (no copy) and opens for reading at the first.
    explicit TrpMemoryStream(const QByteArray& octets);

    // The stream when it is a memory stream, else none.
    static TrpMemoryStream* Of(QIODevice& stream)
    {
        return stream.metaObject() == &staticMetaObject ? static_cast<TrpMemoryStream*>(&stream) : nullptr;
    }

    // The next count octets, moving past them; none when fewer are left (nothing moves then).
    const char* Take(qint64 count)
    {
        if (count < 0 || count > octets_.size() - at_)
            return nullptr;
        const char* octets = octets_.constData() + at_;
        at_ += count;
        return octets;
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return octets_.size(); }
    qint64 pos() const override { return at_; }
    bool seek(qint64 pos) override;
    bool atEnd() const override { return at_ >= octets_.size(); }
    qint64 bytesAvailable() const override { return octets_.size() - at_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray octets_;
    qint64 at_ = 0;
};
