// The operator's dialogs shown as on a desktop, in the fonts of one (DejaVu Sans and Liberation
// Sans at desktop sizes): no label, button, box title or window title is cut.
#include "AppTestEnvironment.h"
#include "CutTexts.h"
#include "ScriptedModal.h"

#include "MainWindowUnderTest.h"
#include "app/board/BoardHost.h"
#include "app/detail/DetailTree.h"
#include "app/detail/DetailView.h"
#include "app/dialogs/FDataLink.h"
#include "app/dialogs/FSelectTable.h"
#include "app/dialogs/FSiloBinParam.h"
#include "app/dialogs/FSilosParam.h"
#include "app/files/FBackup.h"
#include "app/main/FMain.h"
#include "app/main/LongLivedWindows.h"
#include "app/main/ModalRunner.h"
#include "app/main/RussianReportTexts.h"
#include "app/reports/FPrintColor.h"
#include "app/reports/FReportTime.h"
#include "app/reports/FSelTemperature.h"
#include "app/users/FPasswordDlg.h"
#include "app/users/FUser.h"
#include "core/Device/Device.h"
#include "report/export/RtfAdvExport.h"
#include "report/export/TextExport.h"
#include "report/runtime/RunContext.h"
#include "report/ui/RtfExportForm.h"
#include "report/ui/TextExportForm.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QToolButton>

namespace {

struct TDesktopFont {
    const char* family;
    int points;
};
void PrintTo(const TDesktopFont& font, std::ostream* os) { *os << font.family << ' ' << font.points << "pt"; }

class DialogTextsFit : public ::testing::TestWithParam<TDesktopFont> {
protected:
    DialogTextsFit() : saved_(QApplication::font())
    {
        QApplication::setFont(QFont(QString::fromLatin1(GetParam().family), GetParam().points));
        window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid", "no_com"}, modal);
        window->show();
        QCoreApplication::processEvents();
        window->aList.UpdateAll();
    }
    ~DialogTextsFit() override
    {
        window->Modified = false;
        window->close();
        window.reset();
        QApplication::setFont(saved_);
    }

    // Shows the dialog as the program would and tells what it cuts.
    static QStringList Shown(QDialog& dialog)
    {
        dialog.show();
        QCoreApplication::processEvents();
        QStringList cut = CutTexts(dialog);
        dialog.hide();
        return cut;
    }
    // The next dialog run by the program is looked at and closed.
    void ThenLookAt(std::vector<QString>& seen)
    {
        modal.ThenDialog([this, &seen](QDialog& dialog) {
            Expect(dialog.objectName(), Shown(dialog));
            seen.push_back(dialog.objectName());
            return int(QDialog::Rejected);
        });
    }
    static void Expect(const QString& name, const QStringList& cut)
    {
        EXPECT_TRUE(cut.isEmpty()) << name.toStdString() << ": " << cut.join("; ").toStdString();
    }
    // A dialog made here is shown through the program's runner, as the program shows it.
    void LookAt(QDialog& dialog)
    {
        std::vector<QString> seen;
        ThenLookAt(seen);
        ExecModal(dialog);
        EXPECT_EQ(seen.size(), 1u);
    }

    QFont saved_;
    TAppFolders folders;
    TScriptedModal modal;
    std::unique_ptr<TfmMain> window;
};

TEST_P(DialogTextsFit, TheMainWindowsDialogs)
{
    CreateLongLivedWindows(*window);
    DetalViewOf(*window->vtDetal)->ShowSilosDetail("СК 1 силос 1", window->Board->FrameSuspensions(0)[0]);
    window->aList.UpdateAll();
    std::vector<QString> seen;
    for (QAction* action : {window->acParamCom, window->acHardCnfg, window->acMaxT, window->acSetProp,
                            window->acTITParam, window->acGraphParam, window->asPrecision, window->acTimePeriod,
                            window->acTimerParam, window->acOverlay, window->acControllers, window->acMB,
                            window->acExecProc, window->acAbout, window->acReportColor, window->N56}) {
        ThenLookAt(seen);
        action->trigger();
    }
    EXPECT_EQ(seen.size(), 16u);
    EXPECT_TRUE(modal.dialogs.empty());
}

TEST_P(DialogTextsFit, TheDatabaseDialogsWithAndWithoutAConnection)
{
    Parameters settings;
    settings.DBConnection = "Provider=SQLite;Data Source=" + folders.HomeFile("missing/readings.db");
    TfmSelectTable table(settings, nullptr, &modal.Window);
    table.FormShow();
    LookAt(table);
    TfmDataLink link(settings.DBConnection, &modal.Window);
    LookAt(link);
}

TEST_P(DialogTextsFit, TheSmallerDialogs)
{
    modal.standingResults.clear();   // the backup offer is looked at, not declined
    TfmBackup backup(&modal.Window);
    LookAt(backup);
    TfmPasswordDlg login({}, &modal.Window);
    LookAt(login);
    TfmUser user(&modal.Window);
    LookAt(user);
    TfmReportTime time(45000.5, &modal.Window);
    LookAt(time);
    TfmSelTemperature range(nullptr, &modal.Window);
    LookAt(range);
    TfmSilosParam card(window->Board->FrameSuspensions(0)[0], 1, &modal.Window);
    LookAt(card);
}

// The report engine's export options, in the Russian texts an operator reads: the page range
// hint wraps whole.
TEST_P(DialogTextsFit, TheExportOptions)
{
    TrpRunContext context;
    InstallRussianReportTexts(context);
    TrpRtfAdvExport rtf(context);
    TrpRtfExpSet rtfOptions(rtf, &modal.Window);
    Expect("rtf", Shown(rtfOptions));
    TrpTextExport text(context);
    TrpTXTExportForm textOptions(text, &modal.Window);
    Expect("text", Shown(textOptions));
}

INSTANTIATE_TEST_SUITE_P(DesktopFonts, DialogTextsFit,
                         ::testing::Values(TDesktopFont{"DejaVu Sans", 10}, TDesktopFont{"Liberation Sans", 11}),
                         [](const auto& info) { return std::string(info.param.family).substr(0, 3) + std::to_string(info.param.points); });

} // namespace
