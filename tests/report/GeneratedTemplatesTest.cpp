// Templates generated from the band engine's features, each built and checked against what its
// data alone says must print (TemplateInvariants.h). CI runs fixed blocks of seeds; the
// environment variable TZ_TEMPLATE_SEEDS=first-last runs any range on demand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TemplateGenerator.h"
#include "TemplateInvariants.h"

namespace {

constexpr uint32_t kSeedsPerBlock = 200;
constexpr uint32_t kBlocks = 15;

// Checks every seed of [first, last]; a broken one is told with its template and data.
void CheckSeeds(uint32_t first, uint32_t last)
{
    for (uint32_t seed = first; seed <= last && seed >= first; ++seed) {
        const TGenTemplate t = GenerateTemplate(seed);
        const std::vector<std::string> broken = CheckGeneratedTemplate(t);
        if (broken.empty())
            continue;
        std::string text;
        for (const std::string& line : broken)
            text += "  - " + line + "\n";
        ADD_FAILURE() << "seed " << seed << " (alone: TZ_TEMPLATE_SEEDS=" << seed << '-' << seed
                      << " tests_report --gtest_filter=GeneratedTemplates.SeedRangeOnDemand) breaks:\n"
                      << text << Describe(t);
    }
}

class GeneratedTemplateBlock : public ::testing::TestWithParam<uint32_t> {};

}  // namespace

TEST_P(GeneratedTemplateBlock, EveryTemplateHoldsTheInvariants)
{
    const uint32_t first = GetParam() * kSeedsPerBlock + 1;
    CheckSeeds(first, first + kSeedsPerBlock - 1);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GeneratedTemplateBlock, ::testing::Range(0u, kBlocks));

TEST(GeneratedTemplates, SeedRangeOnDemand)
{
    const char* range = std::getenv("TZ_TEMPLATE_SEEDS");
    if (!range)
        GTEST_SKIP() << "TZ_TEMPLATE_SEEDS=first-last names the seeds to run";
    const std::string text(range);
    const size_t dash = text.find('-');
    const uint32_t first = uint32_t(std::stoul(text.substr(0, dash)));
    const uint32_t last = dash == std::string::npos ? first : uint32_t(std::stoul(text.substr(dash + 1)));
    ASSERT_LE(first, last) << "TZ_TEMPLATE_SEEDS=" << text;
    CheckSeeds(first, last);
}
