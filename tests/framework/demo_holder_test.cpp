// The holder's lay-out, due test, current object and ownership, and the root
// around it, seen through demo objects that log every call they receive.

#include "framework/demo_root.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using log_t = std::vector<std::string>;
constexpr std::uint32_t U = demo_unplaced, OPEN = demo_open_ended;

class recorder_t : public demo_object_t {
public:
    recorder_t(std::string name, log_t& log, std::uint32_t length, bool going = true)
        : m_name(std::move(name)), m_log(log), m_going(going) {
        m_length = length;
    }
    ~recorder_t() override { note("deleted"); }
    void draw() override { note("draw"); }
    void draw_overlay() override { note("draw_overlay"); }
    bool update(std::uint32_t t) override {
        demo_object_t::update(t);
        return note("update " + str(t), m_going);
    }
    void reshape(int w, int h) override { note("reshape " + str(w) + "x" + str(h)); }
    bool key_down(unsigned char k, int, int) override { return note("key_down " + str(k), m_consume); }
    bool key_up(unsigned char k, int, int) override { return note("key_up " + str(k), m_consume); }
    bool special_down(int k, int, int) override { return note("special_down " + str(k), m_consume); }
    bool special_up(int k, int, int) override { return note("special_up " + str(k), m_consume); }
    bool m_consume = true;

private:
    template <class T> static std::string str(T n) { return std::to_string(n); }
    bool note(const std::string& what, bool result = true) {
        m_log.push_back(m_name + "." + what);
        return result;
    }
    std::string m_name;
    log_t& m_log;
    bool m_going;
};

class HolderTest : public ::testing::Test {
protected:
    recorder_t* make(const std::string& name, std::uint32_t length, bool going = true) {
        auto* object = new recorder_t(name, m_log, length, going);
        m_holder.add(object);
        return object;
    }
    log_t m_log;
    demo_object_holder_t m_holder;
};

TEST(HolderLayoutTest, UnplacedObjectsFollowTheRunningEndOfFiniteOnes) {
    struct layout_case {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> objects;  // offset, length
        std::uint32_t length;
        std::vector<std::uint32_t> offsets;
    } const cases[] = {
        {{{U, 1000}, {U, 500}}, 1500, {0, 1000}},
        {{{2000, 100}, {U, 300}}, 2400, {2000, 2100}},
        {{{U, OPEN}, {U, 0}}, OPEN, {0, 0}},  // nothing finite ends: open-ended
        {{{U, 700}, {U, OPEN}, {U, 50}}, 750, {0, 700, 700}},
        {{{U, OPEN}, {U, 300}}, 300, {0, 0}},
    };
    for (const layout_case& c : cases) {
        SCOPED_TRACE(c.length);
        log_t log;
        demo_object_holder_t holder;
        for (const auto& [offset, length] : c.objects) {
            holder.add(new recorder_t("o", log, length));
            holder.objects().back()->m_offset = offset;
        }
        EXPECT_EQ(holder.calc_length(), c.length);
        std::vector<std::uint32_t> offsets;
        for (const demo_object_t* object : holder.objects()) offsets.push_back(object->m_offset);
        EXPECT_EQ(offsets, c.offsets);
    }
}

TEST_F(HolderTest, UpdateIsTrueWhenAnyDueObjectGoesOnOnALayoutFixedOnce) {
    EXPECT_EQ(m_holder.calc_length(), 0u) << "an empty holder stays unlaid";
    make("a", 1000);
    make("stops", OPEN, false);
    make("b", 500);
    ASSERT_EQ(m_holder.calc_length(), 1500u);
    auto* late = make("late", OPEN);
    EXPECT_EQ(m_holder.calc_length(), 1500u);
    EXPECT_EQ(late->m_offset, U) << "added after the lay-out: never due";

    for (std::uint32_t t : {999u, 1000u, 1499u}) EXPECT_TRUE(m_holder.update(t)) << t;
    EXPECT_FALSE(m_holder.update(1500)) << "only the object that stops is due";
    EXPECT_EQ(m_log, (log_t{"a.update 999", "stops.update 0", "b.update 0", "stops.update 499", "b.update 499",
                            "stops.update 500"}));
    EXPECT_EQ(m_holder.m_time, 1500u);
}

