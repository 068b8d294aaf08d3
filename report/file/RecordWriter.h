#pragma once
// A record built in memory in the layouts of StreamPrimitives.h and written to its stream in
// one piece. A build writes tens of thousands of object records, and every write to a device
// costs more than the few octets it carries; a record of usual size needs no allocation either.
//
// A text or list too long for its length field raises EWriteError as it is added, so nothing of
// the record reaches the stream.
#include <cstdint>

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

class TrpRecordWriter {
public:
    // The record will start at that position of its stream (Position counts from there).
    explicit TrpRecordWriter(qint64 start = 0) : start_(start) {}

    void Byte(uint8_t value);
    void Word(int value);   // the low 16 bits
    void Int(int32_t value);
    void String(const QString& text);
    void Memo(const QStringList& lines);
    void Bytes(const QByteArray& octets);

    // The stream position the next octet will have.
    qint64 Position() const { return start_ + octets_.size(); }
    // All the octets, or EWriteError.
    void WriteTo(QIODevice& stream) const;

private:
    // A u16 length and the text's octets; what "what" names is too long when over the field.
    void CountedText(const QString& text, const char* what);

    qint64 start_;
    QVarLengthArray<char, 512> octets_;
};
