// wire_gate_demo's passes drawn into the test context's pbuffer (a 255 x 255
// viewport, so the view axis hits a pixel centre): the GL state in force
// while each pass draws the lattice, what it leaves behind, and the pictures.

#include "shell/fixed_gl_state.h"
#include "tests/scene/wire_gate_test_support.h"

#include <array>
#include <cmath>
#include <string>
#include <tuple>

namespace {

constexpr int kSize = 255, kCentre = 127;  // viewport side and its middle, pixels

struct Frame {
    std::vector<unsigned char> rgba = std::vector<unsigned char>(kSize * kSize * 4);  // bottom row first
    Frame() { glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data()); }
    const unsigned char* at(int x, int y) const { return &rgba[(y * kSize + x) * 4]; }
    // Lit pixels in [x0, x1) x [y0, y1).
    int lit(int x0 = 0, int y0 = 0, int x1 = kSize, int y1 = kSize) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += at(x, y)[0] >= 24;
        return n;
    }
    int row(int y) const { return lit(0, y, kSize, y + 1); }
    int column(int x) const { return lit(x, 0, x + 1, kSize); }
};

using plane_t = std::array<GLfloat, 4>;

// The state of one texture unit, as far as the passes set it.
struct unit_t {
    bool texture_1d = false, gen_s = false;
    GLint binding = 0, gen_mode = 0;
    plane_t plane{};  // the plane of the generation mode, when generation is on
    auto fields() const { return std::make_tuple(texture_1d, gen_s, binding, gen_mode, plane); }
};

// Compared through fields(), which gtest prints member by member.
struct pass_state_t {
    bool depth_test = false, blend = false;
    GLint depth_mask = 0, blend_src = 0, blend_dst = 0, active = 0, env_mode = 0;
    plane_t colour{};
    GLfloat line_width = 0, point_size = 0;
    std::array<GLfloat, 3> shift{};  // the model-view translation
    unit_t unit[2];
    auto fields() const {
        return std::tuple_cat(std::make_tuple(depth_test, blend, depth_mask, blend_src, blend_dst, active, env_mode,
                                              colour, line_width, point_size, shift),
                              unit[0].fields(), unit[1].fields());
    }
};

GLint integer(GLenum name) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    return v;
}

pass_state_t read_state() {
    pass_state_t s;
    s.depth_test = glIsEnabled(GL_DEPTH_TEST);
    s.blend = glIsEnabled(GL_BLEND);
    s.depth_mask = integer(GL_DEPTH_WRITEMASK);
    s.blend_src = integer(GL_BLEND_SRC);
    s.blend_dst = integer(GL_BLEND_DST);
    s.active = integer(GL_ACTIVE_TEXTURE);
    glGetFloatv(GL_CURRENT_COLOR, s.colour.data());
    glGetFloatv(GL_LINE_WIDTH, &s.line_width);
    glGetFloatv(GL_POINT_SIZE, &s.point_size);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    s.shift = {m[12], m[13], m[14]};
    for (int i = 0; i < 2; ++i) {
        gl_ext::glActiveTextureARB(GL_TEXTURE0 + i);
        unit_t& u = s.unit[i];
        u.texture_1d = glIsEnabled(GL_TEXTURE_1D);
        u.gen_s = glIsEnabled(GL_TEXTURE_GEN_S);
        u.binding = integer(GL_TEXTURE_BINDING_1D);
        if (u.gen_s) {
            glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &u.gen_mode);
            glGetTexGenfv(GL_S, u.gen_mode == GL_EYE_LINEAR ? GL_EYE_PLANE : GL_OBJECT_PLANE, u.plane.data());
        }
        if (i == 0) glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &s.env_mode);
    }
    gl_ext::glActiveTextureARB(s.active);
    return s;
}

// Handed to a pass in place of the lattice: reads the state it is drawn in.
struct StateProbe : libgr::grDrawable3D {
    void Draw() override {
        ++draws;
        seen = read_state();
    }
    int draws = 0;
    pass_state_t seen;
};

