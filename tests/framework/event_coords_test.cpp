// The event timeline: the state record with its dump and closed-form motion,
// events, the delta list, the snapshots built from it and the per-update step.

#include <cstring>
#include <iterator>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "framework/events.h"
#include "framework/timeline.h"
#include "graphics/force.h"
#include "graphics/values_ops.h"

using namespace libgr;

namespace {

void expect_near(const pos3& v, float x, float y, float z, float tol = 1e-5f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

void set_rev(pst3w& p, const rev3& rev) {
    p.rev = rev;
    p.inv = -rev;
}

bool same_bits(const event_coords_t& a, const event_coords_t& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<std::int32_t> stored(const event_list_t& l) {
    std::vector<std::int32_t> out;
    for (const auto& p : l) out.push_back(p.first);
    return out;
}

// The snapshots of a list built by inserting `pairs` (absolute times) in turn.
std::vector<event_coords_t> snapshots(std::initializer_list<event_pair_t> pairs) {
    event_list_t events;
    for (const event_pair_t& p : pairs) events.insert(p);
    std::vector<event_coords_t> fix;
    build_fixevents_from(events, fix);
    return fix;
}

class unknown_event_t : public event_t {
public:
    unknown_event_t() : event_t(6) {}
};

}  // namespace

TEST(EventCoords, DumpWritesNineteenLinesWithTimesInDecimal) {
    const std::string zero = "(0.000000, 0.000000, 0.000000)\n";
    std::string expected = "dump event_coords_t ---\nm_msec: 0\nm_pstmsec: 0\n";
    for (const char* label : {"m_pos", "m_pos0", "m_vec", "m_acc"}) expected += std::string(label) + ": pos3" + zero;
    for (const char* label : {"m_pst", "m_pst0", "m_rot", "m_rev"}) expected += std::string(label) + ": rev3" + zero;
    for (const char* force : {"m_force[0].", "m_force[1]."})
        for (const char* part : {"ro", "ze", "pf", "nf"}) expected += force + std::string(part) + ": dir3" + zero;
    std::ostringstream os;
    dump(os, event_coords_t());
    EXPECT_EQ(os.str(), expected);

    std::ostringstream custom;
    custom << std::hex;
    event_coords_t c;
    c.m_msec = 1500;
    dump(custom, c);
    EXPECT_NE(custom.str().find("\nm_msec: 1500\n"), std::string::npos);
    EXPECT_EQ(custom.flags() & std::ios_base::basefield, std::ios_base::hex) << "the caller's flags come back";
}

TEST(EventCoords, UpdateCurrentMovesFromTheBaseOnly) {
    event_coords_t c;
    c.m_base = pst3w{{0.3f, -0.2f, 0.1f}, {-0.3f, 0.2f, -0.1f}, {5, 6, 7}};
    for (std::uint32_t t : {0u, 999u, 0x7FFFFFFFu}) {  // zero rates: the posture stays
        c.update_current(t);
        EXPECT_EQ(c.m_pstmsec, t);
        EXPECT_EQ(std::memcmp(&c.m_cur, &c.m_base, sizeof c.m_cur), 0) << t;
    }
    // A pure linear velocity moves along the base posture: body x is world y.
    set_rev(c.m_base, rev3{0, 0, deg_to_rad(90.0f)});
    c.m_base.pos = pos3{1, 2, 3};
    c.m_rates[0].pos = pos3{1.5f, 0, 0};
    c.update_current(2000);
    expect_near(c.m_cur.pos, 1, 5, 3);
    EXPECT_EQ(c.m_cur.rev.z, c.m_base.rev.z);
    EXPECT_EQ(c.m_msec, 0u);
}

TEST(EventCoords, ThrustAlongTheAxisOfATurnStillAccelerates) {
    // Rolling about z while thrusting along -z: the roll does not turn the
    // thrust, so the motion along z is plain uniform acceleration.
    event_coords_t c;
    set_rev(c.m_rates[0], rev3{0, 0, 1.0f});  // 1 rad/s roll
    c.m_rates[1].pos = pos3{0, 0, -5};
    c.update_current(4000);
    expect_near(c.m_cur.pos, 0, 0, -5 * 16.0f / 2, 1e-3f);
    c.advance_base(4000);
    expect_near(c.m_rates[0].pos, 0, 0, -20, 1e-3f);
    expect_near(c.m_base.pos, 0, 0, -40, 1e-3f);

    // Thrust across the axis follows the turning closed form: over a whole
    // turn the velocity gained across it comes back to zero.
    rates_t r = {identity_pst3w, identity_pst3w};
    set_rev(r[0], rev3{0, 0, 3.1415927f});
    r[1].pos = pos3{0, 2, -5};
    step_rates(r, 2.0f);
    EXPECT_NEAR(r[0].pos.y, 0.0f, 1e-3f);
    EXPECT_NEAR(r[0].pos.z, -10.0f, 1e-3f);
}

TEST(EventCoords, ApplyForceTurnsMomentsAndCentralPartsIntoAccelerations) {
    event_coords_t c;
    add_force(c.m_force[1], dir3{0, 0, 0}, dir3{0, 0, -5});
    add_force(c.m_force[1], dir3{1, 0, 0}, dir3{0, 0.5f, 0});
    c.apply_force();
    EXPECT_EQ(c.m_rates[1].pos.z, -5.0f);
    EXPECT_EQ(c.m_rates[1].rev.z, 0.5f);
    EXPECT_EQ(c.m_rates[1].inv.z, -0.5f);
}

TEST(EventCoords, PressAndReleaseOfAForceKeepsTheGainedVelocity) {
    event_coords_t c;
    const dir3 centre{0, 0, 0}, thrust{0, 0, -5};
    add_force(c.m_force[1], centre, thrust);
    c.apply_force();
    c.advance_base(1000);  // rebase on release
    add_force(c.m_force[1], centre, -thrust);
    c.apply_force();
    EXPECT_EQ(c.m_rates[1].pos.z, 0.0f);
    expect_near(c.m_rates[0].pos, 0, 0, -5);
    expect_near(c.m_base.pos, 0, 0, -2.5f);
    c.update_current(3000);
    expect_near(c.m_cur.pos, 0, 0, -12.5f);
}

TEST(EventCoords, TimeSteppedBackMovesBackAlongThePath) {
    EXPECT_FLOAT_EQ(elapsed_seconds(500, 1000), -0.5f);        // the difference is signed
    EXPECT_FLOAT_EQ(elapsed_seconds(100, 0xFFFFFF9Cu), 0.2f);  // and small across the 32-bit wrap
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

TEST(Events, ApplyingSetsThePartTheKindNamesAndNothingElse) {
    static_assert(std::has_virtual_destructor<event_t>::value, "events are deleted through event_t");
    event_coords_t c, expected;
    apply_event(unknown_event_t(), c);
    EXPECT_TRUE(same_bits(c, expected));
    apply_event(position_event_t(pos3{1, 2, 3}), c);
    apply_event(speed_event_t(pos3{4, 5, 6}), c);
    apply_event(accel_event_t(pos3{7, 8, 9}), c);
    apply_event(posture_event_t(rev3{0.1f, 0, 0}), c);
    apply_event(rotation_event_t(rev3{0, 0.2f, 0}), c);
    apply_event(revolution_event_t(rev3{0, 0, 0.3f}), c);
    expected.m_base = pst3w{{0.1f, 0, 0}, -rev3{0.1f, 0, 0}, {1, 2, 3}};
    expected.m_rates[0] = pst3w{{0, 0.2f, 0}, -rev3{0, 0.2f, 0}, {4, 5, 6}};
    expected.m_rates[1] = pst3w{{0, 0, 0.3f}, -rev3{0, 0, 0.3f}, {7, 8, 9}};
    EXPECT_TRUE(same_bits(c, expected));
}

TEST(EventList, InsertKeepsAbsoluteTimesAndInsertionOrder) {
    event_list_t l;
    position_event_t a(pos3{}), b(pos3{}), c(pos3{});
    EXPECT_EQ(l.insert({100, &a}), 0u);
    EXPECT_EQ(l.insert({40, &b}), 0u);
    EXPECT_EQ(stored(l), (std::vector<std::int32_t>{40, 60}));
    EXPECT_EQ(l.insert({40, &c}), 1u);  // after the one already there, relative 0
    EXPECT_EQ(stored(l), (std::vector<std::int32_t>{40, 0, 60}));
    EXPECT_EQ(std::next(l.begin())->second, &c);

    event_list_t m;
    for (std::int32_t t : {500, 0, 250, 1000, 250, 750}) m.insert({t, &a});
    EXPECT_EQ(m.insert({2000, &a}), 6u);  // past the end
    EXPECT_EQ(stored(m), (std::vector<std::int32_t>{0, 250, 0, 250, 250, 250, 1000}));
}

TEST(Timeline, SingleSnapshotIsTheDefaultStateLoadedOnceAtTheFirstUpdate) {
    position_event_t origin(pos3{0, 0, 0});  // the scene's one scheduled event
    const std::vector<event_coords_t> fix = snapshots({{0, &origin}});
    ASSERT_EQ(fix.size(), 1u);
    EXPECT_TRUE(same_bits(fix[0], event_coords_t()));  // times 0, no stray -0 either
    std::uint32_t idx = 0;
    event_coords_t coords;
    coords.m_base.pos = pos3{9, 9, 9};  // anything the snapshot must replace
    step_timeline_at(fix, idx, coords, 0);
    EXPECT_EQ(idx, 1u);
    EXPECT_TRUE(same_bits(coords, fix[0]));

    // Input between updates is never undone by a reload; the step hands back
    // the state advanced to its time and leaves the live base alone.
    rebase_at(coords, 100);
    coords.m_rates[0].pos = pos3{0, 0, -1};
    coords.m_rates[1].pos = pos3{0, 2, 0};
    const event_coords_t at_t = step_timeline_at(fix, idx, coords, 2100);
    EXPECT_EQ(idx, 1u);
    EXPECT_EQ(coords.m_msec, 100u);
    EXPECT_EQ(coords.m_rates[0].pos.y, 0.0f);
    EXPECT_NEAR(coords.m_cur.pos.z, -2.0f, 1e-5f);
    EXPECT_EQ(at_t.m_msec, 2100u);
    EXPECT_EQ(at_t.m_base.pos.z, coords.m_cur.pos.z);
    EXPECT_NEAR(at_t.m_rates[0].pos.y, 4.0f, 1e-5f);  // velocity at t
}

TEST(Timeline, SnapshotsAtSeveralTimesCarryAbsoluteTimes) {
    speed_event_t go(pos3{1, 0, 0});
    posture_event_t turn(rev3{0, 0, deg_to_rad(90.0f)});
    position_event_t jump(pos3{0, 10, 0});
    const std::vector<event_coords_t> fix = snapshots({{2000, &jump}, {250, &go}, {500, &turn}});
    ASSERT_EQ(fix.size(), 3u);
    EXPECT_EQ(fix[0].m_msec, 250u);
    EXPECT_EQ(fix[1].m_msec, 500u);
    EXPECT_EQ(fix[2].m_msec, 2000u);
    // Each snapshot holds everything up to it, with the base at its own time.
    EXPECT_NEAR(fix[1].m_base.pos.x, 0.25f, 1e-6f);
    EXPECT_EQ(fix[2].m_base.pos.y, 10.0f);
    EXPECT_EQ(fix[2].m_rates[0].pos.x, 1.0f);

    // Before the first snapshot nothing is loaded, but the current state is
    // computed; later the latest snapshot reached is loaded whenever it changes.
    std::uint32_t idx = 0;
    event_coords_t coords;
    coords.m_rates[0].pos = pos3{0, 1, 0};
    step_timeline_at(fix, idx, coords, 100);
    EXPECT_EQ(idx, 0u);
    EXPECT_EQ(coords.m_rates[0].pos.y, 1.0f);
    EXPECT_NEAR(coords.m_cur.pos.y, 0.1f, 1e-6f);
    step_timeline_at(fix, idx, coords, 1500);
    EXPECT_EQ(idx, 2u);
    EXPECT_EQ(coords.m_msec, 500u);
    // From 500 ms the body faces world y: 1 s at unit body-x speed moves it along y.
    EXPECT_NEAR(coords.m_cur.pos.x, 0.25f, 1e-5f);
    EXPECT_NEAR(coords.m_cur.pos.y, 1.0f, 1e-5f);
    step_timeline_at(fix, idx, coords, 2000);
    EXPECT_EQ(idx, 3u);
    EXPECT_TRUE(same_bits(coords, fix[2]));
}
