// Enum, dimension and size tables of the texture code.

#include "graphics/gl_tables.h"

#include <gtest/gtest.h>

using namespace libgr;

TEST(GlTablesTest, DimensionsAndTargetsTranslateBothWays) {
    EXPECT_EQ(DimensionToTarget(0), static_cast<GLenum>(GL_INVALID_VALUE));
    EXPECT_EQ(DimensionToTarget(1), static_cast<GLenum>(GL_TEXTURE_1D));
    EXPECT_EQ(DimensionToTarget(2), static_cast<GLenum>(GL_TEXTURE_2D));
    EXPECT_EQ(DimensionToTarget(3), static_cast<GLenum>(GL_TEXTURE_3D));
    EXPECT_EQ(DimensionToTarget(4), static_cast<GLenum>(GL_INVALID_VALUE));
    EXPECT_EQ(DimensionToTarget(5), static_cast<GLenum>(GL_INVALID_VALUE));
    EXPECT_EQ(DimensionToTarget(6), static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(DimensionToTarget(7), static_cast<GLenum>(GL_INVALID_VALUE));
    for (unsigned d : {1u, 2u, 3u, 6u}) EXPECT_EQ(TargetToDimension(DimensionToTarget(d)), d);
    EXPECT_EQ(TargetToDimension(GL_TEXTURE_RECTANGLE), 0u);
    EXPECT_EQ(TargetToDimension(GL_INVALID_VALUE), 0u);
}

TEST(GlTablesTest, FormatComponents) {
    for (GLenum f : {GL_COLOR_INDEX, GL_DEPTH_COMPONENT, GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA, GL_LUMINANCE})
        EXPECT_EQ(FormatComponents(f), 1u) << f;
    EXPECT_EQ(FormatComponents(GL_LUMINANCE_ALPHA), 2u);
    EXPECT_EQ(FormatComponents(GL_RGB), 3u);
    EXPECT_EQ(FormatComponents(GL_BGR), 3u);
    EXPECT_EQ(FormatComponents(GL_RGBA), 4u);
    EXPECT_EQ(FormatComponents(GL_BGRA), 4u);
    EXPECT_EQ(FormatComponents(GL_STENCIL_INDEX), 0u);
    EXPECT_EQ(FormatComponents(GL_RG), 0u);
}

TEST(GlTablesTest, TypeSizesAndTheirTypes) {
    EXPECT_EQ(TypeSize(GL_BYTE), 1u);
    EXPECT_EQ(TypeSize(GL_UNSIGNED_BYTE), 1u);
    EXPECT_EQ(TypeSize(GL_BITMAP), 1u);
    EXPECT_EQ(TypeSize(GL_SHORT), 2u);
    EXPECT_EQ(TypeSize(GL_UNSIGNED_SHORT), 2u);
    EXPECT_EQ(TypeSize(GL_INT), 4u);
    EXPECT_EQ(TypeSize(GL_UNSIGNED_INT), 4u);
    EXPECT_EQ(TypeSize(GL_FLOAT), 4u);
    EXPECT_EQ(TypeSize(GL_DOUBLE), 8u);
    EXPECT_EQ(TypeSize(GL_HALF_FLOAT), 0u);

    EXPECT_EQ(SizeType(1), static_cast<GLenum>(GL_UNSIGNED_BYTE));
    EXPECT_EQ(SizeType(2), static_cast<GLenum>(GL_UNSIGNED_SHORT));
    EXPECT_EQ(SizeType(4), static_cast<GLenum>(GL_FLOAT));
    EXPECT_EQ(SizeType(8), static_cast<GLenum>(GL_DOUBLE));
    EXPECT_EQ(SizeType(3), 0u);
    EXPECT_EQ(SizeType(0), 0u);
}
