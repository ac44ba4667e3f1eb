// libutils: counted storage over the heap and over mapped files and anonymous memory, windows into it,
// whole-file loading, bounded format. The release of views and handles and the fatal error report are each
// platform's own (posix_ and win32_storage_test.cpp).
#include "storage_fixture.h"

#include "utilities/alloc_new.h"
#include "utilities/bounded_format.h"
#include "utilities/ofsvector.h"
#include "utilities/refvector.h"

#include <cstring>
#include <tuple>

TEST_F(FileStorage, AllocNewLoadsTheWholeFileOrAPartAndZeroesWhatTheFileLacks) {
    bytes_t tail = pattern(100, 900);
    tail.resize(200, 0);
    // Name, size, offset (low, high words), what is loaded; blocks of one size reuse the heap, so stale bytes show.
    const std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t, bytes_t> cases[] = {
        {m_path, 0, 0, 0, pattern(1000)},  // size 0: the whole file, its size written back
        {m_path, 200, 700, 0, pattern(200, 700)},
        {m_path, 200, 900, 0, tail},
        {m_missing, 200, 0, 0, bytes_t(200, 0)},
        {m_path, 200, 10, 1, bytes_t(200, 0)},  // 4 GiB + 10 is past the end, not offset 10
        {m_missing, 0, 0, 0, {}},               // the whole of a missing file: nothing
    };
    for (const auto& [name, size, low, high, want] : cases) {
        libutils::alloc_new heap;
        std::uint32_t n = size;
        auto* data = static_cast<unsigned char*>(heap.allocate(n, name.c_str(), 0, low, high));
        EXPECT_EQ(data ? bytes_t(data, data + n) : bytes_t(), want) << name << low;
        EXPECT_EQ(heap.size, want.size()) << name << low;
        heap.deallocate(data);
    }
}

TEST_F(FileStorage, MappedViewsShowTheFileAndNeverReachPastTheMapping) {
    // Size, offset (low, high words), the view's bytes.
    const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bytes_t> cases[] = {
        {0, 0, 0, pattern(1000)},
        {50, 900, 0, pattern(50, 900)},  // not page-aligned
        {0, 900, 0, pattern(100, 900)},  // size 0 from an offset: the rest
        {0, 0, 1, {}},                   // 4 GiB in: past the end, refused
    };
    for (const auto& [size, low, high, want] : cases) {
        mapped_t bytes;  // and no view past the mapping
        EXPECT_EQ(bytes.allocate(size, m_path.c_str(), 0, low, high), !want.empty()) << low;
        EXPECT_EQ(all(bytes), want) << low;
        EXPECT_FALSE(!want.empty() && bytes.resize(bytes.size() + 1, low, high)) << low;
    }
}

TEST(RefVector2, CopiesShareOneCountedBlockAndAllocateWithKeepCopiesIt) {
    mapped_t first;
    ASSERT_TRUE(first.allocate(8));
    std::memcpy(first.data(), "abcdefgh", 8);
    mapped_t second(first);
    first = *&first;  // nothing changes
    EXPECT_EQ(first.use_count(), 2u);
    ASSERT_TRUE(first.allocate(100, nullptr, 1, 0, 0, true));
    EXPECT_EQ(std::memcmp(first.data(), "abcdefgh", 8), 0);
    EXPECT_EQ(second.use_count(), 1u);
    EXPECT_FALSE(first.resize(101));  // anonymous storage can not outgrow its mapping
    EXPECT_EQ(first.size(), 100u);
}

TEST(OfsVector, WindowIsTheRestFromTheOffsetClampedToTheLimit) {
    // Bytes in the storage, offset, limit (~0u: none), bytes in the window; past the end it is empty, not wrapped.
    const std::uint32_t cases[][4] = {
        {120, 100, 50, 20}, {400, 100, 50, 50}, {400, 100, ~0u, 300}, {400, 100, 0, 0}, {400, 500, ~0u, 0}};
    libutils::ofsvector<unsigned char, libutils::alloc_mmap_win> window;
    for (const auto& [bytes, offset, limit, size] : cases) {
        ASSERT_TRUE(window.allocate(bytes));
        window.set_window(offset, limit);
        const mapped_t& base = window;  // begin and end go through the virtual table
        EXPECT_EQ(base.end() - base.begin(), static_cast<std::ptrdiff_t>(size)) << bytes << " " << limit;
        EXPECT_EQ(window.empty(), size == 0);
        EXPECT_EQ(base.begin(), size == 0 ? base.begin() : window.mapped_t::data() + offset);
    }
}

TEST(RefVector, ResizeKeepsTheLeadingElementsAndZeroesTheRest) {
    libutils::refvector<unsigned short, libutils::alloc_new> v;
    ASSERT_TRUE(v.resize(8));
    for (unsigned short i = 0; i < 8; ++i) *v.at(i) = 1000 + i;
    v = *&v;  // nothing changes; then the freed block of 8 comes back, old bytes and all
    ASSERT_EQ(v.use_count(), 1u);
    ASSERT_TRUE(v.resize(3));
    ASSERT_TRUE(v.resize(8));
    EXPECT_EQ(std::vector<unsigned short>(v.begin(), v.end()),
              (std::vector<unsigned short>{1000, 1001, 1002, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(v.resize(0xFFFFFFFFu));  // past the 32-bit size word: kept
    EXPECT_EQ(v.size(), 8u);
}

TEST(BoundedFormat, CutsToFitAndAlwaysTerminates) {
    // Buffer size, text, length written, the 4-byte buffer afterwards.
    const std::tuple<std::size_t, const char*, std::size_t, const char*> cases[] = {
        {4, "abcdef", 3, "abc"}, {4, "xyz", 3, "xyz"}, {1, "xyz", 0, "\0---"}, {0, "xyz", 0, "----"}};
    for (const auto& [size, text, written, left] : cases) {
        char buffer[4] = {'-', '-', '-', '-'};
        EXPECT_EQ(libutils::bounded_format(buffer, size, "%s", text), written) << size;
        EXPECT_EQ(std::string(buffer, 4), std::string(left, 4)) << size;
    }
}
