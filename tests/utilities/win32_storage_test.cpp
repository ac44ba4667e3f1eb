// On Windows: the last holder unmaps the views and closes every handle, mode 2 opens nothing, and the file is opened
// without sharing. The fatal error report's box is an end-to-end case (tests/windows/).
#include "storage_fixture.h"

#include <windows.h>

// The process's handles, looked up one by one: wine's GetProcessHandleCount says 0.
static int open_handles() {
    int count = 0;
    DWORD flags = 0;
    for (std::uintptr_t h = 4; h < 16384; h += 4) count += GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags);
    return count;
}

static DWORD state_of(const void* address) {
    MEMORY_BASIC_INFORMATION region{};
    return VirtualQuery(address, &region, sizeof region) != 0 ? region.State : 0;
}

TEST_F(FileStorage, TheLastHolderUnmapsAndClosesAndModeTwoOpensNothing) {
    const int before = open_handles();
    mapped_t file, anonymous;
    ASSERT_TRUE(file.allocate(0, m_path.c_str(), 0));
    ASSERT_TRUE(anonymous.resize(4096));
    const void* views[] = {file.data(), anonymous.data()};
    {
        const mapped_t copies[] = {file, anonymous};
        file.clear();
        anonymous.clear();
        EXPECT_EQ(open_handles(), before + 3);  // the file and two mappings
        const DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE;
        EXPECT_EQ(CreateFileA(m_path.c_str(), GENERIC_READ, share_all, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);  // held without sharing
        EXPECT_EQ(all(copies[0]), pattern(1000));
    }
    for (const void* view : views) EXPECT_EQ(state_of(view), static_cast<DWORD>(MEM_FREE));
    EXPECT_FALSE(file.allocate(0, m_path.c_str(), 2));
    EXPECT_EQ(open_handles(), before);
}
