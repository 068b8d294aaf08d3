// The template stream: written through the report and compared with the frame assembled from
// its field tables, read back, read in its older versions, and refused when damaged.
#include <gtest/gtest.h>

#include <cstring>

#include <QBuffer>
#include <QtEndian>

#include "base/DateTime.h"
#include "report/engine/Report.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/BandView.h"
#include "report/objects/LineView.h"
#include "report/objects/MemoView.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

// Octets of a stream assembled field by field, in the engine's little-endian forms.
struct TOctets {
    QByteArray data;
    TOctets& u8(int v) { data.append(char(v)); return *this; }
    TOctets& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    TOctets& i32(int32_t v) { return u16(v & 0xFFFF).u16(int(uint32_t(v) >> 16)); }
    // The string of the version: counted with a closing 0 from 23, zero-terminated before.
    TOctets& str(const QByteArray& s, int version = 25)
    {
        if (version >= 23)
            u16(int(s.size()));
        data.append(s);
        return u8(0);
    }
    TOctets& memo(const QByteArray& line, int version = 25)
    {
        if (version < 23)
            return raw(line).u8(13).u8(0);
        return u16(1).u16(int(line.size())).raw(line).u8(0);
    }
    TOctets& raw(const QByteArray& s) { data.append(s); return *this; }
    TOctets& info(const QByteArray& s) { return u16(int(s.size())).raw(s); }
    TOctets& real(double v)
    {
        quint64 bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        char octets[8];
        qToLittleEndian(bits, octets);
        return raw(QByteArray(octets, 8));
    }
};

// The page record of layouts 21 to 23: A4 portrait, no margins, one column.
TOctets PageRecord(int version)
{
    TOctets o;
    o.i32(9).i32(2100).i32(2970).i32(0).i32(0).i32(0).i32(0).u8(0);
    if (version < 23)
        o.raw(QByteArray(6, '\0'));
    return o.u16(0).u16(0xFFFF).i32(1).i32(0);
}

// A line object's view record in the design form of layouts 21 to 23.
TOctets LineRecord(int version, const QByteArray& name, int left)
{
    TOctets o;
    if (version == 23)
        o.str(name, version);
    o.i32(left).i32(20).i32(100).i32(0).u16(1).u16(0).i32(1).i32(0).u16(0).i32(0x1FFFFFFF);
    o.i32(0).str("", version).memo("", version);
    if (version == 23)
        o.memo("", version).u16(0xFFFF);
    return o;
}

class TestAddIn : public TrpView {
public:
    TestAddIn() { TypeCode = otAddIn; }
    QString ClassName() const override { return QStringLiteral("TrpMissingAddIn"); }
};

}  // namespace

class TemplateFile : public ::testing::Test {
protected:
    TemplateFile()
    {
        context.MessageBox = [this](const QString& text, const QString& caption, int flags) {
            boxes.append(caption + QLatin1Char('|') + text);
            EXPECT_EQ(flags, 16) << "the error icon";
            return 1;
        };
    }

    std::unique_ptr<TrpReport> NewReport() { return std::make_unique<TrpReport>(context); }

