// DrawLine recorded into a list, as the lattice uses it, and read back
// through GL feedback mode: a solid pair or a row of dots.

#include "graphics/display_list.h"
#include "scene/draw_line.h"

#include "gl_test_context.h"
#include "feedback_capture.h"

#include <cmath>
#include <utility>

using libgr::pos3;
using DrawLineGLTest = wg_test::GLTest;

namespace {

wg_test::FeedbackResult draw(const pos3& start, const pos3& end, float spacing, bool texcoord = true) {
    DrawLine line;
    line.Set(start, end, spacing, texcoord);
    libgr::grDspList list;
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

TEST_F(DrawLineGLTest, DotsStepBySpacingFromTheStartAndAlwaysEnd) {
    const auto fb = draw(pos3{-1000.0f, -1000.0f, -1000.0f}, pos3{-1000.0f, -1000.0f, 1000.0f}, 50.0f);
    ASSERT_EQ(fb.points.size(), 41u);
    float t = 0.0f;  // the parameter accumulates in single precision
    for (std::size_t i = 0; i < 41; ++i, t += 0.025f) {
        EXPECT_EQ(fb.points[i].s, t) << i;
        EXPECT_NEAR(fb.points[i].z, -1000.0f + 50.0f * i, 0.05f) << i;
    }
    EXPECT_NEAR(fb.points.back().s, 0.99999958f, 2e-7f);
    // A negative spacing counts as its magnitude instead of never ending.
    EXPECT_EQ(draw(pos3{0, 0, -1000.0f}, pos3{0, 0, 1000.0f}, -50.0f).points.size(), 41u);
    // Zero length, spacing beyond the end, or a NaN step: one dot on the start.
    const std::pair<float, float> single[] = {{7.0f, 50.0f}, {17.0f, 50.0f}, {100.0f, std::nanf("")}};
    for (const auto& [end_x, spacing] : single) {
        const auto one = draw(pos3{7.0f, 8.0f, 9.0f}, pos3{end_x, 8.0f, 9.0f}, spacing);
        ASSERT_EQ(one.points.size(), 1u) << end_x;
        EXPECT_NEAR(one.points[0].x, 7.0f, 0.05f);
        EXPECT_EQ(one.points[0].s, 0.0f);
    }
}
