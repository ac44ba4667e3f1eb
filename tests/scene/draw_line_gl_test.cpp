// DrawLine: a solid GL_LINES pair or a row of dots, read back through GL
// feedback mode.

#include "graphics/display_list.h"
#include "scene/draw_line.h"

#include "../graphics/feedback_capture.h"
#include "gl_test_context.h"

#include <cmath>
#include <limits>

using libgr::pos3;

namespace {

using DrawLineGLTest = wg_test::GLTest;

wg_test::FeedbackResult draw(const pos3& start, const pos3& end, float spacing, bool texcoord = true) {
    DrawLine line;
    line.Set(start, end, spacing, texcoord);
    libgr::grDspList list;  // recorded, as the lattice does
    list.Compile(&line);
    return wg_test::CaptureFeedback(1500.0f, 64, [&] { list.Draw(); });
}

}  // namespace

TEST_F(DrawLineGLTest, ZeroSpacingIsOneLineWithTexcoordsZeroAndOne) {
    const auto fb = draw(pos3{-100.0f, 20.0f, 30.0f}, pos3{400.0f, 20.0f, -30.0f}, 0.0f);
    ASSERT_EQ(fb.lines.size(), 2u);
    EXPECT_TRUE(fb.points.empty());
    EXPECT_NEAR(fb.lines[0].x, -100.0f, 0.05f);
    EXPECT_NEAR(fb.lines[1].z, -30.0f, 0.05f);
    EXPECT_EQ(fb.lines[0].s, 0.0f);
    EXPECT_EQ(fb.lines[1].s, 1.0f);

    glTexCoord1f(0.5f);  // without the flag the current coordinate stays
    for (const auto& v : draw(pos3{0, 0, 0}, pos3{100, 0, 0}, 0.0f, false).lines) EXPECT_EQ(v.s, 0.5f);
    for (const auto& v : draw(pos3{0, 0, 0}, pos3{100, 0, 0}, 25.0f, false).points) EXPECT_EQ(v.s, 0.5f);
    glTexCoord1f(0.0f);
}

TEST_F(DrawLineGLTest, LengthTwoThousandAtFiftyGives41Dots) {
    const auto fb = draw(pos3{-1000.0f, -1000.0f, -1000.0f}, pos3{-1000.0f, -1000.0f, 1000.0f}, 50.0f);
    ASSERT_EQ(fb.points.size(), 41u);
    float t = 0.0f;
    for (std::size_t i = 0; i < 41; ++i, t += 0.025f) {
        EXPECT_EQ(fb.points[i].s, t) << i;
        EXPECT_NEAR(fb.points[i].z, -1000.0f + 50.0f * i, 0.05f) << i;
    }
    EXPECT_NEAR(fb.points.back().s, 0.99999958f, 2e-7f);
    // A negative spacing counts as its magnitude and terminates.
    EXPECT_EQ(draw(pos3{0, 0, -1000.0f}, pos3{0, 0, 1000.0f}, -50.0f).points.size(), 41u);
}

TEST_F(DrawLineGLTest, ZeroLengthOrLongSpacingGivesOneDotOnTheStart) {
    for (float end_x : {7.0f, 17.0f}) {
        const auto fb = draw(pos3{7.0f, 8.0f, 9.0f}, pos3{end_x, 8.0f, 9.0f}, 50.0f);
        ASSERT_EQ(fb.points.size(), 1u) << end_x;
        EXPECT_NEAR(fb.points[0].x, 7.0f, 0.05f);
        EXPECT_EQ(fb.points[0].s, 0.0f);
    }
    EXPECT_EQ(draw(pos3{0, 0, 0}, pos3{100, 0, 0}, std::nanf("")).points.size(), 1u);
}

TEST_F(DrawLineGLTest, CountVerticesFollowsTheWalkAndSeesAStall) {
    DrawLine line;
    bool stalled = true;
    line.Set(pos3{0, 0, 0}, pos3{0, 0, 100.0f}, 12.5f, false);
    EXPECT_EQ(line.CountVertices(1000, &stalled), 9u);
    EXPECT_FALSE(stalled);
    EXPECT_EQ(line.CountVertices(3), 4u);  // stops one past the limit
    // A step too small to move the parameter in single precision.
    line.Set(pos3{0, 0, -1e9f}, pos3{0, 0, 1e9f}, 1.0f, false);
    line.CountVertices(std::numeric_limits<std::uint64_t>::max(), &stalled);
    EXPECT_TRUE(stalled);
}
