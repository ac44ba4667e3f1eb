// The idle step at the end of the demo clock: an open-ended demo ends on the
// clock's last millisecond, whatever the size of the step that reaches it.
// The demo module is faked: it ends the demo at 4294967295, as the root does.

#include "shell/callbacks.h"
#include "shell/demo.h"
#include "shell/shell_state.h"
#include "shell/toolkit_requests.h"
#include "shell/wall_clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct exit_request {
    int status;
};

std::uint32_t s_now = 0;  // the injected wall clock, ms
std::vector<std::uint32_t> s_updates;

std::uint32_t fake_clock() { return s_now; }
void no_redisplay() {}
void no_idle_change(idle_callback_t) {}

}  // namespace

void demo_init() {}
void demo_draw() {}
void demo_draw_overlay() {}
void demo_reshape(int, int) {}
bool demo_update(std::uint32_t msec)
{
    s_updates.push_back(msec);
    return msec != 0xFFFFFFFFu;  // the root of an open-ended demo
}
bool demo_key_down(unsigned char, int, int) { return false; }
bool demo_key_up(unsigned char, int, int) { return false; }
void demo_clear() {}
void my_exit(int status) { throw exit_request{status}; }

namespace {

class IdleEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_updates.clear();
        m_clock = set_wall_clock_source(fake_clock);
        m_requests = set_toolkit_requests({no_redisplay, no_idle_change});
        s_now = 5000;
        g_last_time = s_now;
    }
    void TearDown() override
    {
        set_wall_clock_source(m_clock);
        set_toolkit_requests(m_requests);
    }

    // One idle step of step_msec; the exit status, or -1 if the demo goes on.
    static int step(std::uint32_t step_msec)
    {
        s_now += step_msec;
        try {
            idle();
        } catch (const exit_request& request) {
            return request.status;
        }
        return -1;
    }

    wall_clock_source_t m_clock = nullptr;
    toolkit_requests_t m_requests{};
};

TEST_F(IdleEndTest, AStepOverTheLastMillisecondStopsOnItAndEndsTheDemo)
{
    g_demo_msec = 4294966696u;  // 400 ms, then the left arrow
    EXPECT_EQ(step(590), -1);
    EXPECT_EQ(step(40), 0) << "would have wrapped to 30";
    EXPECT_EQ(s_updates, (std::vector<std::uint32_t>{4294967286u, 4294967295u}));
    EXPECT_EQ(g_demo_msec, 4294967295u);
}

TEST_F(IdleEndTest, AStepLandingOnTheLastMillisecondEndsTheDemo)
{
    g_demo_msec = 4294967000u;
    EXPECT_EQ(step(295), 0);
    EXPECT_EQ(s_updates, (std::vector<std::uint32_t>{4294967295u}));
}

TEST_F(IdleEndTest, StepsBelowTheEndAndEmptyStepsAtItAreUnchanged)
{
    g_demo_msec = 4294967200u;
    EXPECT_EQ(step(94), -1);
    EXPECT_EQ(g_demo_msec, 4294967294u);
    g_demo_msec = 0xFFFFFFFFu;  // set there by the time keys
    EXPECT_EQ(step(0), 0);
    EXPECT_EQ(s_updates, (std::vector<std::uint32_t>{4294967294u, 4294967295u}));
}

}  // namespace
