// The benchmark's floor draws the very lattice the scene draws: its
// vertices against the mesh's walk, read back through GL feedback mode.

#include "bench/lattice_walk.h"

#include "gl_test_context.h"
#include "feedback_capture.h"

#include <gtest/gtest.h>

using libgr::dir3;

namespace {

class BenchLatticeGLTest : public wg_test::GLTest {
protected:
    // The floor's vertices against what the mesh's walk hands to GL, in order.
    void expect_floor_matches_walk(std::size_t max_vertices) {
        const auto fb = wg_test::CaptureFeedback(1500.0f, max_vertices, [&] { m_mesh.Draw(); });
        ASSERT_TRUE(fb.complete);
        const auto& walk = m_mesh.IsPoints() ? fb.points : fb.lines;
        const std::vector<float> v = lattice_vertices(m_mesh);
        ASSERT_EQ(v.size(), walk.size() * 3);
        for (std::size_t i = 0; i < walk.size(); ++i) {
            ASSERT_NEAR(v[3 * i], walk[i].x, 0.05f) << "vertex " << i;
            ASSERT_NEAR(v[3 * i + 1], walk[i].y, 0.05f) << "vertex " << i;
            ASSERT_NEAR(v[3 * i + 2], walk[i].z, 0.05f) << "vertex " << i;
        }
    }

    DrawMesh2 m_mesh;
};

TEST_F(BenchLatticeGLTest, FloorDrawsTheWalksVerticesInItsOrder) {
    EXPECT_TRUE(lattice_vertices(m_mesh).empty());  // never built
    ASSERT_TRUE(m_mesh.Build(dir3{1000.0f, 1000.0f, 1000.0f}, dir3{50.0f, 50.0f, 50.0f}, false, false));
    expect_floor_matches_walk(2 * 3 * 41 * 41);
    ASSERT_TRUE(m_mesh.Build(dir3{1000.0f, 1000.0f, 1000.0f}, dir3{50.0f, 50.0f, 50.0f}, true, false));
    expect_floor_matches_walk(41 * 41 * 41);
    // Uneven extents: the inner walks end one step beyond the bounding.
    ASSERT_TRUE(m_mesh.Build(dir3{1000.0f, 700.0f, 900.0f}, dir3{300.0f, 250.0f, 130.0f}, false, false));
    expect_floor_matches_walk(4096);
    ASSERT_TRUE(m_mesh.Build(dir3{1000.0f, 700.0f, 900.0f}, dir3{300.0f, 250.0f, 130.0f}, true, false));
    expect_floor_matches_walk(4096);
    ASSERT_TRUE(m_mesh.Build(dir3{0.0f, 0.0f, 0.0f}, dir3{50.0f, 50.0f, 50.0f}, false, false));
    expect_floor_matches_walk(16);
}

}  // namespace
