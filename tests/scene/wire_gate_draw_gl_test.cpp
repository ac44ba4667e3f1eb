// wire_gate_demo's passes: the GL state in force while each draws the lattice
// and what it leaves behind (the pictures are the end-to-end tests'), and the
// state text through the host.

#include "shell/fixed_gl_state.h"
#include "tests/scene/wire_gate_test_support.h"

#include <GL/glext.h>

#include <array>
#include <string>
#include <tuple>

namespace {

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

}  // namespace

using WireGateDrawGLTest = wg_test::SceneGLTest;  // over the shell's fixed GL state

TEST_F(WireGateDrawGLTest, EachPassDrawsUnderItsStateAndLeavesOnlyWhatItShould) {
    set_fixed_gl_state();
    make();
    scene->m_coords.m_cur.pos = libgr::pos3{-75.0f, 10.0f, 120.0f};  // the lattice follows by (-50, 0, 100)
    const GLint line = scene->m_linetexobj.GetName(), stipple = scene->m_stippletexobj.GetName();
    const plane_t fade{0.0f, 0.0f, -0.0005f, 0.5f};  // s = 0.5 at the eye, 1 at 1000 units in front
    for (int mode : {0, 1, 2}) {
        for (bool fog : {false, true}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + " fog " + std::to_string(fog));
            scene->m_meshmode = mode, scene->m_meshfog = fog;
            scene->RebuildMesh();

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
            mode == 2 ? scene->draw_stipple_mesh(probe) : scene->draw_plain_mesh(probe);
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
            if (fog) left.unit[mode == 2 ? 1 : 0].binding = line;
            EXPECT_EQ(read_state().fields(), left.fields());
            EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
    }
}

TEST_F(WireGateDrawGLTest, TheStateTextGoesToTheHost50UnitsBelowItsTopAfterI) {
    set_fixed_gl_state();
    make();
    scene->draw();
    EXPECT_TRUE(host.texts.empty());
    scene->key_down('i', 0, 0);
    scene->draw();
    std::ostringstream dumped;
    dump(dumped, scene->m_coords);
    EXPECT_EQ(host.texts, (std::vector<std::tuple<float, float, std::string>>{{0.0f, 750.0f, dumped.str()}}));
    EXPECT_EQ(host.projections, 1);
}
