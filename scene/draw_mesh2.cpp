#include "scene/draw_mesh2.h"

#include "graphics/values_ops.h"
#include "scene/lattice_cost.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>

using libgr::dir3;
using libgr::pos3;

namespace {

// v = min, min + step, ... while v <= max; body() at each.
template <class Body> void outer_walk(float min, float max, float step, Body body) {
    for (float v = min; v <= max;) {
        body();
        const float next = v + step;
        if (!(next > v)) break;  // Build never leaves such a step
        v = next;
    }
}

// draw() at every position below max, advance() by one step after each,
// and draw() once more after the last step.
template <class Draw, class Advance> void inner_walk(float min, float max, float step, Draw draw, Advance advance) {
    for (float v = min; v < max;) {
        draw();
        advance();
        const float next = v + step;
        if (!(next > v)) break;
        v = next;
    }
    draw();
}

// The list at every inner-walk position, translated by (dx, dy, dz) each step.
void inner_walk(float min, float max, float step, libgr::grDspList& list, float dx, float dy, float dz) {
    inner_walk(
        min, max, step, [&] { list.DrawBody(); }, [&] { glTranslatef(dx, dy, dz); });
}

// One inner walk of a segment as one primitive: the copies' translations
// (axis 1 = y, 2 = z) added into their vertices.
class RowBody : public libgr::grObject3D {
public:
    RowBody(const DrawLine& line, bool points, int axis, float min, float max, float step)
        : m_line(line), m_points(points), m_axis(axis), m_min(min), m_max(max), m_step(step) {}

    void DrawBody() override {
        glBegin(m_points ? GL_POINTS : GL_LINES);
        pos3 at{0.0f, 0.0f, 0.0f};
        float& moving = m_axis == 1 ? at.y : at.z;
        inner_walk(
            m_min, m_max, m_step, [&] { m_line.EmitVertices(at); }, [&] { moving += m_step; });
        glEnd();
    }

private:
    const DrawLine& m_line;
    bool m_points;
    int m_axis;
    float m_min, m_max, m_step;
};

// "(x, y, z)" for the refusal messages.
struct Triple {
    const dir3& v;
};

std::ostream& operator<<(std::ostream& out, Triple t) {
    return out << '(' << t.v.x << ", " << t.v.y << ", " << t.v.z << ')';
}

}  // namespace

DrawMesh2::DrawMesh2()
    : m_min{0.0f, 0.0f, 0.0f},
      m_max{0.0f, 0.0f, 0.0f},
      m_interval{0.0f, 0.0f, 0.0f},
      m_points(false),
      m_texcoord(false) {}

bool DrawMesh2::Build(const dir3& bounding, const dir3& interval, bool points, bool texcoord) {
    const float given_b[3] = {bounding.x, bounding.y, bounding.z};
    const float given_i[3] = {interval.x, interval.y, interval.z};
    for (int k = 0; k < 3; ++k) {
        if (!(std::fabs(given_i[k]) > 0.0f) || !std::isfinite(given_i[k])) {
            std::cerr << "DrawMesh2::Build: interval " << given_i[k] << " is not a positive finite step; lattice kept"
                      << std::endl;
            return false;
        }
        if (!std::isfinite(given_b[k])) {
            std::cerr << "DrawMesh2::Build: bounding " << given_b[k] << " is not finite; lattice kept" << std::endl;
            return false;
        }
    }

    const dir3 neg = libgr::negate(bounding);
    const pos3 min = libgr::vec3_as<pos3>(libgr::minimum(neg, bounding));
    const pos3 max = libgr::vec3_as<pos3>(libgr::maximum(neg, bounding));
    const dir3 step = libgr::absolute(interval);
    const pos3 start{min.x, min.y, min.z};

    // Counted before anything is recorded: a lattice the lists or a frame
    // cannot hold is refused.
    const std::string excess = lattice_excess(lattice_cost(bounding, interval, points));
    if (!excess.empty()) {
        std::cerr << "DrawMesh2::Build: bounding " << Triple{bounding} << " with interval " << Triple{interval} << ' '
                  << excess << "; lattice kept" << std::endl;
        return false;
    }

    m_min = min;
    m_max = max;
    m_interval = step;
    m_points = points;
    m_texcoord = texcoord;
    if (points) {
        m_zline.Set(start, pos3{min.x, min.y, max.z}, step.z, texcoord);
    } else {
        m_xline.Set(start, pos3{max.x, min.y, min.z}, 0.0f, texcoord);
        m_yline.Set(start, pos3{min.x, max.y, min.z}, 0.0f, texcoord);
        m_zline.Set(start, pos3{min.x, min.y, max.z}, 0.0f, texcoord);
    }
    // All three in both modes: each keeps its list name.
    bool recorded = m_xlist.Compile(&m_xline);
    recorded = m_ylist.Compile(&m_yline) && recorded;
    recorded = m_zlist.Compile(&m_zline) && recorded;
    if (!recorded) std::cerr << "DrawMesh2::Build: the segment display lists could not be recorded" << std::endl;

    // The rows DrawRows calls. One not recorded is never called.
    m_rows = recorded;
    if (m_rows) {
        RowBody zrow(m_zline, points, 1, min.y, max.y, step.y);
        m_rows = m_zrow.Compile(&zrow);
        if (!points) {
            RowBody yrow(m_yline, false, 2, min.z, max.z, step.z);
            RowBody xrow(m_xline, false, 2, min.z, max.z, step.z);
            m_rows = m_yrow.Compile(&yrow) && m_xrow.Compile(&xrow) && m_rows;
        }
    }
    return recorded;
}

void DrawMesh2::DrawBody() {
    if (!(m_interval.x > 0.0f && m_interval.y > 0.0f && m_interval.z > 0.0f)) return;  // never built
    const dir3 s = m_interval;

    glPushMatrix();
    outer_walk(m_min.x, m_max.x, s.x, [&] {
        glPushMatrix();
        inner_walk(m_min.y, m_max.y, s.y, m_zlist, 0.0f, s.y, 0.0f);
        glPopMatrix();
        if (!m_points) {
            glPushMatrix();
            inner_walk(m_min.z, m_max.z, s.z, m_ylist, 0.0f, 0.0f, s.z);
            glPopMatrix();
        }
        glTranslatef(s.x, 0.0f, 0.0f);
    });
    glPopMatrix();
    if (m_points) return;

    glPushMatrix();
    outer_walk(m_min.y, m_max.y, s.y, [&] {
        glPushMatrix();
        inner_walk(m_min.z, m_max.z, s.z, m_xlist, 0.0f, 0.0f, s.z);
        glPopMatrix();
        glTranslatef(0.0f, s.y, 0.0f);
    });
    glPopMatrix();
}

void DrawMesh2::DrawRows() {
    if (!m_rows) {
        DrawBody();
        return;
    }
    const dir3 s = m_interval;
    // DrawBody's outer walks, each inner walk replaced by its row.
    glPushMatrix();
    outer_walk(m_min.x, m_max.x, s.x, [&] {
        m_zrow.DrawBody();
        if (!m_points) m_yrow.DrawBody();
        glTranslatef(s.x, 0.0f, 0.0f);
    });
    glPopMatrix();
    if (m_points) return;

    glPushMatrix();
    outer_walk(m_min.y, m_max.y, s.y, [&] {
        m_xrow.DrawBody();
        glTranslatef(0.0f, s.y, 0.0f);
    });
    glPopMatrix();
}
