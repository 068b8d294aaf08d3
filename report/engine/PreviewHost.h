#pragma once
// The embedded preview as the report driver sees it: a panel of the program's window that shows
// one report's prepared pages in place. The report windows library implements it. While it shows
// a report it holds that report's prepared pages and the report holds an empty list; every
// operation that needs the pages (export, printing, saving) borrows them back for its duration.
#include <memory>

class TrpReport;

class TrpPreviewHost {
public:
    TrpPreviewHost() : handle_(std::make_shared<TrpPreviewHost*>(this)) {}
    virtual ~TrpPreviewHost() { *handle_ = nullptr; }
    TrpPreviewHost(const TrpPreviewHost&) = delete;
    TrpPreviewHost& operator=(const TrpPreviewHost&) = delete;

    // Takes the report's prepared pages (the report gets an empty list) and shows them; the
    // pages of a report shown before are freed.
    virtual void Connect(TrpReport& report) = 0;
    // Gives the pages back to the report shown, which stays the report shown.
    virtual void ReleasePages() = 0;
    // The report whose pages are shown, or none. A report destroyed while shown first takes its
    // pages back (ReleasePages): keep it through a QPointer.
    virtual TrpReport* ShownReport() const = 0;

    // What a report keeps of its preview: it reads none once the preview is destroyed.
    std::shared_ptr<TrpPreviewHost* const> Handle() const { return handle_; }

private:
    std::shared_ptr<TrpPreviewHost*> handle_;
};