    static QByteArray Save(TrpReport& report)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        report.SaveToStream(buffer);
        return buffer.data();
    }

    static bool Load(TrpReport& report, const QByteArray& bytes)
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return report.LoadFromStream(buffer);
    }

    // A report of two pages: a band and a memo on the first, a line on the second.
    std::unique_ptr<TrpReport> SampleReport()
    {
        auto report = NewReport();
        report->TwoPass = true;
        TrpPage* first = report->AddPage();
        TrpPage* second = report->AddPage();
        auto* band = static_cast<TrpBandView*>(first->AddObject(std::make_unique<TrpBandView>()));
        band->Name = QStringLiteral("MasterData1");
        band->SetBounds(0, 100, 700, 40);
        auto* memo = static_cast<TrpMemoView*>(first->AddObject(std::make_unique<TrpMemoView>()));
        memo->Name = QStringLiteral("fSilName");
        memo->SetBounds(16, 104, 80, 18);
        memo->Memo = QStringList{QStringLiteral("[dmReport.\"SilName\"]"), QStringLiteral("Силос")};
        auto* line = static_cast<TrpLineView*>(second->AddObject(std::make_unique<TrpLineView>()));
        line->Name = QStringLiteral("Line1");
        line->SetBounds(10, 20, 300, 0);
        report->Dictionary.Variables.SetValueByName(QStringLiteral(" Итоги"), QString());   // a heading
        report->Dictionary.Variables.SetValueByName(QStringLiteral("Total"), QStringLiteral("1+2"));
        TrpReportInfo& info = report->ReportInfo;
        info.Comment = QStringLiteral("Протокол");
        info.Author = QStringLiteral("A");
        info.VersionBuild = QStringLiteral("7");
        info.Password = QStringLiteral("z1");
        info.Protected = 1;
        info.Created = 45000.5;
        return report;
    }

    static QByteArray RecordOf(TrpView& view)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        view.SaveToStream(buffer);
        return buffer.data();
    }

    TrpRunContext context;
    QStringList boxes;
};

