// wire_gate_demo with a real GL context: construction output and settings
// from the environment, the key table, thrusters, the joystick mapping and
// the history rings.

#include "scene/wire_gate_demo.h"

#include "framework/events.h"
#include "graphics/values_ops.h"
#include "shell/gl_ext.h"

#include "gl_test_context.h"
#include "wire_gate_test_support.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

using wg_test::FakeEnvironment;
using wg_test::StreamCapture;

namespace {

class WireGateGLTest : public wg_test::GLTest {
protected:
    static void SetUpTestSuite() {
        wg_test::GLTest::SetUpTestSuite();
        static const bool loaded = (gl_ext_init(), true);
        (void)loaded;
    }

    // A scene built in the given environment; its output goes to out/err.
    std::unique_ptr<wire_gate_demo> make(std::map<std::string, std::string> vars = {},
                                         std::unique_ptr<joystick_device_t> joystick = nullptr) {
        if (!joystick) joystick = std::make_unique<wg_test::ScriptedJoystick>(std::make_shared<std::vector<float>>());
        auto scene = std::make_unique<wire_gate_demo>(FakeEnvironment(std::move(vars)), std::move(joystick));
        scene->m_offset = 0;  // placed at the start of the time line, as the root does
        constructed_out = out.take();
        constructed_err = err.take();
        return scene;
    }

