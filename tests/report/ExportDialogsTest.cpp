// The export filters' options dialogs: what they open with, what they read back whichever
// button closes them, and the context hook that runs them for a filter.
#include "report/ui/ExportDialogs.h"
#include "report/ui/RtfExportForm.h"
#include "report/ui/TextExportForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "report/export/RtfAdvExport.h"
#include "report/export/TextExport.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

// Changes the dialog that opens next, then presses one of its buttons.
template <class Form>
void WhenShown(const std::function<void(Form&)>& edit, int button)
{
    QTimer::singleShot(0, [edit, button] {
        auto* form = dynamic_cast<Form*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        edit(*form);
        (button == mrOk ? form->OK : form->Cancel)->click();
    });
}

TEST(ExportDialogs, TextOptionsAreReadBackEvenOnCancel)
{
    TrpRunContext context;
    InstallExportDialogs(context);
    TrpTextExport filter(context);
    filter.ScaleX = 1.5;
    filter.ExportFrames = false;
    {
        const TrpTXTExportForm form(filter);
        EXPECT_EQ(form.E1->text(), QStringLiteral("1.5"));
        EXPECT_EQ(form.E2->text(), QStringLiteral("1"));
        EXPECT_TRUE(form.CB1->isChecked());
        EXPECT_TRUE(form.CB5->isChecked());
        EXPECT_FALSE(form.CB4->isEnabled());   // only with frames
        EXPECT_TRUE(form.CBCodePage->isEnabled());
    }
    WhenShown<TrpTXTExportForm>(
        [](TrpTXTExportForm& form) {
            form.CB3->click();
            EXPECT_TRUE(form.CB4->isEnabled());
            form.CB4->setChecked(true);
            form.CB1->setChecked(false);
            form.CB2->setChecked(true);
            EXPECT_FALSE(form.CBCodePage->isEnabled());
            form.E1->setText(QStringLiteral("2,5"));
            form.E2->setText(QStringLiteral("много"));
        },
        mrCancel);
    EXPECT_EQ(filter.ShowModal(), mrCancel);
    EXPECT_TRUE(filter.ExportFrames);
    EXPECT_TRUE(filter.UsePseudographic);
    EXPECT_FALSE(filter.KillEmptyLines);
    EXPECT_TRUE(filter.ConvertToOEM);
    EXPECT_EQ(filter.ScaleX, 2.5);
    EXPECT_EQ(filter.ScaleY, 1.0);

    filter.ShowDialog = false;   // no dialog at all
    EXPECT_EQ(filter.ShowModal(), mrOk);
}

TEST(ExportDialogs, RtfOptionsSetTheRangeAndScales)
{
    TrpRunContext context;
    InstallExportDialogs(context);
    TrpRtfAdvExport filter(context);
    filter.ScaleX = 0.755;
    filter.TopMargin = 2.5;
    filter.PageBreaks = false;
    {
        const TrpRtfExpSet form(filter);
        EXPECT_EQ(form.E_ScaleX->text(), QStringLiteral("75"));
        EXPECT_EQ(form.E_ScaleY->text(), QStringLiteral("100"));
        EXPECT_EQ(form.E_TMargin->text(), QStringLiteral("2.5"));
        EXPECT_FALSE(form.CB_PageBreaks->isChecked());
        EXPECT_TRUE(form.CB_Pictures->isChecked());
    }
    WhenShown<TrpRtfExpSet>(
        [](TrpRtfExpSet& form) {
            form.E_Range->setText(QStringLiteral("2-3"));
            form.E_ScaleX->setText(QStringLiteral("50"));
            form.CB_Pictures->setChecked(false);
        },
        mrOk);
    EXPECT_EQ(filter.ShowModal(), mrOk);
    EXPECT_EQ(filter.PageRange, QStringLiteral("2-3"));
    EXPECT_EQ(filter.ScaleX, 0.5);
    EXPECT_FALSE(filter.ExportPictures);

    // A scale that is no whole number stops the export with a message; Cancel just closes.
    WhenShown<TrpRtfExpSet>([](TrpRtfExpSet& form) { form.E_ScaleY->setText(QString()); }, mrOk);
    EXPECT_THROW(filter.ShowModal(), EConvertError);
    WhenShown<TrpRtfExpSet>(
        [](TrpRtfExpSet& form) {
            form.E_ScaleY->setText(QString());
            form.CB_Pictures->setChecked(true);
        },
        mrCancel);
    EXPECT_EQ(filter.ShowModal(), mrCancel);
    EXPECT_TRUE(filter.ExportPictures);
}

} // namespace
