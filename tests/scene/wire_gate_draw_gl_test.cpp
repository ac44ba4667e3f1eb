// wire_gate_demo's rendering passes drawn into the test context's pbuffer
// (a 255 x 255 viewport, so the view axis hits a pixel centre): what lands
// on screen in each mode, and the GL state each frame leaves behind.

#include "scene/wire_gate_demo.h"

#include "shell/fixed_gl_state.h"
#include "shell/gl_ext.h"

#include "gl_test_context.h"
#include "wire_gate_test_support.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 255;  // viewport width and height, pixels
constexpr int kCentre = 127;

struct Frame {
    std::vector<unsigned char> rgba;  // bottom row first
    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * kSize + x) * 4]; }
    bool lit(int x, int y) const { return at(x, y)[0] >= 24; }
    int lit_in_row(int y) const {
        int n = 0;
        for (int x = 0; x < kSize; ++x) n += lit(x, y);
        return n;
    }
    int lit_in_column(int x) const {
        int n = 0;
        for (int y = 0; y < kSize; ++y) n += lit(x, y);
        return n;
    }
    int lit_total() const {
        int n = 0;
        for (int y = 0; y < kSize; ++y) n += lit_in_row(y);
        return n;
    }
    long brightness() const {
        long sum = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4) sum += rgba[i];
        return sum;
    }
};

GLint enabled_on_unit(GLenum unit, GLenum cap) {
    gl_ext::glActiveTextureARB(unit);
    const GLint on = glIsEnabled(cap);
    gl_ext::glActiveTextureARB(GL_TEXTURE0);
    return on;
}

GLint integer(GLenum name) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    return v;
}

class WireGateDrawGLTest : public wg_test::GLTest {
protected:
    static void SetUpTestSuite() {
        wg_test::GLTest::SetUpTestSuite();
        static const bool loaded = (gl_ext_init(), true);
        (void)loaded;
    }

    void TearDown() override {
        scene.reset();
        // The stipple pass leaves 1D texturing on (the shell's attribute pop
        // undoes it in the program).
        glDisable(GL_TEXTURE_1D);
        glBindTexture(GL_TEXTURE_1D, 0);
        glDepthMask(GL_TRUE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glViewport(0, 0, 256, 256);
        wg_test::GLTest::TearDown();
    }

    void make(std::map<std::string, std::string> vars = {}) {
        set_fixed_gl_state();
        wg_test::StreamCapture quiet(std::cout);
        scene = std::make_unique<wire_gate_demo>(
            wg_test::FakeEnvironment(std::move(vars)),
            std::make_unique<wg_test::ScriptedJoystick>(std::make_shared<std::vector<float>>()));
        scene->m_offset = 0;
        scene->reshape(kSize, kSize);
        scene->update(0);
    }

    // Puts the camera at rest with the given posture and position.
    void place(const libgr::rev3& posture, const libgr::pos3& position) {
        scene->m_coords.m_base.rev = posture;
        scene->m_coords.m_base.inv = libgr::rev3{-posture.x, -posture.y, -posture.z};
        scene->m_coords.m_base.pos = position;
        scene->update(scene->m_time + 1);
    }

    void set_mode(std::int32_t mode, bool fog) {
        scene->m_meshmode = mode;
        scene->m_meshfog = fog;
        wg_test::StreamCapture quiet(std::cout);
        scene->RebuildMesh();
    }

    // One frame as the shell's display callback draws it.
    Frame draw() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        scene->draw();
        glDisable(GL_DEPTH_TEST);
        Frame f;
        f.rgba.resize(static_cast<std::size_t>(kSize) * kSize * 4);
        glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, f.rgba.data());
        return f;
    }

    wg_test::RedisplayCounter redisplay;
    std::unique_ptr<wire_gate_demo> scene;
};

}  // namespace

