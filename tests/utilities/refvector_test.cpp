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

TEST(RefVector2, CopiesShareOneCountedBlockAndAllocateWithKeepCopiesIt) {
    bytes_t first, other;
    ASSERT_TRUE(first.allocate(8) && other.resize(16));
    std::memcpy(first.data(), "abcdefgh", 8);
    bytes_t second(first), third;
    third = second;
    first = *&first;  // itself
    EXPECT_EQ(first.use_count(), 3u);
    first = third;  // a copy of itself
    third = other;  // lets go of the first block
    EXPECT_TRUE(first.use_count() == 2 && other.use_count() == 2);

    ASSERT_TRUE(first.allocate(100, nullptr, 1, 0, 0, true));
    EXPECT_TRUE(std::memcmp(first.data(), "abcdefgh", 8) == 0 && second.use_count() == 1);
    EXPECT_TRUE(!first.resize(101) && first.size() == 100);  // anonymous storage can not outgrow its mapping
}

TEST(OfsVector, WindowIsTheRestFromTheOffsetClampedToTheLimit) {
    // Bytes in the storage, offset, limit, bytes in the window.
    const std::uint32_t none = window_t::no_limit;
    const std::uint32_t cases[][4] = {{120, 100, 50, 20},
                                      {400, 100, 50, 50},
                                      {400, 100, none, 300},
                                      {400, 100, 0, 0},
                                      {400, 500, none, 0}};  // the last past the end: empty, not a wrapped size
    window_t window;
    for (const auto& [bytes, offset, limit, size] : cases) {
        ASSERT_TRUE(window.allocate(bytes));
        for (unsigned i = 0; i < bytes; ++i) window.data()[i] = static_cast<unsigned char>(i);
        window.set_window(offset, limit);
        const bytes_t& base = window;  // begin and end go through the virtual table
        EXPECT_EQ(base.end() - base.begin(), static_cast<std::ptrdiff_t>(size)) << bytes << " " << limit;
        EXPECT_TRUE(window.empty() == (size == 0) && (size == 0 || *base.begin() == 100));
    }
}

TEST(RefVector, ResizeKeepsTheLeadingElementsZeroesTheRestAndDetachesItsHolder) {
    const auto values = [](const shorts_t& v) { return std::vector<unsigned short>(v.begin(), v.end()); };
    shorts_t v, copy;
    ASSERT_TRUE(v.resize(8));
    for (unsigned short i = 0; i < 8; ++i) *v.at(i) = 1000 + i;
    copy.assign(v);
    v = *&v;
    EXPECT_EQ(v.use_count(), 2u);
    ASSERT_TRUE(copy.resize(8));
    EXPECT_TRUE(v.use_count() == 1 && copy.use_count() == 1 && values(copy) == values(v));
    ASSERT_TRUE(v.resize(3) && v.resize(8));  // the freed block of 8 comes back with its old bytes
    EXPECT_EQ(values(v), (std::vector<unsigned short>{1000, 1001, 1002, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(!v.resize(0xFFFFFFFFu) && v.size() == 8);  // past the 32-bit size word: kept
}
