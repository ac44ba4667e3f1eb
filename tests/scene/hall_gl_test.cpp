// The hall's lines and lattice as GL receives them in feedback mode; its generated textures as GL holds them.
#include "graphics/texture_object.h"
#include "graphics/values_ops.h"
#include "scene/draw_mesh2.h"
#include "scene/lattice_cost.h"
#include "scene/line_texture.h"
#include "scene/stipple_texture.h"

#include "gl_test_context.h"

#include <array>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using libgr::dir3;
using libgr::pos3;
using Shape = std::vector<int>;
using Bytes = std::vector<std::uint8_t>;
using HallGLTest = wg_test::GLTest;

namespace {

dir3 all(float v) { return dir3{v, v, v}; }

// What GL receives of a drawing in feedback mode, under an orthographic projection of the cube [-1500, 1500]^3:
// per point and per line a shape of its vertices' x, y, z rounded and texture coordinate in millionths; complete
// unless the buffer overflowed or held other tokens.
struct Fed {
    std::vector<Shape> points, lines;
    bool complete = true;
};
Fed feedback(std::size_t max_vertices, const std::function<void()>& draw) {
    constexpr float e = 1500.0f;
    constexpr int kFloats = 12;  // GL_4D_COLOR_TEXTURE in RGBA mode
    std::vector<GLfloat> fb(max_vertices * (kFloats + 1) + 16);
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-e, e, -e, e, -e, e);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(fb.size()), GL_4D_COLOR_TEXTURE, fb.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    Fed fed;
    fed.complete = used >= 0;
    for (GLint i = 0; i < used;) {
        const auto token = static_cast<GLenum>(fb[i++]);
        const bool line = token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN;
        fed.complete = line || token == GL_POINT_TOKEN;
        if (!fed.complete) break;
        Shape& shape = (line ? fed.lines : fed.points).emplace_back();
        // Window coordinates back through the 256-pixel viewport and the box; depth 0..1 is z from e to -e.
        for (int k = 0; k < (line ? 2 : 1); ++k, i += kFloats)
            for (float c :
                 {(fb[i] / 128 - 1) * e, (fb[i + 1] / 128 - 1) * e, (1 - 2 * fb[i + 2]) * e, fb[i + 8] * 1e6f})
                shape.push_back(static_cast<int>(std::lround(c)));
    }
    return fed;
}

Fed drawn(const pos3& start, const pos3& end, float spacing) {
    DrawLine line;
    line.Set(start, end, spacing, true);
    return feedback(64, [&] { line.Draw(); });
}

// Lines from -b to b along each axis (texture coordinate 0) at every position of the outer walk (over the
// lower other axis) and of the inner walk (the higher one), which visit n_outer and n_inner positions from -b on.
std::multiset<Shape> lattice(int b, int step, int n_outer, int n_inner) {
    std::multiset<Shape> s;
    for (int axis = 0; axis < 3; ++axis)
        for (int o = -b; o < -b + n_outer * step; o += step)
            for (int i = -b; i < -b + n_inner * step; i += step) {
                Shape line;
                for (int end : {-b, b})
                    for (int c = 0; c < 4; ++c)
                        line.push_back(c == 3 ? 0 : c == axis ? end : c == (axis == 0 ? 1 : 0) ? o : i);
                s.insert(line);
            }
    return s;
}

// The dots and lines of a built mesh's walk, complete; the rows the scene records in its list must give the same
// vertices in order, as many as the lattice's cost counts.
std::multiset<Shape> walk(DrawMesh2& mesh, std::size_t max_vertices) {
    const Fed fed = feedback(max_vertices, [&] { mesh.Draw(); });
    const lattice_cost_t cost = lattice_cost(libgr::vec3_as<dir3>(mesh.GetMax()), mesh.GetInterval(), mesh.IsPoints());
    if (mesh.GetInterval().x > 0) {
        EXPECT_EQ(fed.points.size() + 2 * fed.lines.size(), cost.drawn_vertices);
    }
    DrawMesh2Rows rows(mesh);
    libgr::grDspList list;
    EXPECT_TRUE(list.Compile(&rows));
    const Fed by_rows = feedback(max_vertices, [&] { list.Draw(); });
    GLint depth = 0;  // a push the walk does not pop would stay
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_TRUE(fed.complete);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(by_rows.points, fed.points);
    EXPECT_EQ(by_rows.lines, fed.lines);
    std::multiset<Shape> s(fed.points.begin(), fed.points.end());
    s.insert(fed.lines.begin(), fed.lines.end());
    return s;
}

}  // namespace

