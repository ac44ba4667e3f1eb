// alloc_mmap_win through refvector2: mapped files and anonymous memory, the
// release of views and descriptors, and the fatal paths.

#include "utilities/alloc_mmap_win.h"
#include "utilities/ofsvector.h"
#include "utilities/refvector2.h"

#include "temp_files.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

using bytes_t = libutils::refvector2<unsigned char, libutils::alloc_mmap_win>;
using wg_test::pattern_bytes;

// Every close and munmap of this process passes through here while a test
// records, so a test can tell how often a descriptor or a view was released.
namespace {

struct release_log_t {
    bool on = false;
    std::vector<int> closed;
    std::vector<std::pair<const unsigned char*, std::size_t>> unmapped;
};
release_log_t g_release_log;

}  // namespace

extern "C" int close(int fd)
{
    using close_fn = int (*)(int);
    static const auto real = reinterpret_cast<close_fn>(::dlsym(RTLD_NEXT, "close"));
    if (g_release_log.on) g_release_log.closed.push_back(fd);
    return real(fd);
}

extern "C" int munmap(void* address, std::size_t length) noexcept
{
    using munmap_fn = int (*)(void*, std::size_t);
    static const auto real = reinterpret_cast<munmap_fn>(::dlsym(RTLD_NEXT, "munmap"));
    if (g_release_log.on) {
        g_release_log.unmapped.emplace_back(static_cast<const unsigned char*>(address), length);
    }
    return real(address, length);
}

namespace {

// Records the releases made while it lives.
class release_recorder_t {
public:
    release_recorder_t()
    {
        g_release_log = release_log_t{};
        g_release_log.closed.reserve(64);
        g_release_log.unmapped.reserve(64);
        g_release_log.on = true;
    }
    ~release_recorder_t() { g_release_log.on = false; }

    std::size_t closes_of(int fd) const
    {
        return static_cast<std::size_t>(
            std::count(g_release_log.closed.begin(), g_release_log.closed.end(), fd));
    }
    std::size_t closes() const { return g_release_log.closed.size(); }
    // munmap calls whose range holds address.
    std::size_t unmaps_of(const unsigned char* address) const
    {
        return static_cast<std::size_t>(std::count_if(
            g_release_log.unmapped.begin(), g_release_log.unmapped.end(),
            [address](const std::pair<const unsigned char*, std::size_t>& range) {
                return range.first <= address && address < range.first + range.second;
            }));
    }
};

// The descriptors of this process open on path.
std::set<int> fds_open_on(const std::string& path)
{
    std::set<int> fds;
    for (int fd = 0; fd < 1024; ++fd) {
        char link[PATH_MAX];
        const std::string entry = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t n = ::readlink(entry.c_str(), link, sizeof link - 1);
        if (n > 0 && std::string(link, static_cast<std::size_t>(n)) == path) fds.insert(fd);
    }
    return fds;
}

// A write fault ends the process with k_segv_exit (also under sanitizers,
// which would otherwise report it their own way).
constexpr int k_segv_exit = 42;
void exit_on_segv()
{
    struct sigaction action {};
    action.sa_handler = [](int) { std::_Exit(k_segv_exit); };
    ::sigaction(SIGSEGV, &action, nullptr);
}

std::vector<unsigned char> bytes_of(const unsigned char* data, std::size_t n)
{
    return std::vector<unsigned char>(data, data + n);
}

class MappedFile : public ::testing::Test {
protected:
    wg_test::temp_files_t m_files;
    std::vector<unsigned char> m_content = pattern_bytes(10000);
    std::string m_path = m_files.write("mapped.bin", m_content);
};

}  // namespace

TEST_F(MappedFile, WholeFileTakesTheFileSize)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0));
    EXPECT_EQ(bytes.size(), 10000u);
    EXPECT_EQ(bytes.allocator()->size, 10000u);
    EXPECT_EQ(bytes_of(bytes.data(), bytes.size()), m_content);
}

TEST_F(MappedFile, ViewAtAnUnalignedOffset)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(100, m_path.c_str(), 0, 5000, 0));
    ASSERT_EQ(bytes.size(), 100u);
    EXPECT_EQ(bytes_of(bytes.data(), 100),
              std::vector<unsigned char>(m_content.begin() + 5000, m_content.begin() + 5100));
}

TEST_F(MappedFile, WholeFileFromAnOffsetIsTheRest)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0, 9000, 0));
    ASSERT_EQ(bytes.size(), 1000u);
    EXPECT_EQ(bytes_of(bytes.data(), 1000),
              std::vector<unsigned char>(m_content.begin() + 9000, m_content.end()));
}

TEST_F(MappedFile, OffsetPastTheFileFailsAndClosesTheFile)
{
    bytes_t bytes;
    EXPECT_FALSE(bytes.allocate(0, m_path.c_str(), 0, 0, 1));  // 4 GiB in
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(fds_open_on(m_path).empty());
}

TEST_F(MappedFile, ReadOnlyViewRefusesWrites)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0));
    EXPECT_EQ(bytes.allocator()->access, libutils::map_read);
    volatile unsigned char* first = bytes.data();
    EXPECT_EXIT(
        {
            exit_on_segv();
            *first = 0;
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(k_segv_exit), "");
    EXPECT_EQ(bytes_of(bytes.data(), 4), bytes_of(m_content.data(), 4));
}

