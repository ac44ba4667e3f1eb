#include "framework/demo_holder.h"

#include "demo_recorder.h"

#include <gtest/gtest.h>

using wg_test::recording_object_t;

namespace {

using log_t = std::vector<std::string>;

class HolderTest : public ::testing::Test {
protected:
    recording_object_t* make(const std::string& name, std::uint32_t length, bool keep_going = true)
    {
        auto* object = new recording_object_t(name, m_log, length, keep_going);
        m_holder.add(object);
        return object;
    }

    log_t m_log;
    demo_object_holder_t m_holder;
};

// --- lay-out -------------------------------------------------------------------

TEST_F(HolderTest, UnplacedObjectsAreLaidOutOneAfterAnother)
{
    auto* a = make("a", 1000);
    auto* b = make("b", 500);
    EXPECT_EQ(m_holder.calc_length(), 1500u);
    EXPECT_EQ(a->m_offset, 0u);
    EXPECT_EQ(b->m_offset, 1000u);
}

TEST_F(HolderTest, PlacedObjectKeepsItsOffsetAndRaisesTheEnd)
{
    auto* a = make("a", 100);
    a->m_offset = 2000;
    auto* b = make("b", 300);
    EXPECT_EQ(m_holder.calc_length(), 2400u);
    EXPECT_EQ(b->m_offset, 2100u);
}

TEST_F(HolderTest, OpenEndedOrEmptyObjectsMakeTheHolderOpenEnded)
{
    make("a", demo_open_ended);
    make("b", 0);
    EXPECT_EQ(m_holder.calc_length(), demo_open_ended);
}

TEST_F(HolderTest, UnplacedAfterOpenEndedStartsAtTheEndOfEarlierFiniteObjects)
{
    make("a", 700);
    auto* open = make("open", demo_open_ended);
    auto* c = make("c", 50);
    EXPECT_EQ(m_holder.calc_length(), 750u);
    EXPECT_EQ(open->m_offset, 700u);
    EXPECT_EQ(c->m_offset, 700u);

    demo_object_holder_t other;
    other.add(new recording_object_t("open", m_log, demo_open_ended));
    auto* d = new recording_object_t("d", m_log, 300);
    other.add(d);
    EXPECT_EQ(other.calc_length(), 300u);
    EXPECT_EQ(d->m_offset, 0u) << "no finite object before it";
}

TEST_F(HolderTest, LayoutIsFixedByTheFirstCallThatFindsObjects)
{
    EXPECT_EQ(m_holder.calc_length(), 0u) << "an empty holder stays unlaid";
    auto* a = make("a", 1000);
    ASSERT_EQ(m_holder.calc_length(), 1000u);
    a->m_length = 5000;
    auto* late = make("late", 200);
    EXPECT_EQ(m_holder.calc_length(), 1000u);
    EXPECT_EQ(late->m_offset, demo_unplaced);
}

// --- update ----------------------------------------------------------------------

TEST_F(HolderTest, UpdatePassesLocalTimeToDueObjectsOnly)
{
    make("a", 1000);
    make("b", 500);
    m_holder.calc_length();

    EXPECT_TRUE(m_holder.update(999));
    EXPECT_TRUE(m_holder.update(1000));  // b is due from its offset to offset + length
    EXPECT_TRUE(m_holder.update(1499));
    EXPECT_FALSE(m_holder.update(1500)) << "nothing is due at the end";
    EXPECT_EQ(m_log, (log_t{"a.update 999", "b.update 0", "b.update 499"}));
    EXPECT_EQ(m_holder.m_time, 1500u);
}

TEST_F(HolderTest, UpdateIsTrueWhenAnyDueObjectGoesOn)
{
    make("stops", demo_open_ended, false);
    make("goes", demo_open_ended, true);
    m_holder.calc_length();
    EXPECT_TRUE(m_holder.update(10));
    EXPECT_EQ(m_log, (log_t{"stops.update 10", "goes.update 10"})) << "no loop stops early";

    demo_object_holder_t alone;
    alone.add(new recording_object_t("stops", m_log, 100, false));
    alone.calc_length();
    EXPECT_FALSE(alone.update(10));
}

TEST_F(HolderTest, UnplacedObjectIsNeverDue)
{
    make("a", demo_open_ended);  // no calc_length: still unplaced
    EXPECT_FALSE(m_holder.update(0xFFFFFFFFu));
    EXPECT_FALSE(m_holder.update(0));
    EXPECT_TRUE(m_log.empty());
}

// --- draw, reshape and the current object -------------------------------------------

TEST_F(HolderTest, DrawSwitchesToEachRunningObjectSoKeysReachTheLast)
{
    make("a", 1000);
    auto* b = make("b", 1000);
    m_holder.calc_length();
    m_holder.reshape(640, 480);
    EXPECT_EQ(m_holder.current(), b);
    m_log.clear();

    m_holder.draw();
    m_holder.draw_overlay();
    EXPECT_EQ(m_log, (log_t{"a.reshape 640x480", "a.draw", "b.reshape 640x480", "b.draw",
                            "a.reshape 640x480", "a.draw_overlay", "b.reshape 640x480", "b.draw_overlay"}));
    m_log.clear();

    EXPECT_TRUE(m_holder.key_down('k', 0, 0));
    EXPECT_EQ(m_log, (log_t{"b.key_down 107"})) << "keys reach the current object only";
}

TEST_F(HolderTest, DrawDoesNotReshapeTheCurrentObjectAgain)
{
    make("a", 1000);
    m_holder.calc_length();
    m_holder.reshape(800, 600);
    m_log.clear();
    m_holder.draw();
    EXPECT_EQ(m_log, (log_t{"a.draw"}));
}

TEST_F(HolderTest, FinishedObjectsAreNeitherDrawnNorReshaped)
{
    auto* a = make("a", 100);
    auto* b = make("b", 100);
    m_holder.calc_length();
    m_holder.reshape(320, 200);
    a->m_time = 100;  // at their length: finished
    b->m_time = 100;
    m_log.clear();

    m_holder.draw();
    m_holder.reshape(1024, 768);
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(m_holder.current(), b) << "no running object leaves the current one";
}

TEST_F(HolderTest, WithoutCurrentObjectNoKeyIsConsumedAndNoObjectCalled)
{
    make("a", 100);
    m_holder.calc_length();
    EXPECT_FALSE(m_holder.key_down('a', 1, 2));
    EXPECT_FALSE(m_holder.key_up('a', 1, 2));
    EXPECT_FALSE(m_holder.special_down(100, 1, 2));
    EXPECT_FALSE(m_holder.special_up(100, 1, 2));
    EXPECT_TRUE(m_log.empty());
}

// --- ownership --------------------------------------------------------------------

TEST_F(HolderTest, ClearDeletesEachObjectOnceAndForgetsTheCurrent)
{
    make("a", 100);
    make("b", 100);
    m_holder.calc_length();
    m_holder.reshape(10, 10);
    m_log.clear();

    m_holder.clear();
    EXPECT_EQ(m_log, (log_t{"a.deleted", "b.deleted"}));
    EXPECT_TRUE(m_holder.objects().empty());
    EXPECT_EQ(m_holder.current(), nullptr);
    EXPECT_EQ(m_holder.m_length, 200u) << "clear keeps the time line";
    m_holder.clear();
    EXPECT_EQ(m_log.size(), 2u) << "a second clear deletes nothing more";
}

TEST(HolderOwnershipTest, DestructorDeletesWhatIsStillOwned)
{
    std::vector<std::string> log;
    {
        demo_object_holder_t holder;
        holder.add(new recording_object_t("a", log, 1));
        holder.clear();
        holder.add(new recording_object_t("b", log, 1));  // refilled after clear
    }
    EXPECT_EQ(log, (log_t{"a.deleted", "b.deleted"}));
}

TEST(HolderOwnershipTest, NullAndDuplicateObjectsAreRefused)
{
    std::vector<std::string> log;
    {
        demo_object_holder_t holder;
        auto* a = new recording_object_t("a", log, 1);
        holder.add(a);
        testing::internal::CaptureStderr();
        holder.add(a);
        holder.add(nullptr);
        holder.add(&holder);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(holder.objects().size(), 1u);
        EXPECT_NE(errors.find("null object refused"), std::string::npos) << errors;
        EXPECT_NE(errors.find("already owned"), std::string::npos) << errors;
    }
    EXPECT_EQ(log, (log_t{"a.deleted"})) << "deleted exactly once";
}

}  // namespace
