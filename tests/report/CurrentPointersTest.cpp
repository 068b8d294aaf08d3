// The run variables that point into reports, pages, bands and objects end with the work that set
// them, whichever way it ends: a build that succeeds or fails, an export whose filter throws, a
// damaged template or prepared page. A failure still names the object it came out of.
#include <gtest/gtest.h>

#include <stdexcept>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "PageBuildFixture.h"
#include "report/export/ExportFilter.h"
#include "report/file/StreamPrimitives.h"

namespace {

// A filter that fails at the first object handed to it, as the text export does with text
// below the page's edge.
class FailingFilter : public TrpExportFilter {
public:
    void OnData(int, int, TrpView*) override { throw std::runtime_error("text lies below the page edge"); }
};

class CurrentPointers : public ::testing::Test, public ReportBuild {
protected:
    CurrentPointers()
    {
        AddRow(QStringLiteral("С1"), 1);
        AddBand(btMasterData, 0, 40, QStringLiteral("Row"));
        AddMemo(0, 0, 200, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("fSilo"));
        context.MessageBox = [this](const QString& text, const QString&, int) {
            boxes << text;
            return 1;
        };
    }

    // Every pointer into a report, a page, a band or an object is empty.
    void ExpectNoneLeft(const char* after) const
    {
        EXPECT_EQ(context.CurrentReport, nullptr) << after;
        EXPECT_EQ(context.RootReport, nullptr) << after;
        EXPECT_EQ(context.CurrentPage, nullptr) << after;
        EXPECT_EQ(context.CurrentBand, nullptr) << after;
        EXPECT_EQ(context.CurrentView, nullptr) << after;
    }

    QStringList boxes;
};

}  // namespace

TEST_F(CurrentPointers, EveryWorkEndsWithNoneLeftWhateverWayItEnds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto breakMemo = [this] {
        auto* memo = static_cast<TrpMemoView*>(report->FindObject(QStringLiteral("fSilo")));
        memo->Memo = QStringList{QStringLiteral("[NoSuchName]")};
    };
    const struct {
        const char* work;
        std::function<void()> run;
    } works[] = {
        {"a build", [this] { EXPECT_TRUE(report->BuildReportPages()); }},
        {"showing the pages", [this] { report->ShowReportPages(); }},
        {"an export whose filter throws",
         [&] {
             FailingFilter filter;
             EXPECT_THROW(report->RunExport(filter, dir.filePath(QStringLiteral("out.txt"))), std::exception);
         }},
        {"drawing a page",
         [this] {
             QImage image(100, 140, QImage::Format_RGB32);
             QPainter painter(&image);
             report->EMFPages->Page(0).Visible = true;
             report->EMFPages->Draw(0, painter, image.rect());
         }},
        {"drawing a damaged page",
         [this] {
             report->EMFPages->ReleaseObjects(0);
             TrpEMFPage& page = report->EMFPages->Page(0);
             page.ObjectStream.buffer().append(char(otMemo));   // an entry cut short
             QImage image(100, 140, QImage::Format_RGB32);
             QPainter painter(&image);
             EXPECT_THROW(report->EMFPages->Draw(0, painter, image.rect()), EReadError);
         }},
        {"a failed build", [&] {
             breakMemo();
             EXPECT_FALSE(report->BuildReportPages());
         }},
        {"reading a damaged template",
         [this] {
             QBuffer damaged;
             damaged.open(QIODevice::ReadWrite);
             WriteFrByte(damaged, kCurrentTemplateVersion);
             WriteFrWord(damaged, 0);
             WriteFrWord(damaged, 0);
             WriteFrString(damaged, QString());
             WriteFrByte(damaged, 255);   // a page record cut short
             damaged.seek(0);
             EXPECT_FALSE(report->LoadFromStream(damaged));
         }},
    };
    for (const auto& w : works) {
        w.run();
        ExpectNoneLeft(w.work);
    }
    // The report goes with nothing pointing at it or its objects.
    report.reset();
    ExpectNoneLeft("freeing the report");
}

TEST_F(CurrentPointers, AFailureNamesTheObjectItCameOutOf)
{
    // Measured before it prints (the band stretches), the memo fails outside any catch of its
    // own: the message still names it.
    TrpBandView* band = static_cast<TrpBandView*>(report->FindObject(QStringLiteral("Row")));
    band->Flags |= kFlagStretched;
    auto* memo = static_cast<TrpMemoView*>(report->FindObject(QStringLiteral("fSilo")));
    memo->Flags |= kFlagStretched;
    memo->Memo = QStringList{QStringLiteral("[NoSuchName]")};
    EXPECT_FALSE(report->BuildReportPages());
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("Object: fSilo"))) << boxes[0].toStdString();
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("An error occured during calculating\n[NoSuchName]")))
        << boxes[0].toStdString();
    ExpectNoneLeft("the failed build");
}
