// The shell's keys, clock and frame counter on a state of the test's own, without a window: its root holds a demo
// object that records the keys reaching it, its services are a clock the test sets and recorded toolkit requests.
#include "shell/clock.h"
#include "shell/keys.h"
#include "shell/overlay.h"
#include "shell/shell_state.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// An open-ended demo object that records the keys that reach it, key-ups marked ^.
struct recorder_t : demo_object_t {
    recorder_t(std::string& calls, const bool& consume) : m_calls(calls), m_consume(consume) {
        m_length = demo_open_ended;
    }
    void draw() override {}
    bool key_down(unsigned char key, int, int) override { return m_calls += char(key), m_consume; }
    bool key_up(unsigned char key, int, int) override { return m_calls += {'^', char(key)}, m_consume; }
    std::string& m_calls;
    const bool& m_consume;
};

class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        shell.m_demo.add(recorder = new recorder_t(calls, consume));
        shell.m_demo.start();
        shell.m_demo.resize(640, 480);  // makes the recorder current: keys reach it
    }
    // What the keys, typed in order, wrote to standard output.
    std::string type(const std::string& keys) {
        testing::internal::CaptureStdout();
        for (unsigned char key : keys) shell_key_down(shell, key, 0, 0);
        return testing::internal::GetCapturedStdout();
    }

    bool consume = false;
    std::string calls;            // the keys that reached the demo
    std::uint32_t now = 0;        // the wall clock, ms
    std::string redrawn;          // the demo time at each redisplay request
    std::vector<bool> idle_runs;  // idle steps switched on (true) or off
    shell_state_t shell{{[this] { return now; }, [](std::uint32_t) {},
                         [this] { redrawn += std::to_string(shell.m_demo_msec) + " "; },
                         [this](bool running) { idle_runs.push_back(running); }, [] {}}};
    recorder_t* recorder = nullptr;  // the root owns it
};

}  // namespace

TEST_F(ShellTest, KeysGoToTheDemoFirstThenFoldCaseOrArePrintedAsReceived) {
    EXPECT_EQ(type("fgt"), "");
    EXPECT_TRUE(shell.m_show_fps);
    EXPECT_TRUE(shell.m_show_demo_overlay);
    EXPECT_TRUE(shell.m_show_time);
    EXPECT_EQ(redrawn, "0 ");  // t alone redraws at once
    EXPECT_EQ(type("FGTxX\xC8"), "key: x(120)\nkey: X(88)\nkey: \xC8(200)\n");
    EXPECT_FALSE(shell.m_show_fps);
    EXPECT_FALSE(shell.m_show_demo_overlay);
    EXPECT_FALSE(shell.m_show_time);
    EXPECT_EXIT(shell_key_down(shell, 'Q', 0, 0), testing::ExitedWithCode(0), "");

    consume = true;  // a consumed key never reaches the shell; every key-up reaches the demo
    EXPECT_EQ(type(" ftx"), "");
    EXPECT_EXIT((shell_key_down(shell, 'q', 0, 0), std::exit(7)), testing::ExitedWithCode(7), "") << "q quit";
    EXPECT_FALSE(shell.m_pause);
    EXPECT_FALSE(shell.m_show_fps);
    EXPECT_FALSE(shell.m_show_time);
    EXPECT_EQ(redrawn, "0 0 ");
    shell_key_up(shell, '5', 0, 0);
    consume = false;
    shell_key_up(shell, 'q', 0, 0);
    EXPECT_EQ(calls, "fgtFGTxX\xC8 ftx^5^q");
}

TEST_F(ShellTest, TimeKeysWrapAroundZeroAndPauseAddsNoPausedWallTime) {
    shell.m_demo_msec = 400;
    for (int key : {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_DOWN, GLUT_KEY_UP}) shell_special(shell, key, 0, 0);
    testing::internal::CaptureStdout();  // F1 to F8 are silent
    for (int key = GLUT_KEY_F1; key <= GLUT_KEY_F9; ++key) shell_special(shell, key, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "special: 9\n");

    type(" ");                                   // pause
    shell_special(shell, GLUT_KEY_RIGHT, 0, 0);  // the time keys work while paused
    now = 9600;
    type(" ");
    now = 9700;
    idle_step(shell);  // the special keys never reached the demo; each time key, the pause and the step redraw
    EXPECT_FALSE(shell.m_pause);
    EXPECT_EQ(idle_runs, (std::vector<bool>{false, true}));
    EXPECT_EQ(calls, "  ");
    EXPECT_EQ(redrawn, "4294966696 400 500 400 400 1400 1500 ");
}

TEST_F(ShellTest, IdleAddsTheWallTimeModuloTwoToThe32AndEndsOnlyOnTheLastMillisecond) {
    // Demo clock, wall clock at the last step and now, the demo time updated to.
    const std::uint32_t steps[][4] = {
        {250, 0xFFFFFF00u, 0x40, 570},      // across the wall clock's wrap
        {4294967200u, 0, 94, 4294967294u},  // to just below the end
        {4294967286u, 0, 40, 30},           // a step over the end wraps and goes on
    };
    for (const auto& [demo, last, wall, updated] : steps) {
        shell.m_demo_msec = demo, shell.m_last_time = last, now = wall;
        idle_step(shell);
        EXPECT_EQ(shell.m_demo_msec, updated);
        EXPECT_EQ(recorder->m_time, updated);
        EXPECT_EQ(shell.m_last_time, wall);
    }
    // A step landing on the last millisecond, by the clock or by the time keys, ends the demo.
    for (const auto& [demo, wall] : {std::pair{4294967000u, 295u}, std::pair{0xFFFFFFFFu, 0u}}) {
        shell.m_demo_msec = demo, shell.m_last_time = 0, now = wall;
        EXPECT_EXIT(idle_step(shell), testing::ExitedWithCode(0), "") << demo;
    }
}

TEST_F(ShellTest, TheFrameCountIsPublishedWhenTheSecondChanges) {
    // From the counters' zeros at start-up; the frame entering a second counts in it.
    const std::uint32_t frames[][2] = {{5000, 1}, {5100, 1}, {5999, 1}, {6000, 3}, {6500, 3}, {9000, 2}};
    for (const auto& [msec, shown] : frames) {
        now = msec;
        count_frame(shell);
        EXPECT_EQ(shell.m_fps, shown) << msec;
    }
}
