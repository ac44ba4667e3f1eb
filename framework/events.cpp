#include "framework/events.h"

#include "framework/event_coords.h"
#include "graphics/values_ops.h"

event_t::~event_t() = default;

namespace {

// Rotations are stored with their undoing rotation.
void set_rotation(libgr::pst3w& p, const libgr::rev3& value) {
    p.rev = value;
    libgr::negate(value, p.inv);
}

}  // namespace

void apply_event(const event_t& e, event_coords_t& c) {
    switch (e.m_type) {
    case event_position: c.m_base.pos = dynamic_cast<const position_event_t&>(e).m_value; break;
    case event_speed: c.m_rates[0].pos = dynamic_cast<const speed_event_t&>(e).m_value; break;
    case event_accel: c.m_rates[1].pos = dynamic_cast<const accel_event_t&>(e).m_value; break;
    case event_posture: set_rotation(c.m_base, dynamic_cast<const posture_event_t&>(e).m_value); break;
    case event_rotation: set_rotation(c.m_rates[0], dynamic_cast<const rotation_event_t&>(e).m_value); break;
    case event_revolution: set_rotation(c.m_rates[1], dynamic_cast<const revolution_event_t&>(e).m_value); break;
    default: break;  // unknown kinds leave the state alone
    }
}
