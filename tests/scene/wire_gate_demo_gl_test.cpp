// wire_gate_demo with a real GL context: the settings from the environment and
// their fallbacks, the keys, thrusters, joystick and history rings.

#include "tests/scene/wire_gate_test_support.h"

#include <array>
#include <cmath>
#include <tuple>

using WireGateGLTest = wg_test::SceneGLTest;
using xyz_t = std::array<float, 3>;

namespace {

template <class V> xyz_t xyz(const V& v) { return {v.x, v.y, v.z}; }
const float k = 0.0872664601f;  // a thruster's lever force: 5 degrees in radians, as a float

std::string settings(const std::string& mode, const std::string& bounding, const std::string& interval,
                     const std::string& fog = "1") {
    return "MESHMODE: " + mode + "\nBOUNDING: " + bounding + "\nINTERVAL: " + interval + "\nMESH_FOG: " + fog + "\n";
}
const std::string kDefaults = settings("2", "1000", "50");

// Angular and linear acceleration from the input forces, each within 1e-5.
void expect_accelerations(const wire_gate_demo& scene, const xyz_t& angular, const xyz_t& linear) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(xyz(scene.m_coords.m_rates[1].rev)[i], angular[i], 1e-5f) << "angular " << i;
        EXPECT_NEAR(xyz(scene.m_coords.m_rates[1].pos)[i], linear[i], 1e-5f) << "linear " << i;
    }
}

// The lattice in force is the one the settings members describe.
void expect_lattice_matches(const wire_gate_demo& scene) {
    EXPECT_TRUE(scene.m_mesh.IsPoints() == (scene.m_meshmode == 1) &&
                scene.m_mesh.GetMax().y == std::fabs(scene.m_bounding) &&
                scene.m_mesh.GetInterval().z == std::fabs(scene.m_interval));
}

}  // namespace

TEST_F(WireGateGLTest, EnvironmentValuesTheirFallbacksAndTheRefusedLattice) {
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        // the environment and stderr; the settings printed after the event dump are the defaults
        {{{"HALL_MESH_MODE", "010"}}, "HALL_MESH_MODE=010 is not 0, 1 or 2; using 2\n"},  // octal 8
        {{{"HALL_MESH_INTERVAL", "0"}}, "HALL_MESH_INTERVAL=0 is not a finite non-zero step; using 50\n"},
        {{{"HALL_MESH_BOUNDING", "inf"}}, "HALL_MESH_BOUNDING=inf is not a finite number; using 1000\n"},
        {{{"HALL_MESH_BOUNDING", "1e6"}, {"HALL_MESH_INTERVAL", "1"}},
         "DrawMesh2::Build: bounding (1e+06, 1e+06, 1e+06) with interval (1, 1, 1) needs more than 4000000 list "
         "calls; lattice kept\n"
         "wire_gate_demo: the lattice refused bounding 1e+06 with interval 1; using 1000 and 50\n"},
    };
    for (const auto& [vars, warning] : cases) {
        make(vars);
        const std::string what = vars.begin()->first + "=" + vars.begin()->second;
        EXPECT_EQ(constructed_out.substr(constructed_out.find("MESHMODE")), kDefaults) << what;
        EXPECT_EQ(constructed_err, warning) << what;
        expect_lattice_matches(*scene);
    }
}

TEST_F(WireGateGLTest, KeysPrintTheirMessageRebuildAndRedraw) {
    make();
    const std::tuple<unsigned char, std::string, bool> keys[] = {
        // key, standard output, redisplay
        {'[', "[: mesh interval change to 55\n" + settings("2", "1000", "55"), true},
        {']', "]: mesh interval change to 50\n" + kDefaults, true},
        {'p', "p: point draw mode\n" + settings("1", "1000", "50"), true},
        {'L', "L: line stipple draw mode\n" + kDefaults, true},
        {'o', "o: fog mode change to 0\n", true},  // no rebuild
        {'i', "", false},
    };
    int redisplays = 0;
    for (const auto& [key, printed, redisplay] : keys) {
        EXPECT_TRUE(scene->key_down(key, 0, 0) && !scene->key_up(key, 0, 0)) << key;
        EXPECT_EQ(out.take(), printed) << key;
        EXPECT_EQ(host.redisplays, redisplays += redisplay) << key;
        expect_lattice_matches(*scene);
    }
    for (unsigned char key : {'7', '9', 'q', 'P', ' '}) EXPECT_FALSE(scene->key_down(key, 0, 0)) << key;

    for (int i = 0; i < 9; ++i) scene->key_down(']', 0, 0);
    out.take();
    scene->key_down(']', 0, 0);  // 5 - 5 = 0, refused: the settings in force stay, "[" goes on from them
    EXPECT_EQ(out.take(), "]: mesh interval change to 0\n" + settings("2", "1000", "5", "0"));
    EXPECT_EQ(err.take(),
              "wire_gate_demo: no lattice with mode 2, bounding 1000 and interval 0; "
              "keeping mode 2, bounding 1000 and interval 5\n");
    expect_lattice_matches(*scene);
    scene->key_down('[', 0, 0);
    EXPECT_EQ(out.take(), "[: mesh interval change to 10\n" + settings("2", "1000", "10", "0"));
}

