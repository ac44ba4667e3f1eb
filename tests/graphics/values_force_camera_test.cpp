// Force accumulation and the camera lens.

#include <cmath>

#include <gtest/gtest.h>

#include "graphics/camera.h"
#include "graphics/force.h"

using namespace libgr;

namespace {

void expect_dir(const dir3& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

force_t cleared() {
    force_t f;
    return fill(f, 0.0f);
}

}  // namespace

TEST(ValuesForce, ZeroLeverPushesUnitLeverTurns) {
    force_t f = cleared();
    add_force(f, dir3{0, 0, 0}, dir3{0, 0, -5});
    expect_dir(f.ze, 0, 0, -5);
    expect_dir(f.ro, 0, 0, 0);
    expect_dir(f.pf, 0, 0, 0);

    force_t g = cleared();
    add_force(g, dir3{1, 0, 0}, dir3{0, 1, 0});
    expect_dir(g.ro, 0, 0, 1);
    expect_dir(g.pf, 0, 1, 0);
    expect_dir(g.nf, 0, 0, 0);
    expect_dir(g.ze, 0, 0, 0);
    dir3 ro, ze;
    split(g, ro, ze);
    expect_dir(ro, 0, 0, 1);
    expect_dir(ze, 0, 0, 0);
}

TEST(ValuesForce, LeverSignSplitsPfAndNf) {
    force_t f = cleared();
    add_force(f, dir3{0, 0, -0.5f}, dir3{1, 0, 4});
    // Half-length lever: half central, half on the lever; only z is negative.
    expect_dir(f.ze, 0.5f, 0, 2);
    expect_dir(f.nf, 0, 0, -2);
    expect_dir(f.pf, 0.5f, 0, 0);
    expect_dir(f.ro, 0, -0.5f, 0);
}

TEST(ValuesCamera, DefaultLensAndProjection) {
    const perspective p;
    EXPECT_EQ(p.fov, 1.570796326794881);
    EXPECT_EQ(p.aspect, 1.3333333333333333);
    EXPECT_EQ(p.znear, 0.1);
    EXPECT_EQ(p.zfar, 1000.1);
    const projection j = to_projection(p);
    EXPECT_NEAR(j.right, 0.08, 1e-8);
    EXPECT_NEAR(j.top, 0.06, 1e-8);
    EXPECT_EQ(j.left, -j.right);
    EXPECT_EQ(j.bottom, -j.top);
    EXPECT_EQ(j.znear, 0.1);
    EXPECT_EQ(j.zfar, 1000.1);
    // The fov is rounded to float before the tangent.
    const double t = std::tan(static_cast<double>(static_cast<float>(p.fov)) / 2.0);
    EXPECT_EQ(j.top, t * 1000.1 / std::sqrt(p.aspect * p.aspect + 1.0) * (0.1 / 1000.1));
}

TEST(ValuesCamera, AspectAndFocalLength) {
    perspective p;
    set_aspect(p, 1920, 1080);
    EXPECT_EQ(p.aspect, 1920.0 / 1080.0);
    const projection j = to_projection(p);
    EXPECT_NEAR(j.right / j.top, 1920.0 / 1080.0, 1e-12);
    // The diagonal, not the height, spans the field of view.
    EXPECT_NEAR(std::hypot(j.right, j.top), 0.1 * std::tan(static_cast<float>(p.fov) / 2.0), 1e-12);
    set_focal_length(p, 21.633307652783937);  // focal length = half diagonal: 90 degrees
    EXPECT_NEAR(p.fov, M_PI / 2, 1e-15);
    set_focal_length(p, 50);
    EXPECT_NEAR(p.fov, 2 * std::atan(21.633307652783937 / 50), 1e-15);
}
