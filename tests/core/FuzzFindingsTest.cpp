// Data files with which the fuzz target (tools/fuzz) found faults, each read as the program
// reads its data file at start: each ends in a whole load or a partial one that says why,
// within the bounds of a reader of outside data.
#include "core/DataFile/DataFile.h"
#include "core/Device/HardConfig.h"
#include "support/BoundedRun.h"

#include <QString>

namespace {

QString Finding(const char* name)
{
    return QStringLiteral(TZ_CORE_TEST_DATA "/fuzz_findings/") + QString::fromLatin1(name);
}

} // namespace

TEST(DataFileFuzzFindings, EachEndsInAWholeOrAPartialLoadThatSaysWhy)
{
    const struct {
        const char* file;
        TDataFileLoad::Result result;
        const char* reason;   // a part of the reason of a partial load
    } cases[] = {
        // A point whose text time is no date and whose unix time lies some 10^20 years on.
        {"datafile-unix-time-beyond-the-years.dxml", TDataFileLoad::Result::Partial, "не является датой и временем"},
    };
    for (const auto& c : cases) {
        ExpectBounded(c.file, [&] {
            THardConfig tree(2, 6, 6);
            const TDataFileLoad load = LoadDataFile(tree, Finding(c.file), 60);
            EXPECT_EQ(load.result, c.result) << c.file;
            EXPECT_TRUE(load.error.contains(QString::fromUtf8(c.reason))) << c.file << ": " << load.error.toStdString();
        });
    }
}
