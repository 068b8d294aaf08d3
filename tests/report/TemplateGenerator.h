#pragma once
// Report templates drawn at random from the band engine's features, each with its data, for
// the tests that check a built report against what its data alone says must print. A seed gives
// always the same template and data; Describe tells them in words, so that a failing seed can be
// read and reproduced alone.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

// One band of a generated template: its design height, its option bits and the lines of the
// memo at its top (the memo's own height, the rest of the band lies below it).
struct TGenBand {
    int height = 20;
    uint16_t flags = 0;
    int lines = 1;
    int totalLines = 0;   // of a footer's totals, after its first line
    int memoHeight = 20;
    bool stretchedMemo = false;   // the memo reaches the bottom of a stretched band
};

// A master record: two group keys, a signed value, and the counts of its detail records and of
// each detail record's sub-detail records.
struct TGenRecord {
    QString key1, key2;
    int value = 0;
    std::vector<int> subCounts;   // one entry per detail record
};

struct TGenTemplate {
    uint32_t seed = 0;
    // The page.
    int columns = 1;
    bool margins = false;
    int marginTop = 0, marginBottom = 0, marginLeft = 0, marginRight = 0;
    bool twoPass = false;   // the page header prints the total of pages
    // Bands the template has; a missing one is nullopt.
    std::optional<TGenBand> title, summary, pageHeader, pageFooter, columnHeader, columnFooter;
    std::optional<TGenBand> masterHeader, masterFooter, child;
    std::vector<TGenBand> groupHeaders, groupFooters;   // 0-2 groups: on key1, then key2
    TGenBand master;
    int pictureTop = 0, pictureHeight = 0;   // a picture in the master band; 0 high: none
    std::optional<TGenBand> detailHeader, detail, detailFooter, subDetail;
    // A sub-report in the title band printing that many rows of its own page.
    int subReportRows = 0;
    // A cross table on the master band: that many data cells per row between header and footer.
    int crossColumns = 0;
    std::vector<TGenRecord> records;
};

// A memo's lines as the generated templates write them: the first, then the first followed by
// ":2", ":3" ... up to count lines.
QStringList MemoLines(const QString& first, int count);

// The template and data of a seed.
TGenTemplate GenerateTemplate(uint32_t seed);
// The template and its data in words, a line per band.
std::string Describe(const TGenTemplate& t);
