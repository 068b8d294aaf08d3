#include "TemplateInvariants.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <sstream>

#include <QElapsedTimer>

#include "GeneratedReport.h"
#include "report/objects/BandView.h"

namespace {

constexpr qint64 kBuildSeconds = 20;
// The most pages a title, its sub-report and the headers can fill before the first record.
constexpr int kPagesBeforeTheFirstRecord = 8;

// The aggregates a footer prints over the values it covers.
QStringList AggregateLines(const std::vector<int>& values)
{
    long long sum = 0;
    int low = 0, high = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        sum += values[i];
        low = i == 0 ? values[i] : std::min(low, values[i]);
        high = i == 0 ? values[i] : std::max(high, values[i]);
    }
    const double average = values.empty() ? 0.0 : double(sum) / double(values.size());
    return {QStringLiteral("s=%1 c=%2").arg(sum).arg(values.size()), QStringLiteral("n=%1 x=%2").arg(low).arg(high),
            QStringLiteral("a=%1").arg(average, 0, 'g', 15)};
}

// A footer's lines: its first, the aggregates, then the rest of its own.
QStringList FooterLines(const QString& first, const TGenBand& band, const QStringList& aggregates)
{
    QStringList lines = MemoLines(first, band.lines);
    for (int i = 0; i < aggregates.size(); ++i)
        lines.insert(1 + i, aggregates[i]);
    return lines;
}

// Equal, or equal but for numbers after "=" that differ only in their last digits.
bool LinesMatch(const QString& expected, const QString& printed)
{
    if (expected == printed)
        return true;
    const QStringList a = expected.split(QLatin1Char(' ')), b = printed.split(QLatin1Char(' '));
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const int ea = int(a[i].indexOf(QLatin1Char('='))), eb = int(b[i].indexOf(QLatin1Char('=')));
        if (ea < 0 || ea != eb || a[i].left(ea) != b[i].left(eb))
            return false;
        bool okA = false, okB = false;
        const double x = a[i].mid(ea + 1).toDouble(&okA), y = b[i].mid(eb + 1).toDouble(&okB);
        if (!okA || !okB || std::fabs(x - y) > 1e-9 * std::max(1.0, std::fabs(x)))
            return false;
    }
    return true;
}

std::string Str(const QString& text) { return text.toStdString(); }

class TChecker {
public:
    explicit TChecker(const TGenTemplate& t) : t_(t), report_(t) {}

    std::vector<std::string> Run();

private:
    void Fail(const std::string& what) { broken_.push_back(what); }
    bool PrintedMaster(const TGenRecord& r) const;
    bool PrintedDetail(const TGenRecord& r, size_t d) const;
    QStringList ExpectedBody() const;
    QStringList ExpectedCross() const;
    // The room a page's top gives the picture at best and at worst (headers repeated above it).
    int PictureRoom(bool worst) const;
    void CheckBuildOutcome(bool built, qint64 elapsed);
    void CheckBody(const std::vector<TGenPage>& pages);
    void CheckPageBands(const std::vector<TGenPage>& pages);
    void CheckGeometry(const std::vector<TGenPage>& pages);
    void CheckCrossAndPictures(const std::vector<TGenPage>& pages);
    bool IsPageBand(const QString& name) const
    {
        return name == QLatin1String("PH") || name == QLatin1String("PF") || name == QLatin1String("CH") ||
               name == QLatin1String("CF");
    }
    // The top of the highest cross cell of a page that holds nothing but cross cells of rows
    // that went on from the page before and the page's own bands; -1 for any other page.
    int CrossRowsTop(const TGenPage& page) const
    {
        int top = -1;
        for (const TGenPrinted& object : page) {
            if (IsPageBand(object.name))
                continue;
            if (!object.name.startsWith(QLatin1Char('X')))
                return -1;
            top = top < 0 ? object.top : std::min(top, object.top);
        }
        return top;
    }
    int Column(const TGenPrinted& object) const
    {
        // Page columns shift the objects by their width and gap from the design's left.
        return t_.columns == 1 ? 0
                               : std::max(0, (object.left - TGeneratedReport::kMemoLeft + 10) /
                                                 (report_.ColumnWidth() + TGeneratedReport::kColumnGap));
    }

    const TGenTemplate& t_;
    TGeneratedReport report_;
    std::vector<std::string> broken_;
};

bool TChecker::PrintedDetail(const TGenRecord& r, size_t d) const
{
    return !t_.subDetail || (t_.detail->flags & bfPrintIfSubsetEmpty) || r.subCounts[d] > 0;
}

