#include "input/joystick.h"

#include <algorithm>
#include <cstring>

static_assert(sizeof(int) == sizeof(std::int32_t), "PLIB writes the button mask as int");

namespace {

const int max_axes = 16;  // PLIB's _JS_MAX_AXES

template <class T> bool same_bytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

}  // namespace

joystick_t::joystick_t(int number) : joystick_t(open_plib_joystick(number)) {}

joystick_t::joystick_t(std::unique_ptr<joystick_device_t> device) : m_device(std::move(device)) {
    if (!m_device || !m_device->working()) return;
    const std::size_t axes = std::clamp(m_device->axis_count(), 0, max_axes);
    const std::size_t buttons = std::max(m_device->button_count(), 0);
    m_axes.assign(axes, 0.0f);
    m_last_axes.assign(axes, 0.0f);
    m_buttons.assign(buttons, 0);
    m_last_buttons.assign(buttons, 0);
}

bool joystick_t::read_changed() {
    if (m_axes.empty() && m_buttons.empty()) return false;  // absent device: nothing to read into
    m_device->read(m_buttons.empty() ? nullptr : m_buttons.data(), m_axes.empty() ? nullptr : m_axes.data());
    // Bitwise on purpose: any change the device reports counts.
    const bool changed = !same_bytes(m_buttons, m_last_buttons) || !same_bytes(m_axes, m_last_axes);
    m_last_buttons = m_buttons;
    return changed;
}

bool joystick_t::poll() {
    const bool changed = read_changed();
    for (std::size_t i = 0; i < m_axes.size(); ++i) {
        const float position = m_axes[i];
        m_axes[i] = position - m_last_axes[i];
        // The reading itself, not last + change: float rounding would make a
        // resting stick look as if it kept moving.
        m_last_axes[i] = position;
    }
    return changed;
}

bool joystick_t::read_absolute() {
    const bool changed = read_changed();
    m_last_axes = m_axes;
    return changed;
}
