// wire_gate_demo's passes drawn into the test context's pbuffer (a 255 x 255
// viewport, so the view axis hits a pixel centre): what lands on screen, and
// the GL state each frame leaves behind.

#include "shell/fixed_gl_state.h"

#include "tests/scene/wire_gate_test_support.h"

#include <cmath>
#include <string>

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

GLint integer(GLenum name, GLenum unit = GL_TEXTURE0) {
    gl_ext::glActiveTextureARB(unit);
    GLint v = 0;
    glGetIntegerv(name, &v);
    gl_ext::glActiveTextureARB(GL_TEXTURE0);
    return v;
}

class WireGateDrawGLTest : public wg_test::SceneGLTest {
protected:
    void TearDown() override {
        scene.reset();
        glDisable(GL_TEXTURE_1D);  // left on by the stipple pass until the shell's attribute pop
        glBindTexture(GL_TEXTURE_1D, 0);
        glDepthMask(GL_TRUE);  // viewport and projection: each test's reshape
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

TEST_F(WireGateDrawGLTest, EveryModeDrawsTheLatticeAndRestoresWhatItTouched) {
    start();
    for (int mode : {0, 1, 2}) {
        for (int fog : {0, 1}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + " fog " + std::to_string(fog));
            scene->m_meshmode = mode;
            scene->m_meshfog = fog != 0;
            scene->RebuildMesh();
            glDisable(GL_TEXTURE_1D);
            EXPECT_GT(draw(GL_FALSE).lit(), 1000);  // lit; what it looks like is for the end-to-end tests
            EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_FALSE);
            EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_TEXTURE_GEN_S));
            EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
            EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
            EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
            gl_ext::glActiveTextureARB(GL_TEXTURE1);
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D) || glIsEnabled(GL_TEXTURE_GEN_S));
            gl_ext::glActiveTextureARB(GL_TEXTURE0);
            if (mode == 2) {
                // Unit 0 keeps the stipple texture on until the frame's
                // attribute pop; the blend function is not restored.
                EXPECT_TRUE(glIsEnabled(GL_TEXTURE_1D));
                EXPECT_EQ(integer(GL_TEXTURE_BINDING_1D), static_cast<GLint>(scene->m_stippletexobj.GetName()));
                EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
                GLfloat object[4] = {};
                glGetTexGenfv(GL_S, GL_OBJECT_PLANE, object);
                EXPECT_TRUE(object[0] == 0.02f && object[3] == 0.0f);  // one stipple period per interval
            } else {
                EXPECT_FALSE(glIsEnabled(GL_TEXTURE_1D));
            }
            // The fade: unit 0 in the plain pass, unit 1 in the stipple pass.
            const GLenum unit = mode == 2 ? GL_TEXTURE1 : GL_TEXTURE0;
            if (fog) {
                EXPECT_EQ(integer(GL_TEXTURE_BINDING_1D, unit), static_cast<GLint>(scene->m_linetexobj.GetName()));
                GLfloat eye[4] = {};  // s = 0.5 at the eye, 1 at 1000 units in front
                gl_ext::glActiveTextureARB(unit);
                glGetTexGenfv(GL_S, GL_EYE_PLANE, eye);
                gl_ext::glActiveTextureARB(GL_TEXTURE0);
                EXPECT_FLOAT_EQ(eye[2], -0.0005f);
                EXPECT_FLOAT_EQ(eye[3], 0.5f);
            } else if (mode == 2) {
                EXPECT_EQ(integer(GL_TEXTURE_BINDING_1D, GL_TEXTURE1), 0);  // fog off touches unit 0 only
            }
        }
    }
    scene->m_meshmode = 5;  // no pass of its own: nothing drawn
    EXPECT_EQ(draw().lit(), 0);
}

TEST_F(WireGateDrawGLTest, TheViewTurnsByTheInversePostureAndFollowsTheGrid) {
    // A small untextured lattice: lines at -100, -50, 0, 50 and 100 on every axis.
    start({{"HALL_MESH_BOUNDING", "100"}, {"HALL_MESH_MODE", "0"}, {"HALL_MESH_FOG", "0"}});
    const Frame level = draw();
    EXPECT_EQ(level.row(kCentre), kSize);     // the lines along x at y = 0
    EXPECT_EQ(level.column(kCentre), kSize);  // the lines along y at x = 0
    EXPECT_LT(level.lit(), kSize * kSize / 4);
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

    // From (-75, 10, 120) the lattice moves by (-50, 0, 100): the picture
    // from (-25, 10, 20), and not that from (-40, 10, 20).
    const libgr::rev3 none{0.0f, 0.0f, 0.0f};
    place(none, libgr::pos3{-75.0f, 10.0f, 120.0f});
    const Frame far_out = draw();
    place(none, libgr::pos3{-25.0f, 10.0f, 20.0f});
    EXPECT_TRUE(far_out.rgba == draw().rgba);
    place(none, libgr::pos3{-40.0f, 10.0f, 20.0f});
    EXPECT_FALSE(far_out.rgba == draw().rgba);
    EXPECT_GT(far_out.lit(), 1000);
}

TEST_F(WireGateDrawGLTest, HistoryGraphDrawsBothCurvesInTheirColours) {
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
}

TEST_F(WireGateDrawGLTest, TheStateTextGoesToTheHostBelowTheTopEdge) {
    start();
    draw();
    EXPECT_TRUE(host.texts.empty()) << "no state text until i";
    scene->key_down('i', 0, 0);
    draw();
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_EQ(host.projections, 1);
    EXPECT_EQ(host.texts[0].x, 0.0f);
    EXPECT_EQ(host.texts[0].y, 750.0f);  // the host's top edge, 800, less 50
    std::ostringstream dumped;
    dump(dumped, scene->m_coords);
    EXPECT_EQ(host.texts[0].text, dumped.str());
}