TEST_F(HolderTest, DrawSwitchesToEachRunningObjectSoKeysReachTheLast) {
    EXPECT_FALSE(m_holder.key_down('k', 0, 0)) << "no current object yet";
    auto* a = make("a", 1000);
    auto* b = make("b", 1000);
    make("done", 100)->m_time = 100;  // at its length: finished
    m_holder.calc_length();
    m_holder.reshape(640, 480);
    m_holder.draw();
    m_holder.draw_overlay();
    EXPECT_TRUE(m_holder.key_down('k', 0, 0));
    const std::string a_to_front = "a.reshape 640x480", b_to_front = "b.reshape 640x480";
    EXPECT_EQ(m_log, (log_t{a_to_front, b_to_front, a_to_front, "a.draw", b_to_front, "b.draw", a_to_front,
                            "a.draw_overlay", b_to_front, "b.draw_overlay", "b.key_down 107"}));

    a->m_time = 1000;  // only b runs, and b is current already
    m_log.clear();
    m_holder.draw();
    EXPECT_EQ(m_log, (log_t{"b.draw"}));
    b->m_time = 1000;
    m_holder.draw();
    m_holder.reshape(1024, 768);
    EXPECT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_holder.current(), b) << "no running object leaves the current one";
}

TEST(HolderOwnershipTest, EachObjectIsDeletedOnceAndRefusalsAreReported) {
    log_t log;
    {
        demo_object_holder_t holder;
        auto* a = new recorder_t("a", log, 100);
        holder.add(a);
        holder.add(new recorder_t("b", log, 100));
        testing::internal::CaptureStderr();
        holder.add(a);
        holder.add(nullptr);
        holder.add(&holder);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(holder.objects().size(), 2u);
        EXPECT_NE(errors.find("null object refused"), std::string::npos) << errors;
        EXPECT_NE(errors.find("already owned"), std::string::npos) << errors;
        holder.calc_length();
        holder.reshape(10, 10);
        log.clear();

        holder.clear();
        EXPECT_EQ(log, (log_t{"a.deleted", "b.deleted"}));
        EXPECT_EQ(holder.current(), nullptr);
        EXPECT_EQ(holder.m_length, 200u) << "clear keeps the time line";
        holder.clear();
        holder.add(new recorder_t("c", log, 1));
    }
    EXPECT_EQ(log, (log_t{"a.deleted", "b.deleted", "c.deleted"})) << "the destructor deletes what is left";
}

TEST(RootTest, PlaysAnOpenEndedObjectUpToTheLastMillisecondOnlyOnceStarted) {
    demo_root_t empty;
    EXPECT_EQ(empty.start(), 0u);
    EXPECT_FALSE(empty.play(0));

    log_t log;
    demo_root_t root;
    auto* scene = new recorder_t("scene", log, OPEN);
    root.add(scene);
    EXPECT_FALSE(root.play(0)) << "not started";
    root.show();
    EXPECT_EQ(root.start(), OPEN);
    EXPECT_TRUE(root.play(0));
    EXPECT_TRUE(root.play(4294967294u));
    EXPECT_FALSE(root.play(4294967295u));
    root.resize(100, 100);
    EXPECT_TRUE(root.key_down('q', 3, 4));
    scene->m_consume = false;
    EXPECT_FALSE(root.special_up(9, 0, 0));
    root.clear();
    EXPECT_EQ(log, (log_t{"scene.update 0", "scene.update 4294967294", "scene.reshape 100x100", "scene.key_down 113",
                          "scene.special_up 9", "scene.deleted"}));
}

}  // namespace
