// The preview's commands that work through the report: showing, the buttons the report asks
// for, opening and saving prepared reports, export, printing, page setup and closing.
#include <exception>

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QScrollBar>

#include "report/engine/BandRoom.h"
#include "report/engine/EMFPages.h"
#include "report/export/ExportFilter.h"
#include "report/objects/ObjectRegistry.h"
#include "report/runtime/ErrorBox.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"
#include "report/ui/FormPosition.h"
#include "report/ui/PBox.h"
#include "report/ui/PageSetupForm.h"
#include "report/ui/PreviewForm.h"
#include "report/ui/PrintForm.h"
#include "report/ui/SpeedButton.h"

namespace {

constexpr int kReportFileText = 55211;   // "Report file"
const QString kReportFileExtension = QStringLiteral(".rpp");

// The file name with its extension replaced by (or, without one, followed by) extension.
QString WithExtension(const QString& fileName, const QString& extension)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return (dot > slash ? fileName.left(dot) : fileName) + extension;
}

// A type of the file dialog: the description, with the mask in brackets unless it ends so.
QString NameFilter(const QString& description, const QString& mask)
{
    const QString bracketed = QStringLiteral("(%1)").arg(mask);
    return description.endsWith(bracketed) ? description : description + QLatin1Char(' ') + bracketed;
}

