#include "GeneratedReport.h"

#include <QBuffer>

#include "report/engine/EMFPages.h"
#include "report/objects/BandView.h"
#include "report/objects/LineBreaking.h"
#include "report/objects/MemoView.h"
#include "report/objects/PictureView.h"
#include "report/objects/SubReportView.h"

namespace {

constexpr int kGap = 10;   // between the bands of the design page
constexpr int kCrossCellWidth = 80;

// A footer's totals, as three lines after its first.
const QString kAggregates = QStringLiteral("s=[SUM([tbData.V])] c=[COUNT()]\nn=[MIN([tbData.V])] x=[MAX([tbData.V])]\na=[AVG([tbData.V])]");

}  // namespace

TGeneratedReport::TGeneratedReport(const TGenTemplate& t) : t_(t)
{
    context_.MessageBox = [this](const QString& text, const QString&, int) {
        errors_ << text;
        return 1;
    };
    report_ = std::make_unique<TrpReport>(context_, &owner_);
    report_->setObjectName(QStringLiteral("rpGenerated"));
    report_->ShowProgress = false;
    report_->TwoPass = t.twoPass;
    report_->OnBeginPage = [this](int) {
        if (++pagesBegun_ > kPageLimit && !report_->Terminated) {
            cutOff_ = true;
            report_->Terminated = true;
        }
    };
    table_.setObjectName(QStringLiteral("tbData"));
    table_.AddField(QStringLiteral("N"), ftInteger);
    table_.AddField(QStringLiteral("K1"), ftString, 4);
    table_.AddField(QStringLiteral("K2"), ftString, 4);
    table_.AddField(QStringLiteral("V"), ftInteger);
    table_.Open();
    const QString names[] = {QStringLiteral("N"), QStringLiteral("K1"), QStringLiteral("K2"), QStringLiteral("V")};
    for (size_t i = 0; i < t.records.size(); ++i) {
        const TGenRecord& r = t.records[i];
        table_.Append();
        const QVariant values[] = {int(i + 1), r.key1, r.key2, r.value};
        for (int f = 0; f < 4; ++f)
            table_.Field(names[f])->SetValue(values[f]);
        table_.Post();
    }
    source_.setObjectName(QStringLiteral("dsData"));
    source_.setParent(&owner_);
    source_.SetDataSet(&table_);
    report_->Dataset = &source_;
    // Detail records of the current master record, sub-detail records of the current detail.
    detail_.setObjectName(QStringLiteral("dsDetail"));
    detail_.setParent(&owner_);
    detail_.RangeEnd = reCount;
    detail_.OnFirst = [this](QObject*) {
        const int n = table_.Field(QStringLiteral("N"))->Value().toInt();
        detail_.RangeEndCount = n >= 1 ? int(t_.records[size_t(n - 1)].subCounts.size()) : 0;
    };
    subDetail_.setObjectName(QStringLiteral("dsSubDetail"));
    subDetail_.setParent(&owner_);
    subDetail_.RangeEnd = reCount;
    subDetail_.OnFirst = [this](QObject*) {
        const int n = table_.Field(QStringLiteral("N"))->Value().toInt();
        const int d = detail_.RecNo();
        const auto& counts = n >= 1 ? t_.records[size_t(n - 1)].subCounts : std::vector<int>{};
        subDetail_.RangeEndCount = d >= 0 && d < int(counts.size()) ? counts[size_t(d)] : 0;
    };
    page_ = report_->AddPage();
    page_->MarginsOn = t.margins;
    if (t.margins) {
        page_->TopMargin = t.marginTop;
        page_->BottomMargin = t.marginBottom;
        page_->LeftMargin = t.marginLeft;
        page_->RightMargin = t.marginRight;
    }
    pageWidth_ = page_->PaperGeometry.PageWidth;
    pageHeight_ = page_->PaperGeometry.PageHeight;
    page_->Columns = t.columns;
    page_->ColumnGap = kColumnGap;
    MakeBands();
}

TGeneratedReport::~TGeneratedReport()
{
    // The report goes first: it still reaches the data sources while it ends.
    report_.reset();
}

