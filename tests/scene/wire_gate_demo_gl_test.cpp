// wire_gate_demo with a real GL context: settings from the environment and keys, thrusters, joystick, history
// rings; the GL state each pass draws the lattice in and leaves behind (pictures are e2e's); the state text.
#include "gl_loader/gl_ext.h"
#include "scene/wire_gate_demo.h"
#include "shell/fixed_gl_state.h"

#include "gl_test_context.h"

#include <array>
#include <cmath>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using xyz_t = std::array<float, 3>;
template <class V> xyz_t xyz(const V& v) { return {v.x, v.y, v.z}; }
const float k = 0.0872664601f;  // a thruster's lever force: 5 degrees in radians, as a float

std::string settings(const std::string& mode, const std::string& interval, const std::string& fog = "1") {
    return "MESHMODE: " + mode + "\nBOUNDING: 1000\nINTERVAL: " + interval + "\nMESH_FOG: " + fog + "\n";
}

struct StreamCapture : std::ostringstream {  // a standard stream redirected here for its lifetime
    explicit StreamCapture(std::ostream& s) : stream(s), saved(s.rdbuf(rdbuf())) {}
    ~StreamCapture() { stream.rdbuf(saved); }
    std::string take() {  // what was written since the last take
        const std::string taken = str();
        str("");
        return taken;
    }
    std::ostream& stream;
    std::streambuf* saved;
};

struct ScriptedJoystick : joystick_device_t {
    explicit ScriptedJoystick(const std::vector<float>* positions) : axes(positions) {}
    bool working() const override { return true; }
    int axis_count() const override { return static_cast<int>(axes->size()); }
    int button_count() const override { return 1; }
    void read(int* buttons, float* out) override { *buttons = 0, std::copy(axes->begin(), axes->end(), out); }
    const std::vector<float>* axes;
};

using plane_t = std::array<GLfloat, 4>;
// A texture unit as the passes set it: 1D texturing, s generation, the 1D texture bound, generation mode and plane.
using unit_t = std::tuple<GLint, GLint, GLint, GLint, plane_t>;

// Compared through fields(), which gtest prints member by member.
struct pass_state_t {
    GLint depth_test = 0, blend = 0, depth_mask = 0, blend_src = 0, blend_dst = 0, active = 0;
    plane_t colour{};
    std::array<GLfloat, 16> matrix{};  // model-view
    unit_t unit[2];
    auto fields() const {
        return std::tie(depth_test, blend, depth_mask, blend_src, blend_dst, active, colour, matrix, unit[0], unit[1]);
    }
};

pass_state_t read_state() {
    pass_state_t s;
    glGetIntegerv(GL_DEPTH_TEST, &s.depth_test);
    glGetIntegerv(GL_BLEND, &s.blend);
    glGetIntegerv(GL_DEPTH_WRITEMASK, &s.depth_mask);
    glGetIntegerv(GL_BLEND_SRC, &s.blend_src);
    glGetIntegerv(GL_BLEND_DST, &s.blend_dst);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &s.active);
    glGetFloatv(GL_CURRENT_COLOR, s.colour.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, s.matrix.data());
    for (int i = 0; i < 2; ++i) {
        gl_ext::glActiveTextureARB(GL_TEXTURE0 + i);
        auto& [texture_1d, gen_s, binding, gen_mode, plane] = s.unit[i];
        glGetIntegerv(GL_TEXTURE_1D, &texture_1d);
        glGetIntegerv(GL_TEXTURE_GEN_S, &gen_s);
        glGetIntegerv(GL_TEXTURE_BINDING_1D, &binding);
        if (gen_s) glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &gen_mode);
        if (gen_s) glGetTexGenfv(GL_S, gen_mode == GL_EYE_LINEAR ? GL_EYE_PLANE : GL_OBJECT_PLANE, plane.data());
    }
    gl_ext::glActiveTextureARB(s.active);
    return s;
}

// Handed to a pass in place of the lattice: reads the state it is drawn in.
struct StateProbe : libgr::grDrawable3D {
    void Draw() override { seen.push_back(read_state()); }
    std::vector<pass_state_t> seen;
};

