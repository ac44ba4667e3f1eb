// alloc_new: whole-file loading into heap storage.

#include "utilities/alloc_new.h"

#include "temp_files.h"

#include <gtest/gtest.h>

using wg_test::bytes_at;
using wg_test::pattern_bytes;

class AllocNewFile : public ::testing::Test {
protected:
    // Loads through m_alloc, checks the returned size and frees the array.
    std::vector<unsigned char> load(const std::string& path, std::uint32_t size, std::uint32_t low,
                                    std::uint32_t high = 0) {
        void* data = m_alloc.allocate(size, path.c_str(), 0, low, high);
        if (data == nullptr) return {};
        EXPECT_EQ(m_alloc.size, size);
        std::vector<unsigned char> bytes = bytes_at(data, size);
        m_alloc.deallocate(data);
        return bytes;
    }

    wg_test::temp_files_t m_files;
    std::string m_path = m_files.write("thousand.bin", pattern_bytes(1000));
    libutils::alloc_new m_alloc;
};

TEST_F(AllocNewFile, WholeFileAndItsTail) {
    std::uint32_t size = 0;
    void* data = m_alloc.allocate(size, m_path.c_str(), 0, 0, 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 1000u);  // written back
    EXPECT_EQ(bytes_at(data, 1000), pattern_bytes(1000));
    m_alloc.deallocate(data);

    EXPECT_EQ(load(m_path, 100, 900), pattern_bytes(100, 900));
}

TEST_F(AllocNewFile, BytesTheFileLacksAreZero) {
    std::vector<unsigned char> tail = pattern_bytes(100, 900);
    tail.resize(200, 0);
    EXPECT_EQ(load(m_path, 200, 900), tail);  // short file
    EXPECT_EQ(load(m_files.path("none"), 16, 0), std::vector<unsigned char>(16, 0));
    // 4 GiB + 10 is past the end; were the high word dropped, offset 10 would show.
    EXPECT_EQ(load(m_path, 16, 10, 1), std::vector<unsigned char>(16, 0));
}

TEST_F(AllocNewFile, MissingFileWholeIsNullAndAllocatesNothing) {
    std::uint32_t size = 0;
    EXPECT_EQ(m_alloc.allocate(size, m_files.path("none").c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(m_alloc.size, 0u);
}
