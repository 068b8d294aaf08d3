// The preview's commands that work through the report: saving as a prepared report and opening
// it again, export under the filter chosen, printing, page setup with its rebuild, the embedded
// preview lending the pages back, and the separate window with its buttons and place.
#include <gtest/gtest.h>

#include <algorithm>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "PageBuildFixture.h"
#include "PreviewFixture.h"
#include "platform/qt/KeyValueStore.h"
#include "report/export/TextExport.h"
#include "report/objects/ObjectRegistry.h"
#include "report/paper/PaperTable.h"
#include "report/print/QtPrinter.h"
#include "report/ui/PageSetupForm.h"
#include "report/ui/PrintForm.h"
#include "report/ui/Preview.h"
#include "report/ui/SpeedButton.h"

namespace {

// Five records, two a page: three pages on the virtual printer, which prints into a PDF file.
class PreviewCommands : public ::testing::Test, public ReportBuild {
protected:
    PreviewCommands()
    {
        context.PlatformPrinter = std::make_unique<TrpQtPrinter>([] { return QStringList(); });
        StartReportPrinter(context);
        context.PdfFileDialog = [this](const QString&) { return Path("printed.pdf"); };
        context.MessageBox = [this](const QString& text, const QString&, int) {
            boxes << text;
            return 1;
        };
        for (int i = 1; i <= 5; ++i)
            AddRow(QStringLiteral("С%1").arg(i), i);
        AddBand(btMasterData, 0, 400, QStringLiteral("Row"));
        AddMemo(0, 0, 200, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("fSilo"));
        report->ShowProgress = false;
        report->Title = QStringLiteral("Протокол");
    }

    // The report built and its pages shown in the window.
    void ShowBuilt()
    {
        ASSERT_TRUE(report->BuildReportPages());
        form.TakePages(*report);
        form.SetupButtons();
        form.setWindowState(Qt::WindowNoState);
        form.resize(800, 600);
        form.show();
        form.ResetView(true);
    }

    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    // The design page: a build reads the template back, so the page is a new one after it.
    TrpPage& Design() const { return *report->Pages.front(); }

    // The file dialog answered: the type of that index and the name typed.
    void ChooseFile(int type, const QString& fileName, QString* preselected = nullptr)
    {
        WhenShown<QFileDialog>([=](QFileDialog& dialog) {
            if (preselected)
                *preselected = dialog.selectedNameFilter();
            dialog.selectNameFilter(dialog.nameFilters().value(type));
            dialog.selectFile(fileName);
            static_cast<QDialog&>(dialog).accept();
        });
    }

    // The first memo's text on each page the window holds.
    QStringList ShownTexts()
    {
        QStringList texts;
        TrpEMFPages& pages = *form.Pages();
        for (int i = 0; i < pages.Count(); ++i) {
            pages.RestoreObjects(i);
            texts << pages.Page(i).LivePage->Objects.front()->Memo.join(QString()).remove(kParagraphEnd);
        }
        return texts;
    }