// The fixture is the scene's host: it counts redisplays and overlay projections, keeps the text drawn.
class WireGateGLTest : public wg_test::GLTest, public demo_host_t {
protected:
    void request_redisplay() override { ++redisplays; }
    void set_overlay_projection() override { ++projections; }
    float overlay_top() const override { return 800.0f; }
    void draw_text(float x, float y, const char* text) override { texts.emplace_back(x, y, text); }
    // The scene in an environment of `vars` only, at the start of the time line as the root places it.
    void make(std::map<std::string, std::string> vars = {}, std::vector<float> axes = {}) {
        gl_ext_init();
        env = std::move(vars), joystick = std::move(axes);
        const auto lookup = [this](const char* name) { return env.count(name) ? env[name].c_str() : nullptr; };
        scene = std::make_unique<wire_gate_demo>(*this, lookup, std::make_unique<ScriptedJoystick>(&joystick));
        scene->m_offset = 0;
        constructed = out.take() + err.take();
    }
    void expect_accelerations(const xyz_t& angular, const xyz_t& linear) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(xyz(scene->m_coords.m_rates[1].rev)[i], angular[i], 1e-5f) << "angular " << i;
            EXPECT_NEAR(xyz(scene->m_coords.m_rates[1].pos)[i], linear[i], 1e-5f) << "linear " << i;
        }
    }
    void expect_lattice_matches() {
        EXPECT_TRUE(scene->m_mesh.IsPoints() == (scene->m_meshmode == 1) &&
                    scene->m_mesh.GetInterval().z == std::fabs(scene->m_interval));
    }

    int redisplays = 0, projections = 0;
    std::vector<std::tuple<float, float, std::string>> texts;
    StreamCapture out{std::cout}, err{std::cerr};
    std::string constructed;  // printed while the scene was made
    std::map<std::string, std::string> env;
    std::vector<float> joystick;  // the stick's positions, per axis
    std::unique_ptr<wire_gate_demo> scene;
};

}  // namespace

TEST_F(WireGateGLTest, EnvironmentValuesTheirFallbacksAndTheRefusedLattice) {
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        // the environment and stderr; the settings printed after the event dump are the defaults
        {{{"HALL_MESH_MODE", "010"}}, "HALL_MESH_MODE=010 is not 0, 1 or 2; using 2\n"},  // octal 8
        {{{"HALL_MESH_BOUNDING", "1e6"}, {"HALL_MESH_INTERVAL", "1"}},
         "DrawMesh2::Build: bounding (1e+06, 1e+06, 1e+06) with interval (1, 1, 1) needs more than 4000000 list "
         "calls; lattice kept\n"
         "wire_gate_demo: the lattice refused bounding 1e+06 with interval 1; using 1000 and 50\n"},
    };
    for (const auto& [vars, warning] : cases) {
        make(vars);
        EXPECT_EQ(constructed.substr(constructed.find("MESHMODE")), settings("2", "50") + warning) << warning;
        expect_lattice_matches();
    }
}

TEST_F(WireGateGLTest, KeysPrintTheirMessageRebuildAndRedraw) {
    make();
    const std::tuple<unsigned char, std::string, int> keys[] = {
        // key, standard output, redisplays so far
        {'[', "[: mesh interval change to 55\n" + settings("2", "55"), 1},
        {'p', "p: point draw mode\n" + settings("1", "55"), 2},
        {'L', "L: line stipple draw mode\n" + settings("2", "55"), 3},
        {'o', "o: fog mode change to 0\n", 4},  // no rebuild
    };
    for (const auto& [key, printed, redrawn] : keys) {
        EXPECT_TRUE(scene->key_down(key, 0, 0) && !scene->key_up(key, 0, 0)) << key;
        EXPECT_EQ(out.take(), printed) << key;
        EXPECT_EQ(redisplays, redrawn) << key;
        expect_lattice_matches();
    }
    for (unsigned char key : {'7', '9', 'q', 'P', ' '}) EXPECT_FALSE(scene->key_down(key, 0, 0)) << key;

    for (int i = 0; i < 10; ++i) scene->key_down(']', 0, 0);
    out.take();
    scene->key_down(']', 0, 0);  // 5 - 5 = 0, refused: the settings in force stay, "[" goes on from them
    EXPECT_EQ(out.take() + err.take(), "]: mesh interval change to 0\n" + settings("2", "5", "0") +
                                           "wire_gate_demo: no lattice with mode 2, bounding 1000 and interval 0; "
                                           "keeping mode 2, bounding 1000 and interval 5\n");
    expect_lattice_matches();
    scene->key_down('[', 0, 0);
    EXPECT_EQ(out.take(), "[: mesh interval change to 10\n" + settings("2", "10", "0"));
}

