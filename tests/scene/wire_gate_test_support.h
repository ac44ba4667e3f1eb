#pragma once
// Fixture of the scene tests: a wire_gate_demo built in a given environment
// with a scripted joystick, standard streams captured, redisplays counted.

#include "scene/wire_gate_demo.h"
#include "shell/gl_ext.h"
#include "shell/toolkit_requests.h"

#include "gl_test_context.h"

#include <algorithm>
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

// A joystick standing at the positions the test sets in `axes`.
struct ScriptedJoystick : joystick_device_t {
    explicit ScriptedJoystick(std::shared_ptr<std::vector<float>> positions) : axes(std::move(positions)) {}
    bool working() const override { return true; }
    int axis_count() const override { return static_cast<int>(axes->size()); }
    int button_count() const override { return 1; }
    void read(int* buttons, float* out) override {
        if (buttons) buttons[0] = 0;
        if (out) std::copy(axes->begin(), axes->end(), out);
    }
    std::shared_ptr<std::vector<float>> axes;
};

class SceneGLTest : public GLTest {
protected:
    static void SetUpTestSuite() {
        GLTest::SetUpTestSuite();
        static const bool loaded = (gl_ext_init(), true);
        (void)loaded;
    }
    SceneGLTest() : m_saved(set_toolkit_requests(toolkit_requests_t{[] { ++redisplays; }, nullptr})) { redisplays = 0; }
    ~SceneGLTest() override { set_toolkit_requests(m_saved); }

    // The scene in an environment of `vars` only, placed at the start of the
    // time line as the root does; its construction output is kept apart.
    void make(std::map<std::string, std::string> vars = {}, std::vector<float> axes = {}) {
        auto env = std::make_shared<std::map<std::string, std::string>>(std::move(vars));
        joystick = std::make_shared<std::vector<float>>(std::move(axes));
        scene = std::make_unique<wire_gate_demo>(
            [env](const char* name) -> const char* {
                const auto it = env->find(name);
                return it == env->end() ? nullptr : it->second.c_str();
            },
            std::make_unique<ScriptedJoystick>(joystick));
        scene->m_offset = 0;
        constructed_out = out.take();
        constructed_err = err.take();
    }

    static inline int redisplays = 0;  // request_redisplay calls, no toolkit here
    toolkit_requests_t m_saved;
    StreamCapture out{std::cout};
    StreamCapture err{std::cerr};
    std::string constructed_out, constructed_err;
    std::shared_ptr<std::vector<float>> joystick;  // the stick's positions, per axis
    std::unique_ptr<wire_gate_demo> scene;
};

}  // namespace wg_test
