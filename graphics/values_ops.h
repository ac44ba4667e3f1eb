#pragma once
// Arithmetic on the libgr value types.
//
// Every operation takes its operands by reference (scalars by value), writes
// its result into the caller's value passed LAST and returns that value, so
// calls chain without temporaries: add(a, b, r). The result may be one of
// the operands. Vector operations accept any of pos3, dir3 and rev3 (the same
// three floats), mixed freely. Each result component is computed in single
// precision in the order written; results are meant to match bit for bit.
//
// For readable call sites there are value-returning forms (one argument
// fewer, the result has the first operand's type) and the operators
// a + b, a - b, -a. They all call the writing forms.

#include <cmath>
#include <type_traits>

#include "graphics/values.h"

namespace libgr {

template <class T> struct is_vec3 : std::false_type {};
template <> struct is_vec3<pos3> : std::true_type {};
template <> struct is_vec3<dir3> : std::true_type {};
template <> struct is_vec3<rev3> : std::true_type {};
template <class... T> using if_vec3 = std::enable_if_t<(is_vec3<T>::value && ...), int>;

// ---- component-wise ------------------------------------------------------

template <class A, class B, class R, if_vec3<A, B, R> = 0> inline R& add(const A& a, const B& b, R& r) {
    r.x = a.x + b.x;
    r.y = a.y + b.y;
    r.z = a.z + b.z;
    return r;
}

template <class A, class B, class R, if_vec3<A, B, R> = 0> inline R& subtract(const A& a, const B& b, R& r) {
    r.x = a.x - b.x;
    r.y = a.y - b.y;
    r.z = a.z - b.z;
    return r;
}

template <class A, class R, if_vec3<A, R> = 0> inline R& negate(const A& a, R& r) {
    r.x = -a.x;
    r.y = -a.y;
    r.z = -a.z;
    return r;
}

template <class A, class R, if_vec3<A, R> = 0> inline R& scale(const A& a, float s, R& r) {
    r.x = s * a.x;
    r.y = s * a.y;
    r.z = s * a.z;
    return r;
}

// Multiplies by the reciprocal, itself rounded to float first.
template <class A, class R, if_vec3<A, R> = 0> inline R& divide(const A& a, float s, R& r) {
    const float inv = 1.0f / s;
    r.x = a.x * inv;
    r.y = a.y * inv;
    r.z = a.z * inv;
    return r;
}

template <class A, class B, class R, if_vec3<A, B, R> = 0> inline R& minimum(const A& a, const B& b, R& r) {
    r.x = b.x > a.x ? a.x : b.x;
    r.y = b.y > a.y ? a.y : b.y;
    r.z = b.z > a.z ? a.z : b.z;
    return r;
}

template <class A, class B, class R, if_vec3<A, B, R> = 0> inline R& maximum(const A& a, const B& b, R& r) {
    r.x = a.x > b.x ? a.x : b.x;
    r.y = a.y > b.y ? a.y : b.y;
    r.z = a.z > b.z ? a.z : b.z;
    return r;
}

template <class A, class R, if_vec3<A, R> = 0> inline R& absolute(const A& a, R& r) {
    r.x = std::fabs(a.x);
    r.y = std::fabs(a.y);
    r.z = std::fabs(a.z);
    return r;
}

template <class R, if_vec3<R> = 0> inline R& from_scalar(float s, R& r) {
    r.x = s;
    r.y = s;
    r.z = s;
    return r;
}

// False only when every component equals s; NaN (either side) differs.
template <class A, if_vec3<A> = 0> inline bool any_differs(const A& a, float s) {
    return !(a.x == s && a.y == s && a.z == s);
}

// Converts between the three-float vector types.
template <class R, class A, if_vec3<R, A> = 0> inline R vec3_as(const A& a) { return R{a.x, a.y, a.z}; }

// ---- measures ------------------------------------------------------------

template <class A, if_vec3<A> = 0> inline float length(const A& a) {
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

template <class A, class B, if_vec3<A, B> = 0> inline float dot(const A& a, const B& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

template <class A, class B, class R, if_vec3<A, B, R> = 0> inline R& cross(const A& a, const B& b, R& r) {
    const float x = a.y * b.z - a.z * b.y;
    const float y = a.z * b.x - a.x * b.z;
    const float z = a.x * b.y - a.y * b.x;
    r.x = x;
    r.y = y;
    r.z = z;
    return r;
}

// Unit vector along a; the zero vector stays zero.
template <class A, class R, if_vec3<A, R> = 0> inline R& normalize(const A& a, R& r) {
    const float len = length(a);
    if (len == 0.0f) {
        r.x = r.y = r.z = 0.0f;
        return r;
    }
    const float inv = 1.0f / len;
    r.x = a.x * inv;
    r.y = a.y * inv;
    r.z = a.z * inv;
    return r;
}

// Remainder of a / b with the sign of a.
inline float fmod(float a, float b) { return std::fmod(a, b); }

// ---- grid snapping -------------------------------------------------------
// Truncation toward zero: with step 50, 120 -> 100 and -120 -> -100.

inline float grid_floor(float v, float g) {
    float whole = 0.0f;
    std::modf(v * (1.0f / g), &whole);
    return whole * g;
}

// One step above grid_floor where v lies above it: 120 -> 150, -120 -> -100.
inline float grid_ceil(float v, float g) {
    const float f = grid_floor(v, g);
    return v > f ? f + g : f;
}

template <class A, class R, if_vec3<A, R> = 0> inline R& grid_floor(const A& v, float g, R& r) {
    const float x = grid_floor(v.x, g), y = grid_floor(v.y, g), z = grid_floor(v.z, g);
    r.x = x;
    r.y = y;
    r.z = z;
    return r;
}

template <class A, class R, if_vec3<A, R> = 0> inline R& grid_floor(const A& v, const dir3& g, R& r) {
    const float x = grid_floor(v.x, g.x), y = grid_floor(v.y, g.y), z = grid_floor(v.z, g.z);
    r.x = x;
    r.y = y;
    r.z = z;
    return r;
}

template <class A, class R, if_vec3<A, R> = 0> inline R& grid_ceil(const A& v, float g, R& r) {
    const float x = grid_ceil(v.x, g), y = grid_ceil(v.y, g), z = grid_ceil(v.z, g);
    r.x = x;
    r.y = y;
    r.z = z;
    return r;
}

template <class A, class R, if_vec3<A, R> = 0> inline R& grid_ceil(const A& v, const dir3& g, R& r) {
    const float x = grid_ceil(v.x, g.x), y = grid_ceil(v.y, g.y), z = grid_ceil(v.z, g.z);
    r.x = x;
    r.y = y;
    r.z = z;
    return r;
}

// One form a line reads as a table.
// clang-format off
// ---- value-returning forms (result has the first operand's type) ---------

template <class A, class B, if_vec3<A, B> = 0>
inline A add(const A& a, const B& b) { A r; return add(a, b, r); }
template <class A, class B, if_vec3<A, B> = 0>
inline A subtract(const A& a, const B& b) { A r; return subtract(a, b, r); }
template <class A, if_vec3<A> = 0>
inline A negate(const A& a) { A r; return negate(a, r); }
template <class A, if_vec3<A> = 0>
inline A scale(const A& a, float s) { A r; return scale(a, s, r); }
template <class A, if_vec3<A> = 0>
inline A divide(const A& a, float s) { A r; return divide(a, s, r); }
template <class A, class B, if_vec3<A, B> = 0>
inline A minimum(const A& a, const B& b) { A r; return minimum(a, b, r); }
template <class A, class B, if_vec3<A, B> = 0>
inline A maximum(const A& a, const B& b) { A r; return maximum(a, b, r); }
template <class A, if_vec3<A> = 0>
inline A absolute(const A& a) { A r; return absolute(a, r); }
template <class A, class B, if_vec3<A, B> = 0>
inline A cross(const A& a, const B& b) { A r; return cross(a, b, r); }
template <class A, if_vec3<A> = 0>
inline A normalize(const A& a) { A r; return normalize(a, r); }
template <class A, if_vec3<A> = 0>
inline A grid_floor(const A& v, float g) { A r; return grid_floor(v, g, r); }
template <class A, if_vec3<A> = 0>
inline A grid_floor(const A& v, const dir3& g) { A r; return grid_floor(v, g, r); }
template <class A, if_vec3<A> = 0>
inline A grid_ceil(const A& v, float g) { A r; return grid_ceil(v, g, r); }
template <class A, if_vec3<A> = 0>
inline A grid_ceil(const A& v, const dir3& g) { A r; return grid_ceil(v, g, r); }

template <class A, class B, if_vec3<A, B> = 0>
inline A operator+(const A& a, const B& b) { return add(a, b); }
template <class A, class B, if_vec3<A, B> = 0>
inline A operator-(const A& a, const B& b) { return subtract(a, b); }
template <class A, if_vec3<A> = 0>
inline A operator-(const A& a) { return negate(a); }
// clang-format on

// ---- rotations and postures ----------------------------------------------

// Degrees <-> radians with the library's constants (note: not exactly pi/180).
inline float deg_to_rad(float d) { return static_cast<float>(d * 0.017453292519943122); }
inline float rad_to_deg(float r) { return static_cast<float>(r * 57.29577951308232); }

// angle = degrees of |r|, axis = r normalised; the zero vector gives angle 0
// about (0, 0, 0), whose matrix is the identity.
rot3& to_rot3(const rev3& r, rot3& q);
// Same angle about the same axis, turned the other way.
rot3& inverse(const rot3& q, rot3& r);
// The matrix glRotatef(angle, axis) multiplies by (Rodrigues' formula).
mtx3w& to_mtx3w(const rot3& q, mtx3w& m);

// m * (v, 1) without the divide by w.
template <class A, class R, if_vec3<A, R> = 0> inline R& transform(const mtx3w& m, const A& v, R& r) {
    const float* e = m.m;
    const float x = e[0] * v.x + e[4] * v.y + e[8] * v.z + e[12];
    const float y = e[1] * v.x + e[5] * v.y + e[9] * v.z + e[13];
    const float z = e[2] * v.x + e[6] * v.y + e[10] * v.z + e[14];
    r.x = x;
    r.y = y;
    r.z = z;
    return r;
}

template <class A, class R, if_vec3<A, R> = 0> inline R& rotate(const A& v, const rot3& q, R& r) {
    mtx3w m;
    return transform(to_mtx3w(q, m), v, r);
}

// a + b + (a x b) / 2: exact for rotations about one axis, first-order otherwise.
rev3& compose(const rev3& a, const rev3& b, rev3& r);
// First a, then b: orientations composed, a's position turned by b's
// orientation and moved by b's position.
pst3w& compose(const pst3w& a, const pst3w& b, pst3w& r);
// rev, inv and pos all multiplied by s.
pst3w& scale(const pst3w& p, float s, pst3w& r);
pst3w& identity(pst3w& r);

// Displacement of the lever c x axis(r) under the rotation r; v when r is zero.
pos3& turn_offset(const pos3& v, const rev3& r, const dir3& c, pos3& out);
// The displacement that thrust fixed in the body adds while the body turns by
// r, for u = 2 a / w^2 with w the angular speed (a across the axis only); v
// when r is zero.
pos3& revolve_offset(const pos3& v, const rev3& r, const dir3& u, pos3& out);

inline rot3 to_rot3(const rev3& r) {
    rot3 q;
    return to_rot3(r, q);
}
inline rot3 inverse(const rot3& q) {
    rot3 r;
    return inverse(q, r);
}
inline mtx3w to_mtx3w(const rot3& q) {
    mtx3w m;
    return to_mtx3w(q, m);
}
template <class A, if_vec3<A> = 0> inline A transform(const mtx3w& m, const A& v) {
    A r;
    return transform(m, v, r);
}
template <class A, if_vec3<A> = 0> inline A rotate(const A& v, const rot3& q) {
    A r;
    return rotate(v, q, r);
}
inline rev3 compose(const rev3& a, const rev3& b) {
    rev3 r;
    return compose(a, b, r);
}
inline pst3w compose(const pst3w& a, const pst3w& b) {
    pst3w r;
    return compose(a, b, r);
}
inline pst3w scale(const pst3w& p, float s) {
    pst3w r;
    return scale(p, s, r);
}
inline pos3 turn_offset(const pos3& v, const rev3& r, const dir3& c) {
    pos3 o;
    return turn_offset(v, r, c, o);
}
inline pos3 revolve_offset(const pos3& v, const rev3& r, const dir3& u) {
    pos3 o;
    return revolve_offset(v, r, u, o);
}

}  // namespace libgr
