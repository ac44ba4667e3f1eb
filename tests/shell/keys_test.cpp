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

struct fake_demo_t {
    bool consume_keys = false;
    bool keep_going = true;
    std::vector<std::string> calls;
};

fake_demo_t s_demo;
std::uint32_t s_now = 0;
int s_redisplays = 0;
std::vector<idle_callback_t> s_idle_settings;

std::uint32_t fake_clock()
{
    return s_now;
}

void fake_post_redisplay()
{
    ++s_redisplays;
}

void fake_set_idle(idle_callback_t callback)
{
    s_idle_settings.push_back(callback);
}

}  // namespace

// The demo module of the program, faked: it records what the shell asks.
void demo_init() {}
void demo_draw() {}
void demo_draw_overlay() {}
void demo_reshape(int width, int height)
{
    s_demo.calls.push_back("reshape " + std::to_string(width) + "x" + std::to_string(height));
}
bool demo_update(std::uint32_t msec)
{
    s_demo.calls.push_back("update " + std::to_string(msec));
    return s_demo.keep_going;
}
bool demo_key_down(unsigned char key, int x, int y)
{
    s_demo.calls.push_back("key_down " + std::to_string(key) + " " + std::to_string(x) + "," + std::to_string(y));
    return s_demo.consume_keys;
}
bool demo_key_up(unsigned char key, int x, int y)
{
    s_demo.calls.push_back("key_up " + std::to_string(key) + " " + std::to_string(x) + "," + std::to_string(y));
    return s_demo.consume_keys;
}
void demo_clear()
{
    s_demo.calls.push_back("clear");
}
void my_exit(int status)
{
    throw exit_request{status};
}

namespace {

using calls_t = std::vector<std::string>;

class ShellKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_demo = fake_demo_t{};
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

    // Presses a key and returns what the shell wrote to standard output.
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
    static int exit_status_of(unsigned char key)
    {
        try {
            keyboard(key, 0, 0);
        } catch (const exit_request& request) {
            return request.status;
        }
        return -1;
    }

    wall_clock_source_t m_clock = nullptr;
    toolkit_requests_t m_requests{};
};

// --- the key table ----------------------------------------------------------

TEST_F(ShellKeysTest, EscapeAndQuitKeysExitWithStatusZero)
{
    EXPECT_EQ(exit_status_of(27), 0);
    EXPECT_EQ(exit_status_of('q'), 0);
    EXPECT_EQ(exit_status_of('Q'), 0);
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
    EXPECT_EQ(press('7'), "key: 7(55)\n");
    EXPECT_EQ(press(200), std::string("key: \xC8(200)\n"));
    EXPECT_EQ(s_redisplays, 0);
    EXPECT_TRUE(s_idle_settings.empty());
}

TEST_F(ShellKeysTest, KeysGoToTheDemoFirstWithTheirPosition)
{
    keyboard('x', 12, 34);
    keyboard_up('x', 56, 78);
    EXPECT_EQ(s_demo.calls, (calls_t{"key_down 120 12,34", "key_up 120 56,78"}));
}

TEST_F(ShellKeysTest, AConsumedKeyNeverReachesTheShellTable)
{
    s_demo.consume_keys = true;
    for (unsigned char key : {(unsigned char)27, (unsigned char)'q', (unsigned char)' ', (unsigned char)'f',
                              (unsigned char)'t', (unsigned char)'x'}) {
        EXPECT_EQ(press(key), "") << "key " << int(key);
    }
    EXPECT_FALSE(g_pause);
    EXPECT_TRUE(g_show_fps);
    EXPECT_TRUE(g_show_time);
    EXPECT_EQ(s_redisplays, 0);
    EXPECT_EQ(s_demo.calls.size(), 6u);
}

TEST_F(ShellKeysTest, KeyUpReachesTheDemoWhetherOrNotTheDownWasConsumed)
{
    s_demo.consume_keys = false;
    keyboard_up('5', 0, 0);
    s_demo.consume_keys = true;
    keyboard_up('q', 0, 0);  // consumed or not, key-up has no shell meaning
    EXPECT_EQ(s_demo.calls, (calls_t{"key_up 53 0,0", "key_up 113 0,0"}));
}

// --- pause --------------------------------------------------------------------

TEST_F(ShellKeysTest, SpaceStopsAndRestartsTheIdleCallback)
{
    press(' ');
    EXPECT_TRUE(g_pause);
    ASSERT_EQ(s_idle_settings.size(), 1u);
    EXPECT_EQ(s_idle_settings[0], nullptr);
    EXPECT_EQ(s_redisplays, 1) << "the pause label shows at once";

    s_now = 5000;
    press(' ');
    EXPECT_FALSE(g_pause);
    ASSERT_EQ(s_idle_settings.size(), 2u);
    EXPECT_EQ(s_idle_settings[1], &idle);
    EXPECT_EQ(g_last_time, 5000u);
}

