#pragma once
// A straight segment between two points, drawn as a solid line or as a row
// of dots spacing apart starting on the start point; optionally with a 1D
// texture coordinate that runs from 0 at the start to 1 at the end. Meant
// to be recorded into a display list (grDspList::Compile).

#include "graphics/drawable.h"
#include "graphics/values.h"

#include <cstdint>

class DrawLine : public libgr::grObject3D {
public:
    DrawLine();

    // spacing: distance between dots in the segment's units; exactly 0
    // draws a solid line, a negative spacing counts as its magnitude.
    void Set(const libgr::pos3& start, const libgr::pos3& end, float spacing, bool texcoord);

    // GL_LINES pair, or GL_POINTS row (see Set).
    void DrawBody() override;

    // The vertices (and texture coordinates) of DrawBody moved by offset,
    // inside the caller's glBegin/glEnd: many copies of the segment in one
    // primitive.
    void EmitVertices(const libgr::pos3& offset) const;

    // How many vertices DrawBody would emit, counted without GL and up to
    // limit + 1 at most; stalled is set when the dot walk would stop short
    // of the end because the step is too small for single precision.
    std::uint64_t CountVertices(std::uint64_t limit, bool* stalled = nullptr) const;

    const libgr::pos3& GetStart() const { return m_start; }
    const libgr::pos3& GetEnd() const { return m_end; }
    float GetSpacing() const { return m_spacing; }
    bool HasTexcoord() const { return m_texcoord; }

private:
    // Calls emit(t, p) for each dot while it returns true; returns false
    // when the walk stalls before passing the end.
    template <class Emit> bool WalkDots(Emit emit) const;

    libgr::pos3 m_start;
    libgr::pos3 m_end;
    float m_spacing;
    bool m_texcoord;
};
