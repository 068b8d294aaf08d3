#include "report/file/PreparedReportFile.h"

#include <algorithm>
#include <functional>

#include <QBuffer>
#include <QStringList>

#include "report/file/StreamPrimitives.h"
#include "report/graphic/Metafile.h"
#include "report/runtime/Compressor.h"
#include "report/runtime/LayoutLimits.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

constexpr int kNotPreparedReportText = 55213;
constexpr int kDamagedPageText = 55214;

// Version bytes that files with a version byte start with; the others start with the compressed
// byte.
constexpr int kFirstFileVersion = 24;
constexpr int kLastFileVersion = 31;
// Object streams of templates this engine reads.
constexpr int kFirstObjectStreamVersion = 21;

// The fixed part of a page record: next-page position, paper id, width, height, orientation,
// [bin,] margins flag[, four margins].
constexpr qint64 kShortRecord = 4 + 2 + 4 + 4 + 1 + 1;
constexpr qint64 kFullRecord = kShortRecord + 4 + 16;   // the record as written

bool IsCurrentCompressedByte(uint8_t c)
{
    return c == 0 || c == 1 || c == 255;
}

class TFileReader {
public:
    TFileReader(TrpRunContext& context, QIODevice& stream)
        : context_(context), stream_(stream), size_(stream.size())
    {
    }

    TrpPreparedFile Read();

private:
    [[noreturn]] void NotPrepared() const
    {
        throw EReadError(LoadFrResString(context_, kNotPreparedReportText));
    }
    [[noreturn]] void Damaged(int page) const
    {
        throw EReadError(LoadFrResString(context_, kDamagedPageText).arg(page + 1));
    }

    void Seek(qint64 position)
    {
        if (!stream_.seek(position))
            NotPrepared();
    }
    qint64 Remaining() const { return size_ - stream_.pos(); }

    // The page count; a negative one is refused. A count larger than the file holds fails at the
    // first page that is not there.
    int ReadPageCount();
    // Reads one page record; the data ends at the next-page position, which must leave trailing
    // octets (the next record or the generator byte) in place.
    TrpPreparedFilePage ReadPage(int index, int version, bool compressed, qint64 trailing);
    // The count of page records, each refused as damaged unless its data is sound.
    void ReadPages(TrpPreparedFile& file, int count, int version, bool compressed, qint64 trailing,
                   const std::function<bool(const QByteArray&)>& sound);
    TrpPreparedFile ReadCurrent(int version, uint8_t compressed);
    TrpPreparedFile ReadOldest();

    TrpRunContext& context_;
    QIODevice& stream_;
    const qint64 size_;
};

TrpPreparedFile TFileReader::Read()
{
    if (size_ <= 0)
        NotPrepared();
    Seek(0);
    const QByteArray first = stream_.peek(1);
    int version = first.isEmpty() ? 0 : uint8_t(first[0]);
    if (version >= kFirstFileVersion && version <= kLastFileVersion)
        Seek(1);
    else
        version = 0;
    char compressed = 0;
    if (!stream_.getChar(&compressed))
        NotPrepared();
    if (IsCurrentCompressedByte(uint8_t(compressed)))
        return ReadCurrent(version, uint8_t(compressed));
    Seek(0);
    return ReadOldest();
}

int TFileReader::ReadPageCount()
{
    const int32_t count = ReadFrInt(stream_);
    if (count < 0)
        NotPrepared();
    return count;
}

TrpPreparedFilePage TFileReader::ReadPage(int index, int version, bool compressed, qint64 trailing)
{
    TrpPreparedFilePage page;
    TrpPreparedPaper& p = page.Paper;
    const qint64 next = ReadFrInt(stream_);
    p.Size = ReadFrWord(stream_);
    p.PaperWidth = InLayoutRange(ReadFrInt(stream_), 0, kMaxPaperTenths, "PaperWidth");
    p.PaperHeight = InLayoutRange(ReadFrInt(stream_), 0, kMaxPaperTenths, "PaperHeight");
    p.Orientation = ReadFrByte(stream_);
    p.PaperBin = version > 23 ? ReadFrInt(stream_) : -1;
    p.MarginsOn = ReadFrByte(stream_) != 0;
    if (version > 23) {
        p.LeftMargin = CheckedPageUnits(ReadFrInt(stream_), "LeftMargin");
        p.TopMargin = CheckedPageUnits(ReadFrInt(stream_), "TopMargin");
        p.RightMargin = CheckedPageUnits(ReadFrInt(stream_), "RightMargin");
        p.BottomMargin = CheckedPageUnits(ReadFrInt(stream_), "BottomMargin");
    }
    const qint64 start = stream_.pos();
    if (next <= start || next > size_ - trailing)
        Damaged(index);
    page.Data = ReadFrBytes(stream_, next - start);
    if (compressed) {
        QBuffer in(&page.Data);
        in.open(QIODevice::ReadOnly);
        QByteArray plain;
        QBuffer out(&plain);
        out.open(QIODevice::WriteOnly);
        context_.ReportCompressor.Decompress(in, out);
        page.Data = plain;
    }
    return page;
}

