// Vector, rotation and posture arithmetic of libgr: bit-exact where the
// single-precision order of operations is the point, within a tolerance where
// only the geometry is.

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "graphics/values_ops.h"

using namespace libgr;

namespace {

template <class V>
void expect_vec(const V& v, float x, float y, float z, float tol = 1e-6f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

template <class A, class B>
void expect_bits(const A& a, const B& b) {
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

}  // namespace

TEST(ValuesComponentwise, ArithmeticMixesTypesAndAllowsAliasing) {
    const pos3 p{1, 2, 3};
    const dir3 d{0.5f, -1, 4};
    expect_bits(p + d, pos3{1.5f, 1, 7});
    expect_bits(p - d, pos3{0.5f, 3, -1});
    expect_bits(-p, pos3{-1, -2, -3});
    pos3 q = p;
    add(q, q, q);
    expect_bits(q, pos3{2, 4, 6});
    expect_bits(minimum(pos3{1, -5, 3}, pos3{2, -6, 3}), pos3{1, -6, 3});
    expect_bits(maximum(pos3{1, -5, 3}, pos3{2, -6, 3}), pos3{2, -5, 3});
    expect_bits(absolute(pos3{-1, 0, 2.5f}), pos3{1, 0, 2.5f});
    // Divide multiplies by the float reciprocal: 0.3f / 3 would differ in the last bit.
    ASSERT_NE(0.3f * (1.0f / 3.0f), 0.3f / 3.0f);
    EXPECT_EQ(divide(dir3{0.3f, 0, 0}, 3.0f).x, 0.3f * (1.0f / 3.0f));
}

TEST(ValuesComponentwise, AnyDiffersTreatsNaNAsDifferent) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(any_differs(pos3{0, 0, 0}, 0.0f));
    EXPECT_FALSE(any_differs(rev3{-0.0f, 0, 0}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, 0, 1e-30f}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, nan, 0}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, 0, 0}, nan));
}

TEST(ValuesMeasures, LengthDotCrossNormalize) {
    EXPECT_EQ(length(pos3{3, 0, 4}), 5.0f);
    EXPECT_EQ(dot(pos3{1, 2, 3}, dir3{4, -5, 6}), 12.0f);
    expect_bits(cross(pos3{0, 1, 0}, dir3{1, 0, 0}), pos3{0, 0, -1});
    pos3 a{1, 2, 3};
    cross(a, dir3{4, 5, 6}, a);  // aliasing the first operand
    expect_bits(a, pos3{-3, 6, -3});
    expect_bits(normalize(pos3{0, 0, 0}), pos3{0, 0, 0});
    expect_bits(normalize(pos3{3, 0, 4}), pos3{3 * (1.0f / 5), 0, 4 * (1.0f / 5)});
    expect_vec(normalize(pos3{3, 0, 4}), 0.6f, 0, 0.8f);
}

TEST(ValuesGrid, FloorTruncatesTowardZeroAndCeilAddsAStep) {
    EXPECT_EQ(grid_floor(-120.0f, 50.0f), -100.0f);
    EXPECT_EQ(grid_ceil(120.0f, 50.0f), 150.0f);
    EXPECT_EQ(grid_ceil(-120.0f, 50.0f), -100.0f);
    EXPECT_EQ(grid_ceil(100.0f, 50.0f), 100.0f);
    expect_bits(grid_floor(pos3{-120, 120, 49}, 50.0f), pos3{-100, 100, 0});
    expect_bits(grid_floor(pos3{-120, 120, 7}, dir3{50, 25, 2}), pos3{-100, 100, 6});
    pos3 v{121, -3, 5};
    grid_ceil(v, dir3{10, 2, 5}, v);  // in place: compares against the input
    expect_bits(v, pos3{130, -2, 5});
}

TEST(ValuesRotation, ToRot3) {
    const rot3 z = to_rot3(rev3{0, 0, 0});
    EXPECT_EQ(z.angle, 0.0f);
    expect_bits(z.axis, dir3{0, 0, 0});
    const mtx3w m = to_mtx3w(z);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m.m[i], identity_mtx3w.m[i]) << i;
    const rot3 q = to_rot3(rev3{0, 0, -1.5707964f});
    EXPECT_FLOAT_EQ(q.angle, 90.0f);
    expect_bits(q.axis, dir3{0, 0, -1});
    EXPECT_EQ(inverse(q).angle, -q.angle);
}

TEST(ValuesRotation, MatrixNinetyDegreesAboutZ) {
    const mtx3w m = to_mtx3w(rot3{90, dir3{0, 0, 7}});  // the axis is normalised
    EXPECT_NEAR(m.m[0], 0.0f, 1e-7f);
    EXPECT_EQ(m.m[1], 1.0f);
    EXPECT_EQ(m.m[4], -1.0f);
    EXPECT_NEAR(m.m[5], 0.0f, 1e-7f);
    EXPECT_EQ(m.m[10], 1.0f);
    EXPECT_EQ(m.m[15], 1.0f);
    for (int i : {2, 3, 6, 7, 8, 9, 11, 12, 13, 14})
        EXPECT_EQ(m.m[i], 0.0f) << "entry " << i;
    expect_vec(rotate(pos3{1, 0, 0}, rot3{90, dir3{0, 0, 1}}), 0, 1, 0);
}