class WireGateDrawGLTest : public wg_test::SceneGLTest {
protected:
    void TearDown() override {
        scene.reset();
        glDisable(GL_TEXTURE_1D);  // left on by the stipple pass until the shell's attribute pop
        glBindTexture(GL_TEXTURE_1D, 0);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_TRUE);
        wg_test::SceneGLTest::TearDown();
    }

    void start(std::map<std::string, std::string> vars = {}) {
        set_fixed_gl_state();
        make(std::move(vars));
        scene->reshape(kSize, kSize);
        scene->update(0);
    }

    // The camera at rest with the given posture (a rotation vector) and position.
    void place(const libgr::rev3& posture, const libgr::pos3& position) {
        scene->m_coords.m_base = libgr::pst3w{posture, libgr::rev3{-posture.x, -posture.y, -posture.z}, position};
        scene->update(scene->m_time + 1);
    }

    // One frame as the shell's display callback draws it, depth writes as given.
    Frame draw(GLboolean depth_mask = GL_TRUE) {
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthMask(depth_mask);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        scene->draw();
        glDisable(GL_DEPTH_TEST);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return Frame();
    }
};

}  // namespace

TEST_F(WireGateDrawGLTest, EachPassDrawsUnderItsStateAndLeavesOnlyWhatItShould) {
    start();
    place({0.0f, 0.0f, 0.0f}, {-75.0f, 10.0f, 120.0f});  // the lattice follows by (-50, 0, 100)
    const GLint line = scene->m_linetexobj.GetName(), stipple = scene->m_stippletexobj.GetName();
    const plane_t fade{0.0f, 0.0f, -0.0005f, 0.5f};  // s = 0.5 at the eye, 1 at 1000 units in front
    for (int mode : {0, 1, 2}) {
        for (bool fog : {false, true}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + " fog " + std::to_string(fog));
            scene->m_meshmode = mode;
            scene->m_meshfog = fog;
            scene->RebuildMesh();
            EXPECT_GT(draw().lit(), 1000);  // lit; what it looks like is for the end-to-end tests

            // In force while the lattice is drawn, from a frame's starting state.
            glDisable(GL_TEXTURE_1D);
            glDepthMask(GL_FALSE);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            const pass_state_t before = read_state();
            pass_state_t want = before;
            want.colour = {0.8f, 0.8f, 0.8f, 1.0f};
            want.shift = {-50.0f, 0.0f, 100.0f};
            unit_t& faded = want.unit[mode == 2 ? 1 : 0];  // the stipple pass fades on unit 1
            if (fog) faded = {true, true, line, GL_EYE_LINEAR, fade};
            if (mode == 2) {
                want.depth_mask = GL_TRUE;
                want.blend = true;
                want.blend_dst = GL_ONE;
                want.unit[0] = {true, true, stipple, GL_OBJECT_LINEAR, {0.02f, 0.02f, 0.02f, 0.0f}};
            } else {
                want.depth_test = true;
            }
            StateProbe probe;
            if (mode == 2)
                scene->draw_stipple_mesh(probe);
            else
                scene->draw_plain_mesh(probe);
            EXPECT_EQ(probe.draws, 1);
            EXPECT_EQ(probe.seen.fields(), want.fields());

            // Left behind: the stipple texture on unit 0 (until the shell's
            // attribute pop) and the blend function; nothing else.
            pass_state_t left = before;
            left.colour = want.colour;
            if (mode == 2) {
                left.unit[0].texture_1d = true;
                left.unit[0].binding = stipple;
                left.blend_dst = GL_ONE;
            }
            if (fog && mode != 2) left.unit[0].binding = line;
            if (fog && mode == 2) left.unit[1].binding = line;
            EXPECT_EQ(read_state().fields(), left.fields());
            EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
    }
    scene->m_meshmode = 5;  // no pass of its own: nothing drawn
    EXPECT_EQ(draw().lit(), 0);
}

