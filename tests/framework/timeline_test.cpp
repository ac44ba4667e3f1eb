// Snapshot building and the per-update step of the timeline.

#include <cstring>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "framework/events.h"
#include "framework/timeline.h"
#include "graphics/values_ops.h"

using namespace libgr;

namespace {

std::string dumped(const event_coords_t& c) {
    std::ostringstream os;
    dump(os, c);
    return os.str();
}

bool same_bits(const event_coords_t& a, const event_coords_t& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The scene's single scheduled event: base position (0, 0, 0) at 0.
struct single_event_timeline {
    position_event_t origin{pos3{0, 0, 0}};
    event_list_t events;
    std::vector<event_coords_t> fixevents;
    std::uint32_t fixidx = 0;
    event_coords_t coords;

    single_event_timeline() {
        events.insert({0, &origin});
        build_fixevents_from(events, fixevents);
    }
};

}  // namespace

TEST(Timeline, SingleEventAtZeroGivesTheDefaultSnapshot) {
    single_event_timeline tl;
    ASSERT_EQ(tl.fixevents.size(), 1u);
    const event_coords_t& s = tl.fixevents[0];
    EXPECT_EQ(s.m_msec, 0u);
    EXPECT_EQ(s.m_pstmsec, 0u);
    EXPECT_EQ(dumped(s), dumped(event_coords_t()));
    EXPECT_TRUE(same_bits(s, event_coords_t()));  // no stray -0 anywhere either
}

TEST(Timeline, SingleSnapshotIsLoadedOnceAtTheFirstUpdate) {
    single_event_timeline tl;
    tl.coords.m_base.pos = pos3{9, 9, 9};  // anything the snapshot must replace
    const event_coords_t c = step_timeline_at(tl.fixevents, tl.fixidx, tl.coords, 0);
    EXPECT_EQ(tl.fixidx, 1u);
    EXPECT_TRUE(same_bits(tl.coords, tl.fixevents[0]));
    EXPECT_EQ(c.m_msec, 0u);

    // Input between updates: never undone by a reload.
    rebase_at(tl.coords, 100);
    tl.coords.m_rates[0].pos = pos3{0, 0, -1};
    for (std::uint32_t t : {200u, 5000u, 100000u}) {
        step_timeline_at(tl.fixevents, tl.fixidx, tl.coords, t);
        EXPECT_EQ(tl.fixidx, 1u);
        EXPECT_EQ(tl.coords.m_rates[0].pos.z, -1.0f);
        EXPECT_EQ(tl.coords.m_msec, 100u);
        EXPECT_EQ(tl.coords.m_pstmsec, t);
        EXPECT_NEAR(tl.coords.m_cur.pos.z, -(t - 100.0f) / 1000.0f, 1e-4f);
    }
}

TEST(Timeline, StepReturnsTheStateAdvancedToTheUpdateTime) {
    single_event_timeline tl;
    step_timeline_at(tl.fixevents, tl.fixidx, tl.coords, 0);
    tl.coords.m_rates[0].pos = pos3{3, 0, 0};
    tl.coords.m_rates[1].pos = pos3{0, 2, 0};
    const event_coords_t before = tl.coords;
    const event_coords_t c = step_timeline_at(tl.fixevents, tl.fixidx, tl.coords, 2000);
    EXPECT_EQ(c.m_msec, 2000u);
    EXPECT_EQ(c.m_base.pos.x, tl.coords.m_cur.pos.x);
    EXPECT_EQ(c.m_base.pos.y, tl.coords.m_cur.pos.y);
    EXPECT_NEAR(c.m_rates[0].pos.y, 4.0f, 1e-5f);  // velocity at t
    // The live record keeps its base and rates.
    EXPECT_EQ(tl.coords.m_msec, before.m_msec);
    EXPECT_EQ(tl.coords.m_rates[0].pos.y, 0.0f);
    EXPECT_EQ(tl.coords.m_base.pos.x, before.m_base.pos.x);
}

TEST(Timeline, TimeSteppedBackMovesTheCameraBack) {
    single_event_timeline tl;
    step_timeline_at(tl.fixevents, tl.fixidx, tl.coords, 0);
    rebase_at(tl.coords, 0);
    tl.coords.m_rates[0].pos = pos3{0, 0, -2};
    step_timeline_at(tl.fixevents, tl.fixidx, tl.coords, 3000);
    rebase_at(tl.coords, 3000);  // an input at 3 s
    EXPECT_NEAR(tl.coords.m_base.pos.z, -6.0f, 1e-4f);
    // The shell's time keys move demo time back to 1 s.
    const event_coords_t c = step_timeline_at(tl.fixevents, tl.fixidx, tl.coords, 1000);
    EXPECT_NEAR(tl.coords.m_cur.pos.z, -2.0f, 1e-4f);
    EXPECT_NEAR(c.m_base.pos.z, -2.0f, 1e-4f);
    EXPECT_EQ(tl.fixidx, 1u);
}

TEST(Timeline, SnapshotsAtSeveralTimesCarryAbsoluteTimes) {
    speed_event_t go(pos3{1, 0, 0});
    posture_event_t turn(rev3{0, 0, deg_to_rad(90.0f)});
    position_event_t jump(pos3{0, 10, 0});
    event_list_t events;
    events.insert({2000, &jump});
    events.insert({0, &go});
    events.insert({500, &turn});
    std::vector<event_coords_t> fix;
    build_fixevents_from(events, fix);
    ASSERT_EQ(fix.size(), 3u);
    EXPECT_EQ(fix[0].m_msec, 0u);
    EXPECT_EQ(fix[1].m_msec, 500u);
    EXPECT_EQ(fix[2].m_msec, 2000u);
    EXPECT_EQ(fix[2].m_pstmsec, 2000u);

    // Each snapshot holds everything up to it, with the base at its own time.
    EXPECT_EQ(fix[0].m_rates[0].pos.x, 1.0f);
    EXPECT_NEAR(fix[1].m_base.pos.x, 0.5f, 1e-6f);
    EXPECT_EQ(fix[1].m_base.rev.z, deg_to_rad(90.0f));
    EXPECT_EQ(fix[1].m_base.inv.z, -deg_to_rad(90.0f));
    EXPECT_EQ(fix[2].m_base.pos.y, 10.0f);
    EXPECT_EQ(fix[2].m_rates[0].pos.x, 1.0f);

    // The step picks the latest snapshot reached, and any change of index reloads.
    std::uint32_t idx = 0;
    event_coords_t coords;
    step_timeline_at(fix, idx, coords, 499);
    EXPECT_EQ(idx, 1u);
    EXPECT_NEAR(coords.m_cur.pos.x, 0.499f, 1e-6f);
    step_timeline_at(fix, idx, coords, 1500);
    EXPECT_EQ(idx, 2u);
    EXPECT_EQ(coords.m_msec, 500u);
    // From 500 ms the body faces world y: 1 s at unit body-x speed moves it along y.
    EXPECT_NEAR(coords.m_cur.pos.x, 0.5f, 1e-5f);
    EXPECT_NEAR(coords.m_cur.pos.y, 1.0f, 1e-5f);
    step_timeline_at(fix, idx, coords, 2000);
    EXPECT_EQ(idx, 3u);
    EXPECT_TRUE(same_bits(coords, fix[2]));  // loaded whole, then m_cur at the same time
}

TEST(Timeline, BeforeTheFirstSnapshotTheStateIsKept) {
    position_event_t late(pos3{5, 0, 0});
    event_list_t events;
    events.insert({1000, &late});
    std::vector<event_coords_t> fix;
    build_fixevents_from(events, fix);
    ASSERT_EQ(fix.size(), 1u);
    EXPECT_EQ(fix[0].m_msec, 1000u);

    std::uint32_t idx = 0;
    event_coords_t coords;
    coords.m_rates[0].pos = pos3{0, 1, 0};
    const event_coords_t before = coords;
    step_timeline_at(fix, idx, coords, 500);
    EXPECT_EQ(idx, 0u);
    EXPECT_EQ(coords.m_rates[0].pos.y, 1.0f);  // nothing loaded
    EXPECT_EQ(coords.m_msec, before.m_msec);
    EXPECT_EQ(coords.m_pstmsec, 500u);  // but the current state is computed
    EXPECT_NEAR(coords.m_cur.pos.y, 0.5f, 1e-6f);

    step_timeline_at(fix, idx, coords, 1000);
    EXPECT_EQ(idx, 1u);
    EXPECT_EQ(coords.m_base.pos.x, 5.0f);
    EXPECT_EQ(coords.m_rates[0].pos.y, 0.0f);
}
