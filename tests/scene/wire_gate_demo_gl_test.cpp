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
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using xyz_t = std::array<float, 3>;
template <class V> xyz_t xyz(const V& v) { return {v.x, v.y, v.z}; }
const float k = 0.0872664601f;  // a thruster's lever force: 5 degrees in radians, as a float

std::string settings(const std::string& mode, const std::string& interval, const std::string& fog = "1",
                     const std::string& bounding = "1000") {
    return "MESHMODE: " + mode + "\nBOUNDING: " + bounding + "\nINTERVAL: " + interval + "\nMESH_FOG: " + fog + "\n";
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

// A state dump as its lines, every number in them replaced by # (the labels and the value forms), and the numbers.
using dump_t = std::pair<std::vector<std::string>, std::vector<double>>;
dump_t parse_dump(const std::string& text) {
    static const std::regex number("(^|[(, ])(-?[0-9]+(\\.[0-9]+)?)");
    dump_t d;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        for (std::sregex_iterator m(line.begin(), line.end(), number), end; m != end; ++m)
            d.second.push_back(std::stod((*m)[2]));
        d.first.push_back(std::regex_replace(line, number, "$1#"));
    }
    return d;
}

// The dump of a state: both times, then the position, velocity and acceleration parts, then m_force[1]'s four
// (m_force[0] is always zero here).
dump_t expected_dump(std::uint32_t msec, std::uint32_t pstmsec, const std::vector<xyz_t>& parts) {
    dump_t d{{"dump event_coords_t ---", "m_msec: #", "m_pstmsec: #"}, {double(msec), double(pstmsec)}};
    const char* names[] = {"m_pos: pos3", "m_pos0: pos3", "m_vec: pos3", "m_acc: pos3",
                           "m_pst: rev3", "m_pst0: rev3", "m_rot: rev3", "m_rev: rev3"};
    for (int i = 0; i < 16; ++i) {
        const char* part[] = {"ro", "ze", "pf", "nf"};
        d.first.push_back(i < 8 ? std::string(names[i]) + "(#, #, #)"
                                : "m_force[" + std::to_string(i / 12) + "]." + part[i % 4] + ": dir3(#, #, #)");
        const xyz_t v = i < 8 ? parts[i] : i < 12 ? xyz_t{} : parts[i - 4];
        d.second.insert(d.second.end(), v.begin(), v.end());
    }
    return d;
}

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
        EXPECT_EQ(scene->m_mesh.IsPoints(), scene->m_meshmode == 1);
        EXPECT_EQ(scene->m_mesh.GetInterval().z, std::fabs(scene->m_interval));
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

// The syntax of the values is the settings test's; here what the scene makes of them. A lattice too large keeps its
// bounding and takes the smallest interval that fits.
TEST_F(WireGateGLTest, EnvironmentValuesTheirFallbacksAndTheWidenedInterval) {
    const std::tuple<std::map<std::string, std::string>, std::string, std::string> cases[] = {
        // the environment, the settings printed after the event dump, stderr
        {{{"HALL_MESH_MODE", "010"}}, settings("2", "50"), "HALL_MESH_MODE=010 is not 0, 1 or 2; using 2\n"},  // 8
        {{{"HALL_MESH_INTERVAL", "1"}}, settings("2", "1"), ""},
        {{{"HALL_MESH_BOUNDING", "3000"}, {"HALL_MESH_INTERVAL", "5"}, {"HALL_MESH_MODE", "1"}},
         settings("1", "5", "1", "3000"),
         ""},
        {{{"HALL_MESH_BOUNDING", "1e6"}},
         settings("2", "693.004", "1", "1e+06"),
         "wire_gate_demo: the lattice with mode 2, bounding 1e+06 and interval 50 would draw 9600480006 line vertices "
         "a frame, more than 50000000; using interval 693.004\n"},
        {{{"HALL_MESH_MODE", "1"}, {"HALL_MESH_INTERVAL", "-1e-45"}},
         settings("1", "1.58857"),
         "wire_gate_demo: the lattice with mode 1, bounding 1000 and interval -1.4013e-45 has a step too small to "
         "cross the bounding in single precision; using interval 1.58857\n"},
    };
    for (const auto& [vars, printed, warning] : cases) {
        make(vars);
        EXPECT_EQ(constructed.substr(constructed.find("MESHMODE")), printed + warning) << warning;
        expect_lattice_matches();
    }
}

