#include "framework/event_coords.h"

#include <cmath>

#include "graphics/force.h"
#include "graphics/text_form.h"
#include "graphics/values_ops.h"

using namespace libgr;

event_coords_t::event_coords_t() : m_msec(0), m_pstmsec(0) {
    identity(m_cur);
    m_base = m_cur;
    m_rates[0] = m_cur;
    m_rates[1] = m_cur;
    fill(m_force[1], 0.0f);
    m_force[0] = m_force[1];
}

float elapsed_seconds(std::uint32_t t, std::uint32_t since) {
    // Signed: stepping demo time back must not wrap to ~4.29e6 s.
    const auto ms = static_cast<std::int32_t>(t - since);
    // Exact product in extended precision, rounded once to float.
    return static_cast<float>(static_cast<long double>(ms) * static_cast<long double>(0.001f));
}

void event_coords_t::advance_base(std::uint32_t t) {
    const pst3w d = step_rates(m_rates, elapsed_seconds(t, m_msec));
    compose(d, m_base, m_base);
    m_msec = t;
}

void event_coords_t::update_current(std::uint32_t t) {
    const pst3w d = displacement(m_rates, elapsed_seconds(t, m_msec));
    compose(d, m_base, m_cur);
    m_pstmsec = t;
}

void event_coords_t::apply_force() {
    dir3 ro, ze;
    split(m_force[1], ro, ze);
    m_rates[1].rev = vec3_as<rev3>(ro);
    negate(ro, m_rates[1].inv);
    m_rates[1].pos = vec3_as<pos3>(ze);
}

namespace {

// The true angular speed of a rotation vector per second, in rad/s. The
// translation terms divide by it: reduced modulo a whole turn, as a posture
// may be, it would vanish at 360 degrees/s and blow the path up just above.
float angular_speed(const rev3& r) { return deg_to_rad(to_rot3(r).angle); }

// The part of v along the axis of rotation r; zero when r does not turn.
// The turning closed forms below only carry the part of the linear
// acceleration that turns with the body: the part along the axis does not
// turn, and is integrated plainly, or thrust while rolling would be lost.
pos3 along_axis(const pos3& v, const rev3& r) {
    if (!any_differs(r, 0.0f)) return origin_pos3;
    const dir3 axis = normalize(vec3_as<dir3>(r));
    return scale(vec3_as<pos3>(axis), dot(v, axis));
}

}  // namespace

pst3w displacement(const rates_t& rates, float dt) {
    const pst3w e = scale(rates[0], dt);
    const float h = (dt * dt) * 0.5f;
    const pst3w a = scale(rates[1], h);

    const pos3 axial = along_axis(rates[1].pos, e.rev);
    const pos3 turning = rates[1].pos - axial;

    const float w = angular_speed(rates[0].rev);
    pos3 v = origin_pos3;
    if (w != 0.0f)  // NaN counts as turning
        scale(turning, 1.0f / ((w * w) * 0.5f), v);

    pst3w d;
    compose(a.rev, e.rev, d.rev);
    compose(e.inv, a.inv, d.inv);
    revolve_offset(a.pos, e.rev, vec3_as<dir3>(v), d.pos);
    add(d.pos, e.pos, d.pos);
    if (any_differs(axial, 0.0f)) add(d.pos, scale(axial, h), d.pos);
    return d;
}

pst3w step_rates(rates_t& rates, float dt) {
    const pst3w d = displacement(rates, dt);

    pst3w w = scale(rates[1], dt);
    compose(w.rev, rates[0].rev, w.rev);
    compose(rates[0].inv, w.inv, w.inv);

    const float a = angular_speed(w.rev);
    if (a != 0.0f) {  // NaN counts as turning
        // turn_offset keeps only the part that turns; the axial part of the
        // velocity gained, a dt, is added back.
        const pos3 axial = along_axis(w.pos, d.rev);
        pos3 v;
        scale(rates[1].pos, 1.0f / a, v);
        turn_offset(w.pos, d.rev, vec3_as<dir3>(v), w.pos);
        if (any_differs(axial, 0.0f)) add(w.pos, axial, w.pos);
    }
    add(w.pos, rates[0].pos, w.pos);
    rates[0] = w;

    // Re-express the velocity in the body axes at the end of the step. The
    // thrust is fixed in the body and stays as it is: turned back, it would
    // point elsewhere in the body after every rebase.
    rotate(rates[0].pos, inverse(to_rot3(d.rev)), rates[0].pos);
    return d;
}

std::ostream& dump(std::ostream& os, const event_coords_t& c) {
    grFormatGuard guard(os);
    os.setf(std::ios_base::dec, std::ios_base::basefield);
    os << "dump event_coords_t ---" << std::endl;
    os << "m_msec: " << c.m_msec << std::endl;
    os << "m_pstmsec: " << c.m_pstmsec << std::endl;
    os << "m_pos: " << c.m_cur.pos << std::endl;
    os << "m_pos0: " << c.m_base.pos << std::endl;
    os << "m_vec: " << c.m_rates[0].pos << std::endl;
    os << "m_acc: " << c.m_rates[1].pos << std::endl;
    os << "m_pst: " << c.m_cur.rev << std::endl;
    os << "m_pst0: " << c.m_base.rev << std::endl;
    os << "m_rot: " << c.m_rates[0].rev << std::endl;
    os << "m_rev: " << c.m_rates[1].rev << std::endl;
    for (int k = 0; k < 2; ++k) {
        const force_t& f = c.m_force[k];
        os << "m_force[" << k << "].ro: " << f.ro << std::endl;
        os << "m_force[" << k << "].ze: " << f.ze << std::endl;
        os << "m_force[" << k << "].pf: " << f.pf << std::endl;
        os << "m_force[" << k << "].nf: " << f.nf << std::endl;
    }
    return os;
}
