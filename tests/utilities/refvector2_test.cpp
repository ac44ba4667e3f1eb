// refvector2 and ofsvector over alloc_mmap_win: shared counted storage and
// windows into it.

#include "utilities/alloc_mmap_win.h"
#include "utilities/ofsvector.h"
#include "utilities/refvector2.h"

#include <gtest/gtest.h>

#include <cstring>

using bytes_t = libutils::refvector2<unsigned char, libutils::alloc_mmap_win>;
using window_t = libutils::ofsvector<unsigned char, libutils::alloc_mmap_win>;

TEST(RefVector2, CopiesAndAssignmentShareOneCountedBlock) {
    bytes_t first;
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(first.data(), nullptr);
    ASSERT_TRUE(first.resize(64));
    bytes_t second(first);
    bytes_t third;
    third = second;
    EXPECT_EQ(first.use_count(), 3u);
    third.data()[0] = 'S';
    EXPECT_EQ(first.data()[0], 'S');

    bytes_t& same = first;
    first = same;
    first = third;
    EXPECT_EQ(first.use_count(), 3u);

    bytes_t other;
    ASSERT_TRUE(other.resize(16));
    third = other;  // lets go of the first block
    EXPECT_EQ(first.use_count(), 2u);
    EXPECT_EQ(other.use_count(), 2u);
}

TEST(RefVector2, AnonymousStorageCanNotOutgrowItsMapping) {
    bytes_t bytes;
    EXPECT_FALSE(bytes.resize(0));  // no storage of no size
    ASSERT_TRUE(bytes.resize(4096));
    EXPECT_EQ(bytes.allocator()->access, libutils::map_write);
    EXPECT_EQ(bytes.allocator()->file, libutils::invalid_os_handle);
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
    EXPECT_FALSE(bytes.allocate(8, nullptr, 5));
    EXPECT_TRUE(bytes.empty());
}

namespace {

// Storage of n bytes valued 0, 1, 2, ... seen from offset 100 up to limit.
void fill_window(window_t& window, std::uint32_t n, std::uint32_t limit) {
    ASSERT_TRUE(window.resize(n));
    for (std::uint32_t i = 0; i < n; ++i) window.data()[i] = static_cast<unsigned char>(i);
    window.set_window(100, limit);
}

}  // namespace

TEST(OfsVector, WindowSizeIsTheRestClampedToTheLimit) {
    window_t window;
    fill_window(window, 120, 50);
    EXPECT_EQ(window.size(), 20u);
    window_t big;
    fill_window(big, 400, 50);
    EXPECT_EQ(big.size(), 50u);
    EXPECT_EQ(*big.at(49), 149);
    const bytes_t& base = big;  // begin and size go through the virtual table
    EXPECT_EQ(*base.begin(), 100);
    EXPECT_EQ(base.end() - base.begin(), 50);

    big.set_window(100, window_t::no_limit);
    EXPECT_EQ(big.size(), 300u);
    big.set_window(100, 0);
    EXPECT_TRUE(big.empty());
    big.set_window(500);  // past the end: empty, not a wrapped size
    EXPECT_EQ(big.size(), 0u);
    EXPECT_EQ(big.begin(), big.end());
}

TEST(OfsVector, CopiesTakeTheWindowResizeLiftsTheLimitAllocateResetsIt) {
    window_t window;
    fill_window(window, 400, 50);
    window_t copy;
    copy = window;
    EXPECT_EQ(copy.size(), 50u);
    EXPECT_EQ(copy.data(), window.data());

    ASSERT_TRUE(window.resize(300));
    EXPECT_EQ(window.offset(), 100u);
    EXPECT_EQ(window.size(), 200u);
    ASSERT_TRUE(window.allocate(64));
    EXPECT_EQ(window.offset(), 0u);
    EXPECT_EQ(window.size(), 64u);
    window.set_window(10, 5);
    window.clear();
    EXPECT_EQ(window.offset(), 0u);
    EXPECT_EQ(window.limit(), window_t::no_limit);
}
