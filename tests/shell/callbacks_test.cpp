// The shell's keys, idle step and frame counter, run without a window: the
// real demo module forwards to a root holding a recording demo object; the
// clock and the toolkit requests are injected.
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

namespace {

using calls_t = std::vector<std::string>;
bool s_consume_keys = false;
calls_t s_calls;          // the keys that reached the demo
std::uint32_t s_now = 0;  // the injected wall clock, ms
int s_redisplays = 0;
std::vector<idle_callback_t> s_idle_settings;

// An open-ended demo object that records the keys that reach it.
struct recorder_t : demo_object_t {
    recorder_t() { m_length = demo_open_ended; }
    void draw() override {}
    bool key_down(unsigned char key, int, int) override {
        return s_calls.push_back("down " + std::to_string(key)), s_consume_keys;
    }
    bool key_up(unsigned char key, int x, int) override {
        return s_calls.push_back("up " + std::to_string(key) + " at " + std::to_string(x)), s_consume_keys;
    }
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_clock = set_wall_clock_source([] { return s_now; });
        m_requests = set_toolkit_requests(
            {[] { ++s_redisplays; }, [](idle_callback_t callback) { s_idle_settings.push_back(callback); }});
        s_consume_keys = g_pause = g_show_demo_overlay = false, g_show_fps = g_show_time = true;
        s_redisplays = 0, s_calls.clear(), s_idle_settings.clear(), g_demo_msec = 0, g_last_time = s_now = 1000;
        m_root.add(m_recorder);
        m_root.start();
        m_root.resize(640, 480);  // makes the recorder current: keys reach it
        demo_use_root(&m_root);
    }
    void TearDown() override {
        demo_use_root(nullptr);
        set_wall_clock_source(m_clock);
        set_toolkit_requests(m_requests);
    }

    // What a key handler wrote to standard output.
    static std::string press(int key, void (*handler)(int, int, int) = nullptr) {
        testing::internal::CaptureStdout();
        handler ? handler(key, 0, 0) : keyboard(static_cast<unsigned char>(key), 0, 0);
        return testing::internal::GetCapturedStdout();
    }
    wall_clock_source_t m_clock = nullptr;
    toolkit_requests_t m_requests{};
    demo_root_t m_root;
    recorder_t* m_recorder = new recorder_t;  // the root owns it
};

TEST_F(ShellTest, KeysGoToTheDemoFirstThenFoldCaseOrArePrintedAsReceived) {
    for (unsigned char key : {'f', 'g', 't'}) EXPECT_EQ(press(key), "");
    EXPECT_TRUE(!g_show_fps && g_show_demo_overlay && !g_show_time);
    EXPECT_EQ(s_redisplays, 1) << "f and g wait for the next redisplay, t redraws at once";
    for (unsigned char key : {'F', 'G', 'T'}) EXPECT_EQ(press(key), "");
    EXPECT_TRUE(g_show_fps && !g_show_demo_overlay && g_show_time);
    EXPECT_EQ(press('x') + press('X') + press(200), "key: x(120)\nkey: X(88)\nkey: \xC8(200)\n");
    EXPECT_EQ(s_calls.size(), 9u);
    EXPECT_EXIT(keyboard('Q', 0, 0), testing::ExitedWithCode(0), "");

    s_consume_keys = true;  // a consumed key never reaches the shell; every key-up reaches the demo
    for (unsigned char key : {' ', 'f', 't', 'x'}) EXPECT_EQ(press(key), "") << int(key);
    EXPECT_EXIT((keyboard('q', 0, 0), std::exit(7)), testing::ExitedWithCode(7), "") << "q quit";
    EXPECT_TRUE(!g_pause && g_show_fps && g_show_time && s_redisplays == 2);
    s_calls.clear();
    keyboard_up('5', 12, 34);
    s_consume_keys = false;
    keyboard_up('q', 0, 0);
    EXPECT_EQ(s_calls, (calls_t{"up 53 at 12", "up 113 at 0"}));
}

TEST_F(ShellTest, TimeKeysWrapAroundZeroAndPauseAddsNoPausedWallTime) {
    g_demo_msec = 400;
    const std::pair<int, std::uint32_t> steps[] = {
        {GLUT_KEY_LEFT, 4294966696u}, {GLUT_KEY_RIGHT, 400}, {GLUT_KEY_DOWN, 500}, {GLUT_KEY_UP, 400}};
    for (const auto& [key, demo_msec] : steps) {
        EXPECT_EQ(press(key, special), "");
        EXPECT_EQ(g_demo_msec, demo_msec) << key;
    }
    for (int key = GLUT_KEY_F1; key <= GLUT_KEY_F8; ++key) EXPECT_EQ(press(key, special), "") << "F" << key;
    EXPECT_EQ(press(GLUT_KEY_F9, special), "special: 9\n");
    EXPECT_TRUE(s_calls.empty() && s_redisplays == 4) << "special keys never reach the demo";

    s_now = 1600;
    press(' ');
    EXPECT_TRUE(g_pause && s_idle_settings == std::vector<idle_callback_t>{nullptr} && s_redisplays == 5);
    press(GLUT_KEY_RIGHT, special);  // the time keys work while paused
    s_now = 9600;
    press(' ');
    EXPECT_TRUE(!g_pause && s_idle_settings.back() == &idle);
    s_now = 9700;
    idle();
    EXPECT_EQ(g_demo_msec, 1500u);
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
    EXPECT_EQ(s_redisplays, 3);
    // A step landing on the last millisecond, by the clock or by the time keys, ends the demo.
    for (const auto& [demo, now] : {std::pair{4294967000u, 295u}, std::pair{0xFFFFFFFFu, 0u}}) {
        g_demo_msec = demo, g_last_time = 0, s_now = now;
        EXPECT_EXIT(idle(), testing::ExitedWithCode(0), "") << demo;
    }
}

TEST_F(ShellTest, TheFrameCountIsPublishedWhenTheSecondChanges) {
    // From the counters' zeros at start-up; the frame entering a second counts in it.
    const std::pair<std::uint32_t, std::uint32_t> frames[] = {{5000, 1}, {5100, 1}, {5999, 1},
                                                              {6000, 3}, {6500, 3}, {9000, 2}};
    for (const auto& [msec, shown] : frames) {
        s_now = msec;
        count_frame();
        EXPECT_EQ(g_fps, shown) << msec;
    }
    EXPECT_EQ(fps_text(), "2 fps");
    EXPECT_FLOAT_EQ(centered_text_start(512.0f, 9), 467.0f);  // "- pause -"
}

}  // namespace
