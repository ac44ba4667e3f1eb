#pragma once
// The kinematic state record of the event timeline: a base state (posture and
// position at m_msec), velocities and accelerations, and two force
// accumulators. The state at any time t is computed in closed form from the
// base and the rates, so the path does not depend on the frame rate.
//
// Times are unsigned 32-bit demo milliseconds. Steps take the difference
// t - m_msec as a SIGNED 32-bit number of ms, so a time moved back before the
// base (the shell's time keys) steps backwards along the path instead of
// wrapping to a step of some 49 days.

#include <cstdint>
#include <ostream>

#include "graphics/values.h"

// Rates pair: [0] velocities, [1] accelerations. rev is angular (rotation
// vector per second, per second squared), pos linear in body axes.
using rates_t = libgr::pst3w[2];

struct event_coords_t {
    std::uint32_t m_msec;       // time of the base state, ms
    std::uint32_t m_pstmsec;    // time of the current state, ms
    libgr::pst3w m_cur;         // current state at m_pstmsec (dumped as m_pst, m_pos)
    libgr::pst3w m_base;        // base state at m_msec (dumped as m_pst0, m_pos0)
    rates_t m_rates;            // [0] velocities (m_rot, m_vec), [1] accelerations (m_rev, m_acc)
    libgr::force_t m_force[2];  // [1] collects input forces (apply_force); [0] only cleared

    // Base time 0, identity postures, zero rates and forces, m_pstmsec 0.
    event_coords_t();

    // Moves the base state to time t (velocities updated too); m_msec = t.
    void advance_base(std::uint32_t t);
    // m_cur at time t from the base; base and rates unchanged; m_pstmsec = t.
    void update_current(std::uint32_t t);
    // Accelerations from m_force[1]: moments -> angular, central parts -> linear.
    void apply_force();
};

// Seconds from `since` to t, the difference read as signed 32-bit ms (see
// above) and scaled by the float 0.001 with a single rounding to float.
float elapsed_seconds(std::uint32_t t, std::uint32_t since);

// The motion over dt seconds (body axes); the rates stay as they are.
libgr::pst3w displacement(const rates_t& rates, float dt);
// The same motion; the rates are advanced to the end of the interval and the
// velocity re-expressed in the body axes there (the accelerations, fixed in
// the body, stay as they are).
libgr::pst3w step_rates(rates_t& rates, float dt);

// Nineteen lines "dump event_coords_t ---", "m_msec: 0", ... each ended by endl.
std::ostream& dump(std::ostream& os, const event_coords_t& c);
