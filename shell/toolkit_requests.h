#pragma once
// The requests that the shell's key and idle handlers make of the toolkit:
// a redisplay, and starting or stopping the idle callback. They go through
// replaceable functions so the handlers can run in tests without a window.

using idle_callback_t = void (*)();

struct toolkit_requests_t {
    void (*post_redisplay)();
    void (*set_idle)(idle_callback_t callback);  // null stops idle calls
};

// Asks the toolkit to redraw the window once it has no other events.
// The scene calls it after changing a draw mode.
void request_redisplay();

// Registers the idle callback, or unregisters it with null.
void set_idle_callback(idle_callback_t callback);

// Installs other request functions (tests); a null member restores the
// toolkit's own. Returns the functions installed before.
toolkit_requests_t set_toolkit_requests(const toolkit_requests_t& requests);
