// Storage filled from files: alloc_new's loading, alloc_mmap_win's mapped files
// and anonymous memory through refvector2, the release of views and handles;
// the fatal error report (in child processes) and the bounded format.
#include "utilities/alloc_mmap_win.h"
#include "utilities/alloc_new.h"
#include "utilities/bounded_format.h"
#include "utilities/fatal_error.h"
#include "utilities/refvector2.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
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

// The descriptors of the process open on path.
static std::multiset<std::intptr_t> fds_open_on(const std::string& path) {
    std::multiset<std::intptr_t> fds;
    std::error_code ignored;  // a descriptor may close while we look
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd"))
        if (std::filesystem::read_symlink(fd.path(), ignored) == path) fds.insert(std::stoi(fd.path().filename()));
    return fds;
}

// n bytes that differ from their neighbours and repeat only every 251.
static bytes_t pattern(std::size_t n, std::size_t from = 0) {
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
    void TearDown() override { std::filesystem::remove(m_path); }
    const std::string m_path = testing::TempDir() + "wg_thousand_" + std::to_string(::getpid()),
                      m_missing = m_path + ".none";
};

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

TEST_F(FileStorage, TheLastHolderUnmapsOnceAndClosesEachHandleOnce) {
    mapped_t file, anonymous;
    ASSERT_TRUE(file.allocate(0, m_path.c_str(), 0) && anonymous.resize(4096));
    const std::multiset<std::intptr_t> fds = fds_open_on(m_path),  // the file and the mapping's own
        views{reinterpret_cast<std::intptr_t>(file.data()), reinterpret_cast<std::intptr_t>(anonymous.data())};
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
    EXPECT_TRUE(fds.size() == 2 && g_closed == fds);  // none for anonymous memory
}

TEST_F(FileStorage, ModeTwoIsRefusedBeforeOpeningAndFailuresAreFatal) {
    mapped_t bytes;
    EXPECT_FALSE(bytes.allocate(0, m_missing.c_str(), 2));  // opening it would end the process
    ASSERT_TRUE(bytes.resize(16));
    EXPECT_FALSE(bytes.allocate(0, m_path.c_str(), 2, 0, 0, true));  // keep: stays as it was
    EXPECT_TRUE(bytes.size() == 16 && fds_open_on(m_path).empty());
    EXPECT_EXIT(bytes.allocate(0, m_missing.c_str(), 0), ::testing::ExitedWithCode(ENOENT),
                "^" + m_missing + ": file open failed.\n" +
                    "alloc_mmap_win::allocate\\(\\) failed with error 2: No such file or directory\n$");
    // A code whose low byte is 0 would read as success: it still exits as a failure.
    EXPECT_EXIT(libutils::fatal_error_report("open", 256), ::testing::ExitedWithCode(1),
                "^open failed with error 256: ");
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
