// wire_gate_demo: update, reshape, keys and joystick.

#include "scene/wire_gate_demo.h"

#include "framework/timeline.h"
#include "graphics/camera.h"
#include "graphics/force.h"
#include "graphics/guards.h"
#include "graphics/values_ops.h"

#include <GL/gl.h>

#include <algorithm>
#include <iostream>

using libgr::dir3;

namespace {

// Thrust of the linear thrusters, units/s^2.
constexpr float linear_thrust = 5.0f;

// One thruster: force F at lever p, body axes (the view looks along -z).
struct thruster_t {
    dir3 lever;
    dir3 force;
};

}  // namespace

bool wire_gate_demo::update(std::uint32_t t) {
    demo_object_t::update(t);
    step_timeline();
    if (m_joystick.poll()) apply_joystick(m_joystick.m_axes);
    return true;
}

void wire_gate_demo::step_timeline() {
    const event_coords_t c = step_timeline_at(m_fixevents, m_fixidx, m_coords, m_time);

    // History half: the rings exist only after a reshape to a non-zero width.
    const std::uint32_t n = static_cast<std::uint32_t>(m_hist_y.size());
    if (n == 0) return;
    const std::uint32_t prev = (m_hist_idx + n - 1) % n;
    const std::uint32_t i = m_hist_idx;
    const libgr::pos3 v = libgr::rotate(c.m_rates[0].pos, libgr::to_rot3(c.m_base.rev));
    m_hist_vy[i] = v.y;
    m_hist_t[i] = static_cast<float>(static_cast<std::uint32_t>(m_time - m_offset)) * 0.001f;
    const float dt = m_hist_t[i] - m_hist_t[prev];
    m_hist_y[i] = m_coords.m_cur.pos.y;
    m_hist_iy[i] = m_hist_iy[prev] + ((m_hist_vy[prev] + m_hist_vy[i]) * 0.5f) * dt;
    m_hist_idx = (m_hist_idx + 1) % n;
}

void wire_gate_demo::rebase() { rebase_at(m_coords, m_time); }

void wire_gate_demo::reshape(int w, int h) {
    glViewport(0, 0, w, h);
    // A window without area has no aspect ratio; the lens keeps the last one.
    if (w > 0 && h > 0) libgr::set_aspect(m_persp, static_cast<double>(w), static_cast<double>(h));
    m_persp.znear = 0.1;
    m_persp.zfar = 1000.1;
    {
        libgr::grMatrixModeGuard projection(GL_PROJECTION);
        glLoadIdentity();
        libgr::apply_frustum(libgr::to_projection(m_persp));
    }
    const std::size_t n = static_cast<std::size_t>(std::max(w, 0));
    m_hist_y.assign(n, 0.0f);
    m_hist_vy.assign(n, 0.0f);
    m_hist_t.assign(n, 0.0f);
    m_hist_iy.assign(n, 0.0f);
    m_hist_idx = 0;
}

void wire_gate_demo::reset_history() {
    std::fill(m_hist_y.begin(), m_hist_y.end(), 0.0f);
    std::fill(m_hist_vy.begin(), m_hist_vy.end(), 0.0f);
    std::fill(m_hist_t.begin(), m_hist_t.end(), 0.0f);
    std::fill(m_hist_iy.begin(), m_hist_iy.end(), 0.0f);
    m_hist_idx = 0;
}

bool wire_gate_demo::thrust_key(unsigned char key, bool release) {
    static const float k = libgr::deg_to_rad(5.0f);  // turning thrust, rad/s^2 per key
    thruster_t t;
    switch (key) {
    case '0': t = {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, linear_thrust}}; break;   // backwards
    case '5': t = {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -linear_thrust}}; break;  // forwards
    case '1': t = {{0.0f, 0.0f, -1.0f}, {-k, 0.0f, 0.0f}}; break;             // yaw left
    case '3': t = {{0.0f, 0.0f, -1.0f}, {k, 0.0f, 0.0f}}; break;              // yaw right
    case '2': t = {{0.0f, 0.0f, -1.0f}, {0.0f, k, 0.0f}}; break;              // nose up
    case '8': t = {{0.0f, 0.0f, -1.0f}, {0.0f, -k, 0.0f}}; break;             // nose down
    case '4': t = {{0.0f, 1.0f, 0.0f}, {-k, 0.0f, 0.0f}}; break;              // roll left
    case '6': t = {{0.0f, 1.0f, 0.0f}, {k, 0.0f, 0.0f}}; break;               // roll right
    default: return false;
    }
    const std::uint32_t bit = 1u << (key - '0');
    const bool held = (m_thrust_held & bit) != 0;
    if (!release && held) return true;  // already pushing
    rebase();
    if (release && held) {
        // The release removes exactly what the press added.
        libgr::add_force(m_coords.m_force[1], t.lever, libgr::negate(t.force));
        m_thrust_held &= ~bit;
    } else if (!release) {
        libgr::add_force(m_coords.m_force[1], t.lever, t.force);
        m_thrust_held |= bit;
    }
    // A release whose press was cleared away still brings the accelerations
    // back in line with the forces that remain.
    m_coords.apply_force();
    return true;
}

