#pragma once
// Copying a texture's texels back from GL into memory. The member form is
// grTextureObject::GetTextureImage (graphics/texture_object.h).

#include "graphics/image_buffer.h"

#include <GL/gl.h>

namespace libgr {

// Reads level of the texture bound to target into image as four-component
// texels in the texture's own component kind and width (8, 16 or 32 bits).
// image is cleared first and sized to the level. False, with a line on
// stderr, when the level's component size can not be read back or memory is
// refused; false without one when the texture has no colour component (or
// no such level). GL errors of the queries are reported on stderr and do not
// stop the read-back; a refused read returns false.
bool GetTextureImage(GLenum target, GLint level, grImageBuffer& image);

}  // namespace libgr
