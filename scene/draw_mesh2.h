#pragma once
// The hall lattice: a cube centred on the origin, cut by lines (or rows of
// dots) parallel to the three axes at a fixed interval. Three DrawLine
// segments, one per axis and as long as the cube's edge, are recorded once
// into display lists; DrawBody replays them at every grid position under
// glTranslatef, so it holds no vertices of its own and can itself be
// recorded into a display list. DrawRows draws the same lattice from three
// more lists, each holding one whole row of copies, with far fewer calls.

#include "graphics/display_list.h"
#include "graphics/values.h"
#include "scene/draw_line.h"

class DrawMesh2 : public libgr::grObject3D {
public:
    DrawMesh2();

    // Lattice from -|bounding| to +|bounding| with steps |interval| per
    // axis; points: rows of dots along z instead of lines; texcoord: the
    // lines emit 1D texture coordinates. Needs a current GL context.
    // Refuses (false, one line on stderr, previous lattice kept) a zero or
    // non-finite interval, a non-finite bounding, a step too small to
    // advance across the bounding in single precision, or a lattice beyond
    // the bounds of scene/lattice_cost.h. True once recorded.
    bool Build(const libgr::dir3& bounding, const libgr::dir3& interval, bool points, bool texcoord);

    // The lattice walk: matrix pushes/pops, translations and list calls.
    // Draws nothing before the first successful Build.
    void DrawBody() override;

    // The same lattice in the same order from the three row lists: each row
    // holds one whole inner walk of a segment (all its copies along one
    // axis) as one primitive, the walk's translations added into its
    // vertices, and the outer walks call the rows under glTranslatef. A
    // software renderer pays for every list call that draws: 123 here
    // against 5043 in DrawBody at the defaults. Object coordinates differ
    // from DrawBody's by whole intervals. DrawBody where GL gave Build no
    // list for the rows. Matrix pushes/pops, translations and list calls only.
    void DrawRows();
    // The row lists hold the current lattice.
    bool HasRows() const { return m_rows; }

    const libgr::pos3& GetMin() const { return m_min; }
    const libgr::pos3& GetMax() const { return m_max; }
    const libgr::dir3& GetInterval() const { return m_interval; }
    bool IsPoints() const { return m_points; }
    bool HasTexcoord() const { return m_texcoord; }
    const libgr::grDspList& GetXList() const { return m_xlist; }
    const libgr::grDspList& GetYList() const { return m_ylist; }
    const libgr::grDspList& GetZList() const { return m_zlist; }

private:
    DrawLine m_xline;
    DrawLine m_yline;
    DrawLine m_zline;
    libgr::grDspList m_xlist;
    libgr::grDspList m_ylist;
    libgr::grDspList m_zlist;
    libgr::grDspList m_xrow;  // x-lines at every z position (line mode)
    libgr::grDspList m_yrow;  // y-lines at every z position (line mode)
    libgr::grDspList m_zrow;  // z-lines (rows of dots) at every y position
    bool m_rows = false;      // the rows hold the current lattice
    libgr::pos3 m_min;
    libgr::pos3 m_max;
    libgr::dir3 m_interval;
    bool m_points;
    bool m_texcoord;
};

// A mesh's DrawRows as a drawable of its own, to record into a display list.
class DrawMesh2Rows : public libgr::grObject3D {
public:
    explicit DrawMesh2Rows(DrawMesh2& mesh) : m_mesh(mesh) {}
    void DrawBody() override { m_mesh.DrawRows(); }

private:
    DrawMesh2& m_mesh;
};
