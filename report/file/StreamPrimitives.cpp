#include "report/file/StreamPrimitives.h"

#include <algorithm>
#include <cstring>

#include "report/file/Cp1251Text.h"
#include "report/file/MemoryStream.h"
#include "report/file/RecordWriter.h"
#include "report/runtime/ReportErrors.h"

namespace {

[[noreturn]] void ShortRead(QIODevice& stream, qint64 wanted, qint64 got)
{
    throw EReadError(QStringLiteral("Stream read error: %1 octets wanted at offset %2, %3 read")
                         .arg(wanted)
                         .arg(stream.pos() - got)
                         .arg(got));
}

// Exactly count octets of the stream, read or pointed at: a memory stream's octets are used
// where they are.
const char* TakeOctets(QIODevice& stream, char* into, qint64 count)
{
    if (TrpMemoryStream* memory = TrpMemoryStream::Of(stream)) {
        if (const char* octets = memory->Take(count))
            return octets;
        ShortRead(stream, count, 0);
    }
    const qint64 got = stream.read(into, count);
    if (got != count)
        ShortRead(stream, count, std::max<qint64>(got, 0));
    return into;
}

// Small numbers go through these without a QByteArray each.
void ReadOctets(QIODevice& stream, uint8_t* into, qint64 count)
{
    const char* octets = TakeOctets(stream, reinterpret_cast<char*>(into), count);
    if (octets != reinterpret_cast<char*>(into))
        std::memcpy(into, octets, size_t(count));
}

}  // namespace

QByteArray ReadFrBytes(QIODevice& stream, qint64 count)
{
    if (count <= 0)
        return {};
    if (TrpMemoryStream* memory = TrpMemoryStream::Of(stream)) {
        if (const char* octets = memory->Take(count))
            return QByteArray(octets, count);
        ShortRead(stream, count, 0);
    }
    // A damaged length fails here, before anything is set aside for it: a stream of known size
    // is asked only for what it holds, any other one is read a piece at a time.
    if (!stream.isSequential() && count > stream.size() - stream.pos())
        ShortRead(stream, count, 0);
    constexpr qint64 kPiece = 1 << 20;
    QByteArray octets = stream.read(std::min(count, kPiece));
    while (octets.size() < count) {
        const QByteArray piece = stream.read(std::min(count - octets.size(), kPiece));
        if (piece.isEmpty())
            break;
        octets += piece;
    }
    if (octets.size() != count)
        ShortRead(stream, count, octets.size());
    return octets;
}

void WriteFrBytes(QIODevice& stream, const char* octets, qint64 count)
{
    if (count > 0 && stream.write(octets, count) != count)
        throw EWriteError(QStringLiteral("Stream write error: %1").arg(stream.errorString()));
}

void WriteFrBytes(QIODevice& stream, const QByteArray& octets)
{
    WriteFrBytes(stream, octets.constData(), octets.size());
}

uint8_t ReadFrByte(QIODevice& stream)
{
    uint8_t b[1];
    ReadOctets(stream, b, 1);
    return b[0];
}

void WriteFrByte(QIODevice& stream, uint8_t value)
{
    TrpRecordWriter record;
    record.Byte(value);
    record.WriteTo(stream);
}

uint16_t ReadFrWord(QIODevice& stream)
{
    uint8_t b[2];
    ReadOctets(stream, b, 2);
    return uint16_t(b[0] | (b[1] << 8));
}

void WriteFrWord(QIODevice& stream, int value)
{
    TrpRecordWriter record;
    record.Word(value);
    record.WriteTo(stream);
}

int32_t ReadFrInt(QIODevice& stream)
{
    uint8_t b[4];
    ReadOctets(stream, b, 4);
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

void WriteFrInt(QIODevice& stream, int32_t value)
{
    TrpRecordWriter record;
    record.Int(value);
    record.WriteTo(stream);
}

void WriteFrString(QIODevice& stream, const QString& text)
{
    TrpRecordWriter record;
    record.String(text);
    record.WriteTo(stream);
}

// Count octets for reading at once: a memory stream's where they are, without a copy.
QByteArray ReadFrOctetsToDecode(QIODevice& stream, qint64 count)
{
    if (count > 0 && TrpMemoryStream::Of(stream)) {
        const char* octets = TakeOctets(stream, nullptr, count);
        return QByteArray::fromRawData(octets, count);
    }
    return ReadFrBytes(stream, count);
}

QString ReadFrString(QIODevice& stream)
{
    const uint16_t length = ReadFrWord(stream);
    const QByteArray octets = ReadFrOctetsToDecode(stream, length);
    ReadFrByte(stream);   // the closing 0, whatever it holds
    return FromCp1251(octets);
}

void WriteFrMemo(QIODevice& stream, const QStringList& lines)
{
    TrpRecordWriter record;
    record.Memo(lines);
    record.WriteTo(stream);
}

void ReadFrMemo(QIODevice& stream, QStringList& lines)
{
    lines.clear();
    if (ReadFrWord(stream) == 0) {
        ReadFrByte(stream);
        return;
    }
    // Every line consumes at least three octets, so a finite stream always ends the loop.
    for (;;) {
        const uint16_t length = ReadFrWord(stream);
        lines.append(FromCp1251(ReadFrOctetsToDecode(stream, length)));
        if (ReadFrByte(stream) == kFrEndOfList)
            return;
    }
}

QString ReadFrString22(QIODevice& stream)
{
    QByteArray octets;
    for (char c; (c = char(ReadFrByte(stream))) != 0;)
        octets.append(c);
    return FromCp1251(octets);
}

void ReadFrMemo22(QIODevice& stream, QStringList& lines)
{
    lines.clear();
    QByteArray line;
    for (;;) {
        const char c = char(ReadFrByte(stream));
        if (c == kFrEndOfList) {
            if (!line.isEmpty())
                lines.append(FromCp1251(line));
            return;
        }
        if (c == kFrLineSeparator) {
            lines.append(FromCp1251(line));
            line.clear();
        } else {
            line.append(c);
        }
    }
}

QString ReadFrStringVer(QIODevice& stream, int templateVersion)
{
    return templateVersion < kFirstCountedStringVersion ? ReadFrString22(stream) : ReadFrString(stream);
}

void ReadFrMemoVer(QIODevice& stream, QStringList& lines, int templateVersion)
{
    if (templateVersion < kFirstCountedStringVersion)
        ReadFrMemo22(stream, lines);
    else
        ReadFrMemo(stream, lines);
}

TFontStyles FontStyleFromFr(int stored)
{
    TFontStyles styles = 0;
    if (stored & 1)
        styles |= fsItalic;
    if (stored & 2)
        styles |= fsBold;
    if (stored & 4)
        styles |= fsUnderline;
    if (stored & 8)
        styles |= fsStrikeOut;
    return styles;
}

int FontStyleToFr(TFontStyles styles)
{
    int stored = 0;
    if (styles & fsItalic)
        stored |= 1;
    if (styles & fsBold)
        stored |= 2;
    if (styles & fsUnderline)
        stored |= 4;
    if (styles & fsStrikeOut)
        stored |= 8;
    return stored;
}