TEST_F(HallGLTest, ALineIsASolidPairOrDotsFromItsStartThatAlwaysEnd) {
    EXPECT_EQ(drawn(pos3{-100.0f, 20.0f, 30.0f}, pos3{400.0f, 20.0f, -30.0f}, 0.0f).lines,
              (std::vector<Shape>{{-100, 20, 30, 0, 400, 20, -30, 1000000}}));
    // A negative spacing counts as its magnitude; the last dot sits on the end (the parameter sums to 0.99999958).
    for (float spacing : {50.0f, -50.0f}) {
        const std::vector<Shape> row = drawn(pos3{0, 0, -1000.0f}, pos3{0, 0, 1000.0f}, spacing).points;
        ASSERT_EQ(row.size(), 41u) << spacing;
        EXPECT_EQ(row[0], (Shape{0, 0, -1000, 0})) << spacing;
        EXPECT_EQ(row[40][2], 1000) << spacing;
    }
    // Zero length, spacing beyond the end, or a NaN step: one dot on the start.
    for (const auto& [end_x, spacing] : {std::pair{7.0f, 50.0f}, std::pair{17.0f, 50.0f}, std::pair{90.0f, NAN}})
        EXPECT_EQ(drawn(pos3{7, 8, 9}, pos3{end_x, 8, 9}, spacing).points, (std::vector<Shape>{{7, 8, 9, 0}}));
}

TEST_F(HallGLTest, TheWalkDrawsTheDocumentedLatticeKeepsItsListNamesAndRefusesWhatItCannotDraw) {
    DrawMesh2 mesh;
    EXPECT_TRUE(walk(mesh, 16).empty());                               // never built: nothing, and no hang
    ASSERT_TRUE(mesh.Build(all(1000.0f), all(-50.0f), false, false));  // a step counts as its magnitude
    EXPECT_EQ(walk(mesh, 2 * 3 * 41 * 41), lattice(1000, 50, 41, 41));
    const auto names = [&] {
        return std::array{mesh.GetXList().GetName(), mesh.GetYList().GetName(), mesh.GetZList().GetName()};
    };
    const std::array<GLuint, 3> first = names();
    ASSERT_TRUE(mesh.Build(all(-1000.0f), all(50.0f), true, false));
    EXPECT_EQ(walk(mesh, 41 * 41 * 41).size(), 41u * 41u * 41u);
    EXPECT_EQ(names(), first);
    // An uneven extent: the outer walks end at 800, the inner ones take one step beyond, to 1100.
    ASSERT_TRUE(mesh.Build(all(1000.0f), all(300.0f), false, false));
    EXPECT_EQ(walk(mesh, 2 * 3 * 7 * 8), lattice(1000, 300, 7, 8));
    std::multiset<Shape> kept;
    for (bool points : {true, false}) {  // rows with other steps per axis, texture coordinates on
        ASSERT_TRUE(mesh.Build(dir3{-1000.0f, 700.0f, 900.0f}, dir3{-300.0f, 250.0f, 130.0f}, points, true));
        kept = walk(mesh, 4096);
    }

    // Refused Builds say why in one line and keep the lattice.
    const std::tuple<dir3, dir3, bool, std::string> refused[] = {
        {all(1000.0f), all(0.0f), true, "interval 0 is not a positive finite step"},
        {all(1000.0f), all(NAN), false, "interval nan is not a positive finite step"},
        {all(1000.0f), dir3{50.0f, -INFINITY, 50.0f}, true, "interval -inf is not a positive finite step"},
        {dir3{1000.0f, INFINITY, 1000.0f}, all(50.0f), false, "bounding inf is not finite"},
        {all(1000.0f), all(1.0f), true,
         "bounding (1000, 1000, 1000) with interval (1, 1, 1) would draw 8008002000 dots a frame, more than "
         "2000000000"},
        {all(1000.0f), all(0.5f), false,
         "bounding (1000, 1000, 1000) with interval (0.5, 0.5, 0.5) would draw 96048006 line vertices a frame, more "
         "than 50000000"},
        {dir3{0.0f, 0.0f, 3.5e6f}, all(1.0f), true,
         "bounding (0, 0, 3.5e+06) with interval (1, 1, 1) would record 15183156 vertices in display lists, more than "
         "12000000"},
        {dir3{3.5e6f, 0.0f, 0.0f}, all(1.0f), false,
         "bounding (3.5e+06, 0, 0) with interval (1, 1, 1) would record 21000009 list commands, more than 20000000"},
        {all(1e9f), all(1.0f), true,
         "bounding (1e+09, 1e+09, 1e+09) with interval (1, 1, 1) has a step too small to cross the bounding in single "
         "precision"},
    };
    for (const auto& [bounding, interval, points, why] : refused) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(mesh.Build(bounding, interval, points, false)) << why;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "DrawMesh2::Build: " + why + "; lattice kept\n");
    }
    EXPECT_EQ(walk(mesh, 4096), kept);
    // The largest the scene must take, recorded as rows: lines at interval 1, dots at 5 in a hall three times as wide.
    for (const auto& [b, i, points] : {std::tuple{1000.0f, 1.0f, false}, std::tuple{3000.0f, 5.0f, true}}) {
        EXPECT_TRUE(mesh.Build(all(b), all(i), points, false)) << b;
        EXPECT_TRUE(mesh.HasRows()) << b;
    }
}

