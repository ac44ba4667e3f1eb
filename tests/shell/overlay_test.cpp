// Overlay arithmetic that needs neither a window nor a GL context.

#include "shell/overlay.h"
#include "shell/shell_state.h"
#include "shell/wall_clock.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t s_now = 0;

std::uint32_t fake_clock()
{
    return s_now;
}

class FrameCounterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_clock = set_wall_clock_source(fake_clock);
        g_fps_second = 0;
        g_fps_frames = 0;
        g_fps = 0;
    }
    void TearDown() override { set_wall_clock_source(m_clock); }

    static void frame_at(std::uint32_t msec)
    {
        s_now = msec;
        count_frame();
    }

    wall_clock_source_t m_clock = nullptr;
};

TEST_F(FrameCounterTest, FirstFramePublishesOneThenWholeSecondsIncludingTheFirstFrameOfTheNext)
{
    frame_at(5000);
    EXPECT_EQ(g_fps, 1u);
    frame_at(5100);
    frame_at(5999);
    EXPECT_EQ(g_fps, 1u) << "nothing new within a second";
    EXPECT_EQ(g_fps_frames, 2u);
    frame_at(6000);
    EXPECT_EQ(g_fps, 3u);
    EXPECT_EQ(g_fps_frames, 0u);
    EXPECT_EQ(fps_text(), "3 fps");
}

TEST_F(FrameCounterTest, AGapOfSeveralSecondsPublishesWhatWasCounted)
{
    frame_at(5000);
    frame_at(5500);
    frame_at(9000);  // the line was hidden in between
    EXPECT_EQ(g_fps, 2u);
    EXPECT_EQ(g_fps_second, 9u);
}

TEST(OverlayTextTest, CentredPauseLabelStartsAt467)
{
    EXPECT_FLOAT_EQ(centered_text_start(512.0f, 9), 467.0f);  // "- pause -"
    EXPECT_FLOAT_EQ(centered_text_start(512.0f, 0), 512.0f);
}

TEST(OverlayTextTest, TimeLineShowsTheUnsignedDemoClock)
{
    g_demo_msec = 0;
    EXPECT_EQ(time_text(), "0 msec");
    g_demo_msec = 400u - 1000u;  // left arrow at 400 ms
    EXPECT_EQ(time_text(), "4294966696 msec");
}

}  // namespace
