// Every source of the tree includes only from the layers its own layer may use (LayerTable.h).
// The build enforces the same for what it compiles, through each library's include directory;
// this also covers headers nobody compiles yet and keeps the graph itself from drifting.
#include "LayerTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path Root = TZ_SOURCE_DIR;
const std::vector<std::string> ScannedFolders = {
    "base", "platform", "comm", "core", "report", "app", "ft3lib", "tools", "tests", "bench"};

// The table's folder holding the path (relative to the root), the longest one; empty for none.
std::string LayerOf(const std::string& path)
{
    std::string layer;
    for (const LayerUses& row : LayerTable)
        if (path.starts_with(row.folder + "/") && row.folder.size() > layer.size())
            layer = row.folder;
    return layer;
}

std::set<std::string> UsedBy(const std::string& layer)
{
    std::set<std::string> used;
    std::vector<std::string> pending = {layer};
    while (!pending.empty()) {
        const std::string next = pending.back();
        pending.pop_back();
        for (const LayerUses& row : LayerTable)
            if (row.folder == next)
                for (const std::string& use : row.uses)
                    if (used.insert(use).second)
                        pending.push_back(use);
    }
    return used;
}

bool MayInclude(const std::string& source, const std::string& header)
{
    const std::string from = LayerOf(source);
    const std::string to = LayerOf(header);
    return !from.empty() && !to.empty() && (from == to || UsedBy(from).contains(to));
}

struct Include {
    int line;
    std::string name;
    bool quoted;
};

// The include on a line of text, however spaced; comments and other directives are none.
std::optional<Include> IncludeOn(const std::string& text, int line)
{
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos || text[at] != '#')
        return std::nullopt;
    at = text.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || text.compare(at, 7, "include") != 0)
        return std::nullopt;
    at = text.find_first_not_of(" \t", at + 7);
    if (at == std::string::npos || (text[at] != '"' && text[at] != '<'))
        return std::nullopt;
    const char close = text[at] == '<' ? '>' : '"';
    const size_t end = text.find(close, at + 1);
    if (end == std::string::npos)
        return std::nullopt;
    return Include{line, text.substr(at + 1, end - at - 1), close == '"'};
}

std::vector<Include> IncludesIn(std::istream& in)
{
    std::vector<Include> includes;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line)
        if (const auto include = IncludeOn(text, line))
            includes.push_back(*include);
    return includes;
}

// Where the compiler finds an include of `source`, relative to the root: beside the source for
// quotes, then from the source root, then, for tests, from the tests' folder; nothing for
// system headers.
std::optional<std::string> Resolve(const std::string& source, const Include& include)
{
    std::vector<fs::path> candidates;
    if (include.quoted)
        candidates.push_back(fs::path(source).parent_path() / include.name);
    candidates.push_back(include.name);
    if (source.starts_with("tests/"))
        candidates.push_back(fs::path("tests") / include.name);
    for (const fs::path& candidate : candidates)
        if (fs::is_regular_file(Root / candidate))
            return candidate.lexically_normal().generic_string();
    return std::nullopt;
}

std::vector<std::string> Sources()
{
    std::vector<std::string> sources;
    for (const std::string& folder : ScannedFolders)
        for (const auto& entry : fs::recursive_directory_iterator(Root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp" || extension == ".c"))
                sources.push_back(entry.path().lexically_relative(Root).generic_string());
        }
    std::sort(sources.begin(), sources.end());
    return sources;
}

// Every resolved include of every source: source -> (line, header).
std::map<std::string, std::vector<std::pair<int, std::string>>> IncludesOfTheTree()
{
    std::map<std::string, std::vector<std::pair<int, std::string>>> tree;
    for (const std::string& source : Sources()) {
        std::ifstream in(Root / source);
        auto& headers = tree[source];
        for (const Include& include : IncludesIn(in))
            if (const auto header = Resolve(source, include))
                headers.emplace_back(include.line, *header);
    }
    return tree;
}

} // namespace