TEST_F(TemplateFile, WritingGivesTheFrameOfTheFieldTablesAndReadsBackTheSame)
{
    auto report = SampleReport();
    const TDateTime before = Now();
    const QByteArray saved = Save(*report);

    // The frame as the field tables describe it, from the records each part writes.
    TOctets frame;
    frame.u8(25).u16(0).u16(0xFFFF).str("\001");   // the virtual printer is current
    for (const auto& page : report->Pages) {
        QBuffer record;
        record.open(QIODevice::WriteOnly);
        page->SaveToStream(record);
        frame.u8(255).raw(record.data());
    }
    for (size_t index = 0; index < report->Pages.size(); ++index)
        for (const auto& object : report->Pages[index]->Objects) {
            const QByteArray record = RecordOf(*object);
            frame.u8(object->TypeCode).u8(int(index));
            frame.i32(int32_t(frame.data.size() + 4 + record.size())).raw(record);
        }
    QBuffer dictionary;
    dictionary.open(QIODevice::WriteOnly);
    report->Dictionary.SaveToStream(dictionary);
    frame.u8(254).raw(dictionary.data()).u8(252);
    frame.info("\xcf\xf0\xee\xf2\xee\xea\xee\xeb").info("").info("A").info("").info("").info("").info("7");
    frame.info("7A31").u8(88).u8(1).real(45000.5);

    ASSERT_EQ(saved.size(), frame.data.size() + 8);
    EXPECT_EQ(saved.left(frame.data.size()).toHex(' '), frame.data.toHex(' '));
    double lastChange = 0;
    std::memcpy(&lastChange, saved.constData() + frame.data.size(), 8);
    EXPECT_GE(lastChange, before);
    EXPECT_LE(lastChange, Now());

    auto copy = NewReport();
    ASSERT_TRUE(Load(*copy, saved));
    ASSERT_EQ(copy->Pages.size(), 2u);
    ASSERT_EQ(copy->Pages[0]->Objects.size(), 2u);
    ASSERT_EQ(copy->Pages[1]->Objects.size(), 1u);
    const TrpView* memo = copy->FindObject(QStringLiteral("FSILNAME"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->TypeCode, otMemo);
    EXPECT_EQ(memo->Memo, report->FindObject(QStringLiteral("fSilName"))->Memo);
    EXPECT_EQ(copy->FindObject(QStringLiteral("Line1"))->Width, 300);
    EXPECT_TRUE(copy->TwoPass);
    EXPECT_FALSE(copy->PrintToDefault);
    EXPECT_EQ(copy->PrinterName, QStringLiteral("Virtual printer"));
    EXPECT_EQ(copy->ReportInfo.Comment, QStringLiteral("Протокол"));
    EXPECT_EQ(copy->ReportInfo.Password, QStringLiteral("z1"));
    EXPECT_EQ(copy->ReportInfo.Protected, 1);
    EXPECT_EQ(copy->ReportInfo.Created, 45000.5);
    EXPECT_EQ(copy->ReportInfo.LastChange, lastChange);
    EXPECT_EQ(copy->Dictionary.Variables.NameAt(1), QStringLiteral("Total"));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();

    // Written again, only the time of the last change differs.
    const QByteArray again = Save(*copy);
    EXPECT_EQ(again.left(frame.data.size()), saved.left(frame.data.size()));
}

TEST_F(TemplateFile, TheWindowPropertyWrapsTheTemplateWhenItIsStoredThere)
{
    auto report = SampleReport();
    report->StoreInDFM = true;
    QBuffer property;
    property.open(QIODevice::ReadWrite);
    report->WriteReportForm(property);
    const QByteArray bytes = property.data();
    ASSERT_GT(bytes.size(), 8);
    EXPECT_EQ(bytes.left(4), TOctets().i32(25).data);
    EXPECT_EQ(qFromLittleEndian<int32_t>(bytes.constData() + 4), bytes.size() - 8);
    EXPECT_EQ(bytes.at(8), char(25));

    auto copy = NewReport();
    copy->StoreInDFM = true;
    property.seek(0);
    copy->ReadReportForm(property);
    EXPECT_TRUE(copy->Pages.empty()) << "read only when the window is loaded";
    copy->Loaded();
    EXPECT_EQ(copy->Pages.size(), 2u);

    // A size past the octets left is refused before anything is set aside for it.
    QBuffer damaged;
    damaged.setData(TOctets().i32(25).i32(0x7FFFFFF0).raw("\x19\0\0").data);
    damaged.open(QIODevice::ReadOnly);
    EXPECT_THROW(copy->ReadReportForm(damaged), EReadError);

    report->StoreInDFM = false;
    QBuffer bare;
    bare.open(QIODevice::WriteOnly);
    report->WriteReportForm(bare);
    EXPECT_EQ(bare.data(), TOctets().i32(25).data);
}

TEST_F(TemplateFile, OlderVersionsAreReadFromTheirFieldTables)
{
    struct Case {
        int version;   // 20: no version octet at all
        QByteArray firstName, secondName;   // as the records name them; unnamed before 23
    };
    for (const Case& c : {Case{20, "Line1", "Line2"}, Case{22, "Line1", "Line2"}, Case{23, "Top", "Bottom"}}) {
        SCOPED_TRACE(c.version);
        const int layout = std::max(c.version, 21);
        TOctets t;
        if (c.version >= 21)
            t.u8(c.version);
        t.u16(0).u16(0).str("\001", layout).u8(255).raw(PageRecord(layout).data);
        t.u8(otLine).u8(0).raw(LineRecord(layout, "Top", 10).data);
        t.u8(otLine).u8(0).raw(LineRecord(layout, "Bottom", 40).data);
        t.u8(252);
        auto report = NewReport();
        ASSERT_TRUE(Load(*report, t.data)) << boxes.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(context.TemplateVersion, layout);
        ASSERT_EQ(report->Pages.size(), 1u);
        const auto& objects = report->Pages[0]->Objects;
        ASSERT_EQ(objects.size(), 2u);
        EXPECT_EQ(objects[0]->Name, QString::fromLatin1(c.firstName));
        EXPECT_EQ(objects[1]->Name, QString::fromLatin1(c.secondName));
        EXPECT_EQ(objects[1]->Left, 40);
        EXPECT_EQ(report->Pages[0]->PaperWidth, 2100);
        EXPECT_EQ(report->ReportInfo.Generator, 88) << "ended after 252: the information is reset";
        EXPECT_TRUE(report->ReportInfo.Password.isEmpty());
        EXPECT_NEAR(report->ReportInfo.Created, Now(), 1.0 / 24);
    }
}

TEST_F(TemplateFile, AnUnknownPrinterIsRememberedAndTheCurrentOneStays)
{
    const int current = context.ReportPrinter.CurrentIndex;
    TOctets t;
    t.u8(25).u16(0).u16(0).str("TASKalfa 3050ci").u8(252);
    auto report = NewReport();
    EXPECT_TRUE(Load(*report, t.data));
    EXPECT_EQ(report->PrinterName, QStringLiteral("TASKalfa 3050ci"));
    EXPECT_EQ(context.ReportPrinter.CurrentIndex, current);
}

TEST_F(TemplateFile, MissingAddInClassesAreSkippedAndListedInOneBox)
{
    auto report = SampleReport();
    TrpPage* first = report->Pages[0].get();
    first->Objects.insert(first->Objects.begin() + 1, std::make_unique<TestAddIn>());
    first->Objects[1]->Report = report.get();
    first->Objects[1]->Name = QStringLiteral("Rich1");
    const QByteArray v25 = Save(*report);

    auto copy = NewReport();
    EXPECT_FALSE(Load(*copy, v25));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QStringLiteral("Error|Report contains the following non-plugged components:\n"
                                       "TrpMissingAddIn\nYou must include these components into your project."));
    EXPECT_EQ(copy->Pages[0]->Objects.size(), 2u) << "the band and the memo after the missing object";
    EXPECT_NE(copy->FindObject(QStringLiteral("fSilName")), nullptr);
    EXPECT_EQ(copy->Pages[1]->Objects.size(), 1u);

    // Without end offsets the reading stops at the missing class and keeps what it read.
    boxes.clear();
    TOctets t;
    t.u8(23).u16(0).u16(0).str("\001", 23).u8(255).raw(PageRecord(23).data);
    t.u8(otLine).u8(0).raw(LineRecord(23, "Top", 10).data);
    t.u8(otAddIn).str("TrpMissingAddIn", 23).u8(0).raw(LineRecord(23, "Lost", 0).data);
    t.u8(otLine).u8(0).raw(LineRecord(23, "Bottom", 40).data).u8(252);
    auto old = NewReport();
    EXPECT_FALSE(Load(*old, t.data));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("TrpMissingAddIn")));
    ASSERT_EQ(old->Pages[0]->Objects.size(), 1u);
    EXPECT_EQ(old->Pages[0]->Objects[0]->Name, QStringLiteral("Top"));
}

