// Shared, counted storage in memory: refvector2 and its ofsvector windows
// over anonymous mappings, refvector of unsigned short over the heap.

#include "utilities/refvector.h"
#include "utilities/alloc_mmap_win.h"
#include "utilities/alloc_new.h"
#include "utilities/ofsvector.h"
#include "utilities/refvector2.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using bytes_t = libutils::refvector2<unsigned char, libutils::alloc_mmap_win>;
using window_t = libutils::ofsvector<unsigned char, libutils::alloc_mmap_win>;
using shorts_t = libutils::refvector<unsigned short, libutils::alloc_new>;

TEST(RefVector2, CopiesAndAssignmentShareOneCountedBlock) {
    bytes_t first;
    EXPECT_TRUE(first.empty() && first.data() == nullptr);
    ASSERT_TRUE(first.resize(64));
    bytes_t second(first);
    bytes_t third;
    third = second;
    EXPECT_EQ(third.data(), first.data());
    bytes_t& same = first;
    first = same;   // itself
    first = third;  // a copy of itself
    EXPECT_EQ(first.use_count(), 3u);
    bytes_t other;
    ASSERT_TRUE(other.resize(16));
    third = other;  // lets go of the first block
    EXPECT_EQ(first.use_count(), 2u);
    EXPECT_EQ(other.use_count(), 2u);
}

TEST(RefVector2, AnonymousStorageCanNotOutgrowItsMapping) {
    bytes_t bytes;
    ASSERT_TRUE(bytes.resize(4096));
    std::memcpy(bytes.data(), "0123456789", 10);
    bytes.data()[4095] = 1;
    EXPECT_FALSE(bytes.resize(4097));  // refused: as it was
    EXPECT_EQ(bytes.size(), 4096u);
    EXPECT_EQ(std::memcmp(bytes.data(), "0123456789", 10), 0);

    bytes_t copy(bytes);
    ASSERT_TRUE(bytes.resize(6));
    EXPECT_EQ(copy.size(), 6u);  // shared storage, shared size
    ASSERT_TRUE(bytes.resize(4096));
    EXPECT_EQ(std::memcmp(copy.data(), "012345", 6), 0);
}

TEST(RefVector2, AllocateWithKeepCopiesWithoutKeepStartsOver) {
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(8));
    std::memcpy(bytes.data(), "abcdefgh", 8);
    bytes_t old(bytes);
    ASSERT_TRUE(bytes.allocate(100, nullptr, 1, 0, 0, true));
    EXPECT_EQ(std::memcmp(bytes.data(), "abcdefgh", 8), 0);
    EXPECT_EQ(old.use_count(), 1u);
    EXPECT_FALSE(bytes.allocate(8, nullptr, 2));  // mode 2 is refused, and without keep
    EXPECT_TRUE(bytes.empty());                   // nothing is left
}

TEST(OfsVector, WindowIsTheRestFromTheOffsetClampedToTheLimit) {
    window_t window;
    ASSERT_TRUE(window.resize(400));
    for (unsigned i = 0; i < 400; ++i) window.data()[i] = static_cast<unsigned char>(i);
    const struct {
        std::uint32_t bytes, offset, limit, size;
    } cases[] = {
        {120, 100, 50, 20},
        {400, 100, 50, 50},
        {400, 100, window_t::no_limit, 300},
        {400, 100, 0, 0},
        {400, 500, window_t::no_limit, 0},  // past the end: empty, not a wrapped size
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytes << " bytes from " << c.offset << " limit " << c.limit);
        ASSERT_TRUE(window.resize(c.bytes));
        window.set_window(c.offset, c.limit);
        EXPECT_EQ(window.size(), c.size);
        EXPECT_EQ(window.empty(), c.size == 0);
        const bytes_t& base = window;  // begin and end go through the virtual table
        EXPECT_EQ(base.end() - base.begin(), static_cast<std::ptrdiff_t>(c.size));
        EXPECT_TRUE(c.size == 0 || *base.begin() == 100);
    }

    // A copy takes the window; resize lifts the limit and keeps the offset;
    // allocate and clear reset both.
    window.set_window(100, 50);
    window_t copy;
    copy = window;
    EXPECT_TRUE(copy.size() == 50 && copy.data() == window.data());
    ASSERT_TRUE(window.resize(300));
    EXPECT_TRUE(window.offset() == 100 && window.size() == 200);
    ASSERT_TRUE(window.allocate(64));
    EXPECT_TRUE(window.offset() == 0 && window.size() == 64);
    window.set_window(10, 5);
    window.clear();
    EXPECT_TRUE(window.offset() == 0 && window.limit() == window_t::no_limit);
}

TEST(RefVector, ResizeKeepsLeadingElementsZeroesNewOnesAndRefusesOverflow) {
    const auto values = [](const shorts_t& v) { return std::vector<unsigned short>(v.begin(), v.end()); };
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
    EXPECT_TRUE(v.empty() && v.data() == nullptr);
}

TEST(RefVector, CopiesShareAndAResizeDetachesItsHolder) {
    shorts_t a;
    ASSERT_TRUE(a.resize(4));
    *a.at(3) = 4;
    shorts_t b(a), c;
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
