// grDspList: one list name per record, shared by copies, deleted by the
// last holder.

#include "graphics/display_list.h"

#include "feedback_capture.h"
#include "gl_test_context.h"

#include <cmath>

using libgr::grDspList;

namespace {

// Draws one point at (x, 0, 0).
class PointAt : public libgr::grObject3D {
public:
    explicit PointAt(float x) : m_x(x) {}
    void DrawBody() override {
        glBegin(GL_POINTS);
        glVertex3f(m_x, 0.0f, 0.0f);
        glEnd();
    }
    float m_x;
};

// x of the points drawn, to whole units.
std::vector<long> drawn_x(grDspList& list) {
    std::vector<long> xs;
    for (const auto& p : wg_test::CaptureFeedback(10.0f, 16, [&] { list.Draw(); }).points) xs.push_back(std::lround(p.x));
    return xs;
}

using DisplayListGLTest = wg_test::GLTest;

}  // namespace

TEST_F(DisplayListGLTest, UncompiledListDrawsNothingEvenIfTheStandInNameExists) {
    const GLuint first = glGenLists(GL_INVALID_VALUE + 1);  // covers name 0x501
    ASSERT_LE(first, static_cast<GLuint>(GL_INVALID_VALUE));
    glNewList(GL_INVALID_VALUE, GL_COMPILE);
    PointAt(1.0f).DrawBody();
    glEndList();
    grDspList list;
    EXPECT_EQ(list.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    EXPECT_TRUE(drawn_x(list).empty());
    glDeleteLists(first, GL_INVALID_VALUE + 1);
}

TEST_F(DisplayListGLTest, RecompilingReplacesTheContentsUnderOneName) {
    PointAt one(1.0f), two(2.0f);
    grDspList list;
    EXPECT_TRUE(list.Compile(&one));
    const GLuint name = list.GetName();
    EXPECT_EQ(drawn_x(list), std::vector<long>{1});
    EXPECT_TRUE(list.Compile(&two));
    EXPECT_EQ(list.GetName(), name);
    EXPECT_EQ(drawn_x(list), std::vector<long>{2});
    EXPECT_TRUE(list.Compile(nullptr));  // empty list, same name
    EXPECT_TRUE(glIsList(name));
    EXPECT_TRUE(drawn_x(list).empty());
}

TEST_F(DisplayListGLTest, CopiesShareTheListAndTheLastHolderDeletesIt) {
    PointAt one(1.0f), two(2.0f);
    auto* original = new grDspList;
    original->Compile(&one);
    const GLuint name = original->GetName();
    grDspList other;
    other.Compile(&two);
    const GLuint other_name = other.GetName();
    {
        grDspList copy(*original);
        delete original;
        EXPECT_TRUE(glIsList(name));
        EXPECT_EQ(drawn_x(copy), std::vector<long>{1});
        other = copy;  // other was the only holder of its list
        EXPECT_FALSE(glIsList(other_name));
        other = static_cast<const grDspList&>(other);  // self-assignment
    }
    EXPECT_TRUE(glIsList(name));
    EXPECT_EQ(other.GetName(), name);
    other.Release();
    EXPECT_FALSE(glIsList(name));
}

TEST_F(DisplayListGLTest, DeleteListDropsTheGlListForAllHolders) {
    PointAt one(1.0f);
    grDspList list;
    list.Compile(&one);
    const grDspList copy(list);
    const GLuint name = list.GetName();
    list.DeleteList();
    EXPECT_FALSE(glIsList(name));
    EXPECT_EQ(copy.GetName(), static_cast<GLuint>(GL_INVALID_VALUE));
    list.Compile(&one);
    EXPECT_TRUE(glIsList(copy.GetName()));
}
