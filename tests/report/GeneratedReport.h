#pragma once
// A generated template (TemplateGenerator.h) made into a report in code over its data, built
// by the report's own driver, and its prepared pages read back.
#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "TemplateGenerator.h"
#include "report/data/DBDataSet.h"
#include "report/data/Dataset.h"
#include "report/data/MemoryTable.h"
#include "report/engine/Report.h"
#include "report/runtime/RunContext.h"

// One object as a prepared page holds it: its name tells the band it comes from.
struct TGenPrinted {
    QString name;
    int left, top, width, height;
    QStringList lines;   // the printed text lines, empty ones left out
    bool operator==(const TGenPrinted&) const = default;
};
using TGenPage = std::vector<TGenPrinted>;

class TGeneratedReport {
public:
    // The prepared pages are cut off past this many: a build that makes them does not end.
    static constexpr int kPageLimit = 3000;

    explicit TGeneratedReport(const TGenTemplate& t);
    ~TGeneratedReport();

    // Builds the pages; false when the build failed (the error box's text in Error()).
    bool Build();
    QString Error() const { return errors_.join(QLatin1Char('\n')); }
    bool CutOff() const { return cutOff_; }
    int PagesBegun() const { return pagesBegun_; }

    std::vector<TGenPage> Pages() const;
    // The pages saved as a prepared-report file and read back into another report.
    std::vector<TGenPage> PagesAfterSaveAndLoad() const;

    // Print limits of the page (the whole sheet, or inside the margins).
    int TopLimit() const;
    int BottomLimit() const;   // of the sheet, not less the page footer
    int ColumnWidth() const;
    static constexpr int kColumnGap = 20;
    static constexpr int kMemoLeft = 5;   // of the bands' memos on the design page

private:
    void MakeBands();
    void MakeCross(int masterTop, int masterHeight, int footerTop, int footerHeight);
    void MakeSubReport(int titleTop);

    const TGenTemplate& t_;
    TrpRunContext context_;
    QObject owner_;
    std::unique_ptr<TrpReport> report_;
    TrpPage* page_ = nullptr;   // the design page, until the build
    TMemoryTable table_{&owner_};
    TrpDBDataSet source_;
    TrpUserDataset detail_, subDetail_;
    int pageWidth_ = 0, pageHeight_ = 0;   // of the sheet; the build replaces the design pages
    QStringList errors_;
    int pagesBegun_ = 0;
    bool cutOff_ = false;
};

// The objects of a prepared page of a report, in printing order.
TGenPage ReadPage(TrpEMFPages& pages, int index);