// Each settings key: its step, its message with the new value, the settings as rebuilt, a redisplay; a step the
// lattice cannot take is refused in one line, and the settings in force stay.
TEST_F(WireGateGLTest, EveryKeySaysWhatItChangedByItsStep) {
    make();
    using state_t = std::tuple<int, float, float, bool, bool>;  // mode, bounding, interval, fog, state text
    const auto state = [&] {
        return state_t{scene->m_meshmode, scene->m_bounding, scene->m_interval, scene->m_meshfog, scene->m_showcoords};
    };
    const std::tuple<unsigned char, std::string, state_t, float, int> keys[] = {
        // key, standard output, the settings and the tone after it, redisplays so far
        {'/', "/: mesh tone change to 0.9\n" + settings("2", "50"), {2, 1000, 50, 1, 0}, 0.9f, 1},
        {'\\', "\\: mesh tone change to 0.8\n" + settings("2", "50"), {2, 1000, 50, 1, 0}, 0.8f, 2},
        {'p', "p: point draw mode\n" + settings("1", "50"), {1, 1000, 50, 1, 0}, 0.8f, 3},
        {'l', "l: line draw mode\n" + settings("0", "50"), {0, 1000, 50, 1, 0}, 0.8f, 4},
        {'L', "L: line stipple draw mode\n" + settings("2", "50"), {2, 1000, 50, 1, 0}, 0.8f, 5},
        {'[', "[: mesh interval change to 55\n" + settings("2", "55"), {2, 1000, 55, 1, 0}, 0.8f, 6},
        {']', "]: mesh interval change to 50\n" + settings("2", "50"), {2, 1000, 50, 1, 0}, 0.8f, 7},
        {'{', "{: mesh bounding change to 950\n" + settings("2", "50", "1", "950"), {2, 950, 50, 1, 0}, 0.8f, 8},
        {'}', "}: mesh bounding change to 1000\n" + settings("2", "50"), {2, 1000, 50, 1, 0}, 0.8f, 9},
        {'i', "", {2, 1000, 50, 1, 1}, 0.8f, 9},
        {'o', "o: fog mode change to 0\n", {2, 1000, 50, 0, 1}, 0.8f, 10},  // no rebuild
    };
    for (const auto& [key, printed, after, tone, redrawn] : keys) {
        EXPECT_TRUE(scene->key_down(key, 0, 0)) << key;
        EXPECT_FALSE(scene->key_up(key, 0, 0)) << key;
        EXPECT_EQ(out.take(), printed) << key;
        EXPECT_EQ(state(), after) << key;
        EXPECT_NEAR(scene->m_tone, tone, 1e-6f) << key;
        EXPECT_EQ(redisplays, redrawn) << key;
        expect_lattice_matches();
    }
    for (unsigned char key : {'7', '9', 'q', 'P', ' '}) EXPECT_FALSE(scene->key_down(key, 0, 0)) << key;
    EXPECT_EQ(out.take() + err.take(), "");

    const auto refused = [&](unsigned char key, const std::string& printed, const std::string& why) {
        const state_t before = state();
        scene->key_down(key, 0, 0);
        EXPECT_EQ(out.take() + err.take(), printed + why) << key;
        EXPECT_EQ(state(), before) << key;
        expect_lattice_matches();
    };
    for (int i = 0; i < 9; ++i) scene->key_down(']', 0, 0);
    out.take();
    refused(
        ']', "]: mesh interval change to 0\n" + settings("2", "5", "0"),
        "wire_gate_demo: the lattice with mode 2, bounding 1000 and interval 0 has an interval that is not a finite "
        "non-zero step; keeping mode 2, bounding 1000 and interval 5\n");
    scene->key_down('[', 0, 0);  // goes on from the settings in force
    EXPECT_EQ(out.take(), "[: mesh interval change to 10\n" + settings("2", "10", "0"));

    make({{"HALL_MESH_BOUNDING", "1400"}, {"HALL_MESH_INTERVAL", "1"}});  // 47 M line vertices
    refused('}', "}: mesh bounding change to 1450\n" + settings("2", "1", "1", "1400"),
            "wire_gate_demo: the lattice with mode 2, bounding 1450 and interval 1 would draw 50494806 line vertices a "
            "frame, more than 50000000; keeping mode 2, bounding 1400 and interval 1\n");
    refused('p', "p: point draw mode\n" + settings("2", "1", "1", "1400"),
            "wire_gate_demo: the lattice with mode 1, bounding 1400 and interval 1 would draw 21967682800 dots a "
            "frame, more than 2000000000; keeping mode 2, bounding 1400 and interval 1\n");
    EXPECT_EQ(scene->m_mesh.GetMax().x, 1400.0f);
}

