#pragma once
// Geometry value types of libgr: small plain aggregates copied by value.
// Field order and widths are part of the interface (text forms, GL calls
// taking pointers to the first field, the tagged value's payload), so each
// layout is pinned by static_asserts below.
//
// Conventions: a rot3 angle is in degrees (fed to glRotatef as is); a rev3
// is a rotation vector whose length is the angle in radians; an mtx3w is
// column-major (entry 4*col + row, translation in 12..14).

#include <cstddef>
#include <cstdint>

namespace libgr {

// One value type (or tag) a line reads as a table.
// clang-format off
struct pos3 { float x, y, z; };   // point in space
struct dir3 { float x, y, z; };   // direction or free vector, not necessarily unit
struct rev3 { float x, y, z; };   // rotation vector: axis * angle in radians
struct pos2 { float x, y; };
struct dir2 { float x, y; };
struct pos2l { std::int32_t x, y; };
struct dir2l { std::int32_t x, y; };
struct qua { float w, x, y, z; };  // quaternion, scalar part first

// Rotation by angle (degrees) about axis, in glRotatef argument order.
struct rot3 { float angle; dir3 axis; };

// Only their text form is used; the component names are descriptive.
struct plr3 { float radius, azimuth, elevation; };  // polar coordinates
struct ang3 { float yaw, pitch, roll; };            // Euler angles

// Posture: orientation, the orientation that undoes it, and position.
struct pst3w { rev3 rev; rev3 inv; pos3 pos; };
// Displacement as a length along a direction (same layout as rot3).
struct srt3 { float length; dir3 dir; };
// Rigid motion: rotation vector plus displacement.
struct irt3 { rev3 rev; srt3 srt; };

struct vec3w { float x, y, z, w; };  // homogeneous point
struct col3 { float r, g, b; };
struct col3a { float r, g, b, a; };   // handed to glColor4fv
struct txc1 { float s; };
struct txc2 { float s, t; };
struct txc2q { float s, t, q; };
struct txc3 { float s, t, r; };
struct txc3q { float s, t, r, q; };

// 4x4 transform, column-major as OpenGL takes it.
struct mtx3w { float m[16]; };

struct box2 { pos2 first, second; };
struct box3 { pos3 first, second; };
struct dim2 { std::uint32_t width, height; };
struct dim3 { std::uint32_t width, height, depth; };

struct col3aub { std::uint8_t r, g, b, a; };
struct col3ub { std::uint8_t r, g, b; };
struct col1aub { std::uint8_t l, a; };
struct col1ub { std::uint8_t l; };

// Only their text form is used; the component names are descriptive.
struct surface { float a, b, c, d; };  // plane a*x + b*y + c*z + d = 0
struct line2d { float a, b, c; };      // line a*x + b*y + c = 0
struct line3d { dir3 dir; mtx3w frame; mtx3w inv_frame; };

// Frustum bounds in glFrustum argument order.
struct projection { double left, right, bottom, top, znear, zfar; };

// Camera lens. fov is the DIAGONAL field of view in radians; aspect is
// width / height. Defaults: 90 degrees (converted with the library's
// degree constant), 4:3, planes at 0.1 and 1000.1.
struct perspective {
    double fov = 1.570796326794881;
    double aspect = 1.3333333333333333;
    double znear = 0.1;
    double zfar = 1000.1;
};

// Force accumulator for forces applied at lever points (body axes):
// ro sums the moments, ze the central parts, pf/nf the lever-weighted parts
// split by the sign of each lever component.
struct force_t { dir3 ro, ze, pf, nf; };

// Constants.
inline constexpr mtx3w identity_mtx3w{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
inline constexpr pos3 origin_pos3{0, 0, 0};
inline constexpr rev3 zero_rev3{0, 0, 0};
inline constexpr pst3w identity_pst3w{zero_rev3, zero_rev3, origin_pos3};

// Layout checks: sizes and field offsets are binding.
static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE single and double expected");
static_assert(sizeof(pos3) == 12 && offsetof(pos3, z) == 8, "pos3 layout");
static_assert(sizeof(dir3) == 12 && offsetof(dir3, z) == 8, "dir3 layout");
static_assert(sizeof(rev3) == 12 && offsetof(rev3, z) == 8, "rev3 layout");
static_assert(sizeof(pos2) == 8 && offsetof(pos2, y) == 4, "pos2 layout");
static_assert(sizeof(dir2) == 8 && offsetof(dir2, y) == 4, "dir2 layout");
static_assert(sizeof(pos2l) == 8 && offsetof(pos2l, y) == 4, "pos2l layout");
static_assert(sizeof(dir2l) == 8 && offsetof(dir2l, y) == 4, "dir2l layout");
static_assert(sizeof(qua) == 16 && offsetof(qua, w) == 0 && offsetof(qua, z) == 12, "qua layout");
static_assert(sizeof(rot3) == 16 && offsetof(rot3, axis) == 4, "rot3 layout");
static_assert(sizeof(plr3) == 12 && sizeof(ang3) == 12, "plr3/ang3 layout");
static_assert(sizeof(pst3w) == 36 && offsetof(pst3w, inv) == 12 && offsetof(pst3w, pos) == 24,
              "pst3w layout");
static_assert(sizeof(srt3) == 16 && offsetof(srt3, dir) == 4, "srt3 layout");
static_assert(sizeof(irt3) == 28 && offsetof(irt3, srt) == 12, "irt3 layout");
static_assert(sizeof(vec3w) == 16 && offsetof(vec3w, w) == 12, "vec3w layout");
static_assert(sizeof(col3) == 12 && sizeof(col3a) == 16 && offsetof(col3a, a) == 12, "colour layout");
static_assert(sizeof(txc1) == 4 && sizeof(txc2) == 8 && sizeof(txc2q) == 12 && sizeof(txc3) == 12 &&
              sizeof(txc3q) == 16 && offsetof(txc3q, q) == 12, "texture coordinate layout");
static_assert(sizeof(mtx3w) == 64, "mtx3w layout");
static_assert(sizeof(box2) == 16 && offsetof(box2, second) == 8, "box2 layout");
static_assert(sizeof(box3) == 24 && offsetof(box3, second) == 12, "box3 layout");
static_assert(sizeof(dim2) == 8 && sizeof(dim3) == 12 && offsetof(dim3, depth) == 8, "dim layout");
static_assert(sizeof(col3aub) == 4 && offsetof(col3aub, a) == 3, "col3aub layout");
static_assert(sizeof(col3ub) == 3 && sizeof(col1aub) == 2 && sizeof(col1ub) == 1, "byte colour layout");
static_assert(sizeof(surface) == 16 && sizeof(line2d) == 12, "surface/line2d layout");
static_assert(sizeof(line3d) == 140 && offsetof(line3d, frame) == 12 && offsetof(line3d, inv_frame) == 76,
              "line3d layout");
static_assert(sizeof(projection) == 48 && offsetof(projection, zfar) == 40, "projection layout");
static_assert(sizeof(perspective) == 32 && offsetof(perspective, zfar) == 24, "perspective layout");
static_assert(sizeof(force_t) == 48 && offsetof(force_t, ze) == 12 && offsetof(force_t, pf) == 24 &&
              offsetof(force_t, nf) == 36, "force_t layout");
// clang-format on

}  // namespace libgr