    QTemporaryDir folder;
    QStringList boxes;
    TrpPreviewForm form{context};
};

TEST_F(PreviewCommands, TheToolbarShowsTheButtonsTheReportAsksFor)
{
    auto* own = new TrpTBButton(form.Panel1);   // as the program adds its buttons
    const struct {
        TrpPreviewButtons buttons;
        QStringList shown;
    } cases[] = {
        {pbZoom | pbLoad | pbSave | pbPrint | pbFind | pbHelp | pbExit,
         {"ZoomBtn", "rpTBSeparator1", "LoadBtn", "SaveBtn", "PrintBtn", "rpTBSeparator2", "FindBtn", "HelpBtn",
          "rpTBSeparator3", "ExitBtn"}},
        {pbPrint | pbPageSetup, {"PrintBtn", "PageSetupBtn", "rpTBSeparator2"}},
        {pbHelp, {"rpTBSeparator2", "HelpBtn", "rpTBSeparator3"}},
        {pbZoom | pbExit, {"ZoomBtn", "rpTBSeparator1", "rpTBSeparator2", "ExitBtn"}},
    };
    ASSERT_TRUE(report->BuildReportPages());
    form.TakePages(*report);
    for (const auto& c : cases) {
        report->PreviewButtons = c.buttons;
        form.SetupButtons();
        QStringList shown;
        for (QObject* child : form.Panel1->children())
            if (auto* control = qobject_cast<QWidget*>(child); control && control != own && !control->isHidden())
                shown << control->objectName();
        EXPECT_EQ(shown, c.shown) << c.buttons;
    }
    report->GrayedButtons = true;
    form.SetupButtons();
    EXPECT_TRUE(own->GrayedInactive());
    EXPECT_TRUE(form.ZoomBtn->GrayedInactive());
    EXPECT_TRUE(form.PrintBtn->isEnabled()) << "the virtual printer prints";
}

TEST_F(PreviewCommands, SavedAsAPreparedReportAndOpenedAgain)
{
    ShowBuilt();
    const QStringList built = ShownTexts();
    ASSERT_EQ(built, (QStringList{QStringLiteral("С1"), QStringLiteral("С3"), QStringLiteral("С5")}));

    ChooseFile(0, Path("protocol.rtf"));
    form.SaveBtnClick();
    EXPECT_TRUE(QFile::exists(Path("protocol.rpp"))) << "the prepared report's own extension";
    EXPECT_FALSE(QFile::exists(Path("protocol.rtf")));
    EXPECT_EQ(form.PageCount(), 3) << "the pages came back to the window";
    EXPECT_EQ(report->EMFPages->Count(), 0);

    // Something else shown, then the file opened.
    form.ReturnPages();
    table.First();
    while (table.RecordCount() > 1)
        table.Delete();
    ASSERT_TRUE(report->BuildReportPages());
    form.TakePages(*report);
    form.ResetView(true);
    ASSERT_EQ(form.PageCount(), 1);
    ChooseFile(0, Path("protocol.rpp"));
    form.LoadBtnClick();
    EXPECT_EQ(ShownTexts(), built);
    EXPECT_EQ(form.CurPage, 1);
    EXPECT_FALSE(report->Rebuildable) << "opened, not built";
    EXPECT_EQ(form.Label1->text().right(2), QStringLiteral("/3"));

    // A file that does not read is told and leaves what is shown.
    QFile bad(Path("bad.rpp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a prepared report");
    bad.close();
    ChooseFile(0, Path("bad.rpp"));
    form.LoadBtnClick();
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_EQ(ShownTexts(), built);
}

TEST_F(PreviewCommands, ExportUnderTheFilterChosenWithItsExtension)
{
    TrpTextExport text(context);
    text.ShowDialog = false;
    text.Default = true;
    ShowBuilt();
    form.PgDownClick();
    QString preselected;
    const int textType = 1 + int(std::find_if(ExportFilterTable().begin(), ExportFilterTable().end(),
                                              [&](const TrpExportFilterInfo& info) { return info.Filter == &text; }) -
                                 ExportFilterTable().begin());
    ChooseFile(textType, Path("protocol.rpp"), &preselected);
    form.SaveBtnClick();
    EXPECT_TRUE(preselected.contains(QStringLiteral("*.txt"))) << "the default filter comes first";
    QFile exported(Path("protocol.txt"));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(exported.readAll());
    EXPECT_TRUE(written.contains(QStringLiteral("С1")) && written.contains(QStringLiteral("С5")));
    EXPECT_FALSE(QFile::exists(Path("protocol.rpp")));
    EXPECT_EQ(form.PageCount(), 3);
    EXPECT_EQ(form.CurPage, 2) << "the view stays where it was";
}

TEST_F(PreviewCommands, PrintingLendsThePagesToTheJob)
{
    std::vector<int> printed;
    ShowBuilt();
    report->OnProgress = [&printed](int pageNo) { printed.push_back(pageNo); };
    form.PgDownClick();
    WhenShown<TrpPrintForm>([](TrpPrintForm& dialog) {
        EXPECT_EQ(dialog.E1->text(), QStringLiteral("2")) << "the report's copies";
        dialog.E1->setText(QStringLiteral("1"));
        dialog.RB2->setChecked(true);   // the current page
        dialog.Button1->click();
    });
    report->DefaultCopies = 2;
    form.PrintBtnClick();
    EXPECT_EQ(printed, std::vector<int>{2});
    EXPECT_EQ(form.PageCount(), 3);
    EXPECT_EQ(report->EMFPages->Count(), 0);

    printed.clear();
    report->ShowPrintDialog = false;   // the report's own copies, every page
    report->DefaultCollate = true;
    form.PrintBtnClick();
    EXPECT_EQ(printed, (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PreviewCommands, PageSetupRebuildsWithTheMarginsAndPaperChosen)
{
    page->LeftMargin = 20;
    page->TopMargin = 15;
    page->RightMargin = 10;
    page->BottomMargin = 10;
    ShowBuilt();
    form.PgDownClick();
    WhenShown<TrpPageSetupForm>([](TrpPageSetupForm& dialog) {
        EXPECT_EQ(dialog.Margins(), QMargins(555, 416, 277, 277));
        dialog.Button2->click();
    });
    form.PageSetupBtnClick();
    EXPECT_EQ(Design().LeftMargin, 20) << "Cancel changes nothing";
    EXPECT_EQ(form.CurPage, 2);

    WhenShown<TrpPageSetupForm>([](TrpPageSetupForm& dialog) {
        dialog.ELeft->setValue(10.0);
        dialog.RBLandscape->setChecked(true);
        dialog.Button1->click();
    });
    form.PageSetupBtnClick();
    EXPECT_EQ(Design().LeftMargin, 36);
    EXPECT_EQ(Design().TopMargin, 15) << "a margin confirmed unchanged stays";
    EXPECT_EQ(Design().Orientation, poLandscape);
    ASSERT_GT(form.PageCount(), 0);
    const TrpEMFPage& first = form.Pages()->Page(0);
    EXPECT_EQ(first.LeftMargin, 36) << "built again";
    EXPECT_GT(first.PaperGeometry.PageWidth, first.PaperGeometry.PageHeight);
    EXPECT_EQ(form.CurPage, 1);
    EXPECT_EQ(report->EMFPages->Count(), 0);

    // A rebuild that prints no page leaves an empty preview.
    report->PrintIfEmpty = false;
    table.First();
    while (table.RecordCount() > 0)
        table.Delete();
    WhenShown<TrpPageSetupForm>([](TrpPageSetupForm& dialog) { dialog.Button1->click(); });
    form.PageSetupBtnClick();
    EXPECT_EQ(form.PageCount(), 0);
    EXPECT_TRUE(form.Label1->text().isEmpty());
    form.PBox->repaint();
}

TEST_F(PreviewCommands, PageSetupChoosesThePrinterTheRebuildKeeps)
{
    context.PlatformPrinter = std::make_unique<TrpQtPrinter>([] { return QStringList{"PDF A", "PDF B"}; });
    StartReportPrinter(context);
    report->PrinterName = QStringLiteral("PDF A");   // the template names its printer
    ShowBuilt();
    WhenShown<TrpPageSetupForm>([](TrpPageSetupForm& dialog) {
        dialog.CBPrinter->setCurrentIndex(1);
        emit dialog.CBPrinter->activated(1);
        dialog.RBLandscape->setChecked(true);
        dialog.Button1->click();
    });
    form.PageSetupBtnClick();
    EXPECT_EQ(context.ReportPrinter.CurrentIndex, 1) << "the rebuild chose the report's printer";
    EXPECT_EQ(report->PrinterName, QStringLiteral("PDF B"));
    ASSERT_GT(form.PageCount(), 0);
    const TPaperGeometry& sheet = form.Pages()->Page(0).PaperGeometry;
    EXPECT_GT(sheet.PageWidth, sheet.PageHeight) << "built on the paper chosen with it";
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
}

// A custom size is asked in millimetres. The record band is 400 units high; a sheet of h tenths
// of a millimetre is round(h x 91.6256157635468 / 254) units high with the margins off, so
// 110.7 mm give round(399.3) = 399 units, one short, and 110.8 mm give round(399.7) = 400:
// one record a page, five pages.
TEST_F(PreviewCommands, PageSetupRefusesACustomSheetTooSmallForTheBandsAndTakesTheNearestThatFits)
{
    ShowBuilt();
    TrpPrinter& printer = context.ReportPrinter;
    const int paper = printer.PaperSize;
    bool refused = false;
    WhenShown<TrpPageSetupForm>([&](TrpPageSetupForm& dialog) {
        dialog.CBPaper->setCurrentIndex(dialog.CBPaper->findData(kCustomPaper));
        EXPECT_TRUE(dialog.EWidth->isEnabled());
        dialog.EWidth->setValue(210.0);
        dialog.EHeight->setValue(110.7);
        dialog.Button1->click();
        refused = dialog.isVisible();
        EXPECT_EQ(printer.PaperSize, paper) << "the printer keeps its paper";
        EXPECT_EQ(Design().Size, paper) << "nothing applied";
        dialog.EHeight->setValue(110.8);
        dialog.Button1->click();
    });
    form.PageSetupBtnClick();
    EXPECT_TRUE(refused);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.front().contains(QStringLiteral("не помещаются"))) << boxes.front().toStdString();
    EXPECT_EQ(Design().Size, kCustomPaper);
    EXPECT_EQ(Design().PaperWidth, 2100);
    EXPECT_EQ(Design().PaperHeight, 1108);
    ASSERT_EQ(form.PageCount(), 5);
    EXPECT_EQ(form.Pages()->Page(0).PaperGeometry.PageHeight, 400);
}

// A build that fails leaves the window without pages; its page setup still opens, and a paper
// the bands fit on builds the pages again.
TEST_F(PreviewCommands, PageSetupStaysReachableAfterAFailedBuild)
{
    AddBand(btReportTitle, 0, 92, QStringLiteral("ReportTitle1"));
    AddBand(btPageHeader, 0, 89, QStringLiteral("PageHeader1"))->Flags = bfOnFirstPage | bfOnLastPage;
    ShowBuilt();
    ASSERT_GT(form.PageCount(), 0);
    // A custom size without its size, set by hand: no band fits on the sheet.
    Design().ApplyPaper(kCustomPaper, 0, 0, -1, poPortrait);
    form.ReturnPages();
    EXPECT_FALSE(report->BuildReportPages());
    form.TakePages(*report);
    ASSERT_EQ(form.PageCount(), 0);
    boxes.clear();
    bool shown = false;
    WhenShown<TrpPageSetupForm>([&](TrpPageSetupForm& dialog) {
        shown = true;
        EXPECT_EQ(dialog.PaperSize(), kCustomPaper);
        dialog.CBPaper->setCurrentIndex(dialog.CBPaper->findData(kPaperA4));
        dialog.Button1->click();
    });
    form.PageSetupBtnClick();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(Design().Size, kPaperA4);
    EXPECT_GT(form.PageCount(), 0) << "built again";
}

TEST_F(PreviewCommands, PageSetupLeavesPagesOpenedFromAFile)
{
    ShowBuilt();
    ChooseFile(0, Path("kept.rpp"));
    form.SaveBtnClick();
    ChooseFile(0, Path("kept.rpp"));
    form.LoadBtnClick();
    const QStringList opened = ShownTexts();
    table.First();
    table.Delete();
    WhenShown<TrpPageSetupForm>([](TrpPageSetupForm& dialog) {
        dialog.ELeft->setValue(10.0);
        dialog.Button1->click();
    });
    form.PageSetupBtnClick();
    EXPECT_EQ(Design().LeftMargin, 36) << "the template takes the setup for its next build";
    EXPECT_EQ(ShownTexts(), opened) << "the pages opened are not replaced by a build of the template";
}

TEST_F(PreviewCommands, BuiltPagesAreRebuiltWhileTheReportShowsAFileInAnotherWindow)
{
    ShowBuilt();
    ChooseFile(0, Path("saved.rpp"));
    form.SaveBtnClick();
    // The report reads a saved file into its own (empty) list for a window of its own.
    report->LoadReportPages(Path("saved.rpp"));
    {
        TrpPreviewForm other(context);
        other.TakePages(*report);
    }
    table.First();
    table.Delete();
    WhenShown<TrpPageSetupForm>([](TrpPageSetupForm& dialog) { dialog.Button1->click(); });
    form.PageSetupBtnClick();
    EXPECT_EQ(form.PageCount(), 2) << "built again without the record deleted";
    EXPECT_EQ(report->EMFPages->Count(), 0);
}

TEST_F(PreviewCommands, TheEmbeddedPreviewHoldsThePagesAndLendsThemBack)
{
    TrpPreview preview(context);
    preview.resize(700, 500);
    preview.show();
    std::vector<int> told;
    preview.OnPageChanged = [&told](TrpPreview*, int pageNo) { told.push_back(pageNo); };
    report->SetPreview(&preview);
    report->PreviewButtons |= pbPageSetup;
    report->ShowReport();
    EXPECT_EQ(preview.ShownReport(), report.get());
    EXPECT_EQ(preview.Window->PageCount(), 3);
    EXPECT_EQ(report->EMFPages->Count(), 0);
    EXPECT_FALSE(told.empty());
    EXPECT_EQ(preview.Window->PreviewPanel->parentWidget(), &preview);
    EXPECT_NE(preview.Window->TPanel->parentWidget(), &preview) << "no tool bar unless asked for";

    TrpTextExport text(context);
    text.ShowDialog = false;
    ASSERT_TRUE(report->RunExport(text, Path("shown.txt")));
    EXPECT_TRUE(QFile::exists(Path("shown.txt")));
    EXPECT_EQ(preview.Window->PageCount(), 3) << "shown again after the export";

    preview.SetShowToolbar(true);
    ASSERT_EQ(preview.Window->TPanel->parentWidget(), &preview);
    report->ShowReport();
    const TrpPreviewForm& window = *preview.Window;
    for (QWidget* button : {static_cast<QWidget*>(window.ZoomBtn), static_cast<QWidget*>(window.PageSetupBtn),
                            static_cast<QWidget*>(window.PrintBtn)})
        EXPECT_TRUE(button->isVisible()) << button->objectName().toStdString();
    EXPECT_FALSE(window.HelpBtn->isVisible()) << "help and close belong to a window of its own";
    EXPECT_FALSE(window.ExitBtn->isVisible());
    preview.SetShowToolbar(false);
    EXPECT_FALSE(window.TPanel->isVisible());
    EXPECT_EQ(window.PageCount(), 3) << "the pages show without the buttons";
}

TEST_F(PreviewCommands, AReportWithoutAnEmbeddedPreviewShowsAWindowOfItsOwn)
{
    QTemporaryDir home;
    const auto shared = std::make_shared<KeyValueStore>(home.filePath(QStringLiteral("user.ini")));
    KeyValueStore& store = *shared;
    InstallPreviewWindow(context, shared);
    const QString key = QStringLiteral("Software\\ReportEngine\\Form\\TrpPreviewForm");

    report->InitialZoom = pzTwoPages;
    bool shown = false;
    WhenShown<TrpPreviewForm>([&](TrpPreviewForm& window) {
        shown = true;
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Preview - Протокол"));
        EXPECT_EQ(window.PageCount(), 3);
        EXPECT_TRUE(window.isMaximized()) << "no place stored yet";
        EXPECT_EQ(window.ScaleMode, smTwoPages) << "the report's first zoom";
        EXPECT_TRUE(window.HelpBtn->isVisible());
        EXPECT_TRUE(window.ExitBtn->isVisible());
        EXPECT_FALSE(window.PageSetupBtn->isVisible()) << "not among the report's buttons";
        window.ExitBtnClick();
    });
    report->ShowReport();
    EXPECT_TRUE(shown);
    EXPECT_EQ(report->EMFPages->Count(), 0) << "the window freed the pages with itself";
    EXPECT_EQ(store.ReadString(key, QStringLiteral("Maximized")), QStringLiteral("1"));

    store.WriteString(key, QStringLiteral("Maximized"), QStringLiteral("0"));
    store.WriteString(key, QStringLiteral("Width"), QStringLiteral("600"));
    store.WriteString(key, QStringLiteral("Height"), QStringLiteral("400"));
    WhenShown<TrpPreviewForm>([](TrpPreviewForm& window) {
        EXPECT_FALSE(window.isMaximized());
        EXPECT_EQ(window.size(), QSize(600, 400));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window.ScrollBox1, &escape);
    });
    report->ShowReport();
    EXPECT_EQ(store.ReadString(key, QStringLiteral("Width")), QStringLiteral("600"));
}

} // namespace