bool TChecker::PrintedMaster(const TGenRecord& r) const
{
    if (!t_.detail || (t_.master.flags & bfPrintIfSubsetEmpty))
        return true;
    for (size_t d = 0; d < r.subCounts.size(); ++d)
        if (PrintedDetail(r, d))
            return true;
    return false;
}

QStringList TChecker::ExpectedBody() const
{
    QStringList body;
    if (t_.title) {
        body << MemoLines(QStringLiteral("T"), t_.title->lines);
        for (int i = 1; i <= t_.subReportRows; ++i)
            body << QStringLiteral("SR%1").arg(i);
    }
    const std::vector<TGenRecord>& records = t_.records;
    const size_t groups = t_.groupHeaders.size();
    std::vector<int> all;
    std::vector<std::vector<int>> groupValues(groups);
    bool headed = false;
    const auto groupKey = [](const TGenRecord& r, size_t g) { return g == 0 ? r.key1 : r.key1 + r.key2; };
    for (size_t i = 0; i < records.size(); ++i) {
        const TGenRecord& r = records[i];
        if (!PrintedMaster(r))
            continue;
        const QString n = QString::number(i + 1);
        // A group starts where its key or an outer one changes; the first record's group
        // headers come before the master header.
        for (size_t g = 0; g < groups; ++g)
            if (i == 0 || groupKey(records[i - 1], g) != groupKey(r, g))
                body << MemoLines(QStringLiteral("G%1 %2").arg(g + 1).arg(groupKey(r, g)), t_.groupHeaders[g].lines);
        if (t_.masterHeader && !headed)
            body << MemoLines(QStringLiteral("MH"), t_.masterHeader->lines);
        headed = true;
        body << MemoLines(QStringLiteral("R") + n, t_.master.lines);
        if (t_.child)
            body << MemoLines(QStringLiteral("C") + n, t_.child->lines);
        if (t_.detail) {
            int printed = 0;
            for (size_t d = 0; d < r.subCounts.size(); ++d)
                printed += PrintedDetail(r, d);
            if (printed > 0 && t_.detailHeader)
                body << MemoLines(QStringLiteral("DH") + n, t_.detailHeader->lines);
            int line = 0;
            for (size_t d = 0; d < r.subCounts.size(); ++d) {
                if (!PrintedDetail(r, d))
                    continue;
                body << MemoLines(QStringLiteral("D%1.%2").arg(n).arg(++line), t_.detail->lines);
                if (t_.subDetail)
                    for (int s = 1; s <= r.subCounts[d]; ++s)
                        body << MemoLines(QStringLiteral("S%1").arg(s), t_.subDetail->lines);
            }
            if (printed > 0 && t_.detailFooter)
                body << MemoLines(QStringLiteral("DF%1 c=%2").arg(n).arg(printed), t_.detailFooter->lines);
        }
        all.push_back(r.value);
        for (size_t g = 0; g < groups; ++g)
            groupValues[g].push_back(r.value);
        // A group ends where its key or an outer one changes next, inner groups first.
        for (size_t g = groups; g-- > 0;)
            if (i + 1 == records.size() || groupKey(records[i + 1], g) != groupKey(r, g)) {
                body << FooterLines(QStringLiteral("F%1 %2").arg(g + 1).arg(groupKey(r, g)), t_.groupFooters[g],
                                    AggregateLines(groupValues[g]));
                groupValues[g].clear();
            }
    }
    if (t_.masterFooter && headed)
        body << FooterLines(QStringLiteral("MF"), *t_.masterFooter, AggregateLines(all));
    if (t_.summary)
        body << FooterLines(QStringLiteral("Z"), *t_.summary, AggregateLines(all));
    return body;
}

QStringList TChecker::ExpectedCross() const
{
    QStringList cells;
    if (!t_.crossColumns)
        return cells;
    std::vector<long long> columnTotals(size_t(t_.crossColumns), 0);
    bool any = false;
    for (size_t i = 0; i < t_.records.size(); ++i) {
        const TGenRecord& r = t_.records[i];
        if (!PrintedMaster(r))
            continue;
        any = true;
        const QString n = QString::number(i + 1);
        cells << QStringLiteral("XH ") + n;
        long long row = 0;
        for (int c = 1; c <= t_.crossColumns; ++c) {
            const int cell = r.value * 10 + c;
            cells << QStringLiteral("XD %1:%2=%3").arg(n).arg(c).arg(cell);
            row += cell;
            columnTotals[size_t(c - 1)] += cell;
        }
        cells << QStringLiteral("XF %1=%2").arg(n).arg(row);
    }
    if (t_.masterFooter && any) {
        cells << QStringLiteral("XHT H");
        long long total = 0;
        for (int c = 1; c <= t_.crossColumns; ++c) {
            cells << QStringLiteral("XDT %1=%2").arg(c).arg(columnTotals[size_t(c - 1)]);
            total += columnTotals[size_t(c - 1)];
        }
        cells << QStringLiteral("XFT C=%1").arg(total);
    }
    cells.sort();
    return cells;
}

