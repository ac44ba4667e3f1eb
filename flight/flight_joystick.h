#pragma once
// The joystick of a flight: one that tells of every change of its readings
// while a flight is recorded, and one that reads what a flight says while it
// is replayed.

#include "input/joystick_device.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Reads `device` and hands every reading that differs from the one before
// (the first from all zeros, as the adapter measures) to `changed`.
class recording_joystick_t : public joystick_device_t {
public:
    using changed_t = std::function<void(const std::vector<float>& axes, std::uint32_t buttons)>;
    recording_joystick_t(std::unique_ptr<joystick_device_t> device, changed_t changed);

    bool working() const override { return m_device->working(); }
    int axis_count() const override { return m_device->axis_count(); }
    int button_count() const override { return m_device->button_count(); }
    void read(int* buttons, float* axes) override;

private:
    std::unique_ptr<joystick_device_t> m_device;
    changed_t m_changed;
    std::vector<float> m_axes, m_last_axes;
    std::uint32_t m_last_buttons = 0;
};

// Reads as set: the flight's readings, with its stick line's counts.
class replayed_joystick_t : public joystick_device_t {
public:
    replayed_joystick_t(int axes, int buttons) : m_axes(static_cast<std::size_t>(axes), 0.0f), m_buttons(buttons) {}

    void set(const std::vector<float>& axes, std::uint32_t buttons);
    bool working() const override { return !m_axes.empty() || m_buttons > 0; }
    int axis_count() const override { return static_cast<int>(m_axes.size()); }
    int button_count() const override { return m_buttons; }
    void read(int* buttons, float* axes) override;

private:
    std::vector<float> m_axes;
    int m_buttons;
    std::uint32_t m_mask = 0;
};
