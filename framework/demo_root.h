#pragma once
// The shell's way into the demo framework: one top-level holder plus the
// checks of the top-level time window.

#include "framework/demo_holder.h"

#include <cstdint>

class demo_root_t {
public:
    // Places the holder at 0 and lays out its objects; returns the length in
    // ms (0 when empty, demo_open_ended when nothing has a finite end).
    std::uint32_t start();
    // Advances to demo time t (ms). False once t is outside the holder's
    // window or no object wants to go on: the demo is over.
    bool play(std::uint32_t t);
    void show();
    void show_overlay();
    void resize(int width, int height);
    bool key_down(unsigned char key, int x, int y);
    bool key_up(unsigned char key, int x, int y);
    bool special_down(int key, int x, int y);
    bool special_up(int key, int x, int y);
    // Takes ownership of a heap-allocated object.
    void add(demo_object_t* object);
    void clear();

    const demo_object_holder_t& holder() const { return m_holder; }

private:
    demo_object_holder_t m_holder;
};