TEST_F(WireGateGLTest, AThrusterReleaseTakesBackOnlyWhatItsPressAdded) {
    const std::tuple<unsigned char, xyz_t, xyz_t> thrusters[] = {
        // key, angular (rad/s^2) and linear (units/s^2, body axes) acceleration while held
        {'0', {}, {0, 0, 5}}, {'5', {}, {0, 0, -5}}, {'1', {0, k, 0}, {}}, {'3', {0, -k, 0}, {}},
        {'2', {k, 0, 0}, {}}, {'8', {-k, 0, 0}, {}}, {'4', {0, 0, k}, {}}, {'6', {0, 0, -k}, {}},
    };
    make();
    for (const auto& [key, angular, linear] : thrusters) {
        EXPECT_TRUE(scene->key_down(key, 0, 0) && scene->key_down(key, 0, 0)) << key;  // the second adds nothing
        expect_accelerations(angular, linear);
        EXPECT_TRUE(scene->key_up(key, 0, 0));
        expect_accelerations({}, {});
    }
    EXPECT_TRUE(scene->key_up('3', 0, 0));  // a release without its press
    expect_accelerations({}, {});
    for (unsigned char key : {'5', '4'}) scene->key_down(key, 0, 0);
    EXPECT_TRUE(scene->key_down('.', 0, 0));  // the turning stops, the push goes on while held
    expect_accelerations({}, {0, 0, -5});
    for (unsigned char key : {'5', '4'}) scene->key_up(key, 0, 0);  // their presses are gone: nothing to take back
    expect_accelerations({}, {});
    scene->key_down('2', 0, 0);
    EXPECT_TRUE(scene->key_down('-', 0, 0));  // clears the forces too: the release adds nothing
    scene->key_up('2', 0, 0);
    expect_accelerations({}, {});
}

TEST_F(WireGateGLTest, TheJoystickSteersWithFourAxesOnlyAndRebasesFirst) {
    for (std::size_t axes : {3, 4}) {  // roll, pitch, thrust, yaw; three axes steer nothing, not even a rebase
        make({}, std::vector<float>(axes, 0.0f));
        joystick = {0.5f, 0.25f, 1.0f, -0.5f};
        joystick.resize(axes);
        scene->update(400);
        EXPECT_EQ(scene->m_coords.m_msec, axes == 4 ? 400u : 0u);  // rebased before the forces changed
        expect_accelerations(axes == 4 ? xyz_t{0.25f * k, 0.5f * k, -0.5f * k} : xyz_t{},
                             {0, 0, axes == 4 ? -5.0f : 0.0f});
    }
    joystick = {0.0f, 0.0f, 0.0f, 0.0f};  // centred, every force is gone
    scene->update(600);
    expect_accelerations({}, {});

    // "-" and "." clear the forces: a stick held through them pushes on at once, and centring it afterwards leaves
    // no acceleration; the velocity gained stays.
    for (unsigned char key : {'-', '.'}) {
        make({}, std::vector<float>(4, 0.0f));
        joystick = {0.5f, 0.0f, 1.0f, 0.0f};  // roll, and thrust along the roll axis
        scene->update(400);
        scene->key_down(key, 0, 0);
        EXPECT_EQ(scene->m_coords.m_rates[0].rev.z, 0.0f) << key;  // the turning stopped
        expect_accelerations({0, 0, -0.5f * k}, {0, 0, -5});
        scene->update(1400);
        joystick = {0.0f, 0.0f, 0.0f, 0.0f};
        scene->update(2400);
        expect_accelerations({}, {});
        EXPECT_NEAR(scene->m_coords.m_rates[0].pos.z, -10.0f, 1e-4f) << key;  // 2 s at 5 units/s^2
    }
}

