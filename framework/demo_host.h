#pragma once
// What a demo object may ask of the program that hosts it. The host (the
// shell) implements it and hands it to the objects it builds, so the demo
// code never depends on the shell; tests hand in a fake.

class demo_host_t {
public:
    virtual ~demo_host_t() = default;

    // Asks for one more frame once the host has no other events to handle.
    virtual void request_redisplay() = 0;

    // Overlay text. Overlay units: x from 0 at the window's left edge to 1024
    // at its right edge, square, y upwards with the window's centre at 512.
    // set_overlay_projection replaces the current matrix (the caller has
    // made it the pushed projection matrix; model-view is the identity).
    virtual void set_overlay_projection() = 0;
    // y of the window's top edge in overlay units, as of the last projection.
    virtual float overlay_top() const = 0;
    // Left-aligned text at (x, y); a line feed continues 10 units lower.
    virtual void draw_text(float x, float y, const char* text) = 0;
};
