#include "framework/demo_root.h"

#include "demo_recorder.h"

#include <gtest/gtest.h>

using wg_test::recording_object_t;

namespace {

using log_t = std::vector<std::string>;

TEST(RootTest, BeforeStartNothingPlaysOrShows)
{
    log_t log;
    demo_root_t root;
    root.add(new recording_object_t("a", log, demo_open_ended));
    EXPECT_FALSE(root.play(0));
    EXPECT_FALSE(root.play(100));
    root.show();
    root.show_overlay();
    EXPECT_TRUE(log.empty());
}

TEST(RootTest, EmptyRootStartsWithLengthZeroAndNeverPlays)
{
    demo_root_t root;
    EXPECT_EQ(root.start(), 0u);
    EXPECT_EQ(root.holder().m_offset, 0u);
    EXPECT_FALSE(root.play(0));
    EXPECT_FALSE(root.play(1));
    EXPECT_FALSE(root.play(0xFFFFFFFFu));
    root.show();  // must not reach any object: there is none, and no crash
}

TEST(RootTest, OpenEndedObjectPlaysUpToTheLastMillisecond)
{
    log_t log;
    demo_root_t root;
    root.add(new recording_object_t("scene", log, demo_open_ended));
    EXPECT_EQ(root.start(), demo_open_ended);

    EXPECT_TRUE(root.play(0));
    EXPECT_TRUE(root.play(4294967294u));
    EXPECT_FALSE(root.play(4294967295u));
    EXPECT_EQ(log, (log_t{"scene.update 0", "scene.update 4294967294"}));
}

TEST(RootTest, FiniteLayoutEndsTheDemoAtItsLength)
{
    log_t log;
    demo_root_t root;
    root.add(new recording_object_t("a", log, 1000));
    root.add(new recording_object_t("b", log, 500));
    EXPECT_EQ(root.start(), 1500u);
    EXPECT_TRUE(root.play(1200));
    EXPECT_FALSE(root.play(1500));
    EXPECT_EQ(log, (log_t{"b.update 200"}));
}

TEST(RootTest, ShowDrawsOnlyWhileTheHolderRuns)
{
    log_t log;
    demo_root_t root;
    root.add(new recording_object_t("a", log, 1000));
    root.start();
    root.resize(640, 480);
    log.clear();

    root.play(999);
    root.show();
    root.show_overlay();
    EXPECT_EQ(log, (log_t{"a.update 999", "a.draw", "a.draw_overlay"}));
    log.clear();

    root.play(1000);  // outside the window: the holder keeps its last time
    root.show();
    EXPECT_EQ(log, (log_t{"a.draw"}));
}

TEST(RootTest, KeysAreForwardedWithTheirResults)
{
    log_t log;
    demo_root_t root;
    auto* a = new recording_object_t("a", log, demo_open_ended);
    root.add(a);
    root.start();
    EXPECT_FALSE(root.key_down('q', 0, 0)) << "no current object before the first reshape";
    root.resize(100, 100);
    log.clear();

    EXPECT_TRUE(root.key_down('q', 3, 4));
    EXPECT_TRUE(root.key_up('q', 3, 4));
    a->m_consume_keys = false;
    EXPECT_FALSE(root.special_down(9, 0, 0));
    EXPECT_FALSE(root.special_up(9, 0, 0));
    EXPECT_EQ(log, (log_t{"a.key_down q", "a.key_up q", "a.special_down 9", "a.special_up 9"}));
}

TEST(RootTest, ClearDeletesTheObjectsOnce)
{
    log_t log;
    {
        demo_root_t root;
        root.add(new recording_object_t("a", log, demo_open_ended));
        root.start();
        root.clear();
        EXPECT_EQ(log, (log_t{"a.deleted"}));
        EXPECT_TRUE(root.holder().objects().empty());
    }
    EXPECT_EQ(log.size(), 1u) << "the destructor finds the holder empty";
}

}  // namespace
