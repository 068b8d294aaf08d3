#include "report/file/RecordWriter.h"

#include "report/file/Cp1251Text.h"
#include "report/file/StreamPrimitives.h"
#include "report/runtime/ReportErrors.h"

void TrpRecordWriter::Byte(uint8_t value)
{
    octets_.append(char(value));
}

void TrpRecordWriter::Word(int value)
{
    const char b[2] = {char(value & 0xFF), char((value >> 8) & 0xFF)};
    octets_.append(b, 2);
}

void TrpRecordWriter::Int(int32_t value)
{
    const auto v = uint32_t(value);
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    octets_.append(b, 4);
}

void TrpRecordWriter::CountedText(const QString& text, const char* what)
{
    // Converted in place behind its length field: a text never gives more octets than units.
    const qsizetype at = octets_.size();
    octets_.resize(at + 2 + text.size());
    const qsizetype length = ToCp1251(QStringView(text), octets_.data() + at + 2);
    if (length > kMaxFrLength) {
        octets_.resize(at);
        throw EWriteError(QStringLiteral("Stream write error: %1 of %2 octets is longer than %3")
                              .arg(QLatin1String(what))
                              .arg(length)
                              .arg(kMaxFrLength));
    }
    octets_[at] = char(length & 0xFF);
    octets_[at + 1] = char((length >> 8) & 0xFF);
    octets_.resize(at + 2 + length);
}

void TrpRecordWriter::String(const QString& text)
{
    CountedText(text, "a text");
    octets_.append(char(0));
}

void TrpRecordWriter::Memo(const QStringList& lines)
{
    if (lines.size() > kMaxFrLength)
        throw EWriteError(QStringLiteral("Stream write error: a list of %1 lines is longer than %2")
                              .arg(lines.size())
                              .arg(kMaxFrLength));
    Word(int(lines.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        CountedText(lines[i], "a line");
        if (i + 1 < lines.size())
            octets_.append(kFrLineSeparator);
    }
    octets_.append(kFrEndOfList);
}

void TrpRecordWriter::Bytes(const QByteArray& octets)
{
    octets_.append(octets.constData(), octets.size());
}

void TrpRecordWriter::WriteTo(QIODevice& stream) const
{
    WriteFrBytes(stream, octets_.constData(), octets_.size());
}