TEST_F(WireGateGLTest, AThrusterReleaseTakesBackOnlyWhatItsPressAdded) {
    const std::tuple<unsigned char, xyz_t, xyz_t> thrusters[] = {
        // key, angular (rad/s^2) and linear (units/s^2, body axes) acceleration while held
        {'0', {}, {0, 0, 5}}, {'5', {}, {0, 0, -5}}, {'1', {0, k, 0}, {}}, {'3', {0, -k, 0}, {}},
        {'2', {k, 0, 0}, {}}, {'8', {-k, 0, 0}, {}}, {'4', {0, 0, k}, {}}, {'6', {0, 0, -k}, {}},
    };
    make();
    for (const auto& [key, angular, linear] : thrusters) {
        EXPECT_TRUE(scene->key_down(key, 0, 0)) << key;
        EXPECT_TRUE(scene->key_down(key, 0, 0)) << key;  // the second adds nothing
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

// The state text after a known flight, each part under its label, from the motion's closed form: "5" pushes forwards
// for 3 s; "1" spins the yaw up for 1 s, in which the path stays straight and the velocity turns in the body's axes;
// "3" then brakes the turn, held. The text goes to the host, 50 units below its top, after "i" only.
TEST_F(WireGateGLTest, TheStateTextShowsEachPartOfAKnownFlightUnderItsLabel) {
    make();
    const auto text_at = [&](std::uint32_t t) {
        scene->update(t);
        texts.clear();
        glPushAttrib(GL_ALL_ATTRIB_BITS);  // as the shell's frame: the stipple pass leaves texturing on
        scene->draw();
        glPopAttrib();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        EXPECT_EQ(texts.size(), 1u);
        if (texts.empty()) return dump_t{};
        EXPECT_EQ(std::pair(std::get<0>(texts[0]), std::get<1>(texts[0])), std::pair(0.0f, 750.0f));
        return parse_dump(std::get<2>(texts[0]));
    };
    scene->draw();
    EXPECT_TRUE(texts.empty());
    scene->key_down('i', 0, 0);
    const auto expect_dump = [](const dump_t& got, const dump_t& want) {
        EXPECT_EQ(got.first, want.first);
        ASSERT_EQ(got.second.size(), want.second.size());
        for (std::size_t i = 0; i < got.second.size(); ++i) EXPECT_NEAR(got.second[i], want.second[i], 1e-5) << i;
    };
    scene->update(0);
    scene->key_down('5', 0, 0);
    const xyz_t o{}, thrust{0, 0, -5};
    expect_dump(text_at(1500), expected_dump(0, 1500, {{0, 0, -5.625f}, o, o, thrust, o, o, o, o, o, thrust, o, o}));

    scene->update(3000);
    scene->key_up('5', 0, 0);
    scene->key_down('1', 0, 0);
    scene->update(4000);
    scene->key_up('1', 0, 0);
    scene->key_down('3', 0, 0);
    const float half = k / 2;  // the yaw after the spin-up, rad
    expect_dump(text_at(4500), expected_dump(4000, 4500,
                                             {{0, 0, -45},
                                              {0, 0, -37.5f},
                                              {15 * std::sin(half), 0, -15 * std::cos(half)},
                                              o,
                                              {0, 0.875f * k, 0},
                                              {0, half, 0},
                                              {0, k, 0},
                                              {0, -k, 0},
                                              {0, -k, 0},
                                              o,
                                              {k, 0, 0},
                                              o}));
    EXPECT_EQ(projections, 2);
}

TEST_F(WireGateGLTest, HistoryRingsTakeTheWindowWidthAndWrap) {
    make();
    scene->update(0);
    scene->m_coords.m_rates[0].pos = libgr::pos3{0.0f, 10.0f, 0.0f};  // climbing at 10 units/s
    scene->reshape(640, 480);
    for (std::uint32_t t = 1; t <= 641; ++t) scene->update(t * 10);  // one more sample than the ring holds
    EXPECT_EQ(scene->m_hist_idx, 1u);
    EXPECT_NEAR(scene->m_hist_t[0], 6.41f, 1e-6f);
    EXPECT_EQ(scene->m_hist_t[639], 6.4f);
    // Integrated from the velocity, the height rises as the closed form's.
    EXPECT_NEAR(scene->m_hist_iy[639] - scene->m_hist_iy[1], scene->m_hist_y[639] - scene->m_hist_y[1], 1e-2f);
    scene->key_down('-', 0, 0);  // zeroed, lengths kept
    EXPECT_EQ(scene->m_hist_idx, 0u);
    EXPECT_EQ(scene->m_hist_t, std::vector<float>(640, 0.0f));
    scene->reshape(0, 0);  // no rings: updates skip the history, the lens keeps its aspect
    EXPECT_TRUE(scene->m_hist_y.empty());
    EXPECT_TRUE(scene->update(7000));
    EXPECT_EQ(scene->m_hist_idx, 0u);
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
}