TEST(ValuesRotation, MatrixWithZeroAxisHasCosineDiagonal) {
    const mtx3w m = to_mtx3w(rot3{60, dir3{0, 0, 0}});
    const float c = std::cos(deg_to_rad(60.0f));
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(m.m[i], i % 5 == 0 ? c : 0.0f) << "entry " << i;
    EXPECT_EQ(m.m[15], 1.0f);
}

TEST(ValuesRotation, MatrixSumsTheRodriguesTermsInFloat) {
    const mtx3w m = to_mtx3w(rot3{37, dir3{1, 2, 2}});
    const float x = 1.0f * (1.0f / 3), y = 2.0f * (1.0f / 3), z = y;
    const float c = std::cos(deg_to_rad(37.0f)), s = std::sin(deg_to_rad(37.0f));
    EXPECT_EQ(m.m[0], x * x + c * (1.0f - x * x) + s * 0.0f);
    EXPECT_EQ(m.m[1], y * x + c * (0.0f - y * x) + s * z);
    EXPECT_EQ(m.m[9], y * z + c * (0.0f - y * z) + s * -x);
}

TEST(ValuesPosture, ComposeRotationVectors) {
    const rev3 a{0, 0, 0.3f}, b{0, 0, 0.45f};
    expect_bits(compose(a, b), a + b);  // one axis: exactly the sum
    const rev3 c = compose(rev3{0.1f, 0, 0}, rev3{0, 0.2f, 0});
    expect_bits(c, rev3{0.1f, 0.2f, 0.5f * (0.1f * 0.2f)});  // plus half the commutator
}

TEST(ValuesPosture, ComposeTurnsFirstPositionBySecondOrientation) {
    const pst3w a{{0, 0, 0.25f}, {0, 0, -0.25f}, {1, 0, 0}};
    const float q = deg_to_rad(90.0f);
    const pst3w b{{0, 0, q}, {0, 0, -q}, {0, 0, 5}};
    const pst3w r = compose(a, b);
    expect_vec(r.pos, 0, 1, 5);
    EXPECT_EQ(r.rev.z, 0.25f + q);
    EXPECT_EQ(r.inv.z, -q + -0.25f);  // undoing rotations in reverse order
    pst3w id;
    expect_bits(compose(a, identity(id)).pos, a.pos);
    const pst3w s = scale(a, 2.0f);
    EXPECT_EQ(s.pos.x, 2.0f);
    EXPECT_EQ(s.inv.z, -0.5f);
}

TEST(ValuesOffsets, ZeroRotationReturnsTheFirstOperand) {
    const pos3 v{1, 2, 3};
    expect_bits(turn_offset(v, zero_rev3, dir3{4, 5, 6}), v);
    expect_bits(revolve_offset(v, zero_rev3, dir3{4, 5, 6}), v);
}

TEST(ValuesOffsets, TurnOffsetIsTheLeverDisplacement) {
    // Lever (1,0,0) x (0,0,1) = (0,-1,0) turned a quarter about z: moved by (1, 1, 0).
    expect_vec(turn_offset(pos3{9, 9, 9}, rev3{0, 0, deg_to_rad(90.0f)}, dir3{1, 0, 0}), 1, 1, 0);
}

TEST(ValuesOffsets, RevolveOffsetWholeAndHalfTurn) {
    const float pi = 3.1415927f;
    ASSERT_EQ(rad_to_deg(2 * pi), 360.0f);
    ASSERT_EQ(rad_to_deg(pi), 180.0f);
    // 360: D = 1, E = 0 -> pi (axis x u); axis x u = (0,0,1) x (0,2,1) = (-2,0,0).
    expect_bits(revolve_offset(pos3{7, 7, 7}, rev3{0, 0, 2 * pi}, dir3{0, 2, 1}), pos3{pi * -2.0f, 0, 0});
    // 180: D = 0.5, E = 1 -> u + 1.5707963 (axis x u).
    expect_bits(revolve_offset(pos3{7, 7, 7}, rev3{0, 0, pi}, dir3{0, 2, 1}),
                pos3{0.0f + (0.5f * pi) * -2.0f, 2, 1});
}

TEST(ValuesOffsets, RevolveOffsetQuarterTurnMixesFloatAndDoubleCosines) {
    const pos3 r = revolve_offset(pos3{}, rev3{3.1415927f / 2, 0, 0}, dir3{0, 1, 0});
    const float phi = deg_to_rad(0.25f * 180.0f);  // h = 0.25
    const float a = 0.5f - 0.5f * std::cos(phi);
    const float b = static_cast<float>(0.5 - 0.5 * std::cos(a * 3.141592653589793));
    const float e = 0.5f - 0.5f * std::cos(2.0f * phi);
    expect_bits(r, pos3{0, e, (b + a) * 0.5f * 3.1415927f});  // axis x u = (0,0,1)
}
