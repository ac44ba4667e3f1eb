#include "input/joystick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using axes_t = std::vector<float>;

// A device whose readings the test sets; the adapter owns it.
struct stick_t : joystick_device_t {
    bool ok = true;
    int axes_n = 4, buttons_n = 2, mask = 0, reads = 0;
    axes_t pos = axes_t(16, 0.0f);
    bool working() const override { return ok; }
    int axis_count() const override { return axes_n; }
    int button_count() const override { return buttons_n; }
    void read(int* buttons, float* axes) override {
        ++reads;
        if (buttons) *buttons = mask;
        if (axes) std::copy_n(pos.begin(), std::min(axes_n, 16), axes);
    }
};

// An adapter over a scripted device; `stick` points at it while it lives.
joystick_t on(stick_t*& stick, int axes = 4, int buttons = 2, bool ok = true) {
    auto device = std::make_unique<stick_t>();
    device->axes_n = axes, device->buttons_n = buttons, device->ok = ok;
    stick = device.get();
    return joystick_t(std::move(device));
}

TEST(JoystickTest, AbsentBrokenAndOddDevicesAreSizedSafely) {
    joystick_t absent(15);  // through PLIB: joystick 15 exists on no test machine
    EXPECT_TRUE(absent.m_axes.empty() && absent.m_buttons.empty());
    EXPECT_FALSE(absent.poll());
    EXPECT_FALSE(absent.read_absolute());

    stick_t* stick = nullptr;
    joystick_t broken = on(stick, 0x5eed, 2, false);  // counts a failed open left behind
    EXPECT_TRUE(broken.m_axes.empty() && broken.m_last_buttons.empty());
    EXPECT_FALSE(broken.poll());
    EXPECT_EQ(stick->reads, 0);

    joystick_t odd = on(stick, 40, -1);  // PLIB reads at most 16 axes
    EXPECT_EQ(odd.m_axes.size(), 16u);
    EXPECT_EQ(odd.m_last_axes.size(), 16u);
    EXPECT_TRUE(odd.m_buttons.empty());
}

TEST(JoystickTest, PollReportsChangesReadAbsolutePositions) {
    stick_t* stick = nullptr;
    joystick_t js = on(stick);
    EXPECT_FALSE(js.poll());  // at rest, as after construction
    stick->pos[0] = 0.5f;
    EXPECT_TRUE(js.poll());
    EXPECT_EQ(js.m_axes, (axes_t{0.5f, 0, 0, 0}));
    EXPECT_FALSE(js.poll());
    EXPECT_EQ(js.m_axes, (axes_t{0, 0, 0, 0}));
    stick->mask = 0x4;  // a button alone is a change, with no axis change
    EXPECT_TRUE(js.poll());
    EXPECT_EQ(js.m_axes, (axes_t{0, 0, 0, 0}));

    // The previous positions are the readings: 0.7 then 0.1 would leave
    // 0.100000024 if the rounded changes were added up.
    for (float x : {0.3f, -1.0f, 0.7f, 0.1f}) stick->pos[0] = x, stick->pos[3] = -x, js.poll();
    EXPECT_EQ(js.m_last_axes, (axes_t{0.1f, 0, 0, -0.1f}));
    EXPECT_FALSE(js.poll());

    // read_absolute keeps the positions; a poll then measures from them.
    stick->pos[1] = -0.25f;
    EXPECT_TRUE(js.read_absolute());
    EXPECT_FALSE(js.read_absolute());
    EXPECT_EQ(js.m_axes, (axes_t{0.1f, -0.25f, 0, -0.1f}));
    EXPECT_EQ(js.m_last_axes, js.m_axes);
    stick->pos[1] = 0.25f;
    EXPECT_TRUE(js.poll());
    EXPECT_EQ(js.m_axes, (axes_t{0, 0.5f, 0, 0}));
}

}  // namespace
