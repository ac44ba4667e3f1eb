// The event timeline around the flight: forces to accelerations, signed
// steps, the delta list, the snapshots built from events of every kind and
// the per-update step.

#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "framework/events.h"
#include "framework/timeline.h"
#include "graphics/force.h"
#include "graphics/values_ops.h"

using namespace libgr;

namespace {

using xyz_t = std::array<float, 3>;
template <class V> xyz_t xyz(const V& v) { return {v.x, v.y, v.z}; }
const float q90 = deg_to_rad(90.0f);

}  // namespace

// Moments become the angular acceleration, central parts the linear one;
// the base moves with the rates, and back along the path before it.
TEST(EventCoords, ForcesAccelerateAndStepsAreSigned) {
    event_coords_t c;
    add_force(c.m_force[1], dir3{0, 0, 0}, dir3{0, 0, -5});
    add_force(c.m_force[1], dir3{1, 0, 0}, dir3{0, 0.5f, 0});
    c.apply_force();
    EXPECT_EQ((std::array<xyz_t, 3>{xyz(c.m_rates[1].rev), xyz(c.m_rates[1].inv), xyz(c.m_rates[1].pos)}),
              (std::array<xyz_t, 3>{xyz_t{0, 0, 0.5f}, xyz_t{0, 0, -0.5f}, xyz_t{0, 0, -5}}));
    event_coords_t m;
    m.m_rates[0].pos = pos3{2, 0, 0};
    m.advance_base(1000);
    m.update_current(400);
    EXPECT_TRUE(m.m_msec == 1000 && m.m_pstmsec == 400 && m.m_base.pos.x == 2);
    EXPECT_NEAR(m.m_cur.pos.x, 0.8f, 1e-6f);
    EXPECT_EQ(elapsed_seconds(100, 0xFFFFFF9Cu), 0.2f) << "across the 32-bit wrap";
}

// By design, whole turns per second count as no turning speed for the thrust
// term (its speed is reduced modulo one turn), so thrust across the turn
// moves nothing; half a turn per second moves the body.
TEST(EventCoords, WholeTurnsPerSecondDropTheThrustAcrossTheTurn) {
    rates_t r = {identity_pst3w, identity_pst3w};
    r[1].pos = pos3{0, 1, 0};
    for (const float turns : {1.0f, 2.0f, 0.5f}) {
        r[0].rev = rev3{0, 0, turns * 2.0f * 3.1415927f};
        r[0].inv = negate(r[0].rev);
        EXPECT_EQ(any_differs(displacement(r, 0.5f).pos, 0.0f), turns == 0.5f) << turns;
    }
}

TEST(EventList, InsertKeepsAbsoluteTimesAndInsertionOrder) {
    position_event_t a(pos3{});
    event_list_t l;
    std::vector<std::size_t> passed;  // the index of each: after those at the same time
    for (std::int32_t t : {500, 0, 250, 1000, 250, 750, 2000}) passed.push_back(l.insert({t, &a}));
    std::vector<std::int32_t> stored;
    for (const auto& p : l) stored.push_back(p.first);
    EXPECT_EQ(stored, (std::vector<std::int32_t>{0, 250, 0, 250, 250, 250, 1000}));
    EXPECT_EQ(passed, (std::vector<std::size_t>{0, 0, 1, 3, 2, 4, 6}));
}

// One snapshot per event, at its absolute time, holding everything up to it;
// the step loads the latest snapshot reached when that changes, and only
// then, and computes the current state from it.
TEST(Timeline, SnapshotsAtTheirTimesLoadedOnceReached) {
    speed_event_t go(pos3{1, 0, 0});
    posture_event_t turn(rev3{0, 0, q90});
    position_event_t jump(pos3{0, 10, 0});
    accel_event_t push(pos3{0, 0, -1});
    rotation_event_t spin(rev3{0, 0.2f, 0});
    revolution_event_t spin_up(rev3{0, 0, 0.3f});
    event_list_t events;
    for (event_t* e : std::vector<event_t*>{&jump, &push, &spin, &spin_up}) events.insert({2000, e});
    events.insert({500, &turn});
    events.insert({250, &go});
    std::vector<event_coords_t> fix;
    build_fixevents_from(events, fix);
    ASSERT_EQ(fix.size(), 6u);
    EXPECT_TRUE(fix[0].m_msec == 250 && fix[1].m_msec == 500 && fix[5].m_msec == 2000);
    EXPECT_NEAR(fix[1].m_base.pos.x, 0.25f, 1e-6f);
    const event_coords_t& l = fix[5];
    // clang-format off
    EXPECT_EQ((std::array<xyz_t, 7>{xyz(l.m_base.pos), xyz(l.m_base.rev), xyz(l.m_base.inv), xyz(l.m_rates[0].pos),
                                    xyz(l.m_rates[0].rev), xyz(l.m_rates[1].pos), xyz(l.m_rates[1].rev)}),
              (std::array<xyz_t, 7>{xyz_t{0, 10, 0}, {0, 0, q90}, {0, 0, -q90}, {1, 0, 0}, {0, 0.2f, 0}, {0, 0, -1},
                                    {0, 0, 0.3f}}));
    // clang-format on

    std::uint32_t idx = 0;
    event_coords_t coords;
    coords.m_rates[0].pos = pos3{0, 1, 0};
    step_timeline_at(fix, idx, coords, 100);  // before the first: nothing loaded
    EXPECT_TRUE(idx == 0 && coords.m_rates[0].pos.y == 1 && coords.m_pstmsec == 100);
    step_timeline_at(fix, idx, coords, 1500);
    EXPECT_TRUE(idx == 2 && coords.m_msec == 500);
    EXPECT_NEAR(coords.m_cur.pos.y, 1.0f, 1e-5f);  // from 500 ms the body faces world y
    coords.m_rates[0].pos = pos3{0, 0, -1};        // input after a rebase stays
    const event_coords_t at_t = step_timeline_at(fix, idx, coords, 1900);
    EXPECT_TRUE(idx == 2 && coords.m_rates[0].pos.z == -1 && coords.m_msec == 500);
    EXPECT_TRUE(at_t.m_msec == 1900 && at_t.m_base.pos.z == coords.m_cur.pos.z);
}
