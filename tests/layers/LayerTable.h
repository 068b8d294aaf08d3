#pragma once
// The layers and what each may use. A source belongs to the longest folder below that holds it;
// besides its own folder it may include from the folders its row names, and from theirs in turn.
#include <string>
#include <vector>

struct LayerUses {
    std::string folder;
    std::vector<std::string> uses;
};

inline const std::vector<LayerUses> LayerTable = {
    {"base", {}},
    {"platform/posix", {"base"}},
    {"platform/qt", {"platform/posix"}},
    {"comm", {"platform/posix"}},
    {"core", {"comm"}},
    // The headless report engine: every folder of report/ but print/ and ui/.
    {"report", {"platform/qt"}},
    {"report/print", {"report"}},
    {"report/ui", {"report/print"}},
    {"app", {"core", "report/ui"}},
    {"ft3lib", {"comm"}},
    {"tools/ft3sim", {"comm"}},
    {"tools/report_templates", {"report/print"}},
    {"tools/fuzz", {"app", "tools/report_templates"}},
    {"bench", {"app", "tools/ft3sim"}},
    {"tests/support", {}},
    {"tests/layers", {}},
    {"tests/base", {"base", "tests/support"}},
    {"tests/platform", {"platform/posix", "tests/support"}},
    {"tests/platform_qt", {"platform/qt", "tests/support"}},
    {"tests/comm", {"comm", "tools/ft3sim", "tests/support"}},
    {"tests/core", {"core", "tools/ft3sim", "tests/support"}},
    {"tests/report", {"report/ui", "tests/support"}},
    {"tests/app", {"app", "tests/comm", "tools/report_templates"}},
    {"tests/ft3lib", {"ft3lib", "tools/ft3sim", "tests/support"}},
};
