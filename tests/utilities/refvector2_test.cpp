// refvector2 and ofsvector over alloc_mmap_win: shared counted storage and
// windows into it.

#include "utilities/alloc_mmap_win.h"
#include "utilities/alloc_new.h"
#include "utilities/ofsvector.h"
#include "utilities/refvector2.h"

#include "temp_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using bytes_t = libutils::refvector2<unsigned char, libutils::alloc_mmap_win>;
using window_t = libutils::ofsvector<unsigned char, libutils::alloc_mmap_win>;
constexpr std::uint32_t no_limit = window_t::no_limit;

TEST(RefVector2Sharing, StartsEmpty)
{
    bytes_t bytes;
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(bytes.size(), 0u);
    EXPECT_EQ(bytes.data(), nullptr);
    EXPECT_EQ(bytes.begin(), nullptr);
    EXPECT_EQ(bytes.use_count(), 0u);
}

TEST(RefVector2Sharing, CopiesShareOneBlock)
{
    bytes_t first;
    ASSERT_TRUE(first.resize(64));
    std::memcpy(first.data(), "shared", 6);
    bytes_t second(first);
    bytes_t third;
    third = second;
    EXPECT_EQ(first.use_count(), 3u);
    EXPECT_EQ(third.data(), first.data());
    third.data()[0] = 'S';
    EXPECT_EQ(first.data()[0], 'S');

    first.clear();
    EXPECT_TRUE(first.empty());
    EXPECT_EQ(second.use_count(), 2u);
    EXPECT_EQ(std::memcmp(second.data(), "Shared", 6), 0);
}

TEST(RefVector2Sharing, SelfAndCopyAssignmentKeepTheCount)
{
    bytes_t first;
    ASSERT_TRUE(first.resize(32));
    bytes_t copy(first);
    ASSERT_EQ(first.use_count(), 2u);

    bytes_t& same = first;
    first = same;
    EXPECT_EQ(first.use_count(), 2u);
    first = copy;
    EXPECT_EQ(first.use_count(), 2u);
    copy = first;
    EXPECT_EQ(copy.use_count(), 2u);
    EXPECT_EQ(copy.data(), first.data());
}

TEST(RefVector2Sharing, AssignmentReleasesThePreviousBlock)
{
    bytes_t a;
    bytes_t b;
    ASSERT_TRUE(a.resize(16));
    ASSERT_TRUE(b.resize(16));
    bytes_t keep_b(b);
    b = a;
    EXPECT_EQ(a.use_count(), 2u);
    EXPECT_EQ(keep_b.use_count(), 1u);
    b = bytes_t();
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(a.use_count(), 1u);
}

TEST(RefVector2Anonymous, ResizeOfEmptyMakesReadWriteMemory)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.resize(4096));
    EXPECT_EQ(bytes.size(), 4096u);
    ASSERT_NE(bytes.allocator(), nullptr);
    EXPECT_EQ(bytes.allocator()->access, libutils::map_write);
    EXPECT_EQ(bytes.allocator()->file, libutils::invalid_os_handle);
    EXPECT_EQ(bytes.allocator()->size, 4096u);
    bytes.data()[4095] = 1;  // writable to the last byte
    EXPECT_EQ(bytes.end() - bytes.begin(), 4096);
}

TEST(RefVector2Anonymous, CanNotOutgrowItsMapping)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.resize(4096));
    std::memcpy(bytes.data(), "keep", 4);
    unsigned char* before = bytes.data();
    EXPECT_FALSE(bytes.resize(4097));
    // Refused: the storage is as it was.
    EXPECT_EQ(bytes.size(), 4096u);
    EXPECT_EQ(bytes.data(), before);
    EXPECT_EQ(std::memcmp(bytes.data(), "keep", 4), 0);
}

TEST(RefVector2Anonymous, ShrinkAndRegrowKeepLeadingBytes)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.resize(4096));
    std::memcpy(bytes.data(), "0123456789", 10);
    bytes_t copy(bytes);
    ASSERT_TRUE(bytes.resize(6));
    EXPECT_EQ(copy.size(), 6u);  // the storage is shared, so is its size
    EXPECT_EQ(std::memcmp(copy.data(), "012345", 6), 0);
    ASSERT_TRUE(bytes.resize(4096));
    EXPECT_EQ(std::memcmp(bytes.data(), "012345", 6), 0);
}

TEST(RefVector2Anonymous, ZeroSizeIsNotStorage)
{
    bytes_t bytes;
    EXPECT_FALSE(bytes.resize(0));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(bytes.use_count(), 0u);
}

TEST(RefVector2Allocate, KeepCopiesIntoTheNewStorage)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(8));
    std::memcpy(bytes.data(), "abcdefgh", 8);
    bytes_t old(bytes);
    ASSERT_TRUE(bytes.allocate(100, nullptr, 1, 0, 0, true));
    EXPECT_EQ(bytes.size(), 100u);
    EXPECT_NE(bytes.data(), old.data());
    EXPECT_EQ(std::memcmp(bytes.data(), "abcdefgh", 8), 0);
    EXPECT_EQ(old.use_count(), 1u);  // bytes let go of it
    EXPECT_EQ(bytes.use_count(), 1u);
}

