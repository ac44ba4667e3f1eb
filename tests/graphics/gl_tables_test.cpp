// Enum, dimension and size tables of the texture code: the gaps and the
// round trips.

#include "graphics/gl_tables.h"

#include <gtest/gtest.h>

using namespace libgr;

TEST(GlTablesTest, DimensionsWithoutTargetAndRoundTrips) {
    for (unsigned d : {0u, 4u, 5u, 7u}) EXPECT_EQ(DimensionToTarget(d), static_cast<GLenum>(GL_INVALID_VALUE)) << d;
    for (unsigned d : {1u, 2u, 3u, 6u}) EXPECT_EQ(TargetToDimension(DimensionToTarget(d)), d);
    EXPECT_EQ(DimensionToTarget(6), static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(TargetToDimension(GL_TEXTURE_RECTANGLE), 0u);
    for (unsigned bytes : {1u, 2u, 4u, 8u}) EXPECT_EQ(TypeSize(SizeType(bytes)), bytes);
    EXPECT_EQ(SizeType(4), static_cast<GLenum>(GL_FLOAT));
    EXPECT_EQ(SizeType(3), 0u);
}

TEST(GlTablesTest, ComponentsAndSizesOfEdgeFormats) {
    EXPECT_EQ(FormatComponents(GL_COLOR_INDEX), 1u);
    EXPECT_EQ(FormatComponents(GL_LUMINANCE_ALPHA), 2u);
    EXPECT_EQ(FormatComponents(GL_BGR), 3u);
    EXPECT_EQ(FormatComponents(GL_BGRA), 4u);
    EXPECT_EQ(FormatComponents(GL_STENCIL_INDEX), 0u);
    EXPECT_EQ(TypeSize(GL_BITMAP), 1u);
    EXPECT_EQ(TypeSize(GL_HALF_FLOAT), 0u);
}
