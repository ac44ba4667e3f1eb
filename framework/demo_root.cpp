#include "framework/demo_root.h"

std::uint32_t demo_root_t::start() {
    m_holder.m_offset = 0;
    return m_holder.calc_length();
}

bool demo_root_t::play(std::uint32_t t) {
    // Before start the offset is unplaced and the length 0, so nothing plays.
    if (t < m_holder.m_offset || t >= m_holder.m_length) return false;
    return m_holder.update(t - m_holder.m_offset);
}

void demo_root_t::show() {
    if (m_holder.running()) m_holder.draw();
}

void demo_root_t::show_overlay() {
    if (m_holder.running()) m_holder.draw_overlay();
}

void demo_root_t::resize(int width, int height) { m_holder.reshape(width, height); }

bool demo_root_t::key_down(unsigned char key, int x, int y) { return m_holder.key_down(key, x, y); }

bool demo_root_t::key_up(unsigned char key, int x, int y) { return m_holder.key_up(key, x, y); }

bool demo_root_t::special_down(int key, int x, int y) { return m_holder.special_down(key, x, y); }

bool demo_root_t::special_up(int key, int x, int y) { return m_holder.special_up(key, x, y); }

void demo_root_t::add(demo_object_t* object) { m_holder.add(object); }

void demo_root_t::clear() { m_holder.clear(); }
