// Events and the event delta list.

#include <cstring>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "framework/event_coords.h"
#include "framework/event_list.h"
#include "framework/events.h"

using libgr::pos3;
using libgr::rev3;

namespace {

std::vector<std::int32_t> stored(const event_list_t& l) {
    std::vector<std::int32_t> out;
    for (const auto& p : l)
        out.push_back(p.first);
    return out;
}

// An event kind this program does not know.
class unknown_event_t : public event_t {
public:
    unknown_event_t() : event_t(6) {}
};

class counted_event_t : public position_event_t {
public:
    explicit counted_event_t(int& deleted) : position_event_t(pos3{}), m_deleted(deleted) {}
    ~counted_event_t() override { ++m_deleted; }

private:
    int& m_deleted;
};

}  // namespace

TEST(EventList, LaterPairInsertedFirstShrinksTheFollowingTime) {
    event_list_t l;
    position_event_t a(pos3{}), b(pos3{}), c(pos3{});
    EXPECT_EQ(l.insert({100, &a}), 0u);
    EXPECT_EQ(l.insert({40, &b}), 0u);
    EXPECT_EQ(stored(l), (std::vector<std::int32_t>{40, 60}));
    EXPECT_EQ(l.begin()->second, &b);
    // Same time: after the one already there, relative 0.
    EXPECT_EQ(l.insert({40, &c}), 1u);
    EXPECT_EQ(stored(l), (std::vector<std::int32_t>{40, 0, 60}));
    EXPECT_EQ(std::next(l.begin())->second, &c);
}

TEST(EventList, AbsoluteTimesArePreserved) {
    event_list_t l;
    position_event_t e(pos3{});
    for (std::int32_t t : {500, 0, 250, 1000, 250, 750})
        l.insert({t, &e});
    EXPECT_EQ(stored(l), (std::vector<std::int32_t>{0, 250, 0, 250, 250, 250}));
    EXPECT_EQ(l.insert({2000, &e}), 6u);  // past the end
    EXPECT_EQ(stored(l).back(), 1000);
    EXPECT_EQ(l.size(), 7u);
}

TEST(Events, KindsAndDeletionThroughTheBase) {
    static_assert(std::has_virtual_destructor<event_t>::value, "events are deleted through event_t");
    EXPECT_EQ(position_event_t(pos3{}).m_type, 0u);
    EXPECT_EQ(speed_event_t(pos3{}).m_type, 1u);
    EXPECT_EQ(accel_event_t(pos3{}).m_type, 2u);
    EXPECT_EQ(posture_event_t(rev3{}).m_type, 3u);
    EXPECT_EQ(rotation_event_t(rev3{}).m_type, 4u);
    EXPECT_EQ(revolution_event_t(rev3{}).m_type, 5u);
    int deleted = 0;
    event_t* e = new counted_event_t(deleted);
    delete e;
    EXPECT_EQ(deleted, 1);
}

TEST(Events, ApplyingSetsThePartTheKindNames) {
    event_coords_t c;
    apply_event(position_event_t(pos3{1, 2, 3}), c);
    apply_event(speed_event_t(pos3{4, 5, 6}), c);
    apply_event(accel_event_t(pos3{7, 8, 9}), c);
    apply_event(posture_event_t(rev3{0.1f, 0, 0}), c);
    apply_event(rotation_event_t(rev3{0, 0.2f, 0}), c);
    apply_event(revolution_event_t(rev3{0, 0, 0.3f}), c);
    EXPECT_EQ(c.m_base.pos.z, 3.0f);
    EXPECT_EQ(c.m_rates[0].pos.x, 4.0f);
    EXPECT_EQ(c.m_rates[1].pos.y, 8.0f);
    EXPECT_EQ(c.m_base.rev.x, 0.1f);
    EXPECT_EQ(c.m_base.inv.x, -0.1f);
    EXPECT_EQ(c.m_rates[0].rev.y, 0.2f);
    EXPECT_EQ(c.m_rates[0].inv.y, -0.2f);
    EXPECT_EQ(c.m_rates[1].rev.z, 0.3f);
    EXPECT_EQ(c.m_rates[1].inv.z, -0.3f);
    EXPECT_EQ(c.m_cur.pos.x, 0.0f);  // applying never touches the current state
}

TEST(Events, UnknownKindChangesNothing) {
    event_coords_t c, before;
    apply_event(unknown_event_t(), c);
    EXPECT_EQ(std::memcmp(&c, &before, sizeof c), 0);
}