    wg_test::RedisplayCounter redisplay;  // no toolkit in these tests
    StreamCapture out{std::cout};
    StreamCapture err{std::cerr};
    std::string constructed_out;
    std::string constructed_err;
};

std::string settings_text(const std::string& mode, const std::string& bounding, const std::string& interval,
                          const std::string& fog) {
    return "MESHMODE: " + mode + "\nBOUNDING: " + bounding + "\nINTERVAL: " + interval + "\nMESH_FOG: " + fog + "\n";
}

const char* const kDefaultDump =
    "m_events[0] --- dump ---\n"
    "msed: +0\n"
    "obj: 0\n"
    "m_fixevents.size(): 1\n"
    "m_fixevents[0] --- dump ---\n"
    "dump event_coords_t ---\n"
    "m_msec: 0\n"
    "m_pstmsec: 0\n"
    "m_pos: pos3(0.000000, 0.000000, 0.000000)\n"
    "m_pos0: pos3(0.000000, 0.000000, 0.000000)\n"
    "m_vec: pos3(0.000000, 0.000000, 0.000000)\n"
    "m_acc: pos3(0.000000, 0.000000, 0.000000)\n"
    "m_pst: rev3(0.000000, 0.000000, 0.000000)\n"
    "m_pst0: rev3(0.000000, 0.000000, 0.000000)\n"
    "m_rot: rev3(0.000000, 0.000000, 0.000000)\n"
    "m_rev: rev3(0.000000, 0.000000, 0.000000)\n"
    "m_force[0].ro: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[0].ze: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[0].pf: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[0].nf: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[1].ro: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[1].ze: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[1].pf: dir3(0.000000, 0.000000, 0.000000)\n"
    "m_force[1].nf: dir3(0.000000, 0.000000, 0.000000)\n";

template <class V>
void expect_vec(const V& v, float x, float y, float z, float tol = 1e-5f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

// The lattice in force is the one the settings members describe.
void expect_lattice_matches(const wire_gate_demo& scene) {
    EXPECT_EQ(scene.m_mesh.IsPoints(), scene.m_meshmode == 1);
    EXPECT_FLOAT_EQ(scene.m_mesh.GetMax().y, std::fabs(scene.m_bounding));
    EXPECT_FLOAT_EQ(scene.m_mesh.GetInterval().z, std::fabs(scene.m_interval));
}

}  // namespace

// ---- construction and environment ------------------------------------------

TEST_F(WireGateGLTest, DefaultConstructionPrintsDumpThenSettings) {
    auto scene = make();
    EXPECT_EQ(constructed_out, std::string(kDefaultDump) + settings_text("2", "1000", "50", "1"));
    EXPECT_EQ(constructed_err, "");
    EXPECT_EQ(scene->calc_length(), 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(scene->m_tone, 0.8f);
    ASSERT_EQ(scene->m_schedule.size(), 1u);
    EXPECT_EQ(scene->m_events.begin()->second, scene->m_schedule[0].second);  // shared, not copied
    expect_lattice_matches(*scene);
    EXPECT_TRUE(glIsList(scene->m_meshlist.GetName()));
    EXPECT_TRUE(glIsTexture(scene->m_linetex2obj.GetName()));
}

TEST_F(WireGateGLTest, EnvironmentValuesAreParsedAsTheProgramDocuments) {
    struct Case {
        std::map<std::string, std::string> vars;
        std::string settings;
        bool warns;
    };
    const Case cases[] = {
        {{{"HALL_MESH_MODE", "0x1"}}, settings_text("1", "1000", "50", "1"), false},
        {{{"HALL_MESH_MODE", ""}}, settings_text("0", "1000", "50", "1"), false},
        {{{"HALL_MESH_MODE", "010"}}, settings_text("2", "1000", "50", "1"), true},  // octal 8
        {{{"HALL_MESH_FOG", ""}}, settings_text("2", "1000", "50", "0"), false},
        {{{"HALL_MESH_FOG", "0x0"}}, settings_text("2", "1000", "50", "0"), false},
        {{{"HALL_MESH_FOG", "3"}}, settings_text("2", "1000", "50", "1"), false},
        {{{"HALL_MESH_BOUNDING", "abc"}}, settings_text("2", "0", "50", "1"), false},
        {{{"HALL_MESH_INTERVAL", "-25"}}, settings_text("2", "1000", "-25", "1"), false},
        {{{"HALL_MESH_BOUNDING", "300.5"}, {"HALL_MESH_INTERVAL", "12.25"}},
         settings_text("2", "300.5", "12.25", "1"), false},
        {{{"HALL_MESH_MODE", "7"}}, settings_text("2", "1000", "50", "1"), true},
        {{{"HALL_MESH_INTERVAL", "0"}}, settings_text("2", "1000", "50", "1"), true},
        {{{"HALL_MESH_BOUNDING", "inf"}}, settings_text("2", "1000", "50", "1"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vars.begin()->first + "=" + c.vars.begin()->second);
        auto scene = make(c.vars);
        ASSERT_EQ(constructed_out.substr(0, std::string(kDefaultDump).size()), kDefaultDump);
        EXPECT_EQ(constructed_out.substr(std::string(kDefaultDump).size()), c.settings);
        if (c.warns) {
            // Exactly one line saying what is used instead.
            EXPECT_NE(constructed_err.find("using"), std::string::npos) << constructed_err;
            EXPECT_EQ(std::count(constructed_err.begin(), constructed_err.end(), '\n'), 1) << constructed_err;
        } else {
            EXPECT_EQ(constructed_err, "");
        }
        expect_lattice_matches(*scene);
    }
}

TEST_F(WireGateGLTest, ALatticeTooLargeToBuildFallsBackToTheDefaults) {
    auto scene = make({{"HALL_MESH_BOUNDING", "1e6"}, {"HALL_MESH_INTERVAL", "1"}});
    EXPECT_EQ(constructed_out.substr(std::string(kDefaultDump).size()), settings_text("2", "1000", "50", "1"));
    EXPECT_NE(constructed_err.find("wire_gate_demo: the lattice refused bounding 1e+06 with interval 1; using 1000 and 50"),
              std::string::npos)
        << constructed_err;
    expect_lattice_matches(*scene);
}

// ---- the key table ---------------------------------------------------------

TEST_F(WireGateGLTest, SettingsKeysPrintTheirMessageThenTheSettingsAndRedraw) {
    auto scene = make();
    struct Case {
        unsigned char key;
        std::string lines;
    };
    const Case cases[] = {
        {'[', "[: mesh interval change to 55\n" + settings_text("2", "1000", "55", "1")},
        {']', "]: mesh interval change to 50\n" + settings_text("2", "1000", "50", "1")},
        {'{', "{: mesh bounding change to 950\n" + settings_text("2", "950", "50", "1")},
        {'}', "}: mesh bounding change to 1000\n" + settings_text("2", "1000", "50", "1")},
        {'/', "/: mesh tone change to 0.9\n" + settings_text("2", "1000", "50", "1")},
        {'\\', "\\: mesh tone change to 0.8\n" + settings_text("2", "1000", "50", "1")},
        {'p', "p: point draw mode\n" + settings_text("1", "1000", "50", "1")},
        {'l', "l: line draw mode\n" + settings_text("0", "1000", "50", "1")},
        {'L', "L: line stipple draw mode\n" + settings_text("2", "1000", "50", "1")},
    };
    int expected_redisplays = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c.key)));
        EXPECT_TRUE(scene->key_down(c.key, 0, 0));
        EXPECT_EQ(out.take(), c.lines);
        EXPECT_EQ(redisplay.count(), ++expected_redisplays);
        EXPECT_FALSE(scene->key_up(c.key, 0, 0));
        expect_lattice_matches(*scene);
    }
    EXPECT_EQ(err.take(), "");
    // The tone is added in double and stored as float, without a clamp.
    for (int i = 0; i < 3; ++i) scene->key_down('/', 0, 0);
    EXPECT_EQ(scene->m_tone, static_cast<float>(static_cast<float>(static_cast<float>(0.8f + 0.1) + 0.1) + 0.1));
    EXPECT_GT(scene->m_tone, 1.0f);
}

