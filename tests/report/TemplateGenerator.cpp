#include "TemplateGenerator.h"

#include <algorithm>
#include <random>
#include <sstream>

#include "report/objects/BandView.h"
#include "report/objects/View.h"

namespace {

class TChooser {
public:
    explicit TChooser(uint32_t seed) : engine_(seed) {}
    int Range(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool Chance(int percent) { return Range(1, 100) <= percent; }

private:
    std::mt19937 engine_;
};

constexpr int kLineHeight = 15;   // a line of the memos' default font
constexpr int kTotalLines = 3;    // a footer's sum and count, minimum and maximum, average

// A band with a memo of lines lines and totalLines more (a footer's totals): tall enough for
// them, or stretched to them.
TGenBand MakeBand(TChooser& choose, uint16_t allowedFlags, int maxLines, int totalLines = 0)
{
    TGenBand band;
    band.lines = choose.Chance(70) ? 1 : choose.Range(1, maxLines);
    if ((allowedFlags & kFlagStretched) && choose.Chance(35))
        band.flags |= kFlagStretched;
    for (uint16_t flag : {uint16_t(bfFormNewPage), uint16_t(bfBreaked), uint16_t(bfRepeatHeader),
                          uint16_t(bfPrintIfSubsetEmpty)})
        if ((allowedFlags & flag) && choose.Chance(flag == bfFormNewPage ? 10 : 30))
            band.flags |= flag;
    band.totalLines = totalLines;
    const int needed = (band.lines + totalLines) * kLineHeight + 4;
    if (band.flags & kFlagStretched) {
        // Stretched with the band: a memo that does not stretch keeps to its own frame and
        // shows only the lines that fit there.
        band.memoHeight = choose.Range(5, 30);
        band.stretchedMemo = true;
    } else {
        band.memoHeight = needed;
    }
    band.height = band.memoHeight + (choose.Chance(60) ? 0 : choose.Range(1, 40));
    return band;
}

std::optional<TGenBand> MaybeBand(TChooser& choose, int percent, uint16_t allowedFlags, int maxLines = 3,
                                  int totalLines = 0)
{
    if (!choose.Chance(percent))
        return std::nullopt;
    return MakeBand(choose, allowedFlags, maxLines, totalLines);
}

// Page-level bands: one line, no options but those of first and last page.
TGenBand PageBand(TChooser& choose)
{
    TGenBand band;
    band.height = band.memoHeight = choose.Range(16, 40);
    if (choose.Chance(75))
        band.flags |= bfOnFirstPage;
    if (choose.Chance(75))
        band.flags |= bfOnLastPage;
    return band;
}

void MakeRecords(TChooser& choose, TGenTemplate& t, bool emptyDetails, bool emptySubDetails)
{
    int count = choose.Range(0, 40);
    if (choose.Chance(20))
        count = choose.Range(0, 300);
    if (t.detail)   // a detail level multiplies the lines
        count = std::min(count, 60);
    const int keys1 = choose.Range(1, 5), keys2 = choose.Range(1, 3);
    QString key1 = QStringLiteral("A"), key2 = QStringLiteral("a");
    for (int i = 0; i < count; ++i) {
        // Runs of keys: a key holds on with some chance, else takes any of a few values.
        if (choose.Chance(30))
            key1 = QString(QChar(u'A' + choose.Range(0, keys1 - 1)));
        if (choose.Chance(40))
            key2 = QString(QChar(u'a' + choose.Range(0, keys2 - 1)));
        TGenRecord record{key1, key2, choose.Range(-50, 50), {}};
        if (t.detail) {
            const int details = choose.Range(emptyDetails ? 0 : 1, 4);
            for (int d = 0; d < details; ++d)
                record.subCounts.push_back(t.subDetail ? choose.Range(emptySubDetails ? 0 : 1, 3) : 0);
        }
        t.records.push_back(record);
    }
}

}  // namespace

QStringList MemoLines(const QString& first, int count)
{
    QStringList lines{first};
    for (int i = 2; i <= count; ++i)
        lines << first + QStringLiteral(":%1").arg(i);
    return lines;
}

TGenTemplate GenerateTemplate(uint32_t seed)
{
    TChooser choose(seed);
    TGenTemplate t;
    t.seed = seed;
    t.columns = choose.Chance(70) ? 1 : choose.Range(2, 3);
    t.margins = choose.Chance(30);
    if (t.margins) {
        t.marginTop = choose.Range(10, 60);
        t.marginBottom = choose.Range(10, 60);
        t.marginLeft = choose.Range(10, 40);
        t.marginRight = choose.Range(10, 40);
    }
    t.twoPass = choose.Chance(25);

    const uint16_t bodyFlags = kFlagStretched | bfBreaked | bfFormNewPage;
    t.title = MaybeBand(choose, 50, kFlagStretched | bfBreaked | bfFormNewPage, 4);
    if (t.title && choose.Chance(20))
        t.title->height += choose.Range(0, 1000);   // pushes what follows down the first page
    t.summary = MaybeBand(choose, 50, kFlagStretched | bfBreaked | bfFormNewPage, 4, kTotalLines);
    if (choose.Chance(60))
        t.pageHeader = PageBand(choose);
    if (choose.Chance(60))
        t.pageFooter = PageBand(choose);
    if (choose.Chance(30))
        t.columnHeader = PageBand(choose);
    if (choose.Chance(30))
        t.columnFooter = PageBand(choose);

    t.master = MakeBand(choose, bodyFlags | bfPrintIfSubsetEmpty, 8);
    if (choose.Chance(15)) {   // a memo of many lines, to be cut across pages
        t.master.lines = choose.Range(10, 90);
        if (!(t.master.flags & kFlagStretched))
            t.master.height = t.master.memoHeight = t.master.lines * kLineHeight + 4;
    }
    if (choose.Chance(15)) {
        t.pictureTop = choose.Range(0, 10);
        t.pictureHeight = choose.Chance(70) ? choose.Range(5, 200) : choose.Range(200, 1300);
        t.master.height = std::max(t.master.height, t.pictureTop + t.pictureHeight);
    }
    t.masterHeader = MaybeBand(choose, 40, bodyFlags | bfRepeatHeader);
    t.masterFooter = MaybeBand(choose, 50, bodyFlags, 3, kTotalLines);
    t.child = MaybeBand(choose, 20, kFlagStretched | bfBreaked);

    const int groups = choose.Chance(50) ? 0 : choose.Range(1, 2);
    for (int g = 0; g < groups; ++g) {
        t.groupHeaders.push_back(MakeBand(choose, bodyFlags | bfRepeatHeader, 2));
        t.groupFooters.push_back(MakeBand(choose, bodyFlags, 2, kTotalLines));
    }

    if (choose.Chance(25)) {
        t.detail = MakeBand(choose, bodyFlags | bfPrintIfSubsetEmpty, 3);
        if (choose.Chance(40))
            t.subDetail = MakeBand(choose, bodyFlags, 2);
        t.detailHeader = MaybeBand(choose, 40, bodyFlags | bfRepeatHeader);
        t.detailFooter = MaybeBand(choose, 40, bodyFlags);
    }
    // A record whose own details are empty prints only with print-if-subset-empty; else it is
    // dropped, and with it what the band queue holds for it. Empty details come only where
    // that dropping leaves nothing else behind: under the flag, or with no header or footer
    // that the queue could hold or print around a dropped record.
    const bool unframed = groups == 0 && !t.masterHeader && !t.masterFooter && !t.detailHeader && !t.detailFooter;
    MakeRecords(choose, t, unframed || (t.master.flags & bfPrintIfSubsetEmpty),
                unframed || (t.detail && (t.detail->flags & bfPrintIfSubsetEmpty)));

    if (t.columns == 1 && choose.Chance(10))   // beside the title's memo, in the one column
        t.subReportRows = choose.Range(1, 120);
    // A cross table, also on a band taller than a page (its cells print with the part that
    // holds their row). Half of its rows stay within the page's width, the others go on over
    // pages they add to the right (cells of 80 from 360).
    if (t.columns == 1 && choose.Chance(10))
        t.crossColumns = choose.Chance(50) ? choose.Range(1, 3) : choose.Range(4, 24);
    if (t.subReportRows > 0 && !t.title)
        t.title = MakeBand(choose, 0, 1);
    return t;
}

namespace {

std::string Flags(uint16_t flags)
{
    std::string text;
    const struct {
        uint16_t bit;
        const char* name;
    } names[] = {{kFlagStretched, "stretched"},     {bfFormNewPage, "new page"},
                 {bfPrintIfSubsetEmpty, "print if subset empty"}, {bfBreaked, "may split"},
                 {bfOnFirstPage, "first page"},      {bfOnLastPage, "last page"},
                 {bfRepeatHeader, "repeat header"}};
    for (const auto& n : names)
        if (flags & n.bit)
            text += std::string(text.empty() ? "" : ", ") + n.name;
    return text.empty() ? "no flags" : text;
}

void DescribeBand(std::ostringstream& out, const char* name, const std::optional<TGenBand>& band)
{
    if (!band)
        return;
    out << "  " << name << ": " << band->height << " high, " << Flags(band->flags) << "; memo of " << band->lines
        << " line(s)" << (band->totalLines ? " and the totals" : "") << ", " << band->memoHeight << " high"
        << (band->stretchedMemo ? ", stretched" : "") << "\n";
}

}  // namespace

std::string Describe(const TGenTemplate& t)
{
    std::ostringstream out;
    out << "template of seed " << t.seed << ": " << t.columns << " page column(s), margins "
        << (t.margins ? "on" : "off");
    if (t.margins)
        out << " (top " << t.marginTop << ", bottom " << t.marginBottom << ", left " << t.marginLeft << ", right "
            << t.marginRight << ")";
    out << (t.twoPass ? ", two passes" : "") << "\n";
    DescribeBand(out, "report title", t.title);
    if (t.subReportRows)
        out << "  sub-report in the title: " << t.subReportRows << " rows of 25\n";
    DescribeBand(out, "page header", t.pageHeader);
    DescribeBand(out, "column header", t.columnHeader);
    DescribeBand(out, "master header", t.masterHeader);
    for (size_t g = 0; g < t.groupHeaders.size(); ++g)
        DescribeBand(out, g == 0 ? "group header on key 1" : "group header on key 2", t.groupHeaders[g]);
    DescribeBand(out, "master data", t.master);
    if (t.pictureHeight)
        out << "  picture in master data at " << t.pictureTop << ", " << t.pictureHeight << " high\n";
    if (t.crossColumns)
        out << "  cross table on master data: header, " << t.crossColumns << " data cells, footer\n";
    DescribeBand(out, "child of master data", t.child);
    DescribeBand(out, "detail header", t.detailHeader);
    DescribeBand(out, "detail data", t.detail);
    DescribeBand(out, "sub-detail data", t.subDetail);
    DescribeBand(out, "detail footer", t.detailFooter);
    for (size_t g = t.groupFooters.size(); g-- > 0;)
        DescribeBand(out, g == 0 ? "group footer on key 1" : "group footer on key 2", t.groupFooters[g]);
    DescribeBand(out, "master footer", t.masterFooter);
    DescribeBand(out, "report summary", t.summary);
    DescribeBand(out, "column footer", t.columnFooter);
    DescribeBand(out, "page footer", t.pageFooter);
    out << "  " << t.records.size() << " record(s) (key 1, key 2, value[, sub-detail counts per detail]):";
    for (size_t i = 0; i < t.records.size(); ++i) {
        const TGenRecord& r = t.records[i];
        out << (i % 8 == 0 ? "\n    " : " ") << r.key1.toStdString() << r.key2.toStdString() << ' ' << r.value;
        if (t.detail) {
            out << '[';
            for (size_t d = 0; d < r.subCounts.size(); ++d)
                out << (d ? "," : "") << r.subCounts[d];
            out << ']';
        }
        out << ';';
    }
    out << "\n";
    return out.str();
}