TEST_F(WireGateGLTest, HistoryRingsTakeTheWindowWidthAndWrap) {
    make();
    scene->update(0);
    scene->m_coords.m_rates[0].pos = libgr::pos3{0.0f, 10.0f, 0.0f};  // climbing at 10 units/s
    scene->reshape(640, 480);
    for (std::uint32_t t = 1; t <= 641; ++t) scene->update(t * 10);  // one more sample than the ring holds
    EXPECT_TRUE(scene->m_hist_idx == 1 && std::fabs(scene->m_hist_t[0] - 6.41f) < 1e-6f &&
                scene->m_hist_t[639] == 6.4f);
    // Integrated from the velocity, the height rises as the closed form's.
    EXPECT_NEAR(scene->m_hist_iy[639] - scene->m_hist_iy[1], scene->m_hist_y[639] - scene->m_hist_y[1], 1e-2f);
    scene->key_down('-', 0, 0);  // zeroed, lengths kept
    EXPECT_TRUE(scene->m_hist_idx == 0 && scene->m_hist_t == std::vector<float>(640, 0.0f));
    scene->reshape(0, 0);  // no rings: updates skip the history, the lens keeps its aspect
    EXPECT_TRUE(scene->m_hist_y.empty() && scene->update(7000) && scene->m_hist_idx == 0);
    EXPECT_DOUBLE_EQ(scene->m_persp.aspect, 640.0 / 480.0);
}

TEST_F(WireGateGLTest, EachPassDrawsUnderItsStateAndLeavesOnlyWhatItShould) {
    set_fixed_gl_state();
    make();
    scene->m_coords.m_cur.pos = libgr::pos3{-75.0f, 10.0f, 120.0f};  // the lattice follows by (-50, 0, 100)
    const GLint line = scene->m_linetexobj.GetName(), stipple = scene->m_stippletexobj.GetName();
    const plane_t fade{0.0f, 0.0f, -0.0005f, 0.5f};  // s = 0.5 at the eye, 1 at 1000 units in front
    glDepthMask(GL_FALSE);                           // as the shell's frames start
    for (int mode : {0, 1, 2}) {
        for (bool fog : {false, true}) {
            scene->m_meshmode = mode, scene->m_meshfog = fog;
            // In force while the lattice is drawn, from the state before: want. Left behind: the colour, the bindings,
            // the stipple texture on unit 0 (until the shell's attribute pop) and the blend function; nothing else.
            pass_state_t want = read_state(), left = want;
            want.colour = left.colour = {0.8f, 0.8f, 0.8f, 1.0f};
            want.matrix[12] = -50.0f;
            want.matrix[14] = 100.0f;
            if (fog) {
                want.unit[mode == 2 ? 1 : 0] = {1, 1, line, GL_EYE_LINEAR, fade};  // the stipple pass's on unit 1
                left.unit[mode == 2 ? 1 : 0] = {0, 0, line, 0, {}};
            }
            if (mode == 2) {
                want.depth_mask = want.blend = 1;
                want.blend_dst = left.blend_dst = GL_ONE;
                want.unit[0] = {1, 1, stipple, GL_OBJECT_LINEAR, {0.02f, 0.02f, 0.02f, 0.0f}};
                left.unit[0] = {1, 0, stipple, 0, {}};
            } else {
                want.depth_test = 1;
            }
            StateProbe probe;
            mode == 2 ? scene->draw_stipple_mesh(probe) : scene->draw_plain_mesh(probe);
            ASSERT_EQ(probe.seen.size(), 1u);
            EXPECT_EQ(probe.seen[0].fields(), want.fields()) << "mode " << mode << " fog " << fog;
            EXPECT_EQ(read_state().fields(), left.fields()) << "mode " << mode << " fog " << fog;
        }
    }

    // The state text goes to the host, 50 units below its top, after "i".
    scene->draw();
    scene->key_down('i', 0, 0);
    scene->draw();
    std::ostringstream dumped;
    dump(dumped, scene->m_coords);
    EXPECT_EQ(texts, (std::vector<std::tuple<float, float, std::string>>{{0.0f, 750.0f, dumped.str()}}));
    EXPECT_EQ(projections, 1);
}
