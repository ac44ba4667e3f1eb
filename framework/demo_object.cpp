#include "framework/demo_object.h"

demo_object_t::~demo_object_t() = default;

void demo_object_t::draw_overlay() {}

bool demo_object_t::update(std::uint32_t msec) {
    m_time = msec;
    return true;
}

std::uint32_t demo_object_t::calc_length() { return m_length; }

void demo_object_t::reshape(int, int) {}

bool demo_object_t::key_down(unsigned char, int, int) { return false; }

bool demo_object_t::key_up(unsigned char, int, int) { return false; }

bool demo_object_t::special_down(int, int, int) { return false; }

bool demo_object_t::special_up(int, int, int) { return false; }
