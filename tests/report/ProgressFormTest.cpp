// The progress window: long work runs inside its modal loop, its lines follow the pages, and
// Cancel stops the work through the report's Terminated flag.
#include "report/ui/ProgressForm.h"

#include "report/engine/Report.h"
#include "report/runtime/RunContext.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>

namespace {

class ProgressFormTest : public ::testing::Test {
protected:
    TrpRunContext context;
    TrpReport report{context};
    TrpProgressForm form{context};

    // Pages 1 to last, each shown as the driver shows a page; stops when the report is
    // terminated. Returns the number of pages done.
    int RunPages(int last, int cancelAt = 0)
    {
        int page = 1;
        for (; page <= last && !report.Terminated; ++page) {
            if (page == cancelAt)   // the user's press reaches the window through its events
                QMetaObject::invokeMethod(form.Button1, &QPushButton::click, Qt::QueuedConnection);
            form.ShowPage(page);
            lines.push_back(form.Label1->text());
            visibleWhileWorking = visibleWhileWorking && form.isVisible();
        }
        return page - 1;
    }

    std::vector<QString> lines;
    bool visibleWhileWorking = true;
};

} // namespace

TEST_F(ProgressFormTest, WorkRunsToItsEndInsideTheShownWindow)
{
    form.Label2->setText(QStringLiteral("left from the last run"));
    form.BeginWork(TProgressWork::Build, QString());
    int done = 0;
    form.OnWork = [&] {
        EXPECT_TRUE(form.Label2->text().isEmpty());
        done = RunPages(4);
        form.SetModalResult(mrOk);
    };
    EXPECT_EQ(form.ShowProgress(report), mrOk);
    EXPECT_EQ(done, 4);
    EXPECT_TRUE(visibleWhileWorking);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(report.Terminated);
    EXPECT_EQ(form.Button1->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(lines.back(), QStringLiteral("Processing page:  4"));
}

TEST_F(ProgressFormTest, CancelMidwayStopsTheWorkAndClosesWhenItReturns)
{
    form.BeginWork(TProgressWork::Build, QString());
    int done = 0;
    form.OnWork = [&] { done = RunPages(100, 3); };   // ends on the flag, without a result of its own
    EXPECT_EQ(form.ShowProgress(report), mrCancel);
    EXPECT_TRUE(report.Terminated);
    EXPECT_EQ(done, 3);                  // the press was seen while page 3 was shown
    EXPECT_TRUE(visibleWhileWorking);    // the window stayed until the work returned
    EXPECT_FALSE(form.isVisible());

    // The next run starts afresh: a driver clears the flag, and the window runs again.
    report.Terminated = false;
    lines.clear();
    form.OnWork = [&] {
        done = RunPages(2);
        form.SetModalResult(mrOk);
    };
    EXPECT_EQ(form.ShowProgress(report), mrOk);
    EXPECT_EQ(done, 2);
}

TEST_F(ProgressFormTest, WithoutWorkTheWindowWaitsForCancel)
{
    QTimer::singleShot(0, form.Button1, &QPushButton::click);
    EXPECT_EQ(form.ShowProgress(report), mrCancel);
    EXPECT_TRUE(report.Terminated);
}

TEST_F(ProgressFormTest, FailingWorkEndsTheWindowAndReachesTheCaller)
{
    form.OnWork = [] { throw std::runtime_error("disk full"); };
    EXPECT_THROW(form.ShowProgress(report), std::runtime_error);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ProgressFormTest, CaptionsOfEachKindOfWork)
{
    const struct {
        TProgressWork work;
        const char* title;
        const char* caption;
        const char* firstLine;
        std::optional<int> total;
        const char* pageLine;   // after ShowPage(7, total)
    } cases[] = {
        {TProgressWork::FirstPass, "", "Preparing report", "Performing 1st pass:  1", std::nullopt,
         "Performing 1st pass:  7"},
        {TProgressWork::Build, "Протокол", "Preparing report - Протокол", "Processing page:  1", 12,
         "Processing page:  7 from 12"},
        {TProgressWork::Print, "", "Preparing report", "Printing page:", std::nullopt, "Printing page:  7"},
        {TProgressWork::Export, "", "Preparing report", "Processing page:  1", 9, "Processing page:  7 from 9"},
    };
    for (const auto& c : cases) {
        form.BeginWork(c.work, QString::fromUtf8(c.title));
        EXPECT_EQ(form.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(form.Label1->text(), QString::fromUtf8(c.firstLine));
        form.ShowPage(7, c.total);
        EXPECT_EQ(form.Label1->text(), QString::fromUtf8(c.pageLine));
    }
}
