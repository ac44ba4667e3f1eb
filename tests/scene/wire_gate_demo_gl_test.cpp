// wire_gate_demo with a real GL context: construction output and settings
// from the environment, the key table, thrusters, joystick and history rings.

#include "tests/scene/wire_gate_test_support.h"

#include <array>
#include <cmath>

using WireGateGLTest = wg_test::SceneGLTest;
using xyz_t = std::array<float, 3>;

namespace {

template <class V> xyz_t xyz(const V& v) { return {v.x, v.y, v.z}; }
const xyz_t kZero{0.0f, 0.0f, 0.0f};
const float k = 0.0872664601f;  // a thruster's lever force: 5 degrees in radians, as a float

template <class V> void expect_near(const V& v, const xyz_t& want, float tol = 1e-5f) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(xyz(v)[i], want[i], tol) << "component " << i;
}

std::string settings(const std::string& mode, const std::string& bounding, const std::string& interval,
                     const std::string& fog) {
    return "MESHMODE: " + mode + "\nBOUNDING: " + bounding + "\nINTERVAL: " + interval + "\nMESH_FOG: " + fog + "\n";
}
const std::string kDefaults = settings("2", "1000", "50", "1");

// The construction dump: one event at 0 and its snapshot, the default state.
std::string default_dump() {
    event_coords_t snapshot;
    snapshot.m_pstmsec = 0;
    std::ostringstream dumped;
    dump(dumped, snapshot);
    return "m_events[0] --- dump ---\nmsed: +0\nobj: 0\nm_fixevents.size(): 1\nm_fixevents[0] --- dump ---\n" +
           dumped.str();
}

// The lattice in force is the one the settings members describe.
void expect_lattice_matches(const wire_gate_demo& scene) {
    EXPECT_EQ(scene.m_mesh.IsPoints(), scene.m_meshmode == 1);
    EXPECT_FLOAT_EQ(scene.m_mesh.GetMax().y, std::fabs(scene.m_bounding));
    EXPECT_FLOAT_EQ(scene.m_mesh.GetInterval().z, std::fabs(scene.m_interval));
}

// Input forces, and the angular and linear velocities and accelerations.
using motion_t = std::array<xyz_t, 8>;
motion_t motion(const wire_gate_demo& scene) {
    const libgr::force_t& f = scene.m_coords.m_force[1];
    const libgr::pst3w* r = scene.m_coords.m_rates;
    return {xyz(f.ro), xyz(f.ze), xyz(f.pf), xyz(f.nf), xyz(r[0].rev), xyz(r[0].pos), xyz(r[1].rev), xyz(r[1].pos)};
}

}  // namespace

TEST_F(WireGateGLTest, DefaultSceneDumpsThenPrintsSettingsAndReleasesItsGLObjects) {
    make();
    EXPECT_EQ(constructed_out, default_dump() + kDefaults);
    EXPECT_EQ(constructed_err, "");
    EXPECT_EQ(scene->calc_length(), 0xFFFFFFFFu);
    expect_lattice_matches(*scene);
    const GLuint list = scene->m_meshlist.GetName(), texture = scene->m_stippletexobj.GetName();
    EXPECT_TRUE(glIsList(list) && glIsTexture(texture));
    scene.reset();
    EXPECT_FALSE(glIsList(list) || glIsTexture(texture));
}

