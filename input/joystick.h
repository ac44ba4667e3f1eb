#pragma once
// The joystick the scene steers by: each poll reports whether anything moved
// and, per axis, how far since the previous poll.

#include "input/joystick_device.h"

#include <cstdint>
#include <memory>
#include <vector>

class joystick_t {
public:
    // Opens joystick `number`; a missing or unusable one leaves every array
    // empty, which is not an error.
    explicit joystick_t(int number);
    explicit joystick_t(std::unique_ptr<joystick_device_t> device);

    // Reads the device; true when any axis or button differs from the previous
    // poll. Afterwards m_axes holds the per-axis changes.
    bool poll();

    // As poll, but m_axes keeps the absolute positions.
    bool read_absolute();

    std::vector<float> m_axes;            // per axis: change (poll) or position, -1 .. 1
    std::vector<std::int32_t> m_buttons;  // [0]: bit i set while button i is down
    std::vector<float> m_last_axes;       // absolute positions at the previous poll
    std::vector<std::int32_t> m_last_buttons;

private:
    // Reads into m_buttons/m_axes; true when they differ from the previous reading.
    bool read_changed();

    std::unique_ptr<joystick_device_t> m_device;
};
