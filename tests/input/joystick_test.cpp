// The joystick adapter: what each poll reports of a scripted device, and of
// a joystick that is not there.
#include "input/joystick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

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
    const struct {
        axes_t pos;
        int mask;
        bool changed;
        axes_t axes;
    } polls[] = {
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
    for (const auto& p : polls) {
        stick.pos = p.pos, stick.mask = p.mask;
        EXPECT_EQ(js.poll(), p.changed) << p.pos[0];
        EXPECT_EQ(js.m_axes, p.axes) << p.pos[0];
    }
    joystick_t absent(15);  // through PLIB: joystick 15 exists on no test machine
    EXPECT_FALSE(absent.poll() || absent.read_absolute());
    EXPECT_TRUE(absent.m_axes.empty());
}

}  // namespace