TEST_F(WireGateGLTest, EnvironmentValuesAndTheirFallbacks) {
    const struct {
        std::map<std::string, std::string> vars;
        std::string settings, warning;  // stdout after the dump; stderr
    } cases[] = {
        {{{"HALL_MESH_MODE", "0x1"}}, settings("1", "1000", "50", "1"), ""},
        {{{"HALL_MESH_MODE", ""}}, settings("0", "1000", "50", "1"), ""},
        {{{"HALL_MESH_FOG", ""}}, settings("2", "1000", "50", "0"), ""},
        {{{"HALL_MESH_FOG", "0x0"}}, settings("2", "1000", "50", "0"), ""},
        {{{"HALL_MESH_BOUNDING", "abc"}}, settings("2", "0", "50", "1"), ""},
        {{{"HALL_MESH_INTERVAL", "-25"}}, settings("2", "1000", "-25", "1"), ""},
        {{{"HALL_MESH_MODE", "010"}}, kDefaults, "HALL_MESH_MODE=010 is not 0, 1 or 2; using 2\n"},  // octal 8
        {{{"HALL_MESH_INTERVAL", "0"}}, kDefaults, "HALL_MESH_INTERVAL=0 is not a finite non-zero step; using 50\n"},
        {{{"HALL_MESH_BOUNDING", "inf"}}, kDefaults, "HALL_MESH_BOUNDING=inf is not a finite number; using 1000\n"},
        {{{"HALL_MESH_BOUNDING", "1e6"}, {"HALL_MESH_INTERVAL", "1"}},
         kDefaults,
         "DrawMesh2::Build: bounding (1e+06, 1e+06, 1e+06) with interval (1, 1, 1) needs more than 4000000 list "
         "calls; lattice kept\n"
         "wire_gate_demo: the lattice refused bounding 1e+06 with interval 1; using 1000 and 50\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vars.begin()->first + "=" + c.vars.begin()->second);
        make(c.vars);
        EXPECT_EQ(constructed_out, default_dump() + c.settings);
        EXPECT_EQ(constructed_err, c.warning);
        expect_lattice_matches(*scene);
    }
}

TEST_F(WireGateGLTest, KeyTableMessagesRebuildsAndRedisplays) {
    make();
    const struct {
        unsigned char key;
        std::string lines;
        bool redraws;
    } cases[] = {
        {'[', "[: mesh interval change to 55\n" + settings("2", "1000", "55", "1"), true},
        {']', "]: mesh interval change to 50\n" + kDefaults, true},
        {'{', "{: mesh bounding change to 950\n" + settings("2", "950", "50", "1"), true},
        {'}', "}: mesh bounding change to 1000\n" + kDefaults, true},
        {'/', "/: mesh tone change to 0.9\n" + kDefaults, true},
        {'\\', "\\: mesh tone change to 0.8\n" + kDefaults, true},
        {'p', "p: point draw mode\n" + settings("1", "1000", "50", "1"), true},
        {'l', "l: line draw mode\n" + settings("0", "1000", "50", "1"), true},
        {'L', "L: line stipple draw mode\n" + kDefaults, true},
        {'o', "o: fog mode change to 0\n", true},  // no rebuild
        {'o', "o: fog mode change to 1\n", true},
        {'i', "", false},
    };
    int redraws = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c.key)));
        EXPECT_TRUE(scene->key_down(c.key, 0, 0));
        EXPECT_EQ(out.take(), c.lines);
        EXPECT_EQ(host.redisplays, redraws += c.redraws);
        EXPECT_FALSE(scene->key_up(c.key, 0, 0));
        expect_lattice_matches(*scene);
    }
    EXPECT_TRUE(scene->m_showcoords);
    for (int key : {'7', '9', 'q', 'x', 'P', 'O', ' ', '\x1b'}) {  // not the scene's
        EXPECT_FALSE(scene->key_down(static_cast<unsigned char>(key), 0, 0)) << key;
        EXPECT_FALSE(scene->key_up(static_cast<unsigned char>(key), 0, 0)) << key;
    }
    EXPECT_FALSE(scene->special_down(1, 0, 0));
    EXPECT_EQ(out.take() + err.take(), "");
    EXPECT_EQ(host.redisplays, redraws);
    for (int i = 0; i < 3; ++i) scene->key_down('/', 0, 0);
    EXPECT_GT(scene->m_tone, 1.0f);  // not clamped
}

