#pragma once
// What a generated template's report must print, worked out from its data alone, and the check
// of a built report against it: the build ends (failing, at once and naming it, only for an
// object that fits on no page); every record, group header and footer prints once and in order;
// the footers' aggregates equal the direct computation over the records they cover; page numbers
// run 1..n with the total n; nothing lies below the bottom limit or over a page or column
// footer; every page holds a band of the report's body; a column has one column footer; saving
// and loading the prepared report keeps every page.
#include <string>
#include <vector>

#include "TemplateGenerator.h"

// The invariants the seed's report breaks, each in words; empty when it holds them all.
std::vector<std::string> CheckGeneratedTemplate(const TGenTemplate& t);