// The sizes are the clamps, 512 and 256: llvmpipe's maximum is far larger.
TEST_F(HallGLTest, GeneratedTexelsAsGLHoldsThem) {
    LineTexture line;
    LineTexture2 banded;
    StippleTexture stipple;
    const auto upload = [](auto& tex, GLenum format, GLint min_filter, GLint mag_filter) {
        libgr::grTextureObject obj;
        ASSERT_TRUE(tex.Generate());
        ASSERT_TRUE(obj.Create(tex));
        Bytes texels(tex.GetImage().size(), 0xEE);
        GLint filters[2] = {};
        glGetTexImage(obj.GetTarget(), 0, format, GL_UNSIGNED_BYTE, texels.data());
        glGetTexParameteriv(obj.GetTarget(), GL_TEXTURE_MIN_FILTER, &filters[0]);
        glGetTexParameteriv(obj.GetTarget(), GL_TEXTURE_MAG_FILTER, &filters[1]);
        EXPECT_EQ(texels, tex.GetImage());
        EXPECT_EQ(filters[0], min_filter);
        EXPECT_EQ(filters[1], mag_filter);
    };
    upload(line, GL_LUMINANCE, GL_LINEAR, GL_LINEAR);
    upload(banded, GL_LUMINANCE, GL_LINEAR, GL_LINEAR);
    upload(stipple, GL_ALPHA, GL_LINEAR, GL_NEAREST);

    const Bytes& t = line.GetImage();  // sin(pi x), symmetric, peaks at 254
    ASSERT_EQ(t.size(), 512u);
    EXPECT_EQ(Bytes(t.begin(), t.begin() + 6), (Bytes{0, 1, 3, 4, 6, 7}));
    EXPECT_EQ(Bytes(t.rbegin(), t.rend()), t);
    for (std::size_t i = 0; i < t.size(); ++i) EXPECT_EQ(t[i] == 254, i >= 242 && i <= 269) << i;
    for (std::uint32_t y = 0; y < 512; ++y) {  // lit rows are the line profile, in bands of 128
        const bool lit = y < 64 || (y >= 192 && y < 320) || y >= 448;
        const auto row = banded.GetImage().begin() + 512 * y;
        EXPECT_EQ(Bytes(row, row + 512), lit ? t : Bytes(512, 0)) << y;
    }
    const Bytes& s = stipple.GetImage();  // every even value twice
    EXPECT_EQ(Bytes(s.begin(), s.begin() + 9), (Bytes{254, 252, 248, 250, 242, 240, 244, 246, 230}));
    std::vector<int> count(256);
    for (std::uint8_t v : s) ++count[v];
    for (int v = 0; v < 256; ++v) EXPECT_EQ(count[v], v % 2 == 0 ? 2 : 0) << v;
}
