// Vector, rotation and posture arithmetic, forces and the lens: bit-exact
// where the single-precision order of operations is the point, within a
// tolerance where only the geometry is. The turn and revolve offsets are
// checked by the flight test against an integrated rigid body.

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

}  // namespace

TEST(ValuesVector, ComponentwiseMeasuresAndGrid) {
    const pos3 p{1, 2, 3};
    const dir3 d{0.5f, -1, 4};
    pos3 a{1, 2, 3}, g{121, -3, 5};
    cross(a, dir3{4, 5, 6}, a);       // the result aliases the first operand
    grid_ceil(g, dir3{10, 2, 5}, g);  // in place: compares against the input
    const std::pair<xyz_t, xyz_t> cases[] = {
        {xyz(p + d), {1.5f, 1, 7}},
        {xyz(minimum(pos3{1, -5, 3}, pos3{2, -6, 3})), {1, -6, 3}},
        {xyz(a), {-3, 6, -3}},
        {xyz(cross(dir3{0, 0, 1}, dir3{1, 0, 0})), {0, 1, 0}},
        {xyz(normalize(pos3{0, 0, 0})), {0, 0, 0}},
        {xyz(normalize(pos3{3, 0, 4})), {0.6f, 0, 0.8f}},
        {xyz(divide(dir3{0.3f, 0, 0}, 3.0f)), {0.3f * (1.0f / 3.0f), 0, 0}},  // not 0.3f / 3: one bit apart
        {{length(pos3{3, 0, 4}), dot(p, d), 0}, {5, 10.5f, 0}},
        {xyz(grid_floor(pos3{-120, 120, 49}, 50.0f)), {-100, 100, 0}},  // toward zero
        {{grid_ceil(120.0f, 50.0f), grid_ceil(-120.0f, 50.0f), grid_ceil(100.0f, 50.0f)}, {150, -100, 100}},
        {xyz(grid_ceil(pos3{121, -3, 5}, dir3{10, 2, 5})), {130, -2, 5}},
    };
    for (const auto& [got, wanted] : cases) EXPECT_EQ(got, wanted) << "case " << &got - &cases[0].first;

    const float nan = std::numeric_limits<float>::quiet_NaN();  // counts as differing
    EXPECT_FALSE(any_differs(pos3{0, 0, 0}, 0.0f) || any_differs(rev3{-0.0f, 0, 0}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, 0, 1e-30f}, 0.0f) && any_differs(pos3{0, nan, 0}, 0.0f));
    EXPECT_TRUE(any_differs(pos3{0, 0, 0}, nan));
}

TEST(ValuesPosture, RotationsAndComposition) {
    const rot3 none = to_rot3(rev3{0, 0, 0});  // angle 0 about no axis: the identity
    EXPECT_TRUE(none.angle == 0 && xyz(none.axis) == (xyz_t{0, 0, 0}));
    const mtx3w c = to_mtx3w(rot3{60, dir3{0, 0, 0}});  // no axis: cos on the diagonal
    for (int i = 0; i < 16; ++i) EXPECT_EQ(c.m[i], i == 15 ? 1.0f : i % 5 == 0 ? std::cos(deg_to_rad(60.0f)) : 0.0f);

    const rev3 a{0, 0, 0.3f}, b{0, 0, 0.45f};
    EXPECT_EQ(xyz(compose(a, b)), xyz(a + b));  // one axis: exactly the sum
    // First a then b: a's position turned by b's orientation, then moved by
    // b's; the undoing rotations compose in the reverse order.
    const float q = deg_to_rad(90.0f);
    const pst3w r = compose(pst3w{{0, 0, 0.25f}, {-0.1f, 0, 0}, {1, 0, 0}}, pst3w{{0, 0, q}, {0, -0.2f, 0}, {0, 0, 5}});
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(xyz(r.pos)[i], (xyz_t{0, 1, 5})[i], 1e-6f);
    EXPECT_EQ(r.rev.z, 0.25f + q);
    EXPECT_EQ(xyz(r.inv), (xyz_t{-0.1f, -0.2f, 0.5f * -(0.2f * 0.1f)}));
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

TEST(ValuesCamera, TheDiagonalSpansTheFieldOfView) {
    perspective p;
    set_aspect(p, 1920, 1080);
    const projection j = to_projection(p);
    EXPECT_TRUE(j.left == -j.right && j.bottom == -j.top && j.znear == 0.1 && j.zfar == 1000.1);
    EXPECT_NEAR(j.right / j.top, 1920.0 / 1080.0, 1e-12);
    EXPECT_NEAR(std::hypot(j.right, j.top), 0.1 * std::tan(static_cast<float>(p.fov) / 2.0), 1e-12);
}