void TGeneratedReport::MakeBands()
{
    int y = 0;
    const int memoWidth = t_.columns > 1 ? 170 : 300;   // the picture beside it stays in the column
    const auto addBand = [&](int type, const TGenBand& shape, const QString& name, const QString& text,
                             const QString& source = {}) {
        auto* band = static_cast<TrpBandView*>(page_->AddObject(std::make_unique<TrpBandView>()));
        band->FrameTyp = uint16_t(type);
        band->SetBounds(0, y, 758, shape.height);
        band->Name = name + QStringLiteral("Band");
        band->Flags = shape.flags;
        band->FormatText = source;
        auto* memo = static_cast<TrpMemoView*>(page_->AddObject(std::make_unique<TrpMemoView>()));
        memo->SetBounds(kMemoLeft, y, memoWidth, shape.memoHeight);
        memo->Memo = text.split(QLatin1Char('\n'));
        memo->Name = name;
        memo->Flags = shape.stretchedMemo ? kFlagStretched : 0;
        const int top = y;
        y += shape.height + kGap;
        return std::pair{band, top};
    };
    const auto lines = [](const QString& first, const TGenBand& shape, const QString& tail = {}) {
        QStringList text = MemoLines(first, shape.lines);
        if (!tail.isEmpty())
            text.insert(1, tail);
        return text.join(QLatin1Char('\n'));
    };
    if (t_.title) {
        const int top = addBand(btReportTitle, *t_.title, QStringLiteral("T"), lines(QStringLiteral("T"), *t_.title)).second;
        if (t_.subReportRows)
            MakeSubReport(top);
    }
    if (t_.pageHeader)
        addBand(btPageHeader, *t_.pageHeader, QStringLiteral("PH"),
                t_.twoPass ? QStringLiteral("PH[PAGE#]/[TOTALPAGES]") : QStringLiteral("PH[PAGE#]"));
    if (t_.columnHeader)
        addBand(btColumnHeader, *t_.columnHeader, QStringLiteral("CH"), QStringLiteral("CH[PAGE#]"));
    if (t_.masterHeader)
        addBand(btMasterHeader, *t_.masterHeader, QStringLiteral("MH"), lines(QStringLiteral("MH"), *t_.masterHeader));
    const QString groupKeys[] = {QStringLiteral("[tbData.K1]"), QStringLiteral("[tbData.K1][tbData.K2]")};
    for (size_t g = 0; g < t_.groupHeaders.size(); ++g) {
        TrpBandView* band = addBand(btGroupHeader, t_.groupHeaders[g], QStringLiteral("GH%1").arg(g + 1),
                                    lines(QStringLiteral("G%1 %2").arg(g + 1).arg(groupKeys[g]), t_.groupHeaders[g]))
                                .first;
        band->FormatText = g == 0 ? QStringLiteral("[tbData.K1]") : QStringLiteral("[tbData.K2]");
    }
    const auto [master, masterTop] =
        addBand(btMasterData, t_.master, QStringLiteral("R"), lines(QStringLiteral("R[tbData.N]"), t_.master));
    if (t_.pictureHeight) {
        TrpView* picture = page_->AddObject(std::make_unique<TrpPictureView>());
        picture->SetBounds(memoWidth + 10, masterTop + t_.pictureTop, 30, t_.pictureHeight);
        picture->Name = QStringLiteral("Pic");
    }
    if (t_.child) {
        master->ChildBand = QStringLiteral("CBand");
        addBand(btChild, *t_.child, QStringLiteral("C"), lines(QStringLiteral("C[tbData.N]"), *t_.child));
    }
    if (t_.detailHeader)
        addBand(btDetailHeader, *t_.detailHeader, QStringLiteral("DH"), lines(QStringLiteral("DH[tbData.N]"), *t_.detailHeader));
    if (t_.detail)
        addBand(btDetailData, *t_.detail, QStringLiteral("D"), lines(QStringLiteral("D[tbData.N].[LINE#]"), *t_.detail),
                QStringLiteral("dsDetail"));
    if (t_.subDetail)
        addBand(btSubDetailData, *t_.subDetail, QStringLiteral("S"), lines(QStringLiteral("S[LINE#]"), *t_.subDetail),
                QStringLiteral("dsSubDetail"));
    if (t_.detailFooter)
        addBand(btDetailFooter, *t_.detailFooter, QStringLiteral("DF"),
                lines(QStringLiteral("DF[tbData.N] c=[COUNT()]"), *t_.detailFooter));
    // The footer of the inner group lies first: footers pair with headers inside out.
    for (size_t g = t_.groupFooters.size(); g-- > 0;)
        addBand(btGroupFooter, t_.groupFooters[g], QStringLiteral("GF%1").arg(g + 1),
                lines(QStringLiteral("F%1 %2").arg(g + 1).arg(groupKeys[g]), t_.groupFooters[g], kAggregates));
    if (t_.masterFooter) {
        const auto [footer, footerTop] =
            addBand(btMasterFooter, *t_.masterFooter, QStringLiteral("MF"), lines(QStringLiteral("MF"), *t_.masterFooter, kAggregates));
        if (t_.crossColumns)
            MakeCross(masterTop, t_.master.height, footerTop, t_.masterFooter->height);
    } else if (t_.crossColumns) {
        MakeCross(masterTop, t_.master.height, -1, 0);
    }
    if (t_.summary)
        addBand(btReportSummary, *t_.summary, QStringLiteral("Z"), lines(QStringLiteral("Z"), *t_.summary, kAggregates));
    if (t_.columnFooter)
        addBand(btColumnFooter, *t_.columnFooter, QStringLiteral("CF"), QStringLiteral("CF[PAGE#]"));
    if (t_.pageFooter)
        addBand(btPageFooter, *t_.pageFooter, QStringLiteral("PF"), QStringLiteral("PF[PAGE#]"));
}

