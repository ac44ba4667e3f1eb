// DrawMesh2: the lattice walk, read back through GL feedback mode, and the
// Build refusals that keep the previous lattice.

#include "scene/draw_mesh2.h"

#include "../graphics/feedback_capture.h"
#include "gl_test_context.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <string>

using libgr::dir3;
using Cells = std::map<std::pair<int, int>, std::multiset<int>>;

namespace {

dir3 all(float v) { return dir3{v, v, v}; }
int rounded(float v) { return static_cast<int>(std::lround(v)); }

std::multiset<int> grid(int from, int to, int step) {
    std::multiset<int> s;
    for (int v = from; v <= to; v += step) s.insert(v);
    return s;
}

// Lines by the axis they run along (0 = x, 1 = y, 2 = z), keyed by their
// two fixed coordinates in axis order; the values are the line lengths.
struct Lines {
    Cells along[3];
    int skew = 0;
};

Lines classify(const std::vector<wg_test::FeedbackVertex>& ends) {
    Lines l;
    for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
        const int a[3] = {rounded(ends[i].x), rounded(ends[i].y), rounded(ends[i].z)};
        const int b[3] = {rounded(ends[i + 1].x), rounded(ends[i + 1].y), rounded(ends[i + 1].z)};
        int axis = -1, moving = 0;
        for (int k = 0; k < 3; ++k) if (a[k] != b[k]) axis = k, ++moving;
        if (moving != 1) { ++l.skew; continue; }
        l.along[axis][{a[axis == 0 ? 1 : 0], a[axis == 2 ? 1 : 2]}].insert(std::abs(b[axis] - a[axis]));
    }
    return l;
}

std::multiset<int> coords(const Cells& cells, bool second) {
    std::set<int> s;
    for (const auto& kv : cells) s.insert(second ? kv.first.second : kv.first.first);
    return std::multiset<int>(s.begin(), s.end());
}

class DrawMesh2GLTest : public wg_test::GLTest {
protected:
    wg_test::FeedbackResult capture(std::size_t max_vertices) {
        GLint depth[2] = {0, 0};
        GLfloat matrix[16];
        auto fb = wg_test::CaptureFeedback(1500.0f, max_vertices, [&] {
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[0]);
            m_mesh.Draw();
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[1]);
            glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
        });
        EXPECT_EQ(depth[0], depth[1]);
        EXPECT_EQ(matrix[12] + matrix[13] + matrix[14], 0.0f);  // translations undone
        EXPECT_TRUE(fb.complete);
        return fb;
    }

    void expect_refused(const dir3& bounding, const dir3& interval, const std::string& what) {
        testing::internal::CaptureStderr();
        const auto t0 = std::chrono::steady_clock::now();
        EXPECT_FALSE(m_mesh.Build(bounding, interval, true, false));
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 2.0);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(what), std::string::npos) << err;
        EXPECT_TRUE(err.find("lattice kept\n") == err.size() - 13 && std::count(err.begin(), err.end(), '\n') == 1)
            << err;
    }

    DrawMesh2 m_mesh;
};

constexpr std::size_t kDefaultLines = 3 * 41 * 41;

}  // namespace

TEST_F(DrawMesh2GLTest, DefaultLinesStandAt41By41PositionsPerAxis) {
    EXPECT_TRUE(capture(16).lines.empty());  // never built: nothing, and no hang
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), false, false));
    const auto fb = capture(2 * kDefaultLines);
    ASSERT_EQ(fb.lines.size(), 2 * kDefaultLines);
    const Lines l = classify(fb.lines);
    EXPECT_EQ(l.skew, 0);
    for (const Cells& cells : l.along) {
        ASSERT_EQ(cells.size(), 41u * 41u);
        EXPECT_EQ(coords(cells, false), grid(-1000, 1000, 50));
        EXPECT_EQ(coords(cells, true), grid(-1000, 1000, 50));
        for (const auto& kv : cells) ASSERT_EQ(kv.second, std::multiset<int>{2000});
    }
}

