#include "lattice_walk.h"

#include "graphics/values_ops.h"

#include <cmath>

namespace {

// Positions of an outer walk: min, min + step, ... while <= max, in float.
std::vector<float> outer_positions(float min, float max, float step) {
    std::vector<float> v;
    for (float p = min; p <= max;) {
        v.push_back(p);
        const float next = p + step;
        if (!(next > p)) break;
        p = next;
    }
    return v;
}

// Positions of an inner walk: every position below max, then the one the
// last translation reached.
std::vector<float> inner_positions(float min, float max, float step) {
    std::vector<float> v;
    float p = min;
    while (p < max) {
        v.push_back(p);
        const float next = p + step;
        if (!(next > p)) break;
        p = next;
    }
    v.push_back(p);
    return v;
}

void push(std::vector<float>& out, float x, float y, float z) {
    out.push_back(x);
    out.push_back(y);
    out.push_back(z);
}

// Offsets along z of the dots of one row from min to max, spacing step,
// as the segment computes them (line parameter t in steps of step / length).
std::vector<float> dot_offsets(float min, float max, float step) {
    std::vector<float> v;
    const float length = max - min;
    const float dt = step / length;  // infinite for a zero-length row: one dot
    for (float t = 0.0f; t <= 1.0f;) {
        v.push_back(length * t);
        const float next = t + dt;
        if (!(next > t)) break;
        t = next;
    }
    return v;
}

}  // namespace

std::vector<float> lattice_vertices(const DrawMesh2& mesh) {
    std::vector<float> out;
    const libgr::pos3& lo = mesh.GetMin();
    const libgr::pos3& hi = mesh.GetMax();
    const libgr::dir3& s = mesh.GetInterval();
    if (!(s.x > 0.0f && s.y > 0.0f && s.z > 0.0f)) return out;

    const std::vector<float> xs = outer_positions(lo.x, hi.x, s.x);
    const std::vector<float> ys_outer = outer_positions(lo.y, hi.y, s.y);
    const std::vector<float> ys = inner_positions(lo.y, hi.y, s.y);
    const std::vector<float> zs = inner_positions(lo.z, hi.z, s.z);

    if (mesh.IsPoints()) {
        const std::vector<float> dots = dot_offsets(lo.z, hi.z, s.z);
        for (float x : xs)
            for (float y : ys)
                for (float dz : dots) push(out, x, y, lo.z + dz);
        return out;
    }
    for (float x : xs) {
        for (float y : ys) {
            push(out, x, y, lo.z);
            push(out, x, y, hi.z);
        }
        for (float z : zs) {
            push(out, x, lo.y, z);
            push(out, x, hi.y, z);
        }
    }
    for (float y : ys_outer) {
        for (float z : zs) {
            push(out, lo.x, y, z);
            push(out, hi.x, y, z);
        }
    }
    return out;
}