TEST_F(WireGateDrawGLTest, TheViewTurnsByTheInversePostureAndFollowsTheGrid) {
    // A small untextured lattice: lines at -100, -50, 0, 50 and 100 on every axis.
    start({{"HALL_MESH_BOUNDING", "100"}, {"HALL_MESH_MODE", "0"}, {"HALL_MESH_FOG", "0"}});
    const Frame level = draw();
    EXPECT_EQ(level.row(kCentre), kSize);           // the lines along x at y = 0
    EXPECT_EQ(level.column(kCentre), kSize);        // the lines along y at x = 0
    EXPECT_NEAR(level.at(10, kCentre)[0], 204, 1);  // the grey of the tone 0.8

    // Nose up by 20 degrees: the plane y = 0 drops below the centre, to
    // tan(20 deg) / tan(half the vertical field of view).
    const float pitch = 20.0f * 0.017453292f;
    place(libgr::rev3{pitch, 0.0f, 0.0f}, libgr::pos3{0.0f, 0.0f, 0.0f});
    const Frame up = draw();
    const double half_height = std::tan(1.5707963267948966 / 2.0) / std::sqrt(2.0);
    const int horizon = static_cast<int>(std::lround(127.5 * (1.0 - std::tan(pitch) / half_height) - 0.5));
    EXPECT_EQ(up.row(horizon), kSize) << "horizon row " << horizon;
    EXPECT_LT(up.row(kCentre), kSize / 2);
    EXPECT_EQ(up.column(kCentre), kSize);  // the plane x = 0 stays upright

    // From (-75, 10, 120) the picture is that from (-25, 10, 20), not that from (-40, 10, 20).
    const libgr::rev3 none{0.0f, 0.0f, 0.0f};
    place(none, libgr::pos3{-75.0f, 10.0f, 120.0f});
    const Frame far_out = draw();
    place(none, libgr::pos3{-25.0f, 10.0f, 20.0f});
    EXPECT_TRUE(far_out.rgba == draw().rgba);
    place(none, libgr::pos3{-40.0f, 10.0f, 20.0f});
    EXPECT_FALSE(far_out.rgba == draw().rgba);
}

TEST_F(WireGateDrawGLTest, OverlaysTheHistoryGraphAndTheStateText) {
    start();
    glMatrixMode(GL_PROJECTION);  // the shell draws overlays under identity matrices
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::fill(scene->m_hist_y.begin(), scene->m_hist_y.end(), 500.0f);     // half way up, white
    std::fill(scene->m_hist_iy.begin(), scene->m_hist_iy.end(), -500.0f);  // half way down, yellow
    glClear(GL_COLOR_BUFFER_BIT);
    scene->draw_overlay();
    const Frame f;
    const int up = 191, down = 63;  // 127.5 * (1 +- 0.5)
    EXPECT_TRUE(f.at(100, up)[0] == 255 && f.at(100, up)[2] == 255);
    EXPECT_TRUE(f.at(100, down)[1] == 255 && f.at(100, down)[2] == 0);
    EXPECT_GE(f.row(up), kSize - 3);  // one sample per pixel from x = -1: one short of the right edge
    EXPECT_EQ(f.row(kCentre), 0);
    scene->reshape(0, 0);  // empty rings: empty strips, no error
    scene->draw_overlay();

    // The state dump goes to the host's text, 50 units below its top edge, after "i".
    scene->reshape(kSize, kSize);
    draw();
    EXPECT_TRUE(host.texts.empty());
    scene->key_down('i', 0, 0);
    draw();
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_EQ(host.projections, 1);
    EXPECT_TRUE(host.texts[0].x == 0.0f && host.texts[0].y == 750.0f);  // the host's top edge is 800
    std::ostringstream dumped;
    dump(dumped, scene->m_coords);
    EXPECT_EQ(host.texts[0].text, dumped.str());
}
