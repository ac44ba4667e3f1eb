#include "flight/flight_joystick.h"

#include <algorithm>
#include <cstring>
#include <utility>

recording_joystick_t::recording_joystick_t(std::unique_ptr<joystick_device_t> device, changed_t changed)
    : m_device(std::move(device)), m_changed(std::move(changed)) {
    const std::size_t axes = m_device->working() ? static_cast<std::size_t>(std::max(m_device->axis_count(), 0)) : 0;
    m_axes.assign(axes, 0.0f);
    m_last_axes.assign(axes, 0.0f);
}

void recording_joystick_t::read(int* buttons, float* axes) {
    int mask = 0;
    m_device->read(&mask, m_axes.empty() ? nullptr : m_axes.data());
    // Bitwise, as the adapter compares: any change the device reports counts.
    const bool moved = !m_axes.empty() && std::memcmp(m_axes.data(), m_last_axes.data(), m_axes.size() * 4) != 0;
    if (moved || static_cast<std::uint32_t>(mask) != m_last_buttons) {
        m_last_axes = m_axes;
        m_last_buttons = static_cast<std::uint32_t>(mask);
        m_changed(m_axes, m_last_buttons);
    }
    if (buttons) *buttons = mask;
    if (axes) std::copy(m_axes.begin(), m_axes.end(), axes);
}

void replayed_joystick_t::set(const std::vector<float>& axes, std::uint32_t buttons) {
    std::copy_n(axes.begin(), std::min(axes.size(), m_axes.size()), m_axes.begin());
    m_mask = buttons;
}

void replayed_joystick_t::read(int* buttons, float* axes) {
    if (buttons) *buttons = static_cast<int>(m_mask);
    if (axes) std::copy(m_axes.begin(), m_axes.end(), axes);
}
