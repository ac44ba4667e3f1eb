// The shell's key, idle and reshape handling, run without a window: the demo
// module is faked below, the clock and the toolkit requests are injected.

#include "shell/callbacks.h"
#include "shell/demo.h"
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

struct exit_request {
    int status;
};

bool s_consume_keys = false;
bool s_keep_going = true;
std::vector<std::string> s_calls;  // what the shell asked of the demo
std::uint32_t s_now = 0;           // the injected wall clock, ms
int s_redisplays = 0;
std::vector<idle_callback_t> s_idle_settings;

std::uint32_t fake_clock() { return s_now; }
void fake_post_redisplay() { ++s_redisplays; }
void fake_set_idle(idle_callback_t callback) { s_idle_settings.push_back(callback); }

std::string key_call(const char* what, unsigned char key, int x, int y)
{
    return std::string(what) + " " + std::to_string(key) + " " + std::to_string(x) + "," + std::to_string(y);
}

}  // namespace

// The program's demo module, faked.
void demo_init() {}
void demo_draw() {}
void demo_draw_overlay() {}
void demo_reshape(int w, int h) { s_calls.push_back("reshape " + std::to_string(w) + "x" + std::to_string(h)); }
bool demo_update(std::uint32_t msec)
{
    s_calls.push_back("update " + std::to_string(msec));
    return s_keep_going;
}
bool demo_key_down(unsigned char key, int x, int y)
{
    s_calls.push_back(key_call("key_down", key, x, y));
    return s_consume_keys;
}
bool demo_key_up(unsigned char key, int x, int y)
{
    s_calls.push_back(key_call("key_up", key, x, y));
    return s_consume_keys;
}
void demo_clear() { s_calls.push_back("clear"); }
void my_exit(int status) { throw exit_request{status}; }

namespace {

using calls_t = std::vector<std::string>;

class ShellKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_consume_keys = false;
        s_keep_going = true;
        s_calls.clear();
        s_now = 1000;
        s_redisplays = 0;
        s_idle_settings.clear();
        m_clock = set_wall_clock_source(fake_clock);
        m_requests = set_toolkit_requests({fake_post_redisplay, fake_set_idle});
        g_pause = false;
        g_show_fps = true;
        g_show_demo_overlay = false;
        g_show_time = true;
        g_demo_msec = 0;
        g_last_time = s_now;
    }
    void TearDown() override
    {
        set_wall_clock_source(m_clock);
        set_toolkit_requests(m_requests);
    }

    // Presses a key; returns what the shell wrote to standard output.
    static std::string press(unsigned char key)
    {
        testing::internal::CaptureStdout();
        keyboard(key, 0, 0);
        return testing::internal::GetCapturedStdout();
    }
    static std::string press_special(int key)
    {
        testing::internal::CaptureStdout();
        special(key, 0, 0);
        return testing::internal::GetCapturedStdout();
    }
    static int exit_status_of(void (*action)())
    {
        try {
            action();
        } catch (const exit_request& request) {
            return request.status;
        }
        return -1;
    }

    wall_clock_source_t m_clock = nullptr;
    toolkit_requests_t m_requests{};
};

TEST_F(ShellKeysTest, EscapeAndQuitKeysExitWithStatusZero)
{
    EXPECT_EQ(exit_status_of([] { keyboard(27, 0, 0); }), 0);
    EXPECT_EQ(exit_status_of([] { keyboard('q', 0, 0); }), 0);
    EXPECT_EQ(exit_status_of([] { keyboard('Q', 0, 0); }), 0);
}

TEST_F(ShellKeysTest, OverlaySwitchesToggleInEitherCase)
{
    EXPECT_EQ(press('f'), "");
    EXPECT_FALSE(g_show_fps);
    press('F');
    EXPECT_TRUE(g_show_fps);
    press('g');
    EXPECT_TRUE(g_show_demo_overlay);
    press('G');
    EXPECT_FALSE(g_show_demo_overlay);
    EXPECT_EQ(s_redisplays, 0) << "f and g wait for the next redisplay";

    press('t');
    EXPECT_FALSE(g_show_time);
    press('T');
    EXPECT_TRUE(g_show_time);
    EXPECT_EQ(s_redisplays, 2) << "t redraws at once";
}

TEST_F(ShellKeysTest, OtherKeysPrintTheKeyAsReceived)
{
    EXPECT_EQ(press('x'), "key: x(120)\n");
    EXPECT_EQ(press('X'), "key: X(88)\n");
    EXPECT_EQ(press(200), std::string("key: \xC8(200)\n"));
    EXPECT_EQ(s_calls[0], key_call("key_down", 'x', 0, 0)) << "offered to the demo first";
}

TEST_F(ShellKeysTest, AConsumedKeyNeverReachesTheShellTable)
{
    s_consume_keys = true;
    for (unsigned char key : {'\x1b', 'q', ' ', 'f', 't', 'x'})
        EXPECT_EQ(press(key), "") << "key " << int(key);
    EXPECT_FALSE(g_pause);
    EXPECT_TRUE(g_show_fps);
    EXPECT_TRUE(g_show_time);
    EXPECT_EQ(s_redisplays, 0);
}