namespace {

// The forces of a stick at `axes`: roll, pitch, thrust, yaw. The mapping is
// linear, so changes of position give changes of force.
void add_stick_forces(libgr::force_t& f, const std::vector<float>& axes) {
    static const float k = libgr::deg_to_rad(5.0f);
    libgr::add_force(f, dir3{0.0f, 1.0f, 0.0f}, dir3{axes[0] * k, 0.0f, 0.0f});               // roll
    libgr::add_force(f, dir3{0.0f, 0.0f, -1.0f}, dir3{0.0f, axes[1] * k, 0.0f});              // pitch
    libgr::add_force(f, dir3{0.0f, 0.0f, 0.0f}, dir3{0.0f, 0.0f, -axes[2] * linear_thrust});  // thrust
    libgr::add_force(f, dir3{0.0f, 0.0f, -1.0f}, dir3{axes[3] * k, 0.0f, 0.0f});              // yaw
}

}  // namespace

void wire_gate_demo::apply_joystick(const std::vector<float>& axes) {
    if (axes.size() < 4) return;
    rebase();
    add_stick_forces(m_coords.m_force[1], axes);
    m_coords.apply_force();
}

bool wire_gate_demo::add_stick_position() {
    // The adapter reports changes from here on, which only sum to the
    // stick's forces while its position is in the accumulator.
    const std::vector<float>& position = m_joystick.m_last_axes;
    if (position.size() < 4) return false;
    add_stick_forces(m_coords.m_force[1], position);
    return true;
}

bool wire_gate_demo::key_down(unsigned char key, int, int) {
    if (thrust_key(key, false)) return true;

    const lattice_values_t in_force = lattice_values();
    switch (key) {
    case '-': {  // full reset: at the origin, unrotated and at rest
        rebase();
        m_coords.m_base.rev = libgr::zero_rev3;
        m_coords.m_base.inv = libgr::zero_rev3;
        m_coords.m_base.pos = libgr::origin_pos3;
        for (libgr::pst3w& rate : m_coords.m_rates) {
            rate.rev = libgr::zero_rev3;
            rate.inv = libgr::zero_rev3;
            rate.pos = libgr::origin_pos3;
        }
        libgr::fill(m_coords.m_force[0], 0.0f);
        libgr::fill(m_coords.m_force[1], 0.0f);
        m_thrust_held = 0;
        if (add_stick_position()) m_coords.apply_force();  // a stick held through the reset pushes on
        reset_history();
        return true;
    }
    case '.': {  // level out: rotations stopped, linear motion kept
        rebase();
        m_coords.m_base.rev = libgr::zero_rev3;
        m_coords.m_base.inv = libgr::zero_rev3;
        for (libgr::pst3w& rate : m_coords.m_rates) {
            rate.rev = libgr::zero_rev3;
            rate.inv = libgr::zero_rev3;
        }
        libgr::fill(m_coords.m_force[1], 0.0f);
        m_thrust_held = 0;
        if (add_stick_position()) {
            // A stick held through it turns on; the linear acceleration stays.
            dir3 turning, central;
            libgr::split(m_coords.m_force[1], turning, central);
            m_coords.m_rates[1].rev = libgr::vec3_as<libgr::rev3>(turning);
            m_coords.m_rates[1].inv = libgr::negate(m_coords.m_rates[1].rev);
        }
        return true;
    }
    case '/':
        m_tone = static_cast<float>(m_tone + 0.1);
        std::cout << key << ": mesh tone change to " << m_tone << std::endl;
        break;
    case '\\':
        m_tone = static_cast<float>(m_tone - 0.1);
        std::cout << key << ": mesh tone change to " << m_tone << std::endl;
        break;
    case 'L':
        m_meshmode = hall_stipple_mode;
        std::cout << key << ": line stipple draw mode" << std::endl;
        break;
    case 'l':
        m_meshmode = hall_line_mode;
        std::cout << key << ": line draw mode" << std::endl;
        break;
    case 'p':
        m_meshmode = hall_point_mode;
        std::cout << key << ": point draw mode" << std::endl;
        break;
    case '[':
        m_interval = static_cast<float>(m_interval + 5.0);
        std::cout << key << ": mesh interval change to " << m_interval << std::endl;
        break;
    case ']':
        m_interval = static_cast<float>(m_interval - 5.0);
        std::cout << key << ": mesh interval change to " << m_interval << std::endl;
        break;
    case '{':
        m_bounding = static_cast<float>(m_bounding - 50.0);
        std::cout << key << ": mesh bounding change to " << m_bounding << std::endl;
        break;
    case '}':
        m_bounding = static_cast<float>(m_bounding + 50.0);
        std::cout << key << ": mesh bounding change to " << m_bounding << std::endl;
        break;
    case 'i': m_showcoords = !m_showcoords; return true;
    case 'o':
        m_meshfog = !m_meshfog;
        std::cout << key << ": fog mode change to " << m_meshfog << std::endl;
        m_host.request_redisplay();
        return true;
    default: return false;
    }
    // The settings keys above rebuild the lattice and redraw.
    rebuild_or_keep(in_force);
    m_host.request_redisplay();
    return true;
}

bool wire_gate_demo::key_up(unsigned char key, int, int) { return thrust_key(key, true); }

bool wire_gate_demo::special_down(int, int, int) { return false; }