TEST_F(DrawMesh2GLTest, DefaultPointsAre41By41RowsOf41Dots) {
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), true, false));
    const auto fb = capture(41 * 41 * 41);
    EXPECT_TRUE(fb.lines.empty());
    Cells rows;
    for (const auto& p : fb.points) rows[{rounded(p.x), rounded(p.y)}].insert(rounded(p.z));
    EXPECT_EQ(rows.size(), 41u * 41u);
    for (const auto& kv : rows) ASSERT_EQ(kv.second, grid(-1000, 1000, 50));
}

TEST_F(DrawMesh2GLTest, InnerWalksTakeOneStepBeyondAnUnevenExtent) {
    // Negative bounding and interval give the lattice of their magnitudes.
    ASSERT_TRUE(m_mesh.Build(all(-1000.0f), dir3{-300.0f, 300.0f, -300.0f}, false, false));
    EXPECT_EQ(m_mesh.GetMin().x, -1000.0f);
    EXPECT_EQ(m_mesh.GetMax().z, 1000.0f);
    EXPECT_EQ(m_mesh.GetInterval().x, 300.0f);
    const auto fb = capture(2 * 3 * 7 * 8);
    ASSERT_EQ(fb.lines.size(), 2u * 3u * 7u * 8u);
    std::multiset<int> inner = grid(-1000, 800, 300);  // the 7 outer positions
    inner.insert(1100);
    for (const Cells& cells : classify(fb.lines).along) {
        EXPECT_EQ(coords(cells, false), grid(-1000, 800, 300));
        EXPECT_EQ(coords(cells, true), inner);
    }
}

TEST_F(DrawMesh2GLTest, ZeroBoundingDrawsEachListOnceAtTheOrigin) {
    ASSERT_TRUE(m_mesh.Build(all(0.0f), all(50.0f), true, false));
    auto fb = capture(16);
    ASSERT_EQ(fb.points.size(), 1u);
    EXPECT_NEAR(std::fabs(fb.points[0].x) + std::fabs(fb.points[0].z), 0.0f, 0.05f);
    ASSERT_TRUE(m_mesh.Build(all(0.0f), all(50.0f), false, true));
    fb = capture(16);
    EXPECT_EQ(fb.lines.size(), 2u * 3u);
    EXPECT_EQ(fb.lines[1].s, 1.0f);  // the texcoord flag reaches the lines
}

TEST_F(DrawMesh2GLTest, RebuildingInAnotherModeKeepsTheThreeListNames) {
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), false, false));
    const GLuint names[3] = {m_mesh.GetXList().GetName(), m_mesh.GetYList().GetName(), m_mesh.GetZList().GetName()};
    ASSERT_TRUE(m_mesh.Build(all(500.0f), all(100.0f), true, false));
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), false, false));
    EXPECT_EQ(m_mesh.GetXList().GetName(), names[0]);
    EXPECT_EQ(m_mesh.GetYList().GetName(), names[1]);
    EXPECT_EQ(m_mesh.GetZList().GetName(), names[2]);
}

TEST_F(DrawMesh2GLTest, RefusedBuildsKeepTheLatticeDrawing) {
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), false, false));
    const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
    expect_refused(all(1000.0f), all(0.0f), "DrawMesh2::Build: interval 0 is not a positive finite step");
    expect_refused(all(1000.0f), all(nan), "interval nan is not a positive finite step");
    expect_refused(all(1000.0f), dir3{50.0f, -inf, 50.0f}, "interval -inf is not a positive finite step");
    expect_refused(dir3{1000.0f, inf, 1000.0f}, all(50.0f), "bounding inf is not finite");
    expect_refused(all(1000.0f), all(1.0f), "needs more than 4000000 list calls");  // 2001 x 2002
    expect_refused(all(1e9f), all(1.0f), "too small to step across bounding");      // -1e9 + 1 == -1e9
    EXPECT_FALSE(m_mesh.IsPoints());
    EXPECT_EQ(m_mesh.GetInterval().y, 50.0f);
    EXPECT_EQ(capture(2 * kDefaultLines).lines.size(), 2 * kDefaultLines);
    EXPECT_TRUE(m_mesh.Build(all(500.0f), all(1.0f), true, false));  // 1001 x 1002 calls: fine
}
