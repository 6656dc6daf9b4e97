#include "app/common/stage_times.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace mervox {
namespace {

// Nearest rank: the p-th percentile is a sample, the smallest with at
// least p of all samples at or below it; a frame rate is lost in the slow
// frames, so p99 of 100 frames is the second slowest, not an average.
TEST(StageTimes, PercentilesAreNearestRanksOfTheSamples) {
    std::vector<double> sorted;
    for (int k = 1; k <= 100; ++k) sorted.push_back(k);
    EXPECT_EQ(Percentile(sorted, 0.5), 50);
    EXPECT_EQ(Percentile(sorted, 0.95), 95);
    EXPECT_EQ(Percentile(sorted, 0.99), 99);
    EXPECT_EQ(Percentile(sorted, 1.0), 100);
    EXPECT_EQ(Percentile(sorted, 0.0), 1);
    EXPECT_EQ(Percentile({7.0}, 0.99), 7);
    EXPECT_EQ(Percentile({}, 0.5), 0);
    // Ten samples: the 95th and 99th percentile are both the slowest.
    const std::vector<double> ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(Percentile(ten, 0.95), 10);
    EXPECT_EQ(Percentile(ten, 0.5), 5);
}

TEST(StageTimes, SummaryOfUnsortedSamples) {
    // One slow frame among fast ones: the median ignores it, the top does not.
    std::vector<double> ms(199, 4.0);
    ms.insert(ms.begin() + 17, 40.0);
    const StageSummary s = Summarize(ms);
    EXPECT_EQ(s.count, 200u);
    EXPECT_EQ(s.median, 4.0);
    EXPECT_EQ(s.p99, 4.0);
    EXPECT_EQ(s.max, 40.0);
    EXPECT_DOUBLE_EQ(s.mean, (199 * 4.0 + 40.0) / 200);

    const StageSummary none = Summarize({});
    EXPECT_EQ(none.count, 0u);
    EXPECT_EQ(none.max, 0);
}

TEST(StageTimes, TableHasOneLinePerStage) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    PrintStageTable(f, {{"draw", {1.0, 3.0, 2.0}}, {"upload", {}}});
    std::rewind(f);
    std::string text;
    char buf[256];
    while (std::fgets(buf, sizeof buf, f)) text += buf;
    std::fclose(f);
    EXPECT_NE(text.find("median"), std::string::npos);
    EXPECT_NE(text.find("  draw         2.000    3.000    3.000    3.000    2.000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  upload       0.000"), std::string::npos) << text;
}

}  // namespace
}  // namespace mervox
