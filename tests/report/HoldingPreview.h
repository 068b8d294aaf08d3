#pragma once
// The embedded preview as the driver's tests see it.
#include <memory>
#include <utility>

#include "report/engine/EMFPages.h"
#include "report/engine/PreviewHost.h"
#include "report/engine/Report.h"

// The embedded preview: it holds the pages of the report it shows.
class HoldingPreview : public TrpPreviewHost {
public:
    void Connect(TrpReport& report) override
    {
        held = std::exchange(report.EMFPages, std::make_unique<TrpEMFPages>(report));
        shown = &report;
        ++connects;
    }
    void ReleasePages() override
    {
        if (shown && held)
            shown->EMFPages = std::move(held);
    }
    TrpReport* ShownReport() const override { return shown; }
    int HeldCount() const { return held ? held->Count() : -1; }

    std::unique_ptr<TrpEMFPages> held;
    TrpReport* shown = nullptr;
    int connects = 0;
};
