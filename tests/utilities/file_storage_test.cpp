// Storage filled from files: alloc_new's loading, alloc_mmap_win's mapped files
// and anonymous memory through refvector2; the bounded format of the fatal
// error report. What the release and the report do on each platform is in
// posix_ and win32_file_storage_test.cpp.
#include "file_storage_fixture.h"

#include "utilities/alloc_new.h"
#include "utilities/bounded_format.h"

#include <tuple>

TEST_F(FileStorage, AllocNewLoadsTheWholeFileOrAPartAndZeroesWhatTheFileLacks) {
    bytes_t tail = pattern(100, 900);
    tail.resize(200, 0);
    // Blocks of one size follow each other, so stale heap bytes would show.
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
        EXPECT_TRUE((data ? bytes_t(data, data + n) : bytes_t()) == want && heap.size == want.size())
            << size << " at " << low;
        heap.deallocate(data);
    }
}

TEST_F(FileStorage, MappedViewsShowTheFileAndNeverReachPastTheMapping) {
    const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bytes_t> cases[] = {
        {0, 0, 0, pattern(1000)},
        {50, 900, 0, pattern(50, 900)},  // not page-aligned
        {0, 900, 0, pattern(100, 900)},  // size 0 from an offset: the rest
        {0, 0, 1, {}},                   // 4 GiB in: past the end, refused
    };
    for (const auto& [size, low, high, want] : cases) {
        mapped_t bytes;
        EXPECT_EQ(bytes.allocate(size, m_path.c_str(), 0, low, high), !want.empty()) << low;
        EXPECT_EQ(all(bytes), want) << low;
        EXPECT_TRUE(want.empty() || !bytes.resize(bytes.size() + 1, low, high));  // no view past the mapping
    }
    mapped_t memory;
    EXPECT_TRUE(memory.resize(4096) && !memory.resize(4097));
    ASSERT_TRUE(memory.allocate(0, m_path.c_str(), 0));  // read-only
    EXPECT_DEATH(*static_cast<volatile unsigned char*>(memory.data()) = 0, "");
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
