// The timeline's closed-form flight against an RK4 integration of the same
// rigid body in doubles: it turns at its angular velocity (body axes), its
// velocity is inertial (start-of-step axes), its thrust fixed in the body.

#include <array>
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "framework/event_coords.h"

using namespace libgr;

namespace {

using vec = std::array<double, 3>;
using mat = std::array<vec, 3>;  // rows: body axes to start-of-step axes

vec times(const mat& m, const vec& v, bool transposed = false) {
    vec r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i] += (transposed ? m[j][i] : m[i][j]) * v[j];
    return r;
}
double distance(const vec& a, const vec& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }
vec axpy(double k, const vec& x, const vec& y) { return {k * x[0] + y[0], k * x[1] + y[1], k * x[2] + y[2]}; }
vec cross(const vec& a, const vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
const mat unit{vec{1, 0, 0}, vec{0, 1, 0}, vec{0, 0, 1}};

// Largest distance between the axes turned by rotation vector r (Rodrigues)
// and by m, or by m's transpose.
double turn_miss(const rev3& r, const mat& m, bool transposed) {
    const double th = std::hypot(r.x, r.y, r.z), c = std::cos(th), s = std::sin(th);
    const vec n = axpy(th == 0 ? 0 : 1 / th, vec{r.x, r.y, r.z}, {});
    double worst = 0;
    for (int k = 0; k < 3; ++k) {
        const vec turned = axpy(c, unit[k], axpy(s, cross(n, unit[k]), axpy((1 - c) * n[k], n, {})));
        worst = std::max(worst, distance(turned, times(m, unit[k], transposed)));
    }
    return worst;
}

struct body {
    mat q;     // turn
    vec p, u;  // position, velocity
};

body fly(double dt, const vec& w0, const vec& alpha, const vec& v, const vec& a) {
    // dq/dt = q [w]x with w = w0 + alpha t; dp/dt = u; du/dt = q a.
    const auto rate = [&](const body& s, double t) {
        const vec w = axpy(t, alpha, w0);
        return body{{cross(s.q[0], w), cross(s.q[1], w), cross(s.q[2], w)}, s.u, times(s.q, a)};
    };
    const auto plus = [](const body& s, double k, const body& d) {
        return body{{axpy(k, d.q[0], s.q[0]), axpy(k, d.q[1], s.q[1]), axpy(k, d.q[2], s.q[2])},
                    axpy(k, d.p, s.p),
                    axpy(k, d.u, s.u)};
    };
    body s{unit, {}, v};
    const int n = static_cast<int>(std::ceil(dt / 1e-4));
    const double h = dt / n;
    for (int k = 0; k < n; ++k) {
        const body k1 = rate(s, k * h), k2 = rate(plus(s, h / 2, k1), (k + 0.5) * h);
        const body k3 = rate(plus(s, h / 2, k2), (k + 0.5) * h), k4 = rate(plus(s, h, k3), (k + 1) * h);
        s = plus(plus(plus(plus(s, h / 6, k1), h / 3, k2), h / 3, k3), h / 6, k4);
    }
    return s;
}

}  // namespace

// Covered: constant angular velocity below one turn per second (whole turns
// per second count as none for the thrust, by design) with any linear
// velocity and body thrust; angular acceleration about the axis of the turn
// without thrust.
// (Off that axis rotation vectors compose to first order only, and thrust is
// turned at the starting rate.)
TEST(Flight, ClosedFormFollowsTheIntegratedRigidBody) {
    const struct {
        const char* name;
        vec w, alpha, v, a;
    } cases[] = {
        {"turn only", {0, 0.6, 0}, {}, {1, 0, -3}, {}},
        {"thrust only", {}, {}, {0.5, 0, -2}, {0, 0, -5}},
        {"turn, thrust across", {0, 0.8, 0}, {}, {0, 0, -2}, {0, 0, -5}},
        {"roll, thrust along", {0, 0, 1.0}, {}, {1, 0, 0}, {0, 0, -5}},
        {"all three axes", {0.3, -0.4, 0.5}, {}, {2, 1, -4}, {1, -2, -3}},
        {"spin-up about the turn axis", {0, 0.4, 0}, {0, 0.2, 0}, {1, 0, -2}, {}},
    };
    const auto rv = [](const vec& x, float k = 1) { return rev3{k * float(x[0]), k * float(x[1]), k * float(x[2])}; };
    const auto ps = [](const vec& x) { return pos3{float(x[0]), float(x[1]), float(x[2])}; };
    const auto d = [](const auto& x) { return vec{x.x, x.y, x.z}; };
    for (const auto& c : cases) {
        for (const float dt : {0.01f, 1.0f, 10.0f}) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << dt << " s");
            rates_t r = {{rv(c.w), rv(c.w, -1), ps(c.v)}, {rv(c.alpha), rv(c.alpha, -1), ps(c.a)}};
            const pst3w accelerations = r[1], moved = displacement(r, dt), stepped = step_rates(r, dt);
            EXPECT_EQ(std::memcmp(&moved, &stepped, sizeof moved), 0) << "one motion";

            // Tolerances: 1e-6 of the motion's size, some 16 float roundings
            // (seen: at most 1.5e-7), where a lost or doubled term costs at
            // least 6e-3; a float turn angle carries 6e-8 of itself.
            const body s = fly(dt, c.w, c.alpha, c.v, c.a);
            const auto len = [](const vec& x) { return std::hypot(x[0], x[1], x[2]); };
            const double size = len(c.v) * dt + len(c.a) * dt * dt / 2, angle = len(axpy(dt / 2, c.alpha, c.w)) * dt;
            EXPECT_LT(std::max(turn_miss(moved.rev, s.q, false), turn_miss(moved.inv, s.q, true)), 1e-6 * (1 + angle));
            EXPECT_LT(distance(d(moved.pos), s.p), 1e-6 * size);
            EXPECT_LT(distance(d(r[0].pos), times(s.q, s.u, true)), 1e-6 * size / dt);
            const vec w = axpy(dt, c.alpha, c.w);
            EXPECT_LT(distance(d(r[0].rev), w) + distance(d(r[0].inv), axpy(-2, w, w)), 1e-6 * (1 + len(w)));
            // Thrust and torque are fixed in the body: in its axes they stay.
            EXPECT_EQ(std::memcmp(&r[1], &accelerations, sizeof accelerations), 0) << "accelerations";
        }
    }
}