TEST_F(WireGateGLTest, OverlayAndFogKeysAndKeysThatAreNotTheScenes) {
    auto scene = make();
    EXPECT_TRUE(scene->key_down('o', 0, 0));
    EXPECT_EQ(out.take(), "o: fog mode change to 0\n");  // no settings lines
    EXPECT_FALSE(scene->m_meshfog);
    EXPECT_EQ(redisplay.count(), 1);
    EXPECT_TRUE(scene->key_down('o', 0, 0));
    EXPECT_EQ(out.take(), "o: fog mode change to 1\n");

    EXPECT_TRUE(scene->key_down('i', 0, 0));
    EXPECT_TRUE(scene->m_showcoords);
    EXPECT_EQ(out.take(), "");
    EXPECT_EQ(redisplay.count(), 2);

    for (int key : {'7', '9', 'q', 'x', 'P', 'O', ' ', '\x1b'}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(scene->key_down(static_cast<unsigned char>(key), 0, 0));
        EXPECT_FALSE(scene->key_up(static_cast<unsigned char>(key), 0, 0));
    }
    EXPECT_EQ(out.take(), "");
    EXPECT_EQ(redisplay.count(), 2);
    EXPECT_FALSE(scene->special_down(1, 0, 0));
    EXPECT_FALSE(scene->special_up(1, 0, 0));
}

TEST_F(WireGateGLTest, IntervalKeyThatReachesZeroKeepsTheLatticeInForce) {
    auto scene = make();
    for (int i = 0; i < 9; ++i) scene->key_down(']', 0, 0);
    out.take();
    EXPECT_EQ(err.take(), "");
    ASSERT_FLOAT_EQ(scene->m_interval, 5.0f);

    scene->key_down(']', 0, 0);
    // The message shows the value asked for, the settings the value used.
    EXPECT_EQ(out.take(), "]: mesh interval change to 0\n" + settings_text("2", "1000", "5", "1"));
    const std::string e = err.take();
    EXPECT_EQ(std::count(e.begin(), e.end(), '\n'), 1) << e;
    EXPECT_NE(e.find("keeping mode 2, bounding 1000 and interval 5"), std::string::npos) << e;
    EXPECT_FLOAT_EQ(scene->m_interval, 5.0f);
    expect_lattice_matches(*scene);

    // The interval can still go back up from the value in force.
    scene->key_down('[', 0, 0);
    EXPECT_EQ(out.take(), "[: mesh interval change to 10\n" + settings_text("2", "1000", "10", "1"));
}

TEST_F(WireGateGLTest, ModeKeyWhoseLatticeIsTooLargeKeepsTheModeInForce) {
    // 1201 x 1202 rows of dots are within the lattice's limit, three times as
    // many lines are not.
    auto scene = make({{"HALL_MESH_MODE", "1"}, {"HALL_MESH_BOUNDING", "600"}, {"HALL_MESH_INTERVAL", "1"}});
    ASSERT_TRUE(scene->m_mesh.IsPoints());
    scene->key_down('l', 0, 0);
    EXPECT_EQ(out.take(), "l: line draw mode\n" + settings_text("1", "600", "1", "1"));
    EXPECT_NE(err.take().find("keeping mode 1, bounding 600 and interval 1"), std::string::npos);
    EXPECT_EQ(scene->m_meshmode, 1);
    expect_lattice_matches(*scene);
}

