#include "input/joystick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// What the scripted device reports; the test moves the stick through it.
struct stick_t {
    bool working = true;
    int axis_count = 4;
    int button_count = 2;
    int buttons = 0;
    std::vector<float> axes = std::vector<float>(16, 0.0f);
    int reads = 0;
};

class scripted_device_t : public joystick_device_t {
public:
    explicit scripted_device_t(stick_t& stick) : m_stick(stick) {}
    bool working() const override { return m_stick.working; }
    int axis_count() const override { return m_stick.axis_count; }
    int button_count() const override { return m_stick.button_count; }
    void read(int* buttons, float* axes) override
    {
        ++m_stick.reads;
        if (buttons)
            *buttons = m_stick.buttons;
        for (int i = 0; axes && i < std::min(m_stick.axis_count, 16); ++i)
            axes[i] = m_stick.axes[i];
    }

private:
    stick_t& m_stick;
};

joystick_t on(stick_t& stick)
{
    return joystick_t(std::make_unique<scripted_device_t>(stick));
}

TEST(JoystickTest, NoJoystickReportsNothing)
{
    // Joystick 15 is absent on any machine that runs the tests.
    joystick_t absent(15);
    EXPECT_TRUE(absent.m_axes.empty());
    EXPECT_TRUE(absent.m_buttons.empty());
    EXPECT_FALSE(absent.poll());
    EXPECT_FALSE(absent.read_absolute());
    EXPECT_TRUE(absent.m_axes.empty());
}

TEST(JoystickTest, NotWorkingDeviceCountsAsAbsent)
{
    stick_t stick;
    stick.working = false;
    stick.axis_count = 0x5eed;  // whatever a failed open left behind
    joystick_t js = on(stick);
    EXPECT_TRUE(js.m_axes.empty());
    EXPECT_TRUE(js.m_last_buttons.empty());
    EXPECT_FALSE(js.poll());
    EXPECT_EQ(stick.reads, 0);
}

TEST(JoystickTest, AxisCountClampedToLibraryMaximum)
{
    stick_t stick;
    stick.axis_count = 40;
    stick.button_count = -1;
    joystick_t js = on(stick);
    EXPECT_EQ(js.m_axes.size(), 16u);
    EXPECT_EQ(js.m_last_axes.size(), 16u);
    EXPECT_TRUE(js.m_buttons.empty());
}

TEST(JoystickTest, PollReportsChangesSincePreviousPoll)
{
    stick_t stick;
    joystick_t js = on(stick);
    ASSERT_EQ(js.m_axes.size(), 4u);
    EXPECT_FALSE(js.poll());  // at rest, as after construction

    stick.axes[0] = 0.5f;
    EXPECT_TRUE(js.poll());
    EXPECT_EQ(js.m_axes, (std::vector<float>{0.5f, 0, 0, 0}));

    EXPECT_FALSE(js.poll());
    EXPECT_EQ(js.m_axes, (std::vector<float>{0, 0, 0, 0}));

    stick.buttons = 0x4;
    EXPECT_TRUE(js.poll());
    EXPECT_EQ(js.m_axes, (std::vector<float>{0, 0, 0, 0}));
    EXPECT_FALSE(js.poll());
    stick.buttons = 0;
    EXPECT_TRUE(js.poll());
}

TEST(JoystickTest, LastAxesFollowReadingsExactly)
{
    stick_t stick;
    joystick_t js = on(stick);
    // 0.7 then 0.1: last + (0.1 - 0.7) rounds to 0.100000024 in float.
    for (float x : {0.3f, -1.0f, 0.7f, 0.1f}) {
        stick.axes[0] = x;
        stick.axes[3] = -x;
        js.poll();
    }
    EXPECT_EQ(js.m_last_axes, (std::vector<float>{0.1f, 0, 0, -0.1f}));
    EXPECT_FALSE(js.poll());  // a resting stick stays at rest
    EXPECT_EQ(js.m_axes[0], 0.0f);
}

TEST(JoystickTest, ReadAbsoluteKeepsPositions)
{
    stick_t stick;
    joystick_t js = on(stick);
    stick.axes[1] = -0.25f;
    EXPECT_TRUE(js.read_absolute());
    EXPECT_EQ(js.m_axes, (std::vector<float>{0, -0.25f, 0, 0}));
    EXPECT_FALSE(js.read_absolute());
    EXPECT_EQ(js.m_axes[1], -0.25f);
    EXPECT_EQ(js.m_last_axes, js.m_axes);
    // A poll afterwards measures from the absolute reading.
    stick.axes[1] = 0.25f;
    EXPECT_TRUE(js.poll());
    EXPECT_EQ(js.m_axes[1], 0.5f);
}

}  // namespace
