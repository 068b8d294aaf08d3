// The prepared-report file as octets: written pages read back with their paper and data, the
// next-page positions lead from record to record, the two older layouts are read, and damaged
// files are refused as a whole with the engine's texts.
#include <gtest/gtest.h>

#include <functional>

#include <QBuffer>

#include "SampleGraphics.h"
#include "report/file/PreparedReportFile.h"
#include "report/file/StreamPrimitives.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

TrpPreparedPaper Paper(int size, int width, int height, uint8_t orientation, int bin, bool marginsOn, int margin)
{
    return TrpPreparedPaper{size, width, height, orientation, bin, marginsOn, margin, margin + 1, margin + 2, margin + 3};
}

bool SamePaper(const TrpPreparedPaper& a, const TrpPreparedPaper& b)
{
    return a.Size == b.Size && a.PaperWidth == b.PaperWidth && a.PaperHeight == b.PaperHeight &&
           a.Orientation == b.Orientation && a.PaperBin == b.PaperBin && a.MarginsOn == b.MarginsOn &&
           a.LeftMargin == b.LeftMargin && a.TopMargin == b.TopMargin && a.RightMargin == b.RightMargin &&
           a.BottomMargin == b.BottomMargin;
}

// An object stream: the version byte and some entry octets.
QByteArray ObjectStream(int length, char fill)
{
    return QByteArray(1, char(kCurrentTemplateVersion)) + QByteArray(length, fill);
}

QByteArray Written(const std::function<void(QIODevice&)>& write)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return data;
}

class PreparedReportFile : public ::testing::Test {
protected:
    const std::vector<TrpPreparedFilePage> pages{
        {Paper(9, 2100, 2970, 0, -1, false, 36), ObjectStream(10, 'a')},
        {Paper(256, 1500, 1000, 1, 7, true, 0), ObjectStream(0, 'b')},
        {Paper(8, 2970, 4200, 0, 0xFFFF, false, 18), ObjectStream(300, 'c')},
    };

    QByteArray File(const std::vector<TrpPreparedFilePage>& written, uint8_t generator = 88)
    {
        return Written([&](QIODevice& s) {
            WritePreparedFileHeader(s, context.ReportCompressor, QStringLiteral("Принтер"), int(written.size()));
            for (const TrpPreparedFilePage& page : written)
                WritePreparedFilePage(s, context.ReportCompressor, page.Paper, page.Data);
            WritePreparedFileEnd(s, generator);
        });
    }

    TrpPreparedFile Read(QByteArray bytes)
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return ReadPreparedFile(context, buffer);
    }

    // The message a refused file gives.
    std::string Refusal(const QByteArray& bytes)
    {
        try {
            Read(bytes);
        } catch (const EReadError& error) {
            return error.what();
        }
        return "read without complaint";
    }

    TrpRunContext context;
};

TEST_F(PreparedReportFile, PagesReadBackWithTheirPaperAndData)
{
    const TrpPreparedFile file = Read(File(pages, 77));
    EXPECT_EQ(file.Layout, TrpPreparedLayout::Current);
    EXPECT_EQ(file.PrinterName, QStringLiteral("Принтер"));
    EXPECT_EQ(file.Generator, 77);
    ASSERT_EQ(file.Pages.size(), pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(SamePaper(file.Pages[i].Paper, pages[i].Paper)) << "page " << i;
        EXPECT_EQ(file.Pages[i].Data, pages[i].Data) << "page " << i;
    }
}

TEST_F(PreparedReportFile, NoPagesReadsAsNoPages)
{
    const TrpPreparedFile file = Read(File({}));
    EXPECT_TRUE(file.Pages.empty());
    EXPECT_EQ(file.Generator, 88);
}

TEST_F(PreparedReportFile, NextPagePositionsLeadFromRecordToRecord)
{
    const QByteArray bytes = File(pages);
    QBuffer buffer(const_cast<QByteArray*>(&bytes));
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(2);
    ReadFrString(buffer);
    ASSERT_EQ(ReadFrInt(buffer), 3);
    for (const TrpPreparedFilePage& page : pages) {
        const qint64 start = buffer.pos();
        const qint64 next = ReadFrInt(buffer);
        EXPECT_EQ(next - start, 36 + page.Data.size());
        EXPECT_EQ(bytes.mid(next - page.Data.size(), page.Data.size()), page.Data);
        buffer.seek(next);
    }
    EXPECT_EQ(buffer.pos(), bytes.size() - 1) << "the last position is the generator byte's";
}

// Hand-made records of the layouts nothing writes any more.
struct OldLayout {
    QByteArray bytes;
    void Byte(int v) { bytes.append(char(v)); }
    void Word(int v) { Byte(v & 0xFF), Byte((v >> 8) & 0xFF); }
    void Int(int v) { Word(v & 0xFFFF), Word((v >> 16) & 0xFFFF); }
    // A short page record: next, paper id, width, height, orientation, margins flag, data.
    void Page(int size, int width, int height, int orientation, bool marginsOn, const QByteArray& data)
    {
        Int(int(bytes.size()) + 16 + int(data.size()));
        Word(size), Int(width), Int(height), Byte(orientation), Byte(marginsOn ? 1 : 0);
        bytes += data;
    }
};