TEST_F(TemplateFile, DamagedStreamsAreRefusedWithoutReadingOutside)
{
    const QByteArray good = Save(*SampleReport());
    // Where the first object's end offset lies: after the pages and the object's type and page.
    auto probe = SampleReport();
    QBuffer pages;
    pages.open(QIODevice::WriteOnly);
    for (const auto& page : probe->Pages)
        page->SaveToStream(pages);
    const int firstOffset = 1 + 2 + 2 + 4 + 2 * 1 + int(pages.size()) + 2;   // up to the offset
    const auto withOffset = [&](int32_t offset) {
        QByteArray bytes = good;
        bytes.replace(firstOffset, 4, TOctets().i32(offset).data);
        return bytes;
    };
    QByteArray badTag = good;
    badTag[firstOffset - 2] = char(100);
    QByteArray longString = good.left(firstOffset + 4) + TOctets().u16(65535).data + "abc";
    // The first page record starts after the version, the two flags, the printer name and its tag.
    const int firstPage = 1 + 2 + 2 + 4 + 1;
    const auto withPageInt = [&](int at, int32_t value) {
        QByteArray bytes = good;
        bytes.replace(firstPage + at, 4, TOctets().i32(value).data);
        return bytes;
    };
    QByteArray pageType208 = good;
    pageType208[firstPage + 49] = char(208);   // after the paper, margins, bin, flags and columns
    // The band's Left follows its name ("MasterData1") and record version.
    QByteArray farLeft = good;
    farLeft.replace(firstOffset + 4 + 2 + 11 + 1 + 2, 4, TOctets().i32(5'000'000).data);

    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"cut inside an object record", good.left(firstOffset + 10)},
        {"cut inside the report information", good.left(good.size() - 5)},
        {"an end offset past the end", withOffset(int32_t(good.size()) + 1)},
        {"an end offset pointing back", withOffset(firstOffset)},
        {"an end offset of 0 on a failing record", withOffset(0).left(firstOffset + 10)},
        {"an unknown tag", badTag},
        {"a length longer than the stream", longString},
        {"a page of no known type", pageType208},
        {"a paper wider than 100 m", withPageInt(8, 1'000'001)},
        {"a margin beyond a thousand pages", withPageInt(16, -1'000'001)},
        {"more columns than a page holds", withPageInt(41, 101)},
        {"an object far outside any page, though its record is whole", farLeft},
    };
    QStringList logged;
    context.OnLog = [&](const QString& text) { logged << text; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        logged.clear();
        auto report = NewReport();
        EXPECT_FALSE(Load(*report, c.bytes));
        EXPECT_EQ(boxes, QStringList{QStringLiteral("Error|Unsupported template format")}) << "one line, no more";
        ASSERT_EQ(logged.size(), 1) << "where it broke goes to the log";
        EXPECT_TRUE(logged[0].startsWith(QStringLiteral("Unsupported template format: "))) << logged[0].toStdString();
        ASSERT_EQ(report->Pages.size(), 1u) << "one empty page instead";
        EXPECT_TRUE(report->Pages[0]->Objects.empty());
    }
}

