#pragma once
// Helpers for the scene tests: captured standard streams, a scripted
// environment and joystick, and a counted redisplay request.

#include "input/joystick_device.h"
#include "scene/hall_settings.h"
#include "shell/toolkit_requests.h"

#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace wg_test {

// Redirects a standard stream into a string for the helper's lifetime.
class StreamCapture {
public:
    explicit StreamCapture(std::ostream& stream) : m_stream(stream), m_saved(stream.rdbuf(m_text.rdbuf())) {}
    ~StreamCapture() { m_stream.rdbuf(m_saved); }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    std::string str() const { return m_text.str(); }
    // Takes what was written so far.
    std::string take() {
        std::string s = m_text.str();
        m_text.str("");
        return s;
    }

private:
    std::ostream& m_stream;
    std::ostringstream m_text;
    std::streambuf* m_saved;
};

// An environment of the given variables only; others read as unset.
inline env_lookup_t FakeEnvironment(std::map<std::string, std::string> vars) {
    auto held = std::make_shared<std::map<std::string, std::string>>(std::move(vars));
    return [held](const char* name) -> const char* {
        const auto it = held->find(name);
        return it == held->end() ? nullptr : it->second.c_str();
    };
}

// A joystick whose readings the test sets; `positions` is shared with it.
class ScriptedJoystick : public joystick_device_t {
public:
    explicit ScriptedJoystick(std::shared_ptr<std::vector<float>> positions) : m_positions(std::move(positions)) {}
    bool working() const override { return true; }
    int axis_count() const override { return static_cast<int>(m_positions->size()); }
    int button_count() const override { return 1; }
    void read(int* buttons, float* axes) override {
        if (buttons) buttons[0] = 0;
        if (axes)
            for (std::size_t i = 0; i < m_positions->size(); ++i) axes[i] = (*m_positions)[i];
    }

private:
    std::shared_ptr<std::vector<float>> m_positions;
};

// Counts request_redisplay calls instead of asking the toolkit.
class RedisplayCounter {
public:
    RedisplayCounter() : m_saved(set_toolkit_requests(toolkit_requests_t{&RedisplayCounter::bump, nullptr})) { s_count = 0; }
    ~RedisplayCounter() { set_toolkit_requests(m_saved); }
    RedisplayCounter(const RedisplayCounter&) = delete;
    RedisplayCounter& operator=(const RedisplayCounter&) = delete;
    int count() const { return s_count; }

private:
    static void bump() { ++s_count; }
    static inline int s_count = 0;
    toolkit_requests_t m_saved;
};

}  // namespace wg_test
