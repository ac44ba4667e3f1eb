// Vector, rotation and posture arithmetic of libgr. Bit-exact where the
// single-precision order of operations is the point, with a tolerance where
// only the geometry is.

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "graphics/values_ops.h"

using namespace libgr;

namespace {

void expect_vec(const pos3& v, float x, float y, float z, float tol = 0.0f) {
    if (tol == 0.0f) {
        EXPECT_FLOAT_EQ(v.x, x);
        EXPECT_FLOAT_EQ(v.y, y);
        EXPECT_FLOAT_EQ(v.z, z);
    } else {
        EXPECT_NEAR(v.x, x, tol);
        EXPECT_NEAR(v.y, y, tol);
        EXPECT_NEAR(v.z, z, tol);
    }
}

template <class A, class B>
void expect_same_bits(const A& a, const B& b) {
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

}  // namespace

TEST(ValuesComponentwise, ArithmeticMixesVectorTypesAndAllowsAliasing) {
    const pos3 p{1, 2, 3};
    const dir3 d{0.5f, -1, 4};
    pos3 r;
    expect_vec(add(p, d, r), 1.5f, 1, 7);
    expect_vec(subtract(p, d, r), 0.5f, 3, -1);
    expect_vec(-p, -1, -2, -3);
    expect_vec(scale(p, 2.0f), 2, 4, 6);
    pos3 q = p;
    add(q, q, q);  // result may be an operand
    expect_vec(q, 2, 4, 6);
    expect_vec(p + d - d, 1, 2, 3);
}

TEST(ValuesComponentwise, DivideMultipliesByTheFloatReciprocal) {
    // 0.3f / 3 and 0.3f * (1/3f) differ in the last bit: the reciprocal form is wanted.
    const float x = 0.3f;
    const float inv = 1.0f / 3.0f;
    ASSERT_NE(x * inv, x / 3.0f);
    const dir3 r = divide(dir3{x, x, x}, 3.0f);
    EXPECT_EQ(r.x, x * inv);
    EXPECT_EQ(r.z, x * inv);
}

TEST(ValuesComponentwise, MinimumMaximumAbsoluteFromScalar) {
    const pos3 a{1, -5, 3}, b{2, -6, 3};
    expect_vec(minimum(a, b), 1, -6, 3);
    expect_vec(maximum(a, b), 2, -5, 3);
    expect_vec(absolute(pos3{-1, 0, 2.5f}), 1, 0, 2.5f);
    pos3 s;
    expect_vec(from_scalar(7.0f, s), 7, 7, 7);
}

TEST(ValuesComponentwise, AnyDiffersTreatsNaNAsDifferent) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(any_differs(pos3{0, 0, 0}, 0.0f));
    EXPECT_FALSE(any_differs(rev3{-0.0f, 0, 0}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, 0, 1e-30f}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, nan, 0}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, 0, 0}, nan));
}

TEST(ValuesMeasures, LengthDotCross) {
    EXPECT_EQ(length(pos3{3, 0, 4}), 5.0f);
    EXPECT_EQ(dot(pos3{1, 2, 3}, dir3{4, -5, 6}), 12.0f);
    expect_vec(cross(pos3{1, 0, 0}, dir3{0, 1, 0}), 0, 0, 1);
    expect_vec(cross(pos3{0, 1, 0}, dir3{1, 0, 0}), 0, 0, -1);
    pos3 a{1, 2, 3};
    cross(a, dir3{4, 5, 6}, a);  // aliasing the first operand
    expect_vec(a, -3, 6, -3);
}

TEST(ValuesMeasures, Normalize) {
    expect_vec(normalize(pos3{0, 0, 0}), 0, 0, 0);
    const pos3 n = normalize(pos3{3, 0, 4});
    EXPECT_EQ(n.x, 3.0f * (1.0f / 5.0f));
    EXPECT_EQ(n.y, 0.0f);
    EXPECT_EQ(n.z, 4.0f * (1.0f / 5.0f));
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
}

TEST(ValuesMeasures, FmodKeepsTheDividendsSign) {
    EXPECT_EQ(libgr::fmod(370.0f, 360.0f), 10.0f);
    EXPECT_EQ(libgr::fmod(-370.0f, 360.0f), -10.0f);
    EXPECT_EQ(libgr::fmod(720.0f, 360.0f), 0.0f);
}

TEST(ValuesGrid, FloorTruncatesTowardZeroAndCeilAddsAStep) {
    EXPECT_EQ(grid_floor(-120.0f, 50.0f), -100.0f);
    EXPECT_EQ(grid_floor(120.0f, 50.0f), 100.0f);
    EXPECT_EQ(grid_ceil(120.0f, 50.0f), 150.0f);
    EXPECT_EQ(grid_ceil(-120.0f, 50.0f), -100.0f);
    EXPECT_EQ(grid_ceil(100.0f, 50.0f), 100.0f);
    expect_vec(grid_floor(pos3{-120, 120, 49}, 50.0f), -100, 100, 0);
    expect_vec(grid_ceil(pos3{-120, 120, 100}, 50.0f), -100, 150, 100);
    expect_vec(grid_floor(pos3{-120, 120, 7}, dir3{50, 25, 2}), -100, 100, 6);
    pos3 v{121, -3, 5};
    grid_ceil(v, dir3{10, 2, 5}, v);  // in place: compares against the input
    expect_vec(v, 130, -2, 5);
}

