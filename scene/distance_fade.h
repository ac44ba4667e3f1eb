#pragma once
// Distance fade on the active texture unit: the LineTexture profile
// (sin(pi s)) mapped by eye-linear generation of s = 0.5 - z_eye / (2 D),
// so a fragment keeps its full colour next to the eye and turns black at
// distance D in front of it. Made and undone around one mesh pass; it acts
// on whichever unit is active when it is constructed and destroyed.

#include "graphics/guards.h"
#include "graphics/texture_object.h"

class distance_fade_t {
public:
    // texture: the LineTexture object; distance: D in eye units (> 0).
    distance_fade_t(libgr::grTextureObject& texture, float distance);
    // Disables texture-coordinate generation and 1D texturing again where the
    // constructor had to enable them; the binding stays.
    ~distance_fade_t() = default;

    distance_fade_t(const distance_fade_t&) = delete;
    distance_fade_t& operator=(const distance_fade_t&) = delete;

private:
    libgr::grEnableGuard m_texture_1d;  // GL_TEXTURE_1D
    libgr::grEnableGuard m_gen_s;       // GL_TEXTURE_GEN_S
};