int TChecker::PictureRoom(bool worst) const
{
    int limit = report_.BottomLimit() - (t_.pageFooter ? t_.pageFooter->height : 0);
    limit -= t_.columnFooter ? t_.columnFooter->height : 0;
    int top = report_.TopLimit();
    if (worst) {
        // Below the page and column headers, and below every header that may repeat above it.
        for (const auto* band : {&t_.pageHeader, &t_.columnHeader, &t_.masterHeader})
            if (*band)
                top += (*band)->height + (*band)->lines * 15;
        for (const TGenBand& band : t_.groupHeaders)
            top += band.height + band.lines * 15;
    }
    return limit - top - 2 - t_.pictureTop;
}

void TChecker::CheckBuildOutcome(bool built, qint64 elapsed)
{
    if (elapsed > kBuildSeconds * 1000)
        Fail("the build took " + std::to_string(elapsed) + " ms, more than " + std::to_string(kBuildSeconds) + " s");
    if (report_.CutOff())
        Fail("the build made more than " + std::to_string(TGeneratedReport::kPageLimit) + " pages and was cut off");
    bool anyPrinted = false;
    for (const TGenRecord& r : t_.records)
        anyPrinted = anyPrinted || PrintedMaster(r);
    const bool mustFail = t_.pictureHeight && anyPrinted && t_.pictureHeight >= PictureRoom(false);
    const bool mayFail = t_.pictureHeight && anyPrinted && t_.pictureHeight >= PictureRoom(true);
    if (built && mustFail)
        Fail("the picture, " + std::to_string(t_.pictureHeight) + " high, fits on no page (room " +
             std::to_string(PictureRoom(false)) + " at best), yet the build succeeded");
    if (!built && !mayFail)
        Fail("the build failed: " + Str(report_.Error()));
    if (!built && mayFail) {
        const QString error = report_.Error();
        if (!error.contains(QStringLiteral("Object Pic ")) || !error.contains(QStringLiteral("fits on no page")))
            Fail("the build failed without naming the picture that fits on no page: " + Str(error));
        // At the first record it meets: the pages before are those of the title at most.
        if (report_.PagesBegun() > kPagesBeforeTheFirstRecord)
            Fail("the build failed for the picture only after " + std::to_string(report_.PagesBegun()) + " pages");
    }
}

void TChecker::CheckBody(const std::vector<TGenPage>& pages)
{
    static const QStringList names = {"T", "SR", "MH", "GH1", "GH2", "R", "C", "DH", "D", "S", "DF", "GF1", "GF2", "MF", "Z"};
    // Headers that may print again on new pages and columns, with the same text.
    static const QStringList headers = {"MH", "GH1", "GH2", "DH"};
    const auto repeats = [this](const QString& name) {
        const TGenBand* band = name == QLatin1String("MH")    ? (t_.masterHeader ? &*t_.masterHeader : nullptr)
                               : name == QLatin1String("DH")  ? (t_.detailHeader ? &*t_.detailHeader : nullptr)
                               : name == QLatin1String("GH1") ? &t_.groupHeaders[0]
                                                              : &t_.groupHeaders[1];
        return band && (band->flags & bfRepeatHeader);
    };
    std::map<QString, QString> lastHeader;   // the first line of the header that began the group
    std::set<QString> skipping;               // a repeat goes on in the parts of its split
    QStringList printed;
    std::vector<int> pageOf;
    std::pair<size_t, int> place{SIZE_MAX, 0};   // the page and column of the last body object
    bool atTop = false;                          // nothing but repeated headers there yet
    for (size_t p = 0; p < pages.size(); ++p)
        for (const TGenPrinted& object : pages[p]) {
            if (!names.contains(object.name))
                continue;
            if (place != std::pair{p, Column(object)}) {
                place = {p, Column(object)};
                atTop = true;
            }
            if (headers.contains(object.name) && !object.lines.isEmpty()) {
                // A repeat, at the top of a page or column, begins with the first line of the
                // header that began the group (consecutive groups differ in their keys); the
                // later parts of a split repeat ("G1 A:2" ...) follow it.
                const QString& first = object.lines.front();
                const bool later = first.contains(QLatin1Char(':'));
                const auto last = lastHeader.find(object.name);
                if (!later && last != lastHeader.end() && last->second == first && atTop && repeats(object.name)) {
                    skipping.insert(object.name);
                    continue;
                }
                if (later && skipping.count(object.name))
                    continue;
                skipping.erase(object.name);
                if (!later)
                    lastHeader[object.name] = first;
            }
            atTop = false;
            for (const QString& line : object.lines) {
                printed << line;
                pageOf.push_back(int(p) + 1);
            }
        }
    const QStringList expected = ExpectedBody();
    const int common = int(std::min(expected.size(), printed.size()));
    int i = 0;
    while (i < common && LinesMatch(expected[i], printed[i]))
        ++i;
    if (i == common && expected.size() == printed.size())
        return;
    std::ostringstream out;
    out << "the body printed differs from the records from line " << i + 1 << " on: expected \""
        << (i < expected.size() ? Str(expected[i]) : "(nothing more)") << "\", printed \""
        << (i < printed.size() ? Str(printed[i]) + "\" on page " + std::to_string(pageOf[size_t(i)]) : "(nothing more)\"")
        << " (" << expected.size() << " lines expected, " << printed.size() << " printed)";
    if (i > 0)
        out << "; the line before: \"" << Str(printed[i - 1]) << "\" on page " << pageOf[size_t(i - 1)];
    Fail(out.str());
}