TEST(ValuesRotation, DegreeConstants) {
    EXPECT_EQ(deg_to_rad(180.0f), static_cast<float>(180.0f * 0.017453292519943122));
    EXPECT_FLOAT_EQ(deg_to_rad(180.0f), 3.14159265f);
    EXPECT_EQ(rad_to_deg(1.0f), static_cast<float>(57.29577951308232));
}

TEST(ValuesRotation, ToRot3AndInverse) {
    const rot3 z = to_rot3(rev3{0, 0, 0});
    EXPECT_EQ(z.angle, 0.0f);
    expect_vec(vec3_as<pos3>(z.axis), 0, 0, 0);
    EXPECT_EQ(to_mtx3w(z).m[0], 1.0f);
    EXPECT_EQ(to_mtx3w(z).m[5], 1.0f);

    const rot3 q = to_rot3(rev3{0, 0, -1.5707964f});
    EXPECT_FLOAT_EQ(q.angle, 90.0f);
    expect_vec(vec3_as<pos3>(q.axis), 0, 0, -1);
    const rot3 i = inverse(q);
    EXPECT_EQ(i.angle, -q.angle);
    EXPECT_EQ(i.axis.z, q.axis.z);
}

TEST(ValuesRotation, MatrixNinetyDegreesAboutZ) {
    const mtx3w m = to_mtx3w(rot3{90, dir3{0, 0, 1}});
    EXPECT_NEAR(m.m[0], 0.0f, 1e-7f);
    EXPECT_EQ(m.m[1], 1.0f);
    EXPECT_EQ(m.m[4], -1.0f);
    EXPECT_NEAR(m.m[5], 0.0f, 1e-7f);
    EXPECT_EQ(m.m[10], 1.0f);
    EXPECT_EQ(m.m[15], 1.0f);
    for (int i : {2, 3, 6, 7, 8, 9, 11, 12, 13, 14})
        EXPECT_EQ(m.m[i], 0.0f) << "entry " << i;
    // The axis is normalised first.
    const mtx3w n = to_mtx3w(rot3{90, dir3{0, 0, 7}});
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(n.m[i], m.m[i]) << "entry " << i;
    // (1, 0, 0) turns to (0, 1, 0).
    expect_vec(rotate(pos3{1, 0, 0}, rot3{90, dir3{0, 0, 1}}), 0, 1, 0, 1e-6f);
}

TEST(ValuesRotation, MatrixWithZeroAxisHasCosineDiagonal) {
    const mtx3w m = to_mtx3w(rot3{60, dir3{0, 0, 0}});
    const float c = std::cos(deg_to_rad(60.0f));
    EXPECT_EQ(m.m[0], c);
    EXPECT_EQ(m.m[5], c);
    EXPECT_EQ(m.m[10], c);
    EXPECT_EQ(m.m[15], 1.0f);
    for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 13, 14})
        EXPECT_EQ(m.m[i], 0.0f) << "entry " << i;
}

TEST(ValuesRotation, MatrixFollowsTheWrittenRodriguesTerms) {
    const rot3 q{37, dir3{1, 2, 2}};
    const mtx3w m = to_mtx3w(q);
    const float x = 1.0f / 3, y = 2.0f * (1.0f / 3), z = 2.0f * (1.0f / 3);
    const dir3 u = normalize(q.axis);
    ASSERT_EQ(u.x, 1.0f * (1.0f / 3.0f));
    const float c = std::cos(deg_to_rad(37.0f)), s = std::sin(deg_to_rad(37.0f));
    EXPECT_EQ(m.m[0], u.x * u.x + c * (1.0f - u.x * u.x) + s * 0.0f);
    EXPECT_EQ(m.m[1], u.y * u.x + c * (0.0f - u.y * u.x) + s * u.z);
    EXPECT_EQ(m.m[9], u.y * u.z + c * (0.0f - u.y * u.z) + s * -u.x);
    EXPECT_NEAR(m.m[2], x * z * (1 - c) - s * y, 1e-6f);
    EXPECT_NEAR(m.m[6], y * z * (1 - c) + s * x, 1e-6f);
    EXPECT_NEAR(m.m[8], x * z * (1 - c) + s * y, 1e-6f);
    // An orthonormal rotation: columns are unit length, the axis stays put.
    EXPECT_NEAR(m.m[0] * m.m[0] + m.m[1] * m.m[1] + m.m[2] * m.m[2], 1.0f, 1e-6f);
    expect_vec(rotate(vec3_as<pos3>(q.axis), q), 1, 2, 2, 1e-5f);
}

TEST(ValuesRotation, TransformAddsTranslationWithoutDivide) {
    mtx3w m = identity_mtx3w;
    m.m[12] = 5;
    m.m[13] = -1;
    m.m[14] = 2;
    m.m[15] = 4;  // ignored: no homogeneous divide
    expect_vec(transform(m, pos3{1, 2, 3}), 6, 1, 5);
}