// Cross bands beside the record's memo: a header cell, a data cell per column, a footer cell
// (the row's total); in the master footer's row, each column's total and the grand total.
void TGeneratedReport::MakeCross(int masterTop, int masterHeight, int footerTop, int footerHeight)
{
    const QString cell = QStringLiteral("[tbData.V] * 10 + [COLUMN#]");
    const struct {
        int type, left;
        QString row, total, name;
    } crosses[] = {
        {btCrossHeader, 320, QStringLiteral("[tbData.N]"), QStringLiteral("H"), QStringLiteral("XH")},
        {btCrossData, 360, QStringLiteral("[tbData.N]:[COLUMN#]=[%1]").arg(cell),
         QStringLiteral("[COLUMN#]=[SUM(%1)]").arg(cell), QStringLiteral("XD")},
        {btCrossFooter, 360 + kCrossCellWidth, QStringLiteral("[tbData.N]=[SUM(%1)]").arg(cell),
         QStringLiteral("C=[SUM(%1)]").arg(cell), QStringLiteral("XF")},
    };
    for (const auto& cross : crosses) {
        const int width = cross.type == btCrossHeader ? 40 : kCrossCellWidth;
        auto* band = static_cast<TrpBandView*>(page_->AddObject(std::make_unique<TrpBandView>()));
        band->FrameTyp = uint16_t(cross.type);
        band->SetBounds(cross.left, 0, width, 20);
        band->Name = cross.name + QStringLiteral("Band");
        band->Flags = 0;
        if (cross.type == btCrossData)
            band->FormatText = QString::number(t_.crossColumns);
        const auto addMemo = [&](int top, int height, const QString& text, const QString& name) {
            auto* memo = static_cast<TrpMemoView*>(page_->AddObject(std::make_unique<TrpMemoView>()));
            memo->SetBounds(cross.left + 2, top, width - 4, std::min(height, 19));
            memo->Memo = {text};
            memo->Name = name;
            memo->Flags = 0;
        };
        addMemo(masterTop, masterHeight, cross.row, cross.name);
        if (footerTop >= 0)
            addMemo(footerTop, footerHeight, cross.total, cross.name + QStringLiteral("T"));
    }
}

// The title's sub-report: a page of its own with a master band of that many rows.
void TGeneratedReport::MakeSubReport(int titleTop)
{
    auto* sub = static_cast<TrpSubReportView*>(page_->AddObject(std::make_unique<TrpSubReportView>()));
    sub->SetBounds(400, titleTop, 200, std::min(t_.title->height, 25));
    sub->SubPageIndex = 1;
    sub->Name = QStringLiteral("Sub");
    TrpPage* target = report_->AddPage();
    target->MarginsOn = false;
    auto* band = static_cast<TrpBandView*>(target->AddObject(std::make_unique<TrpBandView>()));
    band->FrameTyp = btMasterData;
    band->SetBounds(0, 0, 758, 25);
    band->Name = QStringLiteral("SRBand");
    band->Flags = 0;
    band->FormatText = QString::number(t_.subReportRows);
    auto* memo = static_cast<TrpMemoView*>(target->AddObject(std::make_unique<TrpMemoView>()));
    memo->SetBounds(10, 0, 100, 25);
    memo->Memo = {QStringLiteral("SR[LINE#]")};
    memo->Name = QStringLiteral("SR");
    memo->Flags = 0;
}

bool TGeneratedReport::Build()
{
    page_ = nullptr;
    return report_->BuildReportPages() && errors_.isEmpty();
}

std::vector<TGenPage> TGeneratedReport::Pages() const
{
    std::vector<TGenPage> pages;
    for (int i = 0; i < report_->EMFPages->Count(); ++i)
        pages.push_back(ReadPage(*report_->EMFPages, i));
    return pages;
}

std::vector<TGenPage> TGeneratedReport::PagesAfterSaveAndLoad() const
{
    QBuffer file;
    file.open(QIODevice::ReadWrite);
    report_->EMFPages->SaveToStream(&file);
    file.seek(0);
    TrpRunContext context;
    QObject owner;
    TrpReport copy(context, &owner);
    copy.EMFPages->LoadFromStream(&file);
    std::vector<TGenPage> pages;
    for (int i = 0; i < copy.EMFPages->Count(); ++i)
        pages.push_back(ReadPage(*copy.EMFPages, i));
    return pages;
}

int TGeneratedReport::TopLimit() const { return t_.margins ? t_.marginTop : 0; }
int TGeneratedReport::BottomLimit() const
{
    return t_.margins ? pageHeight_ - t_.marginBottom : pageHeight_;
}
int TGeneratedReport::ColumnWidth() const
{
    const int width = pageWidth_ - (t_.margins ? t_.marginLeft + t_.marginRight : 0);
    return (width - (t_.columns - 1) * kColumnGap) / t_.columns;
}

TGenPage ReadPage(TrpEMFPages& pages, int index)
{
    pages.RestoreObjects(index);
    TGenPage objects;
    for (const auto& view : pages.Page(index).LivePage->Objects) {
        QStringList lines;
        for (QString line : view->Memo) {
            line.remove(kParagraphEnd);
            if (!line.isEmpty())
                lines << line;
        }
        objects.push_back({view->Name, view->Left, view->Top, view->Width, view->Height, lines});
    }
    pages.ReleaseObjects(index);
    return objects;
}
