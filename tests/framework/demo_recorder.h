#pragma once
// A demo object that writes every call it receives into a shared log, so
// tests can check which objects were called, in which order, with what.

#include "framework/demo_object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wg_test {

class recording_object_t : public demo_object_t {
public:
    recording_object_t(std::string name, std::vector<std::string>& log, std::uint32_t length,
                       bool keep_going = true)
        : m_name(std::move(name)), m_log(log), m_keep_going(keep_going)
    {
        m_length = length;
    }
    ~recording_object_t() override { note("deleted"); }

    void draw() override { note("draw"); }
    void draw_overlay() override { note("draw_overlay"); }
    bool update(std::uint32_t msec) override
    {
        demo_object_t::update(msec);
        note("update " + std::to_string(msec));
        return m_keep_going;
    }
    void reshape(int w, int h) override { note("reshape " + std::to_string(w) + "x" + std::to_string(h)); }
    bool key_down(unsigned char key, int, int) override { return key_note("key_down", key); }
    bool key_up(unsigned char key, int, int) override { return key_note("key_up", key); }
    bool special_down(int key, int, int) override { return key_note("special_down", key); }
    bool special_up(int key, int, int) override { return key_note("special_up", key); }

    bool m_consume_keys = true;

private:
    void note(const std::string& what) { m_log.push_back(m_name + "." + what); }
    bool key_note(const char* what, int key)
    {
        note(what + (" " + std::to_string(key)));
        return m_consume_keys;
    }

    std::string m_name;
    std::vector<std::string>& m_log;
    bool m_keep_going;
};

}  // namespace wg_test
