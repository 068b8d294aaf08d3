#pragma once
// Prepared pages assembled in code for the export filters: memos printed into pages of a
// report, exported into a file of a temporary folder, and the file read back.
#include <gtest/gtest.h>

#include <memory>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/export/ExportFilter.h"
#include "report/objects/MemoView.h"
#include "report/paper/PaperTable.h"
#include "report/runtime/RunContext.h"

// A memo as a test places it: its box in page units, its lines and look.
struct TMemoPlacement {
    int Left = 0, Top = 0, Width = 100, Height = 20;
    QStringList Lines;
    int Frames = 0;
    int32_t Alignment = taLeft;
};

class ExportFixture : public ::testing::Test {
protected:
    ExportFixture()
    {
        design = report.AddPage();
        design->ApplyPaper(kPaperA4, 0, 0, -1, poPortrait);
    }

    TrpEMFPages& Pages() { return *report.EMFPages; }

    int AddPage()
    {
        Pages().AddPage(*design);
        return Pages().Count() - 1;
    }

    // A memo made on the design page, changed by setUp, and printed into the page.
    TrpMemoView& Print(int page, const TMemoPlacement& placement, const std::function<void(TrpMemoView&)>& setUp = {})
    {
        auto* memo = static_cast<TrpMemoView*>(design->AddObject(std::make_unique<TrpMemoView>()));
        memo->SetBounds(placement.Left, placement.Top, placement.Width, placement.Height);
        memo->Memo = placement.Lines;
        memo->FrameTyp = uint16_t(placement.Frames);
        memo->Alignment = placement.Alignment;
        if (setUp)
            setUp(*memo);
        PrintView(page, *memo);
        return *memo;
    }

    void PrintView(int page, TrpView& view)
    {
        view.PrintedForm = true;
        view.PrintToStream(Pages().Page(page).ObjectStream);
    }

    QString Path(const QString& name = QStringLiteral("out")) const { return folder.filePath(name); }

    // Runs the whole export into the file; false when it stopped before making one.
    bool Export(TrpExportFilter& filter, const QString& fileName)
    {
        if (!filter.BeginExport(fileName))
            return false;
        filter.WriteExport(Pages());
        return true;
    }

    static QByteArray Contents(const QString& fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TrpRunContext context;
    TrpReport report{context};
    TrpPage* design = nullptr;
    QTemporaryDir folder;
};
