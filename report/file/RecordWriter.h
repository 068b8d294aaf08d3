#pragma once
// A record built in memory in the layouts of StreamPrimitives.h and written to its stream in
// one piece. A build writes tens of thousands of object records, and every write to a device
// costs more than the few octets it carries; a record of usual size needs no allocation either.
// Not copyable: it points into itself.
//
// A text or list too long for its length field raises EWriteError as it is added, so nothing of
// the record reaches the stream.
#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

class TrpRecordWriter {
public:
    // The record will start at that position of its stream (Position counts from there).
    explicit TrpRecordWriter(qint64 start = 0) : start_(start) {}
    TrpRecordWriter(const TrpRecordWriter&) = delete;
    TrpRecordWriter& operator=(const TrpRecordWriter&) = delete;

    // Inline: a record is mostly these, a million of them in a large build.
    void Byte(uint8_t value)
    {
        *Room(1) = char(value);
        ++size_;
    }
    void Word(int value)   // the low 16 bits
    {
        char* b = Room(2);
        b[0] = char(value & 0xFF);
        b[1] = char((value >> 8) & 0xFF);
        size_ += 2;
    }
    void Int(int32_t value)
    {
        const auto v = uint32_t(value);
        char* b = Room(4);
        b[0] = char(v & 0xFF);
        b[1] = char((v >> 8) & 0xFF);
        b[2] = char((v >> 16) & 0xFF);
        b[3] = char(v >> 24);
        size_ += 4;
    }
    void String(const QString& text);
    void Memo(const QStringList& lines);
    void Bytes(const QByteArray& octets);

    // The stream position the next octet will have.
    qint64 Position() const { return start_ + size_; }
    // All the octets, or EWriteError.
    void WriteTo(QIODevice& stream) const;

private:
    // A u16 length and the text's octets; what "what" names is too long when over the field.
    void CountedText(const QString& text, const char* what);
    // Room for n more octets, the first of them returned; they count once written through it.
    char* Room(qsizetype n)
    {
        if (size_ + n > capacity_)
            Grow(n);
        return data_ + size_;
    }
    void Grow(qsizetype n);

    qint64 start_;
    // The octets: in the inline buffer until a record outgrows it, then on the heap.
    char inline_[512];
    std::vector<char> heap_;
    char* data_ = inline_;
    qsizetype size_ = 0;
    qsizetype capacity_ = sizeof inline_;
};
