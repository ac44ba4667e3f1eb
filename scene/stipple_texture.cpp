#include "scene/stipple_texture.h"

#include "scene/line_texture.h"

bool StippleTexture::Generate() {
    const std::uint32_t n = GeneratedTextureSize(256, "StippleTexture::Generate");
    m_image.assign(n, 0);
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t texel = 0;
        // Period 2p per bit, shifted by a quarter period (unsigned wrap).
        for (std::uint32_t p = n >> 1, bit = 128; p > 1 && bit != 0; p >>= 1, bit >>= 1) {
            if (((i - (p >> 1)) & p) != 0) texel |= bit;
        }
        m_image[i] = static_cast<std::uint8_t>(texel);
    }
    return n != 0;
}

void StippleTexture::Apply() {
    glTexImage1D(GL_TEXTURE_1D, 0, GL_ALPHA, static_cast<GLsizei>(m_image.size()), 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 m_image.data());
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}
