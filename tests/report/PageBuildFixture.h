#pragma once
// A report built in code over in-memory tables on the virtual printer's A4 page (758 x 1071
// units, margins off), and what its build printed, page by page.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QObject>

#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/objects/BandView.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"

// One object as a prepared page holds it.
struct TPrinted {
    QString Name;
    int Left, Top, Width, Height;
    QString Text;   // the printed lines joined by "|"
};

// A report with one page, a table "tbSilo" (Silo, Temp) and the report's data source "dsSilo"
// over it; several can live in one test.
class ReportBuild {
public:
    static constexpr int kPageHeight = 1071;

    ReportBuild()
    {
        report->setObjectName(QStringLiteral("rpReport"));
        page = NewPage();
        table.setObjectName(QStringLiteral("tbSilo"));
        table.setParent(&owner);
        table.AddField(QStringLiteral("Silo"), ftString, 20);
        table.AddField(QStringLiteral("Temp"), ftFloat);
        table.Open();
        source.setObjectName(QStringLiteral("dsSilo"));
        source.setParent(&owner);
        source.SetDataSet(&table);
        report->Dataset = &source;
    }

    TrpPage* NewPage()
    {
        TrpPage* added = report->AddPage();
        added->MarginsOn = false;
        return added;
    }

    void AddRow(const QString& silo, double temp)
    {
        table.Append();
        table.Field(QStringLiteral("Silo"))->SetValue(silo);
        table.Field(QStringLiteral("Temp"))->SetValue(temp);
        table.Post();
    }

    TrpBandView* AddBand(TrpPage* on, int type, int top, int height, const QString& name = {})
    {
        auto* band = static_cast<TrpBandView*>(on->AddObject(std::make_unique<TrpBandView>()));
        band->FrameTyp = uint16_t(type);
        band->SetBounds(0, top, 758, height);
        band->Name = name.isEmpty() ? QStringLiteral("Band%1").arg(on->Objects.size()) : name;
        return band;
    }
    TrpBandView* AddBand(int type, int top, int height, const QString& name = {})
    {
        return AddBand(page, type, top, height, name);
    }

    TrpMemoView* AddMemo(TrpPage* on, int left, int top, int width, int height, const QString& text,
                         const QString& name = {})
    {
        auto* memo = static_cast<TrpMemoView*>(on->AddObject(std::make_unique<TrpMemoView>()));
        memo->SetBounds(left, top, width, height);
        memo->Memo = text.split(QLatin1Char('\n'));
        memo->Name = name.isEmpty() ? QStringLiteral("Memo%1").arg(on->Objects.size()) : name;
        memo->Flags = 0;
        return memo;
    }
    TrpMemoView* AddMemo(int left, int top, int width, int height, const QString& text, const QString& name = {})
    {
        return AddMemo(page, left, top, width, height, text, name);
    }

    // The page build as the driver runs one pass of it, a page that prints on the previous
    // one continuing there.
    void Build()
    {
        TrpRunContext& c = context;
        c.CurrentReport = c.RootReport = report.get();
        c.PrintModeFlag = true;
        c.PageNo = 0;
        c.AppendMode = false;
        report->Terminated = false;
        report->FinalPass = true;
        report->BindParser();
        report->EMFPages->Clear();
        for (const auto& p : report->Pages)
            p->StartReport();
        for (const auto& p : report->Pages)
            p->PrepareObjects();
        for (size_t i = 0; i < report->Pages.size(); ++i) {
            TrpPage* p = report->Pages[i].get();
            if (p->IsSubTarget || !p->Visible || report->Terminated)
                continue;
            c.CurrentPage = p;
            p->BuildMode = bmDirect;
            p->BuildPage();
            c.AppendMode = false;
            if (i + 1 < report->Pages.size() && report->Pages[i + 1]->PrintToPrevPage) {
                --c.PageNo;
                c.AppendMode = true;
            } else {
                c.PageNo = report->EMFPages->Count();
            }
        }
        for (const auto& p : report->Pages)
            p->EndReport();
    }

    int PageCount() const { return report->EMFPages->Count(); }

    std::vector<TPrinted> Printed(int index)
    {
        TrpEMFPages& pages = *report->EMFPages;
        pages.RestoreObjects(index);
        std::vector<TPrinted> objects;
        for (const auto& view : pages.Page(index).LivePage->Objects) {
            QString text = view->Memo.join(QLatin1Char('|'));
            text.remove(kParagraphEnd);
            objects.push_back({view->Name, view->Left, view->Top, view->Width, view->Height, text});
        }
        pages.ReleaseObjects(index);
        return objects;
    }

    // The texts of the objects of that name, over every page in order.
    QStringList Texts(const QString& name)
    {
        QStringList texts;
        for (int i = 0; i < PageCount(); ++i)
            for (const TPrinted& object : Printed(i))
                if (object.Name == name)
                    texts << object.Text;
        return texts;
    }

    TrpRunContext context;
    QObject owner;
    std::unique_ptr<TrpReport> report = std::make_unique<TrpReport>(context, &owner);
    TrpPage* page = nullptr;
    TMemoryTable table;
    TrpDBDataSet source;
};

class PageBuild : public ::testing::Test, public ReportBuild {};
