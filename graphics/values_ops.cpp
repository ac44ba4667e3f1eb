#include "graphics/values_ops.h"

#include <cmath>

namespace libgr {

rot3& to_rot3(const rev3& r, rot3& q) {
    const float angle = rad_to_deg(length(r));
    dir3 axis;
    normalize(r, axis);
    q.angle = angle;
    q.axis = axis;
    return q;
}

rot3& inverse(const rot3& q, rot3& r) {
    r.angle = -q.angle;
    r.axis = q.axis;
    return r;
}

mtx3w& to_mtx3w(const rot3& q, mtx3w& m) {
    const float theta = deg_to_rad(q.angle);
    dir3 u;
    normalize(q.axis, u);
    const float x = u.x, y = u.y, z = u.z;

    // R = A + cos(theta) (I - A) + sin(theta) K, entry by entry.
    float a[16] = {};  // outer product of the unit axis
    a[0] = x * x;
    a[1] = y * x;
    a[2] = x * z;
    a[4] = x * y;
    a[5] = y * y;
    a[6] = y * z;
    a[8] = x * z;
    a[9] = y * z;
    a[10] = z * z;
    a[15] = 1.0f;
    float k[16] = {};  // cross-product matrix
    k[1] = z;
    k[2] = -y;
    k[4] = -z;
    k[6] = x;
    k[8] = y;
    k[9] = -x;
    k[15] = 1.0f;

    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const float* id = identity_mtx3w.m;
    for (int col = 0; col < 3; ++col) {
        for (int row = 0; row < 3; ++row) {
            const int i = 4 * col + row;
            const float cs = c * (id[i] - a[i]);
            const float sk = s * k[i];
            m.m[i] = a[i] + cs + sk;
        }
        m.m[4 * col + 3] = 0.0f;
    }
    m.m[12] = m.m[13] = m.m[14] = 0.0f;
    m.m[15] = 1.0f;
    return m;
}

rev3& compose(const rev3& a, const rev3& b, rev3& r) {
    rev3 c;
    cross(a, b, c);
    const float x = a.x + b.x + 0.5f * c.x;
    const float y = a.y + b.y + 0.5f * c.y;
    const float z = a.z + b.z + 0.5f * c.z;
    r.x = x;
    r.y = y;
    r.z = z;
    return r;
}

pst3w& compose(const pst3w& a, const pst3w& b, pst3w& r) {
    rev3 rev, inv;
    compose(a.rev, b.rev, rev);
    compose(b.inv, a.inv, inv);  // the undoing rotations compose in reverse
    pos3 pos;
    mtx3w m;
    transform(to_mtx3w(to_rot3(b.rev), m), a.pos, pos);
    add(pos, b.pos, pos);
    r.rev = rev;
    r.inv = inv;
    r.pos = pos;
    return r;
}

pst3w& scale(const pst3w& p, float s, pst3w& r) {
    scale(p.rev, s, r.rev);
    scale(p.inv, s, r.inv);
    scale(p.pos, s, r.pos);
    return r;
}

pst3w& identity(pst3w& r) {
    r = identity_pst3w;
    return r;
}

namespace {
bool all_zero(const rev3& r) { return r.x == 0.0f && r.y == 0.0f && r.z == 0.0f; }
}  // namespace

pos3& turn_offset(const pos3& v, const rev3& r, const dir3& c, pos3& out) {
    if (all_zero(r)) {
        out = v;
        return out;
    }
    const rot3 q = to_rot3(r);
    dir3 d;
    cross(c, q.axis, d);
    mtx3w m;
    to_mtx3w(q, m);
    pos3 turned;
    transform(m, d, turned);
    return subtract(turned, d, out);
}

pos3& revolve_offset(const pos3& v, const rev3& r, const dir3& u, pos3& out) {
    if (all_zero(r)) {
        out = v;
        return out;
    }
    // Thrust fixed in a body turning at w through theta = w t: twice
    // integrated it moves (1 - cos theta) / w^2 along the thrust and
    // (theta - sin theta) / w^2 across it. u carries 2 a / w^2, so the
    // factors are (1 - cos theta) / 2 and (theta - sin theta) / 2, in double
    // (the second is ~theta^3 / 12 for small steps), without the cancellation
    // of 1 - cos.
    const double theta = length(r);
    dir3 axis;
    normalize(r, axis);
    const double half = std::sin(theta * 0.5);
    const float e = static_cast<float>(half * half);
    const float d = static_cast<float>((theta - std::sin(theta)) * 0.5);

    dir3 c;
    cross(axis, u, c);
    out.x = e * u.x + d * c.x;
    out.y = e * u.y + d * c.y;
    out.z = e * u.z + d * c.z;
    return out;
}

}  // namespace libgr
