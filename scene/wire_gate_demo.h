#pragma once
// The program's one scene: a camera flying through the hall lattice along
// the kinematic state of the event timeline, steered by digit keys
// (thrusters) and a joystick, drawn as lines, dots or stippled lines with an
// optional distance fade. Needs a current GL context from construction to
// destruction (textures and display lists are made and released in it).

#include "framework/demo_host.h"
#include "framework/demo_object.h"
#include "framework/event_coords.h"
#include "framework/event_list.h"
#include "graphics/display_list.h"
#include "graphics/texture_object.h"
#include "graphics/values.h"
#include "input/joystick.h"
#include "scene/distance_fade.h"
#include "scene/draw_mesh2.h"
#include "scene/hall_settings.h"
#include "scene/line_texture.h"
#include "scene/stipple_texture.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

class wire_gate_demo : public demo_object_t {
public:
    // host: the program's redisplay and overlay text, for the scene's life;
    // lookup reads the HALL_MESH_* variables; device replaces joystick
    // number 0 (tests feed readings through it).
    explicit wire_gate_demo(demo_host_t& host, const env_lookup_t& lookup = std::getenv,
                            std::unique_ptr<joystick_device_t> device = nullptr);
    ~wire_gate_demo() override;

    void draw() override;
    // The height history: closed-form y in white, integrated y in yellow.
    void draw_overlay() override;
    bool update(std::uint32_t t) override;
    void reshape(int w, int h) override;
    bool key_down(unsigned char key, int x, int y) override;
    bool key_up(unsigned char key, int x, int y) override;
    bool special_down(int key, int x, int y) override;

    // Rebuilds the lattice and its display list from the settings members,
    // then prints the settings in force. A lattice too large for the lists
    // or a frame keeps its bounding and takes the smallest interval that
    // fits, said on stderr (see rebuild_or_keep for keys).
    void RebuildMesh();

    // Thruster press or release: a force at a lever point while the key is
    // held. False for keys that are not thrusters ("0".."6", "8").
    bool thrust_key(unsigned char key, bool release);
    // Joystick axis changes as forces; nothing below four axes.
    void apply_joystick(const std::vector<float>& axes);
    // After "-" or ".": the stick's present position back into the cleared
    // force accumulator (accelerations untouched), so the forces follow the
    // stick again. False without a four-axis stick.
    bool add_stick_position();
    // Every ring sample 0, lengths kept, write index 0.
    void reset_history();
    // Moves the state's base to the current time before forces change.
    void rebase();
    // Timeline half and history half of one update.
    void step_timeline();
    // The rendering passes of draw: the lattice (m_meshlist) is drawn under
    // the state of the pass; tests hand in a drawable that reads that state.
    void draw_plain_mesh(libgr::grDrawable3D& lattice);
    void draw_stipple_mesh(libgr::grDrawable3D& lattice);

    // The scene's record, in this order. Public like demo_object_t's own:
    // tests and diagnostics read them.
    libgr::perspective m_persp;
    std::vector<float> m_hist_y;   // y of the current position, per update
    std::vector<float> m_hist_vy;  // world-axis vertical velocity
    std::vector<float> m_hist_t;   // scene time, seconds
    std::vector<float> m_hist_iy;  // y integrated from m_hist_vy (trapezoid rule)
    std::uint32_t m_hist_idx = 0;  // next write index into the four rings
    bool m_showcoords = false;     // draw the state dump as text
    event_coords_t m_coords;       // live kinematic state
    joystick_t m_joystick;
    std::vector<event_pair_t> m_schedule;     // owns the events
    event_list_t m_events;                    // the same events by time, relative msec
    std::vector<event_coords_t> m_fixevents;  // one snapshot per element of m_events
    std::uint32_t m_fixidx = 0;
    LineTexture m_linetex;
    libgr::grTextureObject m_linetexobj;
    DrawMesh2 m_mesh;
    libgr::grDspList m_meshlist;
    LineTexture2 m_linetex2;
    libgr::grTextureObject m_linetex2obj;
    StippleTexture m_stippletex;
    libgr::grTextureObject m_stippletexobj;
    // The stipple pass's fade object, built in place and destroyed in the pass.
    alignas(distance_fade_t) unsigned char m_fade[sizeof(distance_fade_t)];
    std::int32_t m_meshmode = hall_default_mode;  // hall_line_mode, _point_mode, _stipple_mode
    float m_bounding = hall_default_bounding;     // half edge of the hall cube
    float m_interval = hall_default_interval;     // lattice spacing
    bool m_meshfog = hall_default_fog;            // distance fade in the passes
    float m_tone = 0.8f;                          // grey level of the mesh colour
    // Thrust keys whose press is still in the force accumulator, one bit per
    // key. "-" and "." clear the accumulator, and a key-up can come without
    // its key-down (pressed before the window had the keyboard): such a
    // release must not push the other way for ever.
    std::uint32_t m_thrust_held = 0;

private:
    demo_host_t& m_host;

    struct lattice_values_t {
        std::int32_t mode;
        float bounding;
        float interval;
    };

    void print_events() const;
    void print_settings() const;
    // Build and record the lattice from the settings; false when refused.
    bool build_lattice();
    // Why the mesh would refuse the settings, as a phrase after "the
    // lattice"; empty when it would not.
    std::string lattice_problem() const;
    // "wire_gate_demo: the lattice with mode .., bounding .. and interval ..
    // <problem>" on stderr, the line left open.
    void print_lattice_problem(const std::string& problem) const;
    // A key changed the settings from in_force: rebuild, or on refusal put
    // in_force back (the lattice stays as it was) with a line on stderr;
    // then print the settings in force.
    void rebuild_or_keep(const lattice_values_t& in_force);
    lattice_values_t lattice_values() const { return {m_meshmode, m_bounding, m_interval}; }

    void draw_coords_overlay();
    libgr::pos3 grid_origin() const;
    float fade_distance() const;
};
