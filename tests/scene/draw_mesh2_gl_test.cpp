// DrawMesh2 in GL feedback mode: the walk against the lattice as documented,
// the rows the scene's list draws against the walk, and refused Builds.

#include "scene/draw_mesh2.h"

#include "gl_test_context.h"
#include "feedback_capture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

using libgr::dir3;
using wg_test::FeedbackResult;
using wg_test::FeedbackVertex;
using Shape = std::vector<int>;  // rounded x, y, z of one dot or of a line's two ends

namespace {

dir3 all(float v) { return dir3{v, v, v}; }

std::vector<int> grid(int from, int to, int step) {
    std::vector<int> g;
    for (int v = from; v <= to; v += step) g.push_back(v);
    return g;
}

std::multiset<Shape> shapes(const std::vector<FeedbackVertex>& v, std::size_t per) {
    std::multiset<Shape> s;
    for (std::size_t i = 0; i + per <= v.size(); i += per) {
        Shape shape;
        for (std::size_t k = i; k < i + per; ++k)
            for (float c : {v[k].x, v[k].y, v[k].z}) shape.push_back(static_cast<int>(std::lround(c)));
        s.insert(shape);
    }
    return s;
}

// Lines from -b to b along each axis, at every position of the outer walk
// over the lower other axis and of the inner walk over the higher one.
std::multiset<Shape> lattice_lines(int b, const std::vector<int>& outer, const std::vector<int>& inner) {
    std::multiset<Shape> s;
    for (int axis = 0; axis < 3; ++axis)
        for (int o : outer)
            for (int i : inner) {
                int p[3];
                p[axis == 0 ? 1 : 0] = o;
                p[axis == 2 ? 1 : 2] = i;
                Shape shape;
                for (int end : {-b, b}) p[axis] = end, shape.insert(shape.end(), p, p + 3);
                s.insert(shape);
            }
    return s;
}

void expect_same(const std::vector<FeedbackVertex>& got, const std::vector<FeedbackVertex>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const float off =
            std::fabs(got[i].x - want[i].x) + std::fabs(got[i].y - want[i].y) + std::fabs(got[i].z - want[i].z);
        ASSERT_TRUE(off < 0.05f && got[i].s == want[i].s) << "vertex " << i;  // far below a feedback pixel
    }
}

class DrawMesh2GLTest : public wg_test::GLTest {
protected:
    // One drawing, which must leave the modelview stack as it found it.
    static FeedbackResult feedback(const std::function<void()>& draw, std::size_t max_vertices) {
        GLint depth[2] = {0, 0};
        GLfloat m[16];
        auto fb = wg_test::CaptureFeedback(1500.0f, max_vertices, [&] {
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[0]);
            draw();
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[1]);
            glGetFloatv(GL_MODELVIEW_MATRIX, m);
        });
        EXPECT_TRUE(depth[0] == depth[1] && m[12] == 0.0f && m[13] == 0.0f && m[14] == 0.0f && fb.complete);
        return fb;
    }

    // The walk; the rows, drawn directly and from a recorded list as the
    // scene does, must give the same vertices in the same order.
    FeedbackResult capture(std::size_t max_vertices, bool rows = true) {
        EXPECT_EQ(m_mesh.HasRows(), rows);
        const FeedbackResult walk = feedback([&] { m_mesh.Draw(); }, max_vertices);
        DrawMesh2Rows direct(m_mesh);
        libgr::grDspList list;
        EXPECT_TRUE(list.Compile(&direct));
        for (libgr::grObject3D* drawn : std::initializer_list<libgr::grObject3D*>{&direct, &list}) {
            const FeedbackResult got = feedback([&] { drawn->Draw(); }, max_vertices);
            expect_same(got.points, walk.points);
            expect_same(got.lines, walk.lines);
        }
        return walk;
    }

    void expect_refused(const dir3& bounding, const dir3& interval, const std::string& what) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(m_mesh.Build(bounding, interval, true, false)) << what;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(what), std::string::npos) << err;
        EXPECT_TRUE(err.find("lattice kept\n") == err.size() - 13 && std::count(err.begin(), err.end(), '\n') == 1)
            << err;
    }

    DrawMesh2 m_mesh;
};

constexpr std::size_t kDefaultLines = 3 * 41 * 41;

}  // namespace