TEST(RefVector2Allocate, WithoutKeepAFailureLeavesItEmpty)
{
    bytes_t bytes;
    ASSERT_TRUE(bytes.allocate(8));
    EXPECT_FALSE(bytes.allocate(8, nullptr, 5));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(bytes.use_count(), 0u);
}

TEST(RefVector2Allocate, HeapPolicyLoadsAFileWhole)
{
    wg_test::temp_files_t files;
    const auto content = wg_test::pattern_bytes(300);
    const std::string path = files.write("heap.bin", content);
    libutils::refvector2<unsigned char, libutils::alloc_new> bytes;
    ASSERT_TRUE(bytes.allocate(0, path.c_str(), 0));
    ASSERT_EQ(bytes.size(), 300u);
    EXPECT_EQ(std::memcmp(bytes.data(), content.data(), 300), 0);
    ASSERT_TRUE(bytes.resize(10));
    EXPECT_EQ(std::memcmp(bytes.data(), content.data(), 10), 0);
}

namespace {

// A window of offset 100 and the given limit over storage of `bytes` bytes.
std::unique_ptr<window_t> window_over(std::uint32_t bytes, std::uint32_t limit)
{
    auto window = std::make_unique<window_t>();
    if (!window->resize(bytes)) return nullptr;
    for (std::uint32_t i = 0; i < bytes; ++i) window->data()[i] = static_cast<unsigned char>(i);
    window->set_window(100, limit);
    return window;
}

}  // namespace

TEST(OfsVectorWindow, LimitClampsTheRest)
{
    auto short_store = window_over(120, 50);
    ASSERT_TRUE(short_store);
    EXPECT_EQ(short_store->size(), 20u);
    EXPECT_EQ(*short_store->data(), 100);

    auto long_store = window_over(400, 50);
    ASSERT_TRUE(long_store);
    EXPECT_EQ(long_store->size(), 50u);
    EXPECT_EQ(long_store->end() - long_store->begin(), 50);
    EXPECT_EQ(*long_store->at(49), 149);
}

TEST(OfsVectorWindow, NoLimitRunsToTheEnd)
{
    auto window = window_over(400, no_limit);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->size(), 300u);
    EXPECT_FALSE(window->empty());
}

TEST(OfsVectorWindow, LimitZeroIsEmpty)
{
    auto window = window_over(400, 0);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->empty());
    EXPECT_EQ(window->size(), 0u);
}

TEST(OfsVectorWindow, OffsetPastTheEndIsEmptyNotNegative)
{
    auto window = window_over(120, no_limit);
    ASSERT_TRUE(window);
    window->set_window(200);
    EXPECT_EQ(window->size(), 0u);
    EXPECT_TRUE(window->empty());
    EXPECT_EQ(window->begin(), window->end());
}

TEST(OfsVectorWindow, BaseInterfaceAnswersWithTheWindow)
{
    auto window = window_over(400, 50);
    ASSERT_TRUE(window);
    const bytes_t& base = *window;
    EXPECT_EQ(base.size(), 50u);
    EXPECT_EQ(*base.begin(), 100);
    EXPECT_EQ(base.end() - base.begin(), 50);
}

TEST(OfsVectorWindow, CopiesTakeTheWindow)
{
    auto window = window_over(400, 50);
    ASSERT_TRUE(window);
    window_t copy(*window);
    EXPECT_EQ(copy.offset(), 100u);
    EXPECT_EQ(copy.limit(), 50u);
    EXPECT_EQ(copy.data(), window->data());
    window_t assigned;
    assigned = copy;
    EXPECT_EQ(assigned.size(), 50u);
    EXPECT_EQ(window->use_count(), 3u);
}

TEST(OfsVectorWindow, ResizeLiftsTheLimitAndKeepsTheOffset)
{
    auto window = window_over(400, 50);
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->resize(300));
    EXPECT_EQ(window->offset(), 100u);
    EXPECT_EQ(window->limit(), no_limit);
    EXPECT_EQ(window->size(), 200u);
    EXPECT_EQ(*window->data(), 100);
}

TEST(OfsVectorWindow, AllocateAndClearResetTheWindow)
{
    auto window = window_over(400, 50);
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->allocate(64));
    EXPECT_EQ(window->offset(), 0u);
    EXPECT_EQ(window->limit(), no_limit);
    EXPECT_EQ(window->size(), 64u);

    window->set_window(10, 5);
    window->clear();
    EXPECT_EQ(window->offset(), 0u);
    EXPECT_EQ(window->limit(), no_limit);
    EXPECT_EQ(window->data(), nullptr);
}
