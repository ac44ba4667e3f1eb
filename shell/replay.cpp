#include "shell/replay.h"

#include "shell/demo.h"
#include "shell/keys.h"
#include "shell/shell_state.h"

#include <iostream>
#include <string>

namespace {

// The scene at the time the event acts at, as when it was flown.
void update_to(shell_state_t& shell, std::uint32_t msec) {
    if (!demo_update(shell, msec)) my_exit(shell, 0);
}

}  // namespace

std::uint32_t replay_due(shell_state_t& shell, std::uint32_t step) {
    flight_event_t e;
    while (shell.m_replay->due(shell.m_demo_msec, step, e)) {
        shell.m_replay->take();
        const std::int32_t wait = static_cast<std::int32_t>(e.msec - shell.m_demo_msec);
        if (wait > 0) {
            shell.m_demo_msec += static_cast<std::uint32_t>(wait);
            step -= static_cast<std::uint32_t>(wait);
        }
        switch (e.kind) {
        case flight_event_t::press:
            update_to(shell, e.msec);
            shell_key_down(shell, e.key, 0, 0);
            break;
        case flight_event_t::release:
            update_to(shell, e.msec);
            shell_key_up(shell, e.key, 0, 0);
            break;
        case flight_event_t::time: shell_time_key(shell, e.time_key); break;
        case flight_event_t::stick:
            if (shell.m_replayed_stick) shell.m_replayed_stick->set(e.axes, e.buttons);
            update_to(shell, e.msec);  // its poll sees the new reading, as the recording's did
            break;
        case flight_event_t::end: update_to(shell, e.msec); return 0;
        }
    }
    return shell.m_pause ? 0 : step;
}

void replay_over(shell_state_t& shell) {
    if (!shell.m_loop) {
        shell.m_replay.reset();
        return;
    }
    std::string error;
    if (!shell.m_replay->restart(&error)) {
        std::cerr << error << std::endl;
        shell.m_replay.reset();
        return;
    }
    demo_restart(shell);
    shell.m_demo_msec = 0;
    if (shell.m_pause) {  // a flight that ended paused starts over running
        shell.m_pause = false;
        shell.m_last_time = shell.m_services.wall_msec();
        shell.m_services.run_idle(true);
    }
}