// ---- thrusters, reset, level-out -------------------------------------------

TEST_F(WireGateGLTest, ThrustKeysApplyTheirTableForceWhileHeld) {
    const float k = 0.0872664601f;  // 5 degrees in radians, as a float
    struct Case {
        unsigned char key;
        libgr::rev3 angular;  // rad/s^2
        libgr::pos3 linear;   // units/s^2, body axes
    };
    const Case cases[] = {
        {'0', {0, 0, 0}, {0, 0, 5}}, {'5', {0, 0, 0}, {0, 0, -5}}, {'1', {0, k, 0}, {0, 0, 0}},
        {'3', {0, -k, 0}, {0, 0, 0}}, {'2', {k, 0, 0}, {0, 0, 0}}, {'8', {-k, 0, 0}, {0, 0, 0}},
        {'4', {0, 0, k}, {0, 0, 0}}, {'6', {0, 0, -k}, {0, 0, 0}},
    };
    auto scene = make();
    scene->update(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c.key)));
        EXPECT_TRUE(scene->key_down(c.key, 0, 0));
        expect_vec(scene->m_coords.m_rates[1].rev, c.angular.x, c.angular.y, c.angular.z);
        expect_vec(scene->m_coords.m_rates[1].inv, -c.angular.x, -c.angular.y, -c.angular.z);
        expect_vec(scene->m_coords.m_rates[1].pos, c.linear.x, c.linear.y, c.linear.z);
        EXPECT_TRUE(scene->key_up(c.key, 0, 0));
        expect_vec(scene->m_coords.m_rates[1].rev, 0, 0, 0);
        expect_vec(scene->m_coords.m_rates[1].pos, 0, 0, 0);
    }
    EXPECT_EQ(out.take(), "");
}

TEST_F(WireGateGLTest, HoldingFiveForASecondKeepsTheVelocityGained) {
    auto scene = make();
    scene->update(1000);
    EXPECT_TRUE(scene->key_down('5', 0, 0));
    EXPECT_EQ(scene->m_coords.m_msec, 1000u);  // rebased to the key's time
    scene->update(2000);
    EXPECT_TRUE(scene->key_up('5', 0, 0));
    EXPECT_EQ(scene->m_coords.m_msec, 2000u);
    const libgr::force_t& f = scene->m_coords.m_force[1];
    for (const libgr::dir3& part : {f.ro, f.ze, f.pf, f.nf}) expect_vec(part, 0, 0, 0, 0.0f);
    expect_vec(scene->m_coords.m_rates[1].pos, 0, 0, 0);
    expect_vec(scene->m_coords.m_rates[0].pos, 0, 0, -5.0f, 1e-4f);
    scene->update(3000);
    // 2.5 units while accelerating, 5 more at 5 units/s.
    expect_vec(scene->m_coords.m_cur.pos, 0, 0, -7.5f, 1e-3f);
}