TEST(ValuesPosture, ComposeRotationVectors) {
    const rev3 a{0, 0, 0.3f}, b{0, 0, 0.45f};
    expect_same_bits(compose(a, b), a + b);  // same axis: exact sum
    const rev3 x{0.1f, 0, 0}, y{0, 0.2f, 0};
    const rev3 c = compose(x, y);
    EXPECT_EQ(c.x, 0.1f);
    EXPECT_EQ(c.y, 0.2f);
    EXPECT_EQ(c.z, 0.5f * (0.1f * 0.2f));  // half the commutator
}

TEST(ValuesPosture, ComposePosturesTurnsFirstPositionBySecondOrientation) {
    pst3w a = identity_pst3w, b = identity_pst3w;
    a.pos = pos3{1, 0, 0};
    a.rev = rev3{0, 0, 0.25f};
    a.inv = rev3{0, 0, -0.25f};
    b.rev = rev3{0, 0, deg_to_rad(90.0f)};
    b.inv = rev3{0, 0, -deg_to_rad(90.0f)};
    b.pos = pos3{0, 0, 5};
    const pst3w r = compose(a, b);
    expect_vec(r.pos, 0, 1, 5, 1e-6f);
    EXPECT_EQ(r.rev.z, 0.25f + deg_to_rad(90.0f));
    EXPECT_EQ(r.inv.z, -deg_to_rad(90.0f) + -0.25f);

    pst3w id;
    const pst3w same = compose(a, identity(id));
    expect_same_bits(same.pos, a.pos);
    expect_same_bits(same.rev, a.rev);

    const pst3w s = scale(a, 2.0f);
    EXPECT_EQ(s.pos.x, 2.0f);
    EXPECT_EQ(s.rev.z, 0.5f);
    EXPECT_EQ(s.inv.z, -0.5f);
}

TEST(ValuesOffsets, ZeroRotationReturnsTheFirstOperand) {
    const pos3 v{1, 2, 3};
    expect_same_bits(turn_offset(v, zero_rev3, dir3{4, 5, 6}), v);
    expect_same_bits(revolve_offset(v, zero_rev3, dir3{4, 5, 6}), v);
}

TEST(ValuesOffsets, TurnOffsetIsTheLeverDisplacement) {
    // Lever d = c x axis = (1,0,0) x (0,0,1) = (0,-1,0); a quarter turn about
    // z moves it to (1,0,0): displacement (1, 1, 0). v is not used.
    const rev3 r{0, 0, deg_to_rad(90.0f)};
    expect_vec(turn_offset(pos3{9, 9, 9}, r, dir3{1, 0, 0}), 1, 1, 0, 1e-6f);
}

TEST(ValuesOffsets, RevolveOffsetWholeTurn) {
    const float two_pi = 2.0f * 3.1415927f;
    ASSERT_EQ(rad_to_deg(two_pi), 360.0f);
    const dir3 u{0, 1, 0};
    const pos3 r = revolve_offset(pos3{7, 7, 7}, rev3{0, 0, two_pi}, u);
    // axis x u = (0,0,1) x (0,1,0) = (-1, 0, 0); D = 1, E = 0.
    EXPECT_EQ(r.x, 3.1415927f * -1.0f);
    EXPECT_EQ(r.y, 0.0f);
    EXPECT_EQ(r.z, 0.0f);
}

TEST(ValuesOffsets, RevolveOffsetHalfTurn) {
    const float pi = 3.1415927f;
    ASSERT_EQ(rad_to_deg(pi), 180.0f);
    const dir3 u{0, 2, 1};
    const pos3 r = revolve_offset(pos3{7, 7, 7}, rev3{0, 0, pi}, u);
    // D = 0.5, E = 1: u + 1.5707963 (axis x u), axis x u = (-2, 0, 0).
    EXPECT_EQ(r.x, 0.0f + (0.5f * pi) * -2.0f);
    EXPECT_EQ(r.y, 2.0f);
    EXPECT_EQ(r.z, 1.0f);
}

TEST(ValuesOffsets, RevolveOffsetQuarterTurnUsesDoubleCosineForB) {
    const float q = 3.1415927f / 2.0f;  // 90 degrees: h = 0.25, phi = pi/4
    const pos3 r = revolve_offset(pos3{}, rev3{q, 0, 0}, dir3{0, 1, 0});
    const float phi = deg_to_rad(0.25f * 180.0f);
    const float a = 0.5f - 0.5f * std::cos(phi);
    const float b = static_cast<float>(0.5 - 0.5 * std::cos(a * 3.141592653589793));
    const float d = (b + a) * 0.5f;
    const float e = 0.5f - 0.5f * std::cos(2.0f * phi);
    // axis x u = (1,0,0) x (0,1,0) = (0,0,1)
    EXPECT_EQ(r.x, 0.0f);
    EXPECT_EQ(r.y, e);
    EXPECT_EQ(r.z, d * 3.1415927f);
    EXPECT_NEAR(e, 0.5f, 1e-6f);
}
