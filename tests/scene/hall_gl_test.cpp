// The hall's parts with a real GL context. In feedback mode: DrawLine's solid
// pair or row of dots, DrawMesh2's walk against the lattice as documented, the
// rows the scene's list draws against the walk, and the Builds it refuses.
// The generated textures' texels, and what GL holds after their upload.

#include "gl_loader/gl_ext.h"
#include "graphics/image_buffer.h"
#include "graphics/texture_object.h"
#include "graphics/texture_readback.h"
#include "scene/draw_mesh2.h"
#include "scene/line_texture.h"
#include "scene/stipple_texture.h"

#include "feedback_capture.h"
#include "gl_test_context.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using libgr::dir3;
using libgr::pos3;
using wg_test::FeedbackResult;
using Shape = std::vector<int>;
using Bytes = std::vector<std::uint8_t>;
using HallGLTest = wg_test::GLTest;

namespace {

dir3 all(float v) { return dir3{v, v, v}; }

// Feedback of a drawing recorded into a display list, as the lattice is drawn.
FeedbackResult recorded(libgr::grObject3D& object, std::size_t max_vertices) {
    libgr::grDspList list;
    EXPECT_TRUE(list.Compile(&object));
    return wg_test::CaptureFeedback(1500.0f, max_vertices, [&] { list.Draw(); });
}

FeedbackResult line(const pos3& start, const pos3& end, float spacing) {
    DrawLine line;
    line.Set(start, end, spacing, true);
    return recorded(line, 64);
}

// Each `per` vertices in order as one shape: their x, y, z rounded, then the
// first one's texture coordinate in millionths.
std::vector<Shape> shapes(const std::vector<wg_test::FeedbackVertex>& v, std::size_t per = 1) {
    std::vector<Shape> s;
    for (std::size_t i = 0; i + per <= v.size(); i += per) {
        s.emplace_back();
        for (std::size_t k = i; k < i + per; ++k)
            for (float c : {v[k].x, v[k].y, v[k].z}) s.back().push_back(static_cast<int>(std::lround(c)));
        s.back().push_back(static_cast<int>(std::lround(v[i].s * 1e6f)));
    }
    return s;
}

std::multiset<Shape> as_set(const std::vector<Shape>& s) { return {s.begin(), s.end()}; }

// Lines from -b to b along each axis at every position of the outer walk
// (over the lower other axis) and of the inner walk (the higher one), which
// visit n_outer and n_inner positions from -b on.
std::multiset<Shape> lattice(int b, int step, int n_outer, int n_inner) {
    std::multiset<Shape> s;
    for (int axis = 0; axis < 3; ++axis)
        for (int o = -b; o < -b + n_outer * step; o += step)
            for (int i = -b; i < -b + n_inner * step; i += step) {
                int p[3];
                p[axis == 0 ? 1 : 0] = o, p[axis == 2 ? 1 : 2] = i;
                Shape shape;
                for (int end : {-b, b}) p[axis] = end, shape.insert(shape.end(), p, p + 3);
                shape.push_back(0);
                s.insert(shape);
            }
    return s;
}

// The walk of a built mesh, which leaves the model-view matrix as it found
// it; the rows the scene records must give the same vertices in its order.
FeedbackResult walk(DrawMesh2& mesh, std::size_t max_vertices) {
    GLint depth[2] = {};
    GLfloat m[16];
    const FeedbackResult fb = wg_test::CaptureFeedback(1500.0f, max_vertices, [&] {
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[0]);
        mesh.Draw();
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth[1]);
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
    });
    EXPECT_TRUE(fb.complete && depth[0] == depth[1] && m[12] == 0.0f && m[13] == 0.0f && m[14] == 0.0f);
    DrawMesh2Rows rows(mesh);
    const FeedbackResult by_rows = recorded(rows, max_vertices);
    EXPECT_TRUE(shapes(by_rows.points) == shapes(fb.points) && shapes(by_rows.lines) == shapes(fb.lines));
    return fb;
}

}  // namespace

