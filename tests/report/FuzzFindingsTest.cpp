// Templates with which the fuzz target (tools/fuzz) found faults, each read and built as that
// target does, over the table and data source of PageBuildFixture.h: each ends in a clear error
// or a whole result, within the bounds of a reader of outside data.
#include <QBuffer>

#include "PageBuildFixture.h"
#include "TestData.h"
#include "support/BoundedRun.h"

namespace {

class TemplateFuzzFindings : public ::testing::Test, public ReportBuild {
protected:
    TemplateFuzzFindings()
    {
        AddRow(QStringLiteral("1-1"), 12.5);
        AddRow(QStringLiteral("1-2"), -3.25);
        AddRow(QStringLiteral("2-1"), 30);
        context.MessageBox = [this](const QString& text, const QString&, int) {
            boxes << text;
            return 1;
        };
        report->ShowProgress = false;
    }

    QStringList boxes;
};

} // namespace

TEST_F(TemplateFuzzFindings, EachEndsInAClearErrorOrAWholeBuild)
{
    const struct {
        const char* file;
        bool builds;
        const char* box;   // a part of the one error box shown; none for a whole build
    } cases[] = {
        // A memo split across pages whose gaps are taller than the page: what is left of it after
        // each part would be as tall again, page after page, until its height overflowed.
        {"fuzz_findings/template-gaps-taller-than-the-page.template", false, "fits on no page"},
    };
    for (const auto& c : cases) {
        boxes.clear();
        ExpectBounded(c.file, [&] {
            QBuffer stream;
            stream.setData(TestDataFile(c.file));
            ASSERT_TRUE(stream.open(QIODevice::ReadOnly));
            ASSERT_TRUE(report->LoadFromStream(stream)) << c.file;
            EXPECT_EQ(report->BuildReportPages(), c.builds) << c.file;
        });
        if (c.box) {
            ASSERT_EQ(boxes.size(), 1) << c.file;
            EXPECT_TRUE(boxes[0].contains(QLatin1String(c.box))) << c.file << ": " << boxes[0].toStdString();
        } else {
            EXPECT_TRUE(boxes.isEmpty()) << c.file;
        }
    }
}
