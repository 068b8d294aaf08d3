#include "report/file/RecordWriter.h"

#include <algorithm>

#include "report/file/Cp1251Text.h"
#include "report/file/StreamPrimitives.h"
#include "report/runtime/ReportErrors.h"

void TrpRecordWriter::Grow(qsizetype n)
{
    capacity_ = std::max(capacity_ * 2, size_ + n);
    std::vector<char> grown(static_cast<size_t>(capacity_));
    std::copy(data_, data_ + size_, grown.data());
    heap_.swap(grown);
    data_ = heap_.data();
}

void TrpRecordWriter::CountedText(const QString& text, const char* what)
{
    // Converted in place behind its length field: a text never gives more octets than units.
    char* at = Room(2 + text.size());
    const qsizetype length = ToCp1251(QStringView(text), at + 2);
    if (length > kMaxFrLength)
        throw EWriteError(QStringLiteral("Stream write error: %1 of %2 octets is longer than %3")
                              .arg(QLatin1String(what))
                              .arg(length)
                              .arg(kMaxFrLength));
    at[0] = char(length & 0xFF);
    at[1] = char((length >> 8) & 0xFF);
    size_ += 2 + length;
}

void TrpRecordWriter::String(const QString& text)
{
    CountedText(text, "a text");
    Byte(0);
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
            Byte(uint8_t(kFrLineSeparator));
    }
    Byte(uint8_t(kFrEndOfList));
}

void TrpRecordWriter::Bytes(const QByteArray& octets)
{
    std::copy(octets.constData(), octets.constData() + octets.size(), Room(octets.size()));
    size_ += octets.size();
}

void TrpRecordWriter::WriteTo(QIODevice& stream) const
{
    WriteFrBytes(stream, data_, size_);
}
