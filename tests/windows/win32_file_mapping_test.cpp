// The file-mapping services on Windows: views at offsets that are not on the
// allocation granularity, the access rules, files opened without sharing and
// handles that are really closed, anonymous memory.

#include "utilities/file_mapping.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace libutils;
using bytes_t = std::vector<unsigned char>;

namespace {

bytes_t pattern(std::size_t n, std::size_t from = 0) {
    bytes_t bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<unsigned char>(((from + i) * 7 + 3) % 251);
    return bytes;
}

bytes_t bytes_at(const void* data, std::size_t n) {
    const auto* first = static_cast<const unsigned char*>(data);
    return {first, first + n};
}

// A scratch file of 200000 bytes, more than three allocation granules.
class Win32FileMapping : public ::testing::Test {
protected:
    void SetUp() override {
        m_path =
            (std::filesystem::temp_directory_path() / ("wg_map_" + std::to_string(GetCurrentProcessId()))).string();
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(pattern(k_size).data()), k_size);
    }
    void TearDown() override { std::filesystem::remove(m_path); }
    static constexpr std::size_t k_size = 200000;
    std::string m_path;
};

}  // namespace

TEST_F(Win32FileMapping, ViewsOfTheWholeFileAtAnyOffset) {
    const os_handle_t file = open_existing_file(m_path.c_str(), map_read);
    const os_handle_t mapping = create_file_mapping(file, map_read, 0);
    ASSERT_NE(mapping, invalid_os_handle);
    EXPECT_EQ(file_mapping_size(mapping), k_size);
    const struct {
        std::uint64_t offset;
        std::uint32_t size, want;  // want 0: refused
    } cases[] = {{0, 0, k_size}, {70001, 100, 100}, {65537, 0, k_size - 65537}, {200000, 0, 0}, {199990, 11, 0}};
    for (const auto& c : cases) {
        void* view = map_view(mapping, map_read, c.offset, c.size);
        if (c.want == 0) {
            EXPECT_EQ(view, nullptr) << c.offset;
            continue;
        }
        ASSERT_NE(view, nullptr) << c.offset;
        EXPECT_EQ(bytes_at(view, c.want), pattern(c.want, c.offset)) << c.offset;
        EXPECT_TRUE(unmap_view(mapping, view));
    }
    EXPECT_EQ(map_view(mapping, map_write, 0, 16), nullptr);  // a read-only mapping
    EXPECT_TRUE(close_file_mapping(mapping) && close_file(file));
}

TEST_F(Win32FileMapping, OnlyAWritableFileGrowsToTheMappingAndWritesReachIt) {
    const os_handle_t reader = open_existing_file(m_path.c_str(), map_read);
    EXPECT_EQ(create_file_mapping(reader, map_read, k_size + 1), invalid_os_handle);
    close_file(reader);

    const os_handle_t file = open_existing_file(m_path.c_str(), map_write);
    const os_handle_t mapping = create_file_mapping(file, map_write, 300000);
    ASSERT_NE(mapping, invalid_os_handle);
    auto* view = static_cast<unsigned char*>(map_view(mapping, map_write, 250000, 10));
    ASSERT_NE(view, nullptr);
    view[9] = 0xCD;
    EXPECT_TRUE(close_file_mapping(mapping) && close_file(file));  // the view goes with the mapping
    EXPECT_EQ(std::filesystem::file_size(m_path), 300000u);
    std::ifstream written(m_path, std::ios::binary);
    written.seekg(250009);
    EXPECT_EQ(written.get(), 0xCD);
}

TEST_F(Win32FileMapping, NoSharingWhileOpenAndNothingLeftOpenAfterClosing) {
    const os_handle_t file = open_existing_file(m_path.c_str(), map_read);
    ASSERT_NE(file, invalid_os_handle);
    EXPECT_EQ(open_existing_file(m_path.c_str(), map_read), invalid_os_handle);
    EXPECT_EQ(last_os_error(), ERROR_SHARING_VIOLATION);
    const os_handle_t mapping = create_file_mapping(file, map_read, 0);
    void* view = map_view(mapping, map_read, 65536, 0);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(close_file(file) && close_file_mapping(mapping));
    MEMORY_BASIC_INFORMATION region{};
    ASSERT_NE(VirtualQuery(view, &region, sizeof region), 0u);
    EXPECT_EQ(region.State, static_cast<DWORD>(MEM_FREE));  // unmapped with its mapping
    const os_handle_t again = open_existing_file(m_path.c_str(), map_write);
    EXPECT_NE(again, invalid_os_handle);
    close_file(again);

    EXPECT_EQ(open_existing_file((m_path + ".none").c_str(), map_read), invalid_os_handle);
    EXPECT_EQ(last_os_error(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32FileMapping, AnonymousMemoryHasTheSizeItWasMadeWith) {
    EXPECT_EQ(create_file_mapping(invalid_os_handle, map_write, 0), invalid_os_handle);
    const os_handle_t mapping = create_file_mapping(invalid_os_handle, map_write, 4096);
    ASSERT_NE(mapping, invalid_os_handle);
    auto* view = static_cast<unsigned char*>(map_view(mapping, map_write, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(bytes_at(view, 4096), bytes_t(4096, 0));
    view[4095] = 1;
    EXPECT_EQ(map_view(mapping, map_write, 0, 4097), nullptr);
    EXPECT_TRUE(unmap_view(mapping, view));
    EXPECT_FALSE(unmap_view(mapping, view));  // only once
    EXPECT_TRUE(close_file_mapping(mapping));
}
