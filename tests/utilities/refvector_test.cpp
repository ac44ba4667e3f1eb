// refvector<unsigned short, alloc_new>: header and elements in one heap
// block, shared by copies.

#include "utilities/alloc_new.h"
#include "utilities/refvector.h"

#include <gtest/gtest.h>

#include <vector>

using shorts_t = libutils::refvector<unsigned short, libutils::alloc_new>;

namespace {

std::vector<unsigned short> values(const shorts_t& v) { return {v.begin(), v.end()}; }

}  // namespace

TEST(RefVector, ResizeKeepsLeadingElementsAndZeroesNewOnes) {
    shorts_t v;
    ASSERT_TRUE(v.resize(3));
    EXPECT_EQ(values(v), (std::vector<unsigned short>{0, 0, 0}));
    *v.at(0) = 1000;
    *v.at(2) = 1002;
    ASSERT_TRUE(v.resize(5));
    EXPECT_EQ(values(v), (std::vector<unsigned short>{1000, 0, 1002, 0, 0}));
    ASSERT_TRUE(v.resize(2));
    EXPECT_EQ(values(v), (std::vector<unsigned short>{1000, 0}));
    EXPECT_FALSE(v.resize(0xFFFFFFFFu));  // past the 32-bit size word: kept
    EXPECT_EQ(v.size(), 2u);

    EXPECT_TRUE(v.resize(0));
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(v.data(), nullptr);
}

TEST(RefVector, CopiesShareAndAResizeDetachesItsHolder) {
    shorts_t a;
    ASSERT_TRUE(a.resize(4));
    *a.at(3) = 4;
    shorts_t b(a);
    shorts_t c;
    c.assign(a);
    shorts_t& same = a;
    a = same;
    a.assign(c);
    EXPECT_EQ(a.use_count(), 3u);

    ASSERT_TRUE(b.resize(8));
    EXPECT_EQ(a.use_count(), 2u);
    EXPECT_EQ(*b.at(3), 4);
    *b.at(0) = 99;
    EXPECT_EQ(*a.at(0), 0);

    a.clear();
    EXPECT_EQ(c.use_count(), 1u);  // the last holder keeps the data alive
    EXPECT_EQ(*c.at(3), 4);
}
