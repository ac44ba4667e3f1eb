// Vector, rotation and posture arithmetic, forces and the camera lens:
// bit-exact where the single-precision order of operations is the point,
// within a tolerance where only the geometry is.

#include <array>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "graphics/camera.h"
#include "graphics/force.h"
#include "graphics/values_ops.h"

using namespace libgr;

namespace {

using xyz_t = std::array<float, 3>;
template <class V> xyz_t xyz(const V& v) { return {v.x, v.y, v.z}; }  // compared with ==: to the last bit

template <class V> void expect_near(const V& v, const xyz_t& want) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(xyz(v)[i], want[i], 1e-6f) << "component " << i;
}

}  // namespace

TEST(ValuesVector, ComponentwiseMeasuresAndGrid) {
    const pos3 p{1, 2, 3};
    const dir3 d{0.5f, -1, 4};
    EXPECT_EQ(xyz(p + d), (xyz_t{1.5f, 1, 7}));
    EXPECT_EQ(xyz(p - d), (xyz_t{0.5f, 3, -1}));
    EXPECT_EQ(xyz(-p), (xyz_t{-1, -2, -3}));
    EXPECT_EQ(xyz(minimum(pos3{1, -5, 3}, pos3{2, -6, 3})), (xyz_t{1, -6, 3}));
    EXPECT_EQ(xyz(maximum(pos3{1, -5, 3}, pos3{2, -6, 3})), (xyz_t{2, -5, 3}));
    EXPECT_EQ(xyz(absolute(pos3{-1, 0, 2.5f})), (xyz_t{1, 0, 2.5f}));
    // Divide multiplies by the float reciprocal: 0.3f / 3 differs in the last bit.
    ASSERT_NE(0.3f * (1.0f / 3.0f), 0.3f / 3.0f);
    EXPECT_EQ(divide(dir3{0.3f, 0, 0}, 3.0f).x, 0.3f * (1.0f / 3.0f));
    EXPECT_EQ(length(pos3{3, 0, 4}), 5.0f);
    EXPECT_EQ(dot(pos3{1, 2, 3}, dir3{4, -5, 6}), 12.0f);
    pos3 a{1, 2, 3};
    cross(a, dir3{4, 5, 6}, a);  // the result aliases the first operand
    EXPECT_EQ(xyz(a), (xyz_t{-3, 6, -3}));
    EXPECT_EQ(xyz(normalize(pos3{0, 0, 0})), (xyz_t{0, 0, 0}));
    EXPECT_EQ(xyz(normalize(pos3{3, 0, 4})), (xyz_t{0.6f, 0, 0.8f}));

    EXPECT_EQ(grid_floor(-120.0f, 50.0f), -100.0f);  // toward zero
    EXPECT_EQ(grid_ceil(120.0f, 50.0f), 150.0f);
    EXPECT_EQ(grid_ceil(-120.0f, 50.0f), -100.0f);
    EXPECT_EQ(grid_ceil(100.0f, 50.0f), 100.0f);
    EXPECT_EQ(xyz(grid_floor(pos3{-120, 120, 49}, 50.0f)), (xyz_t{-100, 100, 0}));
    EXPECT_EQ(xyz(grid_floor(pos3{-120, 120, 7}, dir3{50, 25, 2})), (xyz_t{-100, 100, 6}));
    pos3 v{121, -3, 5};
    grid_ceil(v, dir3{10, 2, 5}, v);  // in place: compares against the input
    EXPECT_EQ(xyz(v), (xyz_t{130, -2, 5}));
}

TEST(ValuesVector, AnyDiffersTreatsNaNAsDifferent) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(any_differs(pos3{0, 0, 0}, 0.0f) || any_differs(rev3{-0.0f, 0, 0}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, 0, 1e-30f}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, nan, 0}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, 0, 0}, nan));
}

TEST(ValuesRotation, ToRot3AndMatrixEdgeCases) {
    const rot3 z = to_rot3(rev3{0, 0, 0});
    EXPECT_EQ(z.angle, 0.0f);
    EXPECT_EQ(xyz(z.axis), (xyz_t{0, 0, 0}));
    const rot3 q = to_rot3(rev3{0, 0, -1.5707964f});
    EXPECT_FLOAT_EQ(q.angle, 90.0f);
    EXPECT_EQ(xyz(q.axis), (xyz_t{0, 0, -1}));
    EXPECT_EQ(inverse(q).angle, -q.angle);

    const mtx3w id = to_mtx3w(z);  // zero axis: cos 0 on the diagonal, the identity
    const mtx3w c = to_mtx3w(rot3{60, dir3{0, 0, 0}});
    const mtx3w m = to_mtx3w(rot3{90, dir3{0, 0, 7}});  // the axis is normalised
    const float ninety[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(id.m[i], identity_mtx3w.m[i]) << i;
        EXPECT_EQ(c.m[i], i == 15 ? 1.0f : i % 5 == 0 ? std::cos(deg_to_rad(60.0f)) : 0.0f) << i;
        EXPECT_NEAR(m.m[i], ninety[i], i == 0 || i == 5 ? 1e-7f : 0.0f) << i;
    }
    expect_near(rotate(pos3{1, 0, 0}, rot3{90, dir3{0, 0, 1}}), {0, 1, 0});
}

