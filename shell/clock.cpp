#include "shell/clock.h"

#include "shell/demo.h"
#include "shell/frame.h"
#include "shell/replay.h"
#include "shell/shell_state.h"

#include <GL/gl.h>

#include <iostream>

namespace {

// A timedemo frame: its step of demo time, the events due in it, the update,
// the frame drawn (and captured) and finished; after the flight's end the
// figures, and the program ends.
void timedemo_step(shell_state_t& shell) {
    timedemo_t& demo = *shell.m_timedemo;
    // Reading a frame while the toolkit still resizes the window would take
    // one of another size, or worse.
    if (!demo.ready(shell.m_width, shell.m_height, shell.m_shown, shell.m_services.wall_msec() - shell.m_last_time)) {
        shell.m_services.post_redisplay();
        return;
    }
    demo.frame_started();
    shell.m_demo_msec += replay_due(shell, demo.next_step());
    demo_update_or_exit(shell, shell.m_demo_msec);
    draw_frame(shell);
    glFinish();
    demo.frame_done();
    if (shell.m_replay->finished()) {
        std::cout << demo.summary() << std::endl;
        my_exit(shell, 0);
    }
}

}  // namespace

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
    if (shell.m_timedemo) return timedemo_step(shell);
    const std::uint32_t now = shell.m_services.wall_msec();
    // Modulo 2^32 on both clocks: a step past the demo clock's top wraps to
    // its bottom and the open-ended demo goes on; only the root decides
    // when the demo is over (a step landing exactly on its last millisecond).
    std::uint32_t step = now - shell.m_last_time;
    if (shell.m_replay) step = replay_due(shell, step);
    if (!shell.m_pause) {  // a replayed pause holds the clock
        shell.m_demo_msec += step;
        demo_update_or_exit(shell, shell.m_demo_msec);
    }
    shell.m_services.post_redisplay();
    shell.m_last_time = now;
    if (shell.m_replay && shell.m_replay->finished()) replay_over(shell);
}