TEST_F(WireGateDrawGLTest, EveryModeDrawsTheLatticeAndFogDarkensIt) {
    make();
    long bright[3][2] = {};
    int lit[3][2] = {};
    for (int mode : {0, 1, 2}) {
        for (int fog : {0, 1}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + " fog " + std::to_string(fog));
            set_mode(mode, fog != 0);
            const Frame f = draw();
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
            bright[mode][fog] = f.brightness();
            lit[mode][fog] = f.lit_total();
            EXPECT_GT(lit[mode][fog], 1000);
        }
        EXPECT_LT(bright[mode][1], bright[mode][0] * 0.8) << "mode " << mode;
    }
    // Dots cover far less of the picture than lines.
    EXPECT_LT(lit[1][0] * 5, lit[0][0]);
    EXPECT_LT(lit[1][0] * 5, lit[2][0]);

    scene->m_meshmode = 5;  // no pass of its own: nothing drawn
    EXPECT_EQ(draw().lit_total(), 0);
}

TEST_F(WireGateDrawGLTest, TheViewTurnsByTheInversePosture) {
    // A small lattice: lines at -100, -50, 0, 50 and 100 on every axis.
    make({{"HALL_MESH_BOUNDING", "100"}, {"HALL_MESH_MODE", "0"}, {"HALL_MESH_FOG", "0"}});
    const Frame level = draw();
    EXPECT_EQ(level.lit_in_row(kCentre), kSize);     // the lines along x at y = 0
    EXPECT_EQ(level.lit_in_column(kCentre), kSize);  // the lines along y at x = 0
    EXPECT_LT(level.lit_total(), kSize * kSize / 4);
    EXPECT_NEAR(level.at(10, kCentre)[0], 204, 1);  // untextured, the grey of the tone

    // Nose up by 20 degrees: the plane y = 0 through the eye drops below
    // the centre, to tan(20 deg) / tan(half the vertical field of view).
    const float pitch = 20.0f * 0.017453292f;
    place(libgr::rev3{pitch, 0.0f, 0.0f}, libgr::pos3{0.0f, 0.0f, 0.0f});
    const Frame up = draw();
    const double half_height = std::tan(1.5707963267948966 / 2.0) / std::sqrt(2.0);
    const int horizon = static_cast<int>(std::lround(127.5 * (1.0 - std::tan(pitch) / half_height) - 0.5));
    EXPECT_EQ(up.lit_in_row(horizon), kSize) << "horizon row " << horizon;
    EXPECT_LT(up.lit_in_row(kCentre), kSize / 2);
    EXPECT_EQ(up.lit_in_column(kCentre), kSize);  // the plane x = 0 stays upright
}

TEST_F(WireGateDrawGLTest, TheLatticeFollowsTheCameraInWholeIntervals) {
    make({{"HALL_MESH_BOUNDING", "100"}, {"HALL_MESH_MODE", "0"}, {"HALL_MESH_FOG", "0"}});
    // (-75, 10, 120) draws the lattice moved by (-50, 0, 100): the same
    // picture as from (-25, 10, 20) around the origin.
    place(libgr::rev3{0.0f, 0.0f, 0.0f}, libgr::pos3{-75.0f, 10.0f, 120.0f});
    const Frame far_out = draw();
    place(libgr::rev3{0.0f, 0.0f, 0.0f}, libgr::pos3{-25.0f, 10.0f, 20.0f});
    const Frame near_origin = draw();
    place(libgr::rev3{0.0f, 0.0f, 0.0f}, libgr::pos3{-40.0f, 10.0f, 20.0f});
    const Frame elsewhere = draw();
    EXPECT_TRUE(far_out.rgba == near_origin.rgba);
    EXPECT_FALSE(elsewhere.rgba == near_origin.rgba);
    EXPECT_GT(far_out.lit_total(), 1000);
}

TEST_F(WireGateDrawGLTest, PlainPassRestoresWhatItTouched) {
    make();
    for (int mode : {0, 1}) {
        for (bool fog : {false, true}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + (fog ? " fog" : ""));
            set_mode(mode, fog);
            glDepthMask(GL_FALSE);
            draw();
            EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_FALSE);
            EXPECT_FALSE(glIsEnabled(GL_BLEND));
            EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
            EXPECT_FALSE(enabled_on_unit(GL_TEXTURE0, GL_TEXTURE_1D));
            EXPECT_FALSE(enabled_on_unit(GL_TEXTURE0, GL_TEXTURE_GEN_S));
            EXPECT_FALSE(enabled_on_unit(GL_TEXTURE1, GL_TEXTURE_1D));
            EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
            EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
            if (fog) {
                // The fade ran on unit 0 with the line profile, plane in eye space.
                EXPECT_EQ(integer(GL_TEXTURE_BINDING_1D), static_cast<GLint>(scene->m_linetexobj.GetName()));
                GLfloat plane[4] = {};
                glGetTexGenfv(GL_S, GL_EYE_PLANE, plane);
                EXPECT_FLOAT_EQ(plane[2], -0.0005f);
                EXPECT_FLOAT_EQ(plane[3], 0.5f);
                GLint gen = 0;
                glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &gen);
                EXPECT_EQ(gen, GL_EYE_LINEAR);
            }
        }
    }
    glDepthMask(GL_TRUE);
}

