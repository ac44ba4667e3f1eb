#include "scene/distance_fade.h"

distance_fade_t::distance_fade_t(libgr::grTextureObject& texture, float distance)
    : m_texture_1d(GL_TEXTURE_1D), m_gen_s(GL_TEXTURE_GEN_S) {
    texture.Apply();
    const float a = static_cast<float>(1.0 / (-distance - distance));
    const GLfloat plane[4] = {0.0f, 0.0f, a, 0.5f};
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    // The eye plane is transformed by the inverse modelview at the time of
    // the call: under the identity it stays in eye space.
    libgr::grMatrixGuard modelview(GL_MODELVIEW);
    glLoadIdentity();
    glTexGenfv(GL_S, GL_EYE_PLANE, plane);
}