TEST_F(WireGateGLTest, MinusResetsEverythingDotStopsOnlyTheTurning) {
    auto scene = make();
    scene->reshape(64, 48);
    scene->update(0);
    scene->key_down('5', 0, 0);
    scene->update(1000);
    scene->key_up('5', 0, 0);
    scene->key_down('4', 0, 0);  // roll, held
    scene->update(2000);
    scene->key_down('5', 0, 0);  // thrust, held
    ASSERT_GT(std::fabs(scene->m_coords.m_cur.rev.z), 0.01f);

    EXPECT_TRUE(scene->key_down('.', 0, 0));
    expect_vec(scene->m_coords.m_base.rev, 0, 0, 0, 0.0f);
    expect_vec(scene->m_coords.m_base.inv, 0, 0, 0, 0.0f);
    for (const libgr::pst3w& rate : scene->m_coords.m_rates) {
        expect_vec(rate.rev, 0, 0, 0, 0.0f);
        expect_vec(rate.inv, 0, 0, 0, 0.0f);
    }
    // Linear velocity, acceleration and the base position stay.
    EXPECT_LT(scene->m_coords.m_rates[0].pos.z, -4.0f);
    EXPECT_FLOAT_EQ(scene->m_coords.m_rates[1].pos.z, -5.0f);
    EXPECT_LT(scene->m_coords.m_base.pos.z, -2.0f);
    expect_vec(scene->m_coords.m_force[1].ze, 0, 0, 0, 0.0f);
    ASSERT_EQ(scene->m_hist_idx, 3u);

    scene->update(2500);
    EXPECT_TRUE(scene->key_down('-', 0, 0));
    EXPECT_EQ(scene->m_coords.m_msec, 2500u);
    expect_vec(scene->m_coords.m_base.pos, 0, 0, 0, 0.0f);
    for (const libgr::pst3w& rate : scene->m_coords.m_rates) expect_vec(rate.pos, 0, 0, 0, 0.0f);
    // History zeroed, lengths kept.
    EXPECT_EQ(scene->m_hist_idx, 0u);
    ASSERT_EQ(scene->m_hist_iy.size(), 64u);
    for (float v : scene->m_hist_t) EXPECT_EQ(v, 0.0f);
    scene->update(4000);
    expect_vec(scene->m_coords.m_cur.pos, 0, 0, 0, 0.0f);
    expect_vec(scene->m_coords.m_cur.rev, 0, 0, 0, 0.0f);
    EXPECT_EQ(out.take(), "");
}

TEST_F(WireGateGLTest, ReleasingAThrusterWhosePressWasClearedLeavesNoForceBehind) {
    auto scene = make();
    scene->update(0);
    scene->key_up('3', 0, 0);  // a release without its press
    scene->key_down('5', 0, 0);
    scene->key_down('5', 0, 0);  // a second press adds nothing
    expect_vec(scene->m_coords.m_rates[1].pos, 0, 0, -5.0f, 0.0f);
    scene->key_down('4', 0, 0);
    scene->update(500);
    scene->key_down('.', 0, 0);
    EXPECT_FLOAT_EQ(scene->m_coords.m_rates[1].pos.z, -5.0f);  // still pushed while held
    scene->update(1000);
    scene->key_up('5', 0, 0);
    scene->key_up('4', 0, 0);
    scene->key_down('2', 0, 0);
    scene->key_down('-', 0, 0);
    scene->key_up('2', 0, 0);
    const libgr::force_t& f = scene->m_coords.m_force[1];
    for (const libgr::dir3& part : {f.ro, f.ze, f.pf, f.nf}) expect_vec(part, 0, 0, 0, 0.0f);
    for (const libgr::pst3w& rate : scene->m_coords.m_rates) {
        expect_vec(rate.rev, 0, 0, 0, 0.0f);
        expect_vec(rate.pos, 0, 0, 0, 0.0f);
    }
}

// ---- joystick --------------------------------------------------------------

TEST_F(WireGateGLTest, JoystickAxesBecomeForcesFollowingTheStick) {
    const float k = 0.0872664601f;
    auto positions = std::make_shared<std::vector<float>>(4, 0.0f);
    auto scene = make({}, std::make_unique<wg_test::ScriptedJoystick>(positions));
    scene->update(0);
    *positions = {0.5f, 0.25f, 1.0f, -0.5f};
    scene->update(400);
    EXPECT_EQ(scene->m_coords.m_msec, 400u);  // rebased before the forces changed
    // roll (0, 0, -0.5k) + pitch (0.25k, 0, 0) + yaw (0, 0.5k, 0); thrust -5 along z
    expect_vec(scene->m_coords.m_rates[1].rev, 0.25f * k, 0.5f * k, -0.5f * k);
    expect_vec(scene->m_coords.m_rates[1].pos, 0, 0, -5.0f);
    // An unmoved stick changes nothing; centring it removes every force.
    scene->update(500);
    EXPECT_EQ(scene->m_coords.m_msec, 400u);
    *positions = {0.0f, 0.0f, 0.0f, 0.0f};
    scene->update(600);
    expect_vec(scene->m_coords.m_rates[1].rev, 0, 0, 0);
    expect_vec(scene->m_coords.m_rates[1].pos, 0, 0, 0);
}

