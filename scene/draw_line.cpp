#include "scene/draw_line.h"

#include "graphics/values_gl.h"
#include "graphics/values_ops.h"

#include <GL/gl.h>

#include <cmath>

using libgr::dir3;
using libgr::pos3;

DrawLine::DrawLine() : m_start{0.0f, 0.0f, 0.0f}, m_end{0.0f, 0.0f, 0.0f}, m_spacing(0.0f), m_texcoord(false) {}

void DrawLine::Set(const pos3& start, const pos3& end, float spacing, bool texcoord) {
    m_start = start;
    m_end = end;
    m_spacing = spacing;
    m_texcoord = texcoord;
}

template <class Emit> bool DrawLine::WalkDots(Emit emit) const {
    dir3 d;
    libgr::subtract(m_end, m_start, d);
    // Line parameter per dot; a zero-length segment gives an infinite step
    // and so exactly one dot.
    const float step = std::fabs(m_spacing) / libgr::length(d);
    float t = 0.0f;
    while (t <= 1.0f) {
        const pos3 p{m_start.x + d.x * t, m_start.y + d.y * t, m_start.z + d.z * t};
        if (!emit(t, p)) return true;
        const float next = t + step;
        // A step too small to move t (or NaN) would never pass the end.
        if (!(next > t)) return false;
        t = next;
    }
    return true;
}

void DrawLine::DrawBody() {
    if (m_spacing == 0.0f) {
        glBegin(GL_LINES);
        if (m_texcoord) glTexCoord1f(0.0f);
        libgr::vertex(m_start);
        if (m_texcoord) glTexCoord1f(1.0f);
        libgr::vertex(m_end);
        glEnd();
        return;
    }
    glBegin(GL_POINTS);
    WalkDots([this](float t, const pos3& p) {
        if (m_texcoord) glTexCoord1f(t);
        libgr::vertex(p);
        return true;
    });
    glEnd();
}

void DrawLine::EmitVertices(const pos3& offset) const {
    const auto emit = [&](float t, const pos3& p) {
        if (m_texcoord) glTexCoord1f(t);
        glVertex3f(p.x + offset.x, p.y + offset.y, p.z + offset.z);
        return true;
    };
    if (m_spacing == 0.0f) {
        emit(0.0f, m_start);
        emit(1.0f, m_end);
        return;
    }
    WalkDots(emit);
}

std::uint64_t DrawLine::CountVertices(std::uint64_t limit, bool* stalled) const {
    if (stalled) *stalled = false;
    if (m_spacing == 0.0f) return 2;
    std::uint64_t count = 0;
    const bool finished = WalkDots([&](float, const pos3&) { return ++count <= limit; });
    if (stalled) *stalled = !finished;
    return count;
}
