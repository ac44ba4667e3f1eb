// The holder's lay-out, due test, current object and ownership, and the root
// around it, seen through demo objects that log every call they receive.

#include "framework/demo_root.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using log_t = std::vector<std::string>;
constexpr std::uint32_t OPEN = demo_open_ended;

log_t calls;  // what every recorder was asked, in order

struct recorder_t : demo_object_t {
    recorder_t(std::string n, unsigned len, bool g = true) : name(n), going(g) { m_length = len; }
    ~recorder_t() override { note("deleted"); }
    void draw() override { note("draw"); }
    void draw_overlay() override { note("overlay"); }
    bool update(std::uint32_t t) override { return demo_object_t::update(t) && note("update " + std::to_string(t)); }
    void reshape(int w, int) override { note("reshape " + std::to_string(w)); }
    bool key_down(unsigned char k, int, int) override { return note("key " + std::to_string(k)); }
    bool note(const std::string& what) { return calls.push_back(name + "." + what), going; }
    std::string name;
    bool going;
};

}  // namespace

// Unplaced objects follow the running end of finite ones; due objects get their local time, the root goes on while any
// does, up to its length; draw makes each running one current (reshaped), so keys reach the last.
TEST(Holder, RootPlaysDueObjectsDrawsRunningOnesAndKeysReachTheLast) {
    calls.clear();
    demo_root_t root;
    for (auto [name, length, going] : {std::tuple{"a", 1000u, true}, {"stops", OPEN, false}, {"b", 500u, true}})
        root.add(new recorder_t(name, length, going));
    EXPECT_FALSE(root.play(0)) << "not started";
    EXPECT_FALSE(root.key_down('k', 0, 0)) << "no current object";
    ASSERT_EQ(root.start(), 1500u);
    for (std::uint32_t t : {999u, 1000u, 1499u}) EXPECT_TRUE(root.play(t)) << t;
    EXPECT_FALSE(root.play(1500));
    EXPECT_EQ(calls, (log_t{"a.update 999", "stops.update 0", "b.update 0", "stops.update 499", "b.update 499"}));
    calls.clear();
    root.holder().objects()[0]->m_time = 1000;  // a has run its length
    root.resize(64, 48);
    root.show();
    root.show_overlay();
    EXPECT_TRUE(root.key_down('k', 0, 0));
    root.holder().objects()[1]->m_time = OPEN;  // only b runs, and is current already
    root.show();
    EXPECT_EQ(calls,
              (log_t{"stops.reshape 64", "b.reshape 64", "stops.reshape 64", "stops.draw", "b.reshape 64", "b.draw",
                     "stops.reshape 64", "stops.overlay", "b.reshape 64", "b.overlay", "b.key 107", "b.draw"}));
}

// Refused, null would crash the reshape, a second owner or the holder itself
// a delete; clear and the destructor delete each object once.
TEST(Holder, OwnsEachObjectOnceAndRefusesNullASecondOwnerAndItself) {
    calls.clear();
    {
        demo_object_holder_t holder;
        auto* a = new recorder_t("a", 100);
        for (demo_object_t* o : std::vector<demo_object_t*>{a, a, nullptr, &holder}) holder.add(o);
        holder.reshape(1, 1);
        holder.clear();
        EXPECT_TRUE(holder.objects().empty());
        EXPECT_EQ(holder.current(), nullptr);
        holder.add(new recorder_t("b", OPEN));
        EXPECT_EQ(holder.calc_length(), OPEN) << "nothing finite: open-ended";
    }
    EXPECT_EQ(calls, (log_t{"a.reshape 1", "a.deleted", "b.deleted"}));
}
