// The event timeline: forces to accelerations, signed steps, the delta list, snapshots, and the closed-form flight
// against an RK4 integration of the same rigid body in doubles.

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "framework/events.h"
#include "framework/timeline.h"
#include "graphics/force.h"
#include "graphics/values_ops.h"

using namespace libgr;

namespace {

using vec = std::array<double, 3>;
// Rows 0-2: the turn, body axes to start-of-step axes; 3: position; 4: velocity.
using body = std::array<vec, 5>;

vec axpy(double k, const vec& x, const vec& y) { return {k * x[0] + y[0], k * x[1] + y[1], k * x[2] + y[2]}; }
double len(const vec& x) { return std::hypot(x[0], x[1], x[2]); }
double distance(const vec& a, const vec& b) { return len(axpy(-1, a, b)); }
vec cross(const vec& a, const vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const vec& a, const vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
vec times(const body& m, const vec& v) { return {dot(m[0], v), dot(m[1], v), dot(m[2], v)}; }
template <class V> vec d(const V& v, double k = 1) { return {k * v.x, k * v.y, k * v.z}; }
template <class T> T f3(const vec& x, float k = 1) { return T{k * float(x[0]), k * float(x[1]), k * float(x[2])}; }
const float q90 = deg_to_rad(90.0f);

// It turns at its angular velocity (body axes), its velocity is inertial (start-of-step axes), its thrust fixed in
// the body: dq/dt = q [w]x with w = w0 + alpha t; dp/dt = u; du/dt = q a.
body fly(double dt, const vec& w0, const vec& alpha, const vec& v, const vec& a) {
    const auto rate = [&](const body& s, double t) {
        const vec w = axpy(t, alpha, w0);
        return body{cross(s[0], w), cross(s[1], w), cross(s[2], w), s[4], times(s, a)};
    };
    const auto plus = [](body s, double k, const body& d) {
        for (int i = 0; i < 5; ++i) s[i] = axpy(k, d[i], s[i]);
        return s;
    };
    body s{vec{1, 0, 0}, vec{0, 1, 0}, vec{0, 0, 1}, {}, v};
    const double n = std::ceil(dt / 1e-4), h = dt / n;
    for (int k = 0; k < n; ++k) {
        const body k1 = rate(s, k * h), k2 = rate(plus(s, h / 2, k1), (k + 0.5) * h);
        const body k3 = rate(plus(s, h / 2, k2), (k + 0.5) * h), k4 = rate(plus(s, h, k3), (k + 1) * h);
        s = plus(plus(plus(plus(s, h / 6, k1), h / 3, k2), h / 3, k3), h / 6, k4);
    }
    return s;
}

}  // namespace

// Covered: turns about a fixed axis (the turn is the integral of w), below, at and above whole turns per second, with
// any linear velocity and body thrust across and along the turn; spin-up about the turn axis without thrust (off it
// rotation vectors compose to first order only).
TEST(Flight, ClosedFormFollowsTheIntegratedRigidBody) {
    const double turn = 2 * M_PI;  // rad/s: one turn per second
    const vec axis{0, 0.6, 0.8};
    const struct {
        const char* name;
        vec w, alpha, v, a;
    } cases[] = {
        {"turn only", {0, 0.6, 0}, {}, {1, 0, -3}, {}},
        {"thrust only", {}, {}, {0.5, 0, -2}, {0, 0, -5}},
        {"turn, thrust across", {0, 0.8, 0}, {}, {0, 0, -2}, {0, 0, -5}},
        {"roll, thrust along", {0, 0, 1.0}, {}, {1, 0, 0}, {0, 0, -5}},
        {"all three axes", {0.3, -0.4, 0.5}, {}, {2, 1, -4}, {1, -2, -3}},
        {"spin-up about the turn axis", {0, 0.4, 0}, {0, 0.2, 0}, {1, 0, -2}, {}},
        // thrust (0, 3, -5): 0.2 along the axis, 5.83 across it
        {"just below a turn per second", axpy(turn - 0.01, axis, {}), {}, {1, 0, -2}, {0, 3, -5}},
        {"a turn per second", axpy(turn, axis, {}), {}, {1, 0, -2}, {0, 3, -5}},
        {"just above a turn per second", axpy(turn + 0.01, axis, {}), {}, {1, 0, -2}, {0, 3, -5}},
        {"1.75 turns per second", axpy(3.5 * M_PI, axis, {}), {}, {1, 0, -2}, {0, 3, -5}},
        {"two turns per second", axpy(2 * turn, axis, {}), {}, {1, 0, -2}, {0, 3, -5}},
    };
    for (const auto& c : cases) {
        for (const float dt : {0.01f, 1.0f, 10.0f}) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << dt << " s");
            rates_t r = {{f3<rev3>(c.w), f3<rev3>(c.w, -1), f3<pos3>(c.v)},
                         {f3<rev3>(c.alpha), f3<rev3>(c.alpha, -1), f3<pos3>(c.a)}};
            const pst3w accelerations = r[1], moved = displacement(r, dt), stepped = step_rates(r, dt);
            EXPECT_EQ(std::memcmp(&moved, &stepped, sizeof moved), 0) << "one motion";
            // Thrust and torque are fixed in the body: in its axes they stay.
            EXPECT_EQ(std::memcmp(&r[1], &accelerations, sizeof accelerations), 0) << "accelerations";

            // 1e-6 of the motion's size: some 16 float roundings (seen: at
            // most 1.5e-7), where a lost or doubled term costs at least 6e-3.
            const body s = fly(dt, c.w, c.alpha, c.v, c.a);
            const vec w = axpy(dt, c.alpha, c.w), turn = axpy(dt * dt / 2, c.alpha, axpy(dt, c.w, {}));
            const double size = len(c.v) * dt + len(c.a) * dt * dt / 2;
            EXPECT_LT(distance(d(moved.rev), turn) + distance(d(moved.inv, -1), turn), 1e-6 * (1 + len(turn)));
            EXPECT_LT(distance(d(moved.pos), s[3]), 1e-6 * size);
            EXPECT_LT(distance(times(s, d(r[0].pos)), s[4]), 1e-6 * size / dt);
            EXPECT_LT(distance(d(r[0].rev), w) + distance(d(r[0].inv, -1), w), 1e-6 * (1 + len(w)));
        }
    }
}