TEST_F(HallGLTest, ALineIsASolidPairOrDotsFromItsStartThatAlwaysEnd) {
    const auto solid = line(pos3{-100.0f, 20.0f, 30.0f}, pos3{400.0f, 20.0f, -30.0f}, 0.0f);
    EXPECT_EQ(shapes(solid.lines), (std::vector<Shape>{{-100, 20, 30, 0}, {400, 20, -30, 1000000}}));
    const auto dots = line(pos3{0, 0, -1000.0f}, pos3{0, 0, 1000.0f}, 50.0f);
    ASSERT_EQ(dots.points.size(), 41u);  // the parameter adds up in single precision to 0.99999958
    EXPECT_TRUE(shapes(dots.points)[0] == (Shape{0, 0, -1000, 0}) && shapes(dots.points)[40][2] == 1000);
    // A negative spacing counts as its magnitude instead of never ending.
    EXPECT_EQ(line(pos3{0, 0, -1000.0f}, pos3{0, 0, 1000.0f}, -50.0f).points.size(), 41u);
    // Zero length, spacing beyond the end, or a NaN step: one dot on the start.
    for (const auto& [end_x, spacing] : {std::pair{7.0f, 50.0f}, std::pair{17.0f, 50.0f}, std::pair{90.0f, NAN}})
        EXPECT_EQ(shapes(line(pos3{7, 8, 9}, pos3{end_x, 8, 9}, spacing).points), (std::vector<Shape>{{7, 8, 9, 0}}));
}

TEST_F(HallGLTest, TheWalkDrawsTheDocumentedLatticeAndKeepsItsListNames) {
    DrawMesh2 mesh;
    EXPECT_TRUE(walk(mesh, 16).lines.empty());                         // never built: nothing, and no hang
    ASSERT_TRUE(mesh.Build(all(1000.0f), all(-50.0f), false, false));  // a step counts as its magnitude
    EXPECT_EQ(as_set(shapes(walk(mesh, 2 * 3 * 41 * 41).lines, 2)), lattice(1000, 50, 41, 41));
    const GLuint names[3] = {mesh.GetXList().GetName(), mesh.GetYList().GetName(), mesh.GetZList().GetName()};
    ASSERT_TRUE(mesh.Build(all(-1000.0f), all(50.0f), true, false));
    EXPECT_EQ(walk(mesh, 41 * 41 * 41).points.size(), 41u * 41u * 41u);
    EXPECT_TRUE(names[0] == mesh.GetXList().GetName() && names[1] == mesh.GetYList().GetName() &&
                names[2] == mesh.GetZList().GetName());

    // An uneven extent: the outer walks end at 800, the inner ones take one step beyond, to 1100.
    ASSERT_TRUE(mesh.Build(all(1000.0f), all(300.0f), false, false));
    EXPECT_EQ(as_set(shapes(walk(mesh, 2 * 3 * 7 * 8).lines, 2)), lattice(1000, 300, 7, 8));
    for (bool points : {false, true}) {  // rows with other steps per axis, texture coordinates on
        ASSERT_TRUE(mesh.Build(dir3{-1000.0f, 700.0f, 900.0f}, dir3{-300.0f, 250.0f, 130.0f}, points, true));
        walk(mesh, 4096);
    }
}

TEST_F(HallGLTest, RefusedBuildsSayWhyAndKeepTheLattice) {
    DrawMesh2 mesh;
    ASSERT_TRUE(mesh.Build(all(1000.0f), all(50.0f), false, false));
    const std::tuple<dir3, dir3, std::string> refused[] = {
        {all(1000.0f), all(0.0f), "DrawMesh2::Build: interval 0 is not a positive finite step"},
        {all(1000.0f), all(NAN), "interval nan is not a positive finite step"},
        {all(1000.0f), dir3{50.0f, -INFINITY, 50.0f}, "interval -inf is not a positive finite step"},
        {dir3{1000.0f, INFINITY, 1000.0f}, all(50.0f), "bounding inf is not finite"},
        {all(1000.0f), all(1.0f), "needs more than 4000000 list calls"},  // 2001 x 2001
        {dir3{0.0f, 0.0f, 3e6f}, all(1.0f), "needs more than 4000000 dots per row"},
        {all(1e9f), all(1.0f), "too small to step across bounding"},  // -1e9 + 1 == -1e9
    };
    for (const auto& [bounding, interval, why] : refused) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(mesh.Build(bounding, interval, true, false)) << why;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(err.find(why) != std::string::npos && err.find("lattice kept\n") == err.size() - 13 &&
                    std::count(err.begin(), err.end(), '\n') == 1)
            << err;
    }
    EXPECT_EQ(walk(mesh, 2 * 3 * 41 * 41).lines.size(), 2u * 3u * 41u * 41u);
    // 1001 x 1001 calls are allowed; rows of that many dots are not recorded.
    EXPECT_TRUE(mesh.Build(all(500.0f), all(1.0f), true, false) && !mesh.HasRows());
}

