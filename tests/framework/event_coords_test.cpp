// The kinematic state record: default state, dump, closed-form stepping,
// forces and signed time differences.

#include <cstring>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "framework/event_coords.h"
#include "graphics/force.h"
#include "graphics/values_ops.h"

using namespace libgr;

namespace {

void expect_near(const pos3& v, float x, float y, float z, float tol = 1e-5f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

std::string dumped(const event_coords_t& c) {
    std::ostringstream os;
    dump(os, c);
    return os.str();
}

const char* const default_dump =
    "dump event_coords_t ---\n"
    "m_msec: 0\n"
    "m_pstmsec: 0\n"
    "m_pos: pos3(0.000000, 0.000000, 0.000000)\n"
    "m_pos0: pos3(0.000000, 0.000000, 0.000000)\n"
    "m_vec: pos3(0.000000, 0.000000, 0.000000)\n"
    "m_acc: pos3(0.000000, 0.000000, 0.000000)\n"
    "m_pst: rev3(0.000000, 0.000000, 0.000000)\n"
    "m_pst0: rev3(0.000000, 0.000000, 0.000000)\n"
    "m_rot: rev3(0.000000, 0.000000, 0.000000)\n"
    "m_rev: rev3(0.000000, 0.000000, 0.000000)\n"
    "m_force[0].ro: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[0].ze: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[0].pf: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[0].nf: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[1].ro: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[1].ze: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[1].pf: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[1].nf: dir3(0.000000, 0.000000, 0.000000)\n";

}  // namespace

TEST(EventCoords, DefaultStateDump) {
    EXPECT_EQ(dumped(event_coords_t()), default_dump);
}

TEST(EventCoords, DumpShowsTimesInDecimalAndTheNamedParts) {
    event_coords_t c;
    c.m_msec = 1500;
    c.m_base.rev = rev3{0, 2, 0};
    c.m_force[1].nf = dir3{4, 0, 0};
    std::ostringstream os;
    os << std::hex << std::scientific;
    dump(os, c);
    const std::string s = os.str();
    EXPECT_NE(s.find("\nm_msec: 1500\n"), std::string::npos);
    EXPECT_NE(s.find("\nm_pst0: rev3(0.000000, 2.000000, 0.000000)\n"), std::string::npos);
    EXPECT_NE(s.find("\nm_force[1].nf: dir3(4.000000, 0.000000, 0.000000)\n"), std::string::npos);
    EXPECT_TRUE(os.flags() & std::ios_base::hex);
}

TEST(EventCoords, ElapsedSecondsIsSignedAndRoundedOnce) {
    EXPECT_EQ(elapsed_seconds(1000, 0), static_cast<float>(1000.0L * 0.001f));
    EXPECT_EQ(elapsed_seconds(1, 0), 0.001f);
    EXPECT_EQ(elapsed_seconds(500, 1000), -elapsed_seconds(1000, 500));
    EXPECT_FLOAT_EQ(elapsed_seconds(500, 1000), -0.5f);
    // Across the 32-bit wrap of demo time the difference stays small.
    EXPECT_FLOAT_EQ(elapsed_seconds(100, 0xFFFFFF9Cu), 0.2f);
}

TEST(EventCoords, ZeroRatesKeepThePostureForAnyTime) {
    event_coords_t c;
    c.m_base = pst3w{{0.3f, -0.2f, 0.1f}, {-0.3f, 0.2f, -0.1f}, {5, 6, 7}};
    for (std::uint32_t t : {0u, 999u, 123456u, 0x7FFFFFFFu}) {
        c.update_current(t);
        EXPECT_EQ(c.m_pstmsec, t);
        EXPECT_EQ(std::memcmp(&c.m_cur, &c.m_base, sizeof c.m_cur), 0) << t;
    }
}

TEST(EventCoords, LinearVelocityMovesAlongTheTurnedBase) {
    event_coords_t c;
    c.m_base.rev = rev3{0, 0, deg_to_rad(90.0f)};  // body x points along world y
    c.m_base.inv = -c.m_base.rev;
    c.m_base.pos = pos3{1, 2, 3};
    c.m_rates[0].pos = pos3{1.5f, 0, 0};
    c.update_current(2000);
    expect_near(c.m_cur.pos, 1, 5, 3);
    EXPECT_EQ(c.m_cur.rev.z, c.m_base.rev.z);
    EXPECT_EQ(c.m_msec, 0u);  // the base stays
    EXPECT_EQ(c.m_base.pos.y, 2.0f);
}

TEST(EventCoords, WholeTurnsPerSecondGiveNoAccelerationTerm) {
    rates_t r = {identity_pst3w, identity_pst3w};
    r[0].pos = pos3{1, 0, 0};
    r[1].pos = pos3{0, 1, 0};
    r[0].rev = rev3{0, 0, 2.0f * 3.1415927f};  // 360 degrees per second
    r[0].inv = -r[0].rev;
    const pst3w d = displacement(r, 0.5f);
    EXPECT_EQ(d.pos.x, 0.5f);  // v dt only: V = 0 cancels the acceleration term
    EXPECT_EQ(d.pos.y, 0.0f);
    EXPECT_EQ(d.pos.z, 0.0f);
    EXPECT_EQ(r[1].pos.y, 1.0f);  // rates unchanged

    r[0].rev = rev3{0, 0, 3.1415927f};  // half a turn per second: the term is there
    r[0].inv = -r[0].rev;
    EXPECT_NE(displacement(r, 0.5f).pos.y, 0.0f);
}

TEST(EventCoords, LinearAccelerationIntegratesInClosedForm) {
    rates_t r = {identity_pst3w, identity_pst3w};
    r[0].pos = pos3{0, 0, 2};
    r[1].pos = pos3{0, 0, -4};
    const pst3w d = step_rates(r, 1.5f);
    expect_near(d.pos, 0, 0, 2 * 1.5f - 4 * 1.5f * 1.5f / 2);
    expect_near(r[0].pos, 0, 0, 2 - 4 * 1.5f);  // velocity advanced
    expect_near(r[1].pos, 0, 0, -4);

    // Rebasing on the way does not change where the path goes.
    event_coords_t a, b;
    a.m_rates[0].pos = b.m_rates[0].pos = pos3{0, 0, 2};
    a.m_rates[1].pos = b.m_rates[1].pos = pos3{0, 0, -4};
    b.advance_base(700);
    EXPECT_EQ(b.m_msec, 700u);
    b.advance_base(1300);
    a.update_current(3000);
    b.update_current(3000);
    expect_near(b.m_cur.pos, a.m_cur.pos.x, a.m_cur.pos.y, a.m_cur.pos.z, 1e-4f);
    expect_near(a.m_cur.pos, 0, 0, 2 * 3.0f - 4 * 9.0f / 2, 1e-4f);
}

TEST(EventCoords, ThrustAlongTheAxisOfATurnStillAccelerates) {
    // Rolling about z while thrusting along -z: the roll does not turn the
    // thrust, so the motion along z is plain uniform acceleration.
    event_coords_t c;
    c.m_rates[0].rev = rev3{0, 0, 1.0f};  // 1 rad/s roll
    c.m_rates[0].inv = -c.m_rates[0].rev;
    c.m_rates[1].pos = pos3{0, 0, -5};
    c.update_current(4000);
    expect_near(c.m_cur.pos, 0, 0, -5 * 16.0f / 2, 1e-3f);
    c.advance_base(4000);
    expect_near(c.m_rates[0].pos, 0, 0, -20, 1e-3f);
    expect_near(c.m_base.pos, 0, 0, -40, 1e-3f);

    // Thrust across the axis still follows the turning closed form: over a
    // whole turn the velocity gained comes back to zero.
    rates_t r = {identity_pst3w, identity_pst3w};
    r[0].rev = rev3{0, 0, 3.1415927f};  // half a turn per second
    r[0].inv = -r[0].rev;
    r[1].pos = pos3{0, 2, -5};
    step_rates(r, 2.0f);
    EXPECT_NEAR(r[0].pos.y, 0.0f, 1e-3f);
    EXPECT_NEAR(r[0].pos.z, -10.0f, 1e-3f);
}

TEST(EventCoords, ApplyForceTurnsForcesIntoAccelerations) {
    event_coords_t c;
    add_force(c.m_force[1], dir3{0, 0, 0}, dir3{0, 0, -5});
    add_force(c.m_force[1], dir3{1, 0, 0}, dir3{0, 0.5f, 0});
    c.apply_force();
    EXPECT_EQ(c.m_rates[1].pos.z, -5.0f);
    EXPECT_EQ(c.m_rates[1].rev.z, 0.5f);
    EXPECT_EQ(c.m_rates[1].inv.z, -0.5f);
    EXPECT_EQ(c.m_rates[0].pos.z, 0.0f);  // velocities untouched
}

TEST(EventCoords, PressAndReleaseKeepsTheGainedVelocity) {
    event_coords_t c;
    const dir3 lever{0, 0, 0}, thrust{0, 0, -5};
    c.advance_base(0);
    add_force(c.m_force[1], lever, thrust);
    c.apply_force();
    c.advance_base(1000);  // rebase on release
    add_force(c.m_force[1], lever, -thrust);
    c.apply_force();
    EXPECT_EQ(c.m_rates[1].pos.z, 0.0f);
    EXPECT_EQ(c.m_force[1].ze.z, 0.0f);
    expect_near(c.m_rates[0].pos, 0, 0, -5);
    expect_near(c.m_base.pos, 0, 0, -2.5f);
    c.update_current(3000);
    expect_near(c.m_cur.pos, 0, 0, -12.5f);
}

TEST(EventCoords, TimeSteppedBackMovesBackAlongThePath) {
    event_coords_t c;
    c.m_rates[0].pos = pos3{2, 0, 0};
    c.advance_base(1000);
    expect_near(c.m_base.pos, 2, 0, 0);
    c.update_current(400);  // before m_msec
    expect_near(c.m_cur.pos, 0.8f, 0, 0);
    c.advance_base(250);
    EXPECT_EQ(c.m_msec, 250u);
    expect_near(c.m_base.pos, 0.5f, 0, 0);
    expect_near(c.m_rates[0].pos, 2, 0, 0);
}
