#include "shell/clock.h"

#include "shell/demo.h"
#include "shell/shell_state.h"

void start_clock(shell_state_t& shell) {
    shell.m_pause = false;
    shell.m_show_fps = true;
    shell.m_show_demo_overlay = false;
    shell.m_show_time = true;
    shell.m_services.wait_msec(1000);
    shell.m_demo_msec = 0;
    shell.m_last_time = shell.m_services.wall_msec();
}

void idle_step(shell_state_t& shell) {
    const std::uint32_t now = shell.m_services.wall_msec();
    // Modulo 2^32 on both clocks: a step past the demo clock's top wraps to
    // its bottom and the open-ended demo goes on; only the root decides
    // when the demo is over (a step landing exactly on its last millisecond).
    shell.m_demo_msec += now - shell.m_last_time;
    if (!demo_update(shell, shell.m_demo_msec)) my_exit(shell, 0);
    shell.m_services.post_redisplay();
    shell.m_last_time = now;
}

void toggle_pause(shell_state_t& shell) {
    shell.m_pause = !shell.m_pause;
    if (shell.m_pause) {
        shell.m_services.run_idle(false);
        shell.m_services.post_redisplay();  // shows the pause label
    } else {
        // Restart the step from now, so the paused wall time never becomes
        // demo time.
        shell.m_last_time = shell.m_services.wall_msec();
        shell.m_services.run_idle(true);
    }
}

void step_demo_time(shell_state_t& shell, std::uint32_t msec, bool backwards) {
    // Unsigned on purpose: stepping back past 0 wraps to the top of the range.
    if (backwards)
        shell.m_demo_msec -= msec;
    else
        shell.m_demo_msec += msec;
    shell.m_services.post_redisplay();
}
