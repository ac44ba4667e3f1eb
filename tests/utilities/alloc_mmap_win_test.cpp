// alloc_mmap_win through refvector2: mapped files and anonymous memory, the
// release of views and descriptors, and the fatal paths.

#include "utilities/alloc_mmap_win.h"
#include "utilities/refvector2.h"

#include "temp_files.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <set>

using bytes_t = libutils::refvector2<unsigned char, libutils::alloc_mmap_win>;
using wg_test::bytes_at;
using wg_test::pattern_bytes;

// Every close and munmap of the process passes through here, so a test can
// tell how often a descriptor or a view was released.
namespace {
bool g_recording = false;
std::vector<int> g_closed;
std::vector<std::pair<const unsigned char*, std::size_t>> g_unmapped;
}  // namespace

extern "C" int close(int fd) {
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "close"));
    if (g_recording) g_closed.push_back(fd);
    return real(fd);
}

extern "C" int munmap(void* address, std::size_t length) noexcept {
    static const auto real = reinterpret_cast<int (*)(void*, std::size_t)>(::dlsym(RTLD_NEXT, "munmap"));
    if (g_recording) g_unmapped.emplace_back(static_cast<const unsigned char*>(address), length);
    return real(address, length);
}

namespace {

void start_recording() {
    g_closed.clear();
    g_unmapped.clear();
    g_closed.reserve(64);
    g_unmapped.reserve(64);
    g_recording = true;
}

std::size_t unmaps_of(const unsigned char* view) {
    return static_cast<std::size_t>(std::count_if(g_unmapped.begin(), g_unmapped.end(), [view](const auto& r) {
        return r.first <= view && view < r.first + r.second;
    }));
}

// The descriptors of the process open on path.
std::set<int> fds_open_on(const std::string& path) {
    std::set<int> fds;
    char link[4096];
    for (int fd = 0; fd < 1024; ++fd) {
        const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), link, sizeof link);
        if (n > 0 && path.compare(0, std::string::npos, link, static_cast<std::size_t>(n)) == 0) fds.insert(fd);
    }
    return fds;
}

class MappedFile : public ::testing::Test {
protected:
    void TearDown() override { g_recording = false; }
    wg_test::temp_files_t m_files;
    std::string m_path = m_files.write("mapped.bin", pattern_bytes(10000));
};

}  // namespace

TEST_F(MappedFile, WholeFileAndViewsAtOffsets) {
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0));
    EXPECT_EQ(bytes.size(), 10000u);
    EXPECT_EQ(bytes_at(bytes.data(), bytes.size()), pattern_bytes(10000));
    // Not page-aligned; the whole file from an offset is its rest.
    ASSERT_TRUE(bytes.allocate(100, m_path.c_str(), 0, 5000, 0));
    EXPECT_EQ(bytes_at(bytes.data(), bytes.size()), pattern_bytes(100, 5000));
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0, 9000, 0));
    EXPECT_EQ(bytes_at(bytes.data(), bytes.size()), pattern_bytes(1000, 9000));
    EXPECT_FALSE(bytes.allocate(0, m_path.c_str(), 0, 0, 1));  // 4 GiB in: past the end
    EXPECT_TRUE(fds_open_on(m_path).empty());
}

TEST_F(MappedFile, ReadOnlyRefusesWritesAndReadWriteWritesTheFile) {
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0));
    volatile unsigned char* first = bytes.data();
    EXPECT_EXIT(
        {
            struct sigaction action {};
            action.sa_handler = [](int) { std::_Exit(42); };  // also under sanitizers
            ::sigaction(SIGSEGV, &action, nullptr);
            *first = 0;
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(42), "");

    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 1));
    *bytes.at(9999) = 0xCD;
    bytes.clear();
    EXPECT_EQ(wg_test::read_file(m_path)[9999], 0xCD);
}

TEST_F(MappedFile, LastCopyUnmapsOnceAndClosesEachHandleOnce) {
    auto first = std::make_unique<bytes_t>();
    ASSERT_TRUE(first->allocate(0, m_path.c_str(), 0));
    const unsigned char* view = first->data();
    const std::set<int> fds = fds_open_on(m_path);  // the file and the mapping's own
    ASSERT_EQ(fds.size(), 2u);

    start_recording();
    bytes_t second(*first);
    first.reset();
    EXPECT_EQ(second.use_count(), 1u);
    EXPECT_EQ(unmaps_of(view), 0u);
    EXPECT_TRUE(g_closed.empty());
    EXPECT_EQ(bytes_at(second.data(), second.size()), pattern_bytes(10000));

    second.clear();
    second.clear();
    EXPECT_EQ(unmaps_of(view), 1u);
    EXPECT_EQ(std::set<int>(g_closed.begin(), g_closed.end()), fds);
    EXPECT_EQ(g_closed.size(), 2u);
}

TEST_F(MappedFile, AnonymousLastCopyUnmapsOnceAndClosesNothing) {
    bytes_t first;
    ASSERT_TRUE(first.resize(4096));
    const unsigned char* view = first.data();
    start_recording();
    {
        bytes_t second;
        second = first;
        first.clear();
        EXPECT_EQ(unmaps_of(view), 0u);
    }
    EXPECT_EQ(unmaps_of(view), 1u);
    EXPECT_TRUE(g_closed.empty());  // no descriptor behind anonymous memory
}

TEST_F(MappedFile, ModeTwoIsRefusedBeforeOpeningAnything) {
    bytes_t bytes;
    // Opening the missing file would end the process.
    EXPECT_FALSE(bytes.allocate(0, m_files.path("none").c_str(), 2));
    EXPECT_TRUE(bytes.empty());
    ASSERT_TRUE(bytes.resize(16));
    EXPECT_FALSE(bytes.allocate(0, m_path.c_str(), 2, 0, 0, true));  // keep: stays as it was
    EXPECT_EQ(bytes.size(), 16u);
    EXPECT_TRUE(fds_open_on(m_path).empty());
}

TEST_F(MappedFile, OpenFailureIsFatal) {
    const std::string missing = m_files.path("none");
    bytes_t bytes;
    EXPECT_EXIT(bytes.allocate(0, missing.c_str(), 0), ::testing::ExitedWithCode(ENOENT),
                "^" + missing + ": file open failed.\n" +
                    "alloc_mmap_win::allocate\\(\\) failed with error 2: No such file or directory\n$");
}