void TChecker::CheckPageBands(const std::vector<TGenPage>& pages)
{
    const int n = int(pages.size());
    if (n == 0) {
        Fail("the build made no page");
        return;
    }
    const auto texts = [](const TGenPage& page, const char* name) {
        QStringList found;
        for (const TGenPrinted& object : page)
            if (object.name == QLatin1String(name))
                found << object.lines.join(QLatin1Char('|'));
        return found;
    };
    for (int p = 1; p <= n; ++p) {
        const TGenPage& page = pages[size_t(p - 1)];
        const std::string where = " on page " + std::to_string(p) + " of " + std::to_string(n);
        if (t_.pageHeader) {
            // The first page has it when asked, unless the title took that page on: the page
            // breaks then print it on the pages that follow only. A page a cross row went on to
            // has it where the rows it goes on with leave it room.
            const int rowsTop = CrossRowsTop(page);
            const bool due = rowsTop >= 0 ? rowsTop >= report_.TopLimit() + t_.pageHeader->height
                                          : p > 1 || (t_.pageHeader->flags & bfOnFirstPage);
            const bool optional = p == 1 && t_.title;
            QStringList expected;
            if (due && !(optional && texts(page, "PH").isEmpty()))
                expected << (t_.twoPass ? QStringLiteral("PH%1/%2").arg(p).arg(n) : QStringLiteral("PH%1").arg(p));
            if (texts(page, "PH") != expected)
                Fail("page header \"" + Str(texts(page, "PH").join(',')) + "\" instead of \"" + Str(expected.join(',')) + "\"" + where);
        }
        if (t_.pageFooter) {
            const uint16_t flags = t_.pageFooter->flags;
            bool due = true;
            if (p == 1 && !(flags & bfOnFirstPage))
                due = p == n && (flags & bfOnLastPage);
            if (p == n && !(flags & bfOnLastPage))
                due = p == 1 && (flags & bfOnFirstPage);
            const QStringList expected = due ? QStringList{QStringLiteral("PF%1").arg(p)} : QStringList{};
            if (texts(page, "PF") != expected)
                Fail("page footer \"" + Str(texts(page, "PF").join(',')) + "\" instead of \"" + Str(expected.join(',')) + "\"" + where);
        }
        bool body = false;
        std::map<int, int> columnHeaders, columnFooters;
        for (const TGenPrinted& object : page) {
            body = body || !IsPageBand(object.name);
            if (object.name == QLatin1String("CH"))
                ++columnHeaders[Column(object)];
            if (object.name == QLatin1String("CF"))
                ++columnFooters[Column(object)];
        }
        // A report with nothing of its body to print still makes its one page.
        const bool emptyReport = n == 1 && ExpectedBody().isEmpty() && ExpectedCross().isEmpty();
        if (!body && !emptyReport)
            Fail("no band of the report's body" + where);
        for (const auto& [column, count] : columnFooters)
            if (count > 1)
                Fail(std::to_string(count) + " column footers in column " + std::to_string(column + 1) + where);
        for (const auto& [column, count] : columnHeaders)
            if (count > 1)
                Fail(std::to_string(count) + " column headers in column " + std::to_string(column + 1) + where);
        if (t_.columnHeader && t_.columnFooter)
            for (const auto& [column, count] : columnHeaders)
                if (columnFooters[column] != count)
                    Fail("column " + std::to_string(column + 1) + " has a column header and no column footer" + where);
    }
}