TEST_F(ShellKeysTest, PausedWallTimeIsNotAddedToDemoTime)
{
    s_now = 1500;
    idle();
    EXPECT_EQ(g_demo_msec, 500u);

    s_now = 1600;
    press(' ');  // pause; the 100 ms since the last step are dropped too
    s_now = 9600;
    press(' ');
    s_now = 9700;
    idle();
    EXPECT_EQ(g_demo_msec, 600u);
}

// --- time keys --------------------------------------------------------------------

TEST_F(ShellKeysTest, ArrowsStepTheDemoTimeAndRedraw)
{
    g_demo_msec = 5000;
    press_special(GLUT_KEY_RIGHT);
    EXPECT_EQ(g_demo_msec, 6000u);
    press_special(GLUT_KEY_DOWN);
    EXPECT_EQ(g_demo_msec, 6100u);
    press_special(GLUT_KEY_UP);
    EXPECT_EQ(g_demo_msec, 6000u);
    press_special(GLUT_KEY_LEFT);
    EXPECT_EQ(g_demo_msec, 5000u);
    EXPECT_EQ(s_redisplays, 4);
    EXPECT_TRUE(s_demo.calls.empty()) << "special keys never reach the demo";
}

TEST_F(ShellKeysTest, StepBackPastZeroWrapsAround)
{
    g_demo_msec = 400;
    press_special(GLUT_KEY_LEFT);
    EXPECT_EQ(g_demo_msec, 4294966696u);
    press_special(GLUT_KEY_RIGHT);
    EXPECT_EQ(g_demo_msec, 400u);
}

TEST_F(ShellKeysTest, TimeKeysWorkWhilePausedAndThePauseAddsNothing)
{
    press(' ');
    press_special(GLUT_KEY_RIGHT);
    EXPECT_EQ(g_demo_msec, 1000u);
    s_now = 4000;
    press(' ');
    s_now = 4010;
    idle();
    EXPECT_EQ(g_demo_msec, 1010u);
}

TEST_F(ShellKeysTest, FunctionKeysOneToEightAreSilentOthersArePrinted)
{
    for (int key = GLUT_KEY_F1; key <= GLUT_KEY_F8; ++key)
        EXPECT_EQ(press_special(key), "") << "F" << key;
    EXPECT_EQ(press_special(GLUT_KEY_F9), "special: 9\n");
    EXPECT_EQ(press_special(GLUT_KEY_F12), "special: 12\n");
    EXPECT_EQ(press_special(GLUT_KEY_HOME), "special: " + std::to_string(GLUT_KEY_HOME) + "\n");
    EXPECT_EQ(s_redisplays, 0);
}

// --- idle, reshape, close ---------------------------------------------------------

TEST_F(ShellKeysTest, IdleAdvancesByTheWallTimeAndAsksForARedisplay)
{
    g_demo_msec = 250;
    s_now = 1040;
    idle();
    EXPECT_EQ(s_demo.calls, (calls_t{"update 290"}));
    EXPECT_EQ(g_last_time, 1040u);
    EXPECT_EQ(s_redisplays, 1);
}

TEST_F(ShellKeysTest, IdleSurvivesTheWallClockWrapping)
{
    g_last_time = 0xFFFFFF00u;
    s_now = 0x100;
    idle();
    EXPECT_EQ(g_demo_msec, 0x200u);
}

TEST_F(ShellKeysTest, IdleEndsTheProgramWhenTheDemoIsOver)
{
    s_demo.keep_going = false;
    g_demo_msec = 4294967000u;
    s_now = g_last_time + 295;
    try {
        idle();
        ADD_FAILURE() << "idle returned although the demo is over";
    } catch (const exit_request& request) {
        EXPECT_EQ(request.status, 0);
    }
    EXPECT_EQ(s_demo.calls, (calls_t{"update 4294967295"}));
    EXPECT_EQ(s_redisplays, 0);
}

TEST_F(ShellKeysTest, ReshapeStoresTheSizeAndPassesItOn)
{
    reshape(1920, 1080);
    EXPECT_EQ(g_width, 1920);
    EXPECT_EQ(g_height, 1080);
    EXPECT_EQ(s_demo.calls, (calls_t{"reshape 1920x1080"}));
}

TEST_F(ShellKeysTest, ClosingTheWindowDeletesTheDemoObjects)
{
    close_window();
    EXPECT_EQ(s_demo.calls, (calls_t{"clear"}));
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