void TFileReader::ReadPages(TrpPreparedFile& file, int count, int version, bool compressed, qint64 trailing,
                            const std::function<bool(const QByteArray&)>& sound)
{
    file.Pages.reserve(std::min<qint64>(count, Remaining() / kShortRecord));
    for (int i = 0; i < count; ++i) {
        try {
            TrpPreparedFilePage page = ReadPage(i, version, compressed, trailing);
            if (!sound(page.Data))
                Damaged(i);
            file.Pages.push_back(std::move(page));
        } catch (const EReadError&) {
            Damaged(i);
        }
    }
}

TrpPreparedFile TFileReader::ReadCurrent(int version, uint8_t compressed)
{
    TrpPreparedFile file;
    file.Layout = version == 0 ? TrpPreparedLayout::WithoutVersion : TrpPreparedLayout::Current;
    int count = 0;
    try {
        file.PrinterName = ReadFrString(stream_);
        count = ReadPageCount();
    } catch (const EReadError&) {
        NotPrepared();
    }
    ReadPages(file, count, version, compressed != 0, 1, [](const QByteArray& data) {
        const int streamVersion = data.isEmpty() ? 0 : uint8_t(data[0]);
        return streamVersion >= kFirstObjectStreamVersion && streamVersion <= kCurrentTemplateVersion;
    });
    file.Generator = ReadFrByte(stream_);
    return file;
}

TrpPreparedFile TFileReader::ReadOldest()
{
    TrpPreparedFile file;
    file.Layout = TrpPreparedLayout::Oldest;
    int count = 0;
    try {
        QStringList lines;
        ReadFrMemo22(stream_, lines);
        if (!lines.isEmpty())
            file.PrinterName = lines.first();
        count = ReadPageCount();
    } catch (const EReadError&) {
        NotPrepared();
    }
    ReadPages(file, count, 0, false, 0, [](const QByteArray& data) { return InspectMetafile(data).Valid; });
    return file;
}

}  // namespace

TrpPreparedFile ReadPreparedFile(TrpRunContext& context, QIODevice& stream)
{
    return TFileReader(context, stream).Read();
}

void WritePreparedFileHeader(QIODevice& stream, const TrpCompressor& compressor, const QString& printerName,
                             int pageCount)
{
    WriteFrByte(stream, kPreparedFileVersion);
    WriteFrByte(stream, compressor.Enabled ? 1 : 0);
    WriteFrString(stream, printerName);
    WriteFrInt(stream, pageCount);
}

void WritePreparedFilePage(QIODevice& stream, TrpCompressor& compressor, const TrpPreparedPaper& paper,
                           const QByteArray& objectStream)
{
    QByteArray data = objectStream;
    if (compressor.Enabled) {
        QBuffer in(&data);
        in.open(QIODevice::ReadOnly);
        QByteArray packed;
        QBuffer out(&packed);
        out.open(QIODevice::WriteOnly);
        compressor.Compress(in, out);
        data = packed;
    }
    // The data's length is known, so the next-page position is written at once.
    const qint64 next = stream.pos() + kFullRecord + data.size();
    if (next > INT32_MAX)
        throw EWriteError(QStringLiteral("Stream write error: a prepared report is longer than 2 GB"));
    WriteFrInt(stream, int32_t(next));
    WriteFrWord(stream, paper.Size);
    WriteFrInt(stream, paper.PaperWidth);
    WriteFrInt(stream, paper.PaperHeight);
    WriteFrByte(stream, paper.Orientation);
    WriteFrInt(stream, paper.PaperBin);
    WriteFrByte(stream, paper.MarginsOn ? 1 : 0);
    WriteFrInt(stream, paper.LeftMargin);
    WriteFrInt(stream, paper.TopMargin);
    WriteFrInt(stream, paper.RightMargin);
    WriteFrInt(stream, paper.BottomMargin);
    WriteFrBytes(stream, data);
}

void WritePreparedFileEnd(QIODevice& stream, uint8_t generator)
{
    WriteFrByte(stream, generator);
}
