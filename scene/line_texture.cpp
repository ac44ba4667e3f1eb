#include "scene/line_texture.h"

#include <cmath>
#include <iostream>

namespace {

constexpr double kPi = 3.141592653589793;

// Position of texel i along the profile, 0..1, as a float.
float profile_x(std::uint32_t i, std::uint32_t n) { return static_cast<float>(i) / static_cast<float>(n - 1); }

}  // namespace

std::uint32_t GeneratedTextureSize(std::uint32_t clamp, const char* who) {
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    if (max_size < 2) {
        std::cerr << who << ": GL reports a maximum texture size of " << max_size << "; no texels generated"
                  << std::endl;
        return 0;
    }
    const std::uint32_t size = static_cast<std::uint32_t>(max_size);
    return size < clamp ? size : clamp;
}

bool LineTexture::Generate() {
    const std::uint32_t n = GeneratedTextureSize(512, "LineTexture::Generate");
    m_image.assign(n, 0);
    for (std::uint32_t i = 0; i < n; ++i) {
        m_image[i] = ToTexel(255.0 * std::sin(kPi * profile_x(i, n)));
    }
    return n != 0;
}

void LineTexture::Apply() {
    glTexImage1D(GL_TEXTURE_1D, 0, GL_LUMINANCE, static_cast<GLsizei>(m_image.size()), 0, GL_LUMINANCE,
                 GL_UNSIGNED_BYTE, m_image.data());
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

bool LineTexture2::Generate() {
    const std::uint32_t n = GeneratedTextureSize(512, "LineTexture2::Generate");
    m_size = n;
    m_image.assign(static_cast<std::size_t>(n) * n, 0);

    std::vector<float> profile(n);
    for (std::uint32_t x = 0; x < n; ++x) profile[x] = static_cast<float>(std::sin(kPi * profile_x(x, n)));

    // Bands of q rows, shifted by half a band so that row 0 sits in the
    // middle of a lit band; unsigned wrap-around makes rows below h work.
    const std::uint32_t q = n >> 2;
    const std::uint32_t h = q >> 1;
    for (std::uint32_t y = 0; y < n; ++y) {
        const int lit = ((y - h) & q) != 0 ? 1 : 0;
        std::uint8_t* row = &m_image[static_cast<std::size_t>(n) * y];
        for (std::uint32_t x = 0; x < n; ++x) row[x] = ToTexel(lit * profile[x] * 255.0);
    }
    return n != 0;
}

void LineTexture2::Apply() {
    const GLsizei n = static_cast<GLsizei>(m_size);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, n, n, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, m_image.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}
