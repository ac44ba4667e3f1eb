// The shell's keys, idle step, reshape and frame counter, run without a
// window: the real demo module forwards to a root holding a recording demo
// object; the clock and the toolkit requests are injected.

#include "shell/callbacks.h"
#include "framework/demo_root.h"
#include "shell/demo.h"
#include "shell/overlay.h"
#include "shell/shell_state.h"
#include "shell/toolkit_requests.h"
#include "shell/wall_clock.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

using calls_t = std::vector<std::string>;

bool s_consume_keys = false;
calls_t s_calls;          // what the shell asked of the demo
std::uint32_t s_now = 0;  // the injected wall clock, ms
int s_redisplays = 0;
std::vector<idle_callback_t> s_idle_settings;

std::uint32_t fake_clock() { return s_now; }
void fake_post_redisplay() { ++s_redisplays; }
void fake_set_idle(idle_callback_t callback) { s_idle_settings.push_back(callback); }

// An open-ended demo object that records what reaches it.
class recorder_t : public demo_object_t {
public:
    recorder_t() { m_length = demo_open_ended; }
    ~recorder_t() override { s_calls.push_back("deleted"); }
    void draw() override {}
    bool update(std::uint32_t msec) override {
        s_calls.push_back("update " + std::to_string(msec));
        return demo_object_t::update(msec);
    }
    void reshape(int w, int h) override { s_calls.push_back("reshape " + std::to_string(w) + "x" + std::to_string(h)); }
    bool key_down(unsigned char key, int x, int y) override { return key_call("key_down", key, x, y); }
    bool key_up(unsigned char key, int x, int y) override { return key_call("key_up", key, x, y); }

private:
    static bool key_call(const char* what, unsigned char key, int x, int y) {
        s_calls.push_back(std::string(what) + " " + std::to_string(key) + " " + std::to_string(x) + "," +
                          std::to_string(y));
        return s_consume_keys;
    }
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        s_consume_keys = false;
        s_calls.clear();
        s_now = 1000;
        s_redisplays = 0;
        s_idle_settings.clear();
        m_clock = set_wall_clock_source(fake_clock);
        m_requests = set_toolkit_requests({fake_post_redisplay, fake_set_idle});
        g_pause = g_show_demo_overlay = false;
        g_show_fps = g_show_time = true;
        g_demo_msec = 0;
        g_last_time = s_now;
        m_root.add(new recorder_t);
        m_root.start();
        m_root.resize(640, 480);  // makes the recorder current: keys reach it
        demo_use_root(&m_root);
        s_calls.clear();
    }
    void TearDown() override {
        demo_use_root(nullptr);
        set_wall_clock_source(m_clock);
        set_toolkit_requests(m_requests);
    }

    // Runs a handler; returns what the shell wrote to standard output.
    template <class F> static std::string output_of(F action) {
        testing::internal::CaptureStdout();
        action();
        return testing::internal::GetCapturedStdout();
    }
    static std::string press(unsigned char key) {
        return output_of([key] { keyboard(key, 0, 0); });
    }
    static std::string press_special(int key) {
        return output_of([key] { special(key, 0, 0); });
    }
    wall_clock_source_t m_clock = nullptr;
    toolkit_requests_t m_requests{};
    demo_root_t m_root;
};

TEST_F(ShellTest, KeyTableFoldsCaseAndPrintsOtherKeysAsReceived) {
    for (unsigned char key : {'f', 'g', 't'}) EXPECT_EQ(press(key), "");
    EXPECT_TRUE(!g_show_fps && g_show_demo_overlay && !g_show_time);
    EXPECT_EQ(s_redisplays, 1) << "f and g wait for the next redisplay, t redraws at once";
    for (unsigned char key : {'F', 'G', 'T'}) EXPECT_EQ(press(key), "");
    EXPECT_TRUE(g_show_fps && !g_show_demo_overlay && g_show_time);
    EXPECT_EQ(s_redisplays, 2);
    for (unsigned char key : {'\x1b', 'q', 'Q'})
        EXPECT_EXIT(keyboard(key, 0, 0), testing::ExitedWithCode(0), "") << int(key);
    EXPECT_EQ(press('x'), "key: x(120)\n");
    EXPECT_EQ(press('X'), "key: X(88)\n");
    EXPECT_EQ(press(200), "key: \xC8(200)\n");
    EXPECT_EQ(s_calls.size(), 9u) << "every key is offered to the demo first";
}

TEST_F(ShellTest, AConsumedKeyNeverReachesTheShellButEveryKeyUpReachesTheDemo) {
    s_consume_keys = true;
    for (unsigned char key : {'\x1b', 'q', ' ', 'f', 't', 'x'}) EXPECT_EQ(press(key), "") << "key " << int(key);
    EXPECT_TRUE(!g_pause && g_show_fps && g_show_time);
    EXPECT_EQ(s_redisplays, 0);
    s_calls.clear();
    keyboard_up('5', 12, 34);
    s_consume_keys = false;
    keyboard_up('q', 0, 0);
    EXPECT_EQ(s_calls, (calls_t{"key_up 53 12,34", "key_up 113 0,0"}));
}