TEST(ValuesPosture, Compose) {
    const rev3 a{0, 0, 0.3f}, b{0, 0, 0.45f};
    EXPECT_EQ(xyz(compose(a, b)), xyz(a + b));  // one axis: exactly the sum
    EXPECT_EQ(xyz(compose(rev3{0.1f, 0, 0}, rev3{0, 0.2f, 0})), (xyz_t{0.1f, 0.2f, 0.5f * (0.1f * 0.2f)}));
    // First a then b: a's position turned by b's orientation, then moved by
    // b's; the undoing rotations compose in the reverse order.
    const float q = deg_to_rad(90.0f);
    const pst3w r = compose(pst3w{{0, 0, 0.25f}, {-0.1f, 0, 0}, {1, 0, 0}}, pst3w{{0, 0, q}, {0, -0.2f, 0}, {0, 0, 5}});
    expect_near(r.pos, {0, 1, 5});
    EXPECT_EQ(r.rev.z, 0.25f + q);
    EXPECT_EQ(xyz(r.inv), (xyz_t{-0.1f, -0.2f, 0.5f * -(0.2f * 0.1f)}));
    const pst3w s = scale(pst3w{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, 2.0f);  // every member
    EXPECT_EQ((std::array<xyz_t, 3>{xyz(s.rev), xyz(s.inv), xyz(s.pos)}),
              (std::array<xyz_t, 3>{xyz_t{2, 4, 6}, xyz_t{8, 10, 12}, xyz_t{14, 16, 18}}));
}

TEST(ValuesOffsets, TurnAndRevolve) {
    const pos3 v{1, 2, 3};
    EXPECT_EQ(xyz(turn_offset(v, zero_rev3, dir3{4, 5, 6})), xyz(v));  // no rotation: the first operand
    EXPECT_EQ(xyz(revolve_offset(v, zero_rev3, dir3{4, 5, 6})), xyz(v));
    // Lever (1,0,0) x (0,0,1) = (0,-1,0) turned a quarter about z: moved by (1, 1, 0).
    expect_near(turn_offset(v, rev3{0, 0, deg_to_rad(90.0f)}, dir3{1, 0, 0}), {1, 1, 0});

    // About z with u = (0,2,1), axis x u = (-2,0,0): a whole turn moves only
    // across, by pi; half a turn by u and pi / 2 across.
    const float pi = 3.1415927f;
    expect_near(revolve_offset(v, rev3{0, 0, 2 * pi}, dir3{0, 2, 1}), {pi * -2.0f, 0, 0});
    expect_near(revolve_offset(v, rev3{0, 0, pi}, dir3{0, 2, 1}), {(0.5f * pi) * -2.0f, 2, 1});
}

TEST(ValuesForce, LeverLengthAndSignSplitTheForce) {
    const struct {
        dir3 p, F, ro, ze, pf, nf;
    } cases[] = {
        {{0, 0, 0}, {0, 0, -5}, {0, 0, 0}, {0, 0, -5}, {0, 0, 0}, {0, 0, 0}},               // on the centre: pushes
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}},                 // unit lever: turns
        {{0, 0, -0.5f}, {1, 0, 4}, {0, -0.5f, 0}, {0.5f, 0, 2}, {0.5f, 0, 0}, {0, 0, -2}},  // half, z < 0
    };
    for (const auto& c : cases) {
        force_t f;
        add_force(fill(f, 0.0f), c.p, c.F);
        dir3 ro, ze;
        split(f, ro, ze);
        const std::array<xyz_t, 4> got{xyz(ro), xyz(ze), xyz(f.pf), xyz(f.nf)};
        EXPECT_EQ(got, (std::array<xyz_t, 4>{xyz(c.ro), xyz(c.ze), xyz(c.pf), xyz(c.nf)})) << "case " << &c - cases;
    }
}

TEST(ValuesCamera, LensProjectionAspectAndFocalLength) {
    perspective p;
    projection j = to_projection(p);
    EXPECT_NEAR(j.right, 0.08, 1e-8);
    EXPECT_NEAR(j.top, 0.06, 1e-8);
    EXPECT_TRUE(j.left == -j.right && j.bottom == -j.top && j.znear == 0.1 && j.zfar == 1000.1);

    set_aspect(p, 1920, 1080);
    j = to_projection(p);
    EXPECT_NEAR(j.right / j.top, 1920.0 / 1080.0, 1e-12);
    // The diagonal, not the height, spans the field of view.
    EXPECT_NEAR(std::hypot(j.right, j.top), 0.1 * std::tan(static_cast<float>(p.fov) / 2.0), 1e-12);
    set_focal_length(p, 21.633307652783937);  // focal length = half diagonal: 90 degrees
    EXPECT_NEAR(p.fov, M_PI / 2, 1e-15);
}
