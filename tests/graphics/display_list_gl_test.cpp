// grDspList: one list name per record, shared by copies, deleted by the
// last holder.

#include "graphics/display_list.h"

#include "feedback_capture.h"
#include "gl_test_context.h"

#include <type_traits>

using libgr::grDspList;
using libgr::grObject3D;

namespace {

// Draws one point at (x, 0, 0).
class PointAt : public grObject3D {
public:
    explicit PointAt(float x) : m_x(x) {}
    void DrawBody() override {
        glBegin(GL_POINTS);
        glVertex3f(m_x, 0.0f, 0.0f);
        glEnd();
    }

private:
    float m_x;
};

wg_test::FeedbackResult capture(grObject3D& object) {
    return wg_test::CaptureFeedback(10.0f, 16, [&] { object.Draw(); });
}

using DisplayListGLTest = wg_test::GLTest;

}  // namespace

static_assert(std::is_copy_constructible_v<grDspList> && std::is_copy_assignable_v<grDspList>);

TEST_F(DisplayListGLTest, UncompiledListHasNoNameAndDrawsNothing) {
    // Make sure a list exists under the stand-in name, so a call of it would
    // show up in the feedback.
    const GLuint first = glGenLists(GL_INVALID_VALUE + 1);
    ASSERT_LE(first, static_cast<GLuint>(GL_INVALID_VALUE));
    glNewList(GL_INVALID_VALUE, GL_COMPILE);
    PointAt(1.0f).DrawBody();
    glEndList();

    grDspList list;
    EXPECT_EQ(list.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    const auto fb = capture(list);
    EXPECT_TRUE(fb.points.empty());
    EXPECT_TRUE(fb.lines.empty());
    glDeleteLists(first, GL_INVALID_VALUE + 1);
}

TEST_F(DisplayListGLTest, CompileRecordsTheBodyAndRecompilingKeepsTheName) {
    PointAt one(1.0f), two(2.0f);
    grDspList list;
    EXPECT_TRUE(list.Compile(&one));
    const GLuint name = list.GetName();
    EXPECT_TRUE(glIsList(name));
    auto fb = capture(list);
    ASSERT_EQ(fb.points.size(), 1u);
    EXPECT_NEAR(fb.points[0].x, 1.0f, 1e-4);

    EXPECT_TRUE(list.Compile(&two));
    EXPECT_EQ(list.GetName(), name);
    fb = capture(list);
    ASSERT_EQ(fb.points.size(), 1u);
    EXPECT_NEAR(fb.points[0].x, 2.0f, 1e-4);

    EXPECT_TRUE(list.Compile(nullptr));  // an empty list under the same name
    EXPECT_EQ(list.GetName(), name);
    EXPECT_TRUE(glIsList(name));
    EXPECT_TRUE(capture(list).points.empty());
}

TEST_F(DisplayListGLTest, CopiesShareTheListAndTheLastHolderDeletesIt) {
    PointAt one(1.0f);
    GLuint name = 0;
    auto* original = new grDspList;
    original->Compile(&one);
    name = original->GetName();
    {
        grDspList copy(*original);
        EXPECT_EQ(copy.GetName(), name);
        delete original;
        EXPECT_TRUE(glIsList(name));
        EXPECT_EQ(capture(copy).points.size(), 1u);
    }
    EXPECT_FALSE(glIsList(name));
}

TEST_F(DisplayListGLTest, AssignmentSharesAndReleasesTheOldList) {
    PointAt one(1.0f), two(2.0f);
    grDspList a, b;
    a.Compile(&one);
    b.Compile(&two);
    const GLuint name_a = a.GetName(), name_b = b.GetName();
    ASSERT_NE(name_a, name_b);

    a = b;  // a was the only holder of its list
    EXPECT_FALSE(glIsList(name_a));
    EXPECT_EQ(a.GetName(), name_b);

    const grDspList& same = a;
    a = same;  // self-assignment keeps the shared list
    EXPECT_TRUE(glIsList(name_b));
    b.Release();
    EXPECT_EQ(b.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    EXPECT_TRUE(glIsList(name_b));
    a.Release();
    EXPECT_FALSE(glIsList(name_b));
}

TEST_F(DisplayListGLTest, DeleteListDropsTheGlListAndCompileNamesAgain) {
    PointAt one(1.0f);
    grDspList list;
    list.Compile(&one);
    grDspList copy(list);
    const GLuint name = list.GetName();
    list.DeleteList();
    EXPECT_FALSE(glIsList(name));
    EXPECT_EQ(copy.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));  // the record is shared
    list.Compile(&one);
    EXPECT_TRUE(glIsList(list.GetName()));
    EXPECT_EQ(copy.GetName(), list.GetName());
}