TEST_F(MappedFile, ReadWriteViewWritesTheFile)
{
    {
        bytes_t bytes;
        ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 1));
        EXPECT_EQ(bytes.allocator()->access, libutils::map_write);
        bytes.data()[0] = 0xAB;
        *bytes.at(9999) = 0xCD;
    }
    const std::vector<unsigned char> after = wg_test::read_file(m_path);
    ASSERT_EQ(after.size(), 10000u);
    EXPECT_EQ(after[0], 0xAB);
    EXPECT_EQ(after[9999], 0xCD);
    EXPECT_EQ(after[1], m_content[1]);
}

TEST_F(MappedFile, LastCopyUnmapsOnceAndClosesEachHandleOnce)
{
    auto first = std::make_unique<bytes_t>();
    ASSERT_TRUE(first->allocate(0, m_path.c_str(), 0));
    const unsigned char* view = first->data();
    // The file and the mapping's own handle on it.
    const std::set<int> fds = fds_open_on(m_path);
    ASSERT_EQ(fds.size(), 2u);

    release_recorder_t recorder;
    bytes_t second(*first);
    EXPECT_EQ(second.use_count(), 2u);
    first.reset();
    EXPECT_EQ(second.use_count(), 1u);
    EXPECT_EQ(recorder.unmaps_of(view), 0u);
    for (int fd : fds) EXPECT_EQ(recorder.closes_of(fd), 0u);
    EXPECT_EQ(bytes_of(second.data(), second.size()), m_content);

    second.clear();
    EXPECT_EQ(recorder.unmaps_of(view), 1u);
    for (int fd : fds) EXPECT_EQ(recorder.closes_of(fd), 1u);
    EXPECT_TRUE(fds_open_on(m_path).empty());
    second.clear();  // nothing left to release
    EXPECT_EQ(recorder.unmaps_of(view), 1u);
}

TEST(AnonymousMapping, LastCopyUnmapsOnceAndClosesNothing)
{
    bytes_t first;
    ASSERT_TRUE(first.resize(4096));
    const unsigned char* view = first.data();
    release_recorder_t recorder;
    {
        bytes_t second;
        second = first;
        first.clear();
        EXPECT_EQ(recorder.unmaps_of(view), 0u);
    }
    EXPECT_EQ(recorder.unmaps_of(view), 1u);
    EXPECT_EQ(recorder.closes(), 0u);  // anonymous memory has no descriptor
}

TEST_F(MappedFile, ModeTwoIsRefusedBeforeOpeningAnything)
{
    bytes_t bytes;
    // Opening the missing file would end the process: a false here means
    // nothing was opened.
    EXPECT_FALSE(bytes.allocate(0, m_files.missing("none").c_str(), 2));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(bytes.allocate(0, m_path.c_str(), 2));
    EXPECT_TRUE(fds_open_on(m_path).empty());

    ASSERT_TRUE(bytes.resize(16));
    unsigned char* kept = bytes.data();
    EXPECT_FALSE(bytes.allocate(32, nullptr, 2, 0, 0, true));
    EXPECT_EQ(bytes.data(), kept);
    EXPECT_EQ(bytes.size(), 16u);
}

TEST_F(MappedFile, ResizeMovesTheViewWithinTheMapping)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0));
    ASSERT_TRUE(bytes.resize(50, 8000, 0));
    ASSERT_EQ(bytes.size(), 50u);
    EXPECT_EQ(bytes_of(bytes.data(), 50),
              std::vector<unsigned char>(m_content.begin() + 8000, m_content.begin() + 8050));
    // 8000 + 4000 reaches past the mapping: refused, the view stays.
    EXPECT_FALSE(bytes.resize(4000, 8000, 0));
    EXPECT_EQ(bytes.size(), 50u);
    EXPECT_EQ(bytes.data()[0], m_content[8000]);
}

TEST_F(MappedFile, OpenFailureIsFatal)
{
    const std::string missing = m_files.missing("none");
    bytes_t bytes;
    EXPECT_EXIT(bytes.allocate(0, missing.c_str(), 0), ::testing::ExitedWithCode(ENOENT),
                missing + ": file open failed.\n" +
                    "alloc_mmap_win::allocate\\(\\) failed with error 2: "
                    "No such file or directory\n$");
}

TEST_F(MappedFile, MappingPastReadOnlyFileIsFatal)
{
    bytes_t bytes;
    EXPECT_EXIT(bytes.allocate(20000, m_path.c_str(), 0), ::testing::ExitedWithCode(EINVAL),
                m_path + ": create file mapping failed.\n" +
                    "alloc_mmap_win::allocate\\(\\) failed with error 22: Invalid argument\n$");
}

TEST_F(MappedFile, ReadWriteMappingGrowsTheFile)
{
    {
        bytes_t bytes;
        ASSERT_TRUE(bytes.allocate(12000, m_path.c_str(), 1));
        EXPECT_EQ(bytes.data()[11999], 0);
        bytes.data()[11999] = 7;
    }
    const std::vector<unsigned char> after = wg_test::read_file(m_path);
    ASSERT_EQ(after.size(), 12000u);
    EXPECT_EQ(after[11999], 7);
}
