#include "flight/flight_reader.h"
#include "gl_loader/swap_control.h"
#include "scene/hall_settings.h"
#include "shell/callbacks.h"
#include "shell/clock.h"
#include "shell/demo.h"
#include "shell/options.h"
#include "shell/shell_state.h"
#include "shell/toolkit_services.h"
#include "shell/window.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The program's shell, built before main and destroyed at process exit:
// its root then deletes whatever demo object it still holds (the exit
// routine and window close clear it earlier, while the GL context exists).
shell_state_t g_shell{toolkit_services(idle)};

// The settings the scene will fly with, and joystick 0's size, as a
// recorded flight's header keeps them.
flight_header_t flown_with(const joystick_device_t& stick) {
    std::ostringstream warnings;  // the scene says them itself
    const hall_settings_t s = read_hall_settings(std::getenv, warnings);
    flight_header_t h;
    h.settings = {std::to_string(s.mode), flight_number(s.bounding), flight_number(s.interval), s.fog ? "1" : "0"};
    if (stick.working()) {
        h.axes = std::clamp(stick.axis_count(), 0, 16);
        h.buttons = std::clamp(stick.button_count(), 0, 32);
    }
    return h;
}

// What the options ask for that can fail, before any window opens: the
// line to print, or empty.
std::string prepare(const options_t& o, shell_state_t& shell) {
    std::string error;
    const std::string& flight = o.replay.empty() ? o.timedemo : o.replay;
    if (!flight.empty()) {
        shell.m_replay = std::make_unique<flight_player_t>();
        if (!check_flight(flight, nullptr, nullptr, &error) || !shell.m_replay->open(flight, &error)) return error;
        shell.m_loop = o.loop;
    }
    if (!o.timedemo.empty()) shell.m_timedemo = std::make_unique<timedemo_t>(o.step_us);
    if (!o.record.empty()) {
        shell.m_record_stick = open_plib_joystick(0);
        shell.m_record = std::make_unique<flight_writer_t>();
        if (!shell.m_record->create(o.record, flown_with(*shell.m_record_stick), &error)) return error;
    }
    if (!o.capture.empty()) {
        shell.m_capture = std::make_unique<frame_capture_t>();
        if (!shell.m_capture->open(o.capture, &error)) return error;
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    options_t options;
    if (const std::string problem = parse_options(argc, argv, options); !problem.empty()) {
        std::cerr << problem << std::endl;
        return 2;
    }
    if (options.help) {
        std::cout << usage_text(WIRE_GATE_FLIGHTS_DIR "/tour.flight") << std::flush;
        return 0;
    }
    if (options.version) {
        std::cout << "wire_gate " WIRE_GATE_VERSION << std::endl;
        return 0;
    }
    if (const std::string problem = prepare(options, g_shell); !problem.empty()) {
        std::cerr << problem << std::endl;
        return 2;
    }
    // The toolkit reads its own options; the first argument stays the title.
    std::vector<char*> args;
    for (std::string& arg : options.toolkit) args.push_back(arg.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    glutInit(&count, args.data());
    init_window(g_shell, args[0], options.width, options.height);
    demo_init(g_shell);
    start_clock(g_shell);
    if (g_shell.m_timedemo) {
        g_shell.m_timedemo->wait_for(options.width > 0 ? options.width : glutGet(GLUT_SCREEN_WIDTH),
                                     options.width > 0 ? options.height : glutGet(GLUT_SCREEN_HEIGHT), 5000);
        // The figures come at the end; the frames show the flight alone, the same in every run.
        g_shell.m_show_fps = g_shell.m_show_time = false;
        const std::string how = gl_ext::disable_vsync();
        std::cout << (how.empty() ? "timedemo: the driver offers no swap control; frames may wait for vertical sync"
                                  : "timedemo: vertical sync off (" + how + ")")
                  << std::endl;
    }
    glutMainLoop();
    return 0;
}
