#pragma once
// Generated luminance profiles: dark at both ends, bright in the middle
// (255 * sin(pi * x) over x in 0..1). LineTexture is the 1D profile used as
// the distance fade; LineTexture2 repeats it across a square 2D image in
// bands of lit and black rows.

#include "graphics/texturable.h"

#include <cstdint>
#include <vector>

// Side length of a generated texture: min(GL_MAX_TEXTURE_SIZE, clamp), or 0
// when GL gives less than 2 (the profiles divide by N - 1), then with a line
// on stderr naming who asked.
std::uint32_t GeneratedTextureSize(std::uint32_t clamp, const char* who);

// A computed value as a texel byte: the low byte of v truncated toward zero
// to 16 bits (v stays within 0..255 here).
inline std::uint8_t ToTexel(double v) { return static_cast<std::uint8_t>(static_cast<std::int16_t>(v)); }

class LineTexture : public libgr::grTexturableImageGL {
public:
    // Fills the image: N = min(GL_MAX_TEXTURE_SIZE, 512) texels. Needs a
    // current context; false (with a line on stderr) when GL reports a size
    // below 2.
    bool Generate();

    unsigned GetDimension() const override { return 1; }
    // Uploads into the bound GL_TEXTURE_1D and sets wrap and filter.
    void Apply() override;
    GLenum GetFormat() const override { return GL_LUMINANCE; }

    const std::vector<std::uint8_t>& GetImage() const { return m_image; }

private:
    std::vector<std::uint8_t> m_image;
};

class LineTexture2 : public libgr::grTexturableImageGL {
public:
    // Fills an N x N image, N = min(GL_MAX_TEXTURE_SIZE, 512); rows are
    // either the LineTexture profile or black, in bands of N/4 rows. Same
    // failure as LineTexture::Generate.
    bool Generate();

    unsigned GetDimension() const override { return 2; }
    // Uploads into the bound GL_TEXTURE_2D and sets wrap and filters.
    void Apply() override;
    GLenum GetFormat() const override { return GL_LUMINANCE; }

    const std::vector<std::uint8_t>& GetImage() const { return m_image; }
    std::uint32_t GetSize() const { return m_size; }

private:
    std::vector<std::uint8_t> m_image;  // row-major, m_size * m_size
    std::uint32_t m_size = 0;
};
