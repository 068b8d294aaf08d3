#pragma once
// One print on the report printer, sheet by sheet. Nothing reaches the printer before the first
// sheet, which starts the job on its own paper. A sheet on another paper than the one before:
// a printer ends its job and starts another on that paper (so that a tray change takes effect);
// a file (the virtual printer's PDF, or a printer printing into one) changes paper between
// sheets, as a file cannot be split into jobs. A job neither ended nor aborted is aborted when
// the object goes, so a failure never leaves a job open.
#include <QString>

#include "report/file/PreparedReportFile.h"

class QPainter;
class TrpPlatformPrinter;
class TrpPrinter;

class TrpPrintJob {
public:
    // The job's title, the PDF file the virtual printer writes (it needs one) and the copies
    // of each sheet the printer is to make. EPrinter without a platform printer to print on.
    TrpPrintJob(TrpPrinter& printer, const QString& title, const QString& fileName, int copies);
    ~TrpPrintJob();
    TrpPrintJob(const TrpPrintJob&) = delete;
    TrpPrintJob& operator=(const TrpPrintJob&) = delete;

    // The copies of each sheet the printer makes itself: 1 for a file, which gets each sheet
    // as often as it is sent.
    int CopiesMade() const { return copiesMade_; }
    // Starts the next sheet on the paper and gives the canvas to draw it on. EPrinter when the
    // printer refuses the job or the sheet.
    QPainter& NewSheet(const TrpPreparedPaper& paper);
    // Ends the job (a file is put in place); nothing when no sheet was started.
    void End();
    void Abort();

private:
    void Begin(const TrpPreparedPaper& paper);

    TrpPrinter& printer_;
    TrpPlatformPrinter* platform_;
    // The printer the job was made for: one that hands over to the virtual printer on the way
    // (it is gone) ends the job.
    QString printerName_;
    bool virtual_;
    QString title_;
    QString fileName_;
    int copies_ = 1;
    int copiesMade_ = 1;
    QPainter* canvas_ = nullptr;   // while a job runs
};