void TChecker::CheckGeometry(const std::vector<TGenPage>& pages)
{
    const int top = report_.TopLimit(), bottom = report_.BottomLimit();
    for (size_t p = 0; p < pages.size(); ++p) {
        const std::string where = " on page " + std::to_string(p + 1);
        const TGenPage& page = pages[p];
        for (const TGenPrinted& object : page) {
            const std::string what = Str(object.name) + " \"" + Str(object.lines.join(QLatin1Char('|')).left(40)) +
                                     "\" at " + std::to_string(object.top) + ".." +
                                     std::to_string(object.top + object.height);
            if (object.top < top || object.top + object.height > bottom)
                Fail(what + " lies outside the print limits " + std::to_string(top) + ".." + std::to_string(bottom) + where);
            if (IsPageBand(object.name))
                continue;
            for (const TGenPrinted& footer : page) {
                if (footer.name != QLatin1String("PF") && footer.name != QLatin1String("CF") &&
                    footer.name != QLatin1String("PH"))
                    continue;
                const bool across = object.left < footer.left + footer.width && footer.left < object.left + object.width;
                const bool down = object.top < footer.top + footer.height && footer.top < object.top + object.height;
                if (across && down)
                    Fail(what + " lies over the " +
                         (footer.name == QLatin1String("PH")   ? "page header"
                          : footer.name == QLatin1String("PF") ? "page footer"
                                                               : "column footer") +
                         " at " + std::to_string(footer.top) + ".." + std::to_string(footer.top + footer.height) + where);
            }
        }
        for (const TGenPrinted& columnFooter : page)
            for (const TGenPrinted& pageFooter : page)
                if (columnFooter.name == QLatin1String("CF") && pageFooter.name == QLatin1String("PF") &&
                    columnFooter.top + columnFooter.height > pageFooter.top)
                    Fail("the column footer at " + std::to_string(columnFooter.top) + " lies over the page footer at " +
                         std::to_string(pageFooter.top) + where);
    }
}

void TChecker::CheckCrossAndPictures(const std::vector<TGenPage>& pages)
{
    QStringList cells;
    int pictures = 0;
    for (const TGenPage& page : pages)
        for (const TGenPrinted& object : page) {
            if (object.name.startsWith(QLatin1String("X")))
                cells << object.name + QLatin1Char(' ') + object.lines.join(QLatin1Char('|'));
            if (object.name == QLatin1String("Pic")) {
                ++pictures;
                if (object.height != t_.pictureHeight)
                    Fail("a picture prints " + std::to_string(object.height) + " high");
            }
        }
    cells.sort();
    const QStringList expected = ExpectedCross();
    if ((cells.size() != expected.size() ||
        !std::equal(cells.begin(), cells.end(), expected.begin(), [](const QString& a, const QString& b) { return LinesMatch(b, a); }))) {
        QStringList missing, extra;
        for (const QString& cell : expected)
            if (!cells.contains(cell))
                missing << cell;
        for (const QString& cell : cells)
            if (!expected.contains(cell))
                extra << cell;
        Fail("cross cells differ: missing " + Str(missing.mid(0, 8).join(' ')) + "; printed besides " +
             Str(extra.mid(0, 8).join(' ')));
    }
    int records = 0;
    for (const TGenRecord& r : t_.records)
        records += PrintedMaster(r);
    if (t_.pictureHeight && pictures != records)
        Fail(std::to_string(pictures) + " pictures printed for " + std::to_string(records) + " records");
}

std::vector<std::string> TChecker::Run()
{
    QElapsedTimer timer;
    timer.start();
    const bool built = report_.Build();
    CheckBuildOutcome(built, timer.elapsed());
    if (!built)
        return broken_;
    const std::vector<TGenPage> pages = report_.Pages();
    CheckBody(pages);
    CheckPageBands(pages);
    CheckGeometry(pages);
    CheckCrossAndPictures(pages);
    if (report_.PagesAfterSaveAndLoad() != pages)
        Fail("the prepared report saved and loaded gives other pages");
    return broken_;
}

}  // namespace

std::vector<std::string> CheckGeneratedTemplate(const TGenTemplate& t)
{
    return TChecker(t).Run();
}