TEST_F(DrawMesh2GLTest, DefaultLatticeInBothModesKeepsItsListNames) {
    EXPECT_TRUE(capture(16, false).lines.empty());  // never built: nothing, and no hang
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), false, false));
    const std::vector<int> g = grid(-1000, 1000, 50);
    EXPECT_EQ(shapes(capture(2 * kDefaultLines).lines, 2), lattice_lines(1000, g, g));
    const GLuint names[3] = {m_mesh.GetXList().GetName(), m_mesh.GetYList().GetName(), m_mesh.GetZList().GetName()};

    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), true, false));
    const FeedbackResult fb = capture(41 * 41 * 41);
    std::multiset<Shape> dots;
    for (int x : g)
        for (int y : g)
            for (int z : g) dots.insert(Shape{x, y, z});
    EXPECT_TRUE(fb.lines.empty());
    EXPECT_EQ(shapes(fb.points, 1), dots);
    EXPECT_EQ(m_mesh.GetXList().GetName(), names[0]);
    EXPECT_EQ(m_mesh.GetYList().GetName(), names[1]);
    EXPECT_EQ(m_mesh.GetZList().GetName(), names[2]);
}

TEST_F(DrawMesh2GLTest, UnevenZeroAndNegativeExtents) {
    // Negative components count as their magnitudes; the inner walks take
    // one step beyond the uneven extent, to 1100.
    ASSERT_TRUE(m_mesh.Build(all(-1000.0f), dir3{-300.0f, 300.0f, -300.0f}, false, false));
    std::vector<int> inner = grid(-1000, 800, 300);
    inner.push_back(1100);
    EXPECT_EQ(shapes(capture(2 * 3 * 7 * 8).lines, 2), lattice_lines(1000, grid(-1000, 800, 300), inner));

    ASSERT_TRUE(m_mesh.Build(all(0.0f), all(50.0f), true, false));
    EXPECT_EQ(shapes(capture(16).points, 1), (std::multiset<Shape>{Shape{0, 0, 0}}));
    ASSERT_TRUE(m_mesh.Build(all(0.0f), all(50.0f), false, true));
    const FeedbackResult fb = capture(16);
    EXPECT_EQ(shapes(fb.lines, 2), lattice_lines(0, {0}, {0}));
    EXPECT_EQ(fb.lines[1].s, 1.0f);  // the texcoord flag reaches the lines

    for (bool points : {false, true}) {  // rows with different steps per axis, texcoords on
        ASSERT_TRUE(m_mesh.Build(dir3{-1000.0f, 700.0f, 900.0f}, dir3{-300.0f, 250.0f, 130.0f}, points, true));
        capture(4096);
    }
}

TEST_F(DrawMesh2GLTest, RefusedBuildsKeepTheLatticeDrawing) {
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), false, false));
    const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
    expect_refused(all(1000.0f), all(0.0f), "DrawMesh2::Build: interval 0 is not a positive finite step");
    expect_refused(all(1000.0f), all(nan), "interval nan is not a positive finite step");
    expect_refused(all(1000.0f), dir3{50.0f, -inf, 50.0f}, "interval -inf is not a positive finite step");
    expect_refused(dir3{1000.0f, inf, 1000.0f}, all(50.0f), "bounding inf is not finite");
    expect_refused(all(1000.0f), all(1.0f), "needs more than 4000000 list calls");  // 2001 x 2001
    expect_refused(dir3{0.0f, 0.0f, 3e6f}, all(1.0f), "needs more than 4000000 dots per row");
    expect_refused(all(1e9f), all(1.0f), "too small to step across bounding");  // -1e9 + 1 == -1e9
    EXPECT_FALSE(m_mesh.IsPoints());
    EXPECT_EQ(m_mesh.GetInterval().y, 50.0f);
    EXPECT_EQ(capture(2 * kDefaultLines).lines.size(), 2 * kDefaultLines);

    // 1001 x 1001 calls are allowed; rows of that many dots are not recorded
    // (the rows draw the walk) until a smaller rebuild.
    EXPECT_TRUE(m_mesh.Build(all(500.0f), all(1.0f), true, false));
    EXPECT_FALSE(m_mesh.HasRows());
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(300.0f), true, false));
    EXPECT_EQ(capture(7 * 8 * 7).points.size(), 7u * 8u * 7u);
}
