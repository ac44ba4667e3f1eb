#include "shell/record.h"

#include "shell/shell_state.h"

namespace {

void record(shell_state_t& shell, flight_event_t event) {
    if (shell.m_record) shell.m_record->write(event);
}

}  // namespace

void record_key(shell_state_t& shell, flight_event_t::kind_t kind, unsigned char key) {
    flight_event_t e;
    e.msec = shell.m_scene_msec;
    e.kind = kind;
    e.key = key;
    record(shell, e);
}

void record_time_key(shell_state_t& shell, time_key_t key) {
    flight_event_t e;
    e.msec = shell.m_demo_msec;
    e.kind = flight_event_t::time;
    e.time_key = key;
    record(shell, e);
}

void record_stick(shell_state_t& shell, const std::vector<float>& axes, std::uint32_t buttons) {
    flight_event_t e;
    e.msec = shell.m_scene_msec;
    e.kind = flight_event_t::stick;
    e.axes = axes;
    e.buttons = buttons;
    record(shell, e);
}

void record_end(shell_state_t& shell) {
    flight_event_t e;
    e.msec = shell.m_scene_msec;
    record(shell, e);
    shell.m_record.reset();
}