TEST_F(WireGateGLTest, JoystickWithThreeAxesNeverSteers) {
    auto positions = std::make_shared<std::vector<float>>(3, 0.0f);
    auto scene = make({}, std::make_unique<wg_test::ScriptedJoystick>(positions));
    scene->update(0);
    *positions = {1.0f, 1.0f, 1.0f};
    scene->update(300);
    EXPECT_EQ(scene->m_coords.m_msec, 0u);  // not even a rebase
    expect_vec(scene->m_coords.m_rates[1].rev, 0, 0, 0, 0.0f);
    expect_vec(scene->m_coords.m_rates[1].pos, 0, 0, 0, 0.0f);
}

// ---- reshape and the history rings -----------------------------------------

TEST_F(WireGateGLTest, ReshapeSetsViewportProjectionAndRings) {
    auto scene = make();
    GLint mode = 0;
    glMatrixMode(GL_MODELVIEW);
    scene->reshape(640, 480);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    EXPECT_DOUBLE_EQ(scene->m_persp.aspect, 640.0 / 480.0);
    EXPECT_DOUBLE_EQ(scene->m_persp.znear, 0.1);
    EXPECT_DOUBLE_EQ(scene->m_persp.zfar, 1000.1);
    GLfloat p[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5] / p[0], 640.0f / 480.0f, 1e-4f);        // square pixels
    EXPECT_NEAR(p[10], -(1000.1f + 0.1f) / 1000.0f, 1e-4f);  // planes at 0.1 and 1000.1

    for (const auto* ring : {&scene->m_hist_y, &scene->m_hist_vy, &scene->m_hist_t, &scene->m_hist_iy}) {
        ASSERT_EQ(ring->size(), 640u);
        for (float v : *ring) EXPECT_EQ(v, 0.0f);
    }
    EXPECT_EQ(scene->m_hist_idx, 0u);
    for (std::uint32_t t = 1; t <= 640; ++t) scene->update(t * 10);
    EXPECT_EQ(scene->m_hist_idx, 0u);
    EXPECT_FLOAT_EQ(scene->m_hist_t[639], 6.4f);
    EXPECT_FLOAT_EQ(scene->m_hist_t[0], 0.01f);
    scene->update(6410);  // the ring wraps: the oldest sample goes
    EXPECT_EQ(scene->m_hist_idx, 1u);
    EXPECT_FLOAT_EQ(scene->m_hist_t[0], 6.41f);

    scene->reshape(0, 0);  // rings empty: updates skip the history
    EXPECT_TRUE(scene->m_hist_y.empty());
    EXPECT_TRUE(scene->update(7000));
    EXPECT_EQ(scene->m_hist_idx, 0u);
    EXPECT_DOUBLE_EQ(scene->m_persp.aspect, 640.0 / 480.0);
    glViewport(0, 0, 256, 256);
}

TEST_F(WireGateGLTest, HistoryIntegratesTheVerticalVelocity) {
    auto scene = make();
    scene->update(0);
    scene->m_coords.m_rates[0].pos = libgr::pos3{0.0f, 10.0f, 0.0f};  // 10 units/s upwards
    scene->reshape(100, 100);
    scene->update(0);
    for (std::uint32_t t = 100; t <= 1000; t += 100) scene->update(t);
    ASSERT_EQ(scene->m_hist_idx, 11u);
    for (std::uint32_t i = 1; i <= 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(scene->m_hist_t[i], 0.1f * i, 1e-5f);
        EXPECT_NEAR(scene->m_hist_vy[i], 10.0f, 1e-5f);
        EXPECT_NEAR(scene->m_hist_y[i], 1.0f * i, 1e-4f);
        EXPECT_NEAR(scene->m_hist_iy[i], scene->m_hist_y[i], 1e-4f);
    }
    glViewport(0, 0, 256, 256);
}

TEST_F(WireGateGLTest, DestroyingTheSceneReleasesItsGLObjects) {
    GLuint list = 0, texture = 0;
    {
        auto scene = make();
        list = scene->m_meshlist.GetName();
        texture = scene->m_stippletexobj.GetName();
        ASSERT_TRUE(glIsList(list));
        ASSERT_TRUE(glIsTexture(texture));
    }
    EXPECT_FALSE(glIsList(list));
    EXPECT_FALSE(glIsTexture(texture));
}
