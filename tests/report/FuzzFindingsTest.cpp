// Inputs with which the fuzz targets (tools/fuzz) or hand-made pictures found faults: templates,
// each read and built as that target does, over the table and data source of PageBuildFixture.h,
// and old Windows metafile pictures, each decoded and drawn as a picture object does. Each ends
// in a clear error or a whole result, within the bounds of a reader of outside data.
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "PageBuildFixture.h"
#include "report/graphic/Graphic.h"
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

TEST(MetafileFuzzFindings, EachPictureIsRefusedWithThePictureError)
{
    // Pictures of a few hundred octets whose bitmap records the library would have read as
    // their headers say: it skipped without end, read outside its buffers, or filled gigabytes.
    const char* files[] = {
        // A bitmap header of 20 octets: the library skips "20 - 40" octets as an unsigned number.
        "fuzz_findings/wmf-bitmap-header-of-20-octets.wmf",
        // A pattern brush record that ends after its style and colour use.
        "fuzz_findings/wmf-pattern-brush-without-bitmap.wmf",
        // 32768 x 32768 pixels of 32 bits: 2^35 octets, nothing in 32 bits.
        "fuzz_findings/wmf-bitmap-size-wraps-32-bits.wmf",
        // 30000 x 30000 pixels of no bit count, sized by no octets at all.
        "fuzz_findings/wmf-bitmap-without-bit-count.wmf",
        // 30000 x 30000 pixels from 98 octets of runs.
        "fuzz_findings/wmf-run-length-bitmap-of-gigabytes.wmf",
    };
    for (const char* file : files) {
        const QByteArray data = TestDataFile(file);
        ASSERT_FALSE(data.isEmpty()) << file;
        ExpectBounded(file, [&] {
            const TrpGraphic graphic(gkMetafile, data);
            EXPECT_FALSE(graphic.Decode()) << file;
            EXPECT_FALSE(graphic.Error().isEmpty()) << file;
            QImage image(100, 100, QImage::Format_RGB32);
            image.fill(Qt::gray);
            QPainter painter(&image);
            graphic.Draw(painter, image.rect());
            painter.end();
            EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::gray)) << file;
        });
    }
}
