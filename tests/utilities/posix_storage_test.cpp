// On POSIX: the last holder unmaps once and closes each descriptor once (close and munmap interposed), mode 2
// opens nothing, the fatal error report (in child processes) ends the process with errno.
#include "storage_fixture.h"

#include "utilities/fatal_error.h"

#include <dlfcn.h>

#include <cerrno>
#include <set>

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

TEST_F(FileStorage, TheLastHolderReleasesOnceAndFailuresToOpenAreFatal) {
    // The last holder unmaps once and closes the file and the mapping's own descriptor once each.
    mapped_t file, anonymous;
    ASSERT_TRUE(file.allocate(0, m_path.c_str(), 0));
    ASSERT_TRUE(anonymous.resize(4096));
    const std::intptr_t fd = file.allocator()->file;
    const std::multiset<std::intptr_t> views{reinterpret_cast<std::intptr_t>(file.data()),
                                             reinterpret_cast<std::intptr_t>(anonymous.data())};
    g_recording = true;
    {
        const mapped_t copies[] = {file, anonymous};
        file.clear();
        file.clear();
        anonymous.clear();
        EXPECT_TRUE(g_unmapped.empty());
        EXPECT_TRUE(g_closed.empty());
        EXPECT_EQ(all(copies[0]), pattern(1000));
    }
    g_recording = false;
    EXPECT_EQ(g_unmapped, views);
    EXPECT_EQ(g_closed.size(), 2u);
    EXPECT_EQ(g_closed.count(fd), 1u);
    EXPECT_EQ(g_closed.count(-1), 0u);

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
