#include "scene/lattice_cost.h"

#include "graphics/values_ops.h"
#include "scene/draw_line.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

namespace {

constexpr std::uint64_t saturated = std::numeric_limits<std::uint64_t>::max();

std::uint64_t times(std::uint64_t a, std::uint64_t b) { return (a != 0 && b > saturated / a) ? saturated : a * b; }

std::uint64_t plus(std::uint64_t a, std::uint64_t b) { return a > saturated - b ? saturated : a + b; }

// Positions one axis's walks visit in DrawMesh2's float arithmetic: the
// outer walk those <= max, the inner walk those < max and one more. Past
// limit positions counting stops; the counts then exceed limit.
struct axis_count_t {
    std::uint64_t outer = 0;
    std::uint64_t inner = 0;
    bool stalled = false;  // v + step == v before passing max
};

axis_count_t count_axis(float min, float max, float step, std::uint64_t limit) {
    axis_count_t c;
    std::uint64_t below = 0;
    for (float v = min; v <= max && c.outer <= limit;) {
        if (v < max) ++below;
        ++c.outer;
        const float next = v + step;
        if (!(next > v)) {
            c.stalled = true;
            break;
        }
        v = next;
    }
    c.inner = below + 1;
    return c;
}

// Any one axis of a lattice within the bounds has fewer positions than
// this: each appears once per position in a list (as a call or a row copy).
constexpr std::uint64_t count_limit = lattice_max_list_commands;

lattice_cost_t cost_within(const libgr::dir3& bounding, const libgr::dir3& interval, bool points, std::uint64_t limit) {
    const libgr::dir3 b = libgr::absolute(bounding);
    const libgr::dir3 step = libgr::absolute(interval);
    const axis_count_t x = count_axis(-b.x, b.x, step.x, limit);
    const axis_count_t y = count_axis(-b.y, b.y, step.y, limit);
    lattice_cost_t cost;
    cost.points = points;
    if (points) {
        // One row of dots along z, copied along y into the row list, whose
        // copies the outer walk over x calls.
        DrawLine dots;
        dots.Set(libgr::pos3{-b.x, -b.y, -b.z}, libgr::pos3{-b.x, -b.y, b.z}, step.z, false);
        bool dots_stalled = false;
        const std::uint64_t row = dots.CountVertices(limit, &dots_stalled);
        cost.list_vertices = plus(4 + row, times(y.inner, row));  // the idle x and y segments hold two each
        cost.list_commands = plus(2, times(2, x.outer));
        cost.drawn_vertices = times(times(x.outer, y.inner), row);
        cost.stalled = x.stalled || y.stalled || dots_stalled;
        return cost;
    }
    const axis_count_t z = count_axis(-b.z, b.z, step.z, limit);
    // Rows: z-lines at every y, y-lines and x-lines at every z, two vertices a line.
    cost.list_vertices = plus(6, times(2, plus(y.inner, times(2, z.inner))));
    cost.list_commands = plus(4, plus(times(3, x.outer), times(2, y.outer)));
    cost.drawn_vertices = times(2, plus(times(x.outer, plus(y.inner, z.inner)), times(y.outer, z.inner)));
    cost.stalled = x.stalled || y.stalled || z.stalled;
    return cost;
}

bool fits(const lattice_cost_t& cost) { return lattice_excess(cost).empty(); }

float positive_float(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::uint32_t bits_of(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

}  // namespace

lattice_cost_t lattice_cost(const libgr::dir3& bounding, const libgr::dir3& interval, bool points) {
    return cost_within(bounding, interval, points, count_limit);
}

std::string lattice_excess(const lattice_cost_t& cost) {
    std::ostringstream why;
    if (cost.stalled)
        why << "has a step too small to cross the bounding in single precision";
    else if (const std::uint64_t most = cost.points ? lattice_max_dots : lattice_max_line_vertices;
             cost.drawn_vertices > most)
        why << "would draw " << (cost.drawn_vertices == saturated ? "over 2^64" : std::to_string(cost.drawn_vertices))
            << (cost.points ? " dots" : " line vertices") << " a frame, more than " << most;
    else if (cost.list_vertices > lattice_max_list_vertices)
        why << "would record " << cost.list_vertices << " vertices in display lists, more than "
            << lattice_max_list_vertices;
    else if (cost.list_commands > lattice_max_list_commands)
        why << "would record " << cost.list_commands << " list commands, more than " << lattice_max_list_commands;
    return why.str();
}

float smallest_fitting_interval(float bounding, float interval, bool points) {
    const float b = std::fabs(bounding);
    const auto fits_with = [&](float step, std::uint64_t limit) {
        return fits(cost_within(libgr::dir3{b, b, b}, libgr::dir3{step, step, step}, points, limit));
    };
    // A cube within the drawn bound has fewer positions per axis than this
    // (6 n^2 vertices of lines, n^3 dots), so longer walks need not be counted.
    const double per_axis = points ? std::cbrt(static_cast<double>(lattice_max_dots))
                                   : std::sqrt(static_cast<double>(lattice_max_line_vertices) / 6.0);
    const std::uint64_t limit = static_cast<std::uint64_t>(per_axis) + 2;
    const float low = std::fabs(interval);
    if (fits_with(low, limit)) return low;
    float high = std::max(low, static_cast<float>(2.0 * b / per_axis));
    while (!fits_with(high, limit)) {
        if (!std::isfinite(high)) return high;
        high *= 2.0f;
    }
    // Positive floats are ordered as their bit patterns, and the counts only
    // shrink as the step grows: halve the patterns between low and high.
    std::uint32_t below = bits_of(low), fitting = bits_of(high);
    while (fitting - below > 1) {
        const std::uint32_t middle = below + (fitting - below) / 2;
        (fits_with(positive_float(middle), limit) ? fitting : below) = middle;
    }
    return positive_float(fitting);
}
