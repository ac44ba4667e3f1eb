#pragma once
// Generated 1D alpha pattern for the stippled lattice: each bit of a texel
// is a square wave over the texel index, the period halving from the most
// significant bit down, so neighbouring texels differ in at most one bit.

#include "graphics/texturable.h"

#include <cstdint>
#include <vector>

class StippleTexture : public libgr::grTexturableImageGL {
public:
    // Fills N = min(GL_MAX_TEXTURE_SIZE, 256) texels. Needs a current
    // context; false (with a line on stderr) when GL reports a size below 2.
    bool Generate();

    unsigned GetDimension() const override { return 1; }
    // Uploads into the bound GL_TEXTURE_1D and sets wrap and filters.
    void Apply() override;
    GLenum GetFormat() const override { return GL_ALPHA; }

    const std::vector<std::uint8_t>& GetImage() const { return m_image; }

private:
    std::vector<std::uint8_t> m_image;
};
