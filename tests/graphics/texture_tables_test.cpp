// The texture code's tables, without a context: enums, dimensions and sizes,
// and grImageBuffer's sizing rule (the read-back's GL tests cover allocation).

#include "graphics/gl_tables.h"
#include "graphics/image_buffer.h"

#include <gtest/gtest.h>

#include <utility>

using namespace libgr;

TEST(GlTables, GapsAndRoundTrips) {
    for (unsigned d : {0u, 4u, 5u, 7u}) EXPECT_EQ(DimensionToTarget(d), static_cast<GLenum>(GL_INVALID_VALUE)) << d;
    for (unsigned d : {1u, 2u, 3u, 6u}) EXPECT_EQ(TargetToDimension(DimensionToTarget(d)), d);
    EXPECT_EQ(DimensionToTarget(6), static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(TargetToDimension(GL_TEXTURE_RECTANGLE), 0u);
    for (unsigned bytes : {1u, 2u, 4u, 8u}) EXPECT_EQ(TypeSize(SizeType(bytes)), bytes);
    EXPECT_EQ(SizeType(4), static_cast<GLenum>(GL_FLOAT));
    EXPECT_EQ(SizeType(3) + TypeSize(GL_HALF_FLOAT), 0u);
    EXPECT_EQ(TypeSize(GL_BITMAP), 1u);
    const std::pair<GLenum, unsigned> formats[] = {
        {GL_COLOR_INDEX, 1}, {GL_LUMINANCE_ALPHA, 2}, {GL_BGR, 3}, {GL_BGRA, 4}, {GL_STENCIL_INDEX, 0}};
    for (const auto& [format, components] : formats) EXPECT_EQ(FormatComponents(format), components) << format;
}

TEST(ImageBuffer, BitsPerPixelAndRowStride) {
    EXPECT_EQ(BitsPerPixel(8, 5), 48u);                        // three components of 16 bits
    EXPECT_EQ(BitsPerPixel(16, 8), 128u);                      // two of 64
    EXPECT_EQ(BitsPerPixel(11, 12), 32u);                      // packed: the pixel's own size
    EXPECT_EQ(BitsPerPixel(18, 3) + BitsPerPixel(9, 15), 0u);  // unknown format, unknown size

    const struct {
        std::uint8_t format, bit_size;
        std::uint32_t width, row_length, alignment, stride;
    } cases[] = {
        {8, 3, 5, 0, 0, 16},                                             // 15 bytes; alignment 0 means 4
        {0, 0, 9, 0, 0, 4},                                              // 9 bits: 2 bytes, then 4
        {9, 3, 3, 0, 1, 12}, {9, 3, 3, 0, 8, 16}, {9, 3, 3, 10, 1, 40},  // stored rows 10 pixels wide
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << int(c.format) << " width " << c.width);
        grImageBuffer image;
        image.SetPixelFormat(c.format);
        image.SetBitSize(c.bit_size);
        image.SetWidth(c.width);
        image.SetHeight(2);
        image.SetRowLength(c.row_length);
        image.SetPixelStore(grPixelStore{0, c.alignment});
        EXPECT_EQ(image.GetRowStride(), c.stride);
        image.SetExtraRows(3);
        EXPECT_EQ(image.GetStorageSize(), c.stride * 5);
    }
}
