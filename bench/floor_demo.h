#pragma once
// The floor for the scene's frame: the same lattice lines (or dots) with the
// same camera and the same GL state as the scene's passes (texture-coordinate
// generation, textures, blending, colour, depth), drawn as one vertex array
// in one draw call. A demo object, so the shell's display callback draws it
// exactly as it draws the scene.

#include "framework/demo_object.h"

#include <GL/gl.h>

#include <cstddef>
#include <vector>

class wire_gate_demo;

class floor_demo_t : public demo_object_t {
public:
    // Reads the scene's camera, settings, textures and lattice; the scene
    // must outlive the floor. Needs a current GL context.
    explicit floor_demo_t(wire_gate_demo& scene);
    ~floor_demo_t() override;

    // Takes the scene's current lattice into the vertex array again (after
    // a mode or interval change).
    void refresh();
    // Vertices in the array.
    std::size_t vertex_count() const { return m_count; }

    void draw() override;
    bool update(std::uint32_t msec) override;

private:
    void draw_plain();
    void draw_stipple();
    void draw_array();

    wire_gate_demo& m_scene;
    GLuint m_buffer = 0;  // 0: client-side array (no buffer objects)
    std::size_t m_count = 0;
    bool m_points = false;
    std::vector<float> m_client;  // the array itself when there are no buffer objects
};
