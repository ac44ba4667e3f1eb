// The joystick adapter's polls of a scripted device and of one that is not there.
#include "input/joystick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

using axes_t = std::vector<float>;

// Two axes and a button mask, standing where the test puts them.
struct stick_t : joystick_device_t {
    axes_t pos{0.0f, 0.0f};
    int mask = 0;
    bool working() const override { return true; }
    int axis_count() const override { return 2; }
    int button_count() const override { return 1; }
    void read(int* buttons, float* axes) override { *buttons = mask, std::copy(pos.begin(), pos.end(), axes); }
};

TEST(JoystickTest, EachPollReportsWhetherAnythingMovedAndHowFarPerAxis) {
    // The stick's position and buttons, whether the poll reports a change, the change per axis.
    const std::tuple<axes_t, int, bool, axes_t> polls[] = {
        {{0.25f, -0.5f}, 0, true, {0.25f, -0.5f}},  // the first poll measures from zeros
        {{0.25f, -0.5f}, 0, false, {0, 0}},
        {{0.7f, -0.5f}, 0, true, {0.7f - 0.25f, 0}},
        {{0.7f, -0.5f}, 4, true, {0, 0}},  // a button alone, the sticks still
        {{0.1f, 0.0f}, 4, true, {0.1f - 0.7f, 0.5f}},
        {{0.1f, 0.0f}, 4, false, {0, 0}},  // measured from the reading, not from 0.7 + the rounded change
    };
    auto device = std::make_unique<stick_t>();
    stick_t& stick = *device;
    joystick_t js(std::move(device));
    for (const auto& [pos, mask, changed, axes] : polls) {
        stick.pos = pos, stick.mask = mask;
        EXPECT_EQ(js.poll(), changed) << pos[0];
        EXPECT_EQ(js.m_axes, axes) << pos[0];
    }
    joystick_t absent(15);  // through PLIB: joystick 15 exists on no test machine
    EXPECT_FALSE(absent.poll());
    EXPECT_FALSE(absent.read_absolute());
    EXPECT_TRUE(absent.m_axes.empty());
}