TEST_F(WireGateDrawGLTest, StipplePassRestoresWhatItTouchedAndFadesOnUnitOne) {
    make();
    for (bool fog : {false, true}) {
        SCOPED_TRACE(fog ? "fog" : "no fog");
        set_mode(2, fog);
        glDepthMask(GL_FALSE);
        glDisable(GL_TEXTURE_1D);
        draw();
        EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_FALSE);
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);  // the blend function is not restored
        EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
        EXPECT_FALSE(enabled_on_unit(GL_TEXTURE0, GL_TEXTURE_GEN_S));
        EXPECT_FALSE(enabled_on_unit(GL_TEXTURE1, GL_TEXTURE_1D));
        EXPECT_FALSE(enabled_on_unit(GL_TEXTURE1, GL_TEXTURE_GEN_S));
        // Unit 0 keeps the stipple texture on until the frame's attribute pop.
        EXPECT_TRUE(enabled_on_unit(GL_TEXTURE0, GL_TEXTURE_1D));
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_1D), static_cast<GLint>(scene->m_stippletexobj.GetName()));
        GLfloat object_plane[4] = {};
        glGetTexGenfv(GL_S, GL_OBJECT_PLANE, object_plane);
        EXPECT_FLOAT_EQ(object_plane[0], 0.02f);  // one stipple period per interval
        EXPECT_FLOAT_EQ(object_plane[3], 0.0f);
        EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);

        gl_ext::glActiveTextureARB(GL_TEXTURE1);
        GLfloat eye_plane[4] = {};
        glGetTexGenfv(GL_S, GL_EYE_PLANE, eye_plane);
        const GLint unit1_texture = integer(GL_TEXTURE_BINDING_1D);
        gl_ext::glActiveTextureARB(GL_TEXTURE0);
        if (fog) {
            EXPECT_EQ(unit1_texture, static_cast<GLint>(scene->m_linetexobj.GetName()));
            EXPECT_FLOAT_EQ(eye_plane[2], -0.0005f);
            EXPECT_FLOAT_EQ(eye_plane[3], 0.5f);
        } else {
            EXPECT_EQ(unit1_texture, 0);  // fog off touches unit 0 only
        }
    }
}

TEST_F(WireGateDrawGLTest, HistoryGraphDrawsBothCurvesInTheirColours) {
    make();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    std::fill(scene->m_hist_y.begin(), scene->m_hist_y.end(), 500.0f);    // half way up
    std::fill(scene->m_hist_iy.begin(), scene->m_hist_iy.end(), -500.0f);  // half way down
    glClear(GL_COLOR_BUFFER_BIT);
    scene->draw_overlay();
    Frame f;
    f.rgba.resize(static_cast<std::size_t>(kSize) * kSize * 4);
    glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, f.rgba.data());
    const int up = static_cast<int>(127.5 * 1.5), down = static_cast<int>(127.5 * 0.5);
    const unsigned char* white = f.at(100, up);
    const unsigned char* yellow = f.at(100, down);
    EXPECT_EQ(white[0], 255);
    EXPECT_EQ(white[2], 255);
    EXPECT_EQ(yellow[1], 255);
    EXPECT_EQ(yellow[2], 0);
    // Samples from x = -1 on, one per ring element: the strip ends one
    // element short of the right edge.
    EXPECT_GE(f.lit_in_row(up), kSize - 3);
    EXPECT_EQ(f.lit_in_row(kCentre), 0);

    scene->reshape(0, 0);  // empty rings: empty strips, no error
    scene->draw_overlay();
}
