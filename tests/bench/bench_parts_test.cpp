// The benchmark's parts whose errors would make its figures wrong: the
// sample summary, the target check and the CSV files.

#include "bench/report.h"
#include "bench/stats.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

TEST(BenchStatsTest, MedianAndPercentilesOfUnsortedSamples) {
    const sample_stats_t odd = summarize({5.0, 1.0, 4.0, 2.0, 3.0});
    EXPECT_EQ(odd.median, 3.0);
    EXPECT_EQ(odd.count, 5u);
    const sample_stats_t even = summarize({4.0, 1.0, 3.0, 2.0});
    EXPECT_EQ(even.median, 2.5);
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) hundred.push_back(i);
    const sample_stats_t h = summarize(hundred);
    EXPECT_EQ(h.low, 11.0);   // nearest rank of 0.1 * 99
    EXPECT_EQ(h.high, 90.0);  // nearest rank of 0.9 * 99
    EXPECT_EQ(summarize({}).count, 0u);
}

TEST(BenchStatsTest, TargetsAreInclusiveAndNaNMeansNone) {
    EXPECT_TRUE(met(target_t{1.25, ""}, 1.25));
    EXPECT_FALSE(met(target_t{1.25, ""}, 1.2501));
    EXPECT_TRUE(met(target_t{std::nan(""), ""}, 1e9));
    report_t r;
    r.costs.push_back({"x", summarize({2.0}), "ms", target_t{1.0, "< 1 ms"}});
    EXPECT_FALSE(all_targets_met(r));
    r.costs[0].stats = summarize({0.5});
    frame_row_t f;
    f.ratio = summarize({1.0});
    f.target = target_t{1.25, ""};
    f.allocations = 1.0;  // more than the expected 0
    r.frames.push_back(f);
    EXPECT_FALSE(all_targets_met(r));
    r.frames[0].expected_allocations = 1.0;
    EXPECT_TRUE(all_targets_met(r));
}

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(BenchStatsTest, CsvFilesHoldEveryFigure) {
    char folder[] = "/tmp/wg-bench-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    report_t r;
    frame_row_t f;
    f.mode = 2;
    f.fog = true;
    f.scene_ms = summarize({20.0});
    f.floor_ms = summarize({16.0});
    f.ratio = summarize({1.25});
    f.target = target_t{1.25, "<= 1.25"};
    r.frames.push_back(f);
    r.costs.push_back({"RebuildMesh at interval 5", summarize({70.0}), "ms", target_t{60.0, "< 60 ms"}});
    ASSERT_TRUE(write_csv(folder, r));
    const std::string results = slurp(std::string(folder) + "/results.csv");
    EXPECT_NE(results.find("\"frame ratio mode 2 fog 1\",1.25,1.25,1.25,1,ratio,1.250000,met\n"), std::string::npos)
        << results;
    EXPECT_NE(results.find("\"RebuildMesh at interval 5\",70,70,70,1,ms,60.000000,MISSED\n"), std::string::npos)
        << results;
    const std::string frames = slurp(std::string(folder) + "/frames.csv");
    EXPECT_NE(frames.find("\n2,1,20,20,20,16,16,16,1.25,1.25,1.25,0,0,0\n"), std::string::npos) << frames;
    std::remove((std::string(folder) + "/results.csv").c_str());
    std::remove((std::string(folder) + "/frames.csv").c_str());
    rmdir(folder);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(write_csv(std::string(folder) + "/missing", r));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);
}

}  // namespace
