#include "shell/replay.h"

#include "shell/demo.h"
#include "shell/keys.h"
#include "shell/shell_state.h"

#include <iostream>
#include <string>

std::uint32_t replay_due(shell_state_t& shell, std::uint32_t step) {
    flight_event_t e;
    while (shell.m_replay->due(shell.m_demo_msec, step, e)) {
        shell.m_replay->take();
        const std::int32_t wait = static_cast<std::int32_t>(e.msec - shell.m_demo_msec);
        if (wait > 0) {
            shell.m_demo_msec += static_cast<std::uint32_t>(wait);
            step -= static_cast<std::uint32_t>(wait);
        }
        // Keys and readings act on the scene at their time, as when they were flown.
        switch (e.kind) {
        case flight_event_t::press:
            demo_update_or_exit(shell, e.msec);
            shell_key_down(shell, e.key, 0, 0);
            break;
        case flight_event_t::release:
            demo_update_or_exit(shell, e.msec);
            shell_key_up(shell, e.key, 0, 0);
            break;
        case flight_event_t::time: shell_time_key(shell, e.time_key); break;
        case flight_event_t::stick:
            if (shell.m_replayed_stick) shell.m_replayed_stick->set(e.axes, e.buttons);
            demo_update_or_exit(shell, e.msec);  // its poll sees the new reading, as the recording's did
            break;
        case flight_event_t::end: demo_update_or_exit(shell, e.msec); return 0;
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
    if (shell.m_pause) shell_set_pause(shell, false);  // a flight that ended paused starts over running
}
