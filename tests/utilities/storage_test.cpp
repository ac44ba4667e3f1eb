// libutils: counted storage over the heap and over mapped files and anonymous memory, windows into it, the
// release of views and handles, whole-file loading, the fatal error report (in child processes), bounded format.
#include "utilities/alloc_mmap_win.h"
#include "utilities/alloc_new.h"
#include "utilities/bounded_format.h"
#include "utilities/fatal_error.h"
#include "utilities/ofsvector.h"
#include "utilities/refvector.h"
#include "utilities/refvector2.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using bytes_t = std::vector<unsigned char>;
using mapped_t = libutils::refvector2<unsigned char, libutils::alloc_mmap_win>;

// Every close and munmap of the process passes through here, so a test can
// tell how often a descriptor or a view (by its address) was released.
static bool g_recording = false;
static std::multiset<std::intptr_t> g_closed, g_unmapped;

extern "C" int close(int fd) {
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "close"));
    if (g_recording) g_closed.insert(fd);
    return real(fd);
}

extern "C" int munmap(void* address, std::size_t length) noexcept {
    static const auto real = reinterpret_cast<int (*)(void*, std::size_t)>(::dlsym(RTLD_NEXT, "munmap"));
    if (g_recording) g_unmapped.insert(reinterpret_cast<std::intptr_t>(address));
    return real(address, length);
}

static bytes_t pattern(std::size_t n, std::size_t from = 0) {  // repeats only every 251 bytes
    bytes_t bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(((from + i) * 7 + 3) % 251);
    return bytes;
}

static bytes_t all(const mapped_t& v) { return bytes_t(v.data(), v.data() + v.size()); }

// A 1000-byte file of pattern(1000) at m_path, nothing at m_missing.
class FileStorage : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(pattern(1000).data()), 1000);
    }
    void TearDown() override { ::unlink(m_path.c_str()); }
    const std::string m_path = testing::TempDir() + "wg_thousand_" + std::to_string(::getpid()),
                      m_missing = m_path + ".none";
};

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
        EXPECT_TRUE((data ? bytes_t(data, data + n) : bytes_t()) == want && heap.size == want.size()) << name << low;
        heap.deallocate(data);
    }
}

TEST_F(FileStorage, MappedViewsShowTheFileNeverReachPastTheMappingAndAreReleasedOnce) {
    // Size, offset (low, high words), the view's bytes.
    const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bytes_t> cases[] = {
        {0, 0, 0, pattern(1000)},
        {50, 900, 0, pattern(50, 900)},  // not page-aligned
        {0, 900, 0, pattern(100, 900)},  // size 0 from an offset: the rest
        {0, 0, 1, {}},                   // 4 GiB in: past the end, refused
    };
    for (const auto& [size, low, high, want] : cases) {
        mapped_t bytes;  // and no view past the mapping
        EXPECT_TRUE(bytes.allocate(size, m_path.c_str(), 0, low, high) == !want.empty() && all(bytes) == want &&
                    (want.empty() || !bytes.resize(bytes.size() + 1, low, high)))
            << low;
    }

    // The last holder unmaps once and closes the file and the mapping's own descriptor once each.
    mapped_t file, anonymous;
    ASSERT_TRUE(file.allocate(0, m_path.c_str(), 0) && anonymous.resize(4096));
    const std::intptr_t fd = file.allocator()->file;
    const std::multiset<std::intptr_t> views{reinterpret_cast<std::intptr_t>(file.data()),
                                             reinterpret_cast<std::intptr_t>(anonymous.data())};
    g_recording = true;
    {
        const mapped_t copies[] = {file, anonymous};
        file.clear();
        file.clear();
        anonymous.clear();
        EXPECT_TRUE(g_unmapped.empty() && g_closed.empty() && all(copies[0]) == pattern(1000));
    }
    g_recording = false;
    EXPECT_EQ(g_unmapped, views);
    EXPECT_TRUE(g_closed.size() == 2 && g_closed.count(fd) == 1 && g_closed.count(-1) == 0);

    // Mode 2 is refused before opening, failures to open are fatal.
    mapped_t bytes;
    EXPECT_FALSE(bytes.allocate(0, m_missing.c_str(), 2));  // opening it would end the process
    ASSERT_TRUE(bytes.resize(16));
    EXPECT_FALSE(bytes.allocate(0, m_missing.c_str(), 2, 0, 0, true));  // keep: stays as it was
    EXPECT_EQ(bytes.size(), 16u);
    EXPECT_EXIT(bytes.allocate(0, m_missing.c_str(), 0), ::testing::ExitedWithCode(ENOENT),
                "^" + m_missing + ": file open failed.\n" +
                    "alloc_mmap_win::allocate\\(\\) failed with error 2: No such file or directory\n$");
    // A code whose low byte is 0 would read as success: it still exits as a failure.
    EXPECT_EXIT(libutils::fatal_error_report("open", 256), ::testing::ExitedWithCode(1),
                "^open failed with error 256: ");
}

TEST(RefVector2, CopiesShareOneCountedBlockAndAllocateWithKeepCopiesIt) {
    mapped_t first;
    ASSERT_TRUE(first.allocate(8));
    std::memcpy(first.data(), "abcdefgh", 8);
    mapped_t second(first);
    first = *&first;  // nothing changes
    EXPECT_EQ(first.use_count(), 2u);
    ASSERT_TRUE(first.allocate(100, nullptr, 1, 0, 0, true));
    EXPECT_TRUE(std::memcmp(first.data(), "abcdefgh", 8) == 0 && second.use_count() == 1);
    EXPECT_TRUE(!first.resize(101) && first.size() == 100);  // anonymous storage can not outgrow its mapping
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
        EXPECT_TRUE(window.empty() == (size == 0) && (size == 0 || base.begin() == window.mapped_t::data() + offset));
    }
}

TEST(RefVector, ResizeKeepsTheLeadingElementsAndZeroesTheRest) {
    libutils::refvector<unsigned short, libutils::alloc_new> v;
    ASSERT_TRUE(v.resize(8));
    for (unsigned short i = 0; i < 8; ++i) *v.at(i) = 1000 + i;
    v = *&v;  // nothing changes; then the freed block of 8 comes back, old bytes and all
    ASSERT_TRUE(v.use_count() == 1 && v.resize(3) && v.resize(8));
    EXPECT_EQ(std::vector<unsigned short>(v.begin(), v.end()),
              (std::vector<unsigned short>{1000, 1001, 1002, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(!v.resize(0xFFFFFFFFu) && v.size() == 8);  // past the 32-bit size word: kept
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
