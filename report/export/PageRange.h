#pragma once
// The pages an export takes, as the user types them: page numbers and ranges separated by
// commas, "1,3,5-12". Blanks are ignored; an empty text takes every page. Ranges are kept as
// ranges, so a text like "1-2000000000" costs nothing, and numbers past the report's end
// simply select nothing.
#include <utility>
#include <vector>

#include <QString>

class TrpPageRange {
public:
    TrpPageRange() = default;
    // Raises EConvertError naming the text when a part of it is not a page number or a range
    // of two (a trailing "-", a letter, an empty item, a number beyond the integers).
    explicit TrpPageRange(const QString& text);

    bool AllPages() const { return ranges_.empty(); }
    // Whether the page (numbered from 1) is taken.
    bool Contains(int page) const;
    // Whether any page of a report of that many pages is taken.
    bool SelectsAny(int pageCount) const;

private:
    std::vector<std::pair<int, int>> ranges_;   // first, last; a range whose last is below its first takes nothing
};
