// wire_gate_demo: the rendering passes and the overlays.

#include "scene/wire_gate_demo.h"

#include "framework/event_coords.h"
#include "graphics/guards.h"
#include "graphics/values_gl.h"
#include "graphics/values_ops.h"

#include <GL/gl.h>
// GL 1.2 and later names; Windows' gl.h stops at 1.1.
#include <GL/glext.h>

#include <memory>
#include <new>
#include <optional>
#include <sstream>

namespace {

// The stipple pass's fade object, built in the scene's raw storage on
// texture unit 1 and destroyed there again, also when the pass is left by
// an exception.
class fade_on_unit1 {
public:
    explicit fade_on_unit1(unsigned char* storage) : m_storage(storage) {}
    ~fade_on_unit1() { reset(); }
    fade_on_unit1(const fade_on_unit1&) = delete;
    fade_on_unit1& operator=(const fade_on_unit1&) = delete;

    void make(libgr::grTextureObject& texture, float distance) {
        reset();
        libgr::grActiveTextureGuard unit(GL_TEXTURE1);
        m_fade = new (m_storage) distance_fade_t(texture, distance);
    }

    void reset() {
        if (m_fade == nullptr) return;
        libgr::grActiveTextureGuard unit(GL_TEXTURE1);
        m_fade->~distance_fade_t();
        m_fade = nullptr;
    }

private:
    unsigned char* m_storage;
    distance_fade_t* m_fade = nullptr;
};

}  // namespace

void wire_gate_demo::draw() {
    const libgr::rev3& posture = m_coords.m_cur.rev;
    if (libgr::any_differs(posture, 0.0f)) libgr::rotate_gl(libgr::to_rot3(libgr::negate(posture)));
    const libgr::pos3& position = m_coords.m_cur.pos;
    glTranslatef(-position.x, -position.y, -position.z);

    switch (m_meshmode) {
    case hall_line_mode:
    case hall_point_mode: draw_plain_mesh(m_meshlist); break;
    case hall_stipple_mode: draw_stipple_mesh(m_meshlist); break;
    default: break;
    }
    draw_coords_overlay();
}

libgr::pos3 wire_gate_demo::grid_origin() const {
    // The lattice follows the camera in whole steps (toward zero), so the
    // camera always stays inside it.
    return libgr::grid_floor(m_coords.m_cur.pos, m_interval);
}

float wire_gate_demo::fade_distance() const { return static_cast<float>(m_persp.zfar - m_persp.znear); }

void wire_gate_demo::draw_plain_mesh(libgr::grDrawable3D& lattice) {
    libgr::grEnableGuard depth_test(GL_DEPTH_TEST);
    const libgr::pos3 origin = grid_origin();
    libgr::grMatrixGuard modelview(GL_MODELVIEW);
    libgr::translate(origin);
    std::unique_ptr<distance_fade_t> fade;  // on unit 0
    if (m_meshfog) fade = std::make_unique<distance_fade_t>(m_linetexobj, fade_distance());
    glColor4f(m_tone, m_tone, m_tone, 1.0f);
    lattice.Draw();
}

void wire_gate_demo::draw_stipple_mesh(libgr::grDrawable3D& lattice) {
    libgr::grDepthMaskGuard depth_mask(GL_TRUE);
    const libgr::pos3 origin = grid_origin();
    libgr::grMatrixGuard modelview(GL_MODELVIEW);
    libgr::translate(origin);

    // Apply enables 1D texturing; the guard then finds it on and leaves it
    // on for the rest of the frame (the shell's attribute pop undoes it).
    m_stippletexobj.Apply();
    libgr::grEnableGuard texture_1d(GL_TEXTURE_1D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    // s = (x + y + z) / I of the vertices as given: one stipple period per
    // interval along every line, the same on every copy of it.
    const float inverse = 1.0f / m_interval;
    const GLfloat plane[4] = {inverse, inverse, inverse, 0.0f};
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, plane);
    libgr::grEnableGuard gen_s(GL_TEXTURE_GEN_S);

    fade_on_unit1 fade(m_fade);
    if (m_meshfog) fade.make(m_linetexobj, fade_distance());

    // Additive, weighted by the stipple alpha. The fade goes before the
    // blend guard is released, so the guard is held in an optional.
    std::optional<libgr::grEnableGuard> blend;
    blend.emplace(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(m_tone, m_tone, m_tone, 1.0f);
    lattice.Draw();

    fade.reset();
    blend.reset();
}

void wire_gate_demo::draw_coords_overlay() {
    if (!m_showcoords) return;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    m_host.set_overlay_projection();
    std::ostringstream text;
    dump(text, m_coords);
    m_host.draw_text(0.0f, m_host.overlay_top() - 50.0f, text.str().c_str());
    glPopMatrix();
    // The matrix mode stays GL_PROJECTION; the shell sets its own next.
}

void wire_gate_demo::draw_overlay() {
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat yellow[4] = {1.0f, 1.0f, 0.0f, 1.0f};
    const auto strip = [](const std::vector<float>& ring) {
        const float n = static_cast<float>(ring.size());
        glBegin(GL_LINE_STRIP);
        // Storage order from index 0: the newest sample sits at the write
        // index, where the curve jumps. A height of 1000 reaches the top.
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const float x = static_cast<float>(i) / n;
            glVertex3f(2.0f * x - 1.0f, ring[i] * 0.001f, 0.0f);
        }
        glEnd();
    };
    glColor4fv(white);
    strip(m_hist_y);
    glColor4fv(yellow);
    strip(m_hist_iy);
}
