#include "framework/demo_holder.h"

#include <algorithm>
#include <iostream>

namespace {

// An object is due at the parent time t while t lies in [offset, offset +
// length): its local time t - offset is below its length. At offset 0 this is
// "t below the length"; for later placements it agrees with the end that
// calc_length lays out and with the running test of draw and reshape, which
// compare the local time with the length. An object never placed is not on
// the time line at all.
bool is_due(const demo_object_t& object, std::uint32_t t) {
    if (object.m_offset == demo_unplaced || t < object.m_offset) return false;
    return t - object.m_offset < object.m_length;
}

}  // namespace

demo_object_holder_t::~demo_object_holder_t() { clear(); }

void demo_object_holder_t::add(demo_object_t* object) {
    if (object == nullptr) {
        std::cerr << "demo_object_holder_t::add: null object refused" << std::endl;
        return;
    }
    if (object == this || std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end()) {
        std::cerr << "demo_object_holder_t::add: object already owned, refused" << std::endl;
        return;
    }
    m_objects.push_back(object);
}

void demo_object_holder_t::clear() {
    // Detach the list first, so a destructor that reaches back into this
    // holder finds it already empty.
    std::vector<demo_object_t*> objects;
    objects.swap(m_objects);
    m_current = nullptr;
    for (demo_object_t* object : objects) delete object;
}

void demo_object_holder_t::make_current(demo_object_t* object) {
    if (m_current != object) {
        object->reshape(m_width, m_height);
        m_current = object;
    }
}

void demo_object_holder_t::draw() {
    for (demo_object_t* object : m_objects) {
        if (!object->running()) continue;
        make_current(object);
        object->draw();
    }
}

void demo_object_holder_t::draw_overlay() {
    for (demo_object_t* object : m_objects) {
        if (!object->running()) continue;
        make_current(object);
        object->draw_overlay();
    }
}

bool demo_object_holder_t::update(std::uint32_t msec) {
    m_time = msec;
    bool going_on = false;
    for (demo_object_t* object : m_objects) {
        if (is_due(*object, msec) && object->update(msec - object->m_offset)) going_on = true;
    }
    return going_on;
}

std::uint32_t demo_object_holder_t::calc_length() {
    if (m_objects.empty()) {
        m_length = 0;
        return 0;
    }
    // Laid out once: later calls only pass the call on.
    if (m_length != 0) {
        for (demo_object_t* object : m_objects) object->calc_length();
        return m_length;
    }
    std::uint32_t running_end = 0;
    for (demo_object_t* object : m_objects) {
        if (object->m_offset == demo_unplaced) object->m_offset = running_end;
        if (object->calc_length() == demo_open_ended) continue;  // open-ended objects do not move the running end
        const std::uint32_t end = object->m_offset + object->m_length;  // modulo 2^32
        running_end = std::max(running_end, end);
    }
    m_length = running_end != 0 ? running_end : demo_open_ended;
    return m_length;
}

void demo_object_holder_t::reshape(int width, int height) {
    m_width = width;
    m_height = height;
    for (demo_object_t* object : m_objects) {
        if (!object->running()) continue;
        m_current = object;
        object->reshape(width, height);
    }
}

bool demo_object_holder_t::key_down(unsigned char key, int x, int y) {
    return m_current != nullptr && m_current->key_down(key, x, y);
}

bool demo_object_holder_t::key_up(unsigned char key, int x, int y) {
    return m_current != nullptr && m_current->key_up(key, x, y);
}

bool demo_object_holder_t::special_down(int key, int x, int y) {
    return m_current != nullptr && m_current->special_down(key, x, y);
}

bool demo_object_holder_t::special_up(int key, int x, int y) {
    return m_current != nullptr && m_current->special_up(key, x, y);
}