TEST_F(WireGateGLTest, RebuildKeysTheLatticeRefusesKeepTheSettingsInForce) {
    make();
    for (int i = 0; i < 9; ++i) scene->key_down(']', 0, 0);
    out.take();
    ASSERT_EQ(err.take(), "");
    scene->key_down(']', 0, 0);  // 5 - 5 = 0: the message says what was asked, the settings what is used
    EXPECT_EQ(out.take(), "]: mesh interval change to 0\n" + settings("2", "1000", "5", "1"));
    EXPECT_EQ(err.take(),
              "wire_gate_demo: no lattice with mode 2, bounding 1000 and interval 0; "
              "keeping mode 2, bounding 1000 and interval 5\n");
    expect_lattice_matches(*scene);
    scene->key_down('[', 0, 0);  // and goes on from the value in force
    EXPECT_EQ(out.take(), "[: mesh interval change to 10\n" + settings("2", "1000", "10", "1"));

    // 1201 x 1202 rows of dots are within the lattice's limit, three times as many lines are not.
    make({{"HALL_MESH_MODE", "1"}, {"HALL_MESH_BOUNDING", "600"}, {"HALL_MESH_INTERVAL", "1"}});
    scene->key_down('l', 0, 0);
    EXPECT_EQ(out.take(), "l: line draw mode\n" + settings("1", "600", "1", "1"));
    EXPECT_NE(err.take().find("keeping mode 1, bounding 600 and interval 1"), std::string::npos);
    expect_lattice_matches(*scene);
}

TEST_F(WireGateGLTest, ThrustKeysApplyTheirTableForceWhileHeld) {
    const struct {
        unsigned char key;
        xyz_t angular;  // rad/s^2
        xyz_t linear;   // units/s^2, body axes
    } cases[] = {
        {'0', kZero, {0, 0, 5}}, {'5', kZero, {0, 0, -5}}, {'1', {0, k, 0}, kZero}, {'3', {0, -k, 0}, kZero},
        {'2', {k, 0, 0}, kZero}, {'8', {-k, 0, 0}, kZero}, {'4', {0, 0, k}, kZero}, {'6', {0, 0, -k}, kZero},
    };
    make();
    scene->update(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c.key)));
        EXPECT_TRUE(scene->key_down(c.key, 0, 0));
        expect_near(scene->m_coords.m_rates[1].rev, c.angular);
        expect_near(scene->m_coords.m_rates[1].pos, c.linear);
        EXPECT_TRUE(scene->key_up(c.key, 0, 0));
        EXPECT_EQ(motion(*scene), motion_t{});  // the release takes back exactly what the press added
    }
    EXPECT_EQ(out.take(), "");
}

TEST_F(WireGateGLTest, FiveHeldForASecondThenDotStopsTheTurningAndMinusResetsEverything) {
    make();
    scene->reshape(64, 48);
    scene->update(0);
    scene->key_down('5', 0, 0);
    scene->update(1000);
    scene->key_up('5', 0, 0);
    EXPECT_EQ(scene->m_coords.m_msec, 1000u);  // rebased to the key's time
    motion_t gained{};
    gained[5] = xyz(scene->m_coords.m_rates[0].pos);  // the velocity gained stays, nothing else
    EXPECT_EQ(motion(*scene), gained);
    EXPECT_NEAR(gained[5][2], -5.0f, 1e-4f);

    scene->key_down('4', 0, 0);  // roll and thrust, both held
    scene->update(3000);
    scene->key_down('5', 0, 0);
    EXPECT_TRUE(scene->key_down('.', 0, 0));
    EXPECT_EQ(xyz(scene->m_coords.m_base.rev), kZero);
    EXPECT_EQ(xyz(scene->m_coords.m_base.inv), kZero);
    for (const libgr::pst3w& rate : scene->m_coords.m_rates) EXPECT_EQ(xyz(rate.rev), kZero);
    EXPECT_LT(scene->m_coords.m_rates[0].pos.z, -4.0f);  // linear motion and base position stay
    EXPECT_FLOAT_EQ(scene->m_coords.m_rates[1].pos.z, -5.0f);
    EXPECT_LT(scene->m_coords.m_base.pos.z, -7.0f);

    scene->update(3500);
    EXPECT_TRUE(scene->key_down('-', 0, 0));
    EXPECT_EQ(scene->m_coords.m_msec, 3500u);
    EXPECT_EQ(xyz(scene->m_coords.m_base.pos), kZero);
    EXPECT_EQ(motion(*scene), motion_t{});
    EXPECT_EQ(scene->m_hist_idx, 0u);  // history zeroed, lengths kept
    EXPECT_EQ(scene->m_hist_t, std::vector<float>(64, 0.0f));
    scene->update(4000);
    EXPECT_EQ(xyz(scene->m_coords.m_cur.pos), kZero);
    EXPECT_EQ(xyz(scene->m_coords.m_cur.rev), kZero);
    EXPECT_EQ(out.take(), "");
}

