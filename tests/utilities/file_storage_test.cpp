// Storage filled from files: alloc_new's whole-file loading, and
// alloc_mmap_win's mapped files and anonymous memory through refvector2, with
// the release of views and descriptors and the fatal paths.

#include "utilities/alloc_mmap_win.h"
#include "utilities/alloc_new.h"
#include "utilities/refvector2.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

using bytes_t = std::vector<unsigned char>;
using mapped_t = libutils::refvector2<unsigned char, libutils::alloc_mmap_win>;

namespace {
bool g_recording = false;
std::vector<int> g_closed;
std::vector<std::pair<const unsigned char*, std::size_t>> g_unmapped;
}  // namespace

// Every close and munmap of the process passes through here, so a test can
// tell how often a descriptor or a view was released.
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

std::size_t unmaps_of(const unsigned char* view) {
    return static_cast<std::size_t>(std::count_if(g_unmapped.begin(), g_unmapped.end(), [view](const auto& r) {
        return r.first <= view && view < r.first + r.second;
    }));
}

// The descriptors of the process open on path.
std::multiset<int> fds_open_on(const std::string& path) {
    std::multiset<int> fds;
    std::error_code ignored;  // a descriptor may close while we look
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd"))
        if (std::filesystem::read_symlink(fd.path(), ignored) == path) fds.insert(std::stoi(fd.path().filename()));
    return fds;
}

// n bytes that differ from their neighbours and repeat only every 251.
bytes_t pattern(std::size_t n, std::size_t from = 0) {
    bytes_t bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(((from + i) * 7 + 3) % 251);
    return bytes;
}

bytes_t bytes_at(const void* data, std::size_t n) {
    const auto* first = static_cast<const unsigned char*>(data);
    return {first, first + n};
}

// A scratch folder holding a 1000-byte file.
class FileStorage : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/wg_utils_XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
        m_path = m_dir + "/thousand.bin";
        m_missing = m_dir + "/none";
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(pattern(1000).data()), 1000);
    }
    void TearDown() override {
        g_recording = false;
        std::filesystem::remove_all(m_dir);
    }
    std::string m_dir, m_path, m_missing;
};

}  // namespace

TEST_F(FileStorage, AllocNewLoadsTheWholeFileOrAPartAndZeroesWhatTheFileLacks) {
    libutils::alloc_new heap;
    std::uint32_t size = 0;
    void* data = heap.allocate(size, m_path.c_str(), 0, 0, 0);
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(size == 1000 && heap.size == 1000);  // written back
    EXPECT_EQ(bytes_at(data, 1000), pattern(1000));
    heap.deallocate(data);

    bytes_t tail = pattern(100, 900);
    tail.resize(200, 0);
    const struct {
        const std::string& name;
        std::uint32_t size, low, high;
        bytes_t want;
    } cases[] = {
        {m_path, 100, 900, 0, pattern(100, 900)},  // the last 100 bytes
        {m_path, 200, 900, 0, tail},               // a short file
        {m_missing, 16, 0, 0, bytes_t(16, 0)},     // a missing file with a size
        {m_path, 16, 10, 1, bytes_t(16, 0)},       // 4 GiB + 10 is past the end, not offset 10
    };
    for (const auto& c : cases) {
        std::uint32_t n = c.size;
        data = heap.allocate(n, c.name.c_str(), 0, c.low, c.high);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(bytes_at(data, n), c.want) << c.size << " at " << c.low << " of " << c.name;
        heap.deallocate(data);
    }
    libutils::alloc_new fresh;
    size = 0;  // the whole of a missing file: null, nothing allocated
    EXPECT_EQ(fresh.allocate(size, m_missing.c_str(), 0, 0, 0), nullptr);
    EXPECT_TRUE(size == 0 && fresh.size == 0);
}

TEST_F(FileStorage, MappedWholeFileAndViewsAtOffsets) {
    mapped_t bytes;
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0));
    EXPECT_EQ(bytes_at(bytes.data(), bytes.size()), pattern(1000));
    ASSERT_TRUE(bytes.allocate(50, m_path.c_str(), 0, 900, 0));  // not page-aligned
    EXPECT_EQ(bytes_at(bytes.data(), bytes.size()), pattern(50, 900));
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0, 900, 0));  // whole from an offset: the rest
    EXPECT_EQ(bytes_at(bytes.data(), bytes.size()), pattern(100, 900));
    EXPECT_FALSE(bytes.allocate(0, m_path.c_str(), 0, 0, 1));  // 4 GiB in: past the end
    EXPECT_TRUE(fds_open_on(m_path).empty());
}

TEST_F(FileStorage, ReadOnlyViewsRefuseWritesAndReadWriteViewsWriteTheFile) {
    mapped_t bytes;
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 0));
    volatile unsigned char* first = bytes.data();
    EXPECT_DEATH(*first = 0, "");
    ASSERT_TRUE(bytes.allocate(0, m_path.c_str(), 1));
    *bytes.at(999) = 0xCD;
    bytes.clear();
    std::ifstream file(m_path, std::ios::binary);
    file.seekg(999);
    EXPECT_EQ(file.get(), 0xCD);
}

TEST_F(FileStorage, TheLastHolderUnmapsOnceAndClosesEachHandleOnce) {
    auto first = std::make_unique<mapped_t>();
    ASSERT_TRUE(first->allocate(0, m_path.c_str(), 0));
    const unsigned char* file_view = first->data();
    const std::multiset<int> fds = fds_open_on(m_path);  // the file and the mapping's own
    ASSERT_EQ(fds.size(), 2u);
    auto anonymous = std::make_unique<mapped_t>();
    ASSERT_TRUE(anonymous->resize(4096));
    const unsigned char* memory = anonymous->data();

    g_closed.reserve(64);
    g_unmapped.reserve(64);
    g_recording = true;
    mapped_t second(*first), other;
    other = *anonymous;
    first.reset();
    anonymous.reset();
    EXPECT_TRUE(unmaps_of(file_view) == 0 && unmaps_of(memory) == 0 && g_closed.empty());
    EXPECT_EQ(bytes_at(second.data(), second.size()), pattern(1000));
    second.clear();
    second.clear();
    other.clear();
    EXPECT_EQ(unmaps_of(file_view), 1u);
    EXPECT_EQ(unmaps_of(memory), 1u);
    EXPECT_EQ(std::multiset<int>(g_closed.begin(), g_closed.end()), fds);  // none for anonymous memory
}

TEST_F(FileStorage, ModeTwoIsRefusedBeforeOpeningAndAFailedOpenIsFatal) {
    mapped_t bytes;
    EXPECT_FALSE(bytes.allocate(0, m_missing.c_str(), 2));  // opening it would end the process
    EXPECT_TRUE(bytes.empty());
    ASSERT_TRUE(bytes.resize(16));
    EXPECT_FALSE(bytes.allocate(0, m_path.c_str(), 2, 0, 0, true));  // keep: stays as it was
    EXPECT_EQ(bytes.size(), 16u);
    EXPECT_TRUE(fds_open_on(m_path).empty());
    EXPECT_EXIT(bytes.allocate(0, m_missing.c_str(), 0), ::testing::ExitedWithCode(ENOENT),
                "^" + m_missing + ": file open failed.\n" +
                    "alloc_mmap_win::allocate\\(\\) failed with error 2: No such file or directory\n$");
}