TEST(LayerTable, EveryUseNamesALayerOfTheTable)
{
    for (const LayerUses& row : LayerTable)
        for (const std::string& use : row.uses)
            EXPECT_EQ(LayerOf(use + "/x.h"), use) << row.folder << " uses " << use;
}

TEST(LayerTable, UsesAreFollowedThroughAndLayersKeptApart)
{
    const struct {
        const char* source;
        const char* header;
        bool allowed;
    } cases[] = {
        {"core/Exchange/SendTH.cpp", "core/Parameters.h", true},
        {"core/Parameters.cpp", "platform/posix/IniFile.h", true},   // through comm
        {"core/Parameters.cpp", "base/DateTime.h", true},
        {"core/Parameters.cpp", "platform/qt/LauncherEntry.h", false},
        {"core/Parameters.cpp", "app/main/FMain.h", false},
        {"comm/CommPort.cpp", "core/Parameters.h", false},
        {"report/engine/Report.cpp", "report/data/Dataset.h", true},
        {"report/engine/Report.cpp", "report/ui/ProgressForm.h", false},
        {"report/engine/Report.cpp", "report/print/Printer.h", false},
        {"report/data/Dataset.cpp", "core/Parameters.h", false},
        {"report/ui/ProgressForm.cpp", "report/engine/Report.h", true},
        {"report/ui/FormPosition.cpp", "platform/qt/KeyValueStore.h", true},
        {"app/main/FMain.cpp", "report/ui/ProgressForm.h", true},
        {"ft3lib/Bridge.cpp", "comm/FT3Frame.h", true},
        {"ft3lib/Bridge.cpp", "core/Parameters.h", false},
        {"tests/report/ParserTest.cpp", "core/Parameters.h", false},
        {"tests/app/MBDriveTest.cpp", "tests/comm/ControllerLine.h", true},
        {"tests/comm/RControlTest.cpp", "tests/app/AppTestEnvironment.h", false},
        {"bench/pass/PassBench.cpp", "tools/ft3sim/Simulator.h", true},
        {"tools/ft3sim/Simulator.cpp", "core/Parameters.h", false},
        {"misc/Other.cpp", "base/DateTime.h", false},   // a folder the table does not know
    };
    for (const auto& c : cases)
        EXPECT_EQ(MayInclude(c.source, c.header), c.allowed) << c.source << " -> " << c.header;
}

TEST(LayerTable, IncludesAreFoundHoweverTheyAreSpaced)
{
    std::istringstream text(
        "#include \"core/A.h\"\n"
        "  #  include <report/B.h>  // why\n"
        "#include\t\"Local.h\"\n"
        "// #include \"core/Commented.h\"\n"
        "#define X 1\n"
        "#include_next <C.h>\n"
        "#include \"unterminated.h\n");
    const std::vector<Include> includes = IncludesIn(text);
    ASSERT_EQ(includes.size(), 3u);
    EXPECT_EQ(includes[0].name, "core/A.h");
    EXPECT_TRUE(includes[0].quoted);
    EXPECT_EQ(includes[1].name, "report/B.h");
    EXPECT_FALSE(includes[1].quoted);
    EXPECT_EQ(includes[1].line, 2);
    EXPECT_EQ(includes[2].name, "Local.h");
}

TEST(LayerTable, EverySourceIncludesOnlyFromLayersItMayUse)
{
    const auto tree = IncludesOfTheTree();
    ASSERT_GT(tree.size(), 100u);
    for (const auto& [source, headers] : tree) {
        EXPECT_NE(LayerOf(source), "") << source << " lies in no folder of the table";
        for (const auto& [line, header] : headers)
            EXPECT_TRUE(MayInclude(source, header))
                << source << ":" << line << " includes " << header << ", but "
                << LayerOf(source) << " may not use " << LayerOf(header);
    }
}