TEST_F(ShellKeysTest, KeyUpReachesTheDemoWhetherOrNotTheDownWasConsumed)
{
    keyboard_up('5', 12, 34);
    s_consume_keys = true;
    keyboard_up('q', 0, 0);
    EXPECT_EQ(s_calls, (calls_t{key_call("key_up", '5', 12, 34), key_call("key_up", 'q', 0, 0)}));
}

TEST_F(ShellKeysTest, SpaceStopsAndRestartsTheIdleCallback)
{
    press(' ');
    EXPECT_TRUE(g_pause);
    EXPECT_EQ(s_idle_settings, (std::vector<idle_callback_t>{nullptr}));
    EXPECT_EQ(s_redisplays, 1) << "the pause label shows at once";

    s_now = 5000;
    press(' ');
    EXPECT_FALSE(g_pause);
    EXPECT_EQ(s_idle_settings, (std::vector<idle_callback_t>{nullptr, &idle}));
    EXPECT_EQ(g_last_time, 5000u);
}

TEST_F(ShellKeysTest, PausedWallTimeIsNotAddedToDemoTime)
{
    s_now = 1500;
    idle();
    EXPECT_EQ(g_demo_msec, 500u);
    s_now = 1600;
    press(' ');
    press_special(GLUT_KEY_RIGHT);  // time keys still work while paused
    EXPECT_EQ(g_demo_msec, 1500u);
    s_now = 9600;
    press(' ');
    s_now = 9700;
    idle();
    EXPECT_EQ(g_demo_msec, 1600u);
}

TEST_F(ShellKeysTest, ArrowsStepTheDemoTimeAndWrapAroundZero)
{
    g_demo_msec = 400;
    press_special(GLUT_KEY_LEFT);
    EXPECT_EQ(g_demo_msec, 4294966696u);
    press_special(GLUT_KEY_RIGHT);
    EXPECT_EQ(g_demo_msec, 400u);
    press_special(GLUT_KEY_DOWN);
    EXPECT_EQ(g_demo_msec, 500u);
    press_special(GLUT_KEY_UP);
    EXPECT_EQ(g_demo_msec, 400u);
    EXPECT_EQ(s_redisplays, 4);
    EXPECT_TRUE(s_calls.empty()) << "special keys never reach the demo";
}

TEST_F(ShellKeysTest, FunctionKeysOneToEightAreSilentOthersArePrinted)
{
    for (int key = GLUT_KEY_F1; key <= GLUT_KEY_F8; ++key)
        EXPECT_EQ(press_special(key), "") << "F" << key;
    EXPECT_EQ(press_special(GLUT_KEY_F9), "special: 9\n");
    EXPECT_EQ(press_special(GLUT_KEY_HOME), "special: " + std::to_string(GLUT_KEY_HOME) + "\n");
}

TEST_F(ShellKeysTest, IdleAdvancesByTheWallTimeEvenAcrossTheClockWrap)
{
    g_demo_msec = 250;
    g_last_time = 0xFFFFFF00u;
    s_now = 0x40;
    idle();
    EXPECT_EQ(s_calls, (calls_t{"update 570"}));  // 250 + 0x140
    EXPECT_EQ(g_last_time, 0x40u);
    EXPECT_EQ(s_redisplays, 1);
}

TEST_F(ShellKeysTest, IdleEndsTheProgramWhenTheDemoIsOver)
{
    s_keep_going = false;
    g_demo_msec = 4294967000u;
    s_now = g_last_time + 295;
    EXPECT_EQ(exit_status_of(idle), 0);
    EXPECT_EQ(s_calls, (calls_t{"update 4294967295"}));
    EXPECT_EQ(s_redisplays, 0);
}

TEST_F(ShellKeysTest, ReshapeAndCloseReachTheDemo)
{
    reshape(1920, 1080);
    EXPECT_EQ(g_width, 1920);
    EXPECT_EQ(g_height, 1080);
    close_window();
    EXPECT_EQ(s_calls, (calls_t{"reshape 1920x1080", "clear"}));
}

TEST_F(ShellKeysTest, InitStateWaitsOneSecondThenStartsTheClockAtZero)
{
    g_pause = true;
    g_show_fps = false;
    g_show_demo_overlay = true;
    g_show_time = false;
    g_demo_msec = 777;
    s_now = 123456;
    const auto before = std::chrono::steady_clock::now();
    init_state();
    const auto waited = std::chrono::steady_clock::now() - before;
    EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count(), 1000);
    EXPECT_FALSE(g_pause);
    EXPECT_TRUE(g_show_fps);
    EXPECT_FALSE(g_show_demo_overlay);
    EXPECT_TRUE(g_show_time);
    EXPECT_EQ(g_demo_msec, 0u);
    EXPECT_EQ(g_last_time, 123456u);
}

}  // namespace