// Moments become the angular acceleration, central parts the linear one;
// steps are signed, also back across the 32-bit wrap.
TEST(EventCoords, ForcesAccelerateAndStepsAreSigned) {
    event_coords_t c;
    add_force(c.m_force[1], dir3{0.5f, 0, 0}, dir3{0, 1, -4});
    c.apply_force();
    EXPECT_EQ((std::array<vec, 3>{d(c.m_rates[1].rev), d(c.m_rates[1].inv), d(c.m_rates[1].pos)}),
              (std::array<vec, 3>{vec{0, 2, 0.5f}, {0, -2, -0.5f}, {0, 0.5f, -2}}));
    EXPECT_EQ(elapsed_seconds(0xFFFFFF9Cu, 100), -0.2f);
}

TEST(EventList, InsertKeepsAbsoluteTimesAndInsertionOrder) {
    event_list_t l;
    std::vector<std::size_t> passed;  // the index of each: after those at the same time
    for (std::int32_t t : {500, 0, 250, 1000, 250, 750, 2000}) passed.push_back(l.insert({t, nullptr}));
    std::vector<std::int32_t> stored;
    for (const auto& p : l) stored.push_back(p.first);
    EXPECT_EQ(stored, (std::vector<std::int32_t>{0, 250, 0, 250, 250, 250, 1000}));
    EXPECT_EQ(passed, (std::vector<std::size_t>{0, 0, 1, 3, 2, 4, 6}));
}

// One snapshot per event, at its absolute time, holding everything up to it; the step loads the latest snapshot reached
// when that changes, and only then, and computes the current state from it.
TEST(Timeline, SnapshotsAtTheirTimesLoadedOnceReached) {
    speed_event_t go(pos3{1, 0, 0});
    posture_event_t turn(rev3{0, 0, q90});
    position_event_t jump(pos3{0, 10, 0});
    accel_event_t push(pos3{0, 0, -1});
    rotation_event_t spin(rev3{0, 0.2f, 0});
    revolution_event_t spin_up(rev3{0, 0, 0.3f});
    event_list_t events;
    for (event_pair_t p : std::vector<event_pair_t>{
             {2000, &jump}, {2000, &push}, {2000, &spin}, {2000, &spin_up}, {500, &turn}, {250, &go}})
        events.insert(p);
    std::vector<event_coords_t> fix;
    build_fixevents_from(events, fix);
    ASSERT_EQ(fix.size(), 6u);
    EXPECT_EQ((std::array{fix[0].m_msec, fix[1].m_msec, fix[5].m_msec}), (std::array{250u, 500u, 2000u}));
    const event_coords_t& l = fix[5];
    EXPECT_EQ((std::array<vec, 7>{d(l.m_base.pos), d(l.m_base.rev), d(l.m_base.inv), d(l.m_rates[0].pos),
                                  d(l.m_rates[0].rev), d(l.m_rates[1].pos), d(l.m_rates[1].rev)}),
              (std::array<vec, 7>{
                  vec{0, 10, 0}, {0, 0, q90}, {0, 0, -q90}, {1, 0, 0}, {0, 0.2f, 0}, {0, 0, -1}, {0, 0, 0.3f}}));

    std::uint32_t idx = 0;
    event_coords_t coords;
    step_timeline_at(fix, idx, coords, 1500);
    // From 500 ms, 0.25 along x, the body faces world y.
    EXPECT_EQ(idx, 2u);
    EXPECT_EQ(coords.m_msec, 500u);
    EXPECT_LT(length(coords.m_cur.pos - pos3{0.25f, 1, 0}), 1e-5f);
    coords.m_rates[0].pos = pos3{0, 0, -1};  // input after a rebase stays
    const event_coords_t at_t = step_timeline_at(fix, idx, coords, 1900);
    EXPECT_EQ(idx, 2u);
    EXPECT_EQ(coords.m_rates[0].pos.z, -1);
    EXPECT_EQ(coords.m_msec, 500u);
    EXPECT_EQ(at_t.m_msec, 1900u);
    EXPECT_EQ(at_t.m_base.pos.z, coords.m_cur.pos.z);
}
