// The shell's keys, idle step and frame counter without a window: the real demo module forwards to a root
// holding a recording demo object; the clock and the toolkit requests are injected.
#include "shell/callbacks.h"
#include "framework/demo_root.h"
#include "shell/demo.h"
#include "shell/overlay.h"
#include "shell/shell_state.h"
#include "shell/toolkit_requests.h"
#include "shell/wall_clock.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

static bool s_consume_keys = false;
static std::string s_calls;      // the keys that reached the demo, key-ups marked ^
static std::uint32_t s_now = 0;  // the injected wall clock, ms
static std::string s_redrawn;    // the demo time at each redisplay request
static std::vector<idle_callback_t> s_idle_settings;

// An open-ended demo object that records the keys that reach it.
struct recorder_t : demo_object_t {
    recorder_t() { m_length = demo_open_ended; }
    void draw() override {}
    bool key_down(unsigned char key, int, int) override { return s_calls += char(key), s_consume_keys; }
    bool key_up(unsigned char key, int, int) override { return s_calls += {'^', char(key)}, s_consume_keys; }
};

// What the keys, typed in order, wrote to standard output.
static std::string type(const std::string& keys) {
    testing::internal::CaptureStdout();
    for (unsigned char key : keys) keyboard(key, 0, 0);
    return testing::internal::GetCapturedStdout();
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_wall_clock_source([] { return s_now; });
        set_toolkit_requests({[] { s_redrawn += std::to_string(g_demo_msec) + " "; },
                              [](idle_callback_t callback) { s_idle_settings.push_back(callback); }});
        s_redrawn.clear(), s_calls.clear(), s_idle_settings.clear(), g_pause = false;
        m_root.add(m_recorder);
        m_root.start();
        m_root.resize(640, 480);  // makes the recorder current: keys reach it
        demo_use_root(&m_root);
    }
    void TearDown() override { demo_use_root(nullptr); }
    demo_root_t m_root;
    recorder_t* m_recorder = new recorder_t;  // the root owns it
};

TEST_F(ShellTest, KeysGoToTheDemoFirstThenFoldCaseOrArePrintedAsReceived) {
    EXPECT_EQ(type("fgt"), "");
    EXPECT_TRUE(g_show_fps && g_show_demo_overlay && g_show_time && s_redrawn == "0 ");  // t alone redraws at once
    EXPECT_EQ(type("FGTxX\xC8"), "key: x(120)\nkey: X(88)\nkey: \xC8(200)\n");
    EXPECT_TRUE(!g_show_fps && !g_show_demo_overlay && !g_show_time);
    EXPECT_EXIT(keyboard('Q', 0, 0), testing::ExitedWithCode(0), "");

    s_consume_keys = true;  // a consumed key never reaches the shell; every key-up reaches the demo
    EXPECT_EQ(type(" ftx"), "");
    EXPECT_EXIT((keyboard('q', 0, 0), std::exit(7)), testing::ExitedWithCode(7), "") << "q quit";
    EXPECT_TRUE(!g_pause && !g_show_fps && !g_show_time && s_redrawn == "0 0 ");
    keyboard_up('5', 0, 0);
    s_consume_keys = false;
    keyboard_up('q', 0, 0);
    EXPECT_EQ(s_calls, "fgtFGTxX\xC8 ftx^5^q");
}

TEST_F(ShellTest, TimeKeysWrapAroundZeroAndPauseAddsNoPausedWallTime) {
    g_demo_msec = 400;
    for (int key : {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_DOWN, GLUT_KEY_UP}) special(key, 0, 0);
    testing::internal::CaptureStdout();  // F1 to F8 are silent
    for (int key = GLUT_KEY_F1; key <= GLUT_KEY_F9; ++key) special(key, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "special: 9\n");

    type(" ");                      // pause
    special(GLUT_KEY_RIGHT, 0, 0);  // the time keys work while paused
    s_now = 9600;
    type(" ");
    s_now = 9700;
    idle();  // the special keys never reached the demo; each time key, the pause and the step redraw
    EXPECT_TRUE(!g_pause && s_idle_settings == std::vector<idle_callback_t>({nullptr, &idle}) && s_calls == "  ");
    EXPECT_EQ(s_redrawn, "4294966696 400 500 400 400 1400 1500 ");
}

TEST_F(ShellTest, IdleAddsTheWallTimeModuloTwoToThe32AndEndsOnlyOnTheLastMillisecond) {
    // Demo clock, wall clock at the last step and now, the demo time updated to.
    const std::uint32_t steps[][4] = {
        {250, 0xFFFFFF00u, 0x40, 570},      // across the wall clock's wrap
        {4294967200u, 0, 94, 4294967294u},  // to just below the end
        {4294967286u, 0, 40, 30},           // a step over the end wraps and goes on
    };
    for (const auto& [demo, last, now, updated] : steps) {
        g_demo_msec = demo, g_last_time = last, s_now = now;
        idle();
        EXPECT_TRUE(g_demo_msec == updated && m_recorder->m_time == updated && g_last_time == now) << updated;
    }
    // A step landing on the last millisecond, by the clock or by the time keys, ends the demo.
    for (const auto& [demo, now] : {std::pair{4294967000u, 295u}, std::pair{0xFFFFFFFFu, 0u}}) {
        g_demo_msec = demo, g_last_time = 0, s_now = now;
        EXPECT_EXIT(idle(), testing::ExitedWithCode(0), "") << demo;
    }
}

TEST_F(ShellTest, TheFrameCountIsPublishedWhenTheSecondChanges) {
    // From the counters' zeros at start-up; the frame entering a second counts in it.
    const std::uint32_t frames[][2] = {{5000, 1}, {5100, 1}, {5999, 1}, {6000, 3}, {6500, 3}, {9000, 2}};
    for (const auto& [msec, shown] : frames) {
        s_now = msec;
        count_frame();
        EXPECT_EQ(g_fps, shown) << msec;
    }
    EXPECT_EQ(fps_text(), "2 fps");
    EXPECT_FLOAT_EQ(centered_text_start(512.0f, 9), 467.0f);  // "- pause -"
}
