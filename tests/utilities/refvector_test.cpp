// refvector<unsigned short, alloc_new>: one heap block of header and
// elements, shared by copies.

#include "utilities/alloc_new.h"
#include "utilities/refvector.h"

#include <gtest/gtest.h>

#include <memory>

using shorts_t = libutils::refvector<unsigned short, libutils::alloc_new>;

namespace {

void fill_counting(shorts_t& v, unsigned short from)
{
    for (std::uint32_t i = 0; i < v.size(); ++i) *v.at(i) = static_cast<unsigned short>(from + i);
}

}  // namespace

TEST(RefVectorResize, SizeCountsElements)
{
    shorts_t v;
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(v.data(), nullptr);
    ASSERT_TRUE(v.resize(10));
    EXPECT_EQ(v.size(), 10u);
    EXPECT_FALSE(v.empty());
    EXPECT_EQ(v.end() - v.begin(), 10);
    EXPECT_EQ(v.use_count(), 1u);
    for (std::uint32_t i = 0; i < 10; ++i) EXPECT_EQ(*v.at(i), 0) << i;  // new elements are zero
}

TEST(RefVectorResize, GrowKeepsLeadingElements)
{
    shorts_t v;
    ASSERT_TRUE(v.resize(5));
    fill_counting(v, 1000);
    ASSERT_TRUE(v.resize(500));
    ASSERT_EQ(v.size(), 500u);
    for (std::uint32_t i = 0; i < 5; ++i) EXPECT_EQ(*v.at(i), 1000 + i);
    for (std::uint32_t i = 5; i < 500; ++i) ASSERT_EQ(*v.at(i), 0) << i;
}

TEST(RefVectorResize, ShrinkKeepsLeadingElements)
{
    shorts_t v;
    ASSERT_TRUE(v.resize(300));
    fill_counting(v, 7);
    ASSERT_TRUE(v.resize(3));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(*v.at(0), 7);
    EXPECT_EQ(*v.at(2), 9);
}

TEST(RefVectorResize, ZeroEmptiesAndSucceeds)
{
    shorts_t v;
    ASSERT_TRUE(v.resize(4));
    EXPECT_TRUE(v.resize(0));
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(v.size(), 0u);
    EXPECT_EQ(v.data(), nullptr);
    EXPECT_TRUE(v.resize(0));
}

TEST(RefVectorResize, CountTooLargeForTheSizeWordIsRefused)
{
    shorts_t v;
    ASSERT_TRUE(v.resize(2));
    *v.at(1) = 42;
    EXPECT_FALSE(v.resize(0xFFFFFFFFu));
    EXPECT_EQ(v.size(), 2u);
    EXPECT_EQ(*v.at(1), 42);
}

TEST(RefVectorSharing, CopiesShareAndResizeDetaches)
{
    shorts_t a;
    ASSERT_TRUE(a.resize(4));
    fill_counting(a, 1);
    shorts_t b(a);
    shorts_t c;
    c.assign(a);
    EXPECT_EQ(a.use_count(), 3u);
    EXPECT_EQ(c.data(), a.data());

    // A resize makes new storage for its holder only.
    ASSERT_TRUE(b.resize(8));
    EXPECT_EQ(a.use_count(), 2u);
    EXPECT_EQ(b.use_count(), 1u);
    EXPECT_EQ(*b.at(3), 4);
    *b.at(0) = 99;
    EXPECT_EQ(*a.at(0), 1);
    EXPECT_EQ(a.size(), 4u);
}

TEST(RefVectorSharing, SelfAndCopyAssignmentKeepTheCount)
{
    shorts_t a;
    ASSERT_TRUE(a.resize(4));
    shorts_t copy(a);
    shorts_t& same = a;
    a = same;
    EXPECT_EQ(a.use_count(), 2u);
    a.assign(copy);
    EXPECT_EQ(a.use_count(), 2u);
    EXPECT_EQ(a.size(), 4u);
}

TEST(RefVectorSharing, LastHolderKeepsTheDataAlive)
{
    auto first = std::make_unique<shorts_t>();
    ASSERT_TRUE(first->resize(3));
    fill_counting(*first, 10);
    shorts_t second(*first);
    first.reset();
    EXPECT_EQ(second.use_count(), 1u);
    EXPECT_EQ(*second.at(2), 12);
    second.clear();
    EXPECT_TRUE(second.empty());
}
