// alloc_new: plain heap storage and whole-file loading.

#include "utilities/alloc_new.h"

#include "temp_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using libutils::alloc_new;
using wg_test::pattern_bytes;

namespace {

std::vector<unsigned char> bytes_of(const void* data, std::size_t n)
{
    const auto* first = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(first, first + n);
}

class AllocNewFile : public ::testing::Test {
protected:
    wg_test::temp_files_t m_files;
    std::vector<unsigned char> m_content = pattern_bytes(1000);
    std::string m_path = m_files.write("thousand.bin", m_content);
    alloc_new m_alloc;
};

}  // namespace

TEST_F(AllocNewFile, WholeFileSizesItselfFromTheFile)
{
    std::uint32_t size = 0;
    void* data = m_alloc.allocate(size, m_path.c_str(), 0, 0, 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 1000u);
    EXPECT_EQ(m_alloc.size, 1000u);
    EXPECT_EQ(bytes_of(data, 1000), m_content);
    m_alloc.deallocate(data);
}

TEST_F(AllocNewFile, PartAtAnOffset)
{
    std::uint32_t size = 100;
    void* data = m_alloc.allocate(size, m_path.c_str(), 1, 900, 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(size, 100u);
    EXPECT_EQ(bytes_of(data, 100),
              std::vector<unsigned char>(m_content.begin() + 900, m_content.end()));
    m_alloc.deallocate(data);
}

TEST_F(AllocNewFile, ShortFileLeavesZerosPastItsEnd)
{
    std::uint32_t size = 200;
    void* data = m_alloc.allocate(size, m_path.c_str(), 0, 900, 0);
    ASSERT_NE(data, nullptr);
    std::vector<unsigned char> expected(m_content.begin() + 900, m_content.end());
    expected.resize(200, 0);
    EXPECT_EQ(bytes_of(data, 200), expected);
    m_alloc.deallocate(data);
}

TEST_F(AllocNewFile, HighOffsetWordIsAFileOffset)
{
    // 4 GiB + 10 lies far past this file: nothing to read, all zeros. Were
    // the high word dropped, the bytes from offset 10 would show.
    std::uint32_t size = 16;
    void* data = m_alloc.allocate(size, m_path.c_str(), 0, 10, 1);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(bytes_of(data, 16), std::vector<unsigned char>(16, 0));
    m_alloc.deallocate(data);
}

TEST_F(AllocNewFile, MissingFileWholeIsNull)
{
    std::uint32_t size = 0;
    EXPECT_EQ(m_alloc.allocate(size, m_files.missing("none").c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(m_alloc.size, 0u);
}

TEST_F(AllocNewFile, MissingFileWithSizeIsZeroFilled)
{
    std::uint32_t size = 16;
    void* data = m_alloc.allocate(size, m_files.missing("none").c_str(), 0, 0, 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(m_alloc.size, 16u);
    EXPECT_EQ(bytes_of(data, 16), std::vector<unsigned char>(16, 0));
    m_alloc.deallocate(data);
}

TEST(AllocNew, ReallocateKeepsLeadingBytes)
{
    alloc_new alloc;
    std::uint32_t size = 8;
    auto* data = static_cast<unsigned char*>(alloc.allocate(size, nullptr, 1, 0, 0));
    ASSERT_NE(data, nullptr);
    std::memcpy(data, "abcdefgh", 8);

    auto* grown = static_cast<unsigned char*>(alloc.reallocate(data, 12, 0, 0));
    EXPECT_EQ(alloc.size, 12u);
    EXPECT_EQ(std::memcmp(grown, "abcdefgh", 8), 0);

    auto* shrunk = static_cast<unsigned char*>(alloc.reallocate(grown, 3, 0, 0));
    EXPECT_EQ(alloc.size, 3u);
    EXPECT_EQ(std::memcmp(shrunk, "abc", 3), 0);
    alloc.deallocate(shrunk);
    alloc.deallocate(nullptr);  // allowed, does nothing
}
