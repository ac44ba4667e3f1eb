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
    root.show();
    root.show_overlay();
    EXPECT_TRUE(log.empty());
}

TEST(RootTest, EmptyRootStartsWithLengthZeroAndNeverPlays)
{
    demo_root_t root;
    EXPECT_EQ(root.start(), 0u);
    EXPECT_FALSE(root.play(0));
    EXPECT_FALSE(root.play(0xFFFFFFFFu));
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
    root.show();
    EXPECT_EQ(log, (log_t{"scene.update 0", "scene.update 4294967294", "scene.reshape 0x0", "scene.draw"}));
}

TEST(RootTest, KeysReachTheCurrentObjectWithTheirResults)
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
    EXPECT_EQ(log, (log_t{"a.key_down 113", "a.key_up 113", "a.special_down 9", "a.special_up 9"}));
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
    }
    EXPECT_EQ(log.size(), 1u) << "the destructor finds the holder empty";
}

}  // namespace