TEST_F(WireGateGLTest, ReleasingAThrusterWhosePressWasClearedLeavesNoForceBehind) {
    make();
    scene->update(0);
    scene->key_up('3', 0, 0);  // a release without its press
    scene->key_down('5', 0, 0);
    scene->key_down('5', 0, 0);  // a second press adds nothing
    EXPECT_EQ(xyz(scene->m_coords.m_rates[1].pos), (xyz_t{0, 0, -5.0f}));
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
    EXPECT_EQ(motion(*scene), motion_t{});
}

TEST_F(WireGateGLTest, JoystickSteersWithFourAxesOnly) {
    make({}, std::vector<float>(3, 0.0f));
    scene->update(0);
    *joystick = {1.0f, 1.0f, 1.0f};
    scene->update(300);
    EXPECT_EQ(scene->m_coords.m_msec, 0u);  // not even a rebase
    EXPECT_EQ(motion(*scene), motion_t{});

    make({}, std::vector<float>(4, 0.0f));
    scene->update(0);
    *joystick = {0.5f, 0.25f, 1.0f, -0.5f};
    scene->update(400);
    EXPECT_EQ(scene->m_coords.m_msec, 400u);  // rebased before the forces changed
    // roll (0, 0, -0.5k) + pitch (0.25k, 0, 0) + yaw (0, 0.5k, 0); thrust -5 along z
    expect_near(scene->m_coords.m_rates[1].rev, {0.25f * k, 0.5f * k, -0.5f * k});
    expect_near(scene->m_coords.m_rates[1].pos, {0, 0, -5.0f});
    scene->update(500);  // an unmoved stick changes nothing
    EXPECT_EQ(scene->m_coords.m_msec, 400u);
    *joystick = {0.0f, 0.0f, 0.0f, 0.0f};  // centred, every force is gone
    scene->update(600);
    expect_near(scene->m_coords.m_rates[1].rev, kZero);
    expect_near(scene->m_coords.m_rates[1].pos, kZero);
}

TEST_F(WireGateGLTest, ReshapeSetsViewportProjectionAndHistoryRings) {
    make();
    scene->update(0);
    scene->m_coords.m_rates[0].pos = libgr::pos3{0.0f, 10.0f, 0.0f};  // climbing at 10 units/s
    glMatrixMode(GL_MODELVIEW);
    scene->reshape(640, 480);
    GLint mode = 0, viewport[4] = {};
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(viewport[2] == 640 && viewport[3] == 480);
    GLfloat p[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5] / p[0], 640.0f / 480.0f, 1e-4f);  // square pixels
    for (const auto* ring : {&scene->m_hist_y, &scene->m_hist_vy, &scene->m_hist_t, &scene->m_hist_iy})
        EXPECT_EQ(*ring, std::vector<float>(640, 0.0f));
    EXPECT_EQ(scene->m_hist_idx, 0u);

    for (std::uint32_t t = 1; t <= 640; ++t) scene->update(t * 10);
    EXPECT_EQ(scene->m_hist_idx, 0u);
    EXPECT_FLOAT_EQ(scene->m_hist_t[639], 6.4f);
    EXPECT_NEAR(scene->m_hist_vy[639], 10.0f, 1e-4f);
    EXPECT_NEAR(scene->m_hist_y[639], 64.0f, 1e-3f);
    // Integrated from the velocity, the height rises as the closed form's.
    EXPECT_NEAR(scene->m_hist_iy[639] - scene->m_hist_iy[0], scene->m_hist_y[639] - scene->m_hist_y[0], 1e-2f);
    scene->update(6410);  // the ring wraps: the oldest sample goes
    EXPECT_EQ(scene->m_hist_idx, 1u);
    EXPECT_FLOAT_EQ(scene->m_hist_t[0], 6.41f);

    scene->reshape(0, 0);  // rings empty: updates skip the history
    EXPECT_TRUE(scene->m_hist_y.empty() && scene->update(7000));
    EXPECT_EQ(scene->m_hist_idx, 0u);
    EXPECT_DOUBLE_EQ(scene->m_persp.aspect, 640.0 / 480.0);
    glViewport(0, 0, 256, 256);
}