TEST_F(WireGateGLTest, AThrusterReleaseTakesBackOnlyWhatItsPressAdded) {
    const std::tuple<unsigned char, xyz_t, xyz_t> thrusters[] = {
        // key, angular (rad/s^2) and linear (units/s^2, body axes) acceleration while held
        {'0', {}, {0, 0, 5}}, {'5', {}, {0, 0, -5}}, {'1', {0, k, 0}, {}}, {'3', {0, -k, 0}, {}},
        {'2', {k, 0, 0}, {}}, {'8', {-k, 0, 0}, {}}, {'4', {0, 0, k}, {}}, {'6', {0, 0, -k}, {}},
    };
    make();
    scene->update(0);
    for (const auto& [key, angular, linear] : thrusters) {
        EXPECT_TRUE(scene->key_down(key, 0, 0) && scene->key_down(key, 0, 0)) << key;  // the second adds nothing
        expect_accelerations(*scene, angular, linear);
        EXPECT_TRUE(scene->key_up(key, 0, 0));
        expect_accelerations(*scene, {}, {});
    }
    scene->key_up('3', 0, 0);  // a release without its press
    scene->update(250);
    scene->key_down('5', 0, 0);
    EXPECT_EQ(scene->m_coords.m_msec, 250u);  // rebased before the force changes
    scene->key_down('4', 0, 0);
    scene->update(500);
    EXPECT_TRUE(scene->key_down('.', 0, 0));  // the turning stops, the push goes on while held
    expect_accelerations(*scene, {}, {0, 0, -5});
    EXPECT_EQ(xyz(scene->m_coords.m_base.rev), xyz_t{});
    scene->key_up('5', 0, 0);
    scene->key_up('4', 0, 0);
    scene->key_down('2', 0, 0);
    scene->update(1000);
    EXPECT_TRUE(scene->key_down('-', 0, 0));  // at the origin, at rest
    scene->key_up('2', 0, 0);
    expect_accelerations(*scene, {}, {});
    EXPECT_TRUE(xyz(scene->m_coords.m_base.pos) == xyz_t{} && xyz(scene->m_coords.m_rates[0].pos) == xyz_t{});
    EXPECT_EQ(out.take(), "");
}

TEST_F(WireGateGLTest, TheJoystickSteersWithFourAxesOnlyAndRebasesFirst) {
    make({}, std::vector<float>(3, 0.0f));
    scene->update(0);
    *joystick = {1.0f, 1.0f, 1.0f};
    scene->update(300);
    EXPECT_EQ(scene->m_coords.m_msec, 0u);  // not even a rebase
    expect_accelerations(*scene, {}, {});

    make({}, std::vector<float>(4, 0.0f));
    scene->update(0);
    *joystick = {0.5f, 0.25f, 1.0f, -0.5f};  // roll, pitch, thrust, yaw
    scene->update(400);
    EXPECT_EQ(scene->m_coords.m_msec, 400u);  // rebased before the forces changed
    expect_accelerations(*scene, {0.25f * k, 0.5f * k, -0.5f * k}, {0, 0, -5.0f});
    scene->update(500);  // an unmoved stick changes nothing
    EXPECT_EQ(scene->m_coords.m_msec, 400u);
    *joystick = {0.0f, 0.0f, 0.0f, 0.0f};  // centred, every force is gone
    scene->update(600);
    expect_accelerations(*scene, {}, {});
}

TEST_F(WireGateGLTest, HistoryRingsTakeTheWindowWidthAndWrap) {
    make();
    scene->update(0);
    scene->m_coords.m_rates[0].pos = libgr::pos3{0.0f, 10.0f, 0.0f};  // climbing at 10 units/s
    scene->reshape(640, 480);
    for (const auto* ring : {&scene->m_hist_y, &scene->m_hist_vy, &scene->m_hist_t, &scene->m_hist_iy})
        EXPECT_EQ(*ring, std::vector<float>(640, 0.0f));
    for (std::uint32_t t = 1; t <= 640; ++t) scene->update(t * 10);
    EXPECT_EQ(scene->m_hist_idx, 0u);
    EXPECT_TRUE(scene->m_hist_t[639] == 6.4f && std::fabs(scene->m_hist_vy[639] - 10.0f) < 1e-4f);
    EXPECT_NEAR(scene->m_hist_y[639], 64.0f, 1e-3f);
    // Integrated from the velocity, the height rises as the closed form's.
    EXPECT_NEAR(scene->m_hist_iy[639] - scene->m_hist_iy[0], scene->m_hist_y[639] - scene->m_hist_y[0], 1e-2f);
    scene->update(6410);  // the ring wraps: the oldest sample goes
    EXPECT_TRUE(scene->m_hist_idx == 1 && std::fabs(scene->m_hist_t[0] - 6.41f) < 1e-6f);
    scene->key_down('-', 0, 0);  // zeroed, lengths kept
    EXPECT_TRUE(scene->m_hist_idx == 0 && scene->m_hist_t == std::vector<float>(640, 0.0f));

    scene->reshape(0, 0);  // no rings: updates skip the history, the lens keeps its aspect
    EXPECT_TRUE(scene->m_hist_y.empty() && scene->update(7000) && scene->m_hist_idx == 0);
    EXPECT_DOUBLE_EQ(scene->m_persp.aspect, 640.0 / 480.0);
    glViewport(0, 0, 256, 256);
}