TEST_F(TemplateFile, ANewerVersionLeavesThePagesAsTheyWere)
{
    auto report = SampleReport();
    QByteArray bytes = Save(*report);
    bytes[0] = char(26);
    EXPECT_FALSE(Load(*report, bytes));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Error|Unsupported template format")});
    EXPECT_EQ(report->Pages.size(), 2u);
    EXPECT_NE(report->FindObject(QStringLiteral("fSilName")), nullptr);

    // Without windows the box's text goes to the log.
    QStringList logged;
    context.MessageBox = nullptr;
    context.OnLog = [&](const QString& text) { logged << text; };
    EXPECT_FALSE(Load(*report, bytes));
    EXPECT_EQ(logged, QStringList{QStringLiteral("Unsupported template format")});

    boxes.clear();
    EXPECT_TRUE(Load(*report, QByteArray()));
    EXPECT_EQ(report->Pages.size(), 2u) << "an empty stream reads nothing";
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(TemplateFile, AFailingRecordIsSkippedByItsEndOffsetOnlyFromVersion24)
{
    // The first object names a page that does not exist; the second is read.
    TOctets t;
    t.u8(25).u16(0).u16(0).str("\001").u8(255);
    auto report = SampleReport();
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    report->Pages[1]->SaveToStream(page);
    t.raw(page.data());
    auto* line = report->Pages[1]->Objects[0].get();
    const QByteArray record = RecordOf(*line);
    // The type and page are written before the offset is computed.
    t.u8(otLine).u8(7).i32(int32_t(t.data.size() + 4 + record.size())).raw(record);
    t.u8(otLine).u8(0).i32(int32_t(t.data.size() + 4 + record.size())).raw(record).u8(252);
    auto copy = NewReport();
    EXPECT_TRUE(Load(*copy, t.data)) << boxes.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(copy->Pages[0]->Objects.size(), 1u);
    EXPECT_EQ(copy->Pages[0]->Objects[0]->Name, QStringLiteral("Line1"));

    TOctets old;
    old.u8(23).u16(0).u16(0).str("\001", 23).u8(255).raw(PageRecord(23).data);
    old.u8(otLine).u8(7).raw(LineRecord(23, "Lost", 0).data);
    old.u8(otLine).u8(0).raw(LineRecord(23, "Read", 0).data).u8(252);
    EXPECT_FALSE(Load(*copy, old.data)) << "no reading on from the wrong position";
    EXPECT_EQ(boxes.last(), QStringLiteral("Error|Unsupported template format"));
}