QString AskFileName(QWidget* parent, QFileDialog::AcceptMode mode, const QStringList& types, int type,
                    int& chosenType)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(mode == QFileDialog::AcceptOpen ? QStringLiteral("OpenDialog") : QStringLiteral("SaveDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(types);
    dialog.selectNameFilter(types.value(type));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    chosenType = int(types.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().constFirst();
}

} // namespace

void TrpPreviewForm::ShowPreview(TrpReport& report)
{
    TakePages(report);
    SetupButtons();
    ResetView(true);
    Localize();
    if (store_)
        RestoreFormPosition(*this, *store_);
    if (report.ModalPreview)
        exec();
    else
        show();
}

void TrpPreviewForm::SetupButtons()
{
    if (!report_)
        return;
    const TrpReport& r = *report_;
    const auto asked = [&r](TrpPreviewButton button) { return (r.PreviewButtons & button) != 0; };
    ZoomBtn->setVisible(asked(pbZoom));
    LoadBtn->setVisible(asked(pbLoad));
    SaveBtn->setVisible(asked(pbSave));
    PrintBtn->setVisible(asked(pbPrint));
    FindBtn->setVisible(asked(pbFind));
    PageSetupBtn->setVisible(asked(pbPageSetup));
    // Help and Close belong to a window of its own, never to an embedded preview.
    HelpBtn->setVisible(asked(pbHelp) && ToolbarOnWindow());
    ExitBtn->setVisible(asked(pbExit) && ToolbarOnWindow());
    rpTBSeparator1->setVisible(!ZoomBtn->isHidden());
    rpTBSeparator3->setVisible(!FindBtn->isHidden() || !HelpBtn->isHidden());
    const bool printer = !context_.ReportPrinter.Printers.isEmpty();
    PrintBtn->setEnabled(printer);
    PageSetupBtn->setEnabled(printer);
    if (r.InitialZoom != pzDefault)
        context_.LastScaleMode = r.InitialZoom == pzPageWidth ? smPageWidth
                                 : r.InitialZoom == pzOnePage ? smWholePage
                                                              : smTwoPages;
    // The program's own buttons on the strip too. The buttons have no meta-object of their own,
    // so only a dynamic cast tells them from the separators.
    for (QObject* child : Panel1->children())
        if (auto* button = dynamic_cast<TrpTBButton*>(child))
            button->SetGrayedInactive(r.GrayedButtons);
}

template <typename F>
void TrpPreviewForm::WithPagesReturned(F&& command)
{
    TrpReport& report = *report_;
    ReturnPages();
    try {
        command(report);
    } catch (const std::exception& error) {
        ShowErrorBox(context_, QString::fromUtf8(error.what()));
    }
    TakePages(report);
}

void TrpPreviewForm::LoadBtnClick()
{
    if (!HoldsPages() || !report_)
        return;
    int type = 0;
    const QString fileName = AskFileName(DialogParent(), QFileDialog::AcceptOpen,
                                         {NameFilter(LoadFrResString(context_, kReportFileText), QStringLiteral("*.rpp"))},
                                         0, type);
    if (fileName.isEmpty())
        return;
    // The report's list is the empty one while the window holds the pages: a file that does not
    // read leaves it so, and the window keeps what it shows.
    try {
        report_->LoadReportPages(fileName);
    } catch (const std::exception& error) {
        ShowErrorBox(context_, QString::fromUtf8(error.what()));
        return;
    }
    TakePages(*report_);
    ResetView(true);
}

void TrpPreviewForm::SaveBtnClick()
{
    if (!HoldsPages() || !report_)
        return;
    QStringList types{NameFilter(LoadFrResString(context_, kReportFileText), QStringLiteral("*.rpp"))};
    struct TType {
        QPointer<TrpExportFilter> Filter;
        QString Extension;   // the mask from its second character: "*.rtf" gives ".rtf"
    };
    std::vector<TType> exports;
    int preselected = 0;
    for (const TrpExportFilterInfo& info : ExportFilterTable()) {
        auto* filter = qobject_cast<TrpExportFilter*>(info.Filter.data());
        if (!filter)
            continue;
        if (filter->Default && preselected == 0)
            preselected = int(types.size());
        types << NameFilter(info.Description, info.FileMask);
        exports.push_back({filter, info.FileMask.mid(1)});
    }
    int type = 0;
    const QString fileName = AskFileName(DialogParent(), QFileDialog::AcceptSave, types, preselected, type);
    if (fileName.isEmpty() || type < 0)
        return;
    if (type == 0) {
        const QString name = WithExtension(fileName, kReportFileExtension);
        WithPagesReturned([&name](TrpReport& report) { report.SaveReportPages(name); });
        return;
    }
    const TType& chosen = exports[size_t(type - 1)];
    TrpExportFilter* filter = chosen.Filter;
    if (!filter)
        return;
    const QString name = WithExtension(fileName, chosen.Extension);
    WithPagesReturned([filter, &name](TrpReport& report) { report.RunExport(*filter, name); });
    ResetView(false);
}

void TrpPreviewForm::PrintBtnClick()
{
    if (!HoldsPages() || !report_ || context_.ReportPrinter.Printers.isEmpty())
        return;
    TrpPrinter& printer = context_.ReportPrinter;
    const int oldPrinter = printer.CurrentIndex;
    TrpPrintForm dialog(context_, DialogParent());
    dialog.E1->setText(QString::number(report_->DefaultCopies));
    dialog.CollateCB->setChecked(report_->DefaultCollate);
    if (report_->ShowPrintDialog && dialog.exec() != mrOk)
        return;
    if (report_->RebuildPrinter && printer.CurrentIndex != oldPrinter && pagesRebuildable_) {
        if (!report_->SwitchPrinter(oldPrinter, printer.CurrentIndex))
            return;
        WithPagesReturned([](TrpReport& report) { report.BuildReportPages(); });
    }
    const QString pageList = dialog.PageNumbers(CurPage);
    WithPagesReturned([&](TrpReport& report) {
        report.PrintReportPages(pageList, dialog.Copies(), dialog.Collate(), dialog.PrintPages());
    });
    ResetView(false);
}

void TrpPreviewForm::PageSetupBtnClick()
{
    // Also without pages: a build that failed leaves none, and the page setup is the way back.
    if (!report_)
        return;
    TrpPrinter& printer = context_.ReportPrinter;
    const int oldPrinter = printer.CurrentIndex;
    TrpPageSetupForm dialog(context_, printer, DialogParent());
    dialog.SetMargins(ShownMargins());
    dialog.CheckSheet = [report = report_](const TPaperGeometry& sheet, const QMargins& margins) {
        return report ? BandsRoomRefusal(*report, sheet, margins) : QString();
    };
    if (dialog.exec() != mrOk)
        return;
    const QMargins margins = dialog.Margins();
    // The printer chosen is the report's from now on: a build chooses the report's printer.
    if (printer.CurrentIndex != oldPrinter)
        report_->PrinterName = printer.Printers.value(printer.CurrentIndex);
    try {
        printer.SetPaper(dialog.PaperSize(), dialog.PaperWidth(), dialog.PaperHeight(), dialog.PaperBin(),
                         dialog.Orientation(), false);
        // A custom size goes on with its own width and height; another paper takes the printer's.
        const bool custom = printer.PaperSize == kCustomPaper;
        for (const auto& page : report_->Pages) {
            if (page->Type != ptReport)
                continue;
            page->LeftMargin = HundredthsMmToPageUnits(margins.left());
            page->TopMargin = HundredthsMmToPageUnits(margins.top());
            page->RightMargin = HundredthsMmToPageUnits(margins.right());
            page->BottomMargin = HundredthsMmToPageUnits(margins.bottom());
            page->ApplyPaper(printer.PaperSize, custom ? printer.PaperWidth : 0, custom ? printer.PaperHeight : 0,
                             printer.PaperBin, printer.Orientation);
        }
    } catch (const std::exception& error) {
        ShowErrorBox(context_, QString::fromUtf8(error.what()));
        return;
    }
    // Pages read from a file are not the template's: they stay, and the new setup waits for the
    // next build.
    if (!pagesRebuildable_ && HoldsPages())
        return;
    WithPagesReturned([](TrpReport& report) { report.BuildReportPages(); });
    ResetView(true);
}

QMargins TrpPreviewForm::ShownMargins() const
{
    const auto hundredths = [](int left, int top, int right, int bottom) {
        return QMargins(PageUnitsToHundredthsMm(left), PageUnitsToHundredthsMm(top), PageUnitsToHundredthsMm(right),
                        PageUnitsToHundredthsMm(bottom));
    };
    if (HoldsPages()) {
        const TrpEMFPage& first = pages_->Page(0);
        return hundredths(first.LeftMargin, first.TopMargin, first.RightMargin, first.BottomMargin);
    }
    for (const auto& page : report_->Pages)
        if (page->Type == ptReport)
            return hundredths(page->LeftMargin, page->TopMargin, page->RightMargin, page->BottomMargin);
    return {};
}

void TrpPreviewForm::ExitBtnClick()
{
    if (!report_)
        return;
    if (report_->ModalPreview)
        done(mrOk);
    else
        close();
}

void TrpPreviewForm::done(int result)
{
    if (store_ && isVisible())
        SaveFormPosition(*this, *store_);
    QDialog::done(result);
}

void InstallPreviewWindow(TrpRunContext& context, std::shared_ptr<KeyValueStore> store)
{
    context.ShowPreviewWindow = [&context, store](TrpReport& report, const QString& caption) {
        // A child of the report's window, so that it stays above it; a window of its own still.
        auto* form = new TrpPreviewForm(context, store.get(), qobject_cast<QWidget*>(report.parent()));
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->setWindowTitle(caption);
        form->ShowPreview(report);
    };
}
