#pragma once
// The shell's one state: its flags, clocks, window size and overlay
// counters, the demo root and the services of the platform and the toolkit
// it uses. The program owns one (shell/main.cpp) and hands it to its
// window, where the callbacks find it; tests and the benchmark make their
// own, with their own services and root.

#include "flight/flight_joystick.h"
#include "flight/flight_player.h"
#include "flight/flight_writer.h"
#include "framework/demo_host.h"
#include "framework/demo_root.h"
#include "shell/frame_capture.h"
#include "shell/timedemo.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

// What the shell asks of the platform and the toolkit: tests replace them.
struct shell_services_t {
    std::function<std::uint32_t()> wall_msec;      // ms, unsigned 32-bit: differences are taken modulo 2^32
    std::function<void(std::uint32_t)> wait_msec;  // blocks for at least that many ms
    std::function<void()> post_redisplay;          // one more frame once no other event waits
    std::function<void(bool)> run_idle;            // idle steps on (true) or off
    std::function<void()> swap_buffers;
};

struct shell_state_t {
    shell_state_t() = default;
    explicit shell_state_t(shell_services_t services) : m_services(std::move(services)) {}

    shell_services_t m_services;

    bool m_pause = false;              // paused: no idle steps
    bool m_show_fps = false;           // the frames-per-second line
    bool m_show_demo_overlay = false;  // the demo objects' own overlay
    bool m_show_time = false;          // the demo time line
    std::uint32_t m_demo_msec = 0;     // the demo clock, ms, modulo 2^32
    std::uint32_t m_last_time = 0;     // wall clock at the last idle step or at the end of a pause, ms
    int m_width = 0;                   // window size in pixels, 0 until the first reshape
    int m_height = 0;
    bool m_shown = false;  // a frame was displayed since the last reshape

    std::uint32_t m_fps_second = 0;  // wall-clock second (ms / 1000) whose frames are being counted
    std::uint32_t m_fps_frames = 0;  // frames counted in it so far
    std::uint32_t m_fps = 0;         // the count of the last completed second: the value shown
    float m_overlay_bottom = 0.0f;   // y of the window's bottom edge in overlay units
    float m_overlay_top = 0.0f;      // y of its top edge

    std::uint32_t m_scene_msec = 0;  // the demo time of the last update: where keys act

    // Flights (--record, --replay, --timedemo) and frames (--capture); null
    // when not asked for.
    std::unique_ptr<flight_writer_t> m_record;
    std::unique_ptr<joystick_device_t> m_record_stick;  // joystick 0, opened to write the flight's stick line
    std::unique_ptr<flight_player_t> m_replay;          // also the timedemo's flight
    bool m_loop = false;                                // start the replay over at its end
    std::unique_ptr<timedemo_t> m_timedemo;
    std::unique_ptr<frame_capture_t> m_capture;
    replayed_joystick_t* m_replayed_stick = nullptr;  // the scene's, while a flight with a stick plays

    // What the demo objects may ask of the shell (shell_host.h); it
    // outlives them, so it comes first.
    std::unique_ptr<demo_host_t> m_host;
    demo_root_t m_demo;  // every demo object; the root deletes what it still holds
};
