// On Windows: the last holder unmaps the views and closes the handles, and
// mode 2 opens nothing; the file is opened without sharing, so it opens
// alone again only once no handle is left. The fatal error report's box is
// an end-to-end case (tests/windows/).
#include "file_storage_fixture.h"

#include <windows.h>

// Whether the file can be opened with no sharing: nothing else holds it.
static bool opens_alone(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

static DWORD state_of(const void* address) {
    MEMORY_BASIC_INFORMATION region{};
    return VirtualQuery(address, &region, sizeof region) != 0 ? region.State : 0;
}

TEST_F(FileStorage, TheLastHolderUnmapsAndClosesAndModeTwoOpensNothing) {
    mapped_t file, anonymous;
    ASSERT_TRUE(file.allocate(0, m_path.c_str(), 0) && anonymous.resize(4096));
    const void* views[] = {file.data(), anonymous.data()};
    {
        const mapped_t copies[] = {file, anonymous};
        file.clear();
        anonymous.clear();
        EXPECT_FALSE(opens_alone(m_path));
        EXPECT_EQ(all(copies[0]), pattern(1000));
    }
    for (const void* view : views) EXPECT_EQ(state_of(view), static_cast<DWORD>(MEM_FREE));
    EXPECT_TRUE(opens_alone(m_path));

    EXPECT_FALSE(file.allocate(0, m_path.c_str(), 2));
    EXPECT_TRUE(opens_alone(m_path));
}
