// The holder's lay-out, due test, current object and ownership, and the root
// around it, seen through demo objects that log every call they receive.

#include "framework/demo_root.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using log_t = std::vector<std::string>;
constexpr std::uint32_t OPEN = demo_open_ended;

class recorder_t : public demo_object_t {
public:
    recorder_t(std::string n, log_t& l, unsigned len, bool g = true) : name(n), log(l), going(g) { m_length = len; }
    ~recorder_t() override { note("deleted"); }
    void draw() override { note("draw"); }
    void draw_overlay() override { note("overlay"); }
    bool update(std::uint32_t t) override { return demo_object_t::update(t) && note("update " + std::to_string(t)); }
    void reshape(int w, int) override { note("reshape " + std::to_string(w)); }
    bool key_down(unsigned char k, int, int) override { return note("key " + std::to_string(k)); }
    bool note(const std::string& what) { return log.push_back(name + "." + what), going; }
    std::string name;
    log_t& log;
    bool going;
};

}  // namespace

// Unplaced objects follow the running end of finite ones; due objects get
// their local time, the root goes on while any does, up to its length; draw
// makes each running one current (reshaped), so keys reach the last.
TEST(Holder, RootPlaysDueObjectsDrawsRunningOnesAndKeysReachTheLast) {
    log_t log;
    demo_root_t root;
    for (auto [name, length, going] : {std::tuple{"a", 1000u, true}, {"stops", OPEN, false}, {"b", 500u, true}})
        root.add(new recorder_t(name, log, length, going));
    EXPECT_FALSE(root.play(0) || root.key_down('k', 0, 0)) << "not started, no current object";
    ASSERT_EQ(root.start(), 1500u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(root.holder().objects()[i]->m_offset, (i ? 1000u : 0u));
    for (std::uint32_t t : {999u, 1000u, 1499u}) EXPECT_TRUE(root.play(t)) << t;
    EXPECT_FALSE(root.play(1500));
    EXPECT_EQ(log, (log_t{"a.update 999", "stops.update 0", "b.update 0", "stops.update 499", "b.update 499"}));
    log.clear();
    root.holder().objects()[0]->m_time = 1000;  // a has run its length
    root.resize(64, 48);
    root.show();
    root.show_overlay();
    EXPECT_TRUE(root.key_down('k', 0, 0));
    root.holder().objects()[1]->m_time = OPEN;  // only b runs, and is current already
    root.show();
    EXPECT_EQ(log,
              (log_t{"stops.reshape 64", "b.reshape 64", "stops.reshape 64", "stops.draw", "b.reshape 64", "b.draw",
                     "stops.reshape 64", "stops.overlay", "b.reshape 64", "b.overlay", "b.key 107", "b.draw"}));
}

TEST(Holder, OwnsEachObjectOnceAndRefusesNullASecondOwnerAndItself) {
    log_t log;
    {
        demo_object_holder_t holder;
        auto* a = new recorder_t("a", log, 100);
        holder.add(a);
        testing::internal::CaptureStderr();
        holder.add(a);
        holder.add(nullptr);
        holder.add(&holder);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(holder.objects().size(), 1u);
        EXPECT_TRUE(errors.find("null object refused") != errors.npos && errors.find("already owned") != errors.npos);
        EXPECT_EQ(holder.calc_length(), 100u);
        holder.reshape(1, 1);  // a is current
        holder.clear();
        EXPECT_EQ(log, (log_t{"a.reshape 1", "a.deleted"}));
        EXPECT_TRUE(holder.objects().empty() && holder.current() == nullptr);
        holder.add(new recorder_t("b", log, OPEN));
        holder.m_length = 0;
        EXPECT_EQ(holder.calc_length(), OPEN) << "nothing finite: open-ended";
    }
    EXPECT_EQ(log, (log_t{"a.reshape 1", "a.deleted", "b.deleted"})) << "the destructor deletes what is left";
}
