// grImageBuffer's sizing rule: bits per pixel from the format and size
// codes, rows rounded up to the alignment.

#include "graphics/image_buffer.h"

#include <gtest/gtest.h>

using libgr::grImageBuffer;

namespace {

grImageBuffer Layout(std::uint8_t format, std::uint8_t bit_size, std::uint32_t width, std::uint32_t height) {
    grImageBuffer image;
    image.SetPixelFormat(format);
    image.SetBitSize(bit_size);
    image.SetWidth(width);
    image.SetHeight(height);
    return image;
}

}  // namespace

TEST(ImageBufferSizing, BitsPerPixelFromTheTables) {
    EXPECT_EQ(libgr::BitsPerPixel(9, 3), 32u);   // four components of 8 bits
    EXPECT_EQ(libgr::BitsPerPixel(8, 5), 48u);   // three of 16
    EXPECT_EQ(libgr::BitsPerPixel(16, 8), 128u); // two of 64
    EXPECT_EQ(libgr::BitsPerPixel(11, 12), 32u); // packed: the pixel's own size
    EXPECT_EQ(libgr::BitsPerPixel(18, 3), 0u);   // unknown format
    EXPECT_EQ(libgr::BitsPerPixel(9, 15), 0u);   // unknown size
}

TEST(ImageBufferSizing, RowsRoundUpToFourBytesByDefault) {
    grImageBuffer rgb8 = Layout(8, 3, 5, 3);  // 15 bytes a row
    EXPECT_EQ(rgb8.GetRowStride(), 16u);
    EXPECT_EQ(rgb8.GetStorageSize(), 48u);

    grImageBuffer bits = Layout(0, 0, 9, 2);  // 9 bits: 2 bytes, then 4
    EXPECT_EQ(bits.GetRowStride(), 4u);
    EXPECT_EQ(bits.GetStorageSize(), 8u);
}

TEST(ImageBufferSizing, PixelStoreAlignmentAndRowLength) {
    grImageBuffer image = Layout(9, 3, 3, 2);
    image.SetPixelStore(libgr::grPixelStore{0, 1});
    EXPECT_EQ(image.GetRowStride(), 12u);
    image.SetPixelStore(libgr::grPixelStore{0, 8});
    EXPECT_EQ(image.GetRowStride(), 16u);
    image.SetPixelStore(libgr::grPixelStore{0, 0});  // 0 means 4
    EXPECT_EQ(image.GetAlignment(), 4u);

    image.SetRowLength(10);  // stored rows are 10 pixels wide
    image.SetPixelStore(libgr::grPixelStore{0, 1});
    EXPECT_EQ(image.GetRowStride(), 40u);
    image.SetExtraRows(3);
    EXPECT_EQ(image.GetStorageSize(), 40u * 5);
}

TEST(ImageBufferStorage, AllocateSizesTheBytesAndClearDropsThem) {
    grImageBuffer image = Layout(9, 3, 7, 5);
    ASSERT_TRUE(image.Allocate());
    EXPECT_EQ(image.GetBytes().size(), 28u * 5);
    image.GetData()[28 * 5 - 1] = 1;  // writable to the end

    image.SetWidth(70);
    ASSERT_TRUE(image.Allocate());  // larger: new storage, not a grown view
    EXPECT_EQ(image.GetBytes().size(), 280u * 5);

    image.Clear();
    EXPECT_TRUE(image.GetBytes().empty());
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetHeight(), 0u);
    EXPECT_FALSE(image.Allocate());  // nothing to hold
}
