// The value types: posture arithmetic, forces and the lens the scene relies on (bit-exact where the single-precision
// order of operations is the point), and their text forms, which give the caller's stream flags back, also when the
// stream throws. The flight test integrates the turn and revolve offsets; the GL test checks the rotations against
// glRotate.

#include <array>
#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "graphics/camera.h"
#include "graphics/force.h"
#include "graphics/text_form.h"
#include "graphics/values_ops.h"

using namespace libgr;

namespace {

using xyz_t = std::array<float, 3>;
template <class V> xyz_t xyz(const V& v) { return {v.x, v.y, v.z}; }  // compared with ==: to the last bit

// Everything inserted into one fresh stream, manipulators included.
template <class... T> std::string text(const T&... items) {
    std::ostringstream os;
    (os << ... << items);
    return os.str();
}

// Fails after eight characters, so the stream throws in the middle of a form.
struct FailingBuf : std::streambuf {
    int budget = 8;
    int_type overflow(int_type c) override { return budget-- > 0 ? c : traits_type::eof(); }
};

}  // namespace

// First a then b: a's position turned by b's orientation, then moved by b's; the undoing rotations compose in the
// reverse order; about one axis the rotations just add. The grid truncates toward zero.
TEST(ValuesPosture, ComposeAndGrid) {
    const float q = deg_to_rad(90.0f);
    const pst3w r = compose(pst3w{{0, 0, 0.25f}, {-0.1f, 0, 0}, {1, 0, 0}}, pst3w{{0, 0, q}, {0, -0.2f, 0}, {0, 0, 5}});
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(xyz(r.pos)[i], (xyz_t{0, 1, 5})[i], 1e-6f);
    EXPECT_EQ(r.rev.z, 0.25f + q);
    EXPECT_EQ(xyz(r.inv), (xyz_t{-0.1f, -0.2f, 0.5f * -(0.2f * 0.1f)}));
    EXPECT_EQ(xyz(grid_floor(pos3{-120, 120, 49}, 50.0f)), (xyz_t{-100, 100, 0}));
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
    EXPECT_EQ((std::array{j.left, j.bottom, j.znear, j.zfar}), (std::array{-j.right, -j.top, 0.1, 1000.1}));
    EXPECT_NEAR(j.right / j.top, 1920.0 / 1080.0, 1e-12);
    EXPECT_NEAR(std::hypot(j.right, j.top), 0.1 * std::tan(static_cast<float>(p.fov) / 2.0), 1e-12);
}

// Fixed notation with six decimals whatever the stream's; byte colours in hex digits, right-aligned whatever the caller
// set; the caller's flags and fill come back.
TEST(TextForm, FixedValuesAndRightAlignedByteColoursLeaveTheStreamAsFound) {
    const std::pair<std::string, std::string> cases[] = {
        {text(pos3{0.1f, -2, 100}), "pos3(0.100000, -2.000000, 100.000000)"},
        {text(col3aub{255, 128, 0, 255}, col3ub{1, 2, 3}, col1aub{0, 171}),
         "col3aub(ff8000ff)col3ub(010203)col1aub(00ab)"},
        {text(std::showbase, std::uppercase, col1ub{10}), "0xcol1ub(0A)"},
        {text(std::left, std::setfill('*'), col1ub{10}, std::setw(3), 7), "col1ub(0a)7**"},
        {text(std::scientific, pos3{1, 2, 3}, ' ', 1.5, ' ', std::showbase, std::hex, col1ub{255}, ' ', 255),
         "pos3(1.000000, 2.000000, 3.000000) 1.500000e+00 0xcol1ub(ff) 0xff"},
    };
    for (const auto& [got, wanted] : cases) EXPECT_EQ(got, wanted);
    for (const bool bytes : {false, true}) {
        FailingBuf buf;
        std::ostream os(&buf);
        os.exceptions(std::ios_base::badbit);
        os << std::scientific << std::showbase;
        const auto before = os.flags();
        EXPECT_THROW(bytes ? os << col3aub({1, 2, 3, 4}) : os << pos3({1, 2, 3}), std::ios_base::failure);
        EXPECT_EQ(os.flags(), before) << "thrown from a " << (bytes ? "byte" : "fixed") << " form";
    }
}
