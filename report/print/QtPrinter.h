#pragma once
// The installed printers (CUPS) behind the report printer, over one QPrinter that every print
// job uses. Paper ids are Windows paper ids; a printer's papers are the sizes it supports.
// A printer that is not installed (the caller may list such names) prints into a PDF file and
// takes every paper. The virtual printer's jobs go into PDF files of their own (BeginFileDoc).
#include <functional>
#include <memory>

#include <QPainter>
#include <QPrinter>

#include "report/paper/PlatformPrinter.h"

class TrpRunContext;

class TrpQtPrinter : public TrpPlatformPrinter {
public:
    using TPrinterLister = std::function<QStringList()>;

    // The printers come from the lister, asked afresh each time (by default the installed
    // printers); the current one is the default printer, else the first.
    explicit TrpQtPrinter(TPrinterLister lister = {});

    QPrinter& Device() { return printer_; }

    QStringList PrinterNames() override;
    QString CurrentPrinter() override;
    void SelectPrinter(const QString& name) override;
    std::optional<TrpDeviceSettings> ReadSettings() override;
    void WriteSettings(const TrpDeviceMode& mode) override;
    TrpDeviceMetrics Metrics() override;

    bool Printing() override;
    int SetCopies(int copies) override;
    QPainter& BeginDoc(const QString& title) override;
    QPainter& BeginFileDoc(const QString& title, const QString& fileName, const TrpDeviceMode& paper) override;
    bool PrintsToFile() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;

private:
    bool CurrentIsListed();
    std::vector<TrpDeviceItem> SupportedPapers() const;
    // The device the job prints on: the virtual printer's file while its job runs, else the
    // current printer.
    QPrinter& Job() { return file_ ? *file_ : printer_; }
    // Ends the virtual printer's job: its file replaces the one asked for when complete is set
    // and the file was written whole; otherwise it is removed.
    void FinishFile(bool complete);

    TPrinterLister lister_;
    QPrinter printer_{QPrinter::HighResolution};
    QString current_;
    QPainter painter_;
    // The virtual printer's running job: its PDF printer, the file it writes and where that goes.
    std::unique_ptr<QPrinter> file_;
    QString partFileName_;
    QString fileName_;
};

// Gives the context the installed printers and starts its report printer on them.
void AttachInstalledPrinters(TrpRunContext& context);
