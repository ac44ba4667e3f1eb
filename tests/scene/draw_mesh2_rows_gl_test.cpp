// DrawMesh2::DrawRows against the lattice walk it replaces in the scene's
// display list: the same vertices in the same order, read back through GL
// feedback mode, directly and from a recorded list.

#include "scene/draw_mesh2.h"

#include "../graphics/feedback_capture.h"
#include "gl_test_context.h"

#include <cmath>

using libgr::dir3;
using wg_test::FeedbackResult;
using wg_test::FeedbackVertex;

namespace {

dir3 all(float v) { return dir3{v, v, v}; }

class DrawMesh2RowsGLTest : public wg_test::GLTest {
protected:
    FeedbackResult capture(const std::function<void()>& draw, std::size_t max_vertices) {
        auto fb = wg_test::CaptureFeedback(1500.0f, max_vertices, draw);
        EXPECT_TRUE(fb.complete);
        return fb;
    }

    // Walk and rows give the same points and line ends, in order.
    void expect_same_as_walk(std::size_t max_vertices) {
        EXPECT_TRUE(m_mesh.HasRows());
        const FeedbackResult walk = capture([&] { m_mesh.Draw(); }, max_vertices);
        DrawMesh2Rows rows(m_mesh);
        const FeedbackResult direct = capture([&] { rows.Draw(); }, max_vertices);
        libgr::grDspList list;
        ASSERT_TRUE(list.Compile(&rows));
        const FeedbackResult listed = capture([&] { list.Draw(); }, max_vertices);
        for (const FeedbackResult* got : {&direct, &listed}) {
            ASSERT_EQ(got->points.size(), walk.points.size());
            ASSERT_EQ(got->lines.size(), walk.lines.size());
            for (std::size_t i = 0; i < walk.points.size(); ++i) expect_same(got->points[i], walk.points[i], i);
            for (std::size_t i = 0; i < walk.lines.size(); ++i) expect_same(got->lines[i], walk.lines[i], i);
        }
    }

    static void expect_same(const FeedbackVertex& a, const FeedbackVertex& b, std::size_t i) {
        // Feedback maps through a 256-pixel window: 0.05 units is far below
        // what it resolves between two lattice positions.
        ASSERT_NEAR(a.x, b.x, 0.05f) << "vertex " << i;
        ASSERT_NEAR(a.y, b.y, 0.05f) << "vertex " << i;
        ASSERT_NEAR(a.z, b.z, 0.05f) << "vertex " << i;
        ASSERT_EQ(a.s, b.s) << "vertex " << i;
    }

    DrawMesh2 m_mesh;
};

}  // namespace

TEST_F(DrawMesh2RowsGLTest, NeverBuiltDrawsNothing) {
    EXPECT_FALSE(m_mesh.HasRows());
    DrawMesh2Rows rows(m_mesh);
    const FeedbackResult fb = capture([&] { rows.Draw(); }, 16);
    EXPECT_TRUE(fb.points.empty());
    EXPECT_TRUE(fb.lines.empty());
}

TEST_F(DrawMesh2RowsGLTest, DefaultLinesAndDotsMatchTheWalk) {
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), false, false));
    expect_same_as_walk(2 * 3 * 41 * 41);
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), true, false));
    expect_same_as_walk(41 * 41 * 41);
}

TEST_F(DrawMesh2RowsGLTest, UnevenExtentsAndTextureCoordinatesMatchTheWalk) {
    // Inner walks one step beyond max, different steps per axis, negative
    // bounding and interval, and the lines' own texture coordinates.
    ASSERT_TRUE(m_mesh.Build(dir3{-1000.0f, 700.0f, 900.0f}, dir3{-300.0f, 250.0f, 130.0f}, false, true));
    expect_same_as_walk(4096);
    ASSERT_TRUE(m_mesh.Build(dir3{1000.0f, 700.0f, 900.0f}, dir3{300.0f, 250.0f, 130.0f}, true, true));
    expect_same_as_walk(4096);
    ASSERT_TRUE(m_mesh.Build(all(0.0f), all(50.0f), false, true));
    expect_same_as_walk(16);
}

TEST_F(DrawMesh2RowsGLTest, StippleCoordinatesDifferFromTheWalksByWholePeriods) {
    // The stipple pass generates s = (x + y + z) / I from object coordinates.
    // The copies in a row carry their translations (whole intervals) in
    // their vertices, so s moves by whole periods of the repeating stipple
    // texture, and every texel stays the same.
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(50.0f), false, false));
    const GLfloat plane[4] = {1.0f / 50.0f, 1.0f / 50.0f, 1.0f / 50.0f, 0.0f};
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, plane);
    glEnable(GL_TEXTURE_GEN_S);
    // Coordinates are generated for units with a complete texture only.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_1D, texture);
    const GLubyte texels[2] = {0, 255};
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage1D(GL_TEXTURE_1D, 0, GL_LUMINANCE, 2, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels);
    glEnable(GL_TEXTURE_1D);
    const FeedbackResult walk = capture([&] { m_mesh.Draw(); }, 2 * 3 * 41 * 41);
    DrawMesh2Rows rows(m_mesh);
    const FeedbackResult direct = capture([&] { rows.Draw(); }, 2 * 3 * 41 * 41);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_GEN_S);
    glBindTexture(GL_TEXTURE_1D, 0);
    glDeleteTextures(1, &texture);
    ASSERT_EQ(direct.lines.size(), walk.lines.size());
    int shifted = 0;
    for (std::size_t i = 0; i < walk.lines.size(); ++i) {
        const float d = direct.lines[i].s - walk.lines[i].s;
        ASSERT_NEAR(d, std::round(d), 1e-4f) << "vertex " << i;
        shifted += d != 0.0f;
    }
    EXPECT_GT(shifted, 0);  // the check above saw real translations
}

TEST_F(DrawMesh2RowsGLTest, RowsBeyondTheBudgetLeaveTheWalkInPlace) {
    // 1201 rows of 1201 dots make a row of 1.4e6 vertices: no rows, and
    // DrawRows draws as DrawBody does.
    ASSERT_TRUE(m_mesh.Build(all(600.0f), all(1.0f), true, false));
    EXPECT_FALSE(m_mesh.HasRows());
    // A rebuild within the budget records them again.
    ASSERT_TRUE(m_mesh.Build(all(1000.0f), all(300.0f), true, false));
    expect_same_as_walk(7 * 8 * 7);
}