TEST_F(ShellTest, TimeKeysWrapAroundZeroAndWorkWhilePausedWithoutAddingPausedWallTime) {
    g_demo_msec = 400;
    const std::pair<int, std::uint32_t> steps[] = {
        {GLUT_KEY_LEFT, 4294966696u}, {GLUT_KEY_RIGHT, 400}, {GLUT_KEY_DOWN, 500}, {GLUT_KEY_UP, 400}};
    for (const auto& [key, demo_msec] : steps) {
        EXPECT_EQ(press_special(key), "");
        EXPECT_EQ(g_demo_msec, demo_msec) << key;
    }
    EXPECT_EQ(s_redisplays, 4);
    for (int key = GLUT_KEY_F1; key <= GLUT_KEY_F8; ++key) EXPECT_EQ(press_special(key), "") << "F" << key;
    EXPECT_EQ(press_special(GLUT_KEY_F9), "special: 9\n");
    EXPECT_TRUE(s_calls.empty()) << "special keys never reach the demo";

    s_now = 1500;
    idle();
    EXPECT_EQ(g_demo_msec, 900u);
    s_now = 1600;
    press(' ');
    EXPECT_TRUE(g_pause);
    EXPECT_EQ(s_idle_settings, (std::vector<idle_callback_t>{nullptr}));
    EXPECT_EQ(s_redisplays, 6) << "the pause label shows at once";
    press_special(GLUT_KEY_RIGHT);
    EXPECT_EQ(g_demo_msec, 1900u);
    s_now = 9600;
    press(' ');
    EXPECT_FALSE(g_pause);
    EXPECT_EQ(s_idle_settings, (std::vector<idle_callback_t>{nullptr, &idle}));
    s_now = 9700;
    idle();
    EXPECT_EQ(g_demo_msec, 2000u);
}

TEST_F(ShellTest, IdleAddsTheWallTimeModuloTwoToThe32AndEndsOnlyOnTheLastMillisecond) {
    const struct {
        const char* what;
        std::uint32_t demo, last, now, updated;
    } steps[] = {
        {"across the wall clock's wrap", 250, 0xFFFFFF00u, 0x40, 570},
        {"to just below the end", 4294967200u, 0, 94, 4294967294u},
        {"400 ms, the left arrow, then a step", 4294966696u, 0, 590, 4294967286u},
        {"a step over the end wraps and goes on", 4294967286u, 0, 40, 30},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s_calls.clear();
        s_redisplays = 0;
        g_demo_msec = s.demo;
        g_last_time = s.last;
        s_now = s.now;
        idle();
        EXPECT_EQ(s_calls, (calls_t{"update " + std::to_string(s.updated)}));
        EXPECT_EQ(g_demo_msec, s.updated);
        EXPECT_EQ(s_redisplays, 1);
        EXPECT_EQ(g_last_time, s.now);
    }
    // A step landing on the last millisecond (by the clock, or after the time
    // keys put it there) ends the demo through the exit routine.
    for (const auto& [demo, now] : {std::pair{4294967000u, 295u}, std::pair{0xFFFFFFFFu, 0u}}) {
        g_demo_msec = demo;
        g_last_time = 0;
        s_now = now;
        EXPECT_EXIT(idle(), testing::ExitedWithCode(0), "") << demo;
    }
}

TEST_F(ShellTest, OverlayTextAndTheFrameCountPublishedWhenTheSecondChanges) {
    g_fps_second = g_fps_frames = g_fps = 0;
    for (std::uint32_t msec : {5000u, 5100u, 5999u}) {
        s_now = msec;
        count_frame();
        EXPECT_EQ(g_fps, 1u) << "nothing new within a second";
    }
    s_now = 6000;
    count_frame();
    EXPECT_EQ(fps_text(), "3 fps") << "the frame entering a second counts";
    s_now = 6500;
    count_frame();
    s_now = 9000;  // the line was hidden in between
    count_frame();
    EXPECT_EQ(g_fps, 2u);
    EXPECT_EQ(g_fps_second, 9u);
    EXPECT_FLOAT_EQ(centered_text_start(512.0f, 9), 467.0f);  // "- pause -"
    EXPECT_EQ(time_text(), "0 msec");
    g_demo_msec = 400u - 1000u;  // the left arrow at 400 ms
    EXPECT_EQ(time_text(), "4294966696 msec");
}

TEST_F(ShellTest, ReshapeAndCloseReachTheDemoAndInitStateStartsTheClockAfterASecond) {
    reshape(1920, 1080);
    EXPECT_EQ(g_width, 1920);
    EXPECT_EQ(g_height, 1080);
    close_window();
    EXPECT_EQ(s_calls, (calls_t{"reshape 1920x1080", "deleted"}));

    g_pause = g_show_demo_overlay = true;
    g_show_fps = g_show_time = false;
    g_demo_msec = 777;
    s_now = 123456;
    const auto before = std::chrono::steady_clock::now();
    init_state();
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(1000));
    EXPECT_TRUE(!g_pause && g_show_fps && !g_show_demo_overlay && g_show_time);
    EXPECT_EQ(g_demo_msec, 0u);
    EXPECT_EQ(g_last_time, 123456u);
}

}  // namespace
