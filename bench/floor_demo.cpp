#include "floor_demo.h"

#include "gl_loader/gl_ext.h"
#include "graphics/guards.h"
#include "graphics/values_gl.h"
#include "graphics/values_ops.h"
#include "lattice_walk.h"
#include "scene/distance_fade.h"
#include "scene/wire_gate_demo.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

bool have_buffers() {
    return gl_ext::glGenBuffers && gl_ext::glBindBuffer && gl_ext::glBufferData && gl_ext::glDeleteBuffers;
}

}  // namespace

floor_demo_t::floor_demo_t(wire_gate_demo& scene) : m_scene(scene) {
    m_length = demo_open_ended;
    if (have_buffers()) gl_ext::glGenBuffers(1, &m_buffer);
    refresh();
}

floor_demo_t::~floor_demo_t() {
    if (m_buffer != 0) gl_ext::glDeleteBuffers(1, &m_buffer);
}

void floor_demo_t::refresh() {
    std::vector<float> v = lattice_vertices(m_scene.m_mesh);
    m_count = v.size() / 3;
    m_points = m_scene.m_mesh.IsPoints();
    if (m_buffer != 0) {
        gl_ext::glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
        gl_ext::glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(v.size() * sizeof(float)), v.data(),
                             GL_STATIC_DRAW);
        gl_ext::glBindBuffer(GL_ARRAY_BUFFER, 0);
        return;
    }
    m_client = std::move(v);
}

bool floor_demo_t::update(std::uint32_t msec) {
    m_time = msec;
    return true;
}

// The scene's draw with its camera and pass state, the lattice list call
// replaced by one array draw.
void floor_demo_t::draw() {
    const libgr::rev3& posture = m_scene.m_coords.m_cur.rev;
    if (libgr::any_differs(posture, 0.0f)) libgr::rotate_gl(libgr::to_rot3(libgr::negate(posture)));
    const libgr::pos3& position = m_scene.m_coords.m_cur.pos;
    glTranslatef(-position.x, -position.y, -position.z);
    switch (m_scene.m_meshmode) {
    case hall_line_mode:
    case hall_point_mode: draw_plain(); break;
    case hall_stipple_mode: draw_stipple(); break;
    default: break;
    }
}

void floor_demo_t::draw_plain() {
    libgr::grEnableGuard depth_test(GL_DEPTH_TEST);
    libgr::grMatrixGuard modelview(GL_MODELVIEW);
    libgr::translate(libgr::grid_floor(m_scene.m_coords.m_cur.pos, m_scene.m_interval));
    std::optional<distance_fade_t> fade;
    if (m_scene.m_meshfog)
        fade.emplace(m_scene.m_linetexobj, static_cast<float>(m_scene.m_persp.zfar - m_scene.m_persp.znear));
    glColor4f(m_scene.m_tone, m_scene.m_tone, m_scene.m_tone, 1.0f);
    draw_array();
}

void floor_demo_t::draw_stipple() {
    libgr::grDepthMaskGuard depth_mask(GL_TRUE);
    libgr::grMatrixGuard modelview(GL_MODELVIEW);
    libgr::translate(libgr::grid_floor(m_scene.m_coords.m_cur.pos, m_scene.m_interval));
    m_scene.m_stippletexobj.Apply();
    libgr::grEnableGuard texture_1d(GL_TEXTURE_1D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const float inverse = 1.0f / m_scene.m_interval;
    const GLfloat plane[4] = {inverse, inverse, inverse, 0.0f};
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, plane);
    libgr::grEnableGuard gen_s(GL_TEXTURE_GEN_S);
    std::optional<distance_fade_t> fade;
    if (m_scene.m_meshfog) {
        libgr::grActiveTextureGuard unit(GL_TEXTURE1);
        fade.emplace(m_scene.m_linetexobj, static_cast<float>(m_scene.m_persp.zfar - m_scene.m_persp.znear));
    }
    {
        libgr::grEnableGuard blend(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glColor4f(m_scene.m_tone, m_scene.m_tone, m_scene.m_tone, 1.0f);
        draw_array();
    }
    if (fade) {
        libgr::grActiveTextureGuard unit(GL_TEXTURE1);
        fade.reset();
    }
}

void floor_demo_t::draw_array() {
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (m_buffer != 0) {
        gl_ext::glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
    } else {
        glVertexPointer(3, GL_FLOAT, 0, m_client.data());
    }
    glDrawArrays(m_points ? GL_POINTS : GL_LINES, 0, static_cast<GLsizei>(m_count));
    if (m_buffer != 0) gl_ext::glBindBuffer(GL_ARRAY_BUFFER, 0);
    glPopClientAttrib();
}