TEST_F(PreparedReportFile, WithoutVersionByteThePagesHaveNoBinAndNoMargins)
{
    OldLayout f;
    f.Byte(0);   // not compressed; no version byte before it
    f.bytes += Written([](QIODevice& s) { WriteFrString(s, QStringLiteral("LPT")); });
    f.Int(2);
    f.Page(9, 2100, 2970, 0, true, ObjectStream(5, 'x'));
    f.Page(11, 1480, 2100, 1, false, ObjectStream(0, 'y'));
    f.Byte(88);
    const TrpPreparedFile file = Read(f.bytes);
    EXPECT_EQ(file.Layout, TrpPreparedLayout::WithoutVersion);
    EXPECT_EQ(file.PrinterName, QStringLiteral("LPT"));
    ASSERT_EQ(file.Pages.size(), 2u);
    EXPECT_TRUE(SamePaper(file.Pages[0].Paper, TrpPreparedPaper{9, 2100, 2970, 0, -1, true, 0, 0, 0, 0}));
    EXPECT_TRUE(SamePaper(file.Pages[1].Paper, TrpPreparedPaper{11, 1480, 2100, 1, -1, false, 0, 0, 0, 0}));
    EXPECT_EQ(file.Pages[0].Data, ObjectStream(5, 'x'));
    EXPECT_EQ(file.Generator, 88);
}

QByteArray OldestFile(const QByteArray& metafile)
{
    OldLayout f;
    f.bytes = QByteArray("HP LaserJet\r\0", 13);   // the printer list in the older string-list form
    f.Int(1);
    f.Page(9, 2100, 2970, 0, true, metafile);
    return f.bytes;
}

TEST_F(PreparedReportFile, OldestLayoutHoldsAMetafilePerPage)
{
    const QByteArray metafile = SampleMetafile(qRgb(0, 0, 255));
    const TrpPreparedFile file = Read(OldestFile(metafile));
    EXPECT_EQ(file.Layout, TrpPreparedLayout::Oldest);
    EXPECT_EQ(file.PrinterName, QStringLiteral("HP LaserJet"));
    ASSERT_EQ(file.Pages.size(), 1u);
    EXPECT_EQ(file.Pages[0].Paper.PaperBin, -1);
    EXPECT_EQ(file.Pages[0].Data, metafile);
}

struct Damage {
    const char* name;
    std::function<void(QByteArray&)> apply;
    const char* refusal;
};

void PrintTo(const Damage& d, std::ostream* os)
{
    *os << d.name;
}

void PutInt(QByteArray& bytes, qsizetype offset, int32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char(v >> (8 * i));
}

// Offsets in the file of the three sample pages: version and compressed byte, the printer name
// ("Принтер" is 7 octets in code page 1251) in 2 + 7 + 1, the page count at 12; the first record
// at 16, the second 36 + 11 octets later.
constexpr qsizetype kCount = 12, kFirst = 16, kSecond = kFirst + 36 + 11, kThird = kSecond + 36 + 1;

class DamagedFiles : public PreparedReportFile, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFiles, AreRefusedAsAWholeWithTheEngineText)
{
    QByteArray bytes = File(pages);
    GetParam().apply(bytes);
    EXPECT_EQ(Refusal(bytes), GetParam().refusal);
}

const char* const kNotPrepared = "Файл не является сохранённым отчётом";

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedFiles,
    ::testing::Values(
        Damage{"empty", [](QByteArray& b) { b.clear(); }, kNotPrepared},
        Damage{"header_cut", [](QByteArray& b) { b.truncate(5); }, kNotPrepared},
        Damage{"negative_count", [](QByteArray& b) { PutInt(b, kCount, -1); }, kNotPrepared},
        Damage{"count_beyond_the_file", [](QByteArray& b) { PutInt(b, kCount, 1000); },
               "Сохранённый отчёт повреждён на странице 4"},
        Damage{"cut_inside_page_2", [](QByteArray& b) { b.truncate(kSecond + 20); },
               "Сохранённый отчёт повреждён на странице 2"},
        Damage{"next_of_page_1_backwards", [](QByteArray& b) { PutInt(b, kFirst, kFirst); },
               "Сохранённый отчёт повреждён на странице 1"},
        Damage{"next_of_page_3_past_the_end", [](QByteArray& b) { PutInt(b, kThird, int(b.size()) + 5); },
               "Сохранённый отчёт повреждён на странице 3"},
        Damage{"generator_byte_missing", [](QByteArray& b) { b.chop(1); },
               "Сохранённый отчёт повреждён на странице 3"},
        Damage{"object_stream_version_wrong", [](QByteArray& b) { b[kSecond + 36] = char(99); },
               "Сохранённый отчёт повреждён на странице 2"},
        Damage{"compressed_without_the_compressor", [](QByteArray& b) { b[1] = char(1); },
               "Сохранённый отчёт повреждён на странице 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreparedReportFile, OldestLayoutWithABrokenMetafileIsDamaged)
{
    QByteArray metafile = SampleMetafile(qRgb(0, 0, 255));
    metafile.chop(20);   // no end-of-file record
    EXPECT_EQ(Refusal(OldestFile(metafile)), "Сохранённый отчёт повреждён на странице 1");
}

}  // namespace