// The sizes are the clamps, 512 and 256: llvmpipe's maximum is far larger.
TEST_F(HallGLTest, GeneratedTexelsAsGLHoldsThem) {
    LineTexture line;
    LineTexture2 banded;
    StippleTexture stipple;
    gl_ext_init();
    const auto upload = [](auto& tex, GLenum format, std::initializer_list<std::pair<GLenum, GLint>> params) {
        libgr::grTextureObject obj;
        ASSERT_TRUE(tex.Generate() && obj.Create(tex));
        Bytes texels(tex.GetImage().size(), 0xEE);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(obj.GetTarget(), 0, format, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(texels, tex.GetImage());  // GL holds the texels and the sampling parameters
        for (const auto& [name, value] : params) {
            GLint v = 0;
            glGetTexParameteriv(obj.GetTarget(), name, &v);
            EXPECT_EQ(v, value) << "parameter " << std::hex << name;
        }
    };
    upload(line, GL_LUMINANCE, {{GL_TEXTURE_WRAP_S, GL_REPEAT}, {GL_TEXTURE_MIN_FILTER, GL_LINEAR}});
    upload(banded, GL_LUMINANCE, {{GL_TEXTURE_WRAP_T, GL_REPEAT}, {GL_TEXTURE_MAG_FILTER, GL_LINEAR}});
    upload(stipple, GL_ALPHA, {{GL_TEXTURE_MAG_FILTER, GL_NEAREST}, {GL_TEXTURE_MIN_FILTER, GL_LINEAR}});

    const Bytes& t = line.GetImage();  // sin(pi x), symmetric, peaks at 254
    ASSERT_EQ(t.size(), 512u);
    EXPECT_TRUE(Bytes(t.begin(), t.begin() + 6) == (Bytes{0, 1, 3, 4, 6, 7}) && Bytes(t.rbegin(), t.rend()) == t);
    for (std::size_t i = 0; i < t.size(); ++i) EXPECT_EQ(t[i] == 254, i >= 242 && i <= 269) << i;
    for (std::uint32_t y = 0; y < 512; ++y) {  // lit rows are the line profile, in bands of 128
        const bool lit = y < 64 || (y >= 192 && y < 320) || y >= 448;
        const auto row = banded.GetImage().begin() + 512 * y;
        EXPECT_EQ(Bytes(row, row + 512), lit ? t : Bytes(512, 0)) << y;
    }
    const Bytes& s = stipple.GetImage();  // every even value twice
    EXPECT_EQ(Bytes(s.begin(), s.begin() + 9), (Bytes{254, 252, 248, 250, 242, 240, 244, 246, 230}));
    std::map<int, int> seen;
    for (std::uint8_t v : s) ++seen[v];
    for (const auto& [value, count] : seen) EXPECT_TRUE(value % 2 == 0 && count == 2) << value;

    // The library's read-back, both forms, gives the line profile as red of RGBA.
    libgr::grTextureObject obj;
    ASSERT_TRUE(obj.Create(line));
    for (bool member : {true, false}) {
        libgr::grImageBuffer image;
        ASSERT_TRUE(member ? obj.GetTextureImage(0, image) : libgr::GetTextureImage(GL_TEXTURE_1D, 0, image));
        ASSERT_EQ(image.GetWidth(), 512u);
        Bytes red(512);
        for (std::size_t i = 0; i < red.size(); ++i) red[i] = image.GetData()[4 * i];
        EXPECT_EQ(red, t) << member;
    }
}
