#pragma once
// Fixture of the scene tests: a wire_gate_demo built in a given environment
// with a scripted joystick and a recording host, standard streams captured.

#include "gl_loader/gl_ext.h"
#include "scene/wire_gate_demo.h"

#include "gl_test_context.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace wg_test {

// Redirects a standard stream into a string for the helper's lifetime.
class StreamCapture {
public:
    explicit StreamCapture(std::ostream& stream) : m_stream(stream), m_saved(stream.rdbuf(m_text.rdbuf())) {}
    ~StreamCapture() { m_stream.rdbuf(m_saved); }
    std::string take() {  // what was written since the last take
        const std::string s = m_text.str();
        return m_text.str(""), s;
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
    void read(int* buttons, float* out) override { *buttons = 0, std::copy(axes->begin(), axes->end(), out); }
    std::shared_ptr<std::vector<float>> axes;
};

// The host a scene is given: counts redisplay requests and overlay
// projections, keeps the text drawn, and reports a top edge at 800.
struct RecordingHost : demo_host_t {
    void request_redisplay() override { ++redisplays; }
    void set_overlay_projection() override { ++projections; }
    float overlay_top() const override { return 800.0f; }
    void draw_text(float x, float y, const char* text) override { texts.emplace_back(x, y, text); }
    int redisplays = 0, projections = 0;
    std::vector<std::tuple<float, float, std::string>> texts;
};

class SceneGLTest : public GLTest {
protected:
    // The scene in an environment of `vars` only, placed at the start of the
    // time line as the root does; its construction output is kept apart.
    void make(std::map<std::string, std::string> vars = {}, std::vector<float> axes = {}) {
        gl_ext_init();
        auto env = std::make_shared<std::map<std::string, std::string>>(std::move(vars));
        joystick = std::make_shared<std::vector<float>>(std::move(axes));
        scene = std::make_unique<wire_gate_demo>(
            host,
            [env](const char* name) {
                const auto it = env->find(name);
                return it == env->end() ? nullptr : it->second.c_str();
            },
            std::make_unique<ScriptedJoystick>(joystick));
        scene->m_offset = 0;
        constructed_out = out.take(), constructed_err = err.take();
    }

    RecordingHost host;
    StreamCapture out{std::cout}, err{std::cerr};
    std::string constructed_out, constructed_err;
    std::shared_ptr<std::vector<float>> joystick;  // the stick's positions, per axis
    std::unique_ptr<wire_gate_demo> scene;
};

}  // namespace wg_test
