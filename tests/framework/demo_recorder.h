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
    void reshape(int width, int height) override
    {
        note("reshape " + std::to_string(width) + "x" + std::to_string(height));
    }
    bool key_down(unsigned char key, int, int) override
    {
        note(std::string("key_down ") + char(key));
        return m_consume_keys;
    }
    bool key_up(unsigned char key, int, int) override
    {
        note(std::string("key_up ") + char(key));
        return m_consume_keys;
    }
    bool special_down(int key, int, int) override
    {
        note("special_down " + std::to_string(key));
        return m_consume_keys;
    }
    bool special_up(int key, int, int) override
    {
        note("special_up " + std::to_string(key));
        return m_consume_keys;
    }

    bool m_consume_keys = true;

private:
    void note(const std::string& what) { m_log.push_back(m_name + "." + what); }

    std::string m_name;
    std::vector<std::string>& m_log;
    bool m_keep_going;
};

}  // namespace wg_test
