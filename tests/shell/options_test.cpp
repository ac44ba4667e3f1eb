// The command line: what each option takes, the toolkit's options passed on in order, and the one line a bad
// command line gets. The timedemo's frame steps and its summary line.
#include "shell/options.h"
#include "shell/timedemo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string parse(std::vector<const char*> args, options_t& o) {
    args.insert(args.begin(), "/usr/bin/wire_gate");
    return parse_options(static_cast<int>(args.size()), args.data(), o);
}

TEST(OptionsTest, TakesOursAndPassesTheToolkitsInOrder) {
    options_t o;
    EXPECT_EQ(parse({"-display", ":3", "--window", "640x480", "-sync", "--timedemo", "a.flight", "--step=20.5",
                     "--capture", "frames", "-geometry", "10x10+0+0"},
                    o),
              "");
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.timedemo, "a.flight");
    EXPECT_EQ(o.step_us, 20500u);
    EXPECT_EQ(o.capture, "frames");
    EXPECT_EQ(o.toolkit,
              (std::vector<std::string>{"/usr/bin/wire_gate", "-display", ":3", "-sync", "-geometry", "10x10+0+0"}));
    EXPECT_EQ(parse({"--replay", "b.flight", "--loop"}, o), "");
    EXPECT_EQ(o.replay, "b.flight");
    EXPECT_TRUE(o.loop);
    EXPECT_EQ(o.step_us, 16667u);  // 1000/60 ms by default
    EXPECT_EQ(parse({}, o), "");
    EXPECT_EQ(o.toolkit, std::vector<std::string>{"/usr/bin/wire_gate"});
    EXPECT_EQ(o.width, 0);  // full screen
    // Help wins over whatever else is wrong in the line, so it always shows.
    EXPECT_EQ(parse({"--record", "x", "--replay", "y", "-h"}, o), "");
    EXPECT_TRUE(o.help);
}

TEST(OptionsTest, RefusesABadCommandLineInOneLine) {
    const struct {
        std::vector<const char*> args;
        const char* says;
    } cases[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"-x"}, "unknown option '-x'"},
        {{"--window", "0x0"}, "'0x0' is not a value for --window"},
        {{"--window", "640"}, "'640' is not a value for --window"},
        {{"--window", "640x480x2"}, "'640x480x2' is not a value for --window"},
        {{"--window", "16385x10"}, "'16385x10' is not a value for --window"},
        {{"--window"}, "option '--window' needs a value"},
        {{"--timedemo", "a", "--step", "-1"}, "'-1' is not a value for --step"},
        {{"--timedemo", "a", "--step", "0"}, "'0' is not a value for --step"},
        {{"--timedemo", "a", "--step", "1e3"}, "'1e3' is not a value for --step"},
        {{"--timedemo", "a", "--step", "60001"}, "'60001' is not a value for --step"},
        {{"--step", "20"}, "--step goes with --timedemo"},
        {{"--loop"}, "--loop goes with --replay"},
        {{"--record", "a", "--replay", "b"}, "--record flies live"},
        {{"--record", "a", "--timedemo", "b"}, "--record flies live"},
        {{"--replay", "a", "--timedemo", "b"}, "--replay and --timedemo play one flight each"},
        {{"--record", "a", "--record", "b"}, "option '--record' is given twice"},
        {{"--loop=1", "--replay", "a"}, "option '--loop' takes no value"},
        {{"--record", ""}, "'' is not a value for --record"},
        {{"-display"}, "option '-display' needs a value"},
    };
    for (const auto& c : cases) {
        options_t o;
        const std::string line = parse(c.args, o);
        EXPECT_EQ(line.rfind("wire_gate: ", 0), 0u) << line;
        EXPECT_NE(line.find(c.says), std::string::npos) << line;
        EXPECT_NE(line.find("see 'wire_gate --help'"), std::string::npos) << line;
    }
}

TEST(TimedemoTest, StepsAddUpToTheFrameTimesWithoutDrift) {
    timedemo_t demo(16667);
    std::uint64_t msec = 0;
    for (int k = 1; k <= 600; ++k) {
        msec += demo.next_step();
        demo.frame_started();
        demo.frame_done();
        ASSERT_EQ(msec, k * 16667ull / 1000) << "frame " << k;
    }
}

TEST(TimedemoTest, SummaryGivesCountRateAndNearestRankPercentiles) {
    std::vector<double> ms;
    for (int i = 100; i >= 1; --i) ms.push_back(i);  // any order
    EXPECT_EQ(timedemo_summary(ms, 4.0),
              "timedemo: 100 frames in 4.000 s, 25.0 fps; frame ms median 50.00, 95th 95.00, 99th 99.00");
    EXPECT_EQ(timedemo_summary({7.5}, 0.5),
              "timedemo: 1 frames in 0.500 s, 2.0 fps; frame ms median 7.50, 95th 7.50, 99th 7.50");
}

}  // namespace
