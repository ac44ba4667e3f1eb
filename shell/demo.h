#pragma once
// The demo module: the shell's way into its state's demo root (m_demo).
// Each function forwards to it (framework/demo_root.h).

#include <cstdint>

struct shell_state_t;

// Start-up of the demo side: extension loader, fixed GL state, the host and
// the scene, added to the root and started. A replayed flight's scene reads
// the flight's settings where the environment sets none, and its stick; a
// recorded flight's stick tells the flight of every reading.
void demo_init(shell_state_t& shell);
// A new scene in place of the old one, at demo time 0 (a replay's loop).
void demo_restart(shell_state_t& shell);
void demo_draw(shell_state_t& shell);
void demo_draw_overlay(shell_state_t& shell);
void demo_reshape(shell_state_t& shell, int width, int height);
// msec: demo time, kept as the time the scene acts at. False means the demo is over.
bool demo_update(shell_state_t& shell, std::uint32_t msec);
// demo_update, and the exit routine when the demo is over.
void demo_update_or_exit(shell_state_t& shell, std::uint32_t msec);
// True when the demo consumed the key.
bool demo_key_down(shell_state_t& shell, unsigned char key, int x, int y);
bool demo_key_up(shell_state_t& shell, unsigned char key, int x, int y);
// Deletes every demo object now (needs the GL context they were made in).
void demo_clear(shell_state_t& shell);
// The exit routine: ends a recorded flight, reports, deletes the demo
// objects, ends the process.
[[noreturn]] void my_exit(shell_state_t& shell, int status);
