#pragma once
// The installed printers (CUPS) behind the report printer, over one QPrinter that every print
// job uses. Paper ids are Windows paper ids; a printer's papers are the sizes it supports, its
// sources those CUPS names (CupsPaperSources.h), and a job takes paper from the source last
// chosen. A printer that is not installed (the caller may list such names) prints into a PDF
// file and takes every paper. The virtual printer's jobs go into PDF files of their own
// (BeginFileDoc).
#include <functional>
#include <memory>

#include <QPainter>
#include <QPrinter>

#include "report/paper/PlatformPrinter.h"
#include "report/print/CupsPaperSources.h"

class TrpRunContext;

class TrpQtPrinter : public TrpPlatformPrinter {
public:
    using TPrinterLister = std::function<QStringList()>;
    using TSourceReader = std::function<std::vector<TrpPaperSource>(const QString& printer)>;

    // The printers come from the lister, asked afresh each time (by default the installed
    // printers), a printer's sources from the reader when it is chosen (by default those CUPS
    // gives an installed printer); the current one is the default printer, else the first.
    explicit TrpQtPrinter(TPrinterLister lister = {}, TSourceReader sources = {});

    QPrinter& Device() { return printer_; }
    // The options the next job gives CUPS beyond Qt's own: the chosen source's, as name and
    // value; none for the printer's default source.
    QStringList JobOptions() const;

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
    TSourceReader sourceReader_;
    QPrinter printer_{QPrinter::HighResolution};
    QString current_;
    // The current printer's sources, and the one chosen (a Windows source id; -1 the default).
    std::vector<TrpPaperSource> sources_;
    int bin_ = -1;
    QPainter painter_;
    // The virtual printer's running job: its PDF printer, the file it writes and where that goes.
    std::unique_ptr<QPrinter> file_;
    QString partFileName_;
    QString fileName_;
};

// Gives the context the installed printers and starts its report printer on them.
void AttachInstalledPrinters(TrpRunContext& context);
